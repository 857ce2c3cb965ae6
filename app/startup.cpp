// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include <QApplication>
#include <QTimer>

#include <deque>
#include <functional>

#include "app/calendar_dialog.h"
#include "app/main_window.h"
#include "app/name_chooser.h"
#include "controls/click_sound.h"
#include "controls/report_viewer.h"
#include "core/clock.h"
#include "core/errors.h"
#include "core/paths.h"
#include "viewer/result_viewer.h"

namespace tessaly {

void PrepareApplication() { TForm1::PrefetchArtwork(); }

namespace {

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

ViewerMaker LinkedViewer() {
  return [] { return std::make_unique<TForm4>(); };
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
      main_window->SetName(name, kind);
      main_window->suiButton1Click();
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
  form1->setCalendarDialogSource([w] { return w->CalendarDialog(); });
  // The report goes to the viewer, which hands the main window back; the
  // viewer's 起名参考 opens the name chooser, made then.
  form1->setViewerSource([w] { return w->Viewer(); });

  // What the first paint does not need waits until the main window is on the
  // screen, and then goes one task at a time, so that the window answers in
  // between: the main window's hidden input groups and its store (whose
  // decryption brings in OpenSSL), and the calendar dialog; the viewer and
  // its font list; the click sound. A store that will not open is reported
  // over the window.
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
