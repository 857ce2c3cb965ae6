// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPluginLoader>
#include <QTimer>

#include <deque>
#include <functional>

#include "app/calendar_dialog.h"
#include "app/main_window.h"
#include "app/name_chooser.h"
#include "calendar/sexagenary.h"
#include "controls/click_sound.h"
#include "controls/report_viewer.h"
#include "core/clock.h"
#include "core/errors.h"
#include "core/paths.h"

#if defined(__SANITIZE_ADDRESS__)
// Sanitizer builds: the Chromium inside QtWebEngine (not built with the
// sanitizer) frees some of its objects through a base class with a sized
// delete, which the address sanitizer reports as a new/delete type mismatch
// whenever a page is destroyed. That one check is off for the programs that
// start the windows; every other check stays on.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0"; }
#endif

namespace tessaly {

void PrepareApplication() {
  // The web engine reports its graphics set-up on every start; keep it quiet
  // unless asked for (QT_LOGGING_RULES still wins).
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  TForm1::PrefetchArtwork();
}

namespace {

QtMessageHandler next_handler = nullptr;

// Passes on every message but two warnings of the web engine that the viewer
// brings about on purpose: that it is loaded from a module (after the
// application object, so that it costs nothing before the first paint), and
// that it has no OpenGL (it draws its pages in software).
void LeaveOutWebEngineSetUpWarnings(QtMsgType type, const QMessageLogContext& context,
                                    const QString& message) {
  if (type == QtWarningMsg &&
      (message.startsWith(QLatin1String("Qt WebEngine seems to be initialized from a plugin.")) ||
       message.startsWith(QLatin1String("No suitable graphics backend found")))) {
    return;
  }
  next_handler(type, context, message);
}

// Runs the tasks one after another, each in an event-loop turn of its own, so
// that the windows answer in between.
void OneAtATime(QObject* context, std::deque<std::function<void()>> tasks) {
  if (tasks.empty()) return;
  QTimer::singleShot(0, context, [context, tasks = std::move(tasks)]() mutable {
    const std::function<void()> task = std::move(tasks.front());
    tasks.pop_front();
    task();
    OneAtATime(context, std::move(tasks));
  });
}

}  // namespace

QString ViewerModulePath() { return ModuleDir() + QStringLiteral("/viewer.so"); }

ViewerMaker ViewerFromModule(const QString& path) {
  return [path]() -> std::unique_ptr<ReportViewer> {
    const QString file = QDir::toNativeSeparators(path);
    const QString reinstall = QStringLiteral("无法显示算命结果，请重新安装本软件。");
    if (!QFileInfo(path).isFile()) {
      throw Error(QStringLiteral("找不到结果查阅窗口的模块文件“%1”，").arg(file) + reinstall);
    }
    static const bool filtering = [] {
      next_handler = qInstallMessageHandler(LeaveOutWebEngineSetUpWarnings);
      return true;
    }();
    (void)filtering;
    // The module stays loaded until the program ends.
    QPluginLoader loader(path);
    QObject* instance = loader.instance();
    if (instance == nullptr) {
      throw Error(QStringLiteral("无法加载结果查阅窗口的模块文件“%1”（%2），")
                      .arg(file, loader.errorString()) +
                  reinstall);
    }
    auto* factory = qobject_cast<ReportViewerFactory*>(instance);
    if (factory == nullptr) {
      throw Error(QStringLiteral("文件“%1”不是本软件的结果查阅窗口模块，").arg(file) + reinstall);
    }
    return factory->CreateViewer();
  };
}

ReportViewer* Windows::Viewer() {
  if (viewer == nullptr && viewer_error.isEmpty() && make_viewer) {
    try {
      viewer = make_viewer();
      viewer->SetNameChooserHandler([this] {
        NameChooser* chooser = Chooser();
        chooser->show();
        chooser->raise();
        chooser->activateWindow();
      });
    } catch (const Error& e) {
      viewer_error = e.message();
    }
  }
  if (viewer == nullptr) throw Error(viewer_error);
  return viewer.get();
}

NameChooser* Windows::Chooser() {
  if (chooser == nullptr) {
    // It reads the main window's surname and store, and runs the main
    // window's report for a chosen name.
    TForm1* main_window = form1.get();
    NameChooser::Hooks hooks;
    hooks.surname = [main_window] {
      const auto [surname, kind] = main_window->Surname();
      return NameChooser::Surname{surname, kind};
    };
    hooks.load_tables = [main_window] {
      main_window->OpenStore();
      return NameTables::Load(main_window->Store());
    };
    hooks.report = [main_window](const QString& name, SurnameKind kind) {
      main_window->ReportFor(name, kind);
    };
    chooser = std::make_unique<NameChooser>(std::move(hooks));
  }
  return chooser.get();
}

Windows::~Windows() {
  // The chooser, the viewer and the calendar dialog refer to the main window;
  // they go first.
  chooser.reset();
  viewer.reset();
  form3.reset();
  form1.reset();
}

TForm3* Windows::CalendarDialog() {
  if (form3 == nullptr) {
    TForm1* main_window = form1.get();
    const auto write_birthday = [main_window](const QString&, QDate date) {
      main_window->SetBirthday(date);
    };
    form3 = std::make_unique<TForm3>(write_birthday);
    QObject::connect(form3.get(), &TForm3::BirthdayChosen, main_window, write_birthday);
    // The almanac's "冲属X": the animal of the main window's birthday.
    form3->SetPersonAnimalSource([main_window] {
      try {
        return CycleIndex(ZodiacYear(main_window->Birthday())) % 12;
      } catch (const Error&) {
        return -1;
      }
    });
  }
  return form3.get();
}

std::unique_ptr<Windows> CreateWindows(ViewerMaker make_viewer) {
  auto windows = std::make_unique<Windows>();
  windows->make_viewer = std::move(make_viewer);
  windows->form1 = std::make_unique<TForm1>();
  TForm1* form1 = windows->form1.get();
  Windows* w = windows.get();
  // The calendar dialog fills the birthday box with today's date when it is
  // created; the box shows that date from the first paint on, the dialog
  // itself comes after it.
  form1->SetBirthday(Clock::Today());
  form1->SetCalendarDialogSource([w] { return w->CalendarDialog(); });
  // The report goes to the viewer, which hands the main window back; the
  // viewer's 起名参考 opens the name chooser, made then.
  form1->SetViewerSource([w] { return w->Viewer(); });

  // What the first paint does not need waits until the main window is on the
  // screen, and then goes one task at a time, so that the window answers in
  // between: the main window's hidden input groups and its store (whose
  // decryption brings in OpenSSL), and the calendar dialog; the viewer
  // (loading the web engine and starting its browser cost several times what
  // everything before the first paint does); the click sound. A store that
  // will not open is reported over the window.
  QObject::connect(form1, &TForm1::FirstPaint, form1, [w] {
    std::deque<std::function<void()>> tasks;
    tasks.emplace_back([w] {
      w->form1->FormCreate();
      w->CalendarDialog();
    });
    tasks.emplace_back([w] {
      try {
        w->Viewer();
      } catch (const Error&) {
        // The report command says why.
      }
    });
    tasks.emplace_back([w] {
      if (w->viewer != nullptr) w->viewer->Prepare();
    });
    tasks.emplace_back([w] {
      PrepareClickSound();
      if (w->on_ready) w->on_ready();
    });
    OneAtATime(w->form1.get(), std::move(tasks));
  });
  QObject::connect(form1, &TForm1::Closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  form1->show();
  return windows;
}

}  // namespace tessaly
