// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the reference store kvdata.dat from its UTF-8 text sources:
//
//   tessaly-mkstore [--key KEY] [--sql SQL] OUT strokes.txt TABLE=FILE.tsv ...
//
// strokes.txt holds "COUNT<TAB>CHARACTERS" lines (the stroke table, one row per
// count); each TABLE=FILE pair names a text table (三才吉凶, 八十一划, 称骨算命,
// 星座, 属相, 日份, 时份, 月份) and its "KEY<TAB>TEXT" file. Lines starting with '#'
// and empty lines are skipped. The file is written beside OUT and renamed over it
// when complete. --key builds with another password, --sql runs SQL on the
// finished tables (both for tests: stores that are wrong in one way).

#include <sqlite3.h>

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <cstdio>
#include <string>

#include "store/reference_store.h"

namespace {

struct Row {
  QString key;
  QString value;
};

[[noreturn]] void Die(const QString& message) {
  std::fprintf(stderr, "tessaly-mkstore: %s\n", message.toUtf8().constData());
  std::exit(1);
}

QList<Row> ReadRows(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    Die(QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
  QList<Row> rows;
  QSet<QString> keys;
  int line_no = 0;
  for (const QByteArray& raw : f.readAll().split('\n')) {
    ++line_no;
    QString line = QString::fromUtf8(raw);
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    if (tab <= 0) Die(QStringLiteral("%1:%2: expected KEY<TAB>TEXT").arg(path).arg(line_no));
    Row row{line.left(tab), line.mid(tab + 1)};
    if (keys.contains(row.key))
      Die(QStringLiteral("%1:%2: duplicate key %3").arg(path).arg(line_no).arg(row.key));
    keys.insert(row.key);
    rows.append(row);
  }
  return rows;
}

void Exec(sqlite3* db, const char* sql) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
    Die(QStringLiteral("%1: %2").arg(QString::fromUtf8(sql), QString::fromUtf8(err)));
  }
}

void Insert(sqlite3* db, const tessaly::TableInfo& t, const QList<Row>& rows) {
  const std::string sql = std::string("create table \"") + t.name + "\" (\"" + t.key_column +
                          "\" text, \"" + t.result_column + "\" text)";
  Exec(db, sql.c_str());
  const std::string ins = std::string("insert into \"") + t.name + "\" values (?1, ?2)";
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, ins.c_str(), -1, &st, nullptr) != SQLITE_OK)
    Die(QString::fromUtf8(sqlite3_errmsg(db)));
  for (const Row& r : rows) {
    const QByteArray a = r.key.toUtf8();
    const QByteArray b = r.value.toUtf8();
    sqlite3_bind_text(st, 1, a.constData(), static_cast<int>(a.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(st) != SQLITE_DONE) Die(QString::fromUtf8(sqlite3_errmsg(db)));
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
}

}  // namespace

int main(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  QByteArray key = tessaly::ReferenceStore::kPassword;
  QByteArray extra_sql;
  while (args.size() >= 2 &&
         (args[0] == QStringLiteral("--key") || args[0] == QStringLiteral("--sql"))) {
    (args[0] == QStringLiteral("--key") ? key : extra_sql) = args[1].toUtf8();
    args = args.mid(2);
  }
  if (args.size() < 2) {
    Die(QStringLiteral(
        "usage: tessaly-mkstore [--key KEY] [--sql SQL] OUT strokes.txt TABLE=FILE..."));
  }
  const QString out = args[0];
  const QString tmp = out + QStringLiteral(".part");
  QFile::remove(tmp);

  sqlite3* db = nullptr;
  if (sqlite3_open_v2(QFile::encodeName(tmp).constData(), &db,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    Die(QStringLiteral("cannot create %1").arg(tmp));
  }
  if (sqlite3_key(db, key.constData(), static_cast<int>(key.size())) != SQLITE_OK)
    Die(QStringLiteral("sqlite3_key failed"));
  Exec(db, "begin");

  // The stroke table: the key column holds the characters, the count is the row's number.
  {
    QList<Row> rows = ReadRows(args[1]);
    for (Row& r : rows) std::swap(r.key, r.value);  // file is COUNT<TAB>CHARS
    Insert(db, tessaly::InfoOf(tessaly::Table::Strokes), rows);
  }
  QSet<QString> done;
  for (qsizetype i = 2; i < args.size(); ++i) {
    const qsizetype eq = args[i].indexOf(QLatin1Char('='));
    if (eq <= 0) Die(QStringLiteral("expected TABLE=FILE, got %1").arg(args[i]));
    const QString name = args[i].left(eq);
    bool found = false;
    for (int t = 1; t < tessaly::kTableCount; ++t) {
      const tessaly::TableInfo& info = tessaly::InfoOf(static_cast<tessaly::Table>(t));
      if (name == QString::fromUtf8(info.name)) {
        Insert(db, info, ReadRows(args[i].mid(eq + 1)));
        done.insert(name);
        found = true;
      }
    }
    if (!found) Die(QStringLiteral("unknown table %1").arg(name));
  }
  // Every table exists, even when no source was given for it, so that lookups
  // find no row rather than fail.
  for (int t = 1; t < tessaly::kTableCount; ++t) {
    const tessaly::TableInfo& info = tessaly::InfoOf(static_cast<tessaly::Table>(t));
    if (!done.contains(QString::fromUtf8(info.name))) Insert(db, info, {});
  }
  if (!extra_sql.isEmpty()) Exec(db, extra_sql.constData());
  Exec(db, "commit");
  if (sqlite3_close(db) != SQLITE_OK) Die(QStringLiteral("closing failed"));
  QFile::remove(out);
  if (!QFile::rename(tmp, out)) Die(QStringLiteral("cannot rename %1 to %2").arg(tmp, out));
  return 0;
}
