// Takes the screenshots of docs/: the main window, then the viewer with a
// report of all seven readings. Run it in a scratch home (it writes the report
// page to the cache directory) and preferably under a virtual X server:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/tessaly-screenshots docs

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

#include <cstdio>

#include "app/startup.h"
#include "app/main_window.h"
#include "controls/report_viewer.h"

namespace {

void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// What is on the screen where the window is, or the window's own rendering
// when there is no screen to read.
QPixmap Shot(QWidget* window) {
  QScreen* screen = window->screen();
  if (screen != nullptr && QGuiApplication::platformName() == QLatin1String("xcb")) {
    return screen->grabWindow(window->winId());
  }
  return window->grab();
}

}  // namespace

int main(int argc, char** argv) {
  tessaly::PrepareApplication();
  QApplication app(argc, argv);
  tessaly::SetUpApplication();
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
  QDir().mkpath(out);

  // Message boxes would stop the run; answer them.
  QTimer boxes;
  QObject::connect(&boxes, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::fprintf(stderr, "message box: %s\n", qPrintable(box->text()));
      box->accept();
    }
  });
  boxes.start(50);

  const auto windows = tessaly::CreateWindows();
  tessaly::TForm1* form1 = windows->form1.get();
  Wait(1500);
  Shot(form1).save(out + QStringLiteral("/main-window.png"));

  for (const char* name : {"suiCheckBox5", "suiCheckBox6", "suiCheckBox7"}) {
    form1->findChild<QCheckBox*>(QString::fromLatin1(name))->setChecked(true);
  }
  Wait(300);
  Shot(form1).save(out + QStringLiteral("/main-window-all-inputs.png"));

  form1->findChild<QPushButton*>(QStringLiteral("suiButton1"))->click();
  QWidget* viewer = windows->viewer != nullptr ? windows->viewer->Window() : nullptr;
  if (viewer == nullptr) {
    std::fprintf(stderr, "no viewer: %s\n", qPrintable(windows->viewer_error));
    return 1;
  }
  if (auto* browser = viewer->findChild<QWebEngineView*>()) {
    QEventLoop loop;
    QObject::connect(browser, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    loop.exec();
  }
  Wait(1500);
  Shot(viewer).save(out + QStringLiteral("/viewer.png"));
  std::printf("screenshots written to %s\n", qPrintable(out));
  return 0;
}
