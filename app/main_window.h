// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm1: the main window. A frameless 640 x 480 window over its artwork with
// the reading check boxes and the two commands on the left, the input column
// on the right, and the minimise and close controls in the top right corner.
// Enter in any input box runs the report. While the name begins with a
// compound surname and 单姓 is chosen, a line under the name says so and
// offers the switch to 复姓. It owns the reference store, opened by FormCreate()
// once the window is on the screen, and the last report; a ReportViewer shows
// the report (this window hides meanwhile) and the calendar dialog picks the
// birthday. The 档案 button beside the name opens the user's profiles and the
// history of reports (ProfileStore, opened by FormCreate() as well): a profile
// chosen fills the inputs, 保存 and 删除 keep and drop the one of the name and
// birthday shown, 最近 makes a report of the history again. Each report of
// 马上算命 joins the history, and the window starts with the newest one's inputs.

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>

#include "core/dates.h"
#include "readings/person.h"
#include "report/report.h"
#include "store/profile_store.h"
#include "store/reference_store.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QInputMethodEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace tessaly {

class ReportViewer;
class TArtwork;
class TMLabel;
class WindowButtons;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // The store at `store_path` is opened by FormCreate(), and so is the
  // profile store (at ProfileStore::DefaultPath() unless SetProfileStorePath).
  explicit TForm1(const QString& store_path = ReferenceStore::DefaultPath(),
                  QWidget* parent = nullptr);
  ~TForm1() override;

  // Starts decoding the window's artwork ahead of the window (TArtwork::Prefetch).
  static void PrefetchArtwork();

  // What the window's first paint does not need; start-up calls it right
  // after that paint: the optional input groups (hidden until their check
  // boxes are ticked) and the stores. With the reference store open the
  // birthday becomes the moment of opening; with a history of reports, the
  // inputs become those of the newest report. A profile store that cannot be
  // used is reported once and the window works on without it; what it had to
  // do with a damaged file is said once.
  void FormCreate();
  // Where FormCreate() opens the profile store; before it runs.
  void SetProfileStorePath(const QString& path) { profiles_path_ = path; }
  // Opens the store, once: a missing file is reported with "软件非法安装", a
  // store that does not open with the error box; either way the window works
  // on. True when this call opened it. The report command calls it too,
  // should it come before FormCreate().
  bool OpenStore();

  // The person and the chosen readings, read from the controls.
  Person Inputs() const;
  // Every input set from `person`, as if typed, chosen and ticked: the
  // counterpart of Inputs(). The optional groups show as their check boxes
  // say; the birthday's time of day is the person's.
  void SetInputs(const Person& person);
  // The birth moment's inputs of the four-pillar group (exact time, place or
  // longitude, the two options) set from `person`, as if typed; the group is
  // made if it is not yet. Its check box stays as it is.
  void SetBirthMoment(const Person& person);
  // The last report: its plain text stays here for export, whatever the page.
  const Report& LastReport() const { return report_; }
  ReferenceStore& Store() { return store_; }

  // The birthday: the hidden date value and its "yyyy-MM-dd" text in FlatEdit3.
  // The calendar dialog calls this when it closes; the time of day is kept.
  void SetBirthday(const QDate& date);
  const DateTime& Birthday() const { return DateTimePicker1_; }
  // The surname of Inputs()'s name (its first character, or two for a
  // compound surname) and the surname kind.
  std::pair<QString, SurnameKind> Surname() const;
  // The name box and the surname kind, as if typed and toggled.
  void SetName(const QString& name, SurnameKind kind);
  // The report command for another name and surname kind with the window's
  // other inputs; the window's own boxes stay as they are (the name chooser).
  void ReportFor(const QString& name, SurnameKind kind);

  // The birthday button shows this dialog modally.
  void SetCalendarDialog(QDialog* dialog) { calendar_ = dialog; }
  // The same, had when the button is first pressed.
  void SetCalendarDialogSource(std::function<QDialog*()> source) {
    calendar_source_ = std::move(source);
  }
  // The viewer the report command hands its report to; the window comes back
  // when the user leaves the viewer. Without one the report is only written.
  void SetViewer(ReportViewer* viewer);
  // The same, had when a report first needs it: `source` gives the viewer or
  // raises Error, whose message the report command shows instead.
  void SetViewerSource(std::function<ReportViewer*()> source) {
    viewer_source_ = std::move(source);
  }

  // Commands.
  void suiButton1Click();   // 马上算命: the report
  void suiButton2Click();   // 退出软件
  void FlatButton1Click();  // sex toggle
  void FlatButton2Click();  // surname-kind toggle
  void FlatButton4Click();  // birthday button
  // The 档案 menu's commands.
  void ProfileChosen(const QString& name, const QDate& birthday);  // fills the inputs
  void SaveProfile();                                              // 保存
  void DeleteProfile(const QString& name, const QDate& birthday);  // 删除, after asking
  void HistoryChosen(qint64 id);  // 最近: the report of that entry again

 signals:
  // Once, right after the window has been painted for the first time: work
  // that can wait (the viewer's browser, the sound) starts from here.
  void FirstPaint();
  // The window has closed; the program ends.
  void Closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct CheckBoxes;

  void BuildControls();
  // Runs the report for `person` and hands it to the viewer; with `record`,
  // a report made joins the history.
  void RunReportFor(const Person& person, bool record = false);
  // Opens the profile store, unless it is open; false when it cannot be.
  // How a profile store error is shown: always (the user asked for the
  // store), the first time only (the store is used along the way: at start,
  // for the history of a report), or not at all.
  enum class Tell { Always, Once, Never };
  bool OpenProfiles(Tell tell);
  void ProfilesFailed(const QString& message, Tell tell);
  // The 档案 menu, rebuilt from the store each time it opens.
  void FillProfileMenu();
  // The combo box shows `text`: its entry when it has one, else as typed.
  static void SetListText(QComboBox* box, const QString& text);
  // The surname kind the toggle shows.
  SurnameKind ShownSurnameKind() const;
  // The compound-surname hint under the name follows the name and the kind.
  void UpdateSurnameHint();
  // Whether `watched` is one of the input boxes, where Enter runs the report.
  bool IsInput(const QObject* watched) const;
  // The mobile number's, the two pregnancy readings' and the four pillars'
  // inputs, once; they are hidden until their check boxes are ticked.
  void BuildOptionalGroups();
  void BuildBirthMomentGroup();
  // The four pillars' inputs as the person's birth moment.
  void ReadBirthMoment(Person& p) const;
  // An exact time that parses sets the birth-hour list to its double hour.
  void FlatEdit4Changed();

  // Input behaviour.
  bool FlatEdit1KeyPress(QKeyEvent* event);  // true: the key is swallowed
  void FlatEdit1InputMethod(QInputMethodEvent* event);
  void FlatEdit1Exit();
  bool FlatEdit2KeyPress(QKeyEvent* event);
  void FlatComboBox6Exit();
  // A check box of an optional group: the group shows or hides.
  void OptionalBoxClick();
  // The optional groups that are ticked stack under the birth hour in the
  // order of their check boxes' readings below; the input column's panel ends
  // below the lowest.
  void FitInputPanel();

  QString store_path_;
  bool store_tried_ = false;
  ReferenceStore store_;
  QString profiles_path_;
  ProfileStore profiles_;
  QString profiles_error_;      // why the profile store did not open
  bool profiles_told_ = false;  // a profile store error has been shown
  bool notice_told_ = false;    // the store's notice has been shown
  Report report_;
  DateTime DateTimePicker1_;
  QPointer<QDialog> calendar_;
  std::function<QDialog*()> calendar_source_;
  ReportViewer* viewer_ = nullptr;
  std::function<ReportViewer*()> viewer_source_;
  QPointer<QWidget> viewer_window_;  // tells whether the viewer is still there
  bool painted_ = false;
  int hint_shift_ = 0;  // how far the rows below the name are moved for the hint

  TArtwork* Image6 = nullptr;
  QPushButton* suiButton1 = nullptr;
  QPushButton* suiButton2 = nullptr;
  QFrame* FlatPanel1 = nullptr;
  QCheckBox* suiCheckBox1 = nullptr;
  QCheckBox* suiCheckBox2 = nullptr;
  QCheckBox* suiCheckBox3 = nullptr;
  QCheckBox* suiCheckBox4 = nullptr;
  QCheckBox* suiCheckBox5 = nullptr;
  QCheckBox* suiCheckBox6 = nullptr;
  QCheckBox* suiCheckBox7 = nullptr;
  QCheckBox* suiCheckBox8 = nullptr;  // 生辰八字分析
  QFrame* InputPanel = nullptr;       // paper panel behind the input column
  TMLabel* MLabel1 = nullptr;
  TMLabel* MLabel2 = nullptr;
  TMLabel* MLabel3 = nullptr;
  TMLabel* MLabel4 = nullptr;
  TMLabel* MLabel5 = nullptr;
  TMLabel* MLabel6 = nullptr;
  TMLabel* MLabel7 = nullptr;
  QLineEdit* FlatEdit1 = nullptr;
  QPushButton* ProfileButton = nullptr;  // 档案, beside the name
  QMenu* ProfileMenu = nullptr;
  QLineEdit* FlatEdit2 = nullptr;
  QLineEdit* FlatEdit3 = nullptr;
  QPushButton* FlatButton1 = nullptr;
  QPushButton* FlatButton2 = nullptr;
  QPushButton* FlatButton4 = nullptr;
  QComboBox* FlatComboBox2 = nullptr;
  QComboBox* FlatComboBox3 = nullptr;
  QComboBox* FlatComboBox4 = nullptr;
  QComboBox* FlatComboBox5 = nullptr;
  QComboBox* FlatComboBox6 = nullptr;
  QLabel* Label21 = nullptr;
  QLabel* Label22 = nullptr;
  QLabel* Label25 = nullptr;
  QLabel* Label27 = nullptr;
  QLabel* Label36 = nullptr;
  QLabel* Label37 = nullptr;
  QLabel* Label40 = nullptr;
  // The four pillars' group: the exact time beside the birth hour, the place
  // or its longitude, daylight time and the late 子时.
  TMLabel* MLabel8 = nullptr;
  QLineEdit* FlatEdit4 = nullptr;      // HH:MM
  QComboBox* FlatComboBox7 = nullptr;  // place of birth
  QLineEdit* FlatEdit5 = nullptr;      // longitude
  QCheckBox* suiCheckBox9 = nullptr;   // daylight time
  QCheckBox* suiCheckBox10 = nullptr;  // late 子时 on the next day
  QLabel* SurnameHint = nullptr;
  QPushButton* SurnameSwitch = nullptr;
  WindowButtons* Buttons = nullptr;  // minimise and close
};

}  // namespace tessaly
