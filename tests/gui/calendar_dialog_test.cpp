// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar dialog and its month calendar, driven as the user would: the
// navigation buttons with their day clamps and range edges, the year and month
// boxes (Enter in them included), clicks on days and on blank cells, the
// dialog's own title bar, the write-back on closing, and the solar terms with
// their remembered check box.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "app/calendar_dialog.h"
#include "controls/lunar_month_calendar.h"
#include "controls/skin.h"
#include "core/clock.h"
#include "core/dates.h"
#include "gui_support.h"

namespace tessaly {

// Today, for every test of this program.
const QDate kToday(2009, 11, 27);

class CalendarDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void CreationWritesToday();
  void Layout();
  void Buttons_data();
  void Buttons();
  void Navigation_data();
  void Navigation();
  void RangeEdgesReplaceAClickedDay();
  void YearBox();
  void MonthBox();
  void TypedNonNumber();
  void TypedYearOutOfRange_data();
  void TypedYearOutOfRange();
  void EnterInABoxPressesNoButton_data();
  void EnterInABoxPressesNoButton();
  void ClickDayThenBlankCell();
  void CloseWithoutClick();
  void StateSurvivesReopening();
  void OwnTitleBar();
  void Keys_data();
  void Keys();
  void EnterConfirms();
  void SettingNotWrittenThroughALink();
  void DateSetterRange();
  void HotCellFollowsTheMouse();
  void ClickDateHandlerCanStopTheClick();
  void SolarTermDrawnWhenShown();
  void SolarTermsCheckBoxRemembered();

 private:
  TLdKalendar* Calendar() const { return form_->findChild<TLdKalendar*>("LdKalendar1"); }
  QComboBox* Box(const char* name) const { return form_->findChild<QComboBox*>(name); }
  void Press(const char* button) const;
  // A point in the sensitive band of a grid position.
  QPoint CellPoint(KalendarCell cell) const;
  void ClickAt(QPoint point) const;
  QString Title(const QString& chosen) const { return QStringLiteral("你选择的日期是：") + chosen; }

  const FixedClock clock_{kToday};
  QTemporaryDir settings_dir_;  // the settings of this program's runs
  std::unique_ptr<TForm3> form_;
  QStringList created_;  // what creation wrote to the birthday box
  QStringList errors_;   // messages of the error box
};

void CalendarDialogTest::initTestCase() {
  QVERIFY(settings_dir_.isValid());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_dir_.path());
  TForm3::ShowError = [this](QWidget*, const QString& message) { errors_ << message; };
}

