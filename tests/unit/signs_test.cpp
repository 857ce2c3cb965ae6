// SPDX-License-Identifier: GPL-3.0-or-later
// The birthday's signs: zodiac year by the New Year table, cyclic names, star signs.

#include "readings/signs.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/lunar_calendar.h"
#include "calendar/sexagenary.h"
#include "core/errors.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

std::string Show(QDate d) { return d.toString(Qt::ISODate).toStdString(); }

// ---- Zodiac year ----------------------------------------------------------------

struct ZodiacCase {
  const char* name;
  DateTime birthday;
  int year;
  const char* cyclic_name;  // CyclicYearName(year)
};

class ZodiacYearCases : public testing::TestWithParam<ZodiacCase> {};

TEST_P(ZodiacYearCases, YearAndCyclicName) {
  const ZodiacCase& c = GetParam();
  const int year = ZodiacYear(c.birthday);
  EXPECT_EQ(year, c.year);
  EXPECT_EQ(CyclicYearName(year), QString::fromUtf8(c.cyclic_name));
}

DateTime At(int y, int m, int d, int h = 0, int min = 0, int s = 0, int ms = 0) {
  return DateTime{QDate(y, m, d), QTime(h, min, s, ms)};
}

INSTANTIATE_TEST_SUITE_P(
    Birthdays, ZodiacYearCases,
    testing::Values(ZodiacCase{"DayBeforeNewYear2005", At(2005, 2, 8), 2004, "甲申猴"},
                    ZodiacCase{"NewYear2005", At(2005, 2, 9), 2005, "乙酉鸡"},
                    ZodiacCase{"DayBeforeNewYear1914", At(1914, 1, 25), 1913, "癸丑牛"},
                    ZodiacCase{"NewYear1914", At(1914, 1, 26), 1914, "甲寅虎"},
                    ZodiacCase{"LastDayOf2022LunarYear", At(2023, 1, 21, 23, 59), 2022, "壬寅虎"},
                    ZodiacCase{"NewYear2023", At(2023, 1, 22), 2023, "癸卯兔"},
                    ZodiacCase{"LastDayOf2029LunarYear", At(2030, 2, 2, 12, 0), 2029, "己酉鸡"},
                    ZodiacCase{"NewYear2030", At(2030, 2, 3), 2030, "庚戌狗"},
                    ZodiacCase{"January1900", At(1900, 1, 1), 1899, "己亥猪"},
                    ZodiacCase{"DayBeforeNewYear1900", At(1900, 1, 30, 23, 59, 59), 1899, "己亥猪"},
                    ZodiacCase{"NewYear1900", At(1900, 1, 31), 1900, "庚子鼠"},
                    ZodiacCase{"FirstDayOfCalendar", At(1901, 1, 1), 1900, "庚子鼠"},
                    ZodiacCase{"NewYearAfternoon", At(2004, 1, 22, 15, 30), 2004, "甲申猴"},
                    ZodiacCase{"NewYearLastMillisecond", At(2004, 1, 22, 23, 59, 59, 999), 2004,
                               "甲申猴"},
                    ZodiacCase{"DayBeforeNewYearLastMillisecond", At(2004, 1, 21, 23, 59, 59, 999),
                               2003, "癸未羊"},
                    ZodiacCase{"DayBeforeNewYear2050", At(2050, 1, 22, 12, 0), 2049, "己巳蛇"},
                    ZodiacCase{"NewYear2050", At(2050, 1, 23), 2050, "庚午马"},
                    ZodiacCase{"LastDayOfCalendar", At(2050, 12, 31, 23, 59), 2050, "庚午马"}),
    test::RowName());

TEST(ZodiacYear, ChangesExactlyAtMidnightOfEveryNewYearsDay) {
  for (int y = 1900; y <= 2050; ++y) {
    const QDate ny = LunarNewYear(y);
    ASSERT_TRUE(ny.isValid()) << y;
    ASSERT_EQ(ny.year(), y);
    const DateTime before{ny.addDays(-1), QTime(23, 59, 59, 999)};
    // The day before New Year's Day lies in the same Gregorian year (late January
    // at the earliest), so both sides are looked up in the same table entry.
    ASSERT_EQ(before.date.year(), y);
    EXPECT_EQ(ZodiacYear(before), y - 1) << y;
    EXPECT_EQ(ZodiacYear(DateTime::AtMidnight(ny)), y) << y;
    EXPECT_EQ(ZodiacYear(DateTime{ny, QTime(12, 0)}), y) << y;
    EXPECT_EQ(ZodiacYear(DateTime{ny, QTime(23, 59, 59)}), y) << y;
    EXPECT_EQ(ZodiacYear(DateTime::AtMidnight(QDate(y, 1, 1))), y - 1) << y;
    EXPECT_EQ(ZodiacYear(DateTime::AtMidnight(QDate(y, 12, 31))), y) << y;
  }
}

struct NamedDate {
  const char* name;
  QDate date;
};

class ZodiacYearOutsideTheTable : public testing::TestWithParam<NamedDate> {};

TEST_P(ZodiacYearOutsideTheTable, RaisesAnError) {
  const QDate d = GetParam().date;
  try {
    ZodiacYear(DateTime::AtMidnight(d));
    ADD_FAILURE() << "accepted " << Show(d);
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), QStringLiteral("出生日期超出可推算的范围（1900年至2050年）"));
  }
}

const NamedDate kOutsideTheTable[] = {{"DayBeforeTable", QDate(1899, 12, 31)},
                                      {"DayAfterTable", QDate(2051, 1, 1)},
                                      {"YearOne", QDate(1, 1, 1)},
                                      {"InvalidDate", QDate()}};
