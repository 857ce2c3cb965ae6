// SPDX-License-Identifier: GPL-3.0-or-later
// The four pillars: known births, and random births against an independent
// method (day pillar by the Julian day number, year and month by a solar
// longitude of another theory, stems by the traditional rhymes).

#include <gtest/gtest.h>

#include <QTimeZone>

#include <cmath>
#include <numbers>
#include <random>

#include "core/clock.h"
#include "core/errors.h"
#include "readings/birth_moment.h"
#include "readings/four_pillars.h"
#include "readings/readings.h"
#include "report/report.h"
#include "store/reference_store.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

using test::PrintTo;

struct KnownBirth {
  const char* name;
  QDate date;
  const char* time;
  Sex sex;
  bool late_zi_next_day;
  bool dst;
  const char* pillars;     // year month day hour
  const char* correction;  // a text the corrections include, "" for none
  bool forward;
  int luck_years, luck_months, luck_days, luck_hours;  // -1: not checked
};

Person PersonOf(const KnownBirth& b) {
  Person p;
  p.birthday = DateTime::AtMidnight(b.date);
  p.birth_time = QString::fromUtf8(b.time);
  p.sex = b.sex;
  p.late_zi_next_day = b.late_zi_next_day;
  p.daylight_saving = b.dst;
  p.readings = Reading::Bazi;
  return p;
}

class KnownBazi : public testing::TestWithParam<KnownBirth> {};

TEST_P(KnownBazi, Pillars) {
  const KnownBirth& b = GetParam();
  const FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
  const BaziResult r = ReadBazi(PersonOf(b));
  EXPECT_EQ((r.pillars[0] + r.pillars[1] + r.pillars[2] + r.pillars[3]).toStdString(), b.pillars);
  if (*b.correction) {
    EXPECT_TRUE(r.corrections.join(u'|').contains(QString::fromUtf8(b.correction)))
        << r.corrections.join(u'|').toStdString();
  } else {
    EXPECT_TRUE(r.corrections.isEmpty()) << r.corrections.join(u'|').toStdString();
  }
  EXPECT_EQ(r.luck_forward, b.forward);
  if (b.luck_years >= 0) {
    EXPECT_EQ(std::vector<int>({r.luck_years, r.luck_months, r.luck_days, r.luck_hours}),
              std::vector<int>({b.luck_years, b.luck_months, b.luck_days, b.luck_hours}));
  }
  EXPECT_EQ(r.this_year_pillar, QStringLiteral("丙午"));
}

// Sources:
//  [JDN]  day pillar = (JDN + 49) mod 60 of the date, 0 = 甲子; 1988-02-15 is 庚子
//         (JDN 2447207), 2000-01-01 戊午 (JDN 2451545).
//  [HKO]  Hong Kong Observatory, Gregorian-Lunar Calendar Conversion Table of
//         1988: 立春 4 Feb, 惊蛰 5 Mar, 白露 7 Sep. Instants from the calendar's
//         table: 立春 22:42:58, 惊蛰 16:46:47 (UTC+8).
//  [tz]   tzdata, file "asia", Rule PRC: 1988 daylight time from 17 Apr 02:00 to
//         11 Sep 02:00 (clocks back to 01:00).
//  [rule] Luck start: 3 days = 1 year, 4320 minutes a year, 360 a month, 12 a day,
//         a minute 2 hours: to 惊蛰 26956 minutes, from 立春 15887 minutes.
constexpr Sex M = Sex::Male;
constexpr Sex F = Sex::Female;
INSTANTIATE_TEST_SUITE_P(
    Almanac, KnownBazi,
    testing::Values(
        // clang-format off
        KnownBirth{"LateZiNextDay1988", QDate(1988, 2, 15), "23:30", M, true, true,
                   "戊辰甲寅辛丑戊子", "", true, 6, 2, 26, 8},                          // [JDN][HKO][rule]
        KnownBirth{"LateZiSameDay1988", QDate(1988, 2, 15), "23:30", M, false, true,
                   "戊辰甲寅庚子戊子", "", true, 6, 2, 26, 8},                          // [JDN]
        KnownBirth{"BackwardLuckWoman1988", QDate(1988, 2, 15), "23:30", F, true, true,
                   "戊辰甲寅辛丑戊子", "", false, 3, 8, 3, 22},                         // [rule]
        KnownBirth{"SpringDayBeforeInstant1988", QDate(1988, 2, 4), "22:30", M, true, true,
                   "丁卯癸丑己丑乙亥", "", false, -1, 0, 0, 0},                          // [HKO]
        KnownBirth{"SpringDayAfterInstant1988", QDate(1988, 2, 4), "22:50", M, true, true,
                   "戊辰甲寅己丑乙亥", "", true, -1, 0, 0, 0},                           // [HKO]
        KnownBirth{"DaylightTime1988", QDate(1988, 7, 1), "11:30", M, true, true,
                   "戊辰戊午丁巳乙巳", "夏令时换算为北京时间 10:30", true, -1, 0, 0, 0},  // [tz]
        KnownBirth{"DaylightTimeOff1988", QDate(1988, 7, 1), "11:30", M, true, false,
                   "戊辰戊午丁巳丙午", "不作夏令时换算", true, -1, 0, 0, 0},
        KnownBirth{"RepeatedHourReadAsDaylight1988", QDate(1988, 9, 11), "01:30", M, true, true,
                   "戊辰辛酉己巳甲子", "出现两次", true, -1, 0, 0, 0},                   // [tz]
        KnownBirth{"NewYear2000IsWuWu", QDate(2000, 1, 1), "12:00", F, true, true,
                   "己卯丙子戊午戊午", "", true, -1, 0, 0, 0}),                          // [JDN]
    // clang-format on
    test::RowName());

