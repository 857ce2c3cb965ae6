// SPDX-License-Identifier: GPL-3.0-or-later
// The result viewer after a report: the page as the view reads it (GB18030),
// the font choice and its file, the export, saving as PDF and as picture, the
// contact link, printing without a printer, the keys, and the way back to the
// main window.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

#include "app/main_window.h"
#include "controls/artwork.h"
#include "controls/gradient_label.h"
#include "controls/skin.h"
#include "gui_support.h"
#include "viewer/result_viewer.h"

namespace tessaly {

using test::CachePath;
using test::DesktopRecorder;
using test::DialogWatcher;
using test::ReadGbkLines;

class ViewerTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void FramelessWindow();
  void PageReadAsGb18030();
  void TwoFontChoices();
  void FontListSorted();
  void FontListNamesRealFamilies();
  void FontListPopupSize();
  void NewReportDropsFontTag();
  void Export_data();
  void Export();
  void ExportAsksBeforeReplacing();
  void ExportCancelled();
  void ExportUnwritable();
  void SaveButtons_data();
  void SaveButtons();
  void SavedPdf();
  void SavedPicture();
  void SaveUnwritable_data();
  void SaveUnwritable();
  void Contact();
  void ContactWithoutMailProgram();
  void PrintWithoutPrinter();
  void FontChangeKeepsPlace();
  void Keys_data();
  void Keys();
  void BackShowsMainWindow();
  void MinimiseAndClose();

 private:
  void Report();
  QString PageText() const { return viewer_->Browser()->toPlainText(); }
  // Saves the page as "pdf" or "png" to `path`; whether that succeeded.
  bool Save(const QString& kind, const QString& path);
  QComboBox* FontList() const {
    return viewer_->findChild<QComboBox*>(QStringLiteral("suiFontComboBox1"));
  }
  QPushButton* Button(const char* name) const {
    return viewer_->findChild<QPushButton*>(QString::fromLatin1(name));
  }

  DesktopRecorder desktop_;
  QTemporaryDir scratch_;
  std::unique_ptr<DialogWatcher> watcher_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<TForm4> viewer_;
};

void ViewerTest::initTestCase() {
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop_, "Open");
  QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &desktop_, "Open");
  QVERIFY(scratch_.isValid());
}

void ViewerTest::init() {
  desktop_.opened.clear();
  watcher_ = std::make_unique<DialogWatcher>();
  form_ = std::make_unique<TForm1>();
  viewer_ = std::make_unique<TForm4>();
  form_->SetViewer(viewer_.get());
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  Report();
}

void ViewerTest::cleanup() {
  viewer_.reset();
  form_.reset();
  watcher_.reset();
}

// Runs the report; the viewer shows it at once.
void ViewerTest::Report() {
  QVERIFY(form_->isVisible());
  QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("suiButton1")), Qt::LeftButton);
  QVERIFY(viewer_->isVisible());
  QVERIFY(watcher_->boxes.isEmpty());
}