void CalendarDialogTest::init() {
  created_.clear();
  errors_.clear();
  form_ = std::make_unique<TForm3>([this](const QString& text, QDate date) {
    QCOMPARE(StrToDate(text), date);
    created_ << text;
  });
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void CalendarDialogTest::cleanup() {
  form_.reset();
  QSettings().clear();
}

void CalendarDialogTest::Press(const char* button) const {
  auto* b = form_->findChild<QPushButton*>(button);
  QVERIFY(b != nullptr);
  QTest::mouseClick(b, Qt::LeftButton);
}

QPoint CalendarDialogTest::CellPoint(KalendarCell cell) const {
  const QRect r = Calendar()->Layout().CellRect(cell);
  return QPoint(r.center().x(), r.top() + 3);
}

void CalendarDialogTest::ClickAt(QPoint point) const {
  QTest::mouseMove(Calendar(), point);
  QTest::mouseClick(Calendar(), Qt::LeftButton, {}, point);
}

// ---- Creation and layout --------------------------------------------------------

void CalendarDialogTest::CreationWritesToday() {
  const QString today = DateToStr(kToday);
  QCOMPARE(created_, QStringList{today});
  QCOMPARE(form_->ChosenDate(), today);
  QCOMPARE(form_->TitleText(), Title(today));
  QCOMPARE(Calendar()->Date(), kToday);
  QCOMPARE(Box("FlatComboBox1")->currentText(), QString::number(kToday.year()));
  QCOMPARE(Box("FlatComboBox2")->currentText(), QString::number(kToday.month()));
  QVERIFY(errors_.isEmpty());
}

void CalendarDialogTest::Layout() {
  QCOMPARE(form_->windowTitle(), QStringLiteral("查看万年历"));
  QCOMPARE(form_->size(), QSize(349, 340));
  QCOMPARE(Calendar()->AutoSize(), false);
  // Nothing overlaps or leaves its place: the dialog's parts, the title bar's
  // controls, the boxes in the calendar's corner.
  const auto none = [](const QWidget*) { return false; };
  QCOMPARE(test::Misplaced(form_->findChild<QWidget*>("suiForm1"), none), QStringList());
  QCOMPARE(test::Misplaced(form_->findChild<QWidget*>("WindowButtons"), none), QStringList());
  QCOMPARE(test::Misplaced(Calendar(), none), QStringList());

  QComboBox* years = Box("FlatComboBox1");
  QComboBox* months = Box("FlatComboBox2");
  QCOMPARE(years->parentWidget(), Calendar());
  QCOMPARE(years->count(), 150);
  QCOMPARE(years->itemText(0), QStringLiteral("1901"));
  QCOMPARE(years->itemText(149), QStringLiteral("2050"));
  QCOMPARE(months->count(), 12);
  QCOMPARE(months->itemText(11), QStringLiteral("12"));
  // The list drops down in the box's own font, not the program's.
  years->showPopup();
  QCOMPARE(years->view()->font().pixelSize(), 12);
  QCOMPARE(years->view()->font(), years->font());
  years->hidePopup();
  QCOMPARE(form_->findChild<QLabel*>("Label1")->text(), QStringLiteral("年"));
  QCOMPARE(form_->findChild<QLabel*>("Label2")->text(), QStringLiteral("月"));

  // The boxes sit where no month has a day: the sixth week's columns 4 to 7.
  const KalendarLayout& layout = Calendar()->Layout();
  const QRect corner =
      years->geometry().united(form_->findChild<QPushButton*>("FlatButton1")->geometry());
  QVERIFY(corner.right() < Calendar()->width());
  QVERIFY(corner.bottom() < Calendar()->height());
  QVERIFY(corner.left() > layout.CellRect(KalendarCell{3, 6}).right());
  QVERIFY(corner.top() >= layout.RowTop(6));

  // 显示节气 below the calendar, in line with the buttons above it.
  auto* terms = form_->findChild<QCheckBox*>("suiCheckBox1");
  QCOMPARE(terms->text(), QStringLiteral("显示节气"));
  QCOMPARE(terms->x(), 20);
  QVERIFY(terms->y() > Calendar()->geometry().bottom());
  QVERIFY(terms->geometry().bottom() < form_->height());
  QVERIFY(terms->width() >= terms->sizeHint().width());
}

void CalendarDialogTest::Buttons_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("text");
  QTest::newRow("上年") << "PDJButton1"
                        << "上年";
  QTest::newRow("上月") << "PDJButton3"
                        << "上月";
  QTest::newRow("今天") << "PDJButton5"
                        << "今天";
  QTest::newRow("下月") << "PDJButton4"
                        << "下月";
  QTest::newRow("下年") << "PDJButton2"
                        << "下年";
  QTest::newRow("确认") << "FlatButton1"
                        << "确认";
}

void CalendarDialogTest::Buttons() {
  QFETCH(QString, name);
  QFETCH(QString, text);
  auto* button = form_->findChild<QPushButton*>(name);
  QVERIFY2(button != nullptr, qPrintable(name));
  QCOMPARE(button->text(), text);
  // The navigation row reads from left to right: 上年 上月 今天 下月 下年.
  static const QStringList row = {"PDJButton1", "PDJButton3", "PDJButton5", "PDJButton4",
                                  "PDJButton2"};
  if (const qsizetype i = row.indexOf(name); i > 0) {
    auto* before = form_->findChild<QPushButton*>(row[i - 1]);
    QVERIFY(before->geometry().right() < button->geometry().left());
    QCOMPARE(before->y(), button->y());
  }
}

// ---- Navigation buttons ---------------------------------------------------------

