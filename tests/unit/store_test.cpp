// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "core/errors.h"
#include "store/reference_store.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

const QString kNumber = QStringLiteral("数字");

QString Strokes(ReferenceStore& store, const QString& ch) {
  return store.LookupField(Statement{Table::Strokes, ch}, kNumber);
}

class BuiltStore : public ::testing::Test {
 protected:
  void SetUp() override { store_.Open(test::BuiltStorePath()); }
  ReferenceStore store_;
};

struct StrokeCase {
  const char* name;
  const char* ch;
  int count;
};

class StrokeCounts : public BuiltStore, public ::testing::WithParamInterface<StrokeCase> {};

TEST_P(StrokeCounts, FollowTheTraditionalForms) {
  EXPECT_EQ(Strokes(store_, QString::fromUtf8(GetParam().ch)), QString::number(GetParam().count));
}

const StrokeCase kStrokeCounts[] = {
    {"Zhang_11", "张", 11}, {"Wang_4", "王", 4},    {"Li_7", "李", 7},      {"Liu_15", "刘", 15},
    {"Chen_16", "陈", 16},  {"Yang_13", "杨", 13},  {"Huang_12", "黄", 12}, {"Zhao_14", "赵", 14},
    {"Wu_7", "吴", 7},      {"Zhou_8", "周", 8},    {"Jiang_7", "江", 7},   {"Wang_8", "汪", 8},
    {"Guo_15", "郭", 15},   {"Deng_19", "邓", 19},  {"Lu_16", "陆", 16},    {"Hua_10", "花", 10},
    {"Fan_11", "范", 11},   {"Yu_3", "于", 3},      {"Si_4", "四", 4},      {"Jiu_9", "九", 9},
    {"Luo_20", "罗", 20},   {"Zheng_19", "郑", 19}, {"Ye_15", "叶", 15},    {"Su_22", "苏", 22},
    {"Lin_13", "琳", 13},   {"Hu_11", "胡", 11}};
INSTANTIATE_TEST_SUITE_P(Characters, StrokeCounts, ::testing::ValuesIn(kStrokeCounts),
                         test::RowName());

struct NamedText {
  const char* name;
  QString text;
};

class GbkIdeographs : public BuiltStore, public ::testing::WithParamInterface<NamedText> {};

TEST_P(GbkIdeographs, HaveACount) {
  const QString s = Strokes(store_, GetParam().text);
  bool ok = false;
  const int n = s.toInt(&ok);
  EXPECT_TRUE(ok && n > 0 && n < 70) << s.toStdString();
}

// A sample across the GBK ideograph range, including rare ones.
INSTANTIATE_TEST_SUITE_P(Sample, GbkIdeographs,
                         ::testing::Values(NamedText{"Yi_U4E00", QStringLiteral("一")},
                                           NamedText{"Yu_U9FA5", QStringLiteral("龥")},
                                           NamedText{"Kao_U4E02", QStringLiteral("丂")},
                                           NamedText{"Bie_U9F08", QStringLiteral("鼈")},
                                           NamedText{"Ling_U3007", QStringLiteral("〇")},
                                           NamedText{"Yi_U4E42", QStringLiteral("乂")},
                                           NamedText{"Nang_U9F49", QStringLiteral("齉")},
                                           NamedText{"Hong_U857B", QStringLiteral("蕻")}),
                         test::RowName());

class HostileValues : public BuiltStore, public ::testing::WithParamInterface<NamedText> {};

TEST_P(HostileValues, MatchNothingAndRaiseNothing) {
  const QString& v = GetParam().text;
  for (int t = 0; t < kTableCount; ++t) {
    const TableInfo& info = InfoOf(static_cast<Table>(t));
    QString got;
    EXPECT_NO_THROW(
        got = store_.LookupField(Statement{info.table, v}, QString::fromUtf8(info.result_column)))
        << info.name;
    EXPECT_TRUE(got.isEmpty()) << info.name << " matched " << v.left(20).toStdString();
  }
  // The store still answers normally afterwards.
  EXPECT_EQ(Strokes(store_, QStringLiteral("张")), QStringLiteral("11"));
}