void ViewerTest::FramelessWindow() {
  QVERIFY(viewer_->windowFlags() & Qt::FramelessWindowHint);
  QCOMPARE(viewer_->size(), QSize(640, 480));
  QCOMPARE(viewer_->windowTitle(), QStringLiteral("命运结果查阅"));
  QVERIFY(viewer_->findChild<TArtwork*>(QStringLiteral("Image1"))->HasPicture());
  // The browser fills the right-hand panel.
  QCOMPARE(viewer_->Browser()->parentWidget()->geometry(), QRect(152, 40, 457, 401));
  QCOMPARE(viewer_->Browser()->geometry(), QRect(0, 0, 457, 401));
  QStringList headings;
  for (const TMLabel* label : viewer_->findChildren<TMLabel*>()) {
    headings << label->text();
    QCOMPARE(label->Color1(), QColor(255, 0, 0));
    QCOMPARE(label->Color2(), QColor(0, 0, 255));
  }
  headings.sort();
  QCOMPARE(headings, QStringList({QStringLiteral("字体："), QStringLiteral("选项：")}));
  // The buttons and the font list speak in the windows' Song-style font.
  const QString song = skin::UiFontFamily();
  for (const char* name : {"FlatButton3", "FlatButton4", "FlatButton5", "FlatButton1",
                           "FlatButton6", "suiButton1", "suiButton2"}) {
    QVERIFY2(Button(name) != nullptr, name);
    QVERIFY2(QFontInfo(Button(name)->font()).family() == song, name);
  }
  QCOMPARE(QFontInfo(FontList()->font()).family(), song);
  QCOMPARE(QFontInfo(FontList()->view()->font()).family(), song);
  QCOMPARE(Button("FlatButton3")->text(), QStringLiteral("输出到文件"));
  QCOMPARE(Button("FlatButton4")->text(), QStringLiteral("保存为PDF"));
  QCOMPARE(Button("FlatButton5")->text(), QStringLiteral("保存为图片"));
  QCOMPARE(Button("FlatButton1")->text(), QStringLiteral("联系软件作者"));
  QCOMPARE(Button("FlatButton6")->text(), QStringLiteral("起名参考"));
  QCOMPARE(Button("suiButton1")->text(), QStringLiteral("打印输出"));
  QCOMPARE(Button("suiButton2")->text(), QStringLiteral("返回算命"));
  // What the user sees: Tab goes down the commands, then to the title area's
  // controls; nothing overlaps or leaves the window, its panel or its title area.
  QStringList chain;
  int bottom = 0;
  for (QWidget* w = viewer_->nextInFocusChain(); w != viewer_.get(); w = w->nextInFocusChain()) {
    if (qobject_cast<QAbstractButton*>(w) == nullptr) continue;
    chain << w->objectName();
    const QRect shown(w->mapTo(viewer_.get(), QPoint()), w->size());
    if (qobject_cast<QPushButton*>(w) != nullptr) {
      QVERIFY2(shown.top() >= bottom, qPrintable(w->objectName()));
      bottom = shown.bottom();
    }
  }
  QCOMPARE(chain,
           QStringList({"FlatButton3", "FlatButton4", "FlatButton5", "FlatButton1", "FlatButton6",
                        "suiButton1", "suiButton2", "MinimiseButton", "CloseButton"}));
  const auto artwork = [](const QWidget* w) { return qobject_cast<const TArtwork*>(w) != nullptr; };
  const auto none = [](const QWidget*) { return false; };
  QCOMPARE(test::Misplaced(viewer_.get(), artwork), QStringList());
  QCOMPARE(test::Misplaced(viewer_->findChild<QWidget*>(QStringLiteral("suiPanel1")), none),
           QStringList());
  QCOMPARE(test::Misplaced(viewer_->findChild<QWidget*>(QStringLiteral("WindowButtons")), none),
           QStringList());
}

void ViewerTest::PageReadAsGb18030() {
  // The file has no charset of its own; the view must still read GB18030.
  QCOMPARE(QFile(CachePath("temp.htm")).size() > 0, true);
  QCOMPARE(viewer_->Browser()->source(), QUrl::fromLocalFile(CachePath("temp.htm")));
  const QString text = PageText();
  QVERIFY(text.contains(QStringLiteral("相信科学 相信命运")));
  QVERIFY(text.contains(QStringLiteral("欧阳雨辰")));
  QVERIFY(text.contains(QStringLiteral("【※姓名祸福预测】")) ||
          text.contains(QStringLiteral("【※")));

  // A name beyond GBK: the character without a stroke count (𱁬, whose 84
  // strokes the store does not take, where 𠮷 and 䶮 have theirs) is named in a
  // message, and the page and its restyled copy show the name.
  QTest::mouseClick(Button("suiButton2"), Qt::LeftButton);
  form_->findChild<QLineEdit*>(QStringLiteral("FlatEdit1"))->setText(QStringLiteral("𠮷䶮𱁬"));
  QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("suiButton1")), Qt::LeftButton);
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Information);
  QVERIFY(watcher_->boxes[0].text.contains(QStringLiteral("“𱁬”")));
  QVERIFY(PageText().contains(QStringLiteral("𠮷䶮𱁬")));
  viewer_->suiFontComboBox1Change(QStringLiteral("Noto Serif CJK SC"));
  QCOMPARE(viewer_->Browser()->source(), QUrl::fromLocalFile(CachePath("temp.tmp")));
  QVERIFY(PageText().contains(QStringLiteral("𠮷䶮𱁬")));
}

