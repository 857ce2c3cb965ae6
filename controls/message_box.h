// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's message boxes, captioned with the application title, and its
// save dialog.

#include <QString>
#include <QStringList>

class QWidget;

namespace tessaly {

// The error box: critical icon, the error's own message.
void ErrorBox(QWidget* parent, const QString& message);
// A message the user should read before going on (information icon).
void InfoBox(QWidget* parent, const QString& message);
// A question (question icon) with the two answers' captions, "是" and "否"
// unless given. True for the first; the second is the default button, and
// Escape or closing the box gives it as well.
bool AskYesNo(QWidget* parent, const QString& message, const QString& yes = QStringLiteral("是"),
              const QString& no = QStringLiteral("否"));

// Qt's save dialog, in the user's documents folder (the home folder without
// one) with `file_name` offered and the file types `filters`. The dialog adds
// `suffix` to a name typed without an extension before it checks whether the
// file is there, so that its own question about replacing a file is asked for
// the file that will be written. `chosen_filter`, when given, gets the file
// type chosen. Empty when cancelled.
QString AskSavePath(QWidget* parent, const QString& caption, const QString& file_name,
                    const QStringList& filters, const QString& suffix,
                    QString* chosen_filter = nullptr);
QString AskSavePath(QWidget* parent, const QString& caption, const QString& file_name,
                    const QString& filter, const QString& suffix);

}  // namespace tessaly
