// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/reference_store.h"

#include <sqlite3.h>

#include <QFileInfo>

#include <cstring>

#include "core/errors.h"
#include "core/paths.h"
#include "store_key.h"  // generated: kStoreKey

namespace tessaly {

namespace {

// contains_text(haystack, needle): whether the needle occurs in the haystack,
// compared byte for byte (no wildcards; UTF-8 never matches inside a character).
// An empty needle is contained in nothing. memmem is several times faster than
// the built-in instr, which steps one character at a time.
void ContainsText(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const auto* hay = static_cast<const char*>(sqlite3_value_blob(argv[0]));
  const int hay_len = sqlite3_value_bytes(argv[0]);
  const auto* needle = static_cast<const char*>(sqlite3_value_blob(argv[1]));
  const int needle_len = sqlite3_value_bytes(argv[1]);
  const bool found =
      hay != nullptr && needle != nullptr && needle_len > 0 &&
      memmem(hay, static_cast<size_t>(hay_len), needle, static_cast<size_t>(needle_len)) != nullptr;
  sqlite3_result_int(ctx, found ? 1 : 0);
}

QString LibraryMessage(sqlite3* db, int rc) {
  const char* msg = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  return QString::fromUtf8(msg != nullptr ? msg : sqlite3_errstr(rc));
}

// The one error of a store that cannot serve the lookups.
StoreError Damaged(const QString& reason) {
  return StoreError(QStringLiteral("参考数据库已损坏：") + reason);
}

// Why the store cannot answer the lookups: SQLite's reason when it cannot read
// the layout, or the first table or column the lookups read that is missing.
// Empty when all are there. (A missing column must not get as far as a
// statement: SQLite would read its double-quoted name as a text constant.)
QString LayoutFault(sqlite3* db) {
  for (const TableInfo& t : kTables) {
    const QByteArray sql = QByteArrayLiteral("PRAGMA table_info(\"") + t.name + "\")";
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    if (rc != SQLITE_OK) return LibraryMessage(db, rc);
    bool table = false, key = false, result = false;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      const auto* column = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
      table = true;
      key = key || (column != nullptr && std::strcmp(column, t.key_column) == 0);
      result = result || (column != nullptr && std::strcmp(column, t.result_column) == 0);
    }
    const QString error = rc == SQLITE_DONE ? QString() : LibraryMessage(db, rc);
    sqlite3_finalize(st);
    if (!error.isEmpty()) return error;
    const QString name = QString::fromUtf8(t.name);
    if (!table) return QStringLiteral("没有表“%1”").arg(name);
    if (!key || !result) {
      return QStringLiteral("表“%1”中没有字段“%2”")
          .arg(name, QString::fromUtf8(key ? t.result_column : t.key_column));
    }
  }
  return {};
}

// Why the rows cannot serve the lookups: a table without rows, a NULL in a
// column the lookups read, or a stroke count outside 1..64 (the 81 grids and
// the talents wrap such counts into nonsense). Counted once here, so that no
// lookup has to check its answer. Empty when the rows are sound.
QString ContentFault(sqlite3* db) {
  for (const TableInfo& t : kTables) {
    // typeof() reads a value's type from the row's header, not its text.
    const QByteArray sql = QByteArrayLiteral("select count(*), count(*) - total(typeof(\"") +
                           t.key_column + "\") = 'null'), count(*) - total(typeof(\"" +
                           t.result_column + "\") = 'null') from \"" + t.name + '"';
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    if (rc != SQLITE_OK) return LibraryMessage(db, rc);
    rc = sqlite3_step(st);
    const sqlite3_int64 rows = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
    const sqlite3_int64 keys = rc == SQLITE_ROW ? sqlite3_column_int64(st, 1) : 0;
    const sqlite3_int64 results = rc == SQLITE_ROW ? sqlite3_column_int64(st, 2) : 0;
    const QString error = rc == SQLITE_ROW ? QString() : LibraryMessage(db, rc);
    sqlite3_finalize(st);
    if (!error.isEmpty()) return error;
    const QString name = QString::fromUtf8(t.name);
    if (rows == 0) return QStringLiteral("表“%1”是空的").arg(name);
    if (keys < rows || results < rows) {
      return QStringLiteral("表“%1”的字段“%2”有空值")
          .arg(name, QString::fromUtf8(keys < rows ? t.key_column : t.result_column));
    }
  }
  const TableInfo& strokes = InfoOf(Table::Strokes);
  const QByteArray sql =
      QByteArrayLiteral("select \"") + strokes.result_column + "\" from \"" + strokes.name +
      "\" where not (\"" + strokes.result_column + "\" glob '[1-9]' or \"" + strokes.result_column +
      "\" glob '[1-5][0-9]' or \"" + strokes.result_column + "\" glob '6[0-4]') limit 1";
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
  if (rc != SQLITE_OK) return LibraryMessage(db, rc);
  rc = sqlite3_step(st);
  QString fault;
  if (rc == SQLITE_ROW) {
    fault = QStringLiteral("表“%1”中的笔画数“%2”不在1至64之间")
                .arg(QString::fromUtf8(strokes.name),
                     QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                                       sqlite3_column_bytes(st, 0)));
  } else if (rc != SQLITE_DONE) {
    fault = LibraryMessage(db, rc);
  }
  sqlite3_finalize(st);
  return fault;
}

}  // namespace

ReferenceStore::ReferenceStore() = default;

ReferenceStore::~ReferenceStore() { Close(); }

QString ReferenceStore::DefaultPath() {
  return DataDir() + QLatin1Char('/') + QLatin1String(kFileName);
}

