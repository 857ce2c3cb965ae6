// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QValidator>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "controls/artwork.h"
#include "controls/click_sound.h"
#include "controls/gradient_label.h"
#include "controls/message_box.h"
#include "controls/report_viewer.h"
#include "controls/skin.h"
#include "controls/title_bar.h"
#include "core/errors.h"
#include "core/text.h"
#include "readings/birth_moment.h"
#include "readings/surnames.h"
#include "report/report.h"

namespace tessaly {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// The window's background picture: DataDir()/main.jpg.
const QString kArtwork = QStringLiteral("main");

// The birthday the window starts with when the store cannot be opened.
const DateTime kDesignBirthday{QDate(2003, 1, 22), QTime(0, 0)};

// Geometry of the input column: headings on the left, inputs on the right.
constexpr int kHeadingX = 254;
constexpr int kHeadingWidth = 84;
constexpr int kInputX = 338;
constexpr int kRowHeight = 24;
constexpr int kRowPitch = 30;     // the rows from the name to the birth hour
constexpr int kSubRowPitch = 26;  // the rows of one optional group
constexpr int kGroupGap = 6;      // between the optional groups
// The exact time beside the birth hour: it reaches a little further right
// than the other inputs, so that the narrowed hour list still shows its entry.
constexpr int kTimeWidth = 44;
constexpr int kTimeX = kInputX + 152 - kTimeWidth;
// The name box, and the 档案 button beside it at the column's right edge.
constexpr int kNameWidth = 100;
constexpr int kProfileButtonWidth = 44;

// The 最近 menu lists this many of the newest reports.
constexpr int kHistoryMenuEntries = 40;

QString Utf(const char* text) { return QString::fromUtf8(text); }

}  // namespace

// The reading check boxes, top to bottom: the window's one mapping of check
// box to reading (a box is ticked at start when the default readings hold it).
struct TForm1::CheckBoxes {
  struct Def {
    QCheckBox* TForm1::*box;
    const char* name;
    const char* caption;
    Reading reading;
  };
  static constexpr Def kAll[] = {
      {&TForm1::suiCheckBox1, "suiCheckBox1", "测算姓名祸福", Reading::Name},
      {&TForm1::suiCheckBox2, "suiCheckBox2", "一生命运预测", Reading::Lifetime},
      {&TForm1::suiCheckBox4, "suiCheckBox4", "今年属相预测", Reading::Zodiac},
      {&TForm1::suiCheckBox3, "suiCheckBox3", "今年星座预测", Reading::StarSign},
      {&TForm1::suiCheckBox5, "suiCheckBox5", "手机号码吉凶", Reading::Mobile},
      {&TForm1::suiCheckBox6, "suiCheckBox6", "胎儿性别预测", Reading::ChildSex},
      {&TForm1::suiCheckBox7, "suiCheckBox7", "最佳怀孕时间", Reading::Conception},
      {&TForm1::suiCheckBox8, "suiCheckBox8", "生辰八字分析", Reading::Bazi},
  };
};

