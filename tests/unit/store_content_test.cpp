// SPDX-License-Identifier: GPL-3.0-or-later
// Checks over the shipped store texts: every key present, the verse layout,
// GBK, no calendar year, no two entries alike. The sources under data/store are
// read directly, and the built store is checked to answer with the same texts.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include "core/text.h"
#include "store/reference_store.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

struct Entry {
  QString key;
  QString text;
};

QList<Entry> ReadTable(const QString& file) {
  QFile f(test::SourceDir() + QStringLiteral("/data/store/") + file);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
  QList<Entry> rows;
  for (const QByteArray& raw : f.readAll().split('\n')) {
    const QString line = QString::fromUtf8(raw);
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    rows.append({line.left(tab), line.mid(tab + 1)});
  }
  return rows;
}

QStringList Range(int from, int to) {
  QStringList keys;
  for (int i = from; i <= to; ++i) keys << QString::number(i);
  return keys;
}

QStringList Split(const char* words) { return QString::fromUtf8(words).split(QLatin1Char(' ')); }

QStringList ElementKeys() {
  const QStringList e = Split("木 火 土 金 水");
  QStringList keys;
  for (const QString& a : e)
    for (const QString& b : e)
      for (const QString& c : e) keys << a + b + c;
  return keys;
}

struct TableCase {
  const char* file;
  Table table;
  QStringList keys;
};

QList<TableCase> Tables() {
  const QStringList months = Split("正月 二月 三月 四月 五月 六月 七月 八月 九月 十月 冬月 腊月");
  QStringList month_keys = months;
  month_keys << Split("闰正 闰二 闰三 闰四 闰五 闰六 闰七 闰八 闰九 闰十 闰冬 闰腊");
  return {
      {"sancai.tsv", Table::SanCai, ElementKeys()},
      {"shuli.tsv", Table::EightyOne, Range(1, 81)},
      {"chenggu.tsv", Table::BoneVerse, Range(21, 71)},
      {"xingzuo.tsv", Table::StarSign,
       Split(
           "白羊座 金牛座 双子座 巨蟹座 狮子座 处女座 天秤座 天蝎座 射手座 摩羯座 水瓶座 双鱼座")},
      {"shuxiang.tsv", Table::Animal, Split("鼠 牛 虎 兔 龙 蛇 马 羊 猴 鸡 狗 猪")},
      {"rifen.tsv", Table::LunarDay,
       Split("初一 初二 初三 初四 初五 初六 初七 初八 初九 初十 十一 十二 十三 十四 十五 十六 十七 "
             "十八 "
             "十九 二十 廿一 廿二 廿三 廿四 廿五 廿六 廿七 廿八 廿九 三十")},
      {"shifen.tsv", Table::Hour,
       Split("子时 丑时 寅时 卯时 辰时 巳时 午时 未时 申时 酉时 戌时 亥时")},
      {"yuefen.tsv", Table::LunarMonth, month_keys},
  };
}

// Failure reports show a row by its file.
void PrintTo(const TableCase& c, std::ostream* os) { *os << c.file; }

class StoreTable : public ::testing::TestWithParam<TableCase> {};

TEST_P(StoreTable, HasExactlyItsKeys) {
  QStringList keys;
  for (const Entry& e : ReadTable(QString::fromUtf8(GetParam().file))) keys << e.key;
  EXPECT_EQ(keys, GetParam().keys);
}

// Rows named by their file, without the extension.
INSTANTIATE_TEST_SUITE_P(Sources, StoreTable, ::testing::ValuesIn(Tables()), [](const auto& info) {
  return QString::fromUtf8(info.param.file).section(QLatin1Char('.'), 0, 0).toStdString();
});

TEST(StoreContent, TextsFitGbkNameNoYearAndAreDistinct) {
  static const QRegularExpression year(
      QStringLiteral("[0-9０-９]{2,}\\s*年|[〇一二三四五六七八九零]{4}年"));
  QHash<QString, QString> seen;  // text -> where
  for (const TableCase& t : Tables()) {
    for (const Entry& e : ReadTable(QString::fromUtf8(t.file))) {
      const QString where = QString::fromUtf8(t.file) + QLatin1Char(':') + e.key;
      EXPECT_FALSE(e.text.trimmed().isEmpty()) << where.toStdString();
      EXPECT_TRUE(FitsGbk(e.text))
          << where.toStdString() << " " << FirstNonGbk(e.text).toStdString();
      EXPECT_FALSE(e.text.contains(QLatin1Char('\t')) || e.text.contains(QLatin1Char('"')))
          << where.toStdString();
      EXPECT_FALSE(year.match(e.text).hasMatch()) << where.toStdString();
      // A leap month repeats its ordinary month's text; nothing else may repeat.
      const bool leap_copy = t.table == Table::LunarMonth && e.key.startsWith(QStringLiteral("闰"));
      if (leap_copy) continue;
      EXPECT_FALSE(seen.contains(e.text))
          << where.toStdString() << " repeats " << seen.value(e.text).toStdString();
      seen.insert(e.text, where);
    }
  }
}