void CalendarDialogTest::Navigation_data() {
  QTest::addColumn<QDate>("start");
  QTest::addColumn<QString>("button");
  QTest::addColumn<QDate>("expected");
  QTest::addColumn<QString>("error");

  const QString none;
  QTest::newRow("上月 from 31 March: 28 February, not 29")
      << QDate(2004, 3, 31) << "PDJButton3" << QDate(2004, 2, 28) << none;
  QTest::newRow("下月 from 31 January: 28 February")
      << QDate(2004, 1, 31) << "PDJButton4" << QDate(2004, 2, 28) << none;
  QTest::newRow("下月 from 31 March: 30 April")
      << QDate(2004, 3, 31) << "PDJButton4" << QDate(2004, 4, 30) << none;
  QTest::newRow("上月 from 31 May: 30 April")
      << QDate(2004, 5, 31) << "PDJButton3" << QDate(2004, 4, 30) << none;
  QTest::newRow("下月 from 30 January: 28 February")
      << QDate(2004, 1, 30) << "PDJButton4" << QDate(2004, 2, 28) << none;
  QTest::newRow("下月 from 31 July: 31 August")
      << QDate(2004, 7, 31) << "PDJButton4" << QDate(2004, 8, 31) << none;
  QTest::newRow("上月 from January: December of the year before")
      << QDate(2004, 1, 15) << "PDJButton3" << QDate(2003, 12, 15) << none;
  QTest::newRow("下月 from December: January of the next year")
      << QDate(2004, 12, 31) << "PDJButton4" << QDate(2005, 1, 31) << none;
  QTest::newRow("上年") << QDate(2004, 6, 8) << "PDJButton1" << QDate(2003, 6, 8) << none;
  QTest::newRow("下年") << QDate(2004, 6, 8) << "PDJButton2" << QDate(2005, 6, 8) << none;
  QTest::newRow("下年 from 29 February: no such date")
      << QDate(2004, 2, 29) << "PDJButton2" << QDate(2004, 2, 29)
      << "'2005-2-29' 不是一个有效的日期";
  QTest::newRow("上年 from 29 February: no such date")
      << QDate(2004, 2, 29) << "PDJButton1" << QDate(2004, 2, 29)
      << "'2003-2-29' 不是一个有效的日期";
  QTest::newRow("上年 from 29 February 2000: no such date in 1999")
      << QDate(2000, 2, 29) << "PDJButton1" << QDate(2000, 2, 29)
      << "'1999-2-29' 不是一个有效的日期";
  QTest::newRow("上年 in 1901 stays")
      << QDate(1901, 5, 10) << "PDJButton1" << QDate(1901, 5, 10) << none;
  QTest::newRow("下年 in 2050 stays")
      << QDate(2050, 5, 10) << "PDJButton2" << QDate(2050, 5, 10) << none;
  QTest::newRow("上月 in January 1901 stays")
      << QDate(1901, 1, 20) << "PDJButton3" << QDate(1901, 1, 20) << none;
  QTest::newRow("下月 in December 2050 stays")
      << QDate(2050, 12, 20) << "PDJButton4" << QDate(2050, 12, 20) << none;
  QTest::newRow("上月 from February 1901")
      << QDate(1901, 2, 28) << "PDJButton3" << QDate(1901, 1, 28) << none;
  QTest::newRow("今天") << QDate(2004, 6, 8) << "PDJButton5" << kToday << none;
}

void CalendarDialogTest::Navigation() {
  QFETCH(QDate, start);
  QFETCH(QString, button);
  QFETCH(QDate, expected);
  QFETCH(QString, error);

  Calendar()->SetDate(start);
  const QString chosen_before = form_->ChosenDate();
  const QString year_before = Box("FlatComboBox1")->currentText();
  const QString month_before = Box("FlatComboBox2")->currentText();

  Press(button.toLatin1().constData());

  QCOMPARE(Calendar()->Date(), expected);
  if (error.isEmpty()) {
    QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join('\n')));
    QCOMPARE(form_->ChosenDate(), DateToStr(expected));
    QCOMPARE(form_->TitleText(), Title(DateToStr(expected)));
    QCOMPARE(Box("FlatComboBox1")->currentText(), QString::number(expected.year()));
    QCOMPARE(Box("FlatComboBox2")->currentText(), QString::number(expected.month()));
  } else {
    QCOMPARE(errors_, QStringList{error});
    QCOMPARE(form_->ChosenDate(), chosen_before);
    QCOMPARE(form_->TitleText(), Title(chosen_before));
    QCOMPARE(Box("FlatComboBox1")->currentText(), year_before);
    QCOMPARE(Box("FlatComboBox2")->currentText(), month_before);
  }
}