TEST(BaziMoment, SkippedHourAndBadInputsAreRefused) {
  Person p = PersonOf({"", QDate(1988, 4, 17), "02:30", M, true, true, "", "", true, 0, 0, 0, 0});
  EXPECT_THROW(ReadBazi(p), Error);  // [tz]: 02:00 .. 02:59 did not exist
  p.daylight_saving = false;
  EXPECT_NO_THROW(ReadBazi(p));
  for (const char* bad : {"24:00", "7:5", "12:60", "noon"}) {
    p.birth_time = QString::fromUtf8(bad);
    EXPECT_THROW(ReadBazi(p), Error) << bad;
  }
  p.birth_time.clear();
  p.birth_hour_index = -1;
  EXPECT_THROW(ReadBazi(p), Error);
  p.birth_hour_index = 3;
  p.birth_place = QStringLiteral("火星");
  EXPECT_THROW(ReadBazi(p), Error);
}

TEST(BaziMoment, TrueSolarTimeAndPlaces) {
  EXPECT_EQ(BirthPlaces().size(), 34u);
  for (const BirthPlace& place : BirthPlaces()) {
    EXPECT_TRUE(QTimeZone(place.zone).isValid()) << place.zone;
    EXPECT_EQ(FindBirthPlace(QString::fromUtf16(place.division)), &place);
  }
  EXPECT_EQ(FindBirthPlace(QStringLiteral("河北")), FindBirthPlace(QStringLiteral("石家庄")));
  // Spencer's equation of time: about -14.2 min near 11 Feb, +16.4 near 3 Nov.
  EXPECT_NEAR(EquationOfTimeSeconds(42) / 60, -14.2, 0.5);
  EXPECT_NEAR(EquationOfTimeSeconds(307) / 60, 16.4, 0.5);
  // 120°E with the equation of time alone; Urumqi 87.62°E: 129 min 31 s earlier.
  BirthMomentInput in{QDate(1990, 11, 3), QTime(12, 0), -1, nullptr, 120.0, true};
  EXPECT_NEAR(ResolveBirthMoment(in).local.time().msecsSinceStartOfDay() / 60000.0, 736.4, 0.5);
  in.place = FindBirthPlace(QStringLiteral("乌鲁木齐"));
  EXPECT_NEAR(ResolveBirthMoment(in).local.time().msecsSinceStartOfDay() / 60000.0, 736.4 - 129.5,
              0.5);
}

// [HKO] 立春 1988 at 22:42:58: 22:41 is within 3 minutes, 22:30 is not.
TEST(BaziMoment, NoteWithinThreeMinutesOfAJie) {
  const auto note = [](const char* time) {
    Person p = PersonOf({"", QDate(1988, 2, 4), time, M, true, true, "", "", true, 0, 0, 0, 0});
    return ReadBazi(p).section.join(u'|').contains(QStringLiteral("距立春交节不足3分钟"));
  };
  EXPECT_TRUE(note("22:41"));
  EXPECT_TRUE(note("22:45"));
  EXPECT_FALSE(note("22:30"));
  EXPECT_FALSE(note("22:46"));
}