void ViewerTest::TwoFontChoices() {
  auto* fonts = viewer_->findChild<QComboBox*>(QStringLiteral("suiFontComboBox1"));
  QVERIFY(fonts->count() > 1);
  QCOMPARE(fonts->currentIndex(), -1);
  // Two families with blanks in their names, chosen from the list.
  QStringList blanks;
  for (int i = 0; i < fonts->count(); ++i) {
    if (fonts->itemText(i).contains(QLatin1Char(' '))) blanks << fonts->itemText(i);
  }
  QVERIFY(blanks.size() >= 2);
  for (const QString& family : {blanks[0], blanks[1]}) {
    // Picked from the opened list, as the user picks it.
    fonts->showPopup();
    QAbstractItemView* list = fonts->view();
    const QModelIndex item = fonts->model()->index(fonts->findText(family), 0);
    list->scrollTo(item);
    QTRY_VERIFY(list->isVisible());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
    QTRY_VERIFY(!list->isVisible());
  }
  const QStringList tmp = ReadGbkLines(CachePath("temp.tmp"));
  const QString tag = QStringLiteral("<font face=\"%1\">").arg(blanks[1]);
  QCOMPARE(tmp.first(), tag);
  QCOMPARE(tmp.filter(QRegularExpression(QStringLiteral("^<font face="))).size(), 1);
  QCOMPARE(ReadGbkLines(CachePath("temp.htm")).first(), QStringLiteral("<html>"));
  // Everything but the first line is the report page.
  QCOMPARE(tmp.mid(1), ReadGbkLines(CachePath("temp.htm")).mid(1));
  QCOMPARE(viewer_->Browser()->source(), QUrl::fromLocalFile(CachePath("temp.tmp")));
  // Quoted, the whole family name reaches the page's text.
  const QTextBlock heading =
      viewer_->Browser()->document()->findBlock(PageText().indexOf(QStringLiteral("相信科学")));
  QCOMPARE(heading.begin().fragment().charFormat().fontFamilies().toStringList().value(0),
           blanks[1]);
}

void ViewerTest::FontListSorted() {
  auto* fonts = viewer_->findChild<QComboBox*>(QStringLiteral("suiFontComboBox1"));
  QStringList items;
  for (int i = 0; i < fonts->count(); ++i) items << fonts->itemText(i);
  QStringList sorted = items;
  std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  QCOMPARE(items, sorted);
  QVERIFY(items.contains(QStringLiteral("Noto Serif CJK SC")));
  // Only families that have Chinese glyphs (DejaVu has none).
  QVERIFY(!items.contains(QStringLiteral("DejaVu Sans")));
  for (const QString& family : items) {
    QVERIFY2(QFontDatabase::writingSystems(QFontInfo(QFont(family)).family())
                 .contains(QFontDatabase::SimplifiedChinese),
             qPrintable(family));
  }
  // Under its Chinese name where the font has one (WenQuanYi gives three).
  if (!QFontDatabase::hasFamily(QStringLiteral("WenQuanYi Zen Hei"))) {
    QSKIP("the WenQuanYi fonts are not installed");
  }
  QVERIFY(items.contains(QStringLiteral("文泉驿正黑")));
  QVERIFY(!items.contains(QStringLiteral("WenQuanYi Zen Hei")));
}

// Each family once, under a name an installed font has (fontconfig's list
// matches family names exactly): not "Family [foundry]", nor an alias such as
// "Sans Serif" or "宋体".
void ViewerTest::FontListNamesRealFamilies() {
  QStringList items;
  for (int i = 0; i < FontList()->count(); ++i) items << FontList()->itemText(i);
  QCOMPARE(QStringList(items).removeDuplicates(), 0);
  for (const QString& family : items) {
    QProcess list;
    list.start(QStringLiteral("fc-list"), {family, QStringLiteral("family")});
    QVERIFY(list.waitForFinished(30000));
    QVERIFY2(!list.readAllStandardOutput().trimmed().isEmpty(), qPrintable(family));
  }
}

