// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/calendar_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>

#include <algorithm>

#include "app/almanac_panel.h"
#include "calendar/calendar_range.h"
#include "controls/click_sound.h"
#include "controls/lunar_month_calendar.h"
#include "controls/message_box.h"
#include "controls/settings.h"
#include "controls/skin.h"
#include "controls/title_bar.h"
#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"

namespace tessaly {
namespace {

const QString kTitlePrefix = QStringLiteral("你选择的日期是：");
// The settings key of the 显示节气 choice.
const QString kShowSolarTermsKey = QStringLiteral("calendar/showSolarTerms");
// The settings key of the 显示黄历 choice, and the almanac panel's width.
const QString kShowAlmanacKey = QStringLiteral("calendar/showAlmanac");
constexpr int kAlmanacWidth = 236;

// The dialog's font: 宋体, or a CJK serif where 宋体 is not installed.
QFont SongFont(int pixel_size, bool bold = false) { return skin::UiFont(pixel_size, bold); }

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect place) {
  QPushButton* button = skin::FlatButton(QLatin1String(name), text, parent, 12);
  button->setGeometry(place);
  // Enter presses no button: a dialog's buttons would take Enter in the year
  // or month box for its first button, 上年.
  button->setAutoDefault(false);
  return button;
}

QComboBox* MakeBox(QWidget* parent, const char* name, int first, int last, QRect place) {
  QStringList numbers;
  for (int n = first; n <= last; ++n) numbers << QString::number(n);
  QComboBox* box = skin::EditableList(QLatin1String(name), numbers, parent, 12);
  // What is typed stays as typed: no completion.
  box->setCompleter(nullptr);
  box->setGeometry(place);
  return box;
}

// A one-character label whose box is one em high, as the text height the
// calendar measures, so that it lines up with the boxes beside it.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QPoint place) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(SongFont(12));
  const int em = label->font().pixelSize();
  label->setGeometry(place.x(), place.y(), label->sizeHint().width(), em > 0 ? em : 12);
  return label;
}

// Shows `text` in an editable box without raising its change signal.
void SetBoxText(QComboBox* box, const QString& text) {
  const QSignalBlocker blocker(box);
  const int index = box->findText(text);
  if (index >= 0) {
    box->setCurrentIndex(index);
  } else {
    box->setEditText(text);
  }
}

}  // namespace

std::function<void(QWidget*, const QString&)> TForm3::ShowError = ErrorBox;

