// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm4: the result viewer (命运结果查阅), the program's ReportViewer. A
// frameless 640 x 480 window over its artwork: on the left the font list and
// the commands, on the right the page the report command wrote, read back from
// its file as GB18030 and shown in Qt's rich-text view. The view is read-only
// and follows no links; the only resource it loads is the page's own file.
// Printing, the A4 PDF and the PNG picture of the whole page are drawn from the
// text document the view holds, never from a file read again.

#include <QImage>
#include <QStringList>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

#include <functional>

#include "controls/report_viewer.h"

class QComboBox;
class QFrame;
class QPushButton;

namespace tessaly {

class TArtwork;
class TMLabel;
class WindowButtons;

// The page view: a QTextBrowser that shows one page file at a time.
class PageView : public QTextBrowser {
  Q_OBJECT

 public:
  explicit PageView(QWidget* parent = nullptr);

  // Shows the page file at `path`, decoded as GB18030, read anew even when it
  // is the file already shown. Raises FileError when it cannot be read.
  void ShowFile(const QString& path);

  // The page's own file and nothing else: no pictures, style sheets or other
  // pages, local or remote.
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  QUrl page_url_;
  QString page_text_;
};

class TForm4 : public QWidget, public ReportViewer {
  Q_OBJECT

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

  // The page of the last report (its first line is replaced by a font choice).
  const QStringList& Page() const { return page_; }
  PageView* Browser() const { return WebBrowser1; }

  // Shows a page file (temp.htm, temp.tmp); an error box when it cannot be read.
  void Navigate(const QString& path);

  // Commands.
  void suiFontComboBox1Change(const QString& family);  // font choice
  void FlatButton3Click();                             // 输出到文件
  void FlatButton1Click();                             // 联系软件作者
  void FlatButton4Click();                             // 保存为PDF
  void FlatButton5Click();                             // 保存为图片
  void suiButton1Click();                              // 打印输出
  void suiButton2Click();                              // 返回算命

  // The contact link and its address.
  static QUrl ContactUrl();
  static QString ContactAddress();

  // What 保存为PDF and 保存为图片 do once the file dialog has given `path`:
  // the shown page as an A4 PDF, or as a PNG of the whole page at the screen's
  // device pixel ratio. A failure is shown in an error box and leaves no file
  // behind. Both end with SaveFinished.
  void SavePdf(const QString& path);
  void SavePicture(const QString& path);

  // What 输出到文件 does once the file dialog has given `path`: the plain
  // report as GB18030 with CR LF, or as UTF-8 with LF; an error box when it
  // cannot be written. Whether it was written.
  bool ExportText(const QString& path, bool utf8);

  // The whole page as the view lays it out, at the screen's pixel ratio.
  QImage PagePicture() const;

 signals:
  void SaveFinished(const QString& path, bool success);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormClose();
  // Asks for the file to save to, offering the person's name.
  QString AskSavePath(const QString& caption, const QStringList& filters,
                      QString* chosen = nullptr);
  // Writes the finished file, or shows why it could not be made or written;
  // a short confirmation names the file written.
  bool FinishSave(const QString& path, const QByteArray& bytes, const QString& failure);
  void Saved(const QString& path);

  std::function<void()> back_;
  std::function<void()> name_chooser_;
  QStringList page_;
  QStringList plain_report_;  // what the export writes
  QString name_;              // the person's name, offered as the export's file name

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
  QFrame* suiPanel2 = nullptr;  // holds the view
  PageView* WebBrowser1 = nullptr;
  WindowButtons* Buttons = nullptr;  // minimise and close
};

}  // namespace tessaly
