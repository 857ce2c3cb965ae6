// SPDX-License-Identifier: GPL-3.0-or-later
// The almanac: days as printed almanacs give them, and what must hold on every
// day of 1901..2050.

#include <gtest/gtest.h>

#include "almanac/almanac.h"
#include "calendar/solar_terms.h"
#include "core/errors.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

using test::PrintTo;

std::string S(const QString& s) { return s.toStdString(); }

// 2024-09-18 (乙酉) as the almanacs of that day print it: 建, 玉堂 黄道, 冲兔 (己卯)
// 煞东, 轸宿, 胎神 碓磨门外西北, 喜神 西北, 财神 东北, 寅时 青龙, 酉时 玉堂.
TEST(AlmanacDay, PrintedAlmanacOf2024September18) {
  const AlmanacDay d = AlmanacOf(QDate(2024, 9, 18));
  EXPECT_EQ(S(JianchuName(d.jianchu)), "建");
  EXPECT_EQ(S(TianshenName(d.tianshen)), "玉堂");
  EXPECT_TRUE(d.huangdao);
  EXPECT_EQ(S(ChongPillar(d) + ChongAnimal(d) + ShaText(d)), "己卯兔东");
  EXPECT_EQ(S(XiuName(d.xiu)), "轸水蚓");
  EXPECT_EQ(S(TaishenText(d)), "碓磨门外西北");
  EXPECT_EQ(S(DirectionName(d.xi) + DirectionName(d.cai)), "西北东北");
  EXPECT_EQ(S(PengzuStem(d)), "乙不栽植千株不长");
  EXPECT_EQ(S(TianshenName(d.hours[2].tianshen) + TianshenName(d.hours[9].tianshen)), "青龙玉堂");
}

// 2024-03-28 in the almanacs: 建, 明堂 黄道, 井宿.
TEST(AlmanacDay, PrintedAlmanacOf2024March28) {
  const AlmanacDay d = AlmanacOf(QDate(2024, 3, 28));
  EXPECT_EQ(S(JianchuName(d.jianchu) + TianshenName(d.tianshen) + XiuName(d.xiu)), "建明堂井木犴");
}

struct DayRow {
  const char* name;
  QDate date;
  const char* expected;
};

// 白露 2024 begins on 09-07: 09-06 (申 day, 申 month) and 09-07 (戌 day, 酉
// month) are both 除; 立春 2023 on 02-04 repeats 02-03's value the same way.
class JieDayRepeat : public testing::TestWithParam<DayRow> {};
TEST_P(JieDayRepeat, SameOfficerAsTheDayBefore) {
  const AlmanacDay d = AlmanacOf(GetParam().date);
  EXPECT_EQ(S(JianchuName(d.jianchu)), GetParam().expected);
  EXPECT_EQ(AlmanacOf(GetParam().date.addDays(-1)).jianchu, d.jianchu);
}
INSTANTIATE_TEST_SUITE_P(Almanac, JieDayRepeat,
                         testing::Values(DayRow{"Bailu2024", QDate(2024, 9, 7), "除"},
                                         DayRow{"Lichun2023", QDate(2023, 2, 4), "平"},
                                         DayRow{"Xiaohan1901", QDate(1901, 1, 6), "危"}),
                         test::RowName());

// 青龙 by the month: 寅申 子, 卯酉 寅, 辰戌 辰, 巳亥 午, 子午 申, 丑未 戌 (the
// first 青龙 day after each 节 of 2024).
class QinglongStart : public testing::TestWithParam<DayRow> {};
TEST_P(QinglongStart, QinglongOnTheMonthsBranch) {
  const AlmanacDay d = AlmanacOf(GetParam().date);
  EXPECT_EQ(S(TianshenName(d.tianshen)), "青龙");
  EXPECT_EQ(S(ChongAnimal(d)), GetParam().expected);  // the animal opposite the day's branch
}
INSTANTIATE_TEST_SUITE_P(Almanac, QinglongStart,
                         testing::Values(DayRow{"YinMonthZiDay", QDate(2024, 2, 6), "马"},
                                         DayRow{"MaoMonthYinDay", QDate(2024, 3, 15), "猴"},
                                         DayRow{"ChenMonthChenDay", QDate(2024, 4, 10), "狗"},
                                         DayRow{"SiMonthWuDay", QDate(2024, 5, 6), "鼠"},
                                         DayRow{"WuMonthShenDay", QDate(2024, 6, 13), "虎"},
                                         DayRow{"WeiMonthXuDay", QDate(2024, 7, 9), "龙"}),
                         test::RowName());

