// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm4: the result viewer (命运结果查阅), the program's ReportViewer. A
// frameless 640 x 480 window over its artwork: on the left the font list and
// the commands, on the right the page the report command wrote, shown in an
// embedded browser. The browser reads the pages of the cache directory through
// a URL scheme of its own that declares them GB18030, so the files stay exactly as
// written. The page can be saved as an A4 PDF or as a PNG picture of its whole
// height.

#include <QImage>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

#include "controls/report_viewer.h"
#include "report/report.h"

class QComboBox;
class QFrame;
class QPrinter;
class QPushButton;
class QTimer;
class QWebEngineProfile;
class QWebEngineView;

namespace tessaly {

class TArtwork;
class TMLabel;

class TForm4 : public QWidget, public ReportViewer {
  Q_OBJECT
  Q_INTERFACES(tessaly::ReportViewer)

 public:
  explicit TForm4(QWidget* parent = nullptr);
  ~TForm4() override;

  // ReportViewer.
  void ShowReport(const QStringList& page, const QString& page_path,
                  const QStringList& plain_report, const QString& name) override;
  QWidget* Window() override { return this; }
  void SetBackHandler(std::function<void()> handler) override { back_ = std::move(handler); }
  void SetNameChooserHandler(std::function<void()> handler) override {
    name_chooser_ = std::move(handler);
  }

  void Prepare() override;

  // The URL under which the browser reads a page of the cache directory.
  static QUrl PageUrl(const QString& path);

  // The page of the last report (its first line is replaced by a font choice).
  const QStringList& Page() const { return page_; }

  // Creates the browser and fills the font list. Runs once, from Prepare just
  // after the main window's first paint (or at the first navigation, if
  // earlier); Prepare then starts the browser on an empty page.
  void FinishCreation();
  QWebEngineView* Browser() const { return WebBrowser1; }

  // Shows a page of the cache directory (temp.htm, temp.tmp).
  void Navigate(const QString& path);

  // Commands.
  void suiFontComboBox1Change(const QString& family);  // font choice
  void FlatButton3Click();                             // 输出到文件
  void FlatButton1Click();                             // 联系软件作者
  void FlatButton4Click();                             // 保存为PDF
  void FlatButton5Click();                             // 保存为图片
  void suiButton1Click();                              // 打印输出
  void suiButton2Click();                              // 返回算命

  // The contact link.
  static QUrl ContactUrl();

  // What 保存为PDF and 保存为图片 do once the file dialog has given `path`:
  // the shown page as an A4 PDF, or as a PNG of the whole page at the screen's
  // device pixel ratio. Both finish later, with SaveFinished; a failure is
  // shown in an error box and leaves no file behind. A call while a file of
  // the same kind is being made is ignored.
  void SavePdf(const QString& path);
  void SavePicture(const QString& path);

 signals:
  void SaveFinished(const QString& path, bool success);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormClose();
  void PrintFinished(bool success);
  // Asks for the file to save to, offering the person's name with `suffix`;
  // empty when cancelled.
  QString AskSavePath(const QString& caption, const QString& filter, const QString& suffix);
  // Writes the finished file, or shows why it could not be made or written.
  void FinishSave(const QString& path, const QByteArray& bytes, const QString& failure);
  // Takes the picture once the second browser's rendering has settled, or an
  // empty one when it never does.
  void CapturePoll();
  void FinishCapture(const QImage& shot);

  std::function<void()> back_;
  std::function<void()> name_chooser_;
  QStringList page_;
  QStringList plain_report_;  // what the export writes
  QString name_;              // the person's name, offered as the export's file name
  bool finished_creation_ = false;
  std::unique_ptr<QPrinter> printer_;
  QString printer_name_;
  QString pdf_path_;                   // the PDF being made, empty when none is
  QWebEngineView* capture_ = nullptr;  // renders the whole page for the picture
  QTimer* capture_timer_ = nullptr;
  QString capture_path_;  // the picture being made, empty when none is
  QImage capture_last_;
  int capture_polls_ = 0;
  int capture_settled_ = 0;  // renderings in a row that were the same

  TArtwork* Image1 = nullptr;
  QFrame* suiPanel1 = nullptr;  // the left-hand panel
  TMLabel* MLabel1 = nullptr;   // 字体：
  TMLabel* MLabel2 = nullptr;   // 选项：
  QComboBox* suiFontComboBox1 = nullptr;
  QPushButton* FlatButton3 = nullptr;
  QPushButton* FlatButton1 = nullptr;
  QPushButton* FlatButton4 = nullptr;
  QPushButton* FlatButton5 = nullptr;
  QPushButton* FlatButton6 = nullptr;  // 起名参考
  QPushButton* suiButton1 = nullptr;
  QPushButton* suiButton2 = nullptr;
  QFrame* suiPanel2 = nullptr;  // holds the browser
  QWebEngineProfile* profile_ = nullptr;
  QWebEngineView* WebBrowser1 = nullptr;
};

}  // namespace tessaly
