// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four pillars (四柱八字) of a birth moment, with their details and luck
// periods, as plain numbers: stems 0 (甲) .. 9 (癸), branches 0 (子) .. 11 (亥),
// elements 0 (木) 1 (火) 2 (土) 3 (金) 4 (水), cycle places 0 (甲子) .. 59 (癸亥).
// Everything here is constexpr and allocation-free; the texts are elsewhere.
//
// Conventions (the README names them too):
//  * Year pillar from the 立春 instant, month pillar from the 节 instants, both
//    against the birth instant itself (time zones and true solar time do not
//    move a term). The month stem by 五虎遁 from the year stem.
//  * Day pillar by the day count of the (corrected) local date, 2000-01-01 being
//    戊午; hour pillar by 五鼠遁 from the day stem. 23:00-23:59 is 子时 with the
//    next day's 子 stem; its day is the next day (晚子时按次日, the default) or
//    the same day (早晚子时).
//  * Hidden stems (藏干) main, middle, residual: the common table after
//    《三命通会》 (子癸; 丑己癸辛; 寅甲丙戊; 卯乙; 辰戊乙癸; 巳丙庚戊; 午丁己; 未己丁乙;
//    申庚壬戊; 酉辛; 戌戊辛丁; 亥壬甲).
//  * Weighted elements, in tenths: each stem 10; each branch 10 shared among its
//    hidden stems (one: 10; two: 7 and 3; three: 6, 3 and 1); the month branch
//    counts double. Ninety tenths in all.
//  * Strength: the support of the day master is the weighted count of its own
//    element and of the element producing it, the day stem itself left out (of
//    80 tenths). 45 and more: 身强; 35 and less: 身弱; between: 中和.
//  * Favourable elements: for 身强 the elements the day master produces,
//    controls and is controlled by (食伤, 财, 官杀), unfavourable its own and
//    its producer (比劫, 印); for 身弱 the other way round (印 and 比劫
//    favourable). For 中和 the element weighted least is favourable and the one
//    weighted most unfavourable (ties go to the first in 木火土金水 order).
//  * Luck periods: forward for a yang year stem and a man or a yin year stem
//    and a woman, backward otherwise. The start is the whole minutes from the
//    birth to the next 节 (forward) or from the previous one (backward): 4320
//    minutes a year, 360 a month, 12 a day, each minute left two hours.

#include <array>
#include <cstdint>

#include "calendar/solar_term_instants.h"

namespace tessaly::bazi {

inline constexpr int kSecondsPerDay = 86400;
inline constexpr int kUtc8 = 8 * 3600;
inline constexpr int kNearJieSeconds = 180;  // a birth this close to a 节 gets a note

constexpr int Mod(std::int64_t a, int n) { return static_cast<int>(((a % n) + n) % n); }

// ---- The cycle -------------------------------------------------------------------

struct Pillar {
  int stem = 0;
  int branch = 0;
  constexpr int Cycle() const { return Mod(6 * stem - 5 * branch, 60); }
  friend constexpr bool operator==(Pillar, Pillar) = default;
};
constexpr Pillar PillarOfCycle(int cycle) { return {Mod(cycle, 10), Mod(cycle, 12)}; }

constexpr int StemElement(int stem) { return stem / 2; }
constexpr bool IsYang(int stem) { return stem % 2 == 0; }
// 子水 丑土 寅木 卯木 辰土 巳火 午火 未土 申金 酉金 戌土 亥水.
inline constexpr int kBranchElement[12] = {4, 2, 0, 0, 2, 1, 1, 2, 3, 3, 2, 4};

// Hidden stems of each branch, main first; -1 past the last.
inline constexpr std::array<std::array<int, 3>, 12> kHiddenStems = {{
    {9, -1, -1},  // 子 癸
    {5, 9, 7},    // 丑 己癸辛
    {0, 2, 4},    // 寅 甲丙戊
    {1, -1, -1},  // 卯 乙
    {4, 1, 9},    // 辰 戊乙癸
    {2, 6, 4},    // 巳 丙庚戊
    {3, 5, -1},   // 午 丁己
    {5, 3, 1},    // 未 己丁乙
    {6, 8, 4},    // 申 庚壬戊
    {7, -1, -1},  // 酉 辛
    {4, 7, 3},    // 戌 戊辛丁
    {8, 0, -1},   // 亥 壬甲
}};
constexpr int HiddenStemCount(int branch) {
  int n = 0;
  for (int s : kHiddenStems[branch]) n += s >= 0;
  return n;
}

// The ten gods in their usual order: 比肩 劫财 食神 伤官 偏财 正财 七杀 正官 偏印 正印.
// Relation of the other element to the day master's: same, produced by it,
// controlled by it, controlling it, producing it; then same or other polarity.
constexpr int TenGod(int day_stem, int other_stem) {
  const int relation = Mod(StemElement(other_stem) - StemElement(day_stem), 5);
  return relation * 2 + (IsYang(day_stem) != IsYang(other_stem) ? 1 : 0);
}

// 空亡: the two branches the day's ten-day week (旬) leaves out.
constexpr std::array<int, 2> VoidBranches(int cycle) {
  const int first = Mod(cycle - cycle % 10, 12);
  return {(first + 10) % 12, (first + 11) % 12};
}

// ---- Civil dates as day counts (days since 1970-01-01) ---------------------------

struct CivilDate {
  int year = 1970, month = 1, day = 1;
};
// After H. Hinnant, "chrono-Compatible Low-Level Date Algorithms".
constexpr std::int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;                                   // [0, 399]
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;  // [0, 365]
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;           // [0, 146096]
  return std::int64_t{era} * 146097 + doe - 719468;
}
constexpr CivilDate CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = static_cast<int>(z - era * 146097);                     // [0, 146096]
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
  const int mp = (5 * doy + 2) / 153;                                     // [0, 11]
  const int d = doy - (153 * mp + 2) / 5 + 1;
  const int m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}
