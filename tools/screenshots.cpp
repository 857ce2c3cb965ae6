// SPDX-License-Identifier: GPL-3.0-or-later
// clang-format off
// Takes the screenshots of docs/: the calendar dialog, two months side by side,
// without and with the solar terms; then the main window, the viewer with a
// report of all eight readings and the name chooser opened from the viewer;
// or the main window with its 档案 menu open, over a few saved profiles.
// Run it in a scratch home (it writes the report page to the cache directory)
// and preferably under a virtual X server; the calendar pictures are taken at
// twice the size:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/tessaly-screenshots docs windows
//   QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/tessaly-screenshots docs calendar
//   QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/tessaly-screenshots docs almanac
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/tessaly-screenshots docs profiles
// clang-format on

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <cstdio>

#include "app/calendar_dialog.h"
#include "app/main_window.h"
#include "app/name_chooser.h"
#include "app/startup.h"
#include "controls/lunar_month_calendar.h"
#include "controls/report_viewer.h"
#include "store/profile_store.h"

namespace {

void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// What is on the screen where the window is, or the window's own rendering
// when there is no screen to read; with `popup`, a popup of its own (a menu)
// over it, as on the screen.
QPixmap Shot(QWidget* window, QWidget* popup = nullptr) {
  QScreen* screen = window->screen();
  if (screen != nullptr && QGuiApplication::platformName() == QLatin1String("xcb")) {
    if (popup == nullptr) return screen->grabWindow(window->winId());
    const QRect r = window->frameGeometry();
    return screen->grabWindow(0, r.x(), r.y(), r.width(), r.height());
  }
  QPixmap shot = window->grab();
  if (popup != nullptr) QPainter(&shot).drawPixmap(popup->pos() - window->pos(), popup->grab());
  return shot;
}

// A few saved people and reports, so that the 档案 menu has something to
// show and the window starts with the last report's inputs.
void SeedProfiles() {
  tessaly::ProfileStore store;
  store.Open(tessaly::ProfileStore::DefaultPath());
  const auto person = [](const char* name, QDate birthday, tessaly::Sex sex) {
    tessaly::Profile p = tessaly::NewProfile();
    p.name = QString::fromUtf8(name);
    p.birthday = birthday;
    p.sex = sex;
    return p;
  };
  const tessaly::Profile li = person("李雨桐", QDate(2004, 3, 21), tessaly::Sex::Female);
  store.Save(li);
  store.Save(person("王建国", QDate(1968, 10, 1), tessaly::Sex::Male));
  tessaly::Profile sima = person("司马相如", QDate(1990, 7, 15), tessaly::Sex::Male);
  sima.surname_kind = tessaly::SurnameKind::Compound;
  store.Save(sima);
  store.AddHistory(sima);
  store.AddHistory(li);
}

// Shows `month` (its first day's month and year) in the calendar dialog, with
// or without the solar terms, and clicks `day` as the user would.
QPixmap CalendarShot(tessaly::TForm3* dialog, QDate day, bool solar_terms) {
  auto* calendar = dialog->findChild<tessaly::TLdKalendar*>(QStringLiteral("LdKalendar1"));
  // Month first: the shown day (today's) exists in every month of 28 days.
  dialog->findChild<QComboBox*>(QStringLiteral("FlatComboBox2"))
      ->setEditText(QString::number(day.month()));
  dialog->findChild<QComboBox*>(QStringLiteral("FlatComboBox1"))
      ->setEditText(QString::number(day.year()));
  dialog->findChild<QCheckBox*>(QStringLiteral("suiCheckBox1"))->setChecked(solar_terms);
  const QRect cell = calendar->Layout().CellRect(tessaly::KalendarCellOf(day));
  const QPointF at(cell.center().x(), cell.top() + 3);
  const QPointF global = calendar->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, {});
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, {}, {});
  QApplication::sendEvent(calendar, &press);
  QApplication::sendEvent(calendar, &release);
  // The mouse leaves, so the day is not drawn bold.
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(calendar, &leave);
  Wait(300);
  return Shot(dialog);
}

// Two pictures side by side on white, pixel for pixel, 16 pixels of the
// screen apart.
QImage SideBySide(const QPixmap& left, const QPixmap& right) {
  QImage a = left.toImage();
  QImage b = right.toImage();
  const int gap = qRound(16 * a.devicePixelRatio());
  a.setDevicePixelRatio(1);
  b.setDevicePixelRatio(1);
  QImage both(a.width() + gap + b.width(), qMax(a.height(), b.height()), QImage::Format_RGB32);
  both.fill(Qt::white);
  QPainter painter(&both);
  painter.drawImage(0, 0, a);
  painter.drawImage(a.width() + gap, 0, b);
  return both;
}

}  // namespace