void CalendarDialogTest::RangeEdgesReplaceAClickedDay() {
  Calendar()->SetDate(QDate(1901, 5, 10));
  ClickAt(CellPoint(KalendarCellOf(QDate(1901, 5, 20))));
  QCOMPARE(form_->ChosenDate(), QStringLiteral("1901-05-20"));
  Press("PDJButton1");
  QCOMPARE(Calendar()->Date(), QDate(1901, 5, 10));
  QCOMPARE(form_->ChosenDate(), QStringLiteral("1901-05-10"));
  QCOMPARE(form_->TitleText(), Title(QStringLiteral("1901-05-10")));
  QCOMPARE(Box("FlatComboBox1")->currentText(), QStringLiteral("1901"));
}

// ---- Year and month boxes --------------------------------------------------------

void CalendarDialogTest::YearBox() {
  Calendar()->SetDate(QDate(2004, 2, 29));
  const QString chosen = form_->ChosenDate();
  QComboBox* years = Box("FlatComboBox1");

  years->setCurrentIndex(years->findText("2008"));
  QCOMPARE(Calendar()->Date(), QDate(2008, 2, 29));
  // The boxes move the calendar only: the chosen date and the title stay.
  QCOMPARE(form_->ChosenDate(), chosen);
  QCOMPARE(form_->TitleText(), Title(chosen));
  QVERIFY(errors_.isEmpty());

  years->setCurrentIndex(years->findText("2005"));
  QCOMPARE(errors_, QStringList{"'2005-2-29' 不是一个有效的日期"});
  QCOMPARE(Calendar()->Date(), QDate(2008, 2, 29));
  QCOMPARE(form_->ChosenDate(), chosen);
}

void CalendarDialogTest::MonthBox() {
  Calendar()->SetDate(QDate(2004, 1, 31));
  QComboBox* months = Box("FlatComboBox2");
  months->setCurrentIndex(months->findText("2"));
  QCOMPARE(errors_, QStringList{"'2004-2-31' 不是一个有效的日期"});
  QCOMPARE(Calendar()->Date(), QDate(2004, 1, 31));

  errors_.clear();
  months->setCurrentIndex(months->findText("7"));
  QVERIFY(errors_.isEmpty());
  QCOMPARE(Calendar()->Date(), QDate(2004, 7, 31));
  QCOMPARE(Box("FlatComboBox1")->currentText(), QString::number(kToday.year()));
}

void CalendarDialogTest::TypedNonNumber() {
  Calendar()->SetDate(QDate(2004, 6, 8));
  QLineEdit* edit = Box("FlatComboBox1")->lineEdit();
  edit->selectAll();
  QTest::keyClicks(edit, "ab");
  // Each keystroke is a change; the last one names the whole text.
  QCOMPARE(errors_.size(), 2);
  QCOMPARE(errors_.last(), QStringLiteral("'ab-6-8' 不是一个有效的日期"));
  QCOMPARE(Calendar()->Date(), QDate(2004, 6, 8));
  QCOMPARE(Box("FlatComboBox1")->currentText(), QStringLiteral("ab"));
}

void CalendarDialogTest::TypedYearOutOfRange_data() {
  QTest::addColumn<QString>("typed");
  QTest::newRow("before 1901") << "1850";
  QTest::newRow("after 2050") << "2051";
}

void CalendarDialogTest::TypedYearOutOfRange() {
  QFETCH(QString, typed);
  Calendar()->SetDate(QDate(2004, 6, 8));
  QComboBox* years = Box("FlatComboBox1");
  years->setEditText(typed);
  QVERIFY(errors_.isEmpty());
  QCOMPARE(Calendar()->Date(), QDate(2004, 6, 8));
  QCOMPARE(years->currentText(), typed);
}

void CalendarDialogTest::EnterInABoxPressesNoButton_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QDate>("expected");
  QTest::newRow("year box") << "FlatComboBox1"
                            << "1990" << QDate(1990, 6, 8);
  QTest::newRow("month box") << "FlatComboBox2"
                             << "3" << QDate(2004, 3, 8);
}

