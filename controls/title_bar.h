// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The title area of a frameless window. WindowButtons are its minimise and
// close controls (seal-red squares with a white mark); TTitleBar is a caption
// bar in seal red that drags its window and carries those controls at its
// right end. A window whose artwork is its title area places WindowButtons on
// the artwork itself.

#include <QLabel>
#include <QWidget>

class QToolButton;

namespace tessaly {

class WindowButtons : public QWidget {
  Q_OBJECT

 public:
  // Where the controls stand: on a title bar's seal red, or on the artwork,
  // where each has a seal-red square of its own.
  enum class Ground { TitleBar, Artwork };

  // "MinimiseButton" minimises the window, "CloseButton" closes it (as Alt+F4
  // does, through its close event).
  explicit WindowButtons(QWidget* parent, Ground ground = Ground::TitleBar);

  QToolButton* Minimise() const { return minimise_; }
  QToolButton* Close() const { return close_; }

 private:
  QToolButton* minimise_ = nullptr;
  QToolButton* close_ = nullptr;
};

class TTitleBar : public QLabel {
  Q_OBJECT

 public:
  // A bar named "TitleBar" showing `caption`, 28 pixels high.
  TTitleBar(const QString& caption, QWidget* parent);

  WindowButtons* Buttons() const { return buttons_; }

  static constexpr int kHeight = 28;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  WindowButtons* buttons_ = nullptr;
};

}  // namespace tessaly