TForm3::TForm3(BirthdayWriter write_birthday_box, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      write_birthday_box_(std::move(write_birthday_box)) {
  BuildControls();
  FormCreate();
}

TForm3::~TForm3() = default;

void TForm3::BuildControls() {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("查看万年历"));
  skin::ApplyToWindow(this);
  setFont(SongFont(12));
  setFixedSize(349, 340);
  skin::CenterOnScreen(this);

  suiForm1 = new QWidget(this);
  suiForm1->setObjectName(QStringLiteral("suiForm1"));
  suiForm1->setGeometry(0, 0, 349, 340);
  // The dialog draws its own frame and title bar, as the window manager's are off.
  suiForm1->setAttribute(Qt::WA_StyledBackground);

  TitleBar = new TTitleBar(QStringLiteral("查看万年历"), suiForm1);
  TitleBar->setGeometry(0, 0, 349, TTitleBar::kHeight);

  PDJButton1 = MakeButton(suiForm1, "PDJButton1", QStringLiteral("上年"), QRect(20, 36, 52, 25));
  PDJButton3 = MakeButton(suiForm1, "PDJButton3", QStringLiteral("上月"), QRect(74, 36, 52, 25));
  PDJButton5 = MakeButton(suiForm1, "PDJButton5", QStringLiteral("今天"), QRect(144, 36, 52, 25));
  PDJButton4 = MakeButton(suiForm1, "PDJButton4", QStringLiteral("下月"), QRect(214, 36, 52, 25));
  PDJButton2 = MakeButton(suiForm1, "PDJButton2", QStringLiteral("下年"), QRect(276, 36, 52, 25));
  PDJButton5->setFont(SongFont(12, true));

  LdKalendar1 = new TLdKalendar(suiForm1);
  LdKalendar1->setObjectName(QStringLiteral("LdKalendar1"));
  LdKalendar1->SetAutoSize(false);
  LdKalendar1->setGeometry(9, 67, 328, 237);
  LdKalendar1->SetOptions(kAllKalendarOptions);
  LdKalendar1->SetFontNumber(SongFont(12));
  LdKalendar1->SetFontWord(SongFont(12));
  LdKalendar1->SetFontWeek(SongFont(12));
  LdKalendar1->SetFontTitle(SongFont(13, true));
  LdKalendar1->SetHSpace(8);
  LdKalendar1->SetVSpace(5);
  LdKalendar1->SetBorder(10);
  LdKalendar1->SetSpace(2);
  QPalette white = LdKalendar1->palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, Qt::black);
  white.setColor(QPalette::Shadow, QColor(0x80, 0x80, 0x80));
  LdKalendar1->setPalette(white);
  LdKalendar1->SetFrame(TLdKalendar::FrameStyle::Single);
  LdKalendar1->SetDate(QDate(2004, 6, 8));
  // The keys move the chosen day (KeyOnCalendar); the focus starts here.
  LdKalendar1->setFocusPolicy(Qt::StrongFocus);
  LdKalendar1->installEventFilter(this);

  // In the calendar's bottom right corner, where the sixth week never has a day.
  FlatComboBox1 =
      MakeBox(LdKalendar1, "FlatComboBox1", kFirstYear, kLastYear, QRect(152, 210, 49, 20));
  Label1 = MakeLabel(LdKalendar1, "Label1", QStringLiteral("年"), QPoint(204, 216));
  FlatComboBox2 = MakeBox(LdKalendar1, "FlatComboBox2", 1, 12, QRect(224, 210, 33, 20));
  Label2 = MakeLabel(LdKalendar1, "Label2", QStringLiteral("月"), QPoint(260, 216));
  FlatButton1 =
      MakeButton(LdKalendar1, "FlatButton1", QStringLiteral("确认"), QRect(280, 210, 36, 20));

  // Under the calendar, in line with the buttons above it.
  suiCheckBox1 = new QCheckBox(QStringLiteral("显示节气"), suiForm1);
  suiCheckBox1->setObjectName(QStringLiteral("suiCheckBox1"));
  suiCheckBox1->setFont(SongFont(12));
  suiCheckBox1->setGeometry(20, 310, suiCheckBox1->sizeHint().width(), 20);
  suiCheckBox1->setChecked(QSettings().value(kShowSolarTermsKey, false).toBool());
  LdKalendar1->SetShowSolarTerms(suiCheckBox1->isChecked());
  suiCheckBox2 = new QCheckBox(QStringLiteral("显示黄历"), suiForm1);
  suiCheckBox2->setObjectName(QStringLiteral("suiCheckBox2"));
  suiCheckBox2->setFont(SongFont(12));
  suiCheckBox2->setGeometry(suiCheckBox1->geometry().right() + 20, 310,
                            suiCheckBox2->sizeHint().width(), 20);
  suiCheckBox2->setChecked(QSettings().value(kShowAlmanacKey, false).toBool());
  AlmanacPanel1 = new AlmanacPanel(suiForm1);
  AlmanacPanel1->setGeometry(349, 30, kAlmanacWidth - 2, 308);
  connect(AlmanacPanel1, &AlmanacPanel::DayPicked, this, [this](QDate date) {
    LdKalendar1->SetDate(date);
    Refresh();
    Choose();
  });
  ShowAlmanac(suiCheckBox2->isChecked());

  connect(PDJButton1, &QPushButton::clicked, this, &TForm3::PDJButton1Click);
  connect(PDJButton2, &QPushButton::clicked, this, &TForm3::PDJButton2Click);
  connect(PDJButton3, &QPushButton::clicked, this, &TForm3::PDJButton3Click);
  connect(PDJButton4, &QPushButton::clicked, this, &TForm3::PDJButton4Click);
  connect(PDJButton5, &QPushButton::clicked, this, &TForm3::PDJButton5Click);
  connect(FlatComboBox1, &QComboBox::editTextChanged, this, &TForm3::FlatComboBox1Change);
  connect(FlatComboBox2, &QComboBox::editTextChanged, this, &TForm3::FlatComboBox2Change);
  connect(LdKalendar1, &TLdKalendar::clicked, this, &TForm3::LdKalendar1Click);
  connect(FlatButton1, &QPushButton::clicked, this, &TForm3::FlatButton1Click);
  connect(suiCheckBox1, &QCheckBox::toggled, this, &TForm3::suiCheckBox1Click);
  connect(suiCheckBox2, &QCheckBox::toggled, this, &TForm3::suiCheckBox2Click);
  LdKalendar1->setFocus();
}