TEST(BaziTexts, EveryKeyHasItsOwnText) {
  QStringList seen;
  for (const char* key :
       {"甲",   "乙",   "丙",   "丁",   "戊",   "己",   "庚",   "辛",   "壬",   "癸",
        "缺木", "缺火", "缺土", "缺金", "缺水", "木旺", "火旺", "土旺", "金旺", "水旺",
        "比肩", "劫财", "食神", "伤官", "偏财", "正财", "七杀", "正官", "偏印", "正印"}) {
    const QString text = BaziText(QString::fromUtf8(key));
    EXPECT_GE(text.size(), 60) << key;
    EXPECT_FALSE(seen.contains(text)) << key;
    seen << text;
  }
}

TEST(BaziReport, EighthSectionWithTheTableOnThePage) {
  const FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
  Person p = PersonOf({"", QDate(1988, 2, 15), "23:30", M, true, true, "", "", true, 0, 0, 0, 0});
  ReferenceStore store;  // the four pillars read nothing from it
  Report report;
  BuildReport(p, store, {}, report);
  ASSERT_TRUE(report.results.bazi);
  EXPECT_EQ(report.plain.value(2), QStringLiteral("    【※生辰八字分析】"));
  EXPECT_EQ(report.plain.size(), 3 + report.results.bazi->section.size());
  const QString page = report.page.join(u'\n');
  EXPECT_TRUE(page.contains(QStringLiteral("<td>戊</td><td>甲</td><td>辛</td><td>戊</td>")));
  EXPECT_FALSE(page.contains(QStringLiteral("　天干")));  // the block's plain lines stay off it
}

// ---- Random births against an independent method -----------------------------------

// The sun's apparent longitude by the lower-accuracy theory of Meeus, ch. 25
// (Newcomb's elements, 0.01°), with delta T interpolated from the observed
// values at ten-year steps (IERS; 2030 onwards extrapolated).
double IndependentLongitude(std::int64_t unix) {
  constexpr double kDeltaT[][2] = {{1900, -2.7}, {1910, 10.4}, {1920, 21.2}, {1930, 24.0},
                                   {1940, 24.3}, {1950, 29.1}, {1960, 33.2}, {1970, 40.2},
                                   {1980, 50.5}, {1990, 56.9}, {2000, 63.8}, {2010, 66.1},
                                   {2020, 69.4}, {2030, 72.0}, {2060, 80.0}};
  const double jd = unix / 86400.0 + 2440587.5;
  const double year = 2000 + (jd - 2451545) / 365.25;
  double dt = 80;
  for (int i = 0; i + 1 < 15; ++i) {
    if (year <= kDeltaT[i + 1][0]) {
      const double f = (year - kDeltaT[i][0]) / (kDeltaT[i + 1][0] - kDeltaT[i][0]);
      dt = kDeltaT[i][1] + f * (kDeltaT[i + 1][1] - kDeltaT[i][1]);
      break;
    }
  }
  const double t = (jd + dt / 86400 - 2451545) / 36525;
  const double rad = std::numbers::pi / 180;
  const double l0 = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
  const double m = (357.52911 + 35999.05029 * t - 0.0001537 * t * t) * rad;
  const double c = (1.914602 - 0.004817 * t - 0.000014 * t * t) * std::sin(m) +
                   (0.019993 - 0.000101 * t) * std::sin(2 * m) + 0.000289 * std::sin(3 * m);
  const double omega = (125.04 - 1934.136 * t) * rad;
  const double lon = std::fmod(l0 + c - 0.00569 - 0.00478 * std::sin(omega), 360);
  return lon < 0 ? lon + 360 : lon;
}

// The theory is good to about 14 minutes of time over these years (measured over
// every 节 of the table); births nearer than this to a 节 by it are not compared.
constexpr double kIndependentMinutes = 20;

TEST(BaziIndependent, EveryJieInstantAgreesWithTheOtherTheory) {
  for (int y = kFirstTermYear; y <= kLastTermYear; ++y) {
    for (int j = 0; j < 12; ++j) {
      const double target = std::fmod(285 + 30 * j, 360);
      double d = std::fmod(IndependentLongitude(JieInstant(y, j)) - target + 540, 360) - 180;
      ASSERT_LT(std::abs(d) / 0.9856 * 1440, 15) << y << " jie " << j;
    }
  }
}

