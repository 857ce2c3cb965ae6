// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up probe for the start-up benchmark: builds the desktop program's
// windows exactly as the program does, then reports on standard output
//
//   shown <ms since main> <peak RSS kB>   when the main window has been painted
//   ready <ms since main> <peak RSS kB>   when the deferred work (the viewer's
//                                         browser, the sound) is done
//
// and quits. With the argument "eager" the viewer's browser is created before
// the first paint instead, to show what deferring it saves.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

#include "app/main_window.h"
#include "app/startup.h"
#include "viewer/result_viewer.h"

namespace {

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void Report(const char* what, const QElapsedTimer& clock) {
  std::printf("%s %.2f %ld\n", what, static_cast<double>(clock.nsecsElapsed()) / 1e6, PeakRssKb());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  const bool eager = argc > 1 && std::strcmp(argv[1], "eager") == 0;

  tessaly::PrepareApplication();
  QApplication app(argc, argv);
  tessaly::SetUpApplication();
  const auto windows = tessaly::CreateWindows();
  if (eager) windows->form4->FinishCreation();

  QObject::connect(windows->form1.get(), &tessaly::TForm1::FirstPaint, [&clock] {
    Report("shown", clock);
    // Queued behind the deferred work that the first paint started.
    QTimer::singleShot(0, [&clock] {
      Report("ready", clock);
      QCoreApplication::quit();
    });
  });
  return QApplication::exec();
}
