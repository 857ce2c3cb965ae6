// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reference store: a read-only, encrypted SQLite (SQLCipher) file,
// kvdata.dat, holding the stroke counts and the texts of the name and lifetime
// readings. One lookup operation reads one column of the first matching row.

#include <QString>

#include <array>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace tessaly {

// The store's nine tables.
enum class Table {
  Strokes,     // 汉字笔划: 汉字 contains the value -> 数字
  SanCai,      // 三才吉凶: 三才 = value -> 吉凶
  EightyOne,   // 八十一划: 数字 = value -> 内容
  BoneVerse,   // 称骨算命: 数字 = value -> 内容
  StarSign,    // 星座: 星座 = value -> 内容
  Animal,      // 属相: 属相 = value -> 内容
  LunarDay,    // 日份: 日份 = value -> 内容
  Hour,        // 时份: 时份 = value -> 内容
  LunarMonth,  // 月份: 月份 = value -> 内容
};
inline constexpr int kTableCount = 9;

struct TableInfo {
  Table table;
  const char* name;        // UTF-8 table name
  const char* key_column;  // column the value is compared with
  const char* result_column;
  bool contains;  // containment test instead of equality
};

// The layout as the lookups read it and the store builder writes it.
inline constexpr std::array<TableInfo, kTableCount> kTables{{
    {Table::Strokes, "汉字笔划", "汉字", "数字", true},
    {Table::SanCai, "三才吉凶", "三才", "吉凶", false},
    {Table::EightyOne, "八十一划", "数字", "内容", false},
    {Table::BoneVerse, "称骨算命", "数字", "内容", false},
    {Table::StarSign, "星座", "星座", "内容", false},
    {Table::Animal, "属相", "属相", "内容", false},
    {Table::LunarDay, "日份", "日份", "内容", false},
    {Table::Hour, "时份", "时份", "内容", false},
    {Table::LunarMonth, "月份", "月份", "内容", false},
}};
inline const TableInfo& InfoOf(Table table) { return kTables[static_cast<size_t>(table)]; }

// One statement: "select * from <table> where <key> = <value>", or for the
// stroke table "... where 汉字 contains <value>". The value is always bound as
// a parameter and compared literally; it is never part of the SQL text.
struct Statement {
  Table table;
  QString value;
};

class ReferenceStore {
 public:
  // The store is encrypted with a raw 256-bit key that tessaly-mkstore derives
  // from this password and salt with SQLCipher's own key derivation when the
  // program is built, so that opening the store derives nothing. The program
  // holds the key (store_key.h, generated in the build), not the password.
  static constexpr const char* kPassword = "k3vn8tq1wz5rm0yh6pd2";
  static constexpr const char* kSalt = "B23D0B07E3EF3A527DB3228E636DDF3C";  // 16 bytes, hex
  static constexpr const char* kFileName = "kvdata.dat";

  ReferenceStore();
  ~ReferenceStore();
  ReferenceStore(const ReferenceStore&) = delete;
  ReferenceStore& operator=(const ReferenceStore&) = delete;

  // kvdata.dat in the data directory.
  static QString DefaultPath();

  // Opens the file read-only with the key and checks, once, that every table
  // and column the lookups read is there and that the rows are sound: no table
  // empty, no NULL in those columns, every stroke count within 1..64. A missing
  // file raises StoreMissingError, "软件非法安装" and the path looked for; any
  // other fault (a wrong key, a damaged or empty file, a missing table or
  // column, unsound rows) raises StoreError "参考数据库已损坏：" with SQLite's
  // reason or what is wrong. Closes any earlier connection first.
  void Open(const QString& path);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }

  // The named column of the first row the statement selects, or empty text when
  // no row matches. Raises StoreError when the store is not open, the column
  // does not belong to the table or the file turns out damaged ("参考数据库已损坏："
  // and SQLite's reason).
  QString LookupField(const Statement& statement, const QString& column);

  // Every row of a table, as (key column, result column), in the order the
  // lookups scan them: for the stroke table the first row whose characters hold
  // a character is the one LookupField finds. Raises StoreError as LookupField.
  void ForEachRow(Table table,
                  const std::function<void(const QString& key, const QString& result)>& row);

 private:
  sqlite3_stmt* Prepared(Table table, int column_index);

  sqlite3* db_ = nullptr;
  std::array<sqlite3_stmt*, kTableCount * 2> statements_{};
};

}  // namespace tessaly