INSTANTIATE_TEST_SUITE_P(
    Values, HostileValues,
    ::testing::Values(NamedText{"DoubleQuote", QStringLiteral("\"")},
                      NamedText{"Percent", QStringLiteral("%")},
                      NamedText{"Underscore", QStringLiteral("_")},
                      NamedText{"QuoteOrTrue", QStringLiteral("' or 1=1 --")},
                      NamedText{"DoubleQuoteOrTrue", QStringLiteral("\" or \"\"=\"")},
                      NamedText{"PercentAround", QStringLiteral("%张%")},
                      NamedText{"Empty", QString()},
                      NamedText{"DropTable", QStringLiteral("x\"; drop table 汉字笔划; --")},
                      NamedText{"TenThousandCharacters", QString(10000, QChar(u'张'))},
                      NamedText{"Nul", QString(QChar(u'\0'))}),
    test::RowName());

TEST_F(BuiltStore, AbsentKeysGiveEmptyText) {
  EXPECT_EQ(Strokes(store_, QStringLiteral("A")), QString());
  EXPECT_EQ(
      store_.LookupField(Statement{Table::EightyOne, QStringLiteral("82")}, QStringLiteral("内容")),
      QString());
  EXPECT_EQ(
      store_.LookupField(Statement{Table::EightyOne, QStringLiteral("01")}, QStringLiteral("内容")),
      QString());
}

TEST_F(BuiltStore, UnknownColumnIsAnError) {
  EXPECT_THROW(
      store_.LookupField(Statement{Table::Strokes, QStringLiteral("张")}, QStringLiteral("内容")),
      StoreError);
  // The key column itself may be read back.
  EXPECT_TRUE(
      store_.LookupField(Statement{Table::Strokes, QStringLiteral("张")}, QStringLiteral("汉字"))
          .contains(QStringLiteral("张")));
}

class StoreFiles : public ::testing::Test {
 protected:
  QString Make(const QString& name, const QString& key = {}) {
    return test::MakeStore(dir_, name,
                           test::SourceDir() + QStringLiteral("/tests/data/store/strokes.txt"),
                           {QStringLiteral("三才吉凶=") + test::SourceDir() +
                            QStringLiteral("/tests/data/store/sancai.tsv")},
                           key);
  }
  QTemporaryDir dir_;
};

TEST_F(StoreFiles, SmallStoreAnswersLookups) {
  ReferenceStore store;
  store.Open(Make(QStringLiteral("small.dat")));
  EXPECT_EQ(Strokes(store, QStringLiteral("千")), QStringLiteral("3"));
  EXPECT_EQ(Strokes(store, QStringLiteral("范")), QStringLiteral("11"));
  EXPECT_EQ(
      store.LookupField(Statement{Table::SanCai, QStringLiteral("木木木")}, QStringLiteral("吉凶")),
      QStringLiteral("<b>大吉</b>：带标记的判语。"));
  // A table without a source holds no row for the key.
  EXPECT_EQ(
      store.LookupField(Statement{Table::Hour, QStringLiteral("子时")}, QStringLiteral("内容")),
      QString());
}

TEST_F(StoreFiles, FileIsEncrypted) {
  const QByteArray bytes = test::ReadFile(Make(QStringLiteral("enc.dat")));
  ASSERT_GT(bytes.size(), 1024);
  EXPECT_FALSE(bytes.startsWith("SQLite format 3"));
  EXPECT_FALSE(bytes.contains(QStringLiteral("测试用的判语").toUtf8()));
}

