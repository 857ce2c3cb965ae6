// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/message_box.h"

#include <QMessageBox>
#include <QWidget>

namespace tessaly {

namespace {

const QString& Title() {
  static const QString title = QStringLiteral("Tessaly");
  return title;
}

// A hidden window makes a poor owner (the box would centre on nothing).
QWidget* Owner(QWidget* parent) {
  return parent != nullptr && parent->window()->isVisible() ? parent : nullptr;
}

}  // namespace

void ErrorBox(QWidget* parent, const QString& message) {
  QMessageBox::critical(Owner(parent), Title(), message);
}

void InfoBox(QWidget* parent, const QString& message) {
  QMessageBox::information(Owner(parent), Title(), message);
}

}  // namespace tessaly
