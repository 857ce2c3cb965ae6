// SPDX-License-Identifier: GPL-3.0-or-later
// The windows as start-up creates and wires them, with the viewer and the
// click sound loaded from their modules: the store, the calendar dialog, the
// web engine and the sound's player come in only after the main window's first
// paint, the report goes to the viewer, which takes the main window's place,
// and going back brings the main window again; the viewer's 起名参考 opens the
// name chooser, made then. Without a usable viewer module the main window works on
// and the report command says which file is wrong.

#include <QDate>
#include <QFile>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

#include "app/main_window.h"
#include "app/name_chooser.h"
#include "controls/report_viewer.h"
#include "gui_support.h"

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
  void ModuleUnusable_data();
  void ModuleUnusable();

 private:
  QTemporaryDir scratch_;
};

void StartupTest::ReportAndBack() {
  test::DialogWatcher watcher;
  const std::unique_ptr<Windows> windows = CreateWindows();
  QWidget* main_window = windows->form1.get();
  bool ready = false;
  windows->on_ready = [&ready] { ready = true; };
  QVERIFY(!Loaded("libQt6WebEngineCore") && !Loaded("libQt6Multimedia"));
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
  QVERIFY(Loaded("libQt6WebEngineCore") && Loaded("libQt6Multimedia"));
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

void StartupTest::ModuleUnusable_data() {
  QTest::addColumn<QString>("module");
  QTest::addColumn<QString>("message");
  const QString missing = scratch_.filePath(QStringLiteral("lib/tessaly/viewer.so"));
  const QString text = scratch_.filePath(QStringLiteral("viewer.so"));
  QFile file(text);
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a module\n") > 0);
  const QString other =
      QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms/libqoffscreen.so");
  const QString reinstall = QStringLiteral("无法显示算命结果，请重新安装本软件。");
  QTest::newRow("missing") << missing
                           << QStringLiteral("找不到结果查阅窗口的模块文件“%1”，").arg(missing) +
                                  reinstall;
  QTest::newRow("not a module") << text
                                << QStringLiteral("无法加载结果查阅窗口的模块文件“%1”（").arg(text);
  QTest::newRow("another plugin")
      << other << QStringLiteral("文件“%1”不是本软件的结果查阅窗口模块，").arg(other) + reinstall;
}

void StartupTest::ModuleUnusable() {
  QFETCH(QString, module);
  QFETCH(QString, message);
  test::DialogWatcher watcher;
  const std::unique_ptr<Windows> windows = CreateWindows(ViewerFromModule(module));
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
    QVERIFY2(watcher.boxes[i].text.startsWith(message), qPrintable(watcher.boxes[i].text));
    QVERIFY(main_window->isVisible());
    QVERIFY(QFile::exists(test::CachePath("temp.htm")));
  }
  QVERIFY(windows->viewer == nullptr);
}

}  // namespace tessaly

TESSALY_VIEWER_TEST_MAIN(tessaly::StartupTest)
#include "startup_test.moc"
