// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "core/errors.h"
#include "core/text.h"
#include "readings/bone_weights.h"
#include "readings/readings.h"
#include "readings/signs.h"
#include "store/reference_store.h"
#include "tests/unit/reading_fixture.h"

namespace tessaly {
namespace {

QString S(const char* s) { return QString::fromUtf8(s); }

class Lifetime : public ::testing::Test {
 protected:
  void SetUp() override { store_.Open(test::ReadingFixtureStore()); }

  // The lunar particulars as the report hands them to the reading, found by
  // their texts; a text that names none leaves an invalid field (-1).
  static LunarBirth Lunar(const char* year, const char* month, const char* day) {
    LunarBirth b{-1, -1, -1, false, -1};
    for (int n = 0; n < 60; ++n) {
      if (LunarBirth{n % 10, n % 12}.YearText() == S(year))
        b.year_stem = n % 10, b.year_branch = n % 12;
    }
    for (int m = 1; m <= 24; ++m) {
      if (LunarBirth{0, 0, (m + 1) / 2, m % 2 == 0}.MonthText() == S(month)) {
        b.month = (m + 1) / 2, b.leap_month = m % 2 == 0;
      }
    }
    for (int d = 1; d <= 30; ++d) {
      if (LunarBirth{0, 0, 1, false, d}.DayText() == S(day)) b.day = d;
    }
    return b;
  }

  static Person Inputs(int hour, QDate birthday = QDate(2005, 3, 2)) {
    Person person;
    person.birthday = DateTime::AtMidnight(birthday);
    person.birth_hour_index = hour;
    person.birth_hour = hour >= 0 && hour < 12 ? BirthHourItems()[hour] : QStringLiteral("午夜");
    return person;
  }

