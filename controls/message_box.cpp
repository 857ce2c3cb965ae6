// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/message_box.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
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

bool AskYesNo(QWidget* parent, const QString& message, const QString& yes, const QString& no) {
  QMessageBox box(QMessageBox::Question, Title(), message, QMessageBox::NoButton, Owner(parent));
  QPushButton* yes_button = box.addButton(yes, QMessageBox::YesRole);
  QPushButton* no_button = box.addButton(no, QMessageBox::NoRole);
  box.setDefaultButton(no_button);
  box.setEscapeButton(no_button);
  box.exec();
  return box.clickedButton() == yes_button;
}

QString AskSavePath(QWidget* parent, const QString& caption, const QString& file_name,
                    const QStringList& filters, const QString& suffix, QString* chosen_filter) {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::homePath();
  QFileDialog dialog(Owner(parent), caption, dir);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(suffix);
  if (!file_name.isEmpty()) dialog.selectFile(file_name);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return {};
  if (chosen_filter != nullptr) *chosen_filter = dialog.selectedNameFilter();
  return files.first();
}

QString AskSavePath(QWidget* parent, const QString& caption, const QString& file_name,
                    const QString& filter, const QString& suffix) {
  return AskSavePath(parent, caption, file_name, QStringList{filter}, suffix);
}

}  // namespace tessaly
