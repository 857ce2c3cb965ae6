// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sexagenary cycle: the ten stems and the twelve branches paired in turn
// into sixty names, each branch with its animal. Years run through the cycle
// from 甲子 (1924, 1984, ...); the zodiac year of a birthday turns on lunar
// New Year's Day.

#include <QDate>
#include <QString>

#include "core/dates.h"

namespace tessaly {

inline constexpr char16_t kStems[10] = {u'甲', u'乙', u'丙', u'丁', u'戊',
                                        u'己', u'庚', u'辛', u'壬', u'癸'};
inline constexpr char16_t kBranches[12] = {u'子', u'丑', u'寅', u'卯', u'辰', u'巳',
                                           u'午', u'未', u'申', u'酉', u'戌', u'亥'};
inline constexpr char16_t kAnimals[12] = {u'鼠', u'牛', u'虎', u'兔', u'龙', u'蛇',
                                          u'马', u'羊', u'猴', u'鸡', u'狗', u'猪'};

// The year's place in the cycle, 0 (甲子) .. 59, for any year number: its stem
// is kStems[n % 10], its branch and animal kBranches[n % 12] and kAnimals[n % 12].
constexpr int CycleIndex(int year) { return ((year - 4) % 60 + 60) % 60; }

// Stem and branch, two characters (甲申).
QString GanZhi(int stem, int branch);

// Stem, branch and animal of the year: 甲子鼠 for 1984, 乙酉鸡 for 2005.
QString CyclicYearName(int year);

// The Gregorian year whose cyclic name applies to the birthday: its own year
// from lunar New Year's Day (at any time of that day) on, the year before until
// then. Raises Error with a clear message for a birthday outside
// 1900-01-01 .. 2050-12-31.
int ZodiacYear(const DateTime& birthday);

}  // namespace tessaly
