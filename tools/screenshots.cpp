// Takes the screenshots of docs/: the main window, then the viewer with a
// report of all seven readings, then the name chooser opened from the viewer. Run it in a scratch home (it writes the report
// page to the cache directory) and preferably under a virtual X server:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/tessaly-screenshots docs

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

#include <cstdio>

#include "app/startup.h"
#include "app/main_window.h"
#include "app/name_chooser.h"
#include "viewer/result_viewer.h"

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
  tessaly::TForm4* form4 = windows->form4.get();
  Wait(1500);
  Shot(form1).save(out + QStringLiteral("/main-window.png"));

  for (const char* name : {"suiCheckBox5", "suiCheckBox6", "suiCheckBox7"}) {
    form1->findChild<QCheckBox*>(QString::fromLatin1(name))->setChecked(true);
  }
  Wait(300);
  Shot(form1).save(out + QStringLiteral("/main-window-all-inputs.png"));

  form1->findChild<QPushButton*>(QStringLiteral("suiButton1"))->click();
  if (form4->Browser() != nullptr) {
    QEventLoop loop;
    QObject::connect(form4->Browser(), &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    loop.exec();
  }
  Wait(1500);
  Shot(form4).save(out + QStringLiteral("/viewer.png"));

  // The name chooser: typed candidates for 张, best first, and the generate
  // form set for names ending in the generation character 嘉.
  form4->findChild<QPushButton*>(QStringLiteral("FlatButton4"))->click();
  tessaly::NameChooser* chooser = windows->chooser.get();
  chooser->findChild<QLineEdit*>(QStringLiteral("SurnameEdit"))->setText(QStringLiteral("张"));
  chooser->findChild<QComboBox*>(QStringLiteral("SurnameKindBox"))->setCurrentIndex(0);
  chooser->findChild<QPlainTextEdit*>(QStringLiteral("CandidatesEdit"))
      ->setPlainText(QStringLiteral("小明\n子涵\n雨桐\n思远\n嘉怡\n浩然\n欣妍\n一诺\n宇轩\n"
                                    "梓萱\n俊熙\n诗涵\n明哲\n晨曦\n安琪\n文博\n若溪\n"));
  chooser->findChild<QLineEdit*>(QStringLiteral("GenerationEdit"))->setText(QStringLiteral("嘉"));
  chooser->findChild<QComboBox*>(QStringLiteral("PositionBox"))->setCurrentIndex(1);
  chooser->findChild<QComboBox*>(QStringLiteral("MinRatingBox"))->setCurrentText(QStringLiteral("吉"));
  chooser->ScoreClick();
  chooser->findChild<QTableView*>(QStringLiteral("NameTable"))
      ->sortByColumn(tessaly::NameListModel::kScore, Qt::DescendingOrder);
  Wait(800);
  Shot(chooser).save(out + QStringLiteral("/name-chooser.png"));
  std::printf("screenshots written to %s\n", qPrintable(out));
  return 0;
}