void ReferenceStore::Close() {
  for (sqlite3_stmt*& st : statements_) {
    if (st != nullptr) sqlite3_finalize(st);
    st = nullptr;
  }
  if (db_ != nullptr) sqlite3_close_v2(db_);
  db_ = nullptr;
}

void ReferenceStore::Open(const QString& path) {
  Close();
  const QFileInfo info(path);
  if (!info.exists() || !info.isFile()) {
    throw StoreMissingError(QStringLiteral("软件非法安装：找不到“%1”").arg(path));
  }

  sqlite3* db = nullptr;
  const QByteArray file = QFile::encodeName(path);
  int rc =
      sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  auto fail = [&](int code) {
    const QString msg = LibraryMessage(db, code);
    sqlite3_close_v2(db);
    throw Damaged(msg);
  };
  auto damaged = [&](const QString& reason) {
    sqlite3_close_v2(db);
    throw Damaged(reason);
  };
  if (rc != SQLITE_OK) fail(rc);
  rc = sqlite3_key(db, kStoreKey, static_cast<int>(sizeof kStoreKey - 1));
  if (rc != SQLITE_OK) fail(rc);

  // Make sure this really is SQLCipher answering, not a plain SQLite that would
  // read (or fail to read) the file unencrypted.
  sqlite3_stmt* st = nullptr;
  rc = sqlite3_prepare_v2(db, "PRAGMA cipher_version", -1, &st, nullptr);
  if (rc != SQLITE_OK) fail(rc);
  const bool has_cipher = sqlite3_step(st) == SQLITE_ROW;
  sqlite3_finalize(st);
  if (!has_cipher) {
    sqlite3_close_v2(db);
    throw StoreError(QStringLiteral("数据库加密模块不可用，无法打开参考数据"));
  }

  rc = sqlite3_create_function_v2(db, "contains_text", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                  nullptr, ContainsText, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) fail(rc);

  // Every table and column the lookups read is there (this is also the first
  // read with the key), and every row they may read is sound, which reads
  // each row's first page (the stroke table's long texts are left for the
  // lookups).
  if (const QString fault = LayoutFault(db); !fault.isEmpty()) damaged(fault);
  if (const QString fault = ContentFault(db); !fault.isEmpty()) damaged(fault);
  db_ = db;
}

sqlite3_stmt* ReferenceStore::Prepared(Table table, int column_index) {
  sqlite3_stmt*& slot = statements_[static_cast<size_t>(table) * 2 + column_index];
  if (slot != nullptr) return slot;
  const TableInfo& t = InfoOf(table);
  const char* column = column_index == 0 ? t.key_column : t.result_column;
  QByteArray sql = QByteArrayLiteral("select \"") + column + "\" from \"" + t.name + "\" where ";
  if (t.contains) {
    // Literal containment: no wildcards, and an empty value contains nothing.
    sql += QByteArrayLiteral("contains_text(\"") + t.key_column + "\", ?1)";
  } else {
    sql += QByteArrayLiteral("\"") + t.key_column + "\" = ?1";
  }
  const int rc = sqlite3_prepare_v2(db_, sql.constData(), -1, &slot, nullptr);
  if (rc != SQLITE_OK) {
    slot = nullptr;
    throw Damaged(LibraryMessage(db_, rc));
  }
  return slot;
}

QString ReferenceStore::LookupField(const Statement& statement, const QString& column) {
  if (db_ == nullptr) throw StoreError(QStringLiteral("参考数据库没有打开，无法查询"));
  const TableInfo& t = InfoOf(statement.table);
  const QByteArray col = column.toUtf8();
  int column_index;
  if (col == t.key_column) {
    column_index = 0;
  } else if (col == t.result_column) {
    column_index = 1;
  } else {
    throw StoreError(QStringLiteral("表“%1”中没有字段“%2”").arg(QString::fromUtf8(t.name), column));
  }
  sqlite3_stmt* st = Prepared(statement.table, column_index);
  const QByteArray value = statement.value.toUtf8();
  sqlite3_bind_text(st, 1, value.constData(), static_cast<int>(value.size()), SQLITE_STATIC);
  const int rc = sqlite3_step(st);
  QString result;
  QString error;
  if (rc == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    result = QString::fromUtf8(text, sqlite3_column_bytes(st, 0));
  } else if (rc != SQLITE_DONE) {
    error = LibraryMessage(db_, rc);
  }
  sqlite3_reset(st);
  sqlite3_clear_bindings(st);
  // A page that does not decrypt or hang together is damage found late.
  if (!error.isEmpty()) throw Damaged(error);
  return result;
}

void ReferenceStore::ForEachRow(
    Table table, const std::function<void(const QString& key, const QString& result)>& row) {
  if (db_ == nullptr) throw StoreError(QStringLiteral("参考数据库没有打开，无法查询"));
  const TableInfo& t = InfoOf(table);
  const QByteArray sql = QByteArrayLiteral("select \"") + t.key_column + "\", \"" +
                         t.result_column + "\" from \"" + t.name + '"';
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db_, sql.constData(), -1, &st, nullptr);
  if (rc != SQLITE_OK) throw Damaged(LibraryMessage(db_, rc));
  const auto text = [st](int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                             sqlite3_column_bytes(st, column));
  };
  try {
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) row(text(0), text(1));
  } catch (...) {
    sqlite3_finalize(st);
    throw;
  }
  const QString error = rc == SQLITE_DONE ? QString() : LibraryMessage(db_, rc);
  sqlite3_finalize(st);
  if (!error.isEmpty()) throw Damaged(error);
}

}  // namespace tessaly