constexpr bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
constexpr int DaysInMonth(int y, int m) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// The day's place in the cycle: 2000-01-01 (day 10957) is 戊午 (54).
constexpr int DayCycle(std::int64_t days) { return Mod(54 + days - 10957, 60); }

// ---- The chart ---------------------------------------------------------------------

enum class Strength { Strong, Weak, Balanced };  // 身强 身弱 中和

struct LuckPeriod {
  Pillar pillar;
  int year = 0;  // its first Gregorian year
  int age = 0;   // 虚岁 then
};

struct Luck {
  bool forward = true;
  int minutes = 0;  // from the birth to the 节 that sets the start
  int years = 0, months = 0, days = 0, hours = 0;
  CivilDate start;  // the date the first period begins
  std::array<LuckPeriod, 8> periods{};
};

struct Chart {
  std::array<Pillar, 4> pillars{};  // year, month, day, hour
  int year_number = 0;              // the Gregorian year the year pillar is named for
  int near_jie = -1;                // a 节 (0 小寒 .. 11 大雪) within kNearJieSeconds, or -1
  std::array<int, 5> elements{};    // over the eight characters
  std::array<int, 5> weighted{};    // tenths, with hidden stems, month branch double
  int support = 0;                  // tenths of 80
  Strength strength = Strength::Balanced;
  std::array<int, 5> favourable{-1, -1, -1, -1, -1};  // elements, -1 past the last
  std::array<int, 5> unfavourable{-1, -1, -1, -1, -1};
  Luck luck;
};

// What a chart is made from. `instant` is the birth in seconds since
// 1970-01-01 00:00 UTC; `local_days` and `local_seconds` the corrected local
// date (a day count) and time of day that give the day and hour pillars.
struct ChartInput {
  std::int64_t instant = 0;
  std::int64_t local_days = 0;
  int local_seconds = 0;
  bool male = true;
  bool late_zi_next_day = true;
};

// The 节 in force at `instant` and the next one, as (year, 节 index) and
// instant. Valid from 大雪 of kFirstTermYear to 小寒 of kLastTermYear.
struct JieSpan {
  int year = 0, jie = 0;
  std::int64_t begins = 0, next = 0;
};
constexpr bool InTermRange(std::int64_t instant) {
  return instant >= JieInstant(kFirstTermYear, 11) && instant < JieInstant(kLastTermYear, 0);
}
constexpr JieSpan JieAt(std::int64_t instant) {
  int y =
      CivilFromDays((instant + kUtc8 - Mod(instant + kUtc8, kSecondsPerDay)) / kSecondsPerDay).year;
  int j = 11;
  while (j >= 0 && JieInstant(y, j) > instant) --j;
  if (j < 0) {
    --y;
    j = 11;
  }
  const std::int64_t next = j == 11 ? JieInstant(y + 1, 0) : JieInstant(y, j + 1);
  return {y, j, JieInstant(y, j), next};
}

// The year pillar's Gregorian year at `instant`: turns at the 立春 instant.
constexpr int PillarYear(std::int64_t instant) {
  const JieSpan s = JieAt(instant);
  return s.jie >= 1 ? s.year : s.year - 1;  // 小寒 is still the year before
}
constexpr Pillar YearPillar(int year) { return PillarOfCycle(Mod(year - 4, 60)); }

