// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTimer>

#include <stdlib.h>

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
#include "report/report.h"
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

namespace {

constexpr char kPageFolderPrefix[] = "pages-";
constexpr char kPageFolderLock[] = "/lock";
// A folder without its lock file is left alone this long: its copy may be
// about to take the lock.
constexpr int kUnlockedFolderGraceSeconds = 60;

// Removes the page folders whose copy of the program is no longer running.
void RemoveStalePageFolders(const QString& cache) {
  const QDir dir(cache);
  const QStringList folders =
      dir.entryList({QLatin1String(kPageFolderPrefix) + QLatin1Char('*')},
                    QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
  for (const QString& name : folders) {
    const QString folder = dir.filePath(name);
    const QString lock_path = folder + QLatin1String(kPageFolderLock);
    if (!QFileInfo::exists(lock_path) &&
        QFileInfo(folder).lastModified().secsTo(QDateTime::currentDateTime()) <
            kUnlockedFolderGraceSeconds) {
      continue;
    }
    QLockFile lock(lock_path);
    lock.setStaleLockTime(0);  // stale only when its process is gone
    if (!lock.tryLock(0)) continue;
    lock.unlock();
    QDir(folder).removeRecursively();
  }
}

}  // namespace

PageFolder::PageFolder() {
  const QString cache = CacheDir();
  RemoveStalePageFolders(cache);
  QByteArray pattern =
      QFile::encodeName(cache + QLatin1Char('/') + QLatin1String(kPageFolderPrefix)) + "XXXXXX";
  // mkdtemp makes the folder for the user alone (0700).
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw FileError(QStringLiteral("无法在缓存目录“%1”中创建页面文件夹").arg(cache));
  }
  path_ = QFile::decodeName(pattern);
  lock_ = std::make_unique<QLockFile>(path_ + QLatin1String(kPageFolderLock));
  lock_->setStaleLockTime(0);
  if (!lock_->tryLock(0)) {
    QDir(path_).removeRecursively();
    throw FileError(QStringLiteral("无法锁定页面文件夹“%1”").arg(path_));
  }
  SetPageDir(path_);
}

PageFolder::~PageFolder() {
  SetPageDir(QString());
  lock_->unlock();
  QDir(path_).removeRecursively();
}

std::unique_ptr<PageFolder> UsePrivatePageFolder() {
  try {
    return std::make_unique<PageFolder>();
  } catch (const FileError&) {
    return nullptr;
  }
}

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
  // decryption brings in OpenSSL), and the calendar dialog; the viewer and
  // its font list; the click sound. A store that will not open is reported
  // over the window.
  QObject::connect(form1, &TForm1::FirstPaint, form1, [w] {
    std::deque<std::function<void()>> tasks;
    tasks.emplace_back([w] {
      // The dialog writes today into the birthday box as it is made; the
      // inputs of the last report, which FormCreate() brings back, come after.
      w->CalendarDialog();
      w->form1->FormCreate();
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
