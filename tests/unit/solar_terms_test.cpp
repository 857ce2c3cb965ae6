// SPDX-License-Identifier: GPL-3.0-or-later
// Solar terms: days from published almanacs, and what must hold for every year
// of the table. All almanac days are in UTC+8 (Beijing and Hong Kong time).

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "calendar/solar_terms.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

const char* const kTermNames[24] = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至",
};

std::string TermOf(QDate d) { return SolarTermOf(d).toStdString(); }

// ---- Single days ---------------------------------------------------------------

struct KnownDay {
  const char* name;
  QDate date;
  const char* term;  // "" for a day without a term
};

class SolarTermDay : public testing::TestWithParam<KnownDay> {};

TEST_P(SolarTermDay, MatchesAlmanac) { EXPECT_EQ(TermOf(GetParam().date), GetParam().term); }

// Sources:
//  [HKO yyyy] Hong Kong Observatory, Gregorian-Lunar Calendar Conversion Table of yyyy.
//  [CNS]      China News Service, 2021-12-20, from the Guangzhou Wuyang planetarium:
//             冬至 2021 at 23:59 on 21 December, Beijing time.
//  [2022]     The 2022 solar-term timetable as published in China: 小寒 at 17:13:54
//             on 5 January 2022, Beijing time.
INSTANTIATE_TEST_SUITE_P(
    Almanac, SolarTermDay,
    testing::Values(
        // Either side of a year boundary; 冬至 2021 begins at 23:59 [CNS].
        KnownDay{"WinterSolstice2021JustBeforeMidnight", QDate(2021, 12, 21), "冬至"},
        KnownDay{"NoTermTheDayAfterWinterSolstice2021", QDate(2021, 12, 22), ""},
        KnownDay{"SlightColdOpens2022", QDate(2022, 1, 5), "小寒"},             // [2022]
        KnownDay{"SpringCommencesOnFourthFeb1978", QDate(1978, 2, 4), "立春"},  // [HKO 1978]
        KnownDay{"SpringCommencesOnFourthFeb2009", QDate(2009, 2, 4), "立春"},  // [HKO 2009]
        KnownDay{"SpringCommencesOnFifthFeb1923", QDate(1923, 2, 5), "立春"},   // [HKO 1923]
        KnownDay{"NoTermOnFourthFeb1923", QDate(1923, 2, 4), ""},
        // 雨水 1923 falls seconds before midnight (computed 23:59:53) [HKO 1923].
        KnownDay{"RainWater1923JustBeforeMidnight", QDate(1923, 2, 19), "雨水"},
        KnownDay{"NoTermTheDayAfterRainWater1923", QDate(1923, 2, 20), ""},
        KnownDay{"DayBeforeRange", QDate(1900, 12, 22), ""},
        KnownDay{"DayAfterRange", QDate(2051, 1, 5), ""}, KnownDay{"InvalidDate", QDate(), ""}),
    test::RowName());

// ---- Whole years -------------------------------------------------------------

struct KnownYear {
  const char* name;
  int year;
  std::array<int, 24> days;  // day of the month of each term, 小寒 first
};

class SolarTermYear : public testing::TestWithParam<KnownYear> {};

TEST_P(SolarTermYear, EveryTermOnItsAlmanacDay) {
  const KnownYear& y = GetParam();
  for (int k = 0; k < 24; ++k) {
    EXPECT_EQ(TermOf(QDate(y.year, k / 2 + 1, y.days[k])), kTermNames[k]) << "term " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Almanac, SolarTermYear,
                         testing::Values(
                             // [HKO 1976]: 立春 on 5 February.
                             KnownYear{"Hko1976", 1976, {6, 21, 5, 19, 5, 20, 4, 20, 5, 21, 5, 21,
                                                         7, 23, 7, 23, 7, 23, 8, 23, 7, 22, 7, 22}},
                             // [HKO 2020]: 立春 on 4 February, 冬至 on 21 December.
                             KnownYear{
                                 "Hko2020", 2020, {6, 20, 4, 19, 5, 20, 4, 19, 5, 20, 5, 21,
                                                   6, 22, 7, 22, 7, 22, 8, 23, 7, 22, 7, 21}}),
                         test::RowName());

// ---- Every year of the table -----------------------------------------------------

TEST(SolarTermTable, TwentyFourTermsAYearInOrderAndEvenlySpaced) {
  QDate previous;
  for (int year = 1901; year <= 2050; ++year) {
    int count = 0;
    for (QDate d(year, 1, 1); d.year() == year; d = d.addDays(1)) {
      const std::string term = TermOf(d);
      if (term.empty()) continue;
      ASSERT_LT(count, 24) << year;
      EXPECT_EQ(term, kTermNames[count]) << d.toString(Qt::ISODate).toStdString();
      if (previous.isValid()) {
        const qint64 gap = previous.daysTo(d);
        EXPECT_TRUE(gap >= 14 && gap <= 17) << d.toString(Qt::ISODate).toStdString() << " " << gap;
      }
      previous = d;
      ++count;
    }
    EXPECT_EQ(count, 24) << year;
  }
}

}  // namespace
}  // namespace tessaly
