// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "controls/message_box.h"

namespace tessaly {

bool SaveSetting(QWidget* parent, const QString& key, const QVariant& value) {
  static bool told = false;
  QString trouble;
  {
    QSettings settings;
    const QFileInfo file(settings.fileName());
    const QString shown = QDir::toNativeSeparators(file.filePath());
    if (file.isSymLink() || QFileInfo(file.path()).isSymLink()) {
      trouble =
          QStringLiteral("“%1”是符号链接或在符号链接的文件夹中，本软件不经由符号链接写入设置。")
              .arg(shown);
    } else {
      settings.setValue(key, value);
      settings.sync();
      if (settings.status() == QSettings::NoError) return true;
      trouble = QStringLiteral("无法写入“%1”。").arg(shown);
    }
  }
  if (!told) {
    told = true;
    InfoBox(parent, QStringLiteral("未能保存设置：") + trouble);
  }
  return false;
}

}  // namespace tessaly
