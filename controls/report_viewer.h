// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ReportViewer: what the main window knows of the window that shows a report.
// It is handed a finished report and says when the user goes back; which
// window does the showing (and with what browser) stays with the start-up
// code that creates it. ReportViewerFactory: what the viewer's module (a Qt
// plugin that the program loads once its main window is up) gives the
// start-up code to make the viewer with.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtPlugin>

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

  // Gets ready to show reports without delay (starts the browser); called in
  // idle time after start-up. Showing a report does whatever is left of it.
  virtual void Prepare() {}
};

class ReportViewerFactory {
 public:
  virtual ~ReportViewerFactory() = default;

  // A new viewer, its window hidden; the caller owns it.
  virtual std::unique_ptr<ReportViewer> CreateViewer() = 0;
};

}  // namespace tessaly

Q_DECLARE_INTERFACE(tessaly::ReportViewer, "org.tessaly.ReportViewer/1")
Q_DECLARE_INTERFACE(tessaly::ReportViewerFactory, "org.tessaly.ReportViewerFactory/1")
