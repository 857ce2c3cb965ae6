// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as the user would drive it: its controls and their
// defaults, the filters of the name and mobile boxes (typed keys, input method
// commits, pasting, dropping, setting), the corrections on leaving a box, the
// toggles, the groups that the check boxes show, the keyboard (first focus, Tab
// order, focus marks), the disclaimer's tooltip, the store at creation, the report command,
// dragging, the clean-up when it closes, and the 档案 menu with the profile store
// and the history of reports.

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

#include "app/main_window.h"
#include "controls/artwork.h"
#include "controls/gradient_label.h"
#include "controls/report_viewer.h"
#include "core/clock.h"
#include "core/errors.h"
#include "core/text.h"
#include "gui_support.h"
#include "store/profile_store.h"

Q_DECLARE_METATYPE(tessaly::Person)

namespace tessaly {

using test::CachePath;
using test::DialogWatcher;

namespace {

// Types text key by key; characters without a key of their own arrive as the
// text of a key event, as a keyboard layout delivers them.
void Type(QWidget* widget, const QString& text) {
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype units = text[i].isHighSurrogate() ? 2 : 1;
    const QString ch = text.mid(i, units);
    i += units;
    if (units == 1 && ch.front().unicode() < 0x80) {
      QTest::keyClick(widget, ch.front().toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, ch, Qt::NoModifier);
    }
  }
}

// Stands in for the result viewer: a plain window that keeps what it is shown.
class ViewerStandIn : public QWidget, public ReportViewer {
 public:
  ViewerStandIn() : QWidget(nullptr, Qt::Window) {}

  void ShowReport(const QStringList& shown_page, const QString& shown_path,
                  const QStringList& shown_plain, const QString& shown_name) override {
    page = shown_page;
    page_path = shown_path;
    plain_report = shown_plain;
    name = shown_name;
    show();
  }
  QWidget* Window() override { return this; }
  void SetBackHandler(std::function<void()> handler) override { back_ = std::move(handler); }
  void SetNameChooserHandler(std::function<void()>) override {}

  // The user leaves the viewer.
  void Back() {
    hide();
    if (back_) back_();
  }

  QStringList page;
  QString page_path;
  QStringList plain_report;
  QString name;

 private:
  std::function<void()> back_;
};

// The person's every field, to compare as text.
QStringList Fields(const Person& p) {
  return {p.name,
          SexText(p.sex),
          SurnameKindText(p.surname_kind),
          p.birthday.date.toString(Qt::ISODate),
          p.birthday.time.toString(Qt::ISODate),
          p.birth_hour,
          QString::number(p.birth_hour_index),
          p.mobile,
          p.mother_age,
          p.pregnancy_month,
          p.conception_age,
          p.wish,
          QString::number(p.wish_index),
          ReadingWords(p.readings).join(u','),
          p.birth_time,
          p.birth_place,
          p.birth_longitude ? QString::number(*p.birth_longitude) : QStringLiteral("none"),
          p.daylight_saving ? QStringLiteral("dst") : QStringLiteral("no dst"),
          p.late_zi_next_day ? QStringLiteral("late 子时 next day") : QStringLiteral("same day")};
}

Person Sample(const char* name, QDate birthday) {
  Person p;
  p.name = QString::fromUtf8(name);
  p.birthday = DateTime::AtMidnight(birthday);
  return p;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void FramelessWindow();
  void NothingOverlaps_data();
  void NothingOverlaps();
  void Controls_data();
  void Controls();
  void Lists();
  void NameKeyFilter_data();
  void NameKeyFilter();
  void NameInputMethod_data();
  void NameInputMethod();
  void NameCorrectionOnLeaving_data();
  void NameCorrectionOnLeaving();
  void NameKeptWhenTheWindowIsLeft();
  void MobileKeyFilter_data();
  void MobileKeyFilter();
  void EveryRouteFiltered_data();
  void EveryRouteFiltered();
  void Toggles_data();
  void Toggles();
  void BirthHourCorrection_data();
  void BirthHourCorrection();
  void Groups_data();
  void Groups();
  void BirthTimeSetsTheHour_data();
  void BirthTimeSetsTheHour();
  void BirthMomentInputs();
  void BadLongitude();
  void TypingGoesToTheNameBox();
  void TabOrder();
  void SpaceTicksAReachedCheckBox();
  void EnterRunsTheReport_data();
  void EnterRunsTheReport();
  void CompoundSurnameHint_data();
  void CompoundSurnameHint();
  void ReportForAnotherName();
  void MinimiseAndClose();
  void FocusMarksInSkinColours_data();
  void FocusMarksInSkinColours();
  void FetalDisclaimerTooltip_data();
  void FetalDisclaimerTooltip();
  void CheckBoxSelectsItsReading_data();
  void CheckBoxSelectsItsReading();
  void Birthday();
  void MissingStore();
  void DamagedStore();
  void ReportShowsViewer();
  void ReportErrorKeepsViewerHidden();
  void MobileMessageLetsReportGoOn();
  void AgeBoxesTakeTheSameTexts_data();
  void AgeBoxesTakeTheSameTexts();
  void CloseDeletesPages();
  void DragWithAnyButton_data();
  void DragWithAnyButton();
  void FirstPaintOnce();
  void ProfileRoundTrip_data();
  void ProfileRoundTrip();
  void SaveAsksBeforeReplacing_data();
  void SaveAsksBeforeReplacing();
  void DeleteAsks_data();
  void DeleteAsks();
  void ReportJoinsHistoryAndStartsTheNextWindow();
  void HistoryEntryReopensReport();
  void UnusableProfileStore_data();
  void UnusableProfileStore();
  void DamagedProfileStore();

 private:
  // The window, with the profile store at `profiles` (the test's own when empty).
  void Open(const QString& store_path = ReferenceStore::DefaultPath(),
            const QString& profiles = {});
  template <typename T>
  T* Find(const char* name) const {
    T* w = form_->findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) qWarning("no control %s", name);
    return w;
  }
  QLineEdit* Edit(const char* name) const { return Find<QLineEdit>(name); }
  // Moves the focus on with Tab, as leaving a box does.
  void Leave(QWidget* box) const { QTest::keyClick(box, Qt::Key_Tab); }
  void ClearAndFocus(QLineEdit* edit) const;
  // Opens the 档案 menu with a click and runs `act` on it while it shows; the
  // menu is closed afterwards if `act` left it open.
  void InMenu(const std::function<void(QMenu*)>& act);
  // Picks the entry of the 档案 menu with this text (or object name) as the
  // keyboard does: highlighted, then Enter.
  void Pick(const QString& entry);

  // Each test starts with no profiles and no history.
  QString ProfilesPath() const {
    return profiles_dir_->filePath(QStringLiteral("profiles.sqlite"));
  }
  // The test's profile store, as the window left it.
  std::unique_ptr<ProfileStore> Stored() const {
    auto store = std::make_unique<ProfileStore>();
    store->Open(ProfilesPath());
    return store;
  }

  std::unique_ptr<DialogWatcher> watcher_;
  std::unique_ptr<QTemporaryDir> profiles_dir_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<ViewerStandIn> viewer_;
};

void MainWindowTest::init() {
  watcher_ = std::make_unique<DialogWatcher>();
  profiles_dir_ = std::make_unique<QTemporaryDir>();
  QFile::remove(CachePath("temp.htm"));
  QFile::remove(CachePath("temp.tmp"));
}

void MainWindowTest::cleanup() {
  viewer_.reset();
  form_.reset();
  profiles_dir_.reset();
  watcher_.reset();
}