// The clash of each branch: the twelve days from 2024-09-18 (乙酉) on.
class Chong : public testing::TestWithParam<DayRow> {};
TEST_P(Chong, PillarAndAnimal) {
  const AlmanacDay d = AlmanacOf(GetParam().date);
  EXPECT_EQ(S(ChongPillar(d) + ChongAnimal(d)), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Almanac, Chong,
                         testing::Values(DayRow{"YiYou", QDate(2024, 9, 18), "己卯兔"},
                                         DayRow{"BingXu", QDate(2024, 9, 19), "庚辰龙"},
                                         DayRow{"DingHai", QDate(2024, 9, 20), "辛巳蛇"},
                                         DayRow{"WuZi", QDate(2024, 9, 21), "壬午马"},
                                         DayRow{"JiChou", QDate(2024, 9, 22), "癸未羊"},
                                         DayRow{"GengYin", QDate(2024, 9, 23), "甲申猴"},
                                         DayRow{"XinMao", QDate(2024, 9, 24), "乙酉鸡"},
                                         DayRow{"RenChen", QDate(2024, 9, 25), "丙戌狗"},
                                         DayRow{"GuiSi", QDate(2024, 9, 26), "丁亥猪"},
                                         DayRow{"JiaWu", QDate(2024, 9, 27), "戊子鼠"},
                                         DayRow{"YiWei", QDate(2024, 9, 28), "己丑牛"},
                                         DayRow{"BingShen", QDate(2024, 9, 29), "庚寅虎"}),
                         test::RowName());

// 四绝 (the day before 立春 2023-02-04) and 四离 (before 春分 2023-03-21):
// 大事勿用, so nothing suits; the 破 day 2024-09-24 (卯 in 酉 month) suits only
// what it lists; the days after suit the activities again.
class YiText : public testing::TestWithParam<DayRow> {};
TEST_P(YiText, AsAlmanacsWord) {
  EXPECT_EQ(S(YiTexts(AlmanacOf(GetParam().date)).join(u' ')), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Almanac, YiText,
    testing::Values(DayRow{"SiJueBeforeLichun2023", QDate(2023, 2, 3), "诸事不宜"},
                    DayRow{"SiLiBeforeChunfen2023", QDate(2023, 3, 20), "诸事不宜"},
                    DayRow{"MonthBreak", QDate(2024, 9, 24), "求医 破屋 馀事勿取"},
                    DayRow{"Lichun2023", QDate(2023, 2, 4), "祭祀 修造 扫舍"}),
    test::RowName());

TEST(Almanac, ActivityNamesRoundTrip) {
  for (int a = 0; a < kActivityCount; ++a) EXPECT_EQ(ActivityOf(ActivityName(a)), a);
  EXPECT_EQ(ActivityOf(QStringLiteral("诸事不宜")), -1);
}

TEST(Almanac, OutsideTheRangeIsAnError) {
  EXPECT_THROW(AlmanacOf(QDate(1900, 12, 31)), Error);
  EXPECT_THROW(AlmanacOf(QDate(2051, 1, 1)), Error);
  EXPECT_THROW(AlmanacOf(QDate()), Error);
}

// Every day: an entry; 建除 steps by one a day and repeats on a 节 day, when 值神
// steps back one; 冲 is six branches away; nothing is both 宜 and 忌.
TEST(Almanac, EveryDayOfTheRange) {
  AlmanacDay previous = AlmanacOf(QDate(1901, 1, 1));
  int jie_days = 0;
  for (QDate date(1901, 1, 2); date <= QDate(2050, 12, 31); date = date.addDays(1)) {
    const AlmanacDay d = AlmanacOf(date);
    const std::string at = S(date.toString(Qt::ISODate));
    const bool jie = SolarTermDay(date.year(), 2 * (date.month() - 1)) == date.day();
    jie_days += jie;
    ASSERT_EQ(d.jianchu, (previous.jianchu + (jie ? 0 : 1)) % 12) << at;
    ASSERT_EQ(d.tianshen, (previous.tianshen + (jie ? 11 : 1)) % 12) << at;
    ASSERT_EQ(d.month_branch, (previous.month_branch + (jie ? 1 : 0)) % 12) << at;
    ASSERT_EQ(d.xiu, (previous.xiu + 1) % 28) << at;
    ASSERT_EQ((d.chong_branch + 12 - d.branch) % 12, 6) << at;
    ASSERT_EQ(d.yi & d.ji, 0u) << at;
    ASSERT_FALSE(YiTexts(d).isEmpty()) << at;
    ASSERT_EQ(d.nothing_suits, d.yi == 0) << at;
    previous = d;
  }
  EXPECT_EQ(jie_days, 150 * 12);
}

}  // namespace
}  // namespace tessaly
