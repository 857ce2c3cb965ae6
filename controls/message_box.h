// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's message boxes, captioned with the application title, and its
// save dialog.

#include <QString>

class QWidget;

namespace tessaly {

// The error box: critical icon, the error's own message.
void ErrorBox(QWidget* parent, const QString& message);
// A message the user should read before going on (information icon).
void InfoBox(QWidget* parent, const QString& message);

// Qt's save dialog, in the user's documents folder (the home folder without
// one) with `file_name` offered. A name typed without an extension gets
// `suffix`, unless it names a file that is already there: the dialog asked
// about replacing that very file. Empty when cancelled.
QString AskSavePath(QWidget* parent, const QString& caption, const QString& file_name,
                    const QString& filter, const QString& suffix);

}  // namespace tessaly
