// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up probe for the start-up benchmark: builds the desktop program's
// windows exactly as the program does, then reports on standard output
//
//   shown <ms since main> <peak RSS kB>   when the main window has been painted
//   ready <ms since main> <peak RSS kB>   when the deferred work (the calendar
//                                         dialog, the viewer's module and
//                                         browser, the sound) is done
//
// and quits; with the argument "shown" it quits at the first paint, as the
// yardstick it is compared with does.

#include <QApplication>
#include <QElapsedTimer>

#include <cstring>

#include "app/main_window.h"
#include "app/startup.h"
#include "bench/probe_support.h"

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  const bool until_shown = argc > 1 && std::strcmp(argv[1], "shown") == 0;

  tessaly::PrepareApplication();
  QApplication app(argc, argv);
  tessaly::SetUpApplication();
  const auto windows = tessaly::CreateWindows();

  QObject::connect(windows->form1.get(), &tessaly::TForm1::FirstPaint, [&clock, until_shown] {
    tessaly::probe::Report("shown", clock);
    if (until_shown) QCoreApplication::quit();
  });
  windows->on_ready = [&clock] {
    tessaly::probe::Report("ready", clock);
    QCoreApplication::quit();
  };
  return QApplication::exec();
}
