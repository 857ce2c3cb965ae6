#pragma once
// TForm4: the result viewer (命运结果查阅). A frameless 640 x 480 window over its
// artwork: on the left the font list and the commands, on the right the page
// the report command wrote, shown in an embedded browser. The browser reads
// the pages of the cache directory through a URL scheme of its own that
// declares them GB18030, so the files stay exactly as written.

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <memory>

#include "report/report.h"

class QComboBox;
class QFrame;
class QPrinter;
class QPushButton;
class QWebEngineProfile;
class QWebEngineView;

namespace tessaly {

class TArtwork;
class TForm1;
class TMLabel;

class TForm4 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm4(TForm1* form1, QWidget* parent = nullptr);
  ~TForm4() override;

  // Registers the pages' URL scheme. Must run before the application object
  // is created.
  static void RegisterPageScheme();
  // The URL under which the browser reads a page of the cache directory.
  static QUrl PageUrl(const QString& path);

  // The page of the last report (its first line is replaced by a font choice).
  ReportPage& Page() { return page_; }
  const ReportPage& Page() const { return page_; }

  // Creates the browser and fills the font list. Runs once, just after the
  // main window's first paint (or at the first navigation, if earlier).
  void FinishCreation();
  QWebEngineView* Browser() const { return WebBrowser1; }

  // Shows a page of the cache directory (temp.htm, temp.tmp).
  void Navigate(const QString& path);

  // Commands.
  void suiFontComboBox1Change(const QString& family);  // font choice
  void FlatButton3Click();                             // 输出到文件
  void FlatButton1Click();                             // 联系软件作者
  void suiButton1Click();                              // 打印输出
  void suiButton2Click();                              // 返回算命

  // The contact link.
  static QUrl ContactUrl();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormShow();
  void FormClose();
  void PrintFinished(bool success);

  QPointer<TForm1> form1_;
  ReportPage page_;
  bool finished_creation_ = false;
  std::unique_ptr<QPrinter> printer_;
  QString printer_name_;

  TArtwork* Image1 = nullptr;
  QFrame* suiPanel1 = nullptr;  // the left-hand panel
  TMLabel* MLabel1 = nullptr;   // 字体：
  TMLabel* MLabel2 = nullptr;   // 选项：
  QComboBox* suiFontComboBox1 = nullptr;
  QPushButton* FlatButton3 = nullptr;
  QPushButton* FlatButton1 = nullptr;
  QPushButton* suiButton1 = nullptr;
  QPushButton* suiButton2 = nullptr;
  QFrame* suiPanel2 = nullptr;  // holds the browser
  QWebEngineProfile* profile_ = nullptr;
  QWebEngineView* WebBrowser1 = nullptr;
};

}  // namespace tessaly
