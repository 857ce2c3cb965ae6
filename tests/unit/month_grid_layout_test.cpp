// SPDX-License-Identifier: GPL-3.0-or-later
// The month calendar's arithmetic: which day sits where, what each cell says and
// in which ink, how tall the grid is, and which cell a mouse position hits.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/month_grid_layout.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

std::string Show(QDate d) { return d.toString(Qt::ISODate).toStdString(); }

// Sizes as the calendar dialog's fonts measure (12 px text, 13 px title): a
// column is 8 + 36 = 44 wide, a row 5 + 12 + 2 + 12 = 31 high, and the first
// week starts at 10 + 13 + 2 * 5 + 12 + 5 = 50.
KalendarTextSizes DialogSizes() {
  KalendarTextSizes s;
  s.title_height = 13;
  s.header_width = 36;
  s.header_height = 12;
  s.number_width = 6;
  s.number_height = 12;
  s.word_width = 24;
  s.word_height = 12;
  return s;
}

KalendarSpacing DialogSpacing() {
  KalendarSpacing s;
  s.hspace = 8;
  s.vspace = 5;
  s.border = 10;
  s.space = 2;
  return s;
}

KalendarLayout DialogLayout() { return KalendarLayout(DialogSpacing(), DialogSizes()); }

// ---- Cell dates ---------------------------------------------------------------

TEST(KalendarCellDate, MonthStartingOnSunday) {
  const QDate feb(2004, 2, 10);  // 1 February 2004 is a Sunday
  EXPECT_EQ(KalendarFirstWeekday(feb), 1);
  EXPECT_EQ(KalendarCellDate(feb, 1, 1), QDate(2004, 2, 1));
  EXPECT_EQ(KalendarCellDate(feb, 7, 1), QDate(2004, 2, 7));
  EXPECT_EQ(KalendarCellDate(feb, 1, 2), QDate(2004, 2, 8));
  EXPECT_EQ(KalendarCellDate(feb, 1, 5), QDate(2004, 2, 29));
  EXPECT_EQ(KalendarCellDate(feb, 2, 5), KalendarNoDate());
  for (int column = 1; column <= 7; ++column) {
    EXPECT_EQ(KalendarCellDate(feb, column, 6), KalendarNoDate()) << column;
  }
}

TEST(KalendarCellDate, MonthStartingOnSaturday) {
  const QDate may(2004, 5, 31);  // 1 May 2004 is a Saturday
  EXPECT_EQ(KalendarFirstWeekday(may), 7);
  for (int column = 1; column <= 6; ++column) {
    EXPECT_EQ(KalendarCellDate(may, column, 1), KalendarNoDate()) << column;
  }
  EXPECT_EQ(KalendarCellDate(may, 7, 1), QDate(2004, 5, 1));
  EXPECT_EQ(KalendarCellDate(may, 1, 2), QDate(2004, 5, 2));
  EXPECT_EQ(KalendarCellDate(may, 2, 6), QDate(2004, 5, 31));
  EXPECT_EQ(KalendarCellDate(may, 3, 6), KalendarNoDate());
}

TEST(KalendarCellDate, PositionsOutsideTheGridHoldNoDay) {
  const QDate feb(2004, 2, 1);
  EXPECT_EQ(KalendarCellDate(feb, 0, 1), KalendarNoDate());
  EXPECT_EQ(KalendarCellDate(feb, 8, 1), KalendarNoDate());  // not the next row's Sunday
  EXPECT_EQ(KalendarCellDate(feb, 1, 0), KalendarNoDate());
  EXPECT_EQ(KalendarCellDate(feb, -1, -1), KalendarNoDate());
  EXPECT_EQ(KalendarNoDate(), QDate(1899, 12, 31));
}