namespace {

// The surname-kind toggle's caption: 姓氏单姓, 姓氏复姓.
QString SurnameKindCaption(SurnameKind kind) {
  return QStringLiteral("姓氏") + SurnameKindText(kind);
}

// How far the input column below the name moves down while the compound
// surname hint shows under the name.
constexpr int kHintHeight = 18;

TMLabel* Heading(const char* name, const char* caption, int y, QWidget* parent) {
  TMLabel* label = skin::Heading(Utf(name), Utf(caption), parent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // As wide as its caption, so that the caption spans the whole gradient.
  label->setGeometry(kHeadingX, y, std::min(label->sizeHint().width(), kHeadingWidth), kRowHeight);
  return label;
}

QLabel* SmallLabel(const char* name, const char* caption, int x, int y, int width,
                   QWidget* parent) {
  auto* label = new QLabel(Utf(caption), parent);
  label->setObjectName(Utf(name));
  label->setProperty("skin", QStringLiteral("olive"));
  label->setFont(skin::UiFont(12));
  label->setGeometry(x, y, width, kRowHeight);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

QLineEdit* Edit(const char* name, const QString& text, int x, int y, int width, QWidget* parent) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(Utf(name));
  edit->setGeometry(x, y, width, kRowHeight);
  return edit;
}

// A drop-down list of the input column, showing `text`.
QComboBox* DropDown(const char* name, const QStringList& items, const QString& text, int x, int y,
                    int width, QWidget* parent) {
  QComboBox* box = skin::EditableList(Utf(name), items, parent);
  box->setCurrentIndex(static_cast<int>(items.indexOf(text)));
  box->setGeometry(x, y, width, kRowHeight);
  box->setMaxVisibleItems(12);
  return box;
}

QStringList NumberItems(int first, int last, int width) {
  QStringList items;
  for (int i = first; i <= last; ++i) {
    items << QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0'));
  }
  return items;
}

// The entry of the list equal to its text, or -1 when the text is no entry.
int IndexOfText(const QComboBox* box) {
  return box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

// Whether a key press delivers a character to the box (as opposed to a
// shortcut or a key that moves the cursor or the focus).
bool DeliversCharacter(const QKeyEvent* event) {
  if (event->text().isEmpty()) return false;
  if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
  switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Escape:
      return false;
    default:
      return true;
  }
}

// The characters of the text that the name box takes, in order: any character
// of two bytes that GBK holds, and any Chinese character beyond GBK (Unicode's
// extensions included). Single-byte characters (letters, digits, blanks,
// punctuation) never get in, so the name's two-byte pieces never shift.
QString NameCharacters(const QString& text) {
  QString kept;
  for (const char32_t ch : WithoutSingleBytes(text).toUcs4()) {
    const QString one = QString::fromUcs4(&ch, 1);
    if (QChar::script(ch) == QChar::Script_Han || FitsGbk(one)) kept += one;
  }
  return kept;
}

// The characters of the text that the mobile box takes: the digits 0 to 9.
QString MobileCharacters(const QString& text) {
  QString kept = text;
  kept.removeIf([](QChar c) { return c < u'0' || c > u'9'; });
  return kept;
}

// The characters of the text that the exact time takes: digits and the
// colon, the full-width forms an input method gives turned into ASCII.
QString TimeCharacters(const QString& text) {
  QString kept;
  for (const QChar c : text) {
    if (c == u':' || c == u'：') {
      kept += u':';
    } else if (c.isDigit() && c.digitValue() >= 0 && c.digitValue() <= 9) {
      kept += QChar(u'0' + c.digitValue());
    }
  }
  return kept;
}

// Keeps a box to the characters it takes whichever way text arrives: typed,
// from an input method, pasted, dropped or set by the program.
class CharacterFilter : public QValidator {
 public:
  CharacterFilter(QString (*keep)(const QString&), QObject* parent)
      : QValidator(parent), keep_(keep) {}

  State validate(QString& input, int& pos) const override {
    const QString kept = keep_(input);
    if (kept != input) {
      pos = static_cast<int>(keep_(input.left(pos)).size());
      input = kept;
    }
    return Acceptable;
  }

 private:
  QString (*keep_)(const QString&);
};

}  // namespace

TForm1::TForm1(const QString& store_path, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      store_path_(store_path),
      profiles_path_(ProfileStore::DefaultPath()),
      DateTimePicker1_(kDesignBirthday) {
  // The window has no caption bar to show its caption "Morvane"; the task bar
  // and the window list show the program's title instead.
  setWindowTitle(QStringLiteral("Tessaly"));
  setAttribute(Qt::WA_QuitOnClose);
  skin::ApplyToWindow(this);
  BuildControls();
  skin::CenterOnScreen(this);
  // What an interrupted earlier run left half written.
  CleanCachePages(false);
}

TForm1::~TForm1() = default;

void TForm1::PrefetchArtwork() { TArtwork::Prefetch(TArtwork::ArtworkPath(kArtwork)); }

void TForm1::BuildControls() {
  const Person defaults;
  setFixedSize(kWidth, kHeight);

  Image6 = TArtwork::Background(kArtwork, this);
  Image6->setObjectName(QStringLiteral("Image6"));

  // Reading selection.
  FlatPanel1 = skin::Panel(this, QStringLiteral("FlatPanel1"), QRect(36, 104, 180, 232));
  int y = 14;
  for (const CheckBoxes::Def& def : CheckBoxes::kAll) {
    auto* box = new QCheckBox(Utf(def.caption), FlatPanel1);
    box->setObjectName(Utf(def.name));
    box->setFont(skin::UiFont(13, true));
    box->setChecked(defaults.readings.testFlag(def.reading));
    box->setGeometry(26, y, 140, 22);
    box->setCursor(Qt::PointingHandCursor);
    this->*def.box = box;
    y += 26;
  }

  suiButton1 = skin::SealButton(QStringLiteral("suiButton1"), QStringLiteral("马上算命"), this);
  suiButton1->setGeometry(63, 346, 125, 38);
  suiButton2 = skin::SealButton(QStringLiteral("suiButton2"), QStringLiteral("退出软件"), this);
  suiButton2->setGeometry(63, 392, 125, 38);

  // The input column, on a paper panel of its own.
  InputPanel = skin::Panel(this, QStringLiteral("InputPanel"), QRect(238, 104, 266, 326));

  MLabel2 = Heading("MLabel2", "姓名：", 118, this);
  FlatEdit1 = Edit("FlatEdit1", defaults.name, kInputX, 118, kNameWidth, this);
  ProfileButton = skin::FlatButton(QStringLiteral("ProfileButton"), QStringLiteral("档案"), this);
  ProfileButton->setGeometry(kInputX + 148 - kProfileButtonWidth, 118, kProfileButtonWidth,
                             kRowHeight);
  ProfileButton->setToolTip(QStringLiteral("保存的档案和最近算过的报告"));
  // Made as the button is; filled from the store each time it opens.
  ProfileMenu = new QMenu(ProfileButton);
  ProfileMenu->setObjectName(QStringLiteral("ProfileMenu"));
  ProfileMenu->setFont(skin::UiFont(13));
  ProfileMenu->setToolTipsVisible(true);
  ProfileButton->setMenu(ProfileMenu);

  const int sex_y = 118 + kRowPitch;
  MLabel3 = Heading("MLabel3", "性别：", sex_y, this);
  FlatButton1 = skin::FlatButton(QStringLiteral("FlatButton1"), SexText(defaults.sex), this);
  FlatButton1->setGeometry(kInputX, sex_y, 44, kRowHeight);
  FlatButton2 = skin::FlatButton(QStringLiteral("FlatButton2"),
                                 SurnameKindCaption(defaults.surname_kind), this);
  FlatButton2->setGeometry(kInputX + 50, sex_y, 98, kRowHeight);

  const int birthday_y = sex_y + kRowPitch;
  MLabel4 = Heading("MLabel4", "生日：", birthday_y, this);
  FlatEdit3 = Edit("FlatEdit3", QStringLiteral("2004-08-01"), kInputX, birthday_y, 120, this);
  FlatEdit3->setReadOnly(true);
  FlatEdit3->setFocusPolicy(Qt::NoFocus);
  FlatButton4 = skin::FlatButton(QStringLiteral("FlatButton4"), QString(), this);
  FlatButton4->setProperty("skin", QStringLiteral("icon"));
  FlatButton4->setIcon(QIcon(QStringLiteral(":/tessaly/skin/calendar.png")));
  FlatButton4->setIconSize(QSize(16, 16));
  FlatButton4->setToolTip(QStringLiteral("选择生日"));
  FlatButton4->setGeometry(kInputX + 124, birthday_y, kRowHeight, kRowHeight);

  const int hour_y = birthday_y + kRowPitch;
  MLabel7 = Heading("MLabel7", "时辰：", hour_y, this);
  FlatComboBox6 =
      DropDown("FlatComboBox6", BirthHourItems(), defaults.birth_hour, kInputX, hour_y, 148, this);

  // Under the name, while it begins with a compound surname and 单姓 is
  // chosen: a word on it and the switch to 复姓.
  SurnameHint = new QLabel(this);
  SurnameHint->setObjectName(QStringLiteral("SurnameHint"));
  SurnameHint->setProperty("skin", QStringLiteral("olive"));
  SurnameHint->setFont(skin::UiFont(12));
  SurnameHint->setGeometry(kHeadingX + 8, 144, kInputX + 88 - kHeadingX - 8, kHintHeight + 2);
  SurnameHint->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  SurnameSwitch =
      skin::FlatButton(QStringLiteral("SurnameSwitch"), QStringLiteral("改为复姓"), this, 12);
  SurnameSwitch->setGeometry(kInputX + 88, 145, 60, kHintHeight);
  SurnameHint->hide();
  SurnameSwitch->hide();

  // The title area is the artwork's: minimise and close in its top right corner.
  Buttons = new WindowButtons(this, WindowButtons::Ground::Artwork);
  Buttons->move(kWidth - Buttons->width() - 14, 14);

  // Tab order: down the input column as the form reads, the commands, then the
  // check boxes. The name box has the focus from the start.
  // The optional groups' inputs come in after the birth hour when they are
  // made (BuildOptionalGroups).
  QWidget* order[] = {FlatEdit1,    ProfileButton,       SurnameSwitch,   FlatButton1,
                      FlatButton2,  FlatButton4,         FlatComboBox6,   suiButton1,
                      suiButton2,   suiCheckBox1,        suiCheckBox2,    suiCheckBox4,
                      suiCheckBox3, suiCheckBox5,        suiCheckBox6,    suiCheckBox7,
                      suiCheckBox8, Buttons->Minimise(), Buttons->Close()};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  // Typed text replaces the sample name, as after a Tab into the box.
  FlatEdit1->setFocus();
  FlatEdit1->selectAll();

  InputPanel->lower();
  Image6->lower();
  // The optional groups are hidden until their check boxes are ticked, so
  // they are made after the first paint unless one is ticked from the start.
  if (suiCheckBox5->isChecked() || suiCheckBox6->isChecked() || suiCheckBox7->isChecked() ||
      suiCheckBox8->isChecked()) {
    BuildOptionalGroups();
  }
  FitInputPanel();

  connect(suiButton1, &QPushButton::clicked, this, &TForm1::suiButton1Click);
  connect(suiButton2, &QPushButton::clicked, this, &TForm1::suiButton2Click);
  connect(FlatButton1, &QPushButton::clicked, this, &TForm1::FlatButton1Click);
  connect(FlatButton2, &QPushButton::clicked, this, &TForm1::FlatButton2Click);
  connect(FlatButton4, &QPushButton::clicked, this, &TForm1::FlatButton4Click);
  connect(ProfileMenu, &QMenu::aboutToShow, this, &TForm1::FillProfileMenu);
  for (QCheckBox* box : {suiCheckBox5, suiCheckBox6, suiCheckBox7, suiCheckBox8}) {
    connect(box, &QCheckBox::toggled, this, &TForm1::OptionalBoxClick);
  }
  connect(FlatEdit1, &QLineEdit::textChanged, this, &TForm1::UpdateSurnameHint);
  connect(SurnameSwitch, &QPushButton::clicked, this, [this] {
    FlatButton2->setText(SurnameKindCaption(SurnameKind::Compound));
    UpdateSurnameHint();
  });
  UpdateSurnameHint();

  FlatEdit1->setValidator(new CharacterFilter(NameCharacters, FlatEdit1));
  Image6->installEventFilter(this);
  FlatEdit1->installEventFilter(this);
  FlatComboBox6->installEventFilter(this);
  ProfileMenu->installEventFilter(this);
}

void TForm1::BuildOptionalGroups() {
  if (FlatEdit2 != nullptr) return;
  const Person defaults;
  // Made at the top; FitInputPanel() stacks the groups under the birth hour.
  MLabel5 = Heading("MLabel5", "手机号码：", 0, this);
  FlatEdit2 = Edit("FlatEdit2", defaults.mobile, kInputX, 0, 148, this);

  const QStringList ages = NumberItems(18, 44, 2);
  const int second = kSubRowPitch;  // a group's second row
  MLabel6 = Heading("MLabel6", "胎儿性别：", 0, this);
  Label25 = SmallLabel("Label25", "母亲年龄", kInputX, 0, 54, this);
  FlatComboBox2 = DropDown("FlatComboBox2", ages, defaults.mother_age, kInputX + 56, 0, 54, this);
  Label21 = SmallLabel("Label21", "虚岁", kInputX + 116, 0, 30, this);
  Label27 = SmallLabel("Label27", "怀孕月份", kInputX, second, 54, this);
  FlatComboBox3 = DropDown("FlatComboBox3", NumberItems(1, 12, 2), defaults.pregnancy_month,
                           kInputX + 56, second, 54, this);
  Label22 = SmallLabel("Label22", "公历", kInputX + 116, second, 30, this);

  MLabel1 = Heading("MLabel1", "怀孕时间：", 0, this);
  Label36 = SmallLabel("Label36", "母亲年龄", kInputX, 0, 54, this);
  FlatComboBox4 =
      DropDown("FlatComboBox4", ages, defaults.conception_age, kInputX + 56, 0, 54, this);
  Label40 = SmallLabel("Label40", "虚岁", kInputX + 116, 0, 30, this);
  Label37 = SmallLabel("Label37", "母亲愿望", kInputX, second, 54, this);
  FlatComboBox5 = DropDown("FlatComboBox5", {QStringLiteral("男孩"), QStringLiteral("女孩")},
                           defaults.wish, kInputX + 56, second, 64, this);
  BuildBirthMomentGroup();

  // The disclaimer of the sex prediction goes with its inputs.
  const QString disclaimer = FetalDisclaimerLines().join(QLatin1Char('\n'));
  for (QWidget* w : std::initializer_list<QWidget*>{MLabel6, Label25, Label21, Label27, Label22,
                                                    FlatComboBox2, FlatComboBox3}) {
    w->setToolTip(disclaimer);
    // The labels take the mouse, so that their tooltip shows.
    w->setAttribute(Qt::WA_TransparentForMouseEvents, false);
  }

  // Down the column: the birth moment's inputs first, as they stand under
  // the birth hour.
  QWidget* order[] = {FlatComboBox6, FlatEdit4,     FlatComboBox7, FlatEdit5,
                      suiCheckBox9,  suiCheckBox10, FlatEdit2,     FlatComboBox2,
                      FlatComboBox3, FlatComboBox4, FlatComboBox5};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  FlatEdit2->setValidator(new CharacterFilter(MobileCharacters, FlatEdit2));
  for (QWidget* w :
       std::initializer_list<QWidget*>{FlatEdit2, FlatComboBox2, FlatComboBox3, FlatComboBox4,
                                       FlatComboBox5, FlatEdit4, FlatComboBox7, FlatEdit5}) {
    w->installEventFilter(this);
  }

  // The groups follow their check boxes.
  FitInputPanel();
}

void TForm1::BuildBirthMomentGroup() {
  const Person defaults;
  // The exact time sits beside the birth hour, which narrows while it shows.
  FlatEdit4 = Edit("FlatEdit4", defaults.birth_time, kTimeX, FlatComboBox6->y(), kTimeWidth, this);
  FlatEdit4->setPlaceholderText(QStringLiteral("时:分"));
  FlatEdit4->setMaxLength(5);
  FlatEdit4->setValidator(new CharacterFilter(TimeCharacters, FlatEdit4));
  FlatEdit4->setToolTip(QStringLiteral("准确的出生时间（24小时制，如 23:30），可不填"));

  MLabel8 = Heading("MLabel8", "出生地点：", 0, this);
  QStringList places{QString()};
  for (const BirthPlace& place : BirthPlaces()) places << QString::fromUtf16(place.seat);
  FlatComboBox7 = DropDown("FlatComboBox7", places, defaults.birth_place, kInputX, 0, 90, this);
  FlatComboBox7->lineEdit()->setPlaceholderText(QStringLiteral("选地点"));
  FlatComboBox7->setToolTip(QStringLiteral("省会（首府）城市，用于换算真太阳时；可不选"));
  FlatEdit5 = Edit("FlatEdit5", QString(), kInputX + 94, 0, 54, this);
  FlatEdit5->setPlaceholderText(QStringLiteral("或经度"));
  FlatEdit5->setToolTip(QStringLiteral("出生地的东经度数（73～135），不在列表中的地方可填此项"));
  // A place and a longitude exclude each other: what the user gives last holds.
  connect(FlatComboBox7->lineEdit(), &QLineEdit::textEdited, FlatEdit5, &QLineEdit::clear);
  connect(FlatComboBox7, &QComboBox::textActivated, FlatEdit5, &QLineEdit::clear);
  connect(FlatEdit5, &QLineEdit::textEdited, this,
          [this] { FlatComboBox7->setEditText(QString()); });

  const auto option = [this](const char* name, const char* caption, bool on, int x, int width,
                             const char* tip) {
    auto* box = new QCheckBox(Utf(caption), this);
    box->setObjectName(Utf(name));
    box->setProperty("skin", QStringLiteral("olive"));
    box->setFont(skin::UiFont(12));
    box->setChecked(on);
    box->setGeometry(x, kSubRowPitch, width, kRowHeight);
    box->setCursor(Qt::PointingHandCursor);
    box->setToolTip(Utf(tip));
    return box;
  };
  suiCheckBox9 = option("suiCheckBox9", "夏令时换算", defaults.daylight_saving, kHeadingX + 8, 90,
                        "出生时间在夏令时期间的，先换算为北京时间");
  suiCheckBox10 =
      option("suiCheckBox10", "晚子时归次日", defaults.late_zi_next_day, kHeadingX + 104, 104,
             "23:00～23:59 出生算作次日；不勾选则日柱仍按当日，时干按次日子时");
  connect(FlatEdit4, &QLineEdit::textChanged, this, &TForm1::FlatEdit4Changed);
}

void TForm1::FormCreate() {
  BuildOptionalGroups();
  if (OpenStore()) DateTimePicker1_ = DateTime::Now();
  if (!OpenProfiles(Tell::Once)) return;
  try {
    const QList<HistoryEntry> last = profiles_.History(1);
    if (!last.isEmpty()) SetInputs(PersonOf(last.front().inputs));
  } catch (const Error& e) {
    ProfilesFailed(e.message(), Tell::Once);
  }
}

bool TForm1::OpenProfiles(Tell tell) {
  if (profiles_.IsOpen()) return true;
  try {
    profiles_.Open(profiles_path_);
  } catch (const Error& e) {
    profiles_error_ = e.message();
    ProfilesFailed(e.message(), tell);
    return false;
  }
  profiles_error_.clear();
  // A damaged file was moved aside: said once, whatever asked for the store.
  if (!profiles_.notice().isEmpty() && !notice_told_) {
    notice_told_ = true;
    InfoBox(this, profiles_.notice());
  }
  return true;
}

void TForm1::ProfilesFailed(const QString& message, Tell tell) {
  if (tell == Tell::Never || (tell == Tell::Once && profiles_told_)) return;
  profiles_told_ = true;
  ErrorBox(this, message);
}

bool TForm1::OpenStore() {
  if (store_tried_) return false;
  store_tried_ = true;
  try {
    store_.Open(store_path_);
    return true;
  } catch (const StoreMissingError& e) {
    InfoBox(this, e.message());
  } catch (const Error& e) {
    ErrorBox(this, e.message());
  }
  return false;
}

// The controls as the person and the readings:
//   FlatEdit1                  name
//   FlatButton1                sex (男 / 女)
//   FlatButton2                surname_kind (姓氏单姓 / 姓氏复姓)
//   DateTimePicker1_           birthday (FlatEdit3 shows its date)
//   FlatComboBox6              birth_hour, birth_hour_index
//   FlatEdit2                  mobile
//   FlatComboBox2, 3           mother_age, pregnancy_month
//   FlatComboBox4, 5           conception_age, wish and wish_index
//   FlatEdit4                  birth_time
//   FlatComboBox7, FlatEdit5   birth_place, birth_longitude
//   suiCheckBox9, 10           daylight_saving, late_zi_next_day
//   suiCheckBox1 ..            readings, by CheckBoxes::kAll
Person TForm1::Inputs() const {
  Person p;
  p.name = FlatEdit1->text();
  p.sex = FlatButton1->text() == SexText(Sex::Female) ? Sex::Female : Sex::Male;
  p.surname_kind = ShownSurnameKind();
  p.birthday = DateTimePicker1_;
  p.birth_hour = FlatComboBox6->currentText();
  p.birth_hour_index = BirthHourIndex(p.birth_hour);
  if (p.birth_hour_index >= 0) p.birth_hour = BirthHourItems()[p.birth_hour_index];
  // Optional groups not made yet hold their defaults.
  if (FlatEdit2 != nullptr) {
    p.mobile = FlatEdit2->text();
    p.mother_age = FlatComboBox2->currentText();
    p.pregnancy_month = FlatComboBox3->currentText();
    p.conception_age = FlatComboBox4->currentText();
    p.wish = FlatComboBox5->currentText();
    p.wish_index = IndexOfText(FlatComboBox5);
    ReadBirthMoment(p);
  }
  p.readings = {};
  for (const CheckBoxes::Def& def : CheckBoxes::kAll) {
    p.readings.setFlag(def.reading, (this->*def.box)->isChecked());
  }
  return p;
}

void TForm1::SetInputs(const Person& p) {
  SetName(p.name, p.surname_kind);
  FlatButton1->setText(SexText(p.sex));
  DateTimePicker1_ = p.birthday;
  FlatEdit3->setText(DateToStr(p.birthday.date));
  BuildOptionalGroups();
  FlatEdit2->setText(p.mobile);
  SetListText(FlatComboBox2, p.mother_age);
  SetListText(FlatComboBox3, p.pregnancy_month);
  SetListText(FlatComboBox4, p.conception_age);
  SetListText(FlatComboBox5, p.wish);
  SetBirthMoment(p);
  // After the exact time, which sets the birth hour to its own.
  SetListText(FlatComboBox6, p.birth_hour);
  // The optional groups follow their boxes.
  for (const CheckBoxes::Def& def : CheckBoxes::kAll) {
    (this->*def.box)->setChecked(p.readings.testFlag(def.reading));
  }
}

void TForm1::SetListText(QComboBox* box, const QString& text) {
  const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  box->setCurrentIndex(index);
  if (index < 0) box->setEditText(text);
}

void TForm1::ReadBirthMoment(Person& p) const {
  p.birth_time = FlatEdit4->text().trimmed();
  p.birth_place = FlatComboBox7->currentText().trimmed();
  const QString longitude = FlatEdit5->text().trimmed();
  p.birth_longitude.reset();
  if (!longitude.isEmpty()) {
    bool ok = false;
    const double degrees = longitude.toDouble(&ok);
    // Not a number: the reading refuses it with its message on the range.
    p.birth_longitude = ok ? degrees : std::numeric_limits<double>::quiet_NaN();
  }
  p.daylight_saving = suiCheckBox9->isChecked();
  p.late_zi_next_day = suiCheckBox10->isChecked();
}

void TForm1::SetBirthMoment(const Person& person) {
  BuildOptionalGroups();
  FlatEdit4->setText(person.birth_time);
  FlatEdit5->setText(person.birth_longitude && std::isfinite(*person.birth_longitude)
                         ? QString::number(*person.birth_longitude)
                         : QString());
  FlatComboBox7->setEditText(person.birth_place);
  suiCheckBox9->setChecked(person.daylight_saving);
  suiCheckBox10->setChecked(person.late_zi_next_day);
}

void TForm1::FlatEdit4Changed() {
  const QTime time = ParseBirthTime(FlatEdit4->text());
  // 23:00 .. 00:59 is 子时, 01:00 .. 02:59 丑时, and so on.
  if (time.isValid()) FlatComboBox6->setCurrentIndex((time.hour() + 1) / 2 % 12);
}

void TForm1::SetViewer(ReportViewer* viewer) {
  viewer_ = viewer;
  viewer_window_ = viewer != nullptr ? viewer->Window() : nullptr;
  if (viewer == nullptr) return;
  // Back from the viewer: this window comes back as it was left.
  viewer->SetBackHandler([self = QPointer<TForm1>(this)] {
    if (self == nullptr) return;
    self->show();
    self->raise();
    self->activateWindow();
  });
}

std::pair<QString, SurnameKind> TForm1::Surname() const {
  const Person person = Inputs();
  const QList<uint> chars = person.name.toUcs4();
  const qsizetype n =
      std::min<qsizetype>(chars.size(), person.surname_kind == SurnameKind::Compound ? 2 : 1);
  return {QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()), n),
          person.surname_kind};
}

