// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer's module (lib/tessaly/viewer.so): the Qt plugin through which the
// program makes its result viewer. The program loads it once its main window
// is on the screen, so that the web engine is loaded only then.

#include <QObject>
#include <QtPlugin>

#include <memory>

#include "controls/report_viewer.h"
#include "viewer/result_viewer.h"

namespace tessaly {

class ViewerModule : public QObject, public ReportViewerFactory {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.tessaly.ReportViewerFactory/1")
  Q_INTERFACES(tessaly::ReportViewerFactory)

 public:
  std::unique_ptr<ReportViewer> CreateViewer() override { return std::make_unique<TForm4>(); }
};

}  // namespace tessaly

#include "viewer_module.moc"