// Read in reading order, the grid of every month of the range holds its days
// once each, in order, and each day's own position leads back to it.
TEST(KalendarCellDate, EveryMonthReadsAsItsDaysInOrder) {
  for (int year = 1901; year <= 2050; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const QDate shown(year, month, 1);
      std::vector<QDate> days;
      for (int row = 1; row <= 6; ++row) {
        for (int column = 1; column <= 7; ++column) {
          const QDate d = KalendarCellDate(shown, column, row);
          if (d == KalendarNoDate()) continue;
          days.push_back(d);
          const KalendarCell back = KalendarCellOf(d);
          ASSERT_EQ(back, (KalendarCell{column, row})) << Show(d);
        }
      }
      ASSERT_EQ(static_cast<int>(days.size()), shown.daysInMonth()) << Show(shown);
      for (int i = 0; i < static_cast<int>(days.size()); ++i) {
        ASSERT_EQ(days[i], QDate(year, month, i + 1)) << Show(shown);
      }
      ASSERT_EQ(KalendarCellOf(days.front()).column, days.front().dayOfWeek() % 7 + 1);
    }
  }
}

// ---- Heights ------------------------------------------------------------------

struct HeightCase {
  const char* name;
  QDate month;
  int rows;
  int needed_height;  // grid top 50 + (rows - 1) * 31 + 12 + 2 + 12 + 10
};

class KalendarNeededHeight : public testing::TestWithParam<HeightCase> {};

TEST_P(KalendarNeededHeight, StopsAfterTheLastWeek) {
  const HeightCase& c = GetParam();
  const KalendarLayout layout = DialogLayout();
  const QDate last(c.month.year(), c.month.month(), c.month.daysInMonth());
  EXPECT_EQ(KalendarCellOf(last).row, c.rows);
  EXPECT_EQ(layout.NeededHeight(c.month), c.needed_height);
}

INSTANTIATE_TEST_SUITE_P(Months, KalendarNeededHeight,
                         testing::Values(
                             // 29 days from a Sunday: five rows, the last holding only the 29th.
                             HeightCase{"February2004", QDate(2004, 2, 1), 5, 210},
                             // Ends on a Saturday: no empty sixth row below.
                             HeightCase{"July2004EndsOnSaturday", QDate(2004, 7, 15), 5, 210},
                             HeightCase{"August2004", QDate(2004, 8, 1), 5, 210},
                             // From a Saturday with 31 days: six rows.
                             HeightCase{"May2004", QDate(2004, 5, 1), 6, 241},
                             // 28 days from a Sunday, ending on a Saturday: four rows.
                             HeightCase{"February2015", QDate(2015, 2, 1), 4, 179}),
                         test::RowName());

TEST(KalendarLayout, DialogGeometry) {
  const KalendarLayout layout = DialogLayout();
  EXPECT_EQ(layout.ColumnWidth(), 44);
  EXPECT_EQ(layout.RowHeight(), 31);
  EXPECT_EQ(layout.FitWidth(), 328);
  EXPECT_EQ(layout.HeaderY(), 33);
  EXPECT_EQ(layout.GridTop(), 50);
  EXPECT_EQ(layout.WordY(2), 50 + 31 + 12 + 2);
  // Headers and the left title start 4 pixels into their column; the right
  // title ends with the Saturday header at 10 + 6 * 44 + 4 + 36.
  EXPECT_EQ(layout.HeaderX(1), 14);
  EXPECT_EQ(layout.HeaderX(7), 278);
  EXPECT_EQ(layout.TitleX(), 14);
  EXPECT_EQ(layout.SideTitleX(100), 314 - 100);
  EXPECT_EQ(layout.CenteredX(3, 12), 10 + 88 + 16);
  EXPECT_EQ(layout.CellRect(KalendarCell{2, 3}), QRect(54, 112, 44, 31));
}

struct RowCase {
  const char* name;
  TLdKalendarOptions options;
  int row_height;
  int word_y_in_row;
};

class KalendarRowHeight : public testing::TestWithParam<RowCase> {};

TEST_P(KalendarRowHeight, AddsOnlyWhatIsPainted) {
  const RowCase& c = GetParam();
  KalendarSpacing spacing = DialogSpacing();
  spacing.options = c.options;
  const KalendarLayout layout(spacing, DialogSizes());
  EXPECT_EQ(layout.RowHeight(), c.row_height);
  EXPECT_EQ(layout.WordY(1) - layout.RowTop(1), c.word_y_in_row);
}