void CalendarDialogTest::EnterInABoxPressesNoButton() {
  QFETCH(QString, box);
  QFETCH(QString, typed);
  QFETCH(QDate, expected);
  Calendar()->SetDate(QDate(2004, 6, 8));
  const QString chosen = form_->ChosenDate();
  QLineEdit* edit = Box(box.toLatin1().constData())->lineEdit();
  edit->setFocus(Qt::MouseFocusReason);
  edit->selectAll();
  QTest::keyClicks(edit, typed);
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClick(edit, Qt::Key_Enter);
  QCOMPARE(Calendar()->Date(), expected);
  QCOMPARE(form_->ChosenDate(), chosen);
  QVERIFY(form_->isVisible());
  QVERIFY(errors_.isEmpty());
}

// ---- Clicks on the calendar ------------------------------------------------------

void CalendarDialogTest::ClickDayThenBlankCell() {
  Calendar()->SetDate(QDate(2004, 8, 1));
  ClickAt(CellPoint(KalendarCellOf(QDate(2004, 8, 15))));
  QCOMPARE(form_->ChosenDate(), QStringLiteral("2004-08-15"));
  QCOMPARE(form_->TitleText(), Title(QStringLiteral("2004-08-15")));
  // The shown month and the marked day stay.
  QCOMPARE(Calendar()->Date(), QDate(2004, 8, 1));

  // 31 August is a Tuesday: the rest of the fifth week is blank.
  ClickAt(CellPoint(KalendarCell{7, 5}));
  ClickAt(CellPoint(KalendarCell{1, 6}));
  // The title band, the weekday row and the gap between two cells' bands.
  ClickAt(QPoint(40, 15));
  ClickAt(QPoint(40, Calendar()->Layout().HeaderY() + 3));
  const QRect cell = Calendar()->Layout().CellRect(KalendarCellOf(QDate(2004, 8, 16)));
  ClickAt(QPoint(cell.left() + 2, cell.top() + 3));
  QCOMPARE(form_->ChosenDate(), QStringLiteral("2004-08-15"));
  QCOMPARE(form_->TitleText(), Title(QStringLiteral("2004-08-15")));

  QSignalSpy chosen(form_.get(), &TForm3::BirthdayChosen);
  Press("FlatButton1");
  QVERIFY(!form_->isVisible());
  QCOMPARE(chosen.size(), 1);
  QCOMPARE(chosen[0][0].toString(), QStringLiteral("2004-08-15"));
  QCOMPARE(chosen[0][1].toDate(), QDate(2004, 8, 15));
}

void CalendarDialogTest::CloseWithoutClick() {
  QSignalSpy chosen(form_.get(), &TForm3::BirthdayChosen);
  form_->close();  // the title bar's close button
  QCOMPARE(chosen.size(), 1);
  QCOMPARE(chosen[0][0].toString(), DateToStr(kToday));
  QCOMPARE(chosen[0][1].toDate(), kToday);

  // The last navigation's choice, after a click that the navigation replaced.
  form_->show();
  Calendar()->SetDate(QDate(2004, 8, 1));
  ClickAt(CellPoint(KalendarCellOf(QDate(2004, 8, 15))));
  Press("PDJButton4");
  QCOMPARE(form_->ChosenDate(), QStringLiteral("2004-09-01"));
  Press("FlatButton1");
  QCOMPARE(chosen.size(), 2);
  QCOMPARE(chosen[1][0].toString(), QStringLiteral("2004-09-01"));
  QCOMPARE(chosen[1][1].toDate(), QDate(2004, 9, 1));
}

void CalendarDialogTest::StateSurvivesReopening() {
  Calendar()->SetDate(QDate(2004, 3, 10));
  Press("PDJButton4");
  form_->close();
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  QCOMPARE(Calendar()->Date(), QDate(2004, 4, 10));
  QCOMPARE(Box("FlatComboBox1")->currentText(), QStringLiteral("2004"));
  QCOMPARE(Box("FlatComboBox2")->currentText(), QStringLiteral("4"));
  QCOMPARE(form_->TitleText(), Title(QStringLiteral("2004-04-10")));
  QCOMPARE(created_.size(), 1);  // creation wrote once, showing writes nothing
}