void MainWindowTest::Open(const QString& store_path, const QString& profiles) {
  form_ = std::make_unique<TForm1>(store_path);
  form_->SetProfileStorePath(profiles.isEmpty() ? ProfilesPath() : profiles);
  form_->FormCreate();
  viewer_ = std::make_unique<ViewerStandIn>();
  form_->SetViewer(viewer_.get());
  form_->show();
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void MainWindowTest::ClearAndFocus(QLineEdit* edit) const {
  edit->setFocus(Qt::MouseFocusReason);
  edit->clear();
}

void MainWindowTest::FramelessWindow() {
  Open();
  QVERIFY(form_->windowFlags() & Qt::FramelessWindowHint);
  QCOMPARE(form_->size(), QSize(640, 480));
  QCOMPARE(form_->minimumSize(), form_->maximumSize());
  QCOMPARE(form_->windowTitle(), QStringLiteral("Tessaly"));
  auto* image = Find<TArtwork>("Image6");
  QCOMPARE(image->geometry(), QRect(0, 0, 640, 480));
  QVERIFY2(image->HasPicture(), "the shipped artwork should decode cleanly");
  QCOMPARE(image->PictureSize(), QSize(640, 480));
  QVERIFY(watcher_->boxes.isEmpty());
}

void MainWindowTest::NothingOverlaps_data() {
  QTest::addColumn<QString>("name");  // in the input box
  QTest::addColumn<bool>("groups");   // the optional groups shown
  QTest::newRow("hint and every group") << "欧阳雨辰" << true;
  QTest::newRow("no hint, every group") << "张小明" << true;
}

void MainWindowTest::NothingOverlaps() {
  QFETCH(QString, name);
  QFETCH(bool, groups);
  Open();
  Edit("FlatEdit1")->setText(name);
  for (const char* box : {"suiCheckBox5", "suiCheckBox6", "suiCheckBox7", "suiCheckBox8"})
    Find<QCheckBox>(box)->setChecked(groups);
  // The artwork and the paper panels are what the controls stand on.
  const auto ground = [](const QWidget* w) {
    return qobject_cast<const TArtwork*>(w) != nullptr || w->property("skin") == "panel";
  };
  QCOMPARE(test::Misplaced(form_.get(), ground), QStringList());
  QCOMPARE(test::Misplaced(Find<QWidget>("FlatPanel1"), ground), QStringList());
  // The input column stays on its panel.
  const QRect panel = Find<QWidget>("InputPanel")->geometry();
  for (const char* input : {"FlatEdit1", "ProfileButton", "FlatComboBox6", "FlatEdit4",
                            "suiCheckBox10", "FlatComboBox5", "SurnameSwitch"}) {
    auto* w = Find<QWidget>(input);
    if (w->isVisible()) QVERIFY2(panel.contains(w->geometry()), input);
  }
  QVERIFY(form_->rect().contains(panel));
}

void MainWindowTest::Controls_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<bool>("visible");
  QTest::addColumn<int>("checked");  // -1: no check box

  auto row = [](const char* name, const char* caption, bool visible, int checked = -1) {
    QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << visible
                        << checked;
  };
  row("suiButton1", "马上算命", true);
  row("suiButton2", "退出软件", true);
  row("suiCheckBox1", "测算姓名祸福", true, 1);
  row("suiCheckBox2", "一生命运预测", true, 1);
  row("suiCheckBox4", "今年属相预测", true, 1);
  row("suiCheckBox3", "今年星座预测", true, 1);
  row("suiCheckBox5", "手机号码吉凶", true, 0);
  row("suiCheckBox6", "胎儿性别预测", true, 0);
  row("suiCheckBox7", "最佳怀孕时间", true, 0);
  row("suiCheckBox8", "生辰八字分析", true, 0);
  row("MLabel2", "姓名：", true);
  row("FlatEdit1", "欧阳雨辰", true);
  row("MLabel3", "性别：", true);
  row("FlatButton1", "男", true);
  row("FlatButton2", "姓氏单姓", true);
  row("MLabel4", "生日：", true);
  row("MLabel7", "时辰：", true);
  row("FlatComboBox6", "23-01时 子时", true);
  row("MLabel5", "手机号码：", false);
  row("FlatEdit2", "13113213313", false);
  row("MLabel6", "胎儿性别：", false);
  row("Label25", "母亲年龄", false);
  row("Label21", "虚岁", false);
  row("FlatComboBox2", "18", false);
  row("Label27", "怀孕月份", false);
  row("Label22", "公历", false);
  row("FlatComboBox3", "01", false);
  row("MLabel1", "怀孕时间：", false);
  row("Label36", "母亲年龄", false);
  row("Label40", "虚岁", false);
  row("FlatComboBox4", "18", false);
  row("Label37", "母亲愿望", false);
  row("FlatComboBox5", "男孩", false);
  row("MLabel8", "出生地点：", false);
  row("FlatEdit4", "", false);
  row("FlatComboBox7", "", false);
  row("FlatEdit5", "", false);
  row("suiCheckBox9", "夏令时换算", false, 1);
  row("suiCheckBox10", "晚子时归次日", false, 1);
}

void MainWindowTest::Controls() {
  QFETCH(QString, name);
  QFETCH(QString, caption);
  QFETCH(bool, visible);
  QFETCH(int, checked);
  Open();
  QWidget* w = form_->findChild<QWidget*>(name);
  QVERIFY2(w != nullptr, qPrintable(name));
  QCOMPARE(w->isVisible(), visible);
  QString text;
  if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) text = e->text();
  if (auto* c = qobject_cast<QComboBox*>(w)) text = c->currentText();
  if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
  QCOMPARE(text, caption);
  if (checked >= 0) QCOMPARE(qobject_cast<QCheckBox*>(w)->isChecked(), checked == 1);
  if (auto* heading = qobject_cast<TMLabel*>(w)) {
    // Every heading: red to blue, bold.
    QCOMPARE(heading->Color1(), QColor(255, 0, 0));
    QCOMPARE(heading->Color2(), QColor(0, 0, 255));
    QCOMPARE(heading->ColorStyle(), TColorStyle::Horizontal);
    QVERIFY(heading->font().bold());
    QCOMPARE(heading->font().pixelSize(), 13);
  }
}

void MainWindowTest::Lists() {
  Open();
  auto items = [](const QComboBox* box) {
    QStringList list;
    for (int i = 0; i < box->count(); ++i) list << box->itemText(i);
    return list;
  };
  QCOMPARE(items(Find<QComboBox>("FlatComboBox6")), BirthHourItems());
  const QStringList hours = items(Find<QComboBox>("FlatComboBox6"));
  QCOMPARE(hours.first(), QStringLiteral("23-01时 子时"));
  QCOMPARE(hours.last(), QStringLiteral("21-23时 亥时"));
  const QStringList ages = items(Find<QComboBox>("FlatComboBox2"));
  QCOMPARE(ages.size(), 27);
  QCOMPARE(ages.first(), QStringLiteral("18"));
  QCOMPARE(ages.last(), QStringLiteral("44"));
  QCOMPARE(items(Find<QComboBox>("FlatComboBox4")), ages);
  const QStringList months = items(Find<QComboBox>("FlatComboBox3"));
  QCOMPARE(months.size(), 12);
  QCOMPARE(months.first(), QStringLiteral("01"));
  QCOMPARE(months.last(), QStringLiteral("12"));
  QCOMPARE(items(Find<QComboBox>("FlatComboBox5")),
           QStringList({QStringLiteral("男孩"), QStringLiteral("女孩")}));
  for (const char* name :
       {"FlatComboBox2", "FlatComboBox3", "FlatComboBox4", "FlatComboBox5", "FlatComboBox6"}) {
    QVERIFY2(Find<QComboBox>(name)->isEditable(), name);
  }
  QVERIFY(Edit("FlatEdit3")->isReadOnly());
  QCOMPARE(Find<QPushButton>("FlatButton4")->toolTip(), QStringLiteral("选择生日"));
}

void MainWindowTest::NameKeyFilter_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("expected");
  QTest::newRow("latin letters") << "abcXYZ"
                                 << "";
  QTest::newRow("digits") << "0123456789"
                          << "";
  QTest::newRow("spaces") << "   "
                          << "";
  QTest::newRow("chinese") << "张三丰"
                           << "张三丰";
  QTest::newRow("mixed") << "张a三 1丰Z"
                         << "张三丰";
  QTest::newRow("ascii punctuation dropped") << "-·.,"
                                             << "·";
  QTest::newRow("full-width digits pass") << "１２"
                                          << "１２";
  QTest::newRow("not in GBK") << "한😀张"
                              << "张";
  QTest::newRow("chinese beyond GBK") << "𠮷䶮"
                                      << "𠮷䶮";
}

