// SPDX-License-Identifier: GPL-3.0-or-later
// Lunar conversion and its texts: known dates, and properties that must hold for
// every date of the calendar's range.

#include <gtest/gtest.h>

#include <string>

#include "calendar/lunar_calendar.h"
#include "core/text.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

const QDate kFirst(1901, 1, 1);
const QDate kLast(2050, 12, 31);

std::string Show(QDate d) { return d.toString(Qt::ISODate).toStdString(); }

// ---- Known dates ----------------------------------------------------------------

struct Conversion {
  const char* name;
  QDate date;
  LunarCode code;
  const char* report_text;  // LunarDateText
  const char* month_text;   // LunarMonthText, calendar naming
  const char* day_text;     // LunarDayText
  const char* ganzhi_line;  // GanZhiLine
};

class LunarConversion : public testing::TestWithParam<Conversion> {};

TEST_P(LunarConversion, CodeAndTexts) {
  const Conversion& c = GetParam();
  EXPECT_EQ(LunarCodeOf(c.date), c.code);
  EXPECT_EQ(LunarDateText(c.date), QString::fromUtf8(c.report_text));
  EXPECT_EQ(LunarMonthText(c.date, MonthNaming::Calendar), QString::fromUtf8(c.month_text));
  EXPECT_EQ(LunarDayText(c.date), QString::fromUtf8(c.day_text));
  EXPECT_EQ(GanZhiLine(c.date), QString::fromUtf8(c.ganzhi_line));
}

INSTANTIATE_TEST_SUITE_P(
    KnownDates, LunarConversion,
    testing::Values(Conversion{"SixthMonthIn2004", QDate(2004, 8, 1), 616, "六月十六", "六月",
                               "十六", "甲申 辛未   "},
                    Conversion{"FirstDayOfLeapSecondMonth", QDate(2004, 3, 21), -201, "闰二初一",
                               "闰二", "初一", "甲申 丁卯   "},
                    Conversion{"LastDayOfSecondMonthBeforeItsLeap", QDate(2004, 3, 20), 230,
                               "二月三十", "二月", "三十", "甲申 丁卯   "},
                    Conversion{"NewYear2004", QDate(2004, 1, 22), 101, "正月初一", "一月", "初一",
                               "甲申 乙丑   "},
                    Conversion{"JanuaryBeforeNewYearIsTheYearBefore", QDate(2004, 1, 10), 1219,
                               "腊月十九", "腊月", "十九", "癸未 乙丑   "},
                    Conversion{"LastDayOfTwelfthMonth", QDate(2004, 1, 21), 1230, "腊月三十",
                               "腊月", "三十", "癸未 乙丑   "},
                    Conversion{"LeapMonthRunningOnFirstJanuary", QDate(2034, 1, 1), -1111,
                               "闰冬十一", "闰冬", "十一", "癸丑 甲子   "},
                    Conversion{"LeapEleventhMonthEndOf2033", QDate(2033, 12, 31), -1110, "闰冬初十",
                               "闰冬", "初十", "癸丑 甲子   "},
                    Conversion{"TwelfthMonthAfterLeapEleventh", QDate(2034, 1, 20), 1201,
                               "腊月初一", "腊月", "初一", "癸丑 乙丑   "},
                    Conversion{"FirstDayOfRange", QDate(1901, 1, 1), 1111, "冬月十一", "冬月",
                               "十一", "庚子 戊子   "},
                    Conversion{"LastDayOfRange", QDate(2050, 12, 31), 1118, "冬月十八", "冬月",
                               "十八", "庚午 戊子   "},
                    Conversion{"LeapFourthMonth2020", QDate(2020, 5, 23), -401, "闰四初一", "闰四",
                               "初一", "庚子 辛巳   "},
                    Conversion{"TwentiethDay", QDate(2004, 8, 5), 620, "六月二十", "六月", "二十",
                               "甲申 辛未   "},
                    Conversion{"TwentyFirstDay", QDate(2004, 8, 6), 621, "六月廿一", "六月", "廿一",
                               "甲申 辛未   "},
                    Conversion{"ThirtiethDay1989", QDate(1989, 8, 1), 630, "六月三十", "六月",
                               "三十", "己巳 辛未   "},
                    Conversion{"SeventhMonth1989", QDate(1989, 8, 2), 701, "七月初一", "七月",
                               "初一", "己巳 辛未   "},
                    Conversion{"EndOfSeventhMonth1989", QDate(1989, 8, 30), 729, "七月廿九", "七月",
                               "廿九", "己巳 壬申   "},
                    Conversion{"EighthMonth1989", QDate(1989, 8, 31), 801, "八月初一", "八月",
                               "初一", "己巳 壬申   "},
                    Conversion{"FourthMonthEnd2013", QDate(2013, 6, 7), 429, "四月廿九", "四月",
                               "廿九", "癸巳 戊午   "},
                    Conversion{"FifthMonth2013", QDate(2013, 6, 8), 501, "五月初一", "五月", "初一",
                               "癸巳 戊午   "},
                    Conversion{"DragonBoat2013", QDate(2013, 6, 12), 505, "五月初五", "五月",
                               "初五", "癸巳 戊午   "},
                    Conversion{"SixthMonth2013", QDate(2013, 7, 8), 601, "六月初一", "六月", "初一",
                               "癸巳 己未   "},
                    Conversion{"TwelfthMonthStartingInJanuary", QDate(2005, 1, 10), 1201,
                               "腊月初一", "腊月", "初一", "甲申 丁丑   "},
                    Conversion{"NewYear2023", QDate(2023, 1, 22), 101, "正月初一", "一月", "初一",
                               "癸卯 癸丑   "},
                    Conversion{"NewYear2030", QDate(2030, 2, 3), 101, "正月初一", "一月", "初一",
                               "庚戌 丁丑   "}),
    test::RowName());

