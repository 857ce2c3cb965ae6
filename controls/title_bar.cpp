// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/title_bar.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QResizeEvent>
#include <QToolButton>

#include "controls/skin.h"
#include "controls/window_drag.h"

namespace tessaly {

namespace {

QToolButton* TitleButton(const char* name, const char* picture, const QString& tip,
                         QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setProperty("skin", QStringLiteral("title"));
  button->setIcon(QIcon(QStringLiteral(":/tessaly/skin/%1.png").arg(QLatin1String(picture))));
  button->setIconSize(QSize(12, 12));
  button->setFixedSize(22, 22);
  button->setToolTip(tip);
  // Reached with Tab, never taking the focus from a box when clicked.
  button->setFocusPolicy(Qt::TabFocus);
  button->setCursor(Qt::PointingHandCursor);
  return button;
}

}  // namespace

WindowButtons::WindowButtons(QWidget* parent, Ground ground) : QWidget(parent) {
  setObjectName(QStringLiteral("WindowButtons"));
  // Before the buttons are made: the style sheet picks their look by it.
  if (ground == Ground::Artwork) setProperty("skin", QStringLiteral("artwork"));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  minimise_ = TitleButton("MinimiseButton", "minimise", QStringLiteral("最小化"), this);
  close_ = TitleButton("CloseButton", "close", QStringLiteral("关闭"), this);
  row->addWidget(minimise_);
  row->addWidget(close_);
  setFixedSize(sizeHint());
  connect(minimise_, &QToolButton::clicked, this, [this] { window()->showMinimized(); });
  connect(close_, &QToolButton::clicked, this, [this] { window()->close(); });
}

TTitleBar::TTitleBar(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
  setObjectName(QStringLiteral("TitleBar"));
  setProperty("skin", QStringLiteral("title"));
  setFont(skin::UiFont(13, true));
  setIndent(10);
  setFixedHeight(kHeight);
  WindowDrag::Install(this);
  buttons_ = new WindowButtons(this);
}

void TTitleBar::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  buttons_->move(width() - buttons_->width() - 6, (height() - buttons_->height()) / 2);
}

}  // namespace tessaly