void CalendarDialogTest::OwnTitleBar() {
  QVERIFY(form_->windowFlags() & Qt::FramelessWindowHint);
  // Dragging the title bar moves the dialog (by hand: offscreen there is no
  // system move).
  auto* title_bar = form_->findChild<QLabel*>("TitleBar");
  const QPoint start = form_->pos();
  QTest::mousePress(title_bar, Qt::LeftButton, {}, QPoint(60, 14));
  QTest::mouseMove(title_bar, QPoint(90, 34));
  QTest::mouseRelease(title_bar, Qt::LeftButton, {}, QPoint(90, 34));
  QTRY_COMPARE(form_->pos(), start + QPoint(30, 20));
  QTest::mouseClick(title_bar->findChild<QAbstractButton*>("MinimiseButton"), Qt::LeftButton);
  QVERIFY(form_->isMinimized());
  form_->showNormal();
  // Its close button writes the date back.
  QSignalSpy chosen(form_.get(), &TForm3::BirthdayChosen);
  QTest::mouseClick(title_bar->findChild<QAbstractButton*>("CloseButton"), Qt::LeftButton);
  QVERIFY(!form_->isVisible());
  QCOMPARE(chosen.size(), 1);
  QCOMPARE(chosen[0][1].toDate(), kToday);
}

// ---- Keys -------------------------------------------------------------------------

void CalendarDialogTest::Keys_data() {
  QTest::addColumn<QDate>("clicked");  // the chosen day the key starts from
  QTest::addColumn<int>("key");
  QTest::addColumn<bool>("ctrl");
  QTest::addColumn<QDate>("expected");
  QTest::newRow("Right: the next day")
      << QDate(2004, 6, 8) << int(Qt::Key_Right) << false << QDate(2004, 6, 9);
  QTest::newRow("Left over the month's start")
      << QDate(2004, 6, 1) << int(Qt::Key_Left) << false << QDate(2004, 5, 31);
  QTest::newRow("Down: a week on")
      << QDate(2004, 6, 28) << int(Qt::Key_Down) << false << QDate(2004, 7, 5);
  QTest::newRow("Up: a week back")
      << QDate(2004, 6, 8) << int(Qt::Key_Up) << false << QDate(2004, 6, 1);
  QTest::newRow("PageDown: a month on, clamped")
      << QDate(2004, 1, 31) << int(Qt::Key_PageDown) << false << QDate(2004, 2, 28);
  QTest::newRow("PageUp: a month back")
      << QDate(2004, 1, 15) << int(Qt::Key_PageUp) << false << QDate(2003, 12, 15);
  QTest::newRow("Ctrl+PageDown: a year on")
      << QDate(2004, 6, 8) << int(Qt::Key_PageDown) << true << QDate(2005, 6, 8);
  QTest::newRow("Ctrl+PageUp: a year back")
      << QDate(2004, 6, 8) << int(Qt::Key_PageUp) << true << QDate(2003, 6, 8);
  QTest::newRow("Home: today") << QDate(2004, 6, 8) << int(Qt::Key_Home) << false << kToday;
  QTest::newRow("Right at the range's end stays")
      << QDate(2050, 12, 31) << int(Qt::Key_Right) << false << QDate(2050, 12, 31);
}

void CalendarDialogTest::Keys() {
  QFETCH(QDate, clicked);
  QFETCH(int, key);
  QFETCH(bool, ctrl);
  QFETCH(QDate, expected);
  // The focus starts on the calendar.
  QCOMPARE(QApplication::focusWidget(), Calendar());
  // The calendar shows the first of the month; the day is clicked.
  Calendar()->SetDate(QDate(clicked.year(), clicked.month(), 1));
  ClickAt(CellPoint(KalendarCellOf(clicked)));
  QCOMPARE(form_->ChosenDate(), DateToStr(clicked));
  QTest::keyClick(Calendar(), Qt::Key(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);
  QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join('\n')));
  QCOMPARE(form_->ChosenDate(), DateToStr(expected));
  QCOMPARE(form_->TitleText(), Title(DateToStr(expected)));
  if (expected != clicked) {  // else the key did nothing
    QCOMPARE(Calendar()->Date(), expected);
    QCOMPARE(Box("FlatComboBox2")->currentText(), QString::number(expected.month()));
  }
  // The chosen day is framed in seal red.
  const QImage shot = Calendar()->grab().toImage();
  const QRect cell = Calendar()->Layout().CellRect(KalendarCellOf(expected)).adjusted(-3, -2, 3, 1);
  QCOMPARE(shot.pixelColor(cell.center().x(), cell.top()), skin::kSealRed);
}