void MainWindowTest::NameKeyFilter() {
  QFETCH(QString, typed);
  QFETCH(QString, expected);
  Open();
  QLineEdit* name = Edit("FlatEdit1");
  ClearAndFocus(name);
  Type(name, typed);
  QCOMPARE(name->text(), expected);
}

void MainWindowTest::NameInputMethod_data() {
  QTest::addColumn<QString>("commit");
  QTest::addColumn<QString>("expected");
  QTest::newRow("chinese word") << "李四"
                                << "李四";
  QTest::newRow("latin and digits dropped") << "王a5五"
                                            << "王五";
  QTest::newRow("blank dropped") << "司马 光"
                                 << "司马光";
  QTest::newRow("not in GBK") << "😀"
                              << "";
  QTest::newRow("chinese beyond GBK") << "𠮷a䶮"
                                      << "𠮷䶮";
}

void MainWindowTest::NameInputMethod() {
  QFETCH(QString, commit);
  QFETCH(QString, expected);
  Open();
  QLineEdit* name = Edit("FlatEdit1");
  ClearAndFocus(name);
  // A preedit first (the input method composing), then the commit.
  QInputMethodEvent preedit(QStringLiteral("li"), {});
  QApplication::sendEvent(name, &preedit);
  QInputMethodEvent event;
  event.setCommitString(commit);
  QApplication::sendEvent(name, &event);
  QCOMPARE(name->text(), expected);
  // Backspace works as usual in the name box.
  if (!expected.isEmpty()) {
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(name->text(), expected.chopped(1));
  }
}

void MainWindowTest::NameCorrectionOnLeaving_data() {
  QTest::addColumn<QString>("pasted");  // its single-byte characters never get in
  QTest::addColumn<QString>("expected");
  QTest::newRow("five characters cut to four") << "欧阳雨辰星"
                                               << "欧阳雨辰";
  QTest::newRow("four characters kept") << "欧阳雨辰"
                                        << "欧阳雨辰";
  QTest::newRow("one character kept") << "张"
                                      << "张";
  QTest::newRow("emptied") << ""
                           << "输入有误";
  QTest::newRow("one byte") << "a"
                            << "输入有误";
  QTest::newRow("two single bytes") << "ab"
                                    << "输入有误";
  QTest::newRow("single bytes between characters") << "张三a李四"
                                                   << "张三李四";
  QTest::newRow("beyond GBK, a piece each") << "𠮷䶮吉祥如"
                                            << "𠮷䶮吉祥";
}

void MainWindowTest::NameCorrectionOnLeaving() {
  QFETCH(QString, pasted);
  QFETCH(QString, expected);
  Open();
  QLineEdit* name = Edit("FlatEdit1");
  ClearAndFocus(name);
  if (!pasted.isEmpty()) {
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keySequence(name, QKeySequence::Paste);
    QCOMPARE(name->text(), WithoutSingleBytes(pasted));
  }
  Leave(name);
  QVERIFY(!name->hasFocus());
  QCOMPARE(name->text(), expected);
  QCOMPARE(form_->Inputs().name, expected);
}

void MainWindowTest::NameKeptWhenTheWindowIsLeft() {
  // Switching to another window is not leaving the box.
  Open();
  QLineEdit* name = Edit("FlatEdit1");
  ClearAndFocus(name);
  QWidget other;
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  QCOMPARE(name->text(), QString());
}

void MainWindowTest::MobileKeyFilter_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("key");  // pressed after typing; 0: none
  QTest::addColumn<QString>("expected");
  QTest::newRow("digits") << ""
                          << "13912345678" << 0 << "13912345678";
  QTest::newRow("letters and signs swallowed") << ""
                                               << "1a-3 +b9" << 0 << "139";
  QTest::newRow("backspace swallowed") << "138"
                                       << "" << int(Qt::Key_Backspace) << "138";
  QTest::newRow("full-width digits swallowed") << ""
                                               << "１２3" << 0 << "3";
}

void MainWindowTest::MobileKeyFilter() {
  QFETCH(QString, start);
  QFETCH(QString, typed);
  QFETCH(int, key);
  QFETCH(QString, expected);
  Open();
  Find<QCheckBox>("suiCheckBox5")->setChecked(true);
  QLineEdit* mobile = Edit("FlatEdit2");
  ClearAndFocus(mobile);
  mobile->setText(start);
  Type(mobile, typed);
  if (key != 0) QTest::keyClick(mobile, static_cast<Qt::Key>(key));
  QCOMPARE(mobile->text(), expected);
}

void MainWindowTest::EveryRouteFiltered_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("route");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("expected");
  for (const char* route : {"paste", "drop", "insert", "set"}) {
    QTest::addRow("mobile, %s", route) << "FlatEdit2" << route << "139 1234-5678１x"
                                       << "13912345678";
    QTest::addRow("name, %s", route) << "FlatEdit1" << route << "张a 𠮷.1😀"
                                     << "张𠮷";
    QTest::addRow("time, %s", route) << "FlatEdit4" << route << "２３：30"
                                     << "23:30";
  }
}

void MainWindowTest::EveryRouteFiltered() {
  QFETCH(QString, box);
  QFETCH(QString, route);
  QFETCH(QString, text);
  QFETCH(QString, expected);
  Open();
  Find<QCheckBox>("suiCheckBox5")->setChecked(true);
  Find<QCheckBox>("suiCheckBox8")->setChecked(true);
  QLineEdit* edit = form_->findChild<QLineEdit*>(box);
  ClearAndFocus(edit);
  if (route == QLatin1String("paste")) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keySequence(edit, QKeySequence::Paste);
  } else if (route == QLatin1String("drop")) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &drop);
  } else if (route == QLatin1String("insert")) {
    edit->insert(text);
  } else {
    edit->setText(text);
  }
  QCOMPARE(edit->text(), expected);
}

void MainWindowTest::Toggles_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<int>("clicks");
  QTest::addColumn<QString>("expected");
  QTest::newRow("sex once") << "FlatButton1" << 1 << "女";
  QTest::newRow("sex twice") << "FlatButton1" << 2 << "男";
  QTest::newRow("sex three times") << "FlatButton1" << 3 << "女";
  QTest::newRow("surname once") << "FlatButton2" << 1 << "姓氏复姓";
  QTest::newRow("surname twice") << "FlatButton2" << 2 << "姓氏单姓";
}

void MainWindowTest::Toggles() {
  QFETCH(QString, button);
  QFETCH(int, clicks);
  QFETCH(QString, expected);
  Open();
  auto* b = form_->findChild<QPushButton*>(button);
  for (int i = 0; i < clicks; ++i) QTest::mouseClick(b, Qt::LeftButton);
  QCOMPARE(b->text(), expected);
  const Person in = form_->Inputs();
  QCOMPARE(button == QLatin1String("FlatButton1")
               ? SexText(in.sex)
               : QStringLiteral("姓氏") + SurnameKindText(in.surname_kind),
           expected);
}

void MainWindowTest::BirthHourCorrection_data() {
  QTest::addColumn<int>("start_index");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("expected");
  QTest::addColumn<int>("expected_index");
  QTest::newRow("emptied selects the first") << 5 << ""
                                             << "23-01时 子时" << 0;
  QTest::newRow("a double hour's name selects its entry") << 0 << "午时"
                                                          << "11-13时 午时" << 6;
  QTest::newRow("other typed text stays") << 0 << "正午"
                                          << "正午" << -1;
  QTest::newRow("typed entry selects it") << 0 << "05-07时 卯时"
                                          << "05-07时 卯时" << 3;
}

