// Start-up probe for the start-up benchmark: builds the desktop program's
// windows exactly as the program does, then reports on standard output
//
//   shown <ms since main> <peak RSS kB>   when the main window has been painted
//   ready <ms since main> <peak RSS kB>   when the deferred work (the viewer's
//                                         module and browser, the sound) is done
//
// and quits.

#include <QApplication>
#include <QElapsedTimer>

#include "app/main_window.h"
#include "app/startup.h"
#include "bench/probe_support.h"

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();

  tessaly::PrepareApplication();
  QApplication app(argc, argv);
  tessaly::SetUpApplication();
  const auto windows = tessaly::CreateWindows();

  QObject::connect(windows->form1.get(), &tessaly::TForm1::FirstPaint,
                   [&clock] { tessaly::probe::Report("shown", clock); });
  windows->on_ready = [&clock] {
    tessaly::probe::Report("ready", clock);
    QCoreApplication::quit();
  };
  return QApplication::exec();
}