void TForm1::SetName(const QString& name, SurnameKind kind) {
  FlatEdit1->setText(name);
  FlatButton2->setText(SurnameKindCaption(kind));
  UpdateSurnameHint();
}

SurnameKind TForm1::ShownSurnameKind() const {
  return FlatButton2->text() == SurnameKindCaption(SurnameKind::Single) ? SurnameKind::Single
                                                                        : SurnameKind::Compound;
}

void TForm1::UpdateSurnameHint() {
  const QString surname = CompoundSurnameOf(FlatEdit1->text());
  const bool show = !surname.isEmpty() && ShownSurnameKind() == SurnameKind::Single;
  if (show) SurnameHint->setText(QStringLiteral("“%1”通常是复姓，").arg(surname));
  SurnameHint->setVisible(show);
  SurnameSwitch->setVisible(show);
  // The rows below the name make room for the hint's line.
  const int shift = show ? kHintHeight : 0;
  if (shift == hint_shift_) return;
  const int by = shift - hint_shift_;
  hint_shift_ = shift;
  for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QRect r = w->geometry();
    if (w != InputPanel && w != SurnameHint && w != SurnameSwitch && r.left() >= kHeadingX &&
        r.top() > FlatEdit1->geometry().bottom()) {
      w->move(r.left(), r.top() + by);
    }
  }
  FitInputPanel();
}