struct OutOfRange {
  const char* name;
  QDate date;
};

class LunarOutOfRange : public testing::TestWithParam<OutOfRange> {};

TEST_P(LunarOutOfRange, CodeZeroAndEmptyTexts) {
  const QDate d = GetParam().date;
  EXPECT_EQ(LunarCodeOf(d), 0);
  EXPECT_TRUE(LunarDateText(d).isEmpty());
  EXPECT_TRUE(LunarMonthText(d, MonthNaming::Report).isEmpty());
  EXPECT_TRUE(LunarMonthText(d, MonthNaming::Calendar).isEmpty());
  EXPECT_TRUE(LunarDayText(d).isEmpty());
  EXPECT_TRUE(YearGanZhi(d).isEmpty());
  EXPECT_TRUE(MonthGanZhi(d).isEmpty());
  EXPECT_TRUE(GanZhiLine(d).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Edges, LunarOutOfRange,
                         testing::Values(OutOfRange{"DayBeforeRange", QDate(1900, 12, 31)},
                                         OutOfRange{"DayAfterRange", QDate(2051, 1, 1)},
                                         OutOfRange{"FarFuture", QDate(3000, 6, 1)},
                                         OutOfRange{"InvalidDate", QDate()}),
                         test::RowName());

struct PackedCode {
  const char* name;
  LunarCode code;
  int month;
  bool leap;
  int day;
};

class LunarDateDecode : public testing::TestWithParam<PackedCode> {};

TEST_P(LunarDateDecode, MonthLeapAndDay) {
  const PackedCode& c = GetParam();
  const LunarDate d = LunarDate::Decode(c.code);
  EXPECT_EQ(d.month, c.month);
  EXPECT_EQ(d.leap, c.leap);
  EXPECT_EQ(d.day, c.day);
}

const PackedCode kPackedCodes[] = {{"SixthMonthDay16", 616, 6, false, 16},
                                   {"LeapSecondMonthDay1", -201, 2, true, 1},
                                   {"LeapEleventhMonthDay11", -1111, 11, true, 11},
                                   {"TwelfthMonthDay30", 1230, 12, false, 30},
                                   {"FirstMonthDay1", 101, 1, false, 1},
                                   {"NoDate", 0, 0, false, 0}};
INSTANTIATE_TEST_SUITE_P(Codes, LunarDateDecode, testing::ValuesIn(kPackedCodes), test::RowName());

struct MonthNames {
  const char* name;
  QDate date;
  const char* report;
  const char* calendar;
};

// The two namings differ only in the first and twelfth months.
class LunarMonthNamings : public testing::TestWithParam<MonthNames> {};

TEST_P(LunarMonthNamings, ReportAndCalendar) {
  const MonthNames& c = GetParam();
  EXPECT_EQ(LunarMonthText(c.date, MonthNaming::Report), QString::fromUtf8(c.report));
  EXPECT_EQ(LunarMonthText(c.date, MonthNaming::Calendar), QString::fromUtf8(c.calendar));
}

const MonthNames kMonthNames[] = {
    {"FirstMonth_2004_01_22", QDate(2004, 1, 22), "正月", "一月"},
    {"TwelfthMonth_2004_01_10", QDate(2004, 1, 10), "腊月", "腊月"},
    {"EleventhMonth_2004_12_12", QDate(2004, 12, 12), "冬月", "冬月"},
    {"TenthMonth_2004_11_12", QDate(2004, 11, 12), "十月", "十月"},
    {"LeapSecondMonth_2004_03_21", QDate(2004, 3, 21), "闰二", "闰二"},
    {"LeapEleventhMonth_2034_01_01", QDate(2034, 1, 1), "闰冬", "闰冬"},
};
INSTANTIATE_TEST_SUITE_P(Months, LunarMonthNamings, testing::ValuesIn(kMonthNames),
                         test::RowName());

struct DatePair {
  const char* name;
  QDate date;
  const char* pair;
};

class YearGanZhiOf : public testing::TestWithParam<DatePair> {};

TEST_P(YearGanZhiOf, FollowsTheLunarYear) {
  EXPECT_EQ(YearGanZhi(GetParam().date), QString::fromUtf8(GetParam().pair));
}

const DatePair kYearPairs[] = {
    {"FirstDayOfRangeIn1900sYear", QDate(1901, 1, 1), "庚子"},
    {"JiaZi_1984", QDate(1984, 6, 1), "甲子"},
    {"January_2004_01_01", QDate(2004, 1, 1), "癸未"},
    {"NewYearsEve_2004_01_21", QDate(2004, 1, 21), "癸未"},
    {"NewYear_2004_01_22", QDate(2004, 1, 22), "甲申"},
    {"December_2004_12_31", QDate(2004, 12, 31), "甲申"},
    {"LiChunBeforeNewYear_2027_02_05", QDate(2027, 2, 5), "丙午"},
    {"GuiHai_2043", QDate(2043, 7, 1), "癸亥"},
    {"LastDayOfRange", QDate(2050, 12, 31), "庚午"},
};
INSTANTIATE_TEST_SUITE_P(Dates, YearGanZhiOf, testing::ValuesIn(kYearPairs), test::RowName());

class MonthGanZhiOf : public testing::TestWithParam<DatePair> {};

TEST_P(MonthGanZhiOf, ByTheLastJie) {
  EXPECT_EQ(MonthGanZhi(GetParam().date), QString::fromUtf8(GetParam().pair));
}

const DatePair kMonthPairs[] = {
    // 小寒 begins the 丑 month, 立春 the 寅 month (2027: 5 January, 4 February),
    // whatever the lunar month; the stem runs on over the year's end.
    {"BeforeXiaoHan_2027_01_04", QDate(2027, 1, 4), "庚子"},
    {"XiaoHan_2027_01_05", QDate(2027, 1, 5), "辛丑"},
    {"BeforeLiChun_2027_02_03", QDate(2027, 2, 3), "辛丑"},
    {"LiChun_2027_02_04", QDate(2027, 2, 4), "壬寅"},
    {"NewYearBeforeLiChun_2004_01_22", QDate(2004, 1, 22), "乙丑"},
    {"LiChun_2004_02_04", QDate(2004, 2, 4), "丙寅"},
    // A leap month has no pair of its own: the 节 splits it like any other.
    {"LeapSecondMonth_2004_03_21", QDate(2004, 3, 21), "丁卯"},
    {"LeapSecondMonthAfterQingMing_2004_04_04", QDate(2004, 4, 4), "戊辰"},
    {"DaXue_2050_12_07", QDate(2050, 12, 7), "戊子"},
    {"BeforeDaXue_2050_12_06", QDate(2050, 12, 6), "丁亥"},
};
INSTANTIATE_TEST_SUITE_P(Dates, MonthGanZhiOf, testing::ValuesIn(kMonthPairs), test::RowName());

struct AnimalCase {
  const char* name;
  int year;
  const char* text;
};

class AnimalYear : public testing::TestWithParam<AnimalCase> {};

TEST_P(AnimalYear, ByGregorianYear) {
  EXPECT_EQ(AnimalYearText(GetParam().year), QString::fromUtf8(GetParam().text));
}

const AnimalCase kAnimalYears[] = {{"Ox_1901", 1901, "牛年"},     {"Goat_2003", 2003, "羊年"},
                                   {"Monkey_2004", 2004, "猴年"}, {"Rat_2008", 2008, "鼠年"},
                                   {"Pig_2019", 2019, "猪年"},    {"Horse_2050", 2050, "马年"}};
INSTANTIATE_TEST_SUITE_P(Years, AnimalYear, testing::ValuesIn(kAnimalYears), test::RowName());

// ---- The whole range ------------------------------------------------------------

TEST(LunarRange, EveryDateDecodesToAMonthAndDay) {
  for (QDate d = kFirst; d <= kLast; d = d.addDays(1)) {
    const LunarCode code = LunarCodeOf(d);
    const LunarDate ld = LunarDate::Decode(code);
    ASSERT_TRUE(ld.month >= 1 && ld.month <= 12 && ld.day >= 1 && ld.day <= 30)
        << Show(d) << " " << code;
  }
}

// New Year's Day comes from the month table: the one 正月初一 of each year.
TEST(LunarRange, NewYearIsTheFirstOfTheFirstMonth) {
  for (int y = kFirst.year(); y <= kLast.year(); ++y) {
    const QDate ny = LunarNewYear(y);
    EXPECT_EQ(LunarCodeOf(ny), 101) << y;
    EXPECT_EQ(ny.year(), y);
  }
  EXPECT_EQ(LunarNewYear(2004), QDate(2004, 1, 22));
  EXPECT_FALSE(LunarNewYear(kFirst.year() - 2).isValid());
  EXPECT_FALSE(LunarNewYear(kLast.year() + 1).isValid());
}

TEST(LunarRange, DaysAdvanceByOneAndMonthsFollowInOrder) {
  LunarDate prev = LunarDate::Decode(LunarCodeOf(kFirst));
  int months_started = 0;
  for (QDate d = kFirst.addDays(1); d <= kLast; d = d.addDays(1)) {
    const LunarDate cur = LunarDate::Decode(LunarCodeOf(d));
    if (cur.day != 1) {
      ASSERT_EQ(cur.day, prev.day + 1) << Show(d);
      ASSERT_EQ(cur.month, prev.month) << Show(d);
      ASSERT_EQ(cur.leap, prev.leap) << Show(d);
    } else {
      // The month that just ended had 29 or 30 days.
      ASSERT_TRUE(prev.day == 29 || prev.day == 30) << Show(d);
      ++months_started;
      if (cur.leap) {
        // A leap month follows the ordinary month of the same number.
        ASSERT_FALSE(prev.leap) << Show(d);
        ASSERT_EQ(cur.month, prev.month) << Show(d);
      } else {
        ASSERT_EQ(cur.month, prev.month % 12 + 1) << Show(d);
      }
    }
    prev = cur;
  }
  // About 150 years of 12.37 months.
  EXPECT_GT(months_started, 1850);
  EXPECT_LT(months_started, 1860);
}

TEST(LunarRange, DateTextIsAlwaysFourGbkCharacters) {
  for (QDate d = kFirst; d <= kLast; d = d.addDays(1)) {
    const QString text = LunarDateText(d);
    ASSERT_EQ(text.size(), 4) << Show(d);
    ASSERT_TRUE(FitsGbk(text)) << Show(d);
    ASSERT_EQ(GbkLength(text), 8) << Show(d);
    ASSERT_EQ(text.right(2), LunarDayText(d)) << Show(d);
    const QString month = LunarMonthText(d, MonthNaming::Report);
    ASSERT_EQ(text.left(2), month) << Show(d);
    ASSERT_EQ(month.startsWith(u'闰'), LunarCodeOf(d) < 0) << Show(d);
    ASSERT_EQ(GbkLength(GanZhiLine(d)), 12) << Show(d);
  }
}

}  // namespace
}  // namespace tessaly