// At most 20 rows high, and wide enough for the longest name.
void ViewerTest::FontListPopupSize() {
  QComboBox* fonts = FontList();
  // More families than rows, as on most desktops.
  for (int i = fonts->count(); i <= 20; ++i) fonts->addItem(QStringLiteral("字体 %1").arg(i));
  fonts->showPopup();
  QAbstractItemView* list = fonts->view();
  QTRY_VERIFY(list->isVisible());
  QVERIFY(list->height() <= 21 * list->sizeHintForRow(0));
  QVERIFY(list->verticalScrollBar()->isVisible());
  QVERIFY(list->viewport()->width() >= list->sizeHintForColumn(0));
  fonts->hidePopup();
}

void ViewerTest::NewReportDropsFontTag() {
  FontList()->setCurrentText(QStringLiteral("Noto Serif CJK SC"));
  viewer_->suiFontComboBox1Change(FontList()->currentText());
  QCOMPARE(viewer_->Page().first(), QStringLiteral("<font face=\"Noto Serif CJK SC\">"));
  QTest::mouseClick(Button("suiButton2"), Qt::LeftButton);
  QVERIFY(!viewer_->isVisible());
  Report();
  QCOMPARE(viewer_->Page().first(), QStringLiteral("<html>"));
  // The list is back to its first state, like the page's font.
  QCOMPARE(FontList()->currentIndex(), -1);
  QCOMPARE(viewer_->Browser()->source(), QUrl::fromLocalFile(CachePath("temp.htm")));
}

void ViewerTest::Export_data() {
  QTest::addColumn<QString>("name");     // in the main window's name box
  QTest::addColumn<QString>("typed");    // file name typed into the dialog
  QTest::addColumn<QString>("written");  // file that ends up written
  QTest::addColumn<bool>("utf8");        // the UTF-8 file type chosen
  QTest::newRow("name as file name") << "欧阳雨辰"
                                     << ""
                                     << "欧阳雨辰.txt" << false;
  QTest::newRow("extension added") << "张三"
                                   << "结果"
                                   << "结果.txt" << false;
  QTest::newRow("extension kept") << "张三"
                                  << "result.log"
                                  << "result.log" << false;
  QTest::newRow("empty name box") << ""
                                  << "空名"
                                  << "空名.txt" << false;
  QTest::newRow("UTF-8") << "欧阳雨辰"
                         << ""
                         << "欧阳雨辰.txt" << true;
}

void ViewerTest::Export() {
  QFETCH(QString, name);
  QFETCH(QString, typed);
  QFETCH(QString, written);
  QFETCH(bool, utf8);
  // The name as it stood in the box when the report ran.
  QTest::mouseClick(Button("suiButton2"), Qt::LeftButton);
  form_->findChild<QLineEdit*>(QStringLiteral("FlatEdit1"))->setText(name);
  Report();

  QString preset;
  QStringList filters;
  watcher_->on_file_dialog = [&](QFileDialog* dialog) {
    QLineEdit* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(box != nullptr);
    preset = box->text();
    filters = dialog->nameFilters();
    if (utf8) dialog->selectNameFilter(filters.value(1));
    // The user types a name (or keeps the one offered) and saves.
    box->setText(scratch_.filePath(typed.isEmpty() ? preset : typed));
    static_cast<QDialog*>(dialog)->accept();
  };
  viewer_->FlatButton3Click();
  QCOMPARE(preset, name);
  QCOMPARE(filters, QStringList({QStringLiteral("GB18030 文本文件 (*.txt)"),
                                 QStringLiteral("UTF-8 文本文件 (*.txt)")}));

  const QString path = scratch_.filePath(written);
  QVERIFY2(QFile::exists(path), qPrintable(path));
  // The plain report, whole, as GBK with CR LF (or UTF-8 with LF).
  QStringList expected = form_->LastReport().plain;
  QByteArray bytes;
  for (const QString& line : expected) bytes += utf8 ? line.toUtf8() + "\n" : ToGbk(line) + "\r\n";
  QCOMPARE(test::ReadBytes(path), bytes);
  if (!utf8) QVERIFY(!bytes.contains("\n\n"));
  QCOMPARE(desktop_.opened, QList<QUrl>({QUrl::fromLocalFile(path)}));
  // A short confirmation names the file.
  QCOMPARE(watcher_->boxes.size(), 1);
  QVERIFY(watcher_->boxes[0].text.contains(path));
  QFile::remove(path);
}

