// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/click_sound.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include "core/paths.h"

namespace tessaly {

namespace {

QSoundEffect* Effect() {
  static QSoundEffect* effect = [] {
    const QString path = DataDir() + QStringLiteral("/sound.wav");
    if (QCoreApplication::instance() == nullptr || !QFileInfo::exists(path)) {
      return static_cast<QSoundEffect*>(nullptr);
    }
    auto* e = new QSoundEffect(QCoreApplication::instance());
    e->setSource(QUrl::fromLocalFile(path));
    e->setVolume(0.6f);
    return e;
  }();
  return effect;
}

}  // namespace

void PrepareClickSound() { Effect(); }

void PlayClickSound() {
  QSoundEffect* effect = Effect();
  if (effect == nullptr || effect->status() == QSoundEffect::Error) return;
  effect->play();
}

}  // namespace tessaly
