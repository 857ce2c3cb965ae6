// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up of the desktop program, shared by the program's entry and the
// start-up benchmark so that both build the windows the same way. This is the
// one place that knows the concrete viewer: it creates it and hands it to the
// main window as a ReportViewer.

#include <memory>

#include "controls/skin.h"

namespace tessaly {

class TForm1;
class TForm3;
class TForm4;
class NameChooser;

// What must be set up before the application object exists (the viewer's URL
// scheme).
void PrepareApplication();

// The program's windows, created in order: the main window, the calendar
// dialog, the viewer, the name chooser. They live until the program ends.
struct Windows {
  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TForm3> form3;
  std::unique_ptr<TForm4> form4;
  std::unique_ptr<NameChooser> chooser;
  ~Windows();
};

// Creates the windows and shows the main window. Once the main window has been
// painted, the viewer's browser and the click sound are made ready.
std::unique_ptr<Windows> CreateWindows();

}  // namespace tessaly
