// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What each reading finds. Every result carries, besides its values, the lines
// of its report section below the heading (`section`), where it writes one.

#include <QString>
#include <QStringList>

#include <array>

namespace tessaly {

// The birthday in the lunar calendar.
struct LunarBirth {
  QString year;    // cyclic year: 甲子年
  QString animal;  // 鼠
  QString month;   // 正月 .. 腊月, leap months 闰二
  QString day;     // 初一 .. 三十
};

// The name's five grids and three talents.
struct NameResult {
  std::array<QString, 4> characters;  // the name in pieces of two bytes
  std::array<QString, 4> strokes;     // their stroke counts; empty when not found
  // 天格 人格 地格 外格 总格; empty when the name cannot give them. The total
  // is read within 1 to 81.
  QString heaven, person, earth, outer, total;
  QString talents;  // the elements of heaven, person and earth: 木火土
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