void MainWindowTest::BirthHourCorrection() {
  QFETCH(int, start_index);
  QFETCH(QString, typed);
  QFETCH(QString, expected);
  QFETCH(int, expected_index);
  Open();
  auto* hour = Find<QComboBox>("FlatComboBox6");
  hour->setCurrentIndex(start_index);
  hour->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(hour, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(hour, Qt::Key_Delete);
  QCOMPARE(hour->currentText(), QString());
  Type(hour, typed);
  Leave(hour);
  QCOMPARE(hour->currentText(), expected);
  QCOMPARE(form_->Inputs().birth_hour, expected);
  QCOMPARE(form_->Inputs().birth_hour_index, expected_index);
  QCOMPARE(hour->count(), 12);  // typed text never becomes an entry
}

void MainWindowTest::Groups_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QStringList>("shown");

  const QStringList mobile = {"MLabel5", "FlatEdit2"};
  const QStringList sex = {"MLabel6", "Label25",       "Label27",      "Label21",
                           "Label22", "FlatComboBox2", "FlatComboBox3"};
  const QStringList timing = {"MLabel1", "Label36",       "Label37",
                              "Label40", "FlatComboBox4", "FlatComboBox5"};
  QTest::newRow("mobile") << "suiCheckBox5" << mobile;
  QTest::newRow("sex prediction") << "suiCheckBox6" << sex;
  QTest::newRow("conception timing") << "suiCheckBox7" << timing;
  QTest::newRow("four pillars") << "suiCheckBox8"
                                << QStringList{"FlatEdit4", "MLabel8",      "FlatComboBox7",
                                               "FlatEdit5", "suiCheckBox9", "suiCheckBox10"};
}

void MainWindowTest::Groups() {
  QFETCH(QString, box);
  QFETCH(QStringList, shown);
  Open();
  const QStringList all = {
      "MLabel5",   "FlatEdit2",     "MLabel6",       "Label25",   "Label27", "Label21",
      "Label22",   "FlatComboBox2", "FlatComboBox3", "MLabel1",   "Label36", "Label37",
      "Label40",   "FlatComboBox4", "FlatComboBox5", "FlatEdit4", "MLabel8", "FlatComboBox7",
      "FlatEdit5", "suiCheckBox9",  "suiCheckBox10"};
  auto* check = form_->findChild<QCheckBox*>(box);
  QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
  QVERIFY(check->isChecked());
  for (const QString& name : all) {
    QCOMPARE(form_->findChild<QWidget*>(name)->isVisible(), shown.contains(name));
  }
  // A group shown alone comes right under the birth hour, whatever its place.
  const int gap = form_->findChild<QWidget*>(shown[shown[0] == "FlatEdit4" ? 1 : 0])->y() -
                  Find<QWidget>("FlatComboBox6")->geometry().bottom();
  QVERIFY2(gap > 0 && gap < 12, qPrintable(QString::number(gap)));
  // Hidden again, with the values kept.
  if (box == QLatin1String("suiCheckBox7")) Find<QComboBox>("FlatComboBox5")->setCurrentIndex(1);
  QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
  QVERIFY(!check->isChecked());
  for (const QString& name : all)
    QVERIFY2(!form_->findChild<QWidget*>(name)->isVisible(), qPrintable(name));
  if (box == QLatin1String("suiCheckBox7")) QCOMPARE(form_->Inputs().wish_index, 1);
}

void MainWindowTest::BirthTimeSetsTheHour_data() {
  QTest::addColumn<QString>("time");
  QTest::addColumn<int>("hour");  // the entry of the birth-hour list
  QTest::newRow("23:30 is 子时") << "23:30" << 0;
  QTest::newRow("01:00 丑时") << "01:00" << 1;
  QTest::newRow("7:05 辰时") << "7:05" << 4;
  QTest::newRow("no such time: kept") << "24:00" << 5;
}

void MainWindowTest::BirthTimeSetsTheHour() {
  QFETCH(QString, time);
  QFETCH(int, hour);
  Open();
  Find<QComboBox>("FlatComboBox6")->setCurrentIndex(5);
  ClearAndFocus(Edit("FlatEdit4"));
  Type(Edit("FlatEdit4"), time);
  QCOMPARE(form_->Inputs().birth_hour_index, hour);
  QCOMPARE(form_->Inputs().birth_time, time);
}

void MainWindowTest::BirthMomentInputs() {
  // Made after the first paint: a window without them reads the defaults.
  QVERIFY(TForm1().Inputs().late_zi_next_day);
  Open();
  Person given;
  given.birth_place = QStringLiteral("成都");
  given.daylight_saving = given.late_zi_next_day = false;
  form_->SetBirthMoment(given);
  Person read = form_->Inputs();
  QCOMPARE(read.birth_place, given.birth_place);
  QVERIFY(!read.daylight_saving && !read.late_zi_next_day && !read.birth_longitude);
  // A typed longitude takes the place's part, a typed place the longitude's.
  Find<QCheckBox>("suiCheckBox8")->setChecked(true);
  Edit("FlatEdit5")->setFocus(Qt::MouseFocusReason);
  Type(Edit("FlatEdit5"), QStringLiteral("87.6"));
  read = form_->Inputs();
  QCOMPARE(read.birth_place, QString());
  QCOMPARE(read.birth_longitude, std::optional<double>(87.6));
  Type(Find<QComboBox>("FlatComboBox7")->lineEdit(), QStringLiteral("x"));
  QCOMPARE(Edit("FlatEdit5")->text(), QString());
}

void MainWindowTest::BadLongitude() {
  Open();
  Find<QCheckBox>("suiCheckBox8")->setChecked(true);
  Edit("FlatEdit5")->setText(QStringLiteral("东经"));
  watcher_->Clear();
  QTest::keyClick(Edit("FlatEdit5"), Qt::Key_Return);
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].text, QStringLiteral("出生地经度须在东经73°至135°之间。"));
  QVERIFY(!viewer_->isVisible() && form_->isVisible());
}

void MainWindowTest::TypingGoesToTheNameBox() {
  Open();
  // Keys go to the window, which hands them to its focus.
  QTest::sendKeyEvent(QTest::Click, form_->windowHandle(), Qt::Key_unknown, QStringLiteral("李"),
                      Qt::NoModifier);
  QCOMPARE(Edit("FlatEdit1")->text(), QStringLiteral("李"));
}

void MainWindowTest::TabOrder() {
  Open();
  for (const char* name : {"suiCheckBox5", "suiCheckBox6", "suiCheckBox7", "suiCheckBox8"})
    Find<QCheckBox>(name)->setChecked(true);
  // The sample name 欧阳雨辰 with 单姓 shows the compound-surname switch.
  const QStringList order = {
      "FlatEdit1",     "ProfileButton", "SurnameSwitch",  "FlatButton1",   "FlatButton2",
      "FlatButton4",   "FlatComboBox6", "FlatEdit4",      "FlatComboBox7", "FlatEdit5",
      "suiCheckBox9",  "suiCheckBox10", "FlatEdit2",      "FlatComboBox2", "FlatComboBox3",
      "FlatComboBox4", "FlatComboBox5", "suiButton1",     "suiButton2",    "suiCheckBox1",
      "suiCheckBox2",  "suiCheckBox4",  "suiCheckBox3",   "suiCheckBox5",  "suiCheckBox6",
      "suiCheckBox7",  "suiCheckBox8",  "MinimiseButton", "CloseButton",   "FlatEdit1"};
  QStringList visited;
  for (qsizetype i = 0; i < order.size(); ++i) {
    QWidget* w = QApplication::focusWidget();
    while (w != nullptr && w->objectName().isEmpty()) w = w->parentWidget();  // a box's edit
    visited << (w != nullptr ? w->objectName() : QString());
    QTest::keyClick(form_->windowHandle(), Qt::Key_Tab);
  }
  QCOMPARE(visited, order);
}

void MainWindowTest::SpaceTicksAReachedCheckBox() {
  Open();
  auto* box = Find<QCheckBox>("suiCheckBox5");
  const QImage unfocused = box->grab().toImage();
  box->setFocus(Qt::TabFocusReason);
  QVERIFY2(box->grab().toImage() != unfocused, "a check box reached shows a focus mark");
  QTest::keyClick(box, Qt::Key_Space);
  QVERIFY(box->isChecked());
  QVERIFY(Edit("FlatEdit2")->isVisible());
}