constexpr Chart MakeChart(const ChartInput& in) {
  Chart c;
  const JieSpan span = JieAt(in.instant);
  c.year_number = span.jie >= 1 ? span.year : span.year - 1;
  const Pillar year = YearPillar(c.year_number);
  const int month_branch = (span.jie + 1) % 12;    // 小寒 opens 丑, 立春 寅 .. 大雪 子
  const int from_yin = Mod(month_branch - 2, 12);  // 寅 month 0
  const Pillar month{(2 * (year.stem % 5) + 2 + from_yin) % 10, month_branch};

  const bool late = in.local_seconds >= 23 * 3600;
  const int day_cycle = DayCycle(in.local_days + (late && in.late_zi_next_day ? 1 : 0));
  const Pillar day = PillarOfCycle(day_cycle);
  const int hour_branch = (in.local_seconds / 3600 + 1) / 2 % 12;
  const int hour_day_stem = PillarOfCycle(DayCycle(in.local_days + (late ? 1 : 0))).stem;
  const Pillar hour{(2 * (hour_day_stem % 5) + hour_branch) % 10, hour_branch};
  c.pillars = {year, month, day, hour};

  if (in.instant - span.begins < kNearJieSeconds) {
    c.near_jie = span.jie;
  } else if (span.next - in.instant <= kNearJieSeconds) {
    c.near_jie = (span.jie + 1) % 12;
  }

  // Elements, plain and weighted.
  constexpr int kShares[4][3] = {{0, 0, 0}, {10, 0, 0}, {7, 3, 0}, {6, 3, 1}};
  for (int i = 0; i < 4; ++i) {
    const Pillar p = c.pillars[i];
    ++c.elements[StemElement(p.stem)];
    ++c.elements[kBranchElement[p.branch]];
    c.weighted[StemElement(p.stem)] += 10;
    const int n = HiddenStemCount(p.branch);
    for (int k = 0; k < n; ++k) {
      c.weighted[StemElement(kHiddenStems[p.branch][k])] += kShares[n][k] * (i == 1 ? 2 : 1);
    }
  }
  const int self = StemElement(day.stem);
  const int mother = (self + 4) % 5;
  c.support = c.weighted[self] + c.weighted[mother] - 10;
  c.strength = c.support >= 45   ? Strength::Strong
               : c.support <= 35 ? Strength::Weak
                                 : Strength::Balanced;
  if (c.strength == Strength::Strong) {
    c.favourable = {(self + 1) % 5, (self + 2) % 5, (self + 3) % 5, -1, -1};
    c.unfavourable = {self, mother, -1, -1, -1};
  } else if (c.strength == Strength::Weak) {
    c.favourable = {mother, self, -1, -1, -1};
    c.unfavourable = {(self + 1) % 5, (self + 2) % 5, (self + 3) % 5, -1, -1};
  } else {
    int least = 0, most = -1;
    for (int e = 1; e < 5; ++e) least = c.weighted[e] < c.weighted[least] ? e : least;
    for (int e = 0; e < 5; ++e) {
      if (e != least && (most < 0 || c.weighted[e] > c.weighted[most])) most = e;
    }
    c.favourable[0] = least;
    c.unfavourable[0] = most;
  }

  // Luck periods.
  Luck& luck = c.luck;
  luck.forward = IsYang(year.stem) == in.male;
  const std::int64_t gap = luck.forward ? span.next - in.instant : in.instant - span.begins;
  luck.minutes = static_cast<int>(gap / 60);
  luck.years = luck.minutes / 4320;
  luck.months = luck.minutes % 4320 / 360;
  luck.days = luck.minutes % 360 / 12;
  luck.hours = luck.minutes % 12 * 2;

  const std::int64_t standard = in.instant + kUtc8;
  const std::int64_t birth_days = (standard - Mod(standard, kSecondsPerDay)) / kSecondsPerDay;
  const CivilDate born = CivilFromDays(birth_days);
  int months = born.month - 1 + luck.months;
  const int y = born.year + luck.years + months / 12;
  const int m = months % 12 + 1;
  const int d = born.day < DaysInMonth(y, m) ? born.day : DaysInMonth(y, m);
  const std::int64_t start_seconds = (DaysFromCivil(y, m, d) + luck.days) * kSecondsPerDay +
                                     Mod(standard, kSecondsPerDay) + luck.hours * 3600;
  luck.start = CivilFromDays((start_seconds - Mod(start_seconds, kSecondsPerDay)) / kSecondsPerDay);
  const int step = luck.forward ? 1 : -1;
  for (int k = 0; k < 8; ++k) {
    LuckPeriod& p = luck.periods[k];
    p.pillar = PillarOfCycle(month.Cycle() + step * (k + 1));
    p.year = luck.start.year + 10 * k;
    p.age = p.year - born.year + 1;
  }
  return c;
}

}  // namespace tessaly::bazi