INSTANTIATE_TEST_SUITE_P(
    Options, KalendarRowHeight,
    testing::Values(RowCase{"Both", kAllKalendarOptions, 31, 14},
                    RowCase{"NumbersOnly", kAllKalendarOptions & ~TLdKalendarOptions(lkoYin), 17,
                            14},
                    RowCase{"LunarOnly", kAllKalendarOptions & ~TLdKalendarOptions(lkoYang), 17, 0},
                    RowCase{"Neither", TLdKalendarOptions(lkoMonthTitle | lkoWeekTitle), 5, 0}),
    test::RowName());

TEST(KalendarLayout, BandsFollowTheOptions) {
  KalendarSpacing spacing = DialogSpacing();
  spacing.options = lkoYang | lkoYin;  // no title, no headers
  EXPECT_EQ(KalendarLayout(spacing, DialogSizes()).GridTop(), 10);
  spacing.options = lkoYang | lkoYin | lkoGanZhi;  // the right title alone keeps its band
  EXPECT_EQ(KalendarLayout(spacing, DialogSizes()).GridTop(), 33);
  spacing.options = lkoYang | lkoYin | lkoWeekTitle;
  EXPECT_EQ(KalendarLayout(spacing, DialogSizes()).GridTop(), 27);
  // Neither numbers nor lunar texts: the needed height is the border below the
  // last row's top.
  spacing.options = lkoMonthTitle | lkoWeekTitle;
  const KalendarLayout empty(spacing, DialogSizes());
  EXPECT_EQ(empty.NeededHeight(QDate(2004, 2, 1)), 50 + 4 * 5 + 10);
}

// ---- Hit test -----------------------------------------------------------------

struct HitCase {
  const char* name;
  int x;
  int y;
  KalendarCell cell;
};

class KalendarHitTest : public testing::TestWithParam<HitCase> {};

TEST_P(KalendarHitTest, SensitiveBands) {
  const HitCase& c = GetParam();
  EXPECT_EQ(DialogLayout().HitTest(c.x, c.y), c.cell);
}

// Columns: x' = x - 10; the band is 10 < x' mod 44 < 34. Rows: y' = y - 50; the
// band is y' > 0 and y' mod 31 < 26.
INSTANTIATE_TEST_SUITE_P(DialogLayout, KalendarHitTest,
                         testing::Values(HitCase{"FirstCell", 21, 51, {1, 1}},
                                         HitCase{"LeftEdgeOfBandExcluded", 20, 60, {-1, 1}},
                                         HitCase{"RightEdgeOfBandIncluded", 43, 60, {1, 1}},
                                         HitCase{"RightOfBandExcluded", 44, 60, {-1, 1}},
                                         HitCase{"SecondColumn", 65, 60, {2, 1}},
                                         HitCase{"SaturdayColumn", 10 + 6 * 44 + 20, 60, {7, 1}},
                                         HitCase{"RightOfTheGrid", 10 + 7 * 44 + 20, 60, {-1, 1}},
                                         HitCase{"LeftMargin", 5, 60, {-1, 1}},
                                         HitCase{"GridTopExcluded", 30, 50, {1, -1}},
                                         HitCase{"LastSensitiveLineOfRow", 30, 50 + 25, {1, 1}},
                                         HitCase{"RowSpacingBelowCell", 30, 50 + 26, {1, -1}},
                                         HitCase{"LastLineOfRowSpacing", 30, 50 + 30, {1, -1}},
                                         HitCase{"TopOfSecondRow", 30, 50 + 31, {1, 2}},
                                         HitCase{"SixthRow", 30, 50 + 5 * 31 + 3, {1, 6}},
                                         HitCase{"HeaderRow", 30, 40, {1, -1}},
                                         HitCase{"Title", 30, 12, {1, -1}}),
                         test::RowName());

