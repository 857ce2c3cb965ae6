// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm3, the calendar dialog "查看万年历": one month of the lunar calendar with
// buttons and boxes to move through 1901 .. 2050; a click on a day makes it the
// chosen date, which goes back to the main window's birthday when the dialog
// closes. Created once at start-up and only hidden between showings, so the
// shown month, the boxes and the chosen date carry over. Frameless: its own
// title bar moves it and carries its minimise and close controls. The focus
// starts on the calendar, where the arrows move the chosen day (up and down a
// week), PageUp and PageDown go a month, Ctrl with them a year, Home to today,
// and Enter is 确认. Below the calendar, the
// check box "显示节气" shows the solar terms; the choice is kept in the
// program's settings. "显示黄历" beside it opens the almanac panel to the right
// of the month, which shows the chosen day's entry; it is remembered too.

#include <QDate>
#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QKeyEvent;
class QPushButton;
class QWidget;

namespace tessaly {

class AlmanacPanel;
class TLdKalendar;
class TTitleBar;

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  // Writes a date into the main window's birthday box: as "yyyy-MM-dd" text and
  // the same date.
  using BirthdayWriter = std::function<void(const QString& text, QDate date)>;

  // `write_birthday_box` receives today's date while the dialog is created
  // (FormCreate); the choice on closing goes out through BirthdayChosen.
  explicit TForm3(BirthdayWriter write_birthday_box = {}, QWidget* parent = nullptr);
  ~TForm3() override;

  // The chosen date as "yyyy-MM-dd".
  const QString& ChosenDate() const { return chosen_date_; }
  // The text of the dialog's title bar: "你选择的日期是：" + the chosen date.
  QString TitleText() const;

  // The error box ("'2005-2-29' 不是一个有效的日期"): a critical message box
  // captioned "Tessaly". Replaceable, so that tests need no modal box.
  static std::function<void(QWidget* parent, const QString& message)> ShowError;

  // Event handlers.
  void FormCreate();
  void PDJButton1Click();  // 上年
  void PDJButton2Click();  // 下年
  void PDJButton3Click();  // 上月
  void PDJButton4Click();  // 下月
  void PDJButton5Click();  // 今天
  void FlatComboBox1Change();
  void FlatComboBox2Change();
  void LdKalendar1Click();
  void FlatButton1Click();   // 确认
  void suiCheckBox1Click();  // 显示节气
  void suiCheckBox2Click();  // 显示黄历

  // The person's animal (a branch 0..11, or -1), for the almanac panel's "冲属X".
  void SetPersonAnimalSource(std::function<int()> source);
  AlmanacPanel* Almanac() const { return AlmanacPanel1; }
  void FormClose();

  // Every way of closing (确认, the title bar's close button, Escape) ends here
  // and runs FormClose.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 signals:
  // Sent when the dialog closes, with the chosen date as text and as a date.
  void BirthdayChosen(const QString& text, QDate date);

 private:
  void BuildControls();
  // The year and month boxes show the calendar's year and month.
  void Refresh();
  // The calendar's date becomes the chosen date (and the title).
  void Choose();
  void SetChosen(QDate date);
  // The navigation: the calendar moves to the date `target` makes of its
  // date, the boxes follow, the click sound plays and that date is chosen;
  // an invalid date shows the error box and changes nothing.
  void Navigate(const std::function<QDate(QDate)>& target, bool sound = true);
  // A key on the calendar; true when it is one of the dialog's keys.
  bool KeyOnCalendar(const QKeyEvent* event);
  void SetTitle(const QString& chosen);
  // Widens the dialog for the almanac panel, or narrows it again.
  void ShowAlmanac(bool show);
  // Runs a handler; an error stops it and is shown in the error box.
  void Guarded(const std::function<void()>& handler);

  BirthdayWriter write_birthday_box_;
  QString chosen_date_;

  QWidget* suiForm1 = nullptr;
  TTitleBar* TitleBar = nullptr;  // drags the dialog
  QPushButton* PDJButton1 = nullptr;
  QPushButton* PDJButton2 = nullptr;
  QPushButton* PDJButton3 = nullptr;
  QPushButton* PDJButton4 = nullptr;
  QPushButton* PDJButton5 = nullptr;
  TLdKalendar* LdKalendar1 = nullptr;
  QComboBox* FlatComboBox1 = nullptr;
  QComboBox* FlatComboBox2 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* FlatButton1 = nullptr;
  QCheckBox* suiCheckBox1 = nullptr;
  QCheckBox* suiCheckBox2 = nullptr;
  AlmanacPanel* AlmanacPanel1 = nullptr;
};

}  // namespace tessaly
