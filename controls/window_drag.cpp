// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/window_drag.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace tessaly {

WindowDrag::WindowDrag(QWidget* handle) : QObject(handle) {}

void WindowDrag::Install(QWidget* handle) { handle->installEventFilter(new WindowDrag(handle)); }

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
  auto* handle = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* press = static_cast<QMouseEvent*>(event);
      QWidget* win = handle->window();
      // The window system's own move follows the left button; other buttons
      // move the window by hand, except on Wayland where only the compositor
      // can move it.
      const bool system_move = press->button() == Qt::LeftButton ||
                               QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
      if (system_move && win->windowHandle() != nullptr && win->windowHandle()->startSystemMove()) {
        return true;
      }
      dragging_ = true;
      drag_offset_ = press->globalPosition().toPoint() - win->frameGeometry().topLeft();
      return true;
    }
    case QEvent::MouseMove:
      if (dragging_) {
        handle->window()->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() -
                               drag_offset_);
      }
      return true;
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) dragging_ = false;
      return true;
    default:
      return false;
  }
}

}  // namespace tessaly
