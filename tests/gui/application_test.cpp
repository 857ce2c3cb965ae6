// SPDX-License-Identifier: GPL-3.0-or-later
// The application as the program's entry sets it up: Qt's own texts in
// Chinese, Qt's own dialogs in the skin, window titles without a suffix.

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include "controls/skin.h"
#include "gui_support.h"

namespace tessaly {

namespace {

QDialog* SaveDialog() {
  auto* dialog = new QFileDialog(nullptr, QStringLiteral("输出到文件"), QDir::tempPath());
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  return dialog;
}

}  // namespace

class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void QtTextsInChinese_data();
  void QtTextsInChinese();
  void QtDialogsWearTheSkin_data();
  void QtDialogsWearTheSkin();
  void NoSuffixOnWindowTitles();
};

void ApplicationTest::QtTextsInChinese_data() {
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("expected");
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Tessaly"), QStringLiteral("x"),
                  QMessageBox::Ok | QMessageBox::Cancel);
  QTest::newRow("message box OK") << box.button(QMessageBox::Ok)->text() << "确定";
  QTest::newRow("message box Cancel") << box.button(QMessageBox::Cancel)->text() << "取消";
  const std::unique_ptr<QDialog> dialog(SaveDialog());
  auto* buttons = dialog->findChild<QDialogButtonBox*>();
  QTest::newRow("file dialog Save")
      << buttons->button(QDialogButtonBox::Save)->text() << "保存(&S)";
  QTest::newRow("file dialog Look in")
      << dialog->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text() << "查找范围：";
}

void ApplicationTest::QtTextsInChinese() {
  QFETCH(QString, shown);
  QFETCH(QString, expected);
  QCOMPARE(shown, expected);
}

void ApplicationTest::QtDialogsWearTheSkin_data() {
  QTest::addColumn<bool>("file_dialog");
  QTest::newRow("message box") << false;
  QTest::newRow("file dialog") << true;
}

void ApplicationTest::QtDialogsWearTheSkin() {
  QFETCH(bool, file_dialog);
  const std::unique_ptr<QDialog> dialog(
      file_dialog ? SaveDialog() : new QMessageBox(QMessageBox::Information, "Tessaly", "x"));
  dialog->show();
  QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
  QCOMPARE(dialog->findChild<QPushButton*>()->font().family(), skin::UiFontFamily());
  QCOMPARE(dialog->grab().toImage().pixelColor(1, 1), QColor(0xF7, 0xEF, 0xDC));
}

void ApplicationTest::NoSuffixOnWindowTitles() {
  // Qt appends a display name, when one is set, to every window's title
  // ("查看万年历 — Tessaly"); the main window's title is "Tessaly" itself.
  QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

}  // namespace tessaly

TESSALY_GUI_TEST_MAIN(tessaly::ApplicationTest)
#include "application_test.moc"
