// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the start-up benchmark: the smallest Qt program with a
// window like the main window, a plain 640 x 480 window with one Chinese
// label. Reports its first paint as tessaly-startup-probe does:
//
//   shown <ms since main> <peak RSS kB>
//
// and quits.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include "bench/probe_support.h"

namespace {

class Window : public QLabel {
 public:
  explicit Window(const QElapsedTimer& clock) : clock_(clock) {
    setText(QStringLiteral("相信科学 相信命运"));
    setAlignment(Qt::AlignCenter);
    setFixedSize(640, 480);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QLabel::paintEvent(event);
    if (painted_) return;
    painted_ = true;
    // As the main window does: once the paint is done.
    QTimer::singleShot(0, this, [this] {
      tessaly::probe::Report("shown", clock_);
      QCoreApplication::quit();
    });
  }

 private:
  const QElapsedTimer& clock_;
  bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  Window window(clock);
  window.show();
  return QApplication::exec();
}
