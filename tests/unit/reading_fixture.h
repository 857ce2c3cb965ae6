// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small reference store of the reading and report tests, built once per
// test program from the files under tests/data/readings.

#include <QStringList>
#include <QTemporaryDir>

#include "store/reference_store.h"
#include "tests/unit/test_support.h"

namespace tessaly::test {

inline QString ReadingFixtureDir() { return SourceDir() + QStringLiteral("/tests/data/readings"); }

// Every text table filled from its fixture file (full = true), or the stroke
// table alone with empty text tables (full = false).
inline QString ReadingFixtureStore(bool full = true) {
  static QTemporaryDir dir;
  static QString paths[2];
  QString& path = paths[full ? 1 : 0];
  if (path.isEmpty()) {
    const QString d = ReadingFixtureDir();
    QStringList tables;
    if (full) {
      tables << QStringLiteral("三才吉凶=") + d + QStringLiteral("/sancai.tsv")
             << QStringLiteral("八十一划=") + d + QStringLiteral("/shuli.tsv")
             << QStringLiteral("称骨算命=") + d + QStringLiteral("/chenggu.tsv")
             << QStringLiteral("星座=") + d + QStringLiteral("/xingzuo.tsv")
             << QStringLiteral("属相=") + d + QStringLiteral("/shuxiang.tsv")
             << QStringLiteral("日份=") + d + QStringLiteral("/rifen.tsv")
             << QStringLiteral("时份=") + d + QStringLiteral("/shifen.tsv")
             << QStringLiteral("月份=") + d + QStringLiteral("/yuefen.tsv");
    }
    path = MakeStore(dir, full ? QStringLiteral("full.dat") : QStringLiteral("strokes_only.dat"),
                     d + QStringLiteral("/strokes.txt"), tables);
  }
  return path;
}

}  // namespace tessaly::test
