// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers of the desktop program's tests: a private cache directory per test
// program, a watcher that answers message boxes and file dialogs, and a main()
// that prepares the application as the program's entry does.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <functional>
#include <memory>

#include "app/startup.h"
#include "core/text.h"

namespace tessaly::test {

// Every test program gets its own cache directory (the report pages land
// there) and data directory (the profiles and the history of reports), so
// that test programs running side by side do not meet.
inline void UsePrivateCache() {
  static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tessaly-gui-XXXXXX"));
  qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.path()));
  qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
}

// Stands in for the desktop: records the URLs the code asks it to open.
class DesktopRecorder : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void Open(const QUrl& url) { opened << url; }
};

// Answers the modal dialogs that the code under test opens: message boxes are
// recorded and closed, a file dialog is handed to `on_file_dialog` (which
// accepts or rejects it; without one it is rejected).
class DialogWatcher {
 public:
  struct Box {
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QStringList buttons;  // their captions, in the order they were added
  };

  DialogWatcher() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }

  QList<Box> boxes;
  std::function<void(QFileDialog*)> on_file_dialog;
  // The caption of the button a question is answered with; a box without it
  // is closed as with Escape.
  QString answer;

  void Clear() { boxes.clear(); }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      QStringList captions;
      QAbstractButton* chosen = nullptr;
      for (QAbstractButton* button : box->buttons()) {
        captions << button->text();
        if (button->text() == answer) chosen = button;
      }
      boxes.append(Box{box->icon(), box->windowTitle(), box->text(), captions});
      if (chosen != nullptr) {
        chosen->click();
      } else if (box->escapeButton() != nullptr) {
        box->escapeButton()->click();
      } else {
        box->done(QMessageBox::Ok);
      }
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      if (on_file_dialog) {
        on_file_dialog(dialog);
      } else {
        dialog->reject();
      }
    }
  }

  QTimer timer_;
};

inline QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

// The lines of a GBK CR LF file (empty when it does not exist).
inline QStringList ReadGbkLines(const QString& path) {
  QString text = FromGbk(ReadBytes(path));
  if (text.endsWith(QStringLiteral("\r\n"))) text.chop(2);
  return text.isEmpty() ? QStringList() : text.split(QStringLiteral("\r\n"));
}

// What a user would see as misplaced among the visible children of `parent`
// (not their children): one lying partly outside it, or two that overlap.
// Grounds (an artwork, a panel) that others stand on are left out.
inline QStringList Misplaced(const QWidget* parent,
                             const std::function<bool(const QWidget*)>& ground) {
  QList<const QWidget*> shown;
  QStringList faults;
  for (const QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (w->isHidden() || w->isWindow() || ground(w)) continue;
    if (!parent->rect().contains(w->geometry()))
      faults << w->objectName() + QStringLiteral(" outside");
    for (const QWidget* other : shown) {
      if (w->geometry().intersects(other->geometry())) {
        faults << w->objectName() + QStringLiteral(" over ") + other->objectName();
      }
    }
    shown << w;
  }
  return faults;
}

inline QString CachePath(const char* name) {
  return QString::fromLocal8Bit(qgetenv("XDG_CACHE_HOME")) + QStringLiteral("/tessaly/") +
         QString::fromLatin1(name);
}

}  // namespace tessaly::test

// main() of a test program: private cache, what must come before the
// application object (`prepare`), then the tests.
#define TESSALY_GUI_TEST_MAIN_PREPARED(TestClass, prepare) \
  int main(int argc, char** argv) {                        \
    tessaly::test::UsePrivateCache();                      \
    prepare;                                               \
    QApplication app(argc, argv);                          \
    tessaly::SetUpApplication();                           \
    TestClass test;                                        \
    QTEST_SET_MAIN_SOURCE_PATH                             \
    return QTest::qExec(&test, argc, argv);                \
  }

// A test program without the viewer.
#define TESSALY_GUI_TEST_MAIN(TestClass) TESSALY_GUI_TEST_MAIN_PREPARED(TestClass, (void)0)
// A test program with the windows as start-up wires them (tessaly_startup):
// prepared before the application object as the program's entry does.
#define TESSALY_VIEWER_TEST_MAIN(TestClass) \
  TESSALY_GUI_TEST_MAIN_PREPARED(TestClass, tessaly::PrepareApplication())