void CalendarDialogTest::EnterConfirms() {
  QSignalSpy chosen(form_.get(), &TForm3::BirthdayChosen);
  QTest::keyClick(Calendar(), Qt::Key_Right);
  QTest::keyClick(Calendar(), Qt::Key_Return);
  QVERIFY(!form_->isVisible());
  QCOMPARE(chosen.size(), 1);
  QCOMPARE(chosen[0][1].toDate(), kToday.addDays(1));
}

void CalendarDialogTest::SettingNotWrittenThroughALink() {
  test::DialogWatcher watcher;
  const QString path = QSettings().fileName();
  QTemporaryDir elsewhere;
  const QString target = elsewhere.filePath(QStringLiteral("precious.txt"));
  QFile file(target);
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write("keep me\n") == 8);
  file.close();
  QVERIFY(QDir().mkpath(QFileInfo(path).path()));
  QFile::remove(path);
  QVERIFY(QFile::link(target, path));
  auto* terms = form_->findChild<QCheckBox*>("suiCheckBox1");
  terms->setChecked(!terms->isChecked());
  terms->setChecked(!terms->isChecked());
  QTRY_COMPARE(watcher.boxes.size(), 1);  // said once
  QVERIFY(watcher.boxes[0].text.startsWith(QStringLiteral("未能保存设置：")));
  QCOMPARE(test::ReadBytes(target), QByteArray("keep me\n"));
  QVERIFY(QFileInfo(path).isSymLink());
  QFile::remove(path);
}

// ---- The calendar control ----------------------------------------------------------

void CalendarDialogTest::DateSetterRange() {
  TLdKalendar calendar;
  calendar.SetDate(QDate(2004, 6, 8));
  calendar.SetDate(QDate(1900, 12, 31));
  QCOMPARE(calendar.Date(), QDate(2004, 6, 8));
  calendar.SetDate(QDate(2051, 1, 1));
  QCOMPARE(calendar.Date(), QDate(2004, 6, 8));
  calendar.SetDate(QDate());
  QCOMPARE(calendar.Date(), QDate(2004, 6, 8));
  calendar.SetDate(QDate(1901, 1, 1));
  QCOMPARE(calendar.Date(), QDate(1901, 1, 1));
  calendar.SetDate(QDate(2050, 12, 31));
  QCOMPARE(calendar.Date(), QDate(2050, 12, 31));

  // Defaults.
  TLdKalendar fresh;
  QCOMPARE(fresh.Date(), kToday);
  QVERIFY(fresh.AutoSize());
  QCOMPARE(fresh.HSpace(), 16);
  QCOMPARE(fresh.VSpace(), 4);
  QCOMPARE(fresh.Border(), 10);
  QCOMPARE(fresh.Space(), 1);
  QCOMPARE(fresh.SundayColor(), QColor(255, 0, 0));
  QCOMPARE(fresh.SaturdayColor(), QColor(0, 128, 0));
  QCOMPARE(fresh.TodayColor(), QColor(0, 0, 255));
  QCOMPARE(fresh.HolidayColor(), QColor(255, 0, 0));
  QCOMPARE(fresh.WeekString(), QStringLiteral("星期"));
  QCOMPARE(fresh.CursorDate(), KalendarNoDate());
  // AutoSize fits the grid: seven columns and the border on both sides.
  QCOMPARE(fresh.width(), fresh.Layout().FitWidth());
  QCOMPARE(fresh.height(), fresh.Layout().NeededHeight(fresh.Date()));
}

void CalendarDialogTest::HotCellFollowsTheMouse() {
  TLdKalendar* calendar = Calendar();
  calendar->SetDate(QDate(2004, 2, 10));
  const KalendarCell first = KalendarCellOf(QDate(2004, 2, 1));
  QTest::mouseMove(calendar, CellPoint(first));
  QCOMPARE(calendar->HotCell(), first);
  QCOMPARE(calendar->CursorDate(), QDate(2004, 2, 1));
  QTest::mouseMove(calendar, CellPoint(KalendarCell{3, 3}));
  QCOMPARE(calendar->CursorDate(), QDate(2004, 2, 17));
  // A blank position is hot but holds no day.
  QTest::mouseMove(calendar, CellPoint(KalendarCell{3, 5}));
  QCOMPARE(calendar->HotCell(), (KalendarCell{3, 5}));
  QCOMPARE(calendar->CursorDate(), KalendarNoDate());
  QTest::mouseMove(calendar, QPoint(5, 5));
  QCOMPARE(calendar->HotCell(), (KalendarCell{-1, -1}));
  QTest::mouseMove(calendar, CellPoint(first));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(calendar, &leave);
  QCOMPARE(calendar->CursorDate(), KalendarNoDate());
}