void TForm1::SetBirthday(const QDate& date) {
  DateTimePicker1_.date = date;
  FlatEdit3->setText(DateToStr(date));
}

// --- Commands --------------------------------------------------------------

void TForm1::suiButton1Click() {
  PlayClickSound();
  RunReportFor(Inputs(), true);
}

void TForm1::ReportFor(const QString& name, SurnameKind kind) {
  Person person = Inputs();
  person.name = name;
  person.surname_kind = kind;
  RunReportFor(person);
}

void TForm1::RunReportFor(const Person& person, bool record) {
  OpenStore();
  QString page_path;
  const Notify notify = [this](const QString& message) { InfoBox(this, message); };
  try {
    page_path = RunReport(person, store_, notify, report_, TempPagePath());
  } catch (const Error& e) {
    ErrorBox(this, e.message());
    return;
  }
  if (record && OpenProfiles(Tell::Once)) {
    try {
      profiles_.AddHistory(ProfileOf(person));
    } catch (const Error& e) {
      ProfilesFailed(e.message(), Tell::Once);
    }
  }
  if (viewer_ == nullptr && viewer_source_) {
    try {
      SetViewer(viewer_source_());
    } catch (const Error& e) {
      ErrorBox(this, e.message());
      return;
    }
  }
  // This window stays hidden while the viewer shows the report.
  if (viewer_window_ != nullptr) {
    hide();
    viewer_->ShowReport(report_.page, page_path, report_.plain, person.name);
  }
}