QString TForm3::TitleText() const { return TitleBar->text(); }

void TForm3::SetTitle(const QString& chosen) {
  TitleBar->setText(kTitlePrefix + chosen);
  if (AlmanacPanel1 != nullptr && AlmanacPanel1->isVisibleTo(this)) {
    AlmanacPanel1->ShowDay(QDate::fromString(chosen, QStringLiteral("yyyy-MM-dd")));
  }
}

void TForm3::ShowAlmanac(bool show) {
  const int width = 349 + (show ? kAlmanacWidth : 0);
  setFixedSize(width, 340);
  suiForm1->setGeometry(0, 0, width, 340);
  TitleBar->setGeometry(0, 0, width, TTitleBar::kHeight);  // its controls follow its right end
  AlmanacPanel1->setVisible(show);
  // Wider, it may reach past the screen's right edge: it moves back in.
  if (const QScreen* screen = this->screen(); screen != nullptr) {
    const QRect free = screen->availableGeometry();
    if (x() + width > free.right() + 1) move(std::max(free.left(), free.right() + 1 - width), y());
  }
  if (show) SetTitle(chosen_date_);
}

void TForm3::SetPersonAnimalSource(std::function<int()> source) {
  AlmanacPanel1->SetPersonAnimalSource(std::move(source));
  if (AlmanacPanel1->isVisibleTo(this)) AlmanacPanel1->ShowDay(AlmanacPanel1->Day());
}

void TForm3::Refresh() {
  const QDate date = LdKalendar1->Date();
  SetBoxText(FlatComboBox1, QString::number(date.year()));
  SetBoxText(FlatComboBox2, QString::number(date.month()));
}

void TForm3::Choose() { SetChosen(LdKalendar1->Date()); }

void TForm3::SetChosen(QDate date) {
  chosen_date_ = DateToStr(date);
  if (date == KalendarNoDate()) return;
  SetTitle(chosen_date_);
  LdKalendar1->SetMarkedDate(date);
}

void TForm3::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const Error& e) {
    if (ShowError) ShowError(this, e.message());
  }
}

// ---- Handlers -----------------------------------------------------------------

void TForm3::FormCreate() {
  const QDate today = Clock::Today();
  LdKalendar1->SetDate(today);
  Refresh();
  SetChosen(today);
  if (write_birthday_box_) write_birthday_box_(chosen_date_, today);
}

namespace {

// The day kept when moving to `month`: the 31st becomes the 30th in the short
// months, and February takes at most 28 days, in leap years too.
int ClampDay(int month, int day) {
  if ((month == 4 || month == 6 || month == 9 || month == 11) && day == 31) return 30;
  if (month == 2 && day > 28) return 28;
  return day;
}

// The day a year before or after; EncodeDate refuses 29 February of a common year.
QDate YearFrom(QDate d, int step) { return EncodeDate(d.year() + step, d.month(), d.day()); }

// The day a month before or after, its day clamped.
QDate MonthFrom(QDate d, int step) {
  int year = d.year();
  int month = d.month() + step;
  if (month < 1) {
    month = 12;
    --year;
  } else if (month > 12) {
    month = 1;
    ++year;
  }
  return EncodeDate(year, month, ClampDay(month, d.day()));
}

}  // namespace

