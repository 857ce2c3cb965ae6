// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The click sound (sound.wav of the data directory), played in the background.
// A missing or unplayable file plays nothing and is not an error.

namespace tessaly {

// Loads the sound ahead of its first use (call once the first window is shown).
void PrepareClickSound();
// Starts the sound and returns at once.
void PlayClickSound();

}  // namespace tessaly
