// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The click sound (sound.wav of the data directory), played in the background.
// A missing or unplayable file plays nothing and is not an error. The player
// (QtMultimedia, a few dozen libraries and several megabytes) lives in a module
// of its own, lib/tessaly/sound.so beside the program, loaded with the sound.

#include <QString>
#include <QtPlugin>

namespace tessaly {

// Loads the sound ahead of its first use (call once the first window is shown).
void PrepareClickSound();
// Starts the sound and returns at once.
void PlayClickSound();

// What the sound module gives.
class ClickSoundPlayer {
 public:
  virtual ~ClickSoundPlayer() = default;
  // Loads the sound file.
  virtual void Load(const QString& path) = 0;
  // Starts the sound, if it could be loaded, and returns at once.
  virtual void Play() = 0;
};

}  // namespace tessaly

Q_DECLARE_INTERFACE(tessaly::ClickSoundPlayer, "org.tessaly.ClickSoundPlayer/1")
