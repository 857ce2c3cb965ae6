// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What each reading finds. Every result carries, besides its values, the lines
// of its report section below the heading (`section`), where it writes one.

#include <QString>
#include <QStringList>

#include <QDate>

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

// The four pillars of the birth moment (生辰八字) and their reading. Arrays of
// four hold the year, month, day and hour pillars in that order.
struct BaziResult {
  QString moment;                       // the corrected local time: 1988-02-15T23:30:00
  QStringList corrections;              // the corrections applied, in words
  std::array<QString, 4> pillars;       // 丁丑
  std::array<QString, 4> hidden_stems;  // main first: 己癸辛
  std::array<QString, 4> ten_gods;      // of the stems; the day's is empty
  std::array<QStringList, 4> hidden_ten_gods;
  std::array<QString, 4> nayin;
  QString void_branches;             // 空亡: 戌亥
  std::array<int, 5> elements{};     // 木火土金水 over the eight characters
  std::array<double, 5> weighted{};  // with hidden stems, month branch double
  QString day_master;                // 庚金
  QString strength;                  // 身强, 身弱, 中和
  QString favourable, unfavourable;  // elements: 水木火
  bool luck_forward = true;
  int luck_years = 0, luck_months = 0, luck_days = 0, luck_hours = 0;
  QDate luck_start;
  struct Period {
    QString pillar;
    int year = 0;
    int age = 0;
  };
  std::array<Period, 8> periods;
  QString this_year_pillar, this_year_ten_god;
  QStringList section;
  // Lines [block_first, block_first + block_size) of `section` are the pillars'
  // table, which the page shows as a table.
  int block_first = 0, block_size = 0;
};

}  // namespace tessaly
