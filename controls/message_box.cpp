// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/message_box.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
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

QString AskSavePath(QWidget* parent, const QString& caption, const QString& file_name,
                    const QString& filter, const QString& suffix) {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::homePath();
  const QString start =
      file_name.isEmpty() ? dir + QLatin1Char('/') : QDir(dir).filePath(file_name);
  QString path = QFileDialog::getSaveFileName(parent, caption, start, filter);
  if (path.isEmpty()) return {};
  if (QFileInfo(path).suffix().isEmpty() && !QFileInfo::exists(path)) {
    path += QLatin1Char('.') + suffix;
  }
  return path;
}

}  // namespace tessaly