TEST(BaziIndependent, RandomBirths1902To2049) {
  // Stems of 寅 month by year stem and of 子 hour by day stem (五虎遁, 五鼠遁 rhymes).
  constexpr int kYinStem[5] = {2, 4, 6, 8, 0};  // 甲己丙, 乙庚戊, 丙辛庚, 丁壬壬, 戊癸甲
  constexpr int kZiStem[5] = {0, 2, 4, 6, 8};  // 甲己甲, 乙庚丙, 丙辛戊, 丁壬庚, 戊癸壬
  std::mt19937 random(20261210);
  const std::int64_t from = QDateTime(QDate(1902, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
  const std::int64_t to = QDateTime(QDate(2050, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
  std::uniform_int_distribution<std::int64_t> minute(0, (to - from) / 60 - 1);
  int compared = 0;
  for (int n = 0; n < 20000; ++n) {
    // Local standard time (UTC+8), a whole minute; every fifth birth in 23:00-23:59.
    std::int64_t local = from + minute(random) * 60;
    if (n % 5 == 0) local = local - bazi::Mod(local, 86400) + 23 * 3600 + bazi::Mod(local, 3600);
    const bool male = n % 2 == 0;
    const bool next_day = n % 3 != 0;
    const std::int64_t instant = local - 8 * 3600;
    bazi::ChartInput in{instant, (local - bazi::Mod(local, 86400)) / 86400, bazi::Mod(local, 86400),
                        male, next_day};
    const bazi::Chart c = bazi::MakeChart(in);

    const QDateTime at = QDateTime::fromSecsSinceEpoch(local, Qt::UTC);
    const bool late = at.time().hour() == 23;
    const qint64 jdn = at.date().toJulianDay() + (late ? 1 : 0);
    const int day = static_cast<int>((jdn - (late && !next_day ? 1 : 0) + 49) % 60);
    const int hour_branch = (at.time().hour() + 1) / 2 % 12;
    const int hour_stem = (kZiStem[(jdn + 49) % 60 % 10 % 5] + hour_branch) % 10;
    ASSERT_EQ(c.pillars[2].Cycle(), day) << at.toString().toStdString();
    ASSERT_EQ(c.pillars[3], (bazi::Pillar{hour_stem, hour_branch})) << at.toString().toStdString();

    // Year and month from the sun's longitude, unless a 节 is too near to say.
    const double lon = IndependentLongitude(instant);
    const double past = std::fmod(lon - 285 + 720, 30);  // degrees since the last 节
    if (std::min(past, 30 - past) / 0.9856 * 1440 < kIndependentMinutes) continue;
    ++compared;
    const int sector = static_cast<int>(std::fmod(lon - 285 + 720, 360) / 30);  // 0: 小寒
    const int branch = (sector + 1) % 12;
    const bool before_spring = at.date().month() <= 2 && lon > 200 && lon < 315;
    const int year = at.date().year() - (before_spring ? 1 : 0);
    const int year_stem = ((year - 4) % 10 + 10) % 10;
    ASSERT_EQ(c.pillars[0].Cycle(), ((year - 4) % 60 + 60) % 60) << at.toString().toStdString();
    ASSERT_EQ(c.pillars[1],
              (bazi::Pillar{(kYinStem[year_stem % 5] + (branch + 10) % 12) % 10, branch}))
        << at.toString().toStdString();
    ASSERT_EQ(c.luck.forward, (year_stem % 2 == 0) == male);
    // The 节 that sets the luck's start, found on the other theory by bisection.
    const double edge = std::fmod(lon - past + 360, 360) + (c.luck.forward ? 30 : 0);
    std::int64_t lo = instant - (c.luck.forward ? 0 : 32 * 86400);
    std::int64_t hi = instant + (c.luck.forward ? 32 * 86400 : 0);
    while (hi - lo > 1) {
      const std::int64_t mid = (lo + hi) / 2;
      const double ahead = std::fmod(IndependentLongitude(mid) - edge + 540, 360) - 180;
      (ahead < 0 ? lo : hi) = mid;
    }
    const double gap = std::abs(static_cast<double>(hi - instant)) / 60;
    ASSERT_NEAR(c.luck.minutes, gap, kIndependentMinutes) << at.toString().toStdString();
    for (int k = 0; k < 8; ++k) {
      const int step = c.luck.forward ? k + 1 : -(k + 1);
      ASSERT_EQ(c.luck.periods[k].pillar.Cycle(), bazi::Mod(c.pillars[1].Cycle() + step, 60));
      ASSERT_EQ(c.luck.periods[k].age, c.luck.periods[k].year - at.date().year() + 1);
    }
  }
  EXPECT_GT(compared, 19000);
}

}  // namespace
}  // namespace tessaly