TEST(KalendarHitTestUnmeasured, ZeroSizesGiveZero) {
  KalendarSpacing spacing;
  spacing.options = {};
  spacing.hspace = 0;
  spacing.vspace = 0;
  const KalendarLayout layout(spacing, KalendarTextSizes{});
  EXPECT_EQ(layout.HitTest(30, 30), (KalendarCell{0, 0}));
  EXPECT_FALSE(layout.HitTest(30, 30).IsCell());
}

TEST(KalendarHitTestUnmeasured, NothingPaintedNothingSensitive) {
  KalendarSpacing spacing = DialogSpacing();
  spacing.options = lkoMonthTitle | lkoWeekTitle;
  const KalendarLayout layout(spacing, DialogSizes());
  for (int y = 0; y < 120; ++y) EXPECT_EQ(layout.HitTest(30, y).row, -1) << y;
}

// ---- Cell texts and inks -------------------------------------------------------

struct TextCase {
  const char* name;
  QDate day;
  QDate marked;
  const char* word;
  KalendarInk number_ink;
  KalendarInk word_ink;
  bool solar_terms = false;  // the calendar shows the solar terms
};

class KalendarCellTexts : public testing::TestWithParam<TextCase> {};

TEST_P(KalendarCellTexts, WordAndInks) {
  const TextCase& c = GetParam();
  const KalendarCellText text = KalendarCellTextOf(c.day, c.marked, c.solar_terms);
  EXPECT_EQ(text.number, QString::number(c.day.day()));
  EXPECT_EQ(text.word, QString::fromUtf8(c.word));
  EXPECT_EQ(text.number_ink, c.number_ink);
  EXPECT_EQ(text.word_ink, c.word_ink);
}

using enum KalendarInk;
const QDate kJune8(2004, 6, 8);

INSTANTIATE_TEST_SUITE_P(
    Year2004, KalendarCellTexts,
    testing::Values(
        TextCase{"NewYearsDay", QDate(2004, 1, 1), kJune8, "元旦", Holiday, Holiday},
        TextCase{"SpringFestival", QDate(2004, 1, 22), kJune8, "春节", Font, Holiday},
        TextCase{"LanternFestival", QDate(2004, 2, 5), kJune8, "元宵", Font, Holiday},
        TextCase{"DragonBoatFestival", QDate(2004, 6, 22), kJune8, "端午", Font, Holiday},
        // First day of the leap second month, a Sunday.
        TextCase{"LeapSecondMonth", QDate(2004, 3, 21), kJune8, "闰二", Sunday, Sunday},
        TextCase{"LastDayBeforeTheLeapMonth", QDate(2004, 3, 20), kJune8, "三十", Saturday,
                 Saturday},
        TextCase{"SecondMonth", QDate(2004, 2, 20), kJune8, "二月", Font, Font},
        TextCase{"ThirdMonthAfterTheLeap", QDate(2004, 4, 19), kJune8, "三月", Font, Font},
        TextCase{"EleventhMonth", QDate(2004, 12, 12), kJune8, "冬月", Sunday, Sunday},
        TextCase{"LastDayOfTenthMonth", QDate(2004, 12, 11), kJune8, "三十", Saturday, Saturday},
        TextCase{"TwelfthMonth", QDate(2005, 1, 10), kJune8, "腊月", Font, Font},
        TextCase{"OrdinaryDay", QDate(2004, 8, 3), kJune8, "十八", Font, Font},
        TextCase{"TwentiethDay", QDate(2004, 8, 5), kJune8, "二十", Font, Font},
        TextCase{"MarkedDay", kJune8, kJune8, "廿一", Today, Today},
        TextCase{"MarkedSunday", QDate(2004, 6, 6), QDate(2004, 6, 6), "十九", Today, Today},
        TextCase{"MarkedFestival", QDate(2004, 1, 22), QDate(2004, 1, 22), "春节", Today, Holiday},
        TextCase{"MarkedNewYearsDay", QDate(2004, 1, 1), QDate(2004, 1, 1), "元旦", Holiday,
                 Holiday},
        // Same day number in another month: only the marked date itself.
        TextCase{"SameDayOtherMonth", QDate(2004, 7, 8), kJune8, "廿一", Font, Font},
        // A leap fifth month has no 端午: 2009 has one, its 初五 on 27 June.
        TextCase{"LeapFifthMonthFifthDay", QDate(2009, 6, 27), kJune8, "初五", Saturday, Saturday},
        TextCase{"DragonBoatFestival2009", QDate(2009, 5, 28), kJune8, "端午", Font, Holiday},
        // Solar terms, when shown: after the festivals, before the month's name.
        TextCase{"SolarTermOnASaturday", QDate(2004, 6, 5), kJune8, "芒种", Saturday, SolarTerm,
                 true},
        TextCase{"SolarTermsNotShown", QDate(2004, 6, 5), kJune8, "十八", Saturday, Saturday},
        TextCase{"MarkedSolarTerm", QDate(2004, 6, 21), QDate(2004, 6, 21), "夏至", Today,
                 SolarTerm, true},
        // 冬至 1995 fell on the first of the eleventh month.
        TextCase{"SolarTermBeforeMonthName", QDate(1995, 12, 22), kJune8, "冬至", Font, SolarTerm,
                 true},
        // 雨水 2015 fell on 春节.
        TextCase{"FestivalBeforeSolarTerm", QDate(2015, 2, 19), kJune8, "春节", Font, Holiday,
                 true}),
    test::RowName());

