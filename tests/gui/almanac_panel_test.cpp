// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar dialog's almanac panel: "显示黄历" widens the dialog and is
// remembered, the panel follows the chosen day, warns of a clash with the
// person's animal, and the 择日 form's double-clicked day becomes the chosen one.

#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QtTest>

#include <memory>

#include "app/almanac_panel.h"
#include "app/calendar_dialog.h"
#include "controls/lunar_month_calendar.h"
#include "core/clock.h"
#include "gui_support.h"

namespace tessaly {

class AlmanacPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(settings_dir_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_dir_.path());
  }
  void cleanup() { QSettings().clear(); }

  void CheckBoxWidensTheDialogAndIsRemembered() {
    auto form = std::make_unique<TForm3>();
    auto* box = form->findChild<QCheckBox*>("suiCheckBox2");
    QVERIFY(!box->isChecked());
    QVERIFY(!form->Almanac()->isVisibleTo(form.get()));
    box->click();
    QCOMPARE(form->width(), 349 + 236);
    QVERIFY(form->Almanac()->isVisibleTo(form.get()));
    QCOMPARE(form->Almanac()->Day(), QDate(2024, 9, 18));
    form = std::make_unique<TForm3>();
    QVERIFY(form->findChild<QCheckBox*>("suiCheckBox2")->isChecked());
    QCOMPARE(form->width(), 349 + 236);
    form->findChild<QCheckBox*>("suiCheckBox2")->click();
    QCOMPARE(form->width(), 349);
  }

  // 2024-09-18 (乙酉) clashes with 兔: the panel warns a person born in a 兔
  // year (1987) and nobody else; the next day the panel follows the 下月 button.
  void ClashWithThePersonsAnimal() {
    QSettings().setValue(QStringLiteral("calendar/showAlmanac"), true);
    TForm3 form;
    int animal = 3;  // 兔
    form.SetPersonAnimalSource([&animal] { return animal; });
    const QString text = form.Almanac()->PlainText();
    QVERIFY2(text.contains(QStringLiteral("冲属兔")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("宜：祭祀 祈福 会亲友 出行 赴任 入学")));
    QVERIFY(text.contains(QStringLiteral("冲煞：冲兔（己卯）煞东")));
    animal = 9;
    form.Almanac()->ShowDay(form.Almanac()->Day());
    QVERIFY(!form.Almanac()->PlainText().contains(QStringLiteral("冲属")));
    QTest::mouseClick(form.findChild<QPushButton*>("PDJButton4"), Qt::LeftButton);
    QCOMPARE(form.Almanac()->Day(), QDate(2024, 10, 18));
  }

  void DayChooserPicksADay() {
    QSettings().setValue(QStringLiteral("calendar/showAlmanac"), true);
    TForm3 form;
    QTimer::singleShot(0, [&form] {
      // A failed check closes the form rather than leave it waiting.
      const auto closer = qScopeGuard([] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      });
      auto* chooser = form.findChild<QDialog*>("DayChooser");
      QVERIFY(chooser != nullptr);
      chooser->findChild<QPushButton*>("Find")->click();
      auto* days = chooser->findChild<QListWidget*>("Days");
      QVERIFY(days->count() > 1);
      QListWidgetItem* item = days->item(1);  // the first is the day itself
      QVERIFY(item->data(Qt::UserRole).toDate().isValid());
      emit days->itemDoubleClicked(item);
    });
    form.Almanac()->findChild<QPushButton*>("ChooseDay")->click();
    const QDate picked = form.Almanac()->Day();
    QVERIFY(picked > QDate(2024, 9, 18) && picked <= QDate(2024, 10, 18));
    QCOMPARE(form.ChosenDate(), picked.toString(Qt::ISODate));
  }

 private:
  const FixedClock clock_{QDate(2024, 9, 18)};
  QTemporaryDir settings_dir_;
};

}  // namespace tessaly

TESSALY_GUI_TEST_MAIN(tessaly::AlmanacPanelTest)
#include "almanac_panel_test.moc"
