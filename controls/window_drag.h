// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moving a frameless window by one of its parts (the background artwork, a
// title bar): pressing a mouse button on the part and moving the mouse moves
// the part's window.

#include <QObject>
#include <QPoint>

class QWidget;

namespace tessaly {

class WindowDrag : public QObject {
  Q_OBJECT

 public:
  // Makes `handle` drag its window; the filter lives as long as the handle.
  static void Install(QWidget* handle);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit WindowDrag(QWidget* handle);

  // Manual dragging where the window system offers no move of its own.
  bool dragging_ = false;
  QPoint drag_offset_;
};

}  // namespace tessaly
