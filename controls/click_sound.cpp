// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/click_sound.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPluginLoader>

#include "core/paths.h"

namespace tessaly {

namespace {

ClickSoundPlayer* Player() {
  static ClickSoundPlayer* player = []() -> ClickSoundPlayer* {
    const QString path = DataDir() + QStringLiteral("/sound.wav");
    if (QCoreApplication::instance() == nullptr || !QFileInfo::exists(path)) return nullptr;
    // The module stays loaded until the program ends.
    QPluginLoader loader(ModuleDir() + QStringLiteral("/sound.so"));
    auto* module = qobject_cast<ClickSoundPlayer*>(loader.instance());
    if (module != nullptr) module->Load(path);
    return module;
  }();
  return player;
}

}  // namespace

void PrepareClickSound() { Player(); }

void PlayClickSound() {
  if (ClickSoundPlayer* player = Player()) player->Play();
}

}  // namespace tessaly
