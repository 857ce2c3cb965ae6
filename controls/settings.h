// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows' settings (the calendar's 显示节气), in the program's settings
// file (~/.config/tessaly/tessaly.conf). They are read with QSettings and
// written with SaveSetting, which never writes through a symbolic link: Qt
// would replace the file the link names, wherever it is.

#include <QString>
#include <QVariant>

class QWidget;

namespace tessaly {

// Stores the setting and writes the file at once. When the file or its folder
// is a symbolic link, or the file cannot be written, the setting is not kept
// and a message box over `parent` says so, once a run; false then.
bool SaveSetting(QWidget* parent, const QString& key, const QVariant& value);

}  // namespace tessaly