TEST(KalendarTitles, MonthAndSideTitles) {
  EXPECT_EQ(KalendarMonthTitle(QDate(2004, 1, 5)), QStringLiteral("2004年 一月"));
  EXPECT_EQ(KalendarMonthTitle(QDate(1901, 12, 5)), QStringLiteral("1901年 十二月"));
  EXPECT_EQ(KalendarMonthTitle(QDate(2050, 11, 5)), QStringLiteral("2050年 十一月"));
  const QDate aug(2004, 8, 1);
  EXPECT_EQ(KalendarSideTitle(aug, kAllKalendarOptions), QStringLiteral("甲申 辛未   猴年"));
  EXPECT_EQ(KalendarSideTitle(aug, lkoGanZhi), QStringLiteral("甲申 辛未   "));
  EXPECT_EQ(KalendarSideTitle(aug, lkoShengXiao), QStringLiteral("猴年"));
  EXPECT_EQ(KalendarSideTitle(aug, lkoYang | lkoYin | lkoMonthTitle), QString());
  // January 2027, before 正月初一 and after 小寒: still the 丙午 year, the 辛丑 month.
  EXPECT_EQ(KalendarSideTitle(QDate(2027, 1, 10), kAllKalendarOptions),
            QStringLiteral("丙午 辛丑   马年"));
}

TEST(KalendarTitles, WeekdayHeaders) {
  EXPECT_EQ(KalendarHeaderText(QStringLiteral("星期"), 1), QStringLiteral("星期日"));
  EXPECT_EQ(KalendarHeaderText(QStringLiteral("星期"), 4), QStringLiteral("星期三"));
  EXPECT_EQ(KalendarHeaderText(QStringLiteral("周"), 7), QStringLiteral("周六"));
  EXPECT_EQ(KalendarHeaderInk(1), Sunday);
  EXPECT_EQ(KalendarHeaderInk(2), Font);
  EXPECT_EQ(KalendarHeaderInk(7), Saturday);
}

TEST(KalendarRange, AcceptsOnly1901To2050) {
  EXPECT_TRUE(KalendarAcceptsDate(QDate(1901, 1, 1)));
  EXPECT_TRUE(KalendarAcceptsDate(QDate(2050, 12, 31)));
  EXPECT_FALSE(KalendarAcceptsDate(QDate(1900, 12, 31)));
  EXPECT_FALSE(KalendarAcceptsDate(QDate(2051, 1, 1)));
  EXPECT_FALSE(KalendarAcceptsDate(KalendarNoDate()));
  EXPECT_FALSE(KalendarAcceptsDate(QDate()));
}

}  // namespace
}  // namespace tessaly