TEST_F(StoreFiles, MissingFileSaysIllegalInstall) {
  ReferenceStore store;
  try {
    store.Open(dir_.filePath(QStringLiteral("nothing.dat")));
    ADD_FAILURE();
  } catch (const StoreMissingError& e) {
    EXPECT_EQ(e.message(), QStringLiteral("软件非法安装：找不到“%1”")
                               .arg(dir_.filePath(QStringLiteral("nothing.dat"))));
  }
  EXPECT_FALSE(store.IsOpen());
  EXPECT_THROW(Strokes(store, QStringLiteral("张")), StoreError);
  // A directory in the file's place is no store either.
  EXPECT_THROW(store.Open(dir_.path()), StoreMissingError);
}

// A store under another password, or a good store's bytes damaged.
struct DamageCase {
  const char* name;
  QByteArray (*damage)(const QByteArray& good);  // null: another password
};

class DamagedStore : public StoreFiles, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedStore, SaysDamagedWithTheLibraryReason) {
  const DamageCase& c = GetParam();
  const QString path = c.damage
                           ? dir_.filePath(QString::fromUtf8(c.name))
                           : Make(QStringLiteral("other.dat"), QStringLiteral("another-password"));
  if (c.damage) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(c.damage(test::ReadFile(Make(QStringLiteral("good.dat")))));
  }
  ReferenceStore store;
  try {
    store.Open(path);
    ADD_FAILURE() << "opened";
  } catch (const StoreMissingError&) {
    ADD_FAILURE() << "reported as missing";
  } catch (const StoreError& e) {
    EXPECT_TRUE(e.message().startsWith(QStringLiteral("参考数据库已损坏：")))
        << e.message().toStdString();
    EXPECT_GT(e.message().size(), 9) << "no reason given";
    EXPECT_FALSE(store.IsOpen());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedStore,
    ::testing::Values(
        DamageCase{"other_key", nullptr},
        DamageCase{"truncated", [](const QByteArray& b) { return b.left(b.size() / 2); }},
        DamageCase{"zero_bytes", [](const QByteArray&) { return QByteArray(); }},
        DamageCase{"garbage", [](const QByteArray&) { return QByteArray(8192, '\x5a'); }},
        DamageCase{"plain_text", [](const QByteArray&) { return QByteArray("just some text\n"); }}),
    test::RowName());

// Sixteen bytes overwritten at each kilobyte of the shipped store: the store
// opens and answers, or every error it raises says it is damaged.
TEST(DamagedStore, EveryErrorSaysDamaged) {
  const QByteArray good = test::ReadFile(test::BuiltStorePath());
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kvdata.dat"));
  for (qsizetype at = 0; at + 16 <= good.size(); at += 1024) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(good).replace(at, 16, QByteArray(16, 'X')));
    f.close();
    ReferenceStore store;
    try {
      store.Open(path);
      for (const TableInfo& t : kTables) {
        store.LookupField(Statement{t.table, QStringLiteral("张")},
                          QString::fromUtf8(t.result_column));
      }
    } catch (const StoreError& e) {
      EXPECT_TRUE(e.message().startsWith(QStringLiteral("参考数据库已损坏：")))
          << "at " << at << ": " << e.message().toStdString();
    }
  }
}

// A store without a table or column the lookups read, or with rows that are
// not sound, is refused at open; a missing column would otherwise read as its
// own name, a text constant, and a stroke count of 0 wrap the grids.
struct LayoutCase {
  const char* name;
  const char* sql;
  const char* message;
};

class StoreLayout : public ::testing::TestWithParam<LayoutCase> {
 protected:
  QTemporaryDir dir_;
};