void MainWindowTest::EnterRunsTheReport_data() {
  QTest::addColumn<QString>("input");
  QTest::addColumn<int>("key");
  for (const char* name :
       {"FlatEdit1", "FlatComboBox6", "FlatEdit2", "FlatComboBox2", "FlatComboBox3",
        "FlatComboBox4", "FlatComboBox5", "FlatEdit4", "FlatComboBox7", "FlatEdit5"}) {
    QTest::newRow(name) << QString::fromLatin1(name) << int(Qt::Key_Return);
  }
  QTest::newRow("keypad Enter") << "FlatComboBox6" << int(Qt::Key_Enter);
}

void MainWindowTest::EnterRunsTheReport() {
  QFETCH(QString, input);
  QFETCH(int, key);
  Open();
  for (const char* name : {"suiCheckBox5", "suiCheckBox6", "suiCheckBox7", "suiCheckBox8"})
    Find<QCheckBox>(name)->setChecked(true);
  auto* w = form_->findChild<QWidget*>(input);
  w->setFocus(Qt::TabFocusReason);
  // The hour box's name alone, selected as on leaving the box.
  Find<QComboBox>("FlatComboBox6")->setEditText(QStringLiteral("午时"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
  QVERIFY(viewer_->isVisible());
  QVERIFY(!form_->isVisible());
  QVERIFY2(watcher_->boxes.isEmpty(), qPrintable(watcher_->boxes.value(0).text));
  QVERIFY(viewer_->plain_report.join('\n').contains(QStringLiteral("午时")));
}

void MainWindowTest::CompoundSurnameHint_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("compound");  // the kind chosen
  QTest::addColumn<QString>("hint");   // empty: none
  QTest::newRow("司马 as 单姓") << "司马光" << false << "“司马”通常是复姓，";
  QTest::newRow("欧阳 as 复姓") << "欧阳雨辰" << true << "";
  QTest::newRow("the surname alone") << "欧阳" << false << "";
  QTest::newRow("a single surname") << "张小明" << false << "";
}

void MainWindowTest::CompoundSurnameHint() {
  QFETCH(QString, name);
  QFETCH(bool, compound);
  QFETCH(QString, hint);
  Open();
  QLineEdit* box = Edit("FlatEdit1");
  ClearAndFocus(box);
  Type(box, name);
  if (compound) QTest::mouseClick(Find<QPushButton>("FlatButton2"), Qt::LeftButton);
  auto* label = Find<QLabel>("SurnameHint");
  auto* button_switch = Find<QPushButton>("SurnameSwitch");
  auto* sex = Find<QPushButton>("FlatButton1");
  QCOMPARE(label->isVisible(), !hint.isEmpty());
  QCOMPARE(button_switch->isVisible(), !hint.isEmpty());
  // Nothing changes by itself.
  QCOMPARE(form_->Inputs().surname_kind, compound ? SurnameKind::Compound : SurnameKind::Single);
  if (hint.isEmpty()) {
    QCOMPARE(sex->y(), 148);
    return;
  }
  QCOMPARE(label->text(), hint);
  // The line under the name overlaps nothing: the rows below make room.
  QVERIFY(label->geometry().top() > box->geometry().bottom());
  QVERIFY(sex->geometry().top() > button_switch->geometry().bottom());
  QTest::mouseClick(button_switch, Qt::LeftButton);
  QCOMPARE(form_->Inputs().surname_kind, SurnameKind::Compound);
  QCOMPARE(sex->y(), 148);
  QVERIFY(!label->isVisible());
}

void MainWindowTest::ReportForAnotherName() {
  Open();
  form_->ReportFor(QStringLiteral("司马光"), SurnameKind::Compound);
  QCOMPARE(viewer_->name, QStringLiteral("司马光"));
  QVERIFY(viewer_->plain_report.first().startsWith(QStringLiteral("    司马光  生于 ")));
  // The window's own name box and kind stay.
  QCOMPARE(form_->Inputs().name, QStringLiteral("欧阳雨辰"));
  QCOMPARE(form_->Inputs().surname_kind, SurnameKind::Single);
}

void MainWindowTest::MinimiseAndClose() {
  Open();
  auto* close = Find<QAbstractButton>("CloseButton");
  const QPoint corner = close->mapTo(form_.get(), QPoint(close->width(), 0));
  QVERIFY(corner.x() > 600 && corner.y() < 40);  // the artwork's top right corner
  QTest::mouseClick(Find<QAbstractButton>("MinimiseButton"), Qt::LeftButton);
  QVERIFY(form_->isMinimized());
  QSignalSpy closed(form_.get(), &TForm1::Closed);
  QTest::mouseClick(close, Qt::LeftButton);
  QCOMPARE(closed.size(), 1);
}

void MainWindowTest::FocusMarksInSkinColours_data() {
  QTest::addColumn<QString>("name");
  for (const char* name : {"suiCheckBox1", "suiButton1", "FlatButton1", "MinimiseButton"}) {
    QTest::newRow(name) << QString::fromLatin1(name);
  }
}

void MainWindowTest::FocusMarksInSkinColours() {
  QFETCH(QString, name);
  Open();
  // Reached by keyboard, which is when focus marks show.
  auto* w = form_->findChild<QWidget*>(name);
  w->setFocus(Qt::TabFocusReason);
  QTest::keyClick(w, Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  QVERIFY(w->hasFocus());
  // Nothing of the skin is bluish; the platform's focus marks are.
  const QImage shot = w->grab().toImage();
  int bluish = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const QColor c = shot.pixelColor(x, y);
      if (c.blue() > c.red() + 16) ++bluish;
    }
  }
  QCOMPARE(bluish, 0);
}

void MainWindowTest::FetalDisclaimerTooltip_data() {
  QTest::addColumn<QString>("name");
  for (const char* name :
       {"MLabel6", "Label25", "Label21", "FlatComboBox2", "Label27", "Label22", "FlatComboBox3"}) {
    QTest::newRow(name) << QString::fromLatin1(name);
  }
}

void MainWindowTest::FetalDisclaimerTooltip() {
  QFETCH(QString, name);
  Open();
  Find<QCheckBox>("suiCheckBox6")->setChecked(true);
  // The tooltip the mouse finds over the middle of the control.
  auto* control = form_->findChild<QWidget*>(name);
  QWidget* w = form_->childAt(control->mapTo(form_.get(), control->rect().center()));
  while (w != nullptr && w->toolTip().isEmpty()) w = w->parentWidget();
  QVERIFY(w != nullptr);
  QVERIFY(w->toolTip().startsWith(QStringLiteral("本预测仅供娱乐")));
  QCOMPARE(w->toolTip(), FetalDisclaimerLines().join('\n'));
}

void MainWindowTest::CheckBoxSelectsItsReading_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<int>("reading");
  QTest::newRow("name") << "suiCheckBox1" << int(Reading::Name);
  QTest::newRow("lifetime") << "suiCheckBox2" << int(Reading::Lifetime);
  QTest::newRow("zodiac") << "suiCheckBox4" << int(Reading::Zodiac);
  QTest::newRow("star sign") << "suiCheckBox3" << int(Reading::StarSign);
  QTest::newRow("mobile") << "suiCheckBox5" << int(Reading::Mobile);
  QTest::newRow("child's sex") << "suiCheckBox6" << int(Reading::ChildSex);
  QTest::newRow("conception") << "suiCheckBox7" << int(Reading::Conception);
  QTest::newRow("four pillars") << "suiCheckBox8" << int(Reading::Bazi);
}

void MainWindowTest::CheckBoxSelectsItsReading() {
  QFETCH(QString, box);
  QFETCH(int, reading);
  Open();
  for (QCheckBox* check : form_->findChildren<QCheckBox*>()) check->setChecked(false);
  QCOMPARE(int(form_->Inputs().readings.toInt()), 0);
  form_->findChild<QCheckBox*>(box)->setChecked(true);
  QCOMPARE(int(form_->Inputs().readings.toInt()), reading);
}

