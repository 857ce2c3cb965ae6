// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program finds its data and keeps its scratch files.

#include <QString>

namespace tessaly {

// The directory holding kvdata.dat, sound.wav and the artwork: share/tessaly
// beside the bin directory of the running program, which is the same shape in
// the build tree and in an installed prefix. Needs the running executable's path
// (QCoreApplication, or SetExecutablePath before it exists).
QString DataDir();

// The directory holding the program's own modules (the click sound's player):
// lib/tessaly beside the bin directory, found as DataDir is.
QString ModuleDir();

// Tells DataDir and ModuleDir where the program runs from when no QCoreApplication exists.
void SetExecutablePath(const QString& path);

// The per-user cache directory (~/.cache/tessaly), created on demand for the
// user alone (0700). Raises FileError when it cannot be created, or when it is
// there but not the user's own (nothing may be written into it then).
QString CacheDir();

}  // namespace tessaly
