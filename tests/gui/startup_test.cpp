// SPDX-License-Identifier: GPL-3.0-or-later
// The windows as start-up creates and wires them: the report goes to the
// viewer, which takes the main window's place, and going back from the viewer
// brings the main window again.

#include <QPushButton>
#include <QtTest>

#include <memory>

#include "app/main_window.h"
#include "controls/report_viewer.h"
#include "gui_support.h"
#include "viewer/result_viewer.h"

namespace tessaly {

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void ReportAndBack();
};

void StartupTest::ReportAndBack() {
  test::DialogWatcher watcher;
  const std::unique_ptr<Windows> windows = CreateWindows();
  QWidget* main_window = windows->form1.get();
  // The viewer as the main window knows it.
  auto* viewer = qobject_cast<ReportViewer*>(windows->form4.get());
  QVERIFY(viewer != nullptr);
  QVERIFY(QTest::qWaitForWindowExposed(main_window));
  QVERIFY(!viewer->Window()->isVisible());

  QTest::mouseClick(main_window->findChild<QPushButton*>(QStringLiteral("suiButton1")),
                    Qt::LeftButton);
  QVERIFY(viewer->Window()->isVisible());
  QVERIFY(!main_window->isVisible());
  QCOMPARE(windows->form4->Page(), test::ReadGbkLines(test::CachePath("temp.htm")));

  QTest::mouseClick(viewer->Window()->findChild<QPushButton*>(QStringLiteral("suiButton2")),
                    Qt::LeftButton);
  QVERIFY(!viewer->Window()->isVisible());
  QVERIFY(main_window->isVisible());
  QVERIFY(watcher.boxes.isEmpty());
}

}  // namespace tessaly

TESSALY_VIEWER_TEST_MAIN(tessaly::StartupTest)
#include "startup_test.moc"
