// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up of the desktop program, shared by the program's entry, the GUI tests
// and the start-up benchmarks so that all build the windows the same way. The
// main window comes first; the calendar dialog and the viewer are made once
// the main window is on the screen (or when first wanted), so that the program
// shows itself before them.

#include <QString>

#include <functional>
#include <memory>

#include "controls/skin.h"

class QLockFile;

namespace tessaly {

class ReportViewer;
class NameChooser;
class TForm1;
class TForm3;

// What must be set up before the application object exists; it also starts
// decoding the main window's artwork meanwhile.
void PrepareApplication();

// The page files of one running copy of the program: a folder of its own under
// the cache directory ("pages-XXXXXX", 0700), held by a lock file inside, so
// that two copies never show, print or save each other's pages. Making it
// removes the folders of copies that are no longer running (their lock is
// stale) and points the page files (TempPagePath, StyledPagePath) into it;
// destroying it removes it and points them back to the cache directory.
class PageFolder {
 public:
  // Raises FileError when the folder cannot be made.
  PageFolder();
  ~PageFolder();
  PageFolder(const PageFolder&) = delete;
  PageFolder& operator=(const PageFolder&) = delete;

  const QString& Path() const { return path_; }

 private:
  QString path_;
  std::unique_ptr<QLockFile> lock_;
};

// The program's page folder, or null (and the pages in the cache directory,
// where the report command reports what is wrong) when it cannot be made.
std::unique_ptr<PageFolder> UsePrivatePageFolder();

// Makes the viewer, its window hidden, or raises Error saying why it cannot.
using ViewerMaker = std::function<std::unique_ptr<ReportViewer>()>;

// Makes the result viewer linked into the program.
ViewerMaker LinkedViewer();

// The program's windows: the main window first, the calendar dialog and the
// viewer after its first paint (or when first wanted), the name chooser when
// the viewer's 起名参考 first asks for it. They live until the program ends.
struct Windows {
  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TForm3> form3;         // once made
  std::unique_ptr<ReportViewer> viewer;  // once made
  std::unique_ptr<NameChooser> chooser;  // once made
  ViewerMaker make_viewer;
  QString viewer_error;  // why it could not be made, once tried
  // Called once the work deferred until after the first paint is done.
  std::function<void()> on_ready;

  // The calendar dialog, made on the first call.
  TForm3* CalendarDialog();
  // The viewer, made on the first call. Raises Error, on this call and every
  // later one, when it cannot be made.
  ReportViewer* Viewer();
  // The name chooser, made on the first call.
  NameChooser* Chooser();
  ~Windows();
};

// Creates the main window and shows it. Once it has been painted, the calendar
// dialog and the viewer (with `make_viewer`) are made and the click sound made
// ready, each in a task of its own so that the window keeps answering. The birthday button and the
// report command make the dialog and the viewer themselves if they come first; the report command
// shows the error if there is no viewer. The viewer's 起名参考 shows the name chooser.
std::unique_ptr<Windows> CreateWindows(ViewerMaker make_viewer = LinkedViewer());

}  // namespace tessaly