TEST_P(StoreLayout, IsCheckedAtOpen) {
  const QString path =
      test::MakeStore(dir_, QStringLiteral("layout.dat"),
                      test::SourceDir() + QStringLiteral("/tests/data/store/strokes.txt"), {}, {},
                      QString::fromUtf8(GetParam().sql));
  ReferenceStore store;
  try {
    store.Open(path);
    ADD_FAILURE() << "opened";
  } catch (const StoreError& e) {
    EXPECT_EQ(e.message(), QString::fromUtf8(GetParam().message));
    EXPECT_FALSE(store.IsOpen());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Broken, StoreLayout,
    ::testing::Values(
        LayoutCase{"NoStrokeTable", "drop table 汉字笔划", "参考数据库已损坏：没有表“汉字笔划”"},
        LayoutCase{"NoMonthTable", "drop table 月份", "参考数据库已损坏：没有表“月份”"},
        LayoutCase{"NoResultColumn",
                   "drop table 称骨算命; create table 称骨算命 (数字 text, 内文 text)",
                   "参考数据库已损坏：表“称骨算命”中没有字段“内容”"},
        LayoutCase{"NoKeyColumn",
                   "drop table 三才吉凶; create table 三才吉凶 (五行 text, 吉凶 text)",
                   "参考数据库已损坏：表“三才吉凶”中没有字段“三才”"},
        LayoutCase{"EmptiedTable", "delete from 属相", "参考数据库已损坏：表“属相”是空的"},
        LayoutCase{"NullText", "update 八十一划 set 内容 = null",
                   "参考数据库已损坏：表“八十一划”的字段“内容”有空值"},
        LayoutCase{"StrokeCountZero", "update 汉字笔划 set 数字 = '0' where rowid = 2",
                   "参考数据库已损坏：表“汉字笔划”中的笔画数“0”不在1至64之间"},
        LayoutCase{"StrokeCountNoNumber", "update 汉字笔划 set 数字 = '十' where rowid = 1",
                   "参考数据库已损坏：表“汉字笔划”中的笔画数“十”不在1至64之间"},
        LayoutCase{"StrokeCount65", "update 汉字笔划 set 数字 = '65' where rowid = 1",
                   "参考数据库已损坏：表“汉字笔划”中的笔画数“65”不在1至64之间"}),
    test::RowName());

// The store is keyed with SQLCipher's own derivation of the password, done when
// it is built: it opens in SQLCipher with the raw key that tessaly-mkstore
// prints (no derivation) as with the password, and with no other key.
TEST(StoreKey, PrintedKeyAndPasswordOpenTheStore) {
  QProcess mkstore;
  mkstore.start(QStringLiteral(TESSALY_MKSTORE), {QStringLiteral("--print-key")});
  ASSERT_TRUE(mkstore.waitForFinished(60000) && mkstore.exitCode() == 0);
  const QByteArray printed = mkstore.readAllStandardOutput().trimmed();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^x'[0-9A-F]{96}'$"))
                  .match(QString::fromLatin1(printed))
                  .hasMatch())
      << printed.toStdString();
  const struct {
    const char* name;
    QByteArray key;
    bool opens;
  } keys[] = {{"printed key", printed, true},
              {"password", ReferenceStore::kPassword, true},
              {"other raw key", "x'" + QByteArray(96, 'A') + "'", false}};
  const QByteArray path = QFile::encodeName(test::BuiltStorePath());
  for (const auto& k : keys) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_key(db, k.key.constData(), static_cast<int>(k.key.size()));
    const int rc = sqlite3_exec(db, "select count(*) from 汉字笔划", nullptr, nullptr, nullptr);
    EXPECT_EQ(rc == SQLITE_OK, k.opens) << k.name << ": " << sqlite3_errmsg(db);
    sqlite3_close_v2(db);
  }
}

TEST_F(StoreFiles, OpeningNeverWritesTheFile) {
  const QString path = Make(QStringLiteral("ro.dat"));
  const QByteArray before = test::ReadFile(path);
  {
    ReferenceStore store;
    store.Open(path);
    for (int i = 0; i < 100; ++i) Strokes(store, QStringLiteral("张"));
  }
  EXPECT_EQ(test::ReadFile(path), before);
  EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
  EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
}

}  // namespace
}  // namespace tessaly
