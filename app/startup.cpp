// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTimer>
#include <QTranslator>

#include "app/calendar_dialog.h"
#include "app/main_window.h"
#include "app/name_chooser.h"
#include "controls/click_sound.h"
#include "controls/skin.h"
#include "viewer/result_viewer.h"

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
  TForm4::RegisterPageScheme();
  // The web engine reports its graphics set-up on every start; keep it quiet
  // unless asked for (QT_LOGGING_RULES still wins).
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}

Windows::~Windows() {
  // The chooser, the viewer and the calendar dialog refer to the main window;
  // they go first.
  chooser.reset();
  form4.reset();
  form3.reset();
  form1.reset();
}

std::unique_ptr<Windows> CreateWindows() {
  auto windows = std::make_unique<Windows>();
  windows->form1 = std::make_unique<TForm1>();
  // The calendar dialog, after the main window, whose birthday box it fills on
  // creation and again whenever it closes, and before the viewer.
  TForm1* main_window = windows->form1.get();
  const auto write_birthday = [main_window](const QString&, QDate date) {
    main_window->SetBirthday(date);
  };
  windows->form3 = std::make_unique<TForm3>(write_birthday);
  QObject::connect(windows->form3.get(), &TForm3::BirthdayChosen, main_window, write_birthday);
  main_window->setCalendarDialog(windows->form3.get());
  windows->form4 = std::make_unique<TForm4>();

  TForm1* form1 = windows->form1.get();
  TForm4* form4 = windows->form4.get();
  // The report goes to the viewer, which hands the main window back.
  form1->setViewer(form4);

  // The name chooser, opened from the viewer: it reads the main window's
  // surname and store, and runs the main window's report for a chosen name.
  NameChooser::Hooks hooks;
  hooks.surname = [form1] {
    const auto [surname, kind] = form1->Surname();
    return NameChooser::Surname{surname, kind};
  };
  hooks.load_tables = [form1] { return NameTables::Load(form1->Store()); };
  hooks.report = [form1](const QString& name, SurnameKind kind) {
    form1->SetName(name, kind);
    form1->suiButton1Click();
  };
  windows->chooser = std::make_unique<NameChooser>(std::move(hooks));
  NameChooser* chooser = windows->chooser.get();
  QObject::connect(form4, &TForm4::NameChooserRequested, chooser, [chooser] {
    chooser->show();
    chooser->raise();
    chooser->activateWindow();
  });
  // Creating the browser costs about as much as everything before the first
  // paint; it waits until the main window is on the screen.
  QObject::connect(form1, &TForm1::FirstPaint, form4, [form4] {
    QTimer::singleShot(0, form4, [form4] {
      form4->FinishCreation();
      PrepareClickSound();
    });
  });
  QObject::connect(form1, &TForm1::Closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  form1->show();
  return windows;
}

}  // namespace tessaly
