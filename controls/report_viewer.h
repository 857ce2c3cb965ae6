// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ReportViewer: what the main window knows of the window that shows a report.
// It is handed a finished report and says when the user goes back; which
// window does the showing stays with the start-up code that creates it.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace tessaly {

class ReportViewer {
 public:
  virtual ~ReportViewer() = default;

  // Shows the report and brings the viewer's window to the front: `page` the
  // HTML lines as written to the file `page_path`, `plain_report` the plain
  // lines that the export writes, `name` the person's name that the export
  // offers as its file name.
  virtual void ShowReport(const QStringList& page, const QString& page_path,
                          const QStringList& plain_report, const QString& name) = 0;

  // The viewer's top-level window.
  virtual QWidget* Window() = 0;

  // Called when the user leaves the viewer ("返回算命" or closing its window);
  // the window is hidden by then. A later call replaces the handler.
  virtual void SetBackHandler(std::function<void()> handler) = 0;

  // Called when the user asks for the name chooser ("起名参考"). A later call
  // replaces the handler.
  virtual void SetNameChooserHandler(std::function<void()> handler) = 0;
};

}  // namespace tessaly