  ReferenceStore store_;
};

TEST_F(Lifetime, WeightsAndTotals) {
  const struct {
    const char* year;
    const char* month;
    const char* day;
    int hour;
    const char* weights[4];  // year, month, day, hour
    const char* total;
  } cases[] = {
      {"乙酉年", "正月", "廿二", 0, {"15", "06", "09", "16"}, "46"},
      // The lightest and the heaviest bone.
      {"己巳年", "五月", "初一", 1, {"05", "05", "05", "06"}, "21"},
      {"己卯年", "三月", "十八", 0, {"19", "18", "18", "16"}, "71"},
      {"戊午年", "九月", "廿六", 5, {"19", "18", "18", "16"}, "71"},
      {"癸亥年", "腊月", "三十", 11, {"06", "05", "06", "06"}, "23"},
      // Leap months weigh as their ordinary month.
      {"甲子年", "闰二", "初一", 0, {"12", "07", "05", "16"}, "40"},
      {"甲子年", "闰正", "初一", 0, {"12", "06", "05", "16"}, "39"},
      {"甲子年", "闰冬", "初一", 0, {"12", "09", "05", "16"}, "42"},
      {"甲子年", "闰腊", "初一", 0, {"12", "05", "05", "16"}, "38"},
      {"甲子年", "闰十", "初一", 0, {"12", "08", "05", "16"}, "41"},
  };
  for (const auto& c : cases) {
    const LifetimeResult r = ReadLifetime(Inputs(c.hour), Lunar(c.year, c.month, c.day), store_);
    const std::string what = std::string(c.year) + c.month + c.day;
    EXPECT_EQ(r.year_weight, S(c.weights[0])) << what;
    EXPECT_EQ(r.month_weight, S(c.weights[1])) << what;
    EXPECT_EQ(r.day_weight, S(c.weights[2])) << what;
    EXPECT_EQ(r.hour_weight, S(c.weights[3])) << what;
    EXPECT_EQ(r.hour, GbkMid(BirthHourItems()[c.hour], 9, 4)) << what;
    ASSERT_EQ(r.section.size(), 18) << what;
    EXPECT_EQ(r.section[1],
              QStringLiteral("    你的命骨总重量是") + S(c.total) + QStringLiteral("钱。"))
        << what;
  }
}

TEST_F(Lifetime, WorkedExampleSection) {
  const LifetimeResult r = ReadLifetime(Inputs(0), Lunar("乙酉年", "正月", "廿二"), store_);
  EXPECT_EQ(r.star_sign, QStringLiteral("双鱼座"));
  EXPECT_EQ(r.verse_first, QStringLiteral("测试诗句第一行，七字七字七字成。"));
  EXPECT_EQ(r.verse_second, QStringLiteral("测试诗句第二行，七字七字七字成。"));
  const QStringList expected = {
      QString(),
      QStringLiteral("    你的命骨总重量是46钱。"),
      QString(),
      QStringLiteral("    根据中国古代称骨术，下面这首诗可能暗含着你的命运："),
      QString(),
      QStringLiteral("    测试诗句第一行，七字七字七字成。"),
      QStringLiteral("    测试诗句第二行，七字七字七字成。"),
      QString(),
      QStringLiteral("    廿二日的测试文字。"),
      QString(),
      QStringLiteral("    双鱼座的测试文字。"),
      QString(),
      QStringLiteral("    子时的测试文字。"),
      QStringLiteral("    "),
      QString(),
      QStringLiteral("    正月的测试文字。"),
      QString(),
      QStringLiteral("    属鸡的测试文字。"),
  };
  EXPECT_EQ(r.section, expected);
}

TEST_F(Lifetime, VerseLines) {
  // Fixture verses: 46 two lines, 21 one line (32 bytes), 71 three lines
  // (96 bytes), 30 starting with a single-byte character.
  const struct {
    const char* year;
    const char* month;
    const char* day;
    int hour;
    const char* first;
    const char* second;
  } cases[] = {
      {"己巳年", "五月", "初一", 1, "二十一钱诗一句，只有一行无下文。", ""},
      {"己卯年", "三月", "十八", 0, "七十一钱第一句，上句下句各七字。",
       "七十一钱第二句，上句下句各七字。七十一钱第三句，上句下句各七字。"},
      {"甲子年", "正月", "初一", 2, "A三十钱诗一句，字数凑足十六字。",
       "三十钱诗第二句，字数凑足十六字。"},
      // No verse for 38: two lines of four spaces.
      {"甲子年", "腊月", "初一", 0, "", ""},
  };
  for (const auto& c : cases) {
    const LifetimeResult r = ReadLifetime(Inputs(c.hour), Lunar(c.year, c.month, c.day), store_);
    EXPECT_EQ(r.verse_first, S(c.first)) << c.year;
    EXPECT_EQ(r.verse_second, S(c.second)) << c.year;
    EXPECT_LE(GbkLength(r.verse_second), 64);
    EXPECT_EQ(r.section[5], QStringLiteral("    ") + S(c.first));
    EXPECT_EQ(r.section[6], QStringLiteral("    ") + S(c.second));
  }
}

TEST_F(Lifetime, LeapMonthTextIsLookedUpUnderItsOwnName) {
  const LifetimeResult r =
      ReadLifetime(Inputs(0, QDate(2004, 3, 21)), Lunar("甲申年", "闰二", "初一"), store_);
  EXPECT_EQ(r.star_sign, QStringLiteral("白羊座"));
  EXPECT_EQ(r.section[15], QStringLiteral("    闰二月的测试文字。"));
  EXPECT_EQ(r.section[17], QStringLiteral("    属猴的测试文字。"));
}

TEST_F(Lifetime, EmptyTextsKeepTheShape) {
  ReferenceStore bare;
  bare.Open(test::ReadingFixtureStore(false));
  const LifetimeResult r = ReadLifetime(Inputs(0), Lunar("乙酉年", "正月", "廿二"), bare);
  ASSERT_EQ(r.section.size(), 18);
  for (int i : {5, 6, 8, 10, 12, 13, 15, 17}) EXPECT_EQ(r.section[i], QStringLiteral("    ")) << i;
}

TEST_F(Lifetime, BirthHourThatSelectsNoEntryIsAnError) {
  for (int hour : {-1, 12}) {
    try {
      ReadLifetime(Inputs(hour), Lunar("乙酉年", "正月", "廿二"), store_);
      FAIL() << "no error for " << hour;
    } catch (const Error& e) {
      EXPECT_TRUE(e.message().contains(QStringLiteral("十二个时辰"))) << e.message().toStdString();
    }
  }
}

TEST_F(Lifetime, LunarNumbersOutsideTheTablesAreErrors) {
  const struct {
    const char* name;
    LunarBirth lunar;
  } cases[] = {
      {"StemAndBranchOfTwoParities", {0, 1, 1, false, 1}},
      {"StemTen", {10, 0, 1, false, 1}},
      {"NegativeBranch", {0, -2, 1, false, 1}},
      {"MonthThirteen", {0, 0, 13, false, 1}},
      {"MonthZero", {0, 0, 0, true, 1}},
      {"DayThirtyOne", {0, 0, 1, false, 31}},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(ReadLifetime(Inputs(0), c.lunar, store_), Error) << c.name;
  }
}

TEST_F(Lifetime, StoreErrorStopsTheReading) {
  ReferenceStore closed;
  EXPECT_THROW(ReadLifetime(Inputs(0), Lunar("乙酉年", "正月", "廿二"), closed), StoreError);
}

TEST(BoneWeights, TablesFollowTheCycleAndTheirRanges) {
  // The year table is in the order of the cycle, so a year's cyclic name finds
  // its own row.
  for (int i = 0; i < 60; ++i) {
    EXPECT_EQ(QString::fromUtf16(YearWeights[i].name), GbkLeft(CyclicYearName(1984 + i), 4)) << i;
  }
  auto names = [](const auto& table) {
    std::set<QString> s;
    for (const BoneWeight& w : table) s.insert(QString::fromUtf16(w.name));
    return s.size();
  };
  EXPECT_EQ(names(YearWeights), 60u);
  EXPECT_EQ(names(MonthWeights), 12u);
  EXPECT_EQ(names(DayWeights), 30u);
  EXPECT_EQ(names(HourWeights), 12u);
  // The verses are keyed 21 to 71: the extremes of the four tables.
  auto extreme = [](const auto& table, bool most) {
    int v = table[0].qian;
    for (const BoneWeight& w : table) v = most ? std::max(v, w.qian) : std::min(v, w.qian);
    return v;
  };
  EXPECT_EQ(extreme(YearWeights, false) + extreme(MonthWeights, false) +
                extreme(DayWeights, false) + extreme(HourWeights, false),
            21);
  EXPECT_EQ(extreme(YearWeights, true) + extreme(MonthWeights, true) + extreme(DayWeights, true) +
                extreme(HourWeights, true),
            71);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(QString::fromUtf16(HourWeights[i].name), GbkMid(BirthHourItems()[i], 9, 4)) << i;
  }
}

}  // namespace
}  // namespace tessaly
