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

const QString kNumber = QStringLiteral("数字");

QString Strokes(ReferenceStore& store, const QString& ch) {
  return store.LookupField(Statement{Table::Strokes, ch}, kNumber);
}

class BuiltStore : public ::testing::Test {
 protected:
  void SetUp() override { store_.Open(test::BuiltStorePath()); }
  ReferenceStore store_;
};

TEST_F(BuiltStore, StrokeCountsFollowTheTraditionalForms) {
  const struct {
    const char* ch;
    int count;
  } cases[] = {{"张", 11}, {"王", 4},  {"李", 7},  {"刘", 15}, {"陈", 16}, {"杨", 13}, {"黄", 12},
               {"赵", 14}, {"吴", 7},  {"周", 8},  {"江", 7},  {"汪", 8},  {"郭", 15}, {"邓", 19},
               {"陆", 16}, {"花", 10}, {"范", 11}, {"于", 3},  {"四", 4},  {"九", 9},  {"罗", 20},
               {"郑", 19}, {"叶", 15}, {"苏", 22}, {"琳", 13}, {"胡", 11}};
  for (const auto& c : cases) {
    EXPECT_EQ(Strokes(store_, QString::fromUtf8(c.ch)), QString::number(c.count)) << c.ch;
  }
}

TEST_F(BuiltStore, EveryGbkIdeographHasACount) {
  // A sample across the GBK ideograph range, including rare ones.
  for (const char* ch : {"一", "龥", "丂", "鼈", "〇", "乂", "齉", "蕻"}) {
    const QString s = Strokes(store_, QString::fromUtf8(ch));
    bool ok = false;
    const int n = s.toInt(&ok);
    EXPECT_TRUE(ok && n > 0 && n < 70) << ch << " -> " << s.toStdString();
  }
}

TEST_F(BuiltStore, HostileValuesMatchNothingAndRaiseNothing) {
  const QString hostile[] = {
      QStringLiteral("\""), QStringLiteral("%"), QStringLiteral("_"), QStringLiteral("' or 1=1 --"),
      QStringLiteral("\" or \"\"=\""), QStringLiteral("%张%"), QString(),
      QStringLiteral("x\"; drop table 汉字笔划; --"), QString(10000, QChar(u'张')), QString(QChar(u'\0')),
  };
  for (int t = 0; t < kTableCount; ++t) {
    const TableInfo& info = InfoOf(static_cast<Table>(t));
    for (const QString& v : hostile) {
      QString got;
      EXPECT_NO_THROW(got = store_.LookupField(Statement{info.table, v}, QString::fromUtf8(info.result_column)))
          << info.name;
      EXPECT_TRUE(got.isEmpty()) << info.name << " matched " << v.left(20).toStdString();
    }
  }
  // The store still answers normally afterwards.
  EXPECT_EQ(Strokes(store_, QStringLiteral("张")), QStringLiteral("11"));
}

TEST_F(BuiltStore, AbsentKeysGiveEmptyText) {
  EXPECT_EQ(Strokes(store_, QStringLiteral("A")), QString());
  EXPECT_EQ(store_.LookupField(Statement{Table::EightyOne, QStringLiteral("82")}, QStringLiteral("内容")), QString());
  EXPECT_EQ(store_.LookupField(Statement{Table::EightyOne, QStringLiteral("01")}, QStringLiteral("内容")), QString());
}

TEST_F(BuiltStore, UnknownColumnIsAnError) {
  EXPECT_THROW(store_.LookupField(Statement{Table::Strokes, QStringLiteral("张")}, QStringLiteral("内容")),
               StoreError);
  // The key column itself may be read back.
  EXPECT_TRUE(store_.LookupField(Statement{Table::Strokes, QStringLiteral("张")}, QStringLiteral("汉字"))
                  .contains(QStringLiteral("张")));
}

class StoreFiles : public ::testing::Test {
 protected:
  QString Make(const QString& name, const QString& key = {}) {
    return test::MakeStore(dir_, name, test::SourceDir() + QStringLiteral("/tests/data/store/strokes.txt"),
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
  EXPECT_EQ(store.LookupField(Statement{Table::SanCai, QStringLiteral("木木木")}, QStringLiteral("吉凶")),
            QStringLiteral("<b>大吉</b>：带标记的判语。"));
  // Tables without a source exist and are empty.
  EXPECT_EQ(store.LookupField(Statement{Table::Hour, QStringLiteral("子时")}, QStringLiteral("内容")), QString());
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
    EXPECT_EQ(e.message(), QStringLiteral("软件非法安装"));
  }
  EXPECT_FALSE(store.IsOpen());
  EXPECT_THROW(Strokes(store, QStringLiteral("张")), StoreError);
  // A directory in the file's place is no store either.
  EXPECT_THROW(store.Open(dir_.path()), StoreMissingError);
}

TEST_F(StoreFiles, WrongKeyAndDamagedFilesSayDamagedWithTheLibraryReason) {
  const QString good = Make(QStringLiteral("good.dat"));
  const QByteArray bytes = test::ReadFile(good);
  struct Case {
    const char* name;
    QString path;
  };
  QList<Case> cases;
  cases.append({"other_key", Make(QStringLiteral("other.dat"), QStringLiteral("another-password"))});
  auto write = [&](const char* name, const QByteArray& content) {
    const QString p = dir_.filePath(QString::fromUtf8(name));
    QFile f(p);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    cases.append({name, p});
  };
  write("truncated", bytes.left(bytes.size() / 2));
  write("zero_bytes", QByteArray());
  write("garbage", QByteArray(8192, '\x5a'));
  write("plain_text", QByteArray("just some text\n"));
  for (const Case& c : cases) {
    ReferenceStore store;
    try {
      store.Open(c.path);
      // A truncated store may still open; its lookups then fail or find nothing.
      if (QString::fromUtf8(c.name) == QStringLiteral("truncated")) continue;
      ADD_FAILURE() << c.name << " opened";
    } catch (const StoreMissingError&) {
      ADD_FAILURE() << c.name << " reported as missing";
    } catch (const StoreError& e) {
      EXPECT_TRUE(e.message().startsWith(QStringLiteral("参考数据库已损坏：")))
          << c.name << " " << e.message().toStdString();
      EXPECT_GT(e.message().size(), 9) << c.name << ": no reason given";
      EXPECT_FALSE(store.IsOpen()) << c.name;
    }
  }
}

// A store without a table or column the lookups read is refused at open; a
// missing column would otherwise read as its own name, a text constant.
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
                   "参考数据库已损坏：表“三才吉凶”中没有字段“三才”"}),
    [](const auto& info) { return std::string(info.param.name); });

// The store is keyed with SQLCipher's own derivation of the password, done when
// it is built: it opens in SQLCipher with the raw key that tessaly-mkstore
// prints (no derivation) as with the password, and with no other key.
TEST(StoreKey, PrintedKeyAndPasswordOpenTheStore) {
  QProcess mkstore;
  mkstore.start(QStringLiteral(TESSALY_MKSTORE), {QStringLiteral("--print-key")});
  ASSERT_TRUE(mkstore.waitForFinished(60000) && mkstore.exitCode() == 0);
  const QByteArray printed = mkstore.readAllStandardOutput().trimmed();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^x'[0-9A-F]{96}'$")).match(QString::fromLatin1(printed)).hasMatch())
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
