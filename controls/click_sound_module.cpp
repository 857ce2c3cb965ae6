// SPDX-License-Identifier: GPL-3.0-or-later
// The sound module (lib/tessaly/sound.so): plays the click sound with
// QtMultimedia, which the program thus loads only with the sound, after its
// first paint.

#include <QCoreApplication>
#include <QObject>
#include <QSoundEffect>
#include <QUrl>
#include <QtPlugin>

#include "controls/click_sound.h"

namespace tessaly {

class ClickSoundModule : public QObject, public ClickSoundPlayer {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.tessaly.ClickSoundPlayer/1")
  Q_INTERFACES(tessaly::ClickSoundPlayer)

 public:
  void Load(const QString& path) override {
    effect_ = new QSoundEffect(QCoreApplication::instance());
    effect_->setSource(QUrl::fromLocalFile(path));
    effect_->setVolume(0.6f);
  }

  void Play() override {
    if (effect_ == nullptr || effect_->status() == QSoundEffect::Error) return;
    effect_->play();
  }

 private:
  QSoundEffect* effect_ = nullptr;
};

}  // namespace tessaly

#include "click_sound_module.moc"