void CalendarDialogTest::ClickDateHandlerCanStopTheClick() {
  TLdKalendar* calendar = Calendar();
  calendar->SetDate(QDate(2004, 2, 10));
  QList<QDate> reported;
  bool let_through = false;
  calendar->SetOnClickDate([&](TLdKalendar* sender, QDate t, bool& do_click) {
    QCOMPARE(sender, calendar);
    reported << t;
    do_click = let_through;
  });
  QSignalSpy clicked(calendar, &TLdKalendar::clicked);

  ClickAt(CellPoint(KalendarCellOf(QDate(2004, 2, 29))));
  QCOMPARE(reported, QList<QDate>{QDate(2004, 2, 29)});
  QCOMPARE(clicked.size(), 0);
  QCOMPARE(form_->ChosenDate(), DateToStr(kToday));  // the dialog saw nothing

  let_through = true;
  ClickAt(CellPoint(KalendarCellOf(QDate(2004, 2, 3))));
  QCOMPARE(reported.size(), 2);
  QCOMPARE(clicked.size(), 1);
  QCOMPARE(form_->ChosenDate(), QStringLiteral("2004-02-03"));

  // No day: no date handler, but the click itself still goes out.
  ClickAt(CellPoint(KalendarCell{2, 5}));
  QCOMPARE(reported.size(), 2);
  QCOMPARE(clicked.size(), 2);
  QCOMPARE(calendar->Date(), QDate(2004, 2, 10));
}

namespace {

// Pixels of a day's cell in the solar-term ochre (red over green over blue,
// as the Sunday red, the Saturday green, the Today blue and black never are).
int TermInkPixels(TLdKalendar* calendar, QDate day) {
  const QImage cell = calendar->grab(calendar->Layout().CellRect(KalendarCellOf(day))).toImage();
  int count = 0;
  for (int y = 0; y < cell.height(); ++y) {
    for (int x = 0; x < cell.width(); ++x) {
      const QColor p = cell.pixelColor(x, y);
      if (p.red() - p.green() > 30 && p.green() - p.blue() > 30) ++count;
    }
  }
  return count;
}

}  // namespace

void CalendarDialogTest::SolarTermDrawnWhenShown() {
  TLdKalendar* calendar = Calendar();
  // 冬至 1995 fell on the first of the eleventh month: the term, not 冬月.
  const QDate solstice(1995, 12, 22);
  calendar->SetDate(solstice);
  QCOMPARE(TermInkPixels(calendar, solstice), 0);
  calendar->SetShowSolarTerms(true);
  QVERIFY(TermInkPixels(calendar, solstice) > 0);
  QCOMPARE(TermInkPixels(calendar, solstice.addDays(-1)), 0);
}

void CalendarDialogTest::SolarTermsCheckBoxRemembered() {
  auto* box = form_->findChild<QCheckBox*>("suiCheckBox1");
  QVERIFY(!box->isChecked());
  QVERIFY(!Calendar()->ShowSolarTerms());
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
  QVERIFY(Calendar()->ShowSolarTerms());
  // On disk at once, under the program's own name.
  const QString file = settings_dir_.filePath(QStringLiteral("tessaly/tessaly.conf"));
  QVERIFY(test::ReadBytes(file).contains("showSolarTerms=true"));

  // The next start finds it, and takes it off again.
  form_ = std::make_unique<TForm3>();
  box = form_->findChild<QCheckBox*>("suiCheckBox1");
  QVERIFY(box->isChecked());
  QVERIFY(Calendar()->ShowSolarTerms());
  box->click();
  form_ = std::make_unique<TForm3>();
  QVERIFY(!form_->findChild<QCheckBox*>("suiCheckBox1")->isChecked());
  QVERIFY(!Calendar()->ShowSolarTerms());
}

}  // namespace tessaly

TESSALY_GUI_TEST_MAIN(tessaly::CalendarDialogTest)
#include "calendar_dialog_test.moc"
