// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared helpers of the unit tests.

#include <QString>
#include <QTemporaryDir>

namespace tessaly::test {

// The store built for the program (share/tessaly/kvdata.dat in the build tree).
QString BuiltStorePath();
// Source tree and build tree.
QString SourceDir();
QString BinaryDir();
// Builds a store from the given sources with tessaly-mkstore into dir/name;
// returns its path. `key` empty means the program's own password; `sql` runs on
// the finished tables.
QString MakeStore(const QTemporaryDir& dir, const QString& name, const QString& strokes_file,
                  const QStringList& tables, const QString& key = {}, const QString& sql = {});
QByteArray ReadFile(const QString& path);

}  // namespace tessaly::test