void TForm1::suiButton2Click() { close(); }

void TForm1::FlatButton1Click() {
  FlatButton1->setText(FlatButton1->text() == QStringLiteral("男") ? QStringLiteral("女")
                                                                   : QStringLiteral("男"));
}

void TForm1::FlatButton2Click() {
  FlatButton2->setText(SurnameKindCaption(
      ShownSurnameKind() == SurnameKind::Single ? SurnameKind::Compound : SurnameKind::Single));
  UpdateSurnameHint();
}

void TForm1::FlatButton4Click() {
  PlayClickSound();
  if (calendar_ == nullptr && calendar_source_) calendar_ = calendar_source_();
  if (calendar_ != nullptr) calendar_->exec();
}

// --- Profiles and history ---------------------------------------------------

// The menu, top down: 保存 and 删除 for the name and birthday shown, 最近 with
// the newest reports, then the saved profiles by name. A profile's entry
// carries its name and birthday, a report's its history id.
void TForm1::FillProfileMenu() {
  ProfileMenu->clear();
  const Person inputs = Inputs();
  const QString key = Profile::KeyOf(inputs.name, inputs.birthday.date);
  QList<Profile> profiles;
  QList<HistoryEntry> history;
  bool shown = false;  // the name and birthday shown have a profile
  const bool open = OpenProfiles(Tell::Never);
  QString error = open ? QString() : profiles_error_;
  if (open) {
    try {
      profiles = profiles_.Profiles();
      history = profiles_.History(kHistoryMenuEntries);
    } catch (const Error& e) {
      error = e.message();
    }
    shown = std::any_of(profiles.cbegin(), profiles.cend(),
                        [&key](const Profile& p) { return p.Key() == key; });
  }
  if (!error.isEmpty()) {
    QAction* broken = ProfileMenu->addAction(QStringLiteral("档案库无法使用"));
    broken->setEnabled(false);
    broken->setToolTip(error);
    ProfileMenu->addSeparator();
  }

  QAction* save = ProfileMenu->addAction(QStringLiteral("保存"), this, &TForm1::SaveProfile);
  save->setObjectName(QStringLiteral("SaveProfile"));
  save->setToolTip(QStringLiteral("把现在的输入存为档案“%1”").arg(key));
  QAction* remove = ProfileMenu->addAction(QStringLiteral("删除"), this, [this, inputs] {
    DeleteProfile(inputs.name, inputs.birthday.date);
  });
  remove->setObjectName(QStringLiteral("DeleteProfile"));
  remove->setEnabled(shown);
  remove->setToolTip(shown ? QStringLiteral("删除档案“%1”").arg(key)
                           : QStringLiteral("“%1”没有保存过").arg(key));

  QMenu* recent = ProfileMenu->addMenu(QStringLiteral("最近"));
  recent->setObjectName(QStringLiteral("HistoryMenu"));
  recent->setFont(ProfileMenu->font());
  recent->menuAction()->setObjectName(QStringLiteral("History"));
  for (const HistoryEntry& e : history) {
    // The day it was made, since this year's forecasts follow the clock.
    const QString made = e.made.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    recent->addAction(made + QStringLiteral("　") + e.inputs.Key(), this,
                      [this, id = e.id] { HistoryChosen(id); });
  }
  recent->setEnabled(!history.isEmpty());

  ProfileMenu->addSeparator();
  if (profiles.isEmpty()) {
    ProfileMenu->addAction(QStringLiteral("（还没有保存的档案）"))->setEnabled(false);
  }
  for (const Profile& p : profiles) {
    QAction* entry = ProfileMenu->addAction(p.Key());
    entry->setProperty("profile_name", p.name);
    entry->setProperty("profile_birthday", p.birthday);
    entry->setToolTip(QStringLiteral("填入这份档案；按 Delete 删除它"));
    connect(entry, &QAction::triggered, this,
            [this, name = p.name, day = p.birthday] { ProfileChosen(name, day); });
  }
}