int main(int argc, char** argv) {
  tessaly::PrepareApplication();
  QApplication app(argc, argv);
  tessaly::SetUpApplication();
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
  const QString which = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
  QDir().mkpath(out);
  // The check box 显示节气 is remembered; the user's own choice stays as it is.
  QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

  // Message boxes would stop the run; answer them.
  QTimer boxes;
  QObject::connect(&boxes, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::fprintf(stderr, "message box: %s\n", qPrintable(box->text()));
      box->accept();
    }
  });
  boxes.start(50);

  if (which == QLatin1String("profiles")) SeedProfiles();
  const auto windows = tessaly::CreateWindows();
  tessaly::TForm1* form1 = windows->form1.get();
  tessaly::TForm3* form3 = windows->CalendarDialog();
  Wait(1500);

  if (which.isEmpty() || which == QLatin1String("calendar")) {
    form3->show();
    Wait(500);
    // January 2004 with 元旦 and 春节, March 2004 with the leap month 闰二.
    SideBySide(CalendarShot(form3, QDate(2004, 1, 22), false),
               CalendarShot(form3, QDate(2004, 3, 21), false))
        .save(out + QStringLiteral("/calendar-dialog.png"));
    // February 2026: 立春, 春节 and 雨水 the day after; December 1995: 冬至 on
    // the first day of the eleventh month.
    SideBySide(CalendarShot(form3, QDate(2026, 2, 4), true),
               CalendarShot(form3, QDate(1995, 12, 22), true))
        .save(out + QStringLiteral("/calendar-solar-terms.png"));
    form3->hide();
    if (!which.isEmpty()) {
      std::printf("screenshots written to %s\n", qPrintable(out));
      return 0;
    }
  }

  if (which.isEmpty() || which == QLatin1String("almanac")) {
    // 显示黄历 for 2024-09-18, a day that clashes with 兔, for a person born in 1987.
    const QDate birthday = form1->Birthday().date;
    form1->SetBirthday(QDate(1987, 6, 1));
    form3->findChild<QCheckBox*>(QStringLiteral("suiCheckBox2"))->setChecked(true);
    form3->show();
    Wait(500);
    CalendarShot(form3, QDate(2024, 9, 18), true)
        .save(out + QStringLiteral("/calendar-almanac.png"));
    form3->findChild<QCheckBox*>(QStringLiteral("suiCheckBox2"))->setChecked(false);
    form3->hide();
    form1->SetBirthday(birthday);
    if (!which.isEmpty()) {
      std::printf("screenshots written to %s\n", qPrintable(out));
      return 0;
    }
  }

  if (which == QLatin1String("profiles")) {
    // The menu as the button opens it, an entry under the mouse.
    auto* button = form1->findChild<QPushButton*>(QStringLiteral("ProfileButton"));
    QMenu* menu = button->menu();
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
    Wait(300);
    for (QAction* action : menu->actions()) {
      if (action->text() == QStringLiteral("李雨桐 2004-03-21")) menu->setActiveAction(action);
    }
    Wait(300);
    Shot(form1, menu).save(out + QStringLiteral("/main-window-profiles.png"));
    menu->close();
    std::printf("screenshots written to %s\n", qPrintable(out));
    return 0;
  }

  Shot(form1).save(out + QStringLiteral("/main-window.png"));

  // The four pillars' group alone: a time beside the birth hour and a place.
  form1->findChild<QCheckBox*>(QStringLiteral("suiCheckBox8"))->setChecked(true);
  form1->findChild<QLineEdit*>(QStringLiteral("FlatEdit4"))->setText(QStringLiteral("23:30"));
  form1->findChild<QComboBox*>(QStringLiteral("FlatComboBox7"))
      ->setCurrentText(QStringLiteral("成都"));
  Wait(300);
  Shot(form1).save(out + QStringLiteral("/main-window-bazi.png"));

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
  Wait(500);
  Shot(viewer).save(out + QStringLiteral("/viewer.png"));

  // The name chooser: typed candidates for 张, best first, and the generate
  // form set for names ending in the generation character 嘉.
  viewer->findChild<QPushButton*>(QStringLiteral("FlatButton6"))->click();
  tessaly::NameChooser* chooser = windows->Chooser();
  chooser->findChild<QLineEdit*>(QStringLiteral("SurnameEdit"))->setText(QStringLiteral("张"));
  chooser->findChild<QComboBox*>(QStringLiteral("SurnameKindBox"))->setCurrentIndex(0);
  chooser->findChild<QPlainTextEdit*>(QStringLiteral("CandidatesEdit"))
      ->setPlainText(QStringLiteral("小明\n子涵\n雨桐\n思远\n嘉怡\n浩然\n欣妍\n一诺\n宇轩\n"
                                    "梓萱\n俊熙\n诗涵\n明哲\n晨曦\n安琪\n文博\n若溪\n"));
  chooser->findChild<QLineEdit*>(QStringLiteral("GenerationEdit"))->setText(QStringLiteral("嘉"));
  chooser->findChild<QComboBox*>(QStringLiteral("PositionBox"))->setCurrentIndex(1);
  chooser->findChild<QComboBox*>(QStringLiteral("MinRatingBox"))
      ->setCurrentText(QStringLiteral("吉"));
  chooser->ScoreClick();
  chooser->findChild<QTableView*>(QStringLiteral("NameTable"))
      ->sortByColumn(tessaly::NameListModel::kScore, Qt::DescendingOrder);
  Wait(800);
  Shot(chooser).save(out + QStringLiteral("/name-chooser.png"));
  std::printf("screenshots written to %s\n", qPrintable(out));
  return 0;
}
