// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gregorian to Chinese lunar calendar, 1901-01-01 .. 2050-12-31, and the texts
// made from it. Pure functions over one table; no state. No lunar year is
// computed: a date converts to its lunar month (with a leap flag) and day.

#include <QDate>
#include <QString>

#include "calendar/calendar_range.h"

namespace tessaly {

// Month names: the report writes 正月 .. 腊月, the calendar control 一月 .. 蜡月.
enum class MonthNaming { Report, Calendar };

// Packed lunar date: month * 100 + day, negated for a leap month, 0 outside
// 1901..2050.
using LunarCode = int;

struct LunarDate {
  int month = 0;  // 1..12
  bool leap = false;
  int day = 0;  // 1..30
  static LunarDate Decode(LunarCode code);
};

LunarCode LunarCodeOf(QDate date);
// Lunar New Year's Day (正月初一) of a year 1901..2050; an invalid date otherwise.
QDate LunarNewYear(int year);

// 六月 / 冬月 / 腊月 (蜡月 in calendar naming); a leap month is 闰 + name, without 月.
QString LunarMonthText(QDate date, MonthNaming naming);
// 初一 .. 三十.
QString LunarDayText(QDate date);
// Report naming: month text then day text, always four characters (六月十六, 闰二初一).
QString LunarDateText(QDate date);

// Stem and branch of the Gregorian year (甲申 for any date of 2004).
QString YearGanZhi(QDate date);
// Stem and branch of the lunar month (a leap month takes its ordinary month's).
QString MonthGanZhi(QDate date);
// YearGanZhi, a blank, MonthGanZhi, three blanks.
QString GanZhiLine(QDate date);
// 鼠年 .. 猪年 by the Gregorian year number.
QString AnimalYearText(int year);

}  // namespace tessaly