void TForm1::ProfileChosen(const QString& name, const QDate& birthday) {
  if (!OpenProfiles(Tell::Always)) return;
  try {
    const std::optional<Profile> profile = profiles_.Find(name, birthday);
    if (!profile) {
      ErrorBox(this, QStringLiteral("档案“%1”已不在了").arg(Profile::KeyOf(name, birthday)));
      return;
    }
    SetInputs(PersonOf(*profile));
  } catch (const Error& e) {
    ErrorBox(this, e.message());
  }
}

void TForm1::SaveProfile() {
  // The boxes' corrections on leaving come first, as for the report.
  FlatEdit1Exit();
  FlatComboBox6Exit();
  if (!OpenProfiles(Tell::Always)) return;
  const Profile profile = ProfileOf(Inputs());
  try {
    const std::optional<Profile> old = profiles_.Find(profile.name, profile.birthday);
    if (old && !old->SameInputs(profile) &&
        !AskYesNo(this, QStringLiteral("已有档案“%1”，要用现在的输入替换它吗？").arg(profile.Key()),
                  QStringLiteral("替换"), QStringLiteral("取消"))) {
      return;
    }
    profiles_.Save(profile);
  } catch (const Error& e) {
    ErrorBox(this, e.message());
    return;
  }
  InfoBox(this, QStringLiteral("已保存档案“%1”。").arg(profile.Key()));
}