void MainWindowTest::Birthday() {
  const FixedClock clock(QDateTime(QDate(2009, 11, 27), QTime(23, 59, 58)));
  Open();
  // With the store open the birthday starts as the moment of creation.
  QCOMPARE(form_->Birthday(), (DateTime{QDate(2009, 11, 27), QTime(23, 59, 58)}));
  const QTime time = form_->Birthday().time;
  form_->SetBirthday(QDate(2004, 8, 1));
  QCOMPARE(Edit("FlatEdit3")->text(), QStringLiteral("2004-08-01"));
  QCOMPARE(form_->Inputs().birthday.date, QDate(2004, 8, 1));
  QCOMPARE(form_->Inputs().birthday.time, time);
}

void MainWindowTest::MissingStore() {
  QTemporaryDir dir;
  Open(dir.filePath(QStringLiteral("kvdata.dat")));
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(
      watcher_->boxes[0].text,
      QStringLiteral("软件非法安装：找不到“%1”").arg(dir.filePath(QStringLiteral("kvdata.dat"))));
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Information);
  QCOMPARE(watcher_->boxes[0].title, QStringLiteral("Tessaly"));
  // The birthday keeps the window's own starting value.
  QCOMPARE(form_->Birthday().date, QDate(2003, 1, 22));
  // The window works on.
  QLineEdit* name = Edit("FlatEdit1");
  ClearAndFocus(name);
  Type(name, QStringLiteral("王五"));
  QCOMPARE(name->text(), QStringLiteral("王五"));
  QTest::mouseClick(Find<QPushButton>("FlatButton1"), Qt::LeftButton);
  QCOMPARE(Find<QPushButton>("FlatButton1")->text(), QStringLiteral("女"));
  QCOMPARE(watcher_->boxes.size(), 1);
}

void MainWindowTest::DamagedStore() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kvdata.dat"));
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(4096, 'x'));
  file.close();
  Open(path);
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Critical);
  QCOMPARE(watcher_->boxes[0].title, QStringLiteral("Tessaly"));
  QVERIFY(!watcher_->boxes[0].text.isEmpty());
  QVERIFY(!watcher_->boxes[0].text.startsWith(QStringLiteral("软件非法安装")));
  QVERIFY(form_->isVisible());
}

void MainWindowTest::ReportShowsViewer() {
  Open();
  QTest::mouseClick(Find<QPushButton>("suiButton1"), Qt::LeftButton);
  QVERIFY(watcher_->boxes.isEmpty());
  QVERIFY(QFile::exists(CachePath("temp.htm")));
  const QStringList page = test::ReadGbkLines(CachePath("temp.htm"));
  QCOMPARE(page.first(), QStringLiteral("<html>"));
  QCOMPARE(page.last(), QStringLiteral("</BODY></HTML>"));
  QVERIFY(page[4].startsWith(QStringLiteral("    欧阳雨辰  生于 ")));
  QCOMPARE(viewer_->page, page);
  QCOMPARE(viewer_->page_path, CachePath("temp.htm"));
  // The plain report stays with the main window; the viewer gets it for the
  // export, with the name to offer as the file name.
  QCOMPARE(form_->LastReport().plain.first(), page[4]);
  QCOMPARE(viewer_->plain_report, form_->LastReport().plain);
  QCOMPARE(viewer_->name, QStringLiteral("欧阳雨辰"));
  QVERIFY(viewer_->isVisible());
  QVERIFY(!form_->isVisible());
  // Back from the viewer: the main window again, as it was.
  viewer_->Back();
  QVERIFY(form_->isVisible());
  QCOMPARE(form_->Inputs().name, QStringLiteral("欧阳雨辰"));
}

void MainWindowTest::ReportErrorKeepsViewerHidden() {
  QTemporaryDir dir;
  Open(dir.filePath(QStringLiteral("kvdata.dat")));
  watcher_->Clear();
  // The name reading needs the store, which is missing.
  QTest::mouseClick(Find<QPushButton>("suiButton1"), Qt::LeftButton);
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Critical);
  QCOMPARE(watcher_->boxes[0].title, QStringLiteral("Tessaly"));
  QVERIFY(!viewer_->isVisible());
  QVERIFY(form_->isVisible());
  QVERIFY(!QFile::exists(CachePath("temp.htm")));
}

void MainWindowTest::MobileMessageLetsReportGoOn() {
  Open();
  Find<QCheckBox>("suiCheckBox5")->setChecked(true);
  Edit("FlatEdit2")->setText(QStringLiteral("123"));
  QTest::mouseClick(Find<QPushButton>("suiButton1"), Qt::LeftButton);
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].text, QStringLiteral("手机号码输入错误，测算失败！"));
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Information);
  QVERIFY(viewer_->isVisible());
  QVERIFY(QFile::exists(CachePath("temp.htm")));
}

void MainWindowTest::AgeBoxesTakeTheSameTexts_data() {
  QTest::addColumn<QString>("check_box");
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("message");
  const QString signed_age = QStringLiteral("'+18' 不是一个有效的整形值");
  const QString range = QStringLiteral("母亲年龄应在18至44岁（虚岁）之间，请重新选择。");
  QTest::newRow("signed, sex") << "suiCheckBox6"
                               << "FlatComboBox2"
                               << "+18" << signed_age;
  QTest::newRow("signed, conception") << "suiCheckBox7"
                                      << "FlatComboBox4"
                                      << "+18" << signed_age;
  QTest::newRow("too big, sex") << "suiCheckBox6"
                                << "FlatComboBox2"
                                << "2147483647" << range;
  QTest::newRow("too big, conception") << "suiCheckBox7"
                                       << "FlatComboBox4"
                                       << "2147483647" << range;
}

void MainWindowTest::AgeBoxesTakeTheSameTexts() {
  QFETCH(QString, check_box);
  QFETCH(QString, box);
  QFETCH(QString, typed);
  QFETCH(QString, message);
  Open();
  Find<QCheckBox>(check_box.toLatin1().constData())->setChecked(true);
  Find<QComboBox>(box.toLatin1().constData())->setEditText(typed);
  QTest::mouseClick(Find<QPushButton>("suiButton1"), Qt::LeftButton);
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].text, message);
  QVERIFY(!viewer_->isVisible());
}

void MainWindowTest::CloseDeletesPages() {
  // An interrupted write's leftovers go at start and at close; a link among
  // them goes, not the file it names.
  QTemporaryDir elsewhere;
  const QString kept = elsewhere.filePath(QStringLiteral("kept.txt"));
  QVERIFY(QFile(kept).open(QIODevice::WriteOnly));
  QVERIFY(QDir().mkpath(QFileInfo(CachePath("temp.htm")).path()));
  QVERIFY(QFile::link(kept, CachePath("temp.htm.Ab12Cd")));
  Open();
  QVERIFY(!QFileInfo(CachePath("temp.htm.Ab12Cd")).isSymLink());
  QVERIFY(QFile::exists(kept));
  QVERIFY(QFile(CachePath("temp.tmp.Ef34Gh")).open(QIODevice::WriteOnly));
  // Closing without any report is fine too.
  QVERIFY(!QFile::exists(CachePath("temp.htm")));
  QTest::mouseClick(Find<QPushButton>("suiButton1"), Qt::LeftButton);
  QVERIFY(QFile::exists(CachePath("temp.htm")));
  // The viewer's restyled copy of the page.
  WriteGb18030Lines(CachePath("temp.tmp"), {QStringLiteral("<font face=\"Noto Serif CJK SC\">")},
                    FileUse::kPrivate);
  QVERIFY(QFile::exists(CachePath("temp.tmp")));
  viewer_->Back();
  QVERIFY(form_->isVisible());

  QSignalSpy closed(form_.get(), &TForm1::Closed);
  QTest::mouseClick(Find<QPushButton>("suiButton2"), Qt::LeftButton);
  QCOMPARE(closed.size(), 1);
  QVERIFY(!form_->isVisible());
  QVERIFY(!QFile::exists(CachePath("temp.htm")));
  QVERIFY(!QFile::exists(CachePath("temp.tmp")));
  QVERIFY(!QFile::exists(CachePath("temp.tmp.Ef34Gh")));
}

