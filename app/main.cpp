// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: the application object, the windows, the message loop until
// the main window closes. The program reads no command line; dates are written
// and read as "yyyy-MM-dd" by the program itself, nothing outside it changes.

#include <QApplication>

#include "app/startup.h"

int main(int argc, char** argv) {
  tessaly::PrepareApplication();
  QApplication app(argc, argv);
  tessaly::SetUpApplication();

  // Each running copy keeps its page files in a folder of its own.
  const auto pages = tessaly::UsePrivatePageFolder();
  const auto windows = tessaly::CreateWindows();
  return QApplication::exec();
}