// The dialog adds the extension itself, so that it asks before replacing
// 李雨桐.txt; answered no, the file stays as it was.
void ViewerTest::ExportAsksBeforeReplacing() {
  const QString path = scratch_.filePath(QStringLiteral("李雨桐.txt"));
  QFile old(path);
  QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
  old.close();
  int shown = 0;
  watcher_->on_file_dialog = [&](QFileDialog* dialog) {
    if (++shown > 1) {
      dialog->reject();
      return;
    }
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
        ->setText(scratch_.filePath(QStringLiteral("李雨桐")));
    // Later, so that the watcher answers the question the dialog asks.
    QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); });
  };
  QTest::mouseClick(Button("FlatButton3"), Qt::LeftButton);
  QCOMPARE(shown, 2);
  QCOMPARE(watcher_->boxes.size(), 1);
  QVERIFY(watcher_->boxes[0].text.contains(QStringLiteral("李雨桐.txt")));
  QCOMPARE(test::ReadBytes(path), QByteArray("old"));
  QVERIFY(desktop_.opened.isEmpty());
  QFile::remove(path);
}

void ViewerTest::ExportCancelled() {
  watcher_->on_file_dialog = [](QFileDialog* dialog) { dialog->reject(); };
  QTest::mouseClick(Button("FlatButton3"), Qt::LeftButton);
  QVERIFY(desktop_.opened.isEmpty());
  QVERIFY(watcher_->boxes.isEmpty());
}

void ViewerTest::ExportUnwritable() {
  // 结果.txt is a folder: the file cannot be written.
  const QString path = scratch_.filePath(QStringLiteral("结果.txt"));
  QVERIFY(QDir().mkpath(path));
  QVERIFY(!viewer_->ExportText(path, false));
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Critical);
  QCOMPARE(watcher_->boxes[0].title, QStringLiteral("Tessaly"));
  QVERIFY(QFileInfo(path).isDir());
  QDir(path).removeRecursively();
}

bool ViewerTest::Save(const QString& kind, const QString& path) {
  QSignalSpy saved(viewer_.get(), &TForm4::SaveFinished);
  if (kind == u"pdf") {
    viewer_->SavePdf(path);
  } else {
    viewer_->SavePicture(path);
  }
  if (saved.isEmpty() && !saved.wait(30000)) return false;
  return saved.size() == 1 && saved[0][0].toString() == path && saved[0][1].toBool();
}

void ViewerTest::SaveButtons_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("suffix");
  QTest::newRow("保存为PDF") << "FlatButton4"
                             << "pdf";
  QTest::newRow("保存为图片") << "FlatButton5"
                              << "png";
}

// Through the file dialog, which offers the person's name; the extension is added.
void ViewerTest::SaveButtons() {
  QFETCH(QString, button);
  QFETCH(QString, suffix);
  QString preset;
  watcher_->on_file_dialog = [&](QFileDialog* dialog) {
    QLineEdit* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    preset = box->text();
    box->setText(scratch_.filePath(QStringLiteral("保存")));
    static_cast<QDialog*>(dialog)->accept();
  };
  QSignalSpy saved(viewer_.get(), &TForm4::SaveFinished);
  QTest::mouseClick(Button(button.toLatin1().constData()), Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(saved.size(), 1, 30000);
  QCOMPARE(preset, QStringLiteral("欧阳雨辰"));
  const QString path = scratch_.filePath(QStringLiteral("保存.") + suffix);
  QCOMPARE(saved[0][0].toString(), path);
  QVERIFY(QFileInfo(path).size() > 0);
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Information);
  QVERIFY(watcher_->boxes[0].text.contains(path));
  QFile::remove(path);
}

