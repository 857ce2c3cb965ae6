// SPDX-License-Identifier: GPL-3.0-or-later
// The windows as start-up creates and wires them: the store, the calendar
// dialog, the viewer and the sound's player come in only after the main
// window's first paint, the report goes to the viewer, which takes the main
// window's place, and going back brings the main window again; the viewer's
// 起名参考 opens the name chooser, made then. A report asked for at once,
// before any of that, is shown all the same. A viewer that cannot be made
// leaves the main window working, and the report command says why.

#include <QDate>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <algorithm>
#include <memory>

#include "app/main_window.h"
#include "app/name_chooser.h"
#include "app/startup.h"
#include "controls/report_viewer.h"
#include "core/errors.h"
#include "core/paths.h"
#include "gui_support.h"
#include "report/report.h"

namespace tessaly {

namespace {

// Whether a library has been loaded into this process.
bool Loaded(const char* library) {
  return test::ReadBytes(QStringLiteral("/proc/self/maps")).contains(library);
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void ReportAndBack();
  void ReportAtOnce();
  void ViewerUnusable();
  void PageFolderPerCopy();
};

void StartupTest::ReportAndBack() {
  test::DialogWatcher watcher;
  const std::unique_ptr<Windows> windows = CreateWindows();
  QWidget* main_window = windows->form1.get();
  bool ready = false;
  windows->on_ready = [&ready] { ready = true; };
  QVERIFY(!Loaded("libQt6Multimedia"));
  QVERIFY(windows->form3 == nullptr);
  QVERIFY(!windows->form1->Store().IsOpen());
  // The birthday box shows today's date, as the calendar dialog writes it.
  QCOMPARE(main_window->findChild<QLineEdit*>(QStringLiteral("FlatEdit3"))->text(),
           QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
  QVERIFY(QTest::qWaitForWindowExposed(main_window));
  // The modules are loaded, the dialog and the viewer made and the sound
  // loaded after the first paint, unasked.
  QTRY_VERIFY(ready);
  QVERIFY(windows->form1->Store().IsOpen());
  QVERIFY(windows->form3 != nullptr);
  QVERIFY2(windows->viewer != nullptr, qPrintable(windows->viewer_error));
  QVERIFY(Loaded("libQt6Multimedia"));
  QVERIFY(!Loaded("libQt6WebEngine"));
  const QList<QObject*> children = qApp->children();
  QVERIFY(std::any_of(children.begin(), children.end(), [](const QObject* child) {
    return qstrcmp(child->metaObject()->className(), "QSoundEffect") == 0;
  }));
  QWidget* viewer = windows->viewer->Window();
  QVERIFY(!viewer->isVisible());

  QTest::mouseClick(main_window->findChild<QPushButton*>(QStringLiteral("suiButton1")),
                    Qt::LeftButton);
  QVERIFY(viewer->isVisible());
  QVERIFY(!main_window->isVisible());

  QVERIFY(windows->chooser == nullptr);
  QTest::mouseClick(viewer->findChild<QPushButton*>(QStringLiteral("FlatButton6")), Qt::LeftButton);
  QVERIFY(windows->chooser != nullptr && windows->chooser->isVisible());
  windows->chooser->close();

  QTest::mouseClick(viewer->findChild<QPushButton*>(QStringLiteral("suiButton2")), Qt::LeftButton);
  QVERIFY(!viewer->isVisible());
  QVERIFY(main_window->isVisible());
  QVERIFY(watcher.boxes.isEmpty());
}

// A click before the first paint: the viewer is made then, and shows the page.
void StartupTest::ReportAtOnce() {
  test::DialogWatcher watcher;
  const std::unique_ptr<Windows> windows = CreateWindows();
  QTest::mouseClick(windows->form1->findChild<QPushButton*>(QStringLiteral("suiButton1")),
                    Qt::LeftButton);
  QVERIFY2(windows->viewer != nullptr, qPrintable(windows->viewer_error));
  auto* view = windows->viewer->Window()->findChild<QTextBrowser*>(QStringLiteral("WebBrowser1"));
  QVERIFY(view->isVisible());
  QVERIFY(view->toPlainText().contains(QStringLiteral("相信科学 相信命运")));
  QVERIFY(view->toPlainText().contains(QStringLiteral("相信科学 相信命运")));
  // Back in the main window, its first paint brings the deferred work, and the
  // next report is shown like the first.
  bool ready = false;
  windows->on_ready = [&ready] { ready = true; };
  QTest::mouseClick(
      windows->viewer->Window()->findChild<QPushButton*>(QStringLiteral("suiButton2")),
      Qt::LeftButton);
  QTRY_VERIFY(ready);
  QTest::mouseClick(windows->form1->findChild<QPushButton*>(QStringLiteral("suiButton1")),
                    Qt::LeftButton);
  QVERIFY(view->isVisible());
  QVERIFY(view->toPlainText().contains(QStringLiteral("相信科学 相信命运")));
  QVERIFY(watcher.boxes.isEmpty());
}

void StartupTest::ViewerUnusable() {
  const QString why = QStringLiteral("无法显示算命结果。");
  test::DialogWatcher watcher;
  const std::unique_ptr<Windows> windows =
      CreateWindows([why]() -> std::unique_ptr<ReportViewer> { throw Error(why); });
  QWidget* main_window = windows->form1.get();
  bool ready = false;
  windows->on_ready = [&ready] { ready = true; };
  QTRY_VERIFY(ready);
  QVERIFY(watcher.boxes.isEmpty());

  // Each report says what is wrong; the report is written and the main window
  // stays, working.
  auto* report = main_window->findChild<QPushButton*>(QStringLiteral("suiButton1"));
  for (int i = 0; i < 2; ++i) {
    QFile::remove(test::CachePath("temp.htm"));
    QTest::mouseClick(report, Qt::LeftButton);
    QTRY_COMPARE(watcher.boxes.size(), i + 1);
    QCOMPARE(watcher.boxes[i].icon, QMessageBox::Critical);
    QCOMPARE(watcher.boxes[i].text, why);
    QVERIFY(main_window->isVisible());
    QVERIFY(QFile::exists(test::CachePath("temp.htm")));
  }
  QVERIFY(windows->viewer == nullptr);
}

// Each copy its own page folder, 0700, removed at exit; at start the folders
// of copies no longer running go, those of running ones stay.
void StartupTest::PageFolderPerCopy() {
  const QString cache = CacheDir();
  const auto folder = [&cache](const char* name) {
    const QString path = cache + QStringLiteral("/pages-") + QLatin1String(name);
    QDir().mkpath(path);
    return path;
  };
  // A lock as a copy of the program leaves it, of a process that has ended.
  const QString stale = folder("ended");
  {
    QLockFile lock(stale + QStringLiteral("/lock"));
    QVERIFY(lock.tryLock(0));
    QFile file(stale + QStringLiteral("/lock"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    lock.unlock();
    QProcess ended;
    ended.start(QStringLiteral("true"));
    QVERIFY(ended.waitForStarted());
    const qint64 pid = ended.processId();
    QVERIFY(ended.waitForFinished());
    text = QByteArray::number(pid) + text.mid(text.indexOf('\n'));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    QVERIFY(QFile::exists(stale + QStringLiteral("/lock")));
  }
  const QString running = folder("running");
  QLockFile running_lock(running + QStringLiteral("/lock"));
  QVERIFY(running_lock.tryLock(0));
  const QString starting = folder("starting");  // no lock yet

  auto first = std::make_unique<PageFolder>();
  QVERIFY(!QFileInfo::exists(stale));
  QVERIFY(QFileInfo(running).isDir() && QFileInfo(starting).isDir());
  const QFileDevice::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
  const QFileDevice::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
  QCOMPARE(QFileInfo(first->Path()).permissions() & (owner | others), owner);
  QCOMPARE(TempPagePath(), first->Path() + QStringLiteral("/temp.htm"));
  const QString first_path = first->Path();
  {
    // A second copy: a folder of its own, the first one's left alone.
    const PageFolder second;
    QVERIFY(second.Path() != first_path);
    QCOMPARE(StyledPagePath(), second.Path() + QStringLiteral("/temp.tmp"));
    QVERIFY(QFileInfo(first_path).isDir());
  }
  first.reset();
  QVERIFY(!QFileInfo::exists(first_path));
  QCOMPARE(TempPagePath(), cache + QStringLiteral("/temp.htm"));
  running_lock.unlock();
  QDir(running).removeRecursively();
  QDir(starting).removeRecursively();
}

}  // namespace tessaly

TESSALY_VIEWER_TEST_MAIN(tessaly::StartupTest)
#include "startup_test.moc"
