// The application as the program's entry sets it up: Qt's own texts in
// Chinese, Qt's own dialogs in the skin, and the windows' titles as the task
// bar shows them.

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include "app/unit1.h"
#include "calendar/unit3.h"
#include "controls/skin.h"
#include "gui_support.h"

namespace tessaly {

namespace {

QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

QFileDialog* SaveDialog() {
  auto* dialog = new QFileDialog(nullptr, QStringLiteral("输出到文件"), QDir::tempPath());
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  return dialog;
}

// The title the window system gets: Qt appends " — " and the application's
// display name, when one is set, to a title that does not end with it.
QString ShownTitle(const QWidget& window) {
  const QString display = QGuiApplication::applicationDisplayName();
  const QString title = window.windowTitle();
  if (display == QCoreApplication::applicationName() || title.endsWith(display)) return title;
  return title + QStringLiteral(" — ") + display;
}

}  // namespace

class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void QtTextsInChinese_data();
  void QtTextsInChinese();
  void QtDialogsWearTheSkin_data();
  void QtDialogsWearTheSkin();
  void WindowTitles();
};

void ApplicationTest::QtTextsInChinese_data() {
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("expected");
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Tessaly"), QStringLiteral("x"),
                  QMessageBox::Ok | QMessageBox::Cancel);
  QTest::newRow("message box OK") << Plain(box.button(QMessageBox::Ok)->text()) << "确定";
  QTest::newRow("message box Cancel") << Plain(box.button(QMessageBox::Cancel)->text()) << "取消";
  const std::unique_ptr<QFileDialog> dialog(SaveDialog());
  auto* buttons = dialog->findChild<QDialogButtonBox*>();
  QTest::newRow("file dialog Save")
      << Plain(buttons->button(QDialogButtonBox::Save)->text()) << "保存(S)";
  QTest::newRow("file dialog Cancel")
      << Plain(buttons->button(QDialogButtonBox::Cancel)->text()) << "取消";
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
  std::unique_ptr<QDialog> dialog;
  if (file_dialog) {
    dialog.reset(SaveDialog());
  } else {
    dialog = std::make_unique<QMessageBox>(QMessageBox::Information, QStringLiteral("Tessaly"),
                                           QStringLiteral("软件非法安装"));
  }
  dialog->show();
  QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
  QCOMPARE(dialog->font().family(), skin::UiFontFamily());
  QCOMPARE(dialog->findChild<QPushButton*>()->font().family(), skin::UiFontFamily());
  QCOMPARE(dialog->grab().toImage().pixelColor(1, 1), QColor(0xF7, 0xEF, 0xDC));
  QCOMPARE(dialog->palette().color(QPalette::Highlight), skin::kSealRed);
}

void ApplicationTest::WindowTitles() {
  TForm1 main_window;
  TForm3 calendar;
  QCOMPARE(ShownTitle(main_window), QStringLiteral("Tessaly"));
  QCOMPARE(ShownTitle(calendar), QStringLiteral("查看万年历"));
}

}  // namespace tessaly

TESSALY_GUI_TEST_MAIN(tessaly::ApplicationTest)
#include "application_test.moc"