INSTANTIATE_TEST_SUITE_P(Edges, ZodiacYearOutsideTheTable, testing::ValuesIn(kOutsideTheTable),
                         test::RowName());

// Every New Year's Day of the table is 正月初一 by the lunar conversion, and the
// day before it lies in the twelfth month: the two tables agree year by year.
TEST(LunarNewYear, AgreesWithTheLunarCalendar) {
  for (int y = 1901; y <= 2050; ++y) {
    const QDate ny = LunarNewYear(y);
    EXPECT_EQ(LunarCodeOf(ny), 101) << Show(ny);
    const LunarDate eve = LunarDate::Decode(LunarCodeOf(ny.addDays(-1)));
    EXPECT_EQ(eve.month, 12) << Show(ny);
    EXPECT_GE(eve.day, 29) << Show(ny);
  }
}

TEST(LunarNewYear, TableCoversOnly1900To2050) {
  EXPECT_EQ(LunarNewYear(1900), QDate(1900, 1, 31));
  EXPECT_EQ(LunarNewYear(2023), QDate(2023, 1, 22));
  EXPECT_EQ(LunarNewYear(2030), QDate(2030, 2, 3));
  EXPECT_EQ(LunarNewYear(2050), QDate(2050, 1, 23));
  EXPECT_FALSE(LunarNewYear(1899).isValid());
  EXPECT_FALSE(LunarNewYear(2051).isValid());
}

struct CyclicCase {
  const char* name;
  int year;
  const char* cyclic_name;
};

class CyclicYearNames : public testing::TestWithParam<CyclicCase> {};

TEST_P(CyclicYearNames, StemBranchAndAnimal) {
  EXPECT_EQ(CyclicYearName(GetParam().year), QString::fromUtf8(GetParam().cyclic_name));
}

const CyclicCase kCyclicYears[] = {
    {"JiaZiRat_1984", 1984, "甲子鼠"},     {"JiaShenMonkey_2004", 2004, "甲申猴"},
    {"YiYouRooster_2005", 2005, "乙酉鸡"}, {"GuiChouOx_1913", 1913, "癸丑牛"},
    {"JiaYinTiger_1914", 1914, "甲寅虎"},  {"JiHaiPig_1899", 1899, "己亥猪"},
    {"GengZiRat_1900", 1900, "庚子鼠"},    {"GuiWeiGoat_1943", 1943, "癸未羊"},
    {"GuiHaiPig_2043", 2043, "癸亥猪"},    {"JiaZiRat_2044", 2044, "甲子鼠"},
    {"GengWuHorse_2050", 2050, "庚午马"}};
INSTANTIATE_TEST_SUITE_P(Years, CyclicYearNames, testing::ValuesIn(kCyclicYears), test::RowName());

// ---- Star signs -----------------------------------------------------------------

struct SignBoundary {
  const char* name;
  int month;
  int day;  // the last day of `before`; the next day is the first of `after`
  const char* before;
  const char* after;
};

class StarSignBoundaries : public testing::TestWithParam<SignBoundary> {};

TEST_P(StarSignBoundaries, LastAndFirstDay) {
  const SignBoundary& b = GetParam();
  for (int year : {2004, 2005}) {  // a leap year and a common year
    const QDate last(year, b.month, b.day);
    EXPECT_EQ(StarSignOf(last), QString::fromUtf8(b.before)) << Show(last);
    EXPECT_EQ(StarSignOf(last.addDays(1)), QString::fromUtf8(b.after)) << Show(last.addDays(1));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, StarSignBoundaries,
    testing::Values(SignBoundary{"Capricorn_Aquarius", 1, 19, "摩羯座", "水瓶座"},
                    SignBoundary{"Aquarius_Pisces", 2, 18, "水瓶座", "双鱼座"},
                    SignBoundary{"Pisces_Aries", 3, 20, "双鱼座", "白羊座"},
                    SignBoundary{"Aries_Taurus", 4, 19, "白羊座", "金牛座"},
                    SignBoundary{"Taurus_Gemini", 5, 20, "金牛座", "双子座"},
                    SignBoundary{"Gemini_Cancer", 6, 21, "双子座", "巨蟹座"},
                    SignBoundary{"Cancer_Leo", 7, 22, "巨蟹座", "狮子座"},
                    SignBoundary{"Leo_Virgo", 8, 22, "狮子座", "处女座"},
                    SignBoundary{"Virgo_Libra", 9, 22, "处女座", "天秤座"},
                    SignBoundary{"Libra_Scorpio", 10, 23, "天秤座", "天蝎座"},
                    SignBoundary{"Scorpio_Sagittarius", 11, 21, "天蝎座", "射手座"},
                    SignBoundary{"Sagittarius_Capricorn", 12, 21, "射手座", "摩羯座"},
                    SignBoundary{"TurnOfTheYear", 12, 31, "摩羯座", "摩羯座"}),
    test::RowName());

TEST(StarSign, EveryDayOfALeapYearHasOneSignAndSignsChangeTwelveTimes) {
  QString prev = StarSignOf(QDate(2004, 1, 1));
  int changes = 0;
  for (QDate d(2004, 1, 2); d.year() == 2004; d = d.addDays(1)) {
    const QString sign = StarSignOf(d);
    ASSERT_EQ(sign.size(), 3) << Show(d);
    if (sign != prev) ++changes;
    prev = sign;
  }
  EXPECT_EQ(changes, 12);
  EXPECT_EQ(StarSignOf(QDate(2004, 2, 29)), QStringLiteral("双鱼座"));
}

}  // namespace
}  // namespace tessaly