void TForm1::DeleteProfile(const QString& name, const QDate& birthday) {
  if (!OpenProfiles(Tell::Always)) return;
  const QString key = Profile::KeyOf(name, birthday);
  if (!AskYesNo(this, QStringLiteral("删除档案“%1”吗？删除后不能恢复。").arg(key),
                QStringLiteral("删除"), QStringLiteral("取消"))) {
    return;
  }
  try {
    profiles_.Delete(name, birthday);
  } catch (const Error& e) {
    ErrorBox(this, e.message());
  }
}

void TForm1::HistoryChosen(qint64 id) {
  if (!OpenProfiles(Tell::Always)) return;
  std::optional<HistoryEntry> entry;
  try {
    entry = profiles_.HistoryEntryOf(id);
  } catch (const Error& e) {
    ErrorBox(this, e.message());
    return;
  }
  if (!entry) {
    ErrorBox(this, QStringLiteral("这份报告已不在最近的记录中"));
    return;
  }
  // The window shows what the report is made from, for when the user comes back.
  SetInputs(PersonOf(entry->inputs));
  RunReportFor(Inputs());
}

// --- Input behaviour ---------------------------------------------------------

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == ProfileMenu && type == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
    // Delete on a profile's entry: asked once the menu has closed.
    const QAction* action = ProfileMenu->activeAction();
    if (action != nullptr && action->property("profile_birthday").isValid()) {
      const QString name = action->property("profile_name").toString();
      const QDate birthday = action->property("profile_birthday").toDate();
      ProfileMenu->close();
      QTimer::singleShot(0, this, [this, name, birthday] { DeleteProfile(name, birthday); });
    }
    return true;
  }
  if (type == QEvent::KeyPress && IsInput(watched)) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Enter in any input is 马上算命, with the box's correction on leaving first.
      if (watched == FlatEdit1) FlatEdit1Exit();
      if (watched == FlatComboBox6) FlatComboBox6Exit();
      suiButton1Click();
      return true;
    }
  }
  if (watched == FlatEdit1) {
    if (type == QEvent::KeyPress) return FlatEdit1KeyPress(static_cast<QKeyEvent*>(event));
    if (type == QEvent::InputMethod) {
      FlatEdit1InputMethod(static_cast<QInputMethodEvent*>(event));
      return false;
    }
  } else if (watched == FlatEdit2) {
    if (type == QEvent::KeyPress) return FlatEdit2KeyPress(static_cast<QKeyEvent*>(event));
  }
  if (watched == Image6 && type == QEvent::Paint && !painted_) {
    // The artwork covers the whole window, so its first paint is the window's.
    painted_ = true;
    QTimer::singleShot(0, this, &TForm1::FirstPaint);
  }
  if (type == QEvent::FocusOut) {
    // Leaving the box for another control of the window; a window that is
    // deactivated or a popup of the box itself does not count.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      if (watched == FlatEdit1) FlatEdit1Exit();
      if (watched == FlatComboBox6) FlatComboBox6Exit();
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool TForm1::FlatEdit1KeyPress(QKeyEvent* event) {
  if (!DeliversCharacter(event)) return false;
  const QString text = event->text();
  // Backspace and Enter edit the box rather than type into it.
  if (text.front().category() == QChar::Other_Control) return false;
  return NameCharacters(text) != text;
}

void TForm1::FlatEdit1InputMethod(QInputMethodEvent* event) {
  // Input methods deliver whole words; the same characters are refused as
  // typed ones, the rest of the commit goes through.
  const QString commit = event->commitString();
  if (commit.isEmpty()) return;
  const QString kept = NameCharacters(commit);
  if (kept != commit) {
    event->setCommitString(kept, event->replacementStart(), event->replacementLength());
  }
}

void TForm1::FlatEdit1Exit() {
  QString name = FlatEdit1->text();
  if (GbkLength(name) > 8) name = GbkLeft(name, 8);
  if (GbkLength(name) < 2) name = QStringLiteral("输入有误");
  if (name != FlatEdit1->text()) FlatEdit1->setText(name);
}

bool TForm1::FlatEdit2KeyPress(QKeyEvent* event) {
  if (!DeliversCharacter(event)) return false;
  for (QChar c : event->text()) {
    if (c < u'0' || c > u'9') return true;
  }
  return false;
}

void TForm1::FlatComboBox6Exit() {
  // Emptied: the first entry. A double hour's name alone ("午时"): its entry.
  const int index =
      FlatComboBox6->currentText().isEmpty() ? 0 : BirthHourIndex(FlatComboBox6->currentText());
  if (index >= 0 && FlatComboBox6->currentText() != FlatComboBox6->itemText(index)) {
    FlatComboBox6->setCurrentIndex(index);
    FlatComboBox6->setEditText(FlatComboBox6->itemText(index));
  }
}

bool TForm1::IsInput(const QObject* watched) const {
  for (const QObject* input : std::initializer_list<const QObject*>{
           FlatEdit1, FlatEdit2, FlatComboBox2, FlatComboBox3, FlatComboBox4, FlatComboBox5,
           FlatComboBox6, FlatEdit4, FlatComboBox7, FlatEdit5}) {
    if (input != nullptr && watched == input) return true;
  }
  return false;
}

void TForm1::OptionalBoxClick() {
  BuildOptionalGroups();
  FitInputPanel();
}

void TForm1::FitInputPanel() {
  if (InputPanel == nullptr) return;
  int bottom = FlatComboBox6->geometry().bottom();
  if (FlatEdit2 != nullptr) {
    const bool moment = suiCheckBox8->isChecked();
    FlatEdit4->move(FlatEdit4->x(), FlatComboBox6->y());
    FlatEdit4->setVisible(moment);
    FlatComboBox6->resize(moment ? kTimeX - 3 - kInputX : 148, kRowHeight);
    // Each group: its check box and its controls with their rows.
    struct Row {
      QWidget* widget;
      int row;
    };
    struct Group {
      const QCheckBox* box;
      std::vector<Row> rows;
    };
    const Group groups[] = {
        {suiCheckBox8,
         {{MLabel8, 0}, {FlatComboBox7, 0}, {FlatEdit5, 0}, {suiCheckBox9, 1}, {suiCheckBox10, 1}}},
        {suiCheckBox5, {{MLabel5, 0}, {FlatEdit2, 0}}},
        {suiCheckBox6,
         {{MLabel6, 0},
          {Label25, 0},
          {FlatComboBox2, 0},
          {Label21, 0},
          {Label27, 1},
          {FlatComboBox3, 1},
          {Label22, 1}}},
        {suiCheckBox7,
         {{MLabel1, 0},
          {Label36, 0},
          {FlatComboBox4, 0},
          {Label40, 0},
          {Label37, 1},
          {FlatComboBox5, 1}}},
    };
    int top = bottom + 1 + kGroupGap;
    for (const Group& group : groups) {
      const bool on = group.box->isChecked();
      int rows = 1;
      for (const Row& row : group.rows) {
        row.widget->move(row.widget->x(), top + row.row * kSubRowPitch);
        row.widget->setVisible(on);
        rows = std::max(rows, row.row + 1);
      }
      if (!on) continue;
      bottom = top + (rows - 1) * kSubRowPitch + kRowHeight - 1;
      top = bottom + 1 + kGroupGap;
    }
  }
  QRect r = InputPanel->geometry();
  r.setBottom(bottom + 12);
  InputPanel->setGeometry(r);
}

// --- Window ------------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* event) {
  // The report page and its restyled copy go with the window.
  CleanCachePages(true);
  event->accept();
  emit Closed();
}

}  // namespace tessaly