void MainWindowTest::DragWithAnyButton_data() {
  QTest::addColumn<int>("button");
  QTest::newRow("left") << int(Qt::LeftButton);
  QTest::newRow("right") << int(Qt::RightButton);
  QTest::newRow("middle") << int(Qt::MiddleButton);
}

void MainWindowTest::DragWithAnyButton() {
  QFETCH(int, button);
  Open();
  auto* image = Find<TArtwork>("Image6");
  const QPoint start = form_->pos();
  const QPoint grip(600, 460);  // bare artwork, lower right
  QCOMPARE(form_->childAt(grip), image);
  QTest::mousePress(image, static_cast<Qt::MouseButton>(button), {}, grip);
  QTest::mouseMove(image, grip + QPoint(30, 20));
  QTest::mouseRelease(image, static_cast<Qt::MouseButton>(button), {}, grip + QPoint(30, 20));
  // Offscreen there is no system move; the window follows by hand.
  QTRY_COMPARE(form_->pos(), start + QPoint(30, 20));
}

void MainWindowTest::FirstPaintOnce() {
  form_ = std::make_unique<TForm1>();
  QSignalSpy painted(form_.get(), &TForm1::FirstPaint);
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  QTRY_COMPARE(painted.size(), 1);
  form_->update();
  QTest::qWait(50);
  form_->repaint();
  QTest::qWait(50);
  QCOMPARE(painted.size(), 1);
}

void MainWindowTest::InMenu(const std::function<void(QMenu*)>& act) {
  QMenu* menu = Find<QPushButton>("ProfileButton")->menu();
  QVERIFY(menu != nullptr);
  bool acted = false;
  // The button's menu runs a loop of its own until it closes.
  QTimer::singleShot(0, menu, [&] {
    acted = true;
    act(menu);
    if (menu->isVisible()) menu->close();
  });
  QTest::mouseClick(Find<QPushButton>("ProfileButton"), Qt::LeftButton);
  QVERIFY(acted);
  QVERIFY(!menu->isVisible());
}

void MainWindowTest::Pick(const QString& entry) {
  InMenu([&](QMenu* menu) {
    for (QAction* action : menu->actions()) {
      if (action->text() == entry || action->objectName() == entry) {
        QVERIFY2(action->isEnabled(), qPrintable(entry));
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
        return;
      }
    }
    QFAIL(qPrintable(QStringLiteral("no entry ") + entry));
  });
}

void MainWindowTest::ProfileRoundTrip_data() {
  QTest::addColumn<Person>("person");
  Person every = Sample("司马相如", QDate(1990, 7, 15));
  every.sex = Sex::Female;
  every.surname_kind = SurnameKind::Compound;
  every.birth_hour_index = 6;
  every.birth_hour = BirthHourItems()[6];
  every.mobile = QStringLiteral("13912345678");
  every.mother_age = QStringLiteral("30");
  every.pregnancy_month = QStringLiteral("07");
  every.conception_age = QStringLiteral("25");
  every.wish = QStringLiteral("女孩");
  every.wish_index = 1;
  every.readings = kEveryReading;
  every.birth_time = QStringLiteral("11:45");
  every.birth_place = QStringLiteral("成都");
  every.daylight_saving = false;
  every.late_zi_next_day = false;

  // The longitude instead of a place, texts typed outside the lists, and
  // only some groups ticked.
  Person typed = Sample("李雨桐", QDate(2004, 3, 21));
  typed.birth_time = QStringLiteral("23:30");
  typed.birth_longitude = 121.5;
  typed.mobile = QString();
  typed.mother_age = QStringLiteral("45");
  typed.wish = QStringLiteral("都好");
  typed.wish_index = -1;
  typed.readings = Reading::Name | Reading::Bazi | Reading::Conception;

  QTest::newRow("a new window's inputs") << Sample("欧阳雨辰", QDate(2003, 1, 22));
  QTest::newRow("every input, every reading") << every;
  QTest::newRow("longitude and typed texts") << typed;
}

void MainWindowTest::ProfileRoundTrip() {
  QFETCH(Person, person);
  Open();
  form_->SetInputs(person);
  QCOMPARE(Fields(form_->Inputs()), Fields(person));
  Pick(QStringLiteral("SaveProfile"));
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Information);
  QCOMPARE(watcher_->boxes[0].text,
           QStringLiteral("已保存档案“%1 %2”。").arg(person.name, DateToStr(person.birthday.date)));

  // Another person's inputs, then the profile chosen from the menu.
  Person other = Sample("张小明", QDate(2010, 10, 10));
  other.readings = Reading::Mobile | Reading::ChildSex;
  other.sex = person.sex == Sex::Male ? Sex::Female : Sex::Male;
  form_->SetInputs(other);
  QCOMPARE(Fields(form_->Inputs()), Fields(other));
  Pick(person.name + QLatin1Char(' ') + DateToStr(person.birthday.date));
  QCOMPARE(Fields(form_->Inputs()), Fields(person));
  // The optional groups show as their check boxes say.
  QCOMPARE(Edit("FlatEdit2")->isVisible(), person.readings.testFlag(Reading::Mobile));
  QCOMPARE(Find<QComboBox>("FlatComboBox2")->isVisible(),
           person.readings.testFlag(Reading::ChildSex));
  QCOMPARE(Find<QComboBox>("FlatComboBox5")->isVisible(),
           person.readings.testFlag(Reading::Conception));
  QCOMPARE(Edit("FlatEdit4")->isVisible(), person.readings.testFlag(Reading::Bazi));
  QCOMPARE(Find<QComboBox>("FlatComboBox7")->isVisible(), person.readings.testFlag(Reading::Bazi));
  QCOMPARE(watcher_->boxes.size(), 1);
}

void MainWindowTest::SaveAsksBeforeReplacing_data() {
  QTest::addColumn<QString>("answer");
  QTest::addColumn<bool>("changed");  // the inputs differ from the saved ones
  QTest::addColumn<bool>("replaced");
  QTest::newRow("替换") << "替换" << true << true;
  QTest::newRow("取消") << "取消" << true << false;
  QTest::newRow("closed") << "" << true << false;
  QTest::newRow("same inputs: no question") << "" << false << true;
}

void MainWindowTest::SaveAsksBeforeReplacing() {
  QFETCH(QString, answer);
  QFETCH(bool, changed);
  QFETCH(bool, replaced);
  Open();
  const Person person = Sample("李雨桐", QDate(2004, 3, 21));
  form_->SetInputs(person);
  Pick(QStringLiteral("SaveProfile"));
  watcher_->Clear();
  Person changed_person = person;
  if (changed) changed_person.mobile = QStringLiteral("13800000000");
  form_->SetInputs(changed_person);
  watcher_->answer = answer;
  Pick(QStringLiteral("SaveProfile"));
  if (changed) {
    QVERIFY(!watcher_->boxes.isEmpty());
    QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Question);
    QCOMPARE(watcher_->boxes[0].text,
             QStringLiteral("已有档案“李雨桐 2004-03-21”，要用现在的输入替换它吗？"));
    QCOMPARE(watcher_->boxes[0].buttons, (QStringList{"替换", "取消"}));
  }
  // A confirmation when it was saved, nothing more otherwise.
  QCOMPARE(watcher_->boxes.size(), (changed ? 1 : 0) + (replaced ? 1 : 0));

  const QList<Profile> stored = Stored()->Profiles();
  QCOMPARE(stored.size(), 1);
  QCOMPARE(stored[0].mobile, (replaced ? changed_person : person).mobile);
  // What the window shows is never touched.
  QCOMPARE(form_->Inputs().mobile, changed_person.mobile);
}

