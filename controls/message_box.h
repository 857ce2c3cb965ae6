// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's message boxes, captioned with the application title.

#include <QString>

class QWidget;

namespace tessaly {

// The error box: critical icon, the error's own message.
void ErrorBox(QWidget* parent, const QString& message);
// A message the user should read before going on (information icon).
void InfoBox(QWidget* parent, const QString& message);

}  // namespace tessaly