TEST(StoreContent, LeapMonthsRepeatTheirOrdinaryMonth) {
  QHash<QString, QString> text;
  for (const Entry& e : ReadTable(QStringLiteral("yuefen.tsv"))) text.insert(e.key, e.text);
  const QStringList ordinary = Split("正月 二月 三月 四月 五月 六月 七月 八月 九月 十月 冬月 腊月");
  for (const QString& m : ordinary) {
    EXPECT_EQ(text.value(QStringLiteral("闰") + m.left(1)), text.value(m)) << m.toStdString();
  }
}

TEST(StoreContent, RatingsLeadTheVerdicts) {
  static const QRegularExpression rating(QStringLiteral("^(大吉|吉|中吉|半吉|凶|大凶)："));
  for (const char* file : {"sancai.tsv", "shuli.tsv"}) {
    for (const Entry& e : ReadTable(QString::fromUtf8(file))) {
      EXPECT_TRUE(rating.match(e.text).hasMatch()) << file << ":" << e.key.toStdString();
    }
  }
}

TEST(StoreContent, VersesAreTwoLinesOfSevenSevenIn64Bytes) {
  // Seven characters, "，", seven, "。", twice: the lifetime reading cuts it at byte 32.
  static const QRegularExpression layout(QStringLiteral("^(\\p{Han}{7}，\\p{Han}{7}。){2}$"));
  for (const Entry& e : ReadTable(QStringLiteral("chenggu.tsv"))) {
    EXPECT_TRUE(layout.match(e.text).hasMatch()) << e.key.toStdString();
    EXPECT_EQ(ToGbk(e.text).size(), 64) << e.key.toStdString();
    EXPECT_EQ(GbkMid(e.text, 1, 32).size(), 16);
  }
}

TEST(StoreContent, BuiltStoreAnswersWithTheSourceTexts) {
  ReferenceStore store;
  store.Open(test::BuiltStorePath());
  for (const TableCase& t : Tables()) {
    const QString column = QString::fromUtf8(InfoOf(t.table).result_column);
    for (const Entry& e : ReadTable(QString::fromUtf8(t.file))) {
      EXPECT_EQ(store.LookupField(Statement{t.table, e.key}, column), e.text)
          << t.file << ":" << e.key.toStdString();
    }
  }
}

// Wordings taken out of the shipped texts (store and forecasts), with how often
// each may still occur. Raw markup would print literally in the plain report.
struct WordingCase {
  const char* name;
  const char* phrase;
  int allowed;
};

class ShippedWording : public ::testing::TestWithParam<WordingCase> {};

TEST_P(ShippedWording, OccursNoMoreThanAllowed) {
  const QString data = test::SourceDir() + QStringLiteral("/data/");
  const QString phrase = QString::fromUtf8(GetParam().phrase);
  int count = 0;
  for (const QString& dir : {QStringLiteral("store"), QStringLiteral("forecast")}) {
    for (const QFileInfo& file : QDir(data + dir).entryInfoList(QDir::Files)) {
      count += QString::fromUtf8(test::ReadFile(file.filePath())).count(phrase);
    }
  }
  EXPECT_EQ(count, GetParam().allowed);
}

INSTANTIATE_TEST_SUITE_P(Texts, ShippedWording,
                         ::testing::Values(WordingCase{"BoldMarkup", "<b>", 0},
                                           WordingCase{"BoldMarkupEnd", "</b>", 0},
                                           WordingCase{"BoneVerse57OwnsFullVaults", "金银满库", 1},
                                           WordingCase{"BoneVerse67", "若有灵", 0},
                                           WordingCase{"BoneVerse69", "人间世", 0},
                                           WordingCase{"SanCaiWoodFireWood", "只宜注意", 0},
                                           WordingCase{"SanCaiWoodWaterFire", "心肾相交", 0},
                                           WordingCase{"MonkeyDebtsSaidTwice", "欠款或拖欠", 0}),
                         test::RowName());

}  // namespace
}  // namespace tessaly
