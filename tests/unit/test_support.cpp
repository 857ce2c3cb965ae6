// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/unit/test_support.h"

#include <QFile>
#include <QProcess>

#include <stdexcept>

#include "store/reference_store.h"

namespace tessaly::test {

QString SourceDir() { return QStringLiteral(TESSALY_SOURCE_DIR); }
QString BinaryDir() { return QStringLiteral(TESSALY_BINARY_DIR); }
QString BuiltStorePath() { return BinaryDir() + QStringLiteral("/share/tessaly/kvdata.dat"); }

QString MakeStore(const QTemporaryDir& dir, const QString& name, const QString& strokes_file,
                  const QStringList& tables, const QString& key, const QString& sql) {
  const QString out = dir.filePath(name);
  QStringList args;
  if (!key.isEmpty()) args << QStringLiteral("--key") << key;
  // A store with an empty table is damaged: a text table without a source
  // gets one row that no lookup finds.
  QString fill;
  for (const TableInfo& t : kTables) {
    if (t.table == Table::Strokes) continue;
    fill += QStringLiteral(
                "insert into \"%1\" select '-', '-' where not exists "
                "(select 1 from \"%1\");")
                .arg(QString::fromUtf8(t.name));
  }
  args << QStringLiteral("--sql") << fill + sql;
  args << out << strokes_file << tables;
  QProcess p;
  p.start(QStringLiteral(TESSALY_MKSTORE), args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) {
    throw std::runtime_error("tessaly-mkstore failed: " + p.readAllStandardError().toStdString());
  }
  return out;
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace tessaly::test
