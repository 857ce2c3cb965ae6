// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What each reading finds. Every result carries, besides its values, the lines
// of its report section below the heading (`section`), where it writes one.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

#include "readings/name_score.h"

namespace tessaly {

// The birthday in the lunar calendar: the cyclic year (by the zodiac year,
// which turns on 正月初一), the lunar month and the lunar day. The texts are
// made from the numbers where a line or a store key needs them.
struct LunarBirth {
  int year_stem = 0;    // 0 甲 .. 9 癸
  int year_branch = 0;  // 0 子 .. 11 亥, also the animal's (0 鼠 .. 11 猪)
  int month = 1;        // 1 正月 .. 12 腊月
  bool leap_month = false;
  int day = 1;  // 1 初一 .. 30 三十

  // Every number in its range, stem and branch of one pair of the cycle.
  bool Valid() const;
  // The year's place in the cycle of sixty, 0 甲子 .. 59 癸亥 (when Valid()).
  int CycleIndex() const;
  QString YearText() const;    // 甲子年
  QString AnimalText() const;  // 鼠
  QString MonthText() const;   // 正月 .. 腊月, a leap month 闰二
  QString DayText() const;     // 初一 .. 三十
};

// The name's five grids and three talents, and how the store rates them.
struct NameResult {
  std::array<QString, 4> characters;          // the name in pieces of two bytes
  std::array<std::optional<int>, 4> strokes;  // their stroke counts; absent when not found
  // 天格 人格 地格 外格 总格; absent when the name cannot give them. The total is
  // read within 1 to 81.
  std::optional<int> heaven, person, earth, outer, total;
  QString talents;  // the elements of heaven, person and earth: 木火土
  // The ratings of 总格, 人格, 地格, 外格 and 三才 and the score, as the name
  // chooser gives them.
  Rating total_rating = Rating::kNone, person_rating = Rating::kNone, earth_rating = Rating::kNone,
         outer_rating = Rating::kNone, talents_rating = Rating::kNone;
  int score = 0;
  QStringList section;
};

// The bone weight of the birth moment and its verse.
struct LifetimeResult {
  QString hour;  // the double hour: 子时
  // Weights in qian, two digits: "05".
  QString year_weight, month_weight, day_weight, hour_weight;
  QString verse_first, verse_second;
  QString star_sign;
  QStringList section;
};

// This year's forecast of a star sign or zodiac animal.
struct ForecastResult {
  QString key;  // the sign (白羊座) or the animal (鸡)
  QStringList section;
};

struct MobileResult {
  QString verdict;  // empty when the number cannot be read
};

struct PregnancyResult {
  QString sentence;
};

}  // namespace tessaly