// An A4 PDF of the page, its text extractable.
void ViewerTest::SavedPdf() {
  const QString path = scratch_.filePath(QStringLiteral("report.pdf"));
  QVERIFY(Save(QStringLiteral("pdf"), path));
  const QByteArray pdf = test::ReadBytes(path);
  qInfo("PDF: %lld bytes", static_cast<long long>(pdf.size()));
  QVERIFY(pdf.startsWith("%PDF-"));
  // Pages of A4, 595 by 842 points.
  const QString objects = QString::fromLatin1(pdf);
  const int pages = objects.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
  QVERIFY(pages >= 1);
  QCOMPARE(objects.count(QRegularExpression(
               QStringLiteral("/MediaBox \\[0 0 59[45]\\.\\d+ 84[12]\\.\\d+\\]"))),
           pages);

  const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  if (pdftotext.isEmpty()) QSKIP("Poppler's pdftotext is not installed");
  QProcess run;
  run.start(pdftotext,
            {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
  QVERIFY(run.waitForFinished(30000));
  const QString text = QString::fromUtf8(run.readAllStandardOutput());
  QVERIFY(text.contains(QStringLiteral("相信科学")));
  QVERIFY(text.contains(QStringLiteral("欧阳雨辰")));
  QFile::remove(path);
}

// The whole page, not only the part in view, at the screen's pixel ratio.
void ViewerTest::SavedPicture() {
  PageView* view = viewer_->Browser();
  const qreal ratio = view->devicePixelRatioF();
  const QString path = scratch_.filePath(QStringLiteral("report.png"));
  QVERIFY(Save(QStringLiteral("png"), path));
  const QImage picture(path);
  qInfo("PNG: %lld bytes, %d x %d", static_cast<long long>(QFileInfo(path).size()), picture.width(),
        picture.height());
  const QSizeF page = view->document()->size();
  QCOMPARE(picture.height(), qCeil(page.height() * ratio));
  QCOMPARE(picture.width(), qRound(view->viewport()->width() * ratio));
  QVERIFY(picture.height() > 2 * view->height() * ratio);
  // Its top is what the view shows, and its last screenful is drawn too.
  const QRect top(QPoint(0, 0), view->viewport()->size() * ratio);
  QCOMPARE(picture.copy(top).convertToFormat(QImage::Format_RGB32),
           view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32));
  const QImage last = picture.copy(top.translated(0, picture.height() - top.height()));
  QVERIFY(last.convertToFormat(QImage::Format_Indexed8).colorCount() > 2);
  QFile::remove(path);
}

void ViewerTest::SaveUnwritable_data() {
  QTest::addColumn<QString>("kind");
  QTest::newRow("PDF over a folder") << "pdf";
  QTest::newRow("picture over a folder") << "png";
}

// A target that cannot be written: an error box, and no file, whole or part.
void ViewerTest::SaveUnwritable() {
  QFETCH(QString, kind);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("结果.") + kind);
  QVERIFY(QDir().mkpath(path));
  QVERIFY(!Save(kind, path));
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Critical);
  QVERIFY(watcher_->boxes[0].text.contains(path));
  QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
           QStringList{QFileInfo(path).fileName()});
  QVERIFY(QFileInfo(path).isDir());
}

void ViewerTest::Contact() {
  QTest::mouseClick(Button("FlatButton1"), Qt::LeftButton);
  QCOMPARE(desktop_.opened.size(), 1);
  const QUrl url = desktop_.opened.first();
  QCOMPARE(url.scheme(), QStringLiteral("mailto"));
  QVERIFY(url.path().contains(QLatin1Char('@')));
  QVERIFY(url.toString(QUrl::FullyEncoded).contains(QStringLiteral("?subject=")));
  QVERIFY(!QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded).isEmpty());
  QVERIFY(viewer_->isVisible());
}

// No mail program: the address in a box, to copy from.
void ViewerTest::ContactWithoutMailProgram() {
  QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
  QTest::mouseClick(Button("FlatButton1"), Qt::LeftButton);
  QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &desktop_, "Open");
  QCOMPARE(watcher_->boxes.size(), 1);
  QVERIFY(watcher_->boxes[0].text.contains(TForm4::ContactAddress()));
  QVERIFY(viewer_->isVisible());
}

