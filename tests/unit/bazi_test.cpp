// SPDX-License-Identifier: GPL-3.0-or-later
// The four pillars: known births, and random births against an independent
// method (day pillar by the Julian day number, year, month and luck by the 节
// of ERFA's ephemeris, stems by the traditional rhymes).

#include <gtest/gtest.h>

#include <QTimeZone>

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

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

// The sun's apparent longitude from ERFA: the EPV00 Earth ephemeris, aberration
// with the Earth's barycentric velocity, IAU 2006 precession and the IAU 2000B
// nutation (within a milliarcsecond of 2000A), at Terrestrial Time tt (a Julian date).
double ErfaSunLongitude(double tt) {
  double pvh[2][3], pvb[2][3], sun[3], dir[3], v[3], apparent[3], rm[3][3], ecl[3];
  double distance, dpsi, deps;
  eraEpv00(ERFA_DJM0, tt - ERFA_DJM0, pvh, pvb);
  for (int i = 0; i < 3; ++i) {
    sun[i] = -pvh[0][i];
    v[i] = pvb[1][i] * ERFA_AULT / ERFA_DAYSEC;  // in units of c
  }
  eraPn(sun, &distance, dir);
  eraAb(dir, v, distance, std::sqrt(1 - eraPdp(v, v)), apparent);
  eraEcm06(ERFA_DJM0, tt - ERFA_DJM0, rm);  // to the mean ecliptic and equinox of date
  eraRxp(rm, apparent, ecl);
  eraNut00b(ERFA_DJM0, tt - ERFA_DJM0, &dpsi, &deps);
  return eraAnp(std::atan2(ecl[1], ecl[0]) + dpsi) * ERFA_DR2D;
}

// TT - UT in seconds: from 1960 the leap seconds ERFA knows (TT - UTC; UT1 and UTC
// differ by under a second), held at the last one after 2017; before, the observed
// values at five-year steps (Astronomical Almanac, as tabulated for NASA's eclipse
// pages), interpolated.
double ErfaDeltaT(double ut) {
  constexpr double kObserved[] = {-2.79, 3.86,  10.46, 17.20, 21.16, 23.62, 24.02,
                                  23.93, 24.33, 26.77, 29.15, 31.07, 33.15};  // 1900, 1905 ..
  int y, m, d;
  double fd, tai_utc;
  eraJd2cal(ut, 0, &y, &m, &d, &fd);
  if (y >= 1960 && eraDat(y, m, d, fd, &tai_utc) >= 0) return ERFA_TTMTAI + tai_utc;
  const double step = std::max(0.0, (ut - 2415020.5) / 365.25 / 5);
  const int i = std::min(11, static_cast<int>(step));
  return kObserved[i] + (step - i) * (kObserved[i + 1] - kObserved[i]);
}

// Every 节 of kFirstTermYear .. kLastTermYear by ERFA, in order, as Unix seconds.
const std::vector<double>& ErfaJie() {
  static const std::vector<double> jie = [] {
    std::vector<double> out;
    for (int y = kFirstTermYear; y <= kLastTermYear; ++y) {
      for (int j = 0; j < 12; ++j) {
        const double target = std::fmod(285 + 30.0 * j, 360);
        double ut = ERFA_DJ00 - 0.5 + (y - 2000) * 365.2425 + 5 + 30.437 * j;  // within days
        for (double step = 1; std::abs(step) > 1e-8;) {  // days, about a millisecond
          const double tt = ut + ErfaDeltaT(ut) / ERFA_DAYSEC;
          step = std::remainder(target - ErfaSunLongitude(tt), 360.0) / 360 * 365.2422;
          ut += step;
        }
        out.push_back((ut - 2440587.5) * ERFA_DAYSEC);
      }
    }
    return out;
  }();
  return jie;
}

// Largest difference measured: 37 s (2050, where the future delta T of the two
// differs by 24 s); the sun's position alone agrees within 20 s.
constexpr double kJieAgreementSeconds = 45;

TEST(BaziIndependent, EveryJieInstantAgreesWithErfa) {
  for (int y = kFirstTermYear; y <= kLastTermYear; ++y) {
    for (int j = 0; j < 12; ++j) {
      ASSERT_NEAR(JieInstant(y, j), ErfaJie()[(y - kFirstTermYear) * 12 + j], kJieAgreementSeconds)
          << y << " jie " << j;
    }
  }
}

TEST(BaziIndependent, RandomBirths1902To2049) {
  // Stems of 寅 month by year stem and of 子 hour by day stem (五虎遁, 五鼠遁 rhymes).
  constexpr int kYinStem[5] = {2, 4, 6, 8, 0};  // 甲己丙, 乙庚戊, 丙辛庚, 丁壬壬, 戊癸甲
  constexpr int kZiStem[5] = {0, 2, 4, 6, 8};  // 甲己甲, 乙庚丙, 丙辛戊, 丁壬庚, 戊癸壬
  const std::vector<double>& jie = ErfaJie();
  std::mt19937 random(20261210);
  const std::int64_t from = QDateTime(QDate(1902, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
  const std::int64_t to = QDateTime(QDate(2050, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
  std::uniform_int_distribution<std::int64_t> minute(0, (to - from) / 60 - 1);
  int compared = 0;
  for (int n = 0; n < 20000; ++n) {
    // Local standard time (UTC+8), a whole minute; every fifth birth in 23:00-23:59,
    // every tenth on the day of a 节.
    std::int64_t local = from + minute(random) * 60;
    if (n % 10 == 1) {
      const double on =
          jie[std::upper_bound(jie.begin(), jie.end(), local - 8 * 3600.0) - jie.begin()] +
          8 * 3600;
      local = static_cast<std::int64_t>(on) - bazi::Mod(static_cast<std::int64_t>(on), 86400) +
              bazi::Mod(local, 86400);
    }
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

    // Year, month and luck from ERFA's 节, unless one is within three minutes.
    const auto next = std::upper_bound(jie.begin(), jie.end(), static_cast<double>(instant));
    const double after = instant - next[-1], before = next[0] - instant;
    if (std::min(after, before) < 180) continue;
    ++compared;
    const int sector = static_cast<int>(next - jie.begin() - 1) % 12;  // 0: 小寒
    const int branch = (sector + 1) % 12;
    const double spring = jie[(at.date().year() - kFirstTermYear) * 12 + 1];
    const int year = at.date().year() - (instant < spring ? 1 : 0);
    const int year_stem = ((year - 4) % 10 + 10) % 10;
    ASSERT_EQ(c.pillars[0].Cycle(), ((year - 4) % 60 + 60) % 60) << at.toString().toStdString();
    ASSERT_EQ(c.pillars[1],
              (bazi::Pillar{(kYinStem[year_stem % 5] + (branch + 10) % 12) % 10, branch}))
        << at.toString().toStdString();
    ASSERT_EQ(c.luck.forward, (year_stem % 2 == 0) == male);
    // Whole minutes to the next 节 (forward) or from the last (backward).
    ASSERT_NEAR(c.luck.minutes, (c.luck.forward ? before : after) / 60,
                1 + kJieAgreementSeconds / 60)
        << at.toString().toStdString();
    for (int k = 0; k < 8; ++k) {
      const int step = c.luck.forward ? k + 1 : -(k + 1);
      ASSERT_EQ(c.luck.periods[k].pillar.Cycle(), bazi::Mod(c.pillars[1].Cycle() + step, 60));
      ASSERT_EQ(c.luck.periods[k].age, c.luck.periods[k].year - at.date().year() + 1);
    }
  }
  EXPECT_GT(compared, 19800);
}

}  // namespace
}  // namespace tessaly