void TForm3::Navigate(const std::function<QDate(QDate)>& target, bool sound) {
  Guarded([&] {
    LdKalendar1->SetDate(target(LdKalendar1->Date()));
    Refresh();
    if (sound) PlayClickSound();
    Choose();
  });
}

void TForm3::PDJButton1Click() {
  Navigate([](QDate d) { return YearFrom(d, -1); });
}

void TForm3::PDJButton2Click() {
  Navigate([](QDate d) { return YearFrom(d, 1); });
}

void TForm3::PDJButton3Click() {
  Navigate([](QDate d) { return MonthFrom(d, -1); });
}

void TForm3::PDJButton4Click() {
  Navigate([](QDate d) { return MonthFrom(d, 1); });
}

void TForm3::PDJButton5Click() {
  Navigate([](QDate) { return Clock::Today(); });
}

bool TForm3::KeyOnCalendar(const QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  // The keys start from the chosen day, which a click may have put elsewhere
  // than the calendar's own date; the arrows go silently.
  const QDate chosen = StrToDate(chosen_date_);
  const auto by_days = [&](int days) {
    const QDate target = chosen.addDays(days);
    if (KalendarAcceptsDate(target)) Navigate([target](QDate) { return target; }, false);
  };
  const auto from_chosen = [&](void (TForm3::*handler)()) {
    LdKalendar1->SetDate(chosen);
    (this->*handler)();
  };
  switch (event->key()) {
    case Qt::Key_Left:
      by_days(-1);
      return true;
    case Qt::Key_Right:
      by_days(1);
      return true;
    case Qt::Key_Up:
      by_days(-7);
      return true;
    case Qt::Key_Down:
      by_days(7);
      return true;
    case Qt::Key_PageUp:
      from_chosen(ctrl ? &TForm3::PDJButton1Click : &TForm3::PDJButton3Click);
      return true;
    case Qt::Key_PageDown:
      from_chosen(ctrl ? &TForm3::PDJButton2Click : &TForm3::PDJButton4Click);
      return true;
    case Qt::Key_Home:
      PDJButton5Click();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      FlatButton1Click();
      return true;
    default:
      return false;
  }
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
  // Keys of the calendar itself, not those its year and month boxes pass up.
  if (watched == LdKalendar1 && event->type() == QEvent::KeyPress && LdKalendar1->hasFocus()) {
    return KeyOnCalendar(static_cast<QKeyEvent*>(event));
  }
  return QDialog::eventFilter(watched, event);
}

void TForm3::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Without a window manager nothing else gives the dialog the keyboard.
  activateWindow();
  LdKalendar1->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm3::FlatComboBox1Change() {
  Guarded([this] {
    const QDate d = LdKalendar1->Date();
    LdKalendar1->SetDate(StrToDate(QStringLiteral("%1-%2-%3")
                                       .arg(FlatComboBox1->currentText(),
                                            QString::number(d.month()), QString::number(d.day()))));
  });
}

void TForm3::FlatComboBox2Change() {
  Guarded([this] {
    const QDate d = LdKalendar1->Date();
    LdKalendar1->SetDate(StrToDate(QStringLiteral("%1-%2-%3")
                                       .arg(QString::number(d.year()), FlatComboBox2->currentText(),
                                            QString::number(d.day()))));
  });
}

void TForm3::LdKalendar1Click() {
  PlayClickSound();
  const QDate day = LdKalendar1->CursorDate();
  if (day == KalendarNoDate()) return;
  SetChosen(day);
}

void TForm3::FlatButton1Click() { close(); }

void TForm3::suiCheckBox1Click() {
  const bool show = suiCheckBox1->isChecked();
  LdKalendar1->SetShowSolarTerms(show);
  SaveSetting(this, kShowSolarTermsKey, show);
}

void TForm3::suiCheckBox2Click() {
  const bool show = suiCheckBox2->isChecked();
  ShowAlmanac(show);
  QSettings().setValue(kShowAlmanacKey, show);
}

void TForm3::FormClose() {
  Guarded([this] { emit BirthdayChosen(chosen_date_, StrToDate(chosen_date_)); });
}

void TForm3::done(int result) {
  FormClose();
  QDialog::done(result);
}

}  // namespace tessaly