void ViewerTest::PrintWithoutPrinter() {
  if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("a default printer is configured here");
  QTest::mouseClick(Button("suiButton1"), Qt::LeftButton);
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Critical);
  QCOMPARE(watcher_->boxes[0].title, QStringLiteral("Tessaly"));
  QVERIFY(watcher_->boxes[0].text.contains(QStringLiteral("打印机")));
  QVERIFY(viewer_->isVisible());
}

// A new font, and the reader stays at the same place on the page.
void ViewerTest::FontChangeKeepsPlace() {
  QScrollBar* bar = viewer_->Browser()->verticalScrollBar();
  QVERIFY(bar->maximum() > 0);
  bar->setValue(bar->maximum() / 2);
  viewer_->suiFontComboBox1Change(QStringLiteral("Noto Serif CJK SC"));
  QVERIFY(qAbs(bar->value() - bar->maximum() / 2) <= bar->maximum() / 50 + 1);
}

void ViewerTest::Keys_data() {
  QTest::addColumn<QKeySequence>("keys");
  QTest::addColumn<QString>("effect");
  QTest::newRow("Esc 返回算命") << QKeySequence(Qt::Key_Escape) << "back";
  QTest::newRow("Ctrl+W closes") << QKeySequence(Qt::CTRL | Qt::Key_W) << "back";
  QTest::newRow("Ctrl+S 输出到文件") << QKeySequence(Qt::CTRL | Qt::Key_S) << "输出到文件";
  QTest::newRow("Ctrl+P 打印输出") << QKeySequence(Qt::CTRL | Qt::Key_P) << "print";
}

void ViewerTest::Keys() {
  QFETCH(QKeySequence, keys);
  QFETCH(QString, effect);
  if (effect == u"print" && !QPrinterInfo::defaultPrinter().isNull()) {
    QSKIP("a default printer is configured here");
  }
  QString caption;
  watcher_->on_file_dialog = [&](QFileDialog* dialog) {
    caption = dialog->windowTitle();
    dialog->reject();
  };
  viewer_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(viewer_.get()));
  QTest::keySequence(viewer_.get(), keys);
  if (effect == u"back") {
    QVERIFY(!viewer_->isVisible());
    QVERIFY(form_->isVisible());
  } else if (effect == u"print") {
    QCOMPARE(watcher_->boxes.size(), 1);
    QVERIFY(watcher_->boxes[0].text.contains(QStringLiteral("打印机")));
  } else {
    QCOMPARE(caption, effect);
  }
}

void ViewerTest::BackShowsMainWindow() {
  QVERIFY(!form_->isVisible());
  QTest::mouseClick(Button("suiButton2"), Qt::LeftButton);
  QVERIFY(!viewer_->isVisible());
  QVERIFY(form_->isVisible());
  // The inputs are as they were.
  QCOMPARE(form_->Inputs().name, QStringLiteral("欧阳雨辰"));
  QCOMPARE(form_->Inputs().readings.testFlag(Reading::Name), true);
}

void ViewerTest::MinimiseAndClose() {
  auto* close = viewer_->findChild<QAbstractButton*>(QStringLiteral("CloseButton"));
  QVERIFY(close != nullptr);
  // In the title area, above the page's top right corner.
  const QPoint corner = close->mapTo(viewer_.get(), QPoint(close->width(), close->height()));
  QVERIFY(corner.x() > 560 && corner.y() <= viewer_->Browser()->parentWidget()->y());
  QTest::mouseClick(viewer_->findChild<QAbstractButton*>(QStringLiteral("MinimiseButton")),
                    Qt::LeftButton);
  QVERIFY(viewer_->isMinimized());
  // Closing goes back, as 返回算命 and Alt+F4 do.
  QTest::mouseClick(close, Qt::LeftButton);
  QVERIFY(!viewer_->isVisible());
  QVERIFY(form_->isVisible());
}

}  // namespace tessaly

TESSALY_VIEWER_TEST_MAIN(tessaly::ViewerTest)
#include "viewer_test.moc"