void MainWindowTest::DeleteAsks_data() {
  QTest::addColumn<bool>("by_key");  // Delete on the menu's entry, or 删除
  QTest::addColumn<QString>("answer");
  QTest::addColumn<bool>("deleted");
  QTest::newRow("删除, answered 删除") << false << "删除" << true;
  QTest::newRow("删除, answered 取消") << false << "取消" << false;
  QTest::newRow("Delete key, answered 删除") << true << "删除" << true;
  QTest::newRow("Delete key, answered 取消") << true << "取消" << false;
}

void MainWindowTest::DeleteAsks() {
  QFETCH(bool, by_key);
  QFETCH(QString, answer);
  QFETCH(bool, deleted);
  Open();
  form_->SetInputs(Sample("王小红", QDate(1999, 9, 9)));
  Pick(QStringLiteral("SaveProfile"));
  form_->SetInputs(Sample("李雨桐", QDate(2004, 3, 21)));
  Pick(QStringLiteral("SaveProfile"));
  watcher_->Clear();
  watcher_->answer = answer;
  if (by_key) {
    // The other profile than the one shown, highlighted in the menu.
    InMenu([](QMenu* menu) {
      for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("王小红 1999-09-09")) menu->setActiveAction(action);
      }
      QTest::keyClick(menu, Qt::Key_Delete);
    });
  } else {
    form_->SetInputs(Sample("王小红", QDate(1999, 9, 9)));
    Pick(QStringLiteral("DeleteProfile"));
  }
  QTRY_COMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Question);
  QCOMPARE(watcher_->boxes[0].text,
           QStringLiteral("删除档案“王小红 1999-09-09”吗？删除后不能恢复。"));
  QCOMPARE(watcher_->boxes[0].buttons, (QStringList{"删除", "取消"}));
  const QList<Profile> stored = Stored()->Profiles();
  QCOMPARE(stored.size(), deleted ? 1 : 2);
  QCOMPARE(stored.last().name, deleted ? QStringLiteral("李雨桐") : QStringLiteral("王小红"));
  // 删除 is there only for a profile that is.
  if (deleted && !by_key) {
    InMenu([](QMenu* menu) {
      for (QAction* action : menu->actions()) {
        if (action->objectName() == QStringLiteral("DeleteProfile")) QVERIFY(!action->isEnabled());
      }
    });
  }
}

void MainWindowTest::ReportJoinsHistoryAndStartsTheNextWindow() {
  Open();
  // The very first start: the new window's inputs.
  QCOMPARE(form_->Inputs().name, QStringLiteral("欧阳雨辰"));
  Person person = Sample("李雨桐", QDate(2004, 3, 21));
  person.readings = Reading::Name | Reading::Bazi;
  person.birth_time = QStringLiteral("08:10");
  person.birth_hour_index = 4;
  person.birth_hour = BirthHourItems()[4];
  person.birth_place = QStringLiteral("杭州");
  form_->SetInputs(person);
  QTest::mouseClick(Find<QPushButton>("suiButton1"), Qt::LeftButton);
  QVERIFY(viewer_->isVisible());
  QVERIFY(watcher_->boxes.isEmpty());
  const QList<HistoryEntry> history = Stored()->History();
  QCOMPARE(history.size(), 1);
  QCOMPARE(Fields(PersonOf(history[0].inputs)), Fields(person));
  viewer_->Back();

  // The next start shows the last report's inputs.
  viewer_.reset();
  form_.reset();
  Open();
  QCOMPARE(Fields(form_->Inputs()), Fields(person));
  QVERIFY(Edit("FlatEdit4")->isVisible());
  QVERIFY(watcher_->boxes.isEmpty());
}

void MainWindowTest::HistoryEntryReopensReport() {
  const FixedClock clock(QDateTime(QDate(2026, 5, 4), QTime(9, 30)));
  Open();
  for (const char* name : {"王小红", "张小明"}) {
    form_->SetInputs(Sample(name, QDate(2001, 2, 3)));
    QTest::mouseClick(Find<QPushButton>("suiButton1"), Qt::LeftButton);
    viewer_->Back();
  }
  const QStringList first_page = test::ReadGbkLines(CachePath("temp.htm"));
  QStringList texts;
  InMenu([&](QMenu* menu) {
    QMenu* recent = menu->findChild<QMenu*>(QStringLiteral("HistoryMenu"));
    QVERIFY(recent != nullptr);
    for (const QAction* action : recent->actions()) texts << action->text();
    // The older one.
    recent->actions().last()->trigger();
  });
  // Newest first, each with the day and time it was made.
  QCOMPARE(texts.size(), 2);
  QVERIFY2(texts[0].endsWith(QStringLiteral("张小明 2001-02-03")), qPrintable(texts[0]));
  QVERIFY2(texts[1].endsWith(QStringLiteral("王小红 2001-02-03")), qPrintable(texts[1]));
  QVERIFY2(texts[1].startsWith(QStringLiteral("2026-05-04 ")), qPrintable(texts[1]));
  QVERIFY(viewer_->isVisible());
  QVERIFY(viewer_->page[4].startsWith(QStringLiteral("    王小红  生于 ")));
  QCOMPARE(viewer_->name, QStringLiteral("王小红"));
  QVERIFY(viewer_->page != first_page);
  QCOMPARE(form_->Inputs().name, QStringLiteral("王小红"));
  // Made again, not added again.
  QCOMPARE(Stored()->History().size(), 2);
  QVERIFY(watcher_->boxes.isEmpty());
}

void MainWindowTest::UnusableProfileStore_data() {
  QTest::addColumn<QString>("kind");
  QTest::newRow("the file is a symbolic link") << "link";
  QTest::newRow("a file where its folder should be") << "file";
}

void MainWindowTest::UnusableProfileStore() {
  QFETCH(QString, kind);
  const QString elsewhere = profiles_dir_->filePath(QStringLiteral("elsewhere"));
  QVERIFY(QFile(elsewhere).open(QIODevice::WriteOnly));
  QString path;
  if (kind == u"link") {
    path = ProfilesPath();
    QVERIFY(QFile::link(elsewhere, path));
  } else {
    path = elsewhere + QStringLiteral("/profiles.sqlite");
  }
  QString reason;
  try {
    ProfileStore().Open(path);
  } catch (const StoreError& e) {
    reason = e.message();
  }
  QVERIFY(!reason.isEmpty());

  Open(ReferenceStore::DefaultPath(), path);
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Critical);
  QCOMPARE(watcher_->boxes[0].text, reason);
  QCOMPARE(form_->Inputs().name, QStringLiteral("欧阳雨辰"));
  // The report goes on, without a word more.
  QTest::mouseClick(Find<QPushButton>("suiButton1"), Qt::LeftButton);
  QVERIFY(viewer_->isVisible());
  QCOMPARE(watcher_->boxes.size(), 1);
  viewer_->Back();
  // The menu says so; 保存, asked for, says why it cannot.
  InMenu([&](QMenu* menu) {
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("档案库无法使用"));
    QCOMPARE(menu->actions().first()->toolTip(), reason);
  });
  Pick(QStringLiteral("SaveProfile"));
  QCOMPARE(watcher_->boxes.size(), 2);
  QCOMPARE(watcher_->boxes[1].text, reason);
  QVERIFY(QFileInfo(elsewhere).isFile());
  QCOMPARE(QFileInfo(elsewhere).size(), 0);
}

void MainWindowTest::DamagedProfileStore() {
  QFile file(ProfilesPath());
  QVERIFY(file.open(QIODevice::WriteOnly));
  QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
  file.write(QByteArray(4096, 'x'));
  file.close();
  Open();
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Information);
  QVERIFY(watcher_->boxes[0].text.contains(QStringLiteral("profiles.sqlite.damaged-")));
  QTest::mouseClick(Find<QPushButton>("suiButton1"), Qt::LeftButton);
  QVERIFY(viewer_->isVisible());
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(Stored()->History().size(), 1);
}

}  // namespace tessaly

TESSALY_GUI_TEST_MAIN(tessaly::MainWindowTest)
#include "main_window_test.moc"
