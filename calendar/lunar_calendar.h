// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gregorian to Chinese lunar calendar, 1901-01-01 .. 2050-12-31, and the texts
// made from it. Pure functions over one table; no state. No lunar year is
// computed: a date converts to its lunar month (with a leap flag) and day.

#include <QDate>
#include <QString>

#include "calendar/calendar_range.h"

namespace tessaly {

// Month names: the report writes 正月 .. 腊月, the calendar control 一月 .. 腊月.
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
// Lunar New Year's Day (正月初一) of a year 1900..2050, an invalid date otherwise:
// from the lunar month table, and for 1900, which precedes it, a fixed date.
QDate LunarNewYear(int year);
// The year whose 正月初一 last came on or before the date: the Gregorian year
// from lunar New Year's Day on, the year before until then. 0 outside
// 1901-01-01 .. 2050-12-31.
int LunarYearOf(QDate date);

// 六月 / 冬月 / 腊月; a leap month is 闰 + name, without 月.
QString LunarMonthText(QDate date, MonthNaming naming);
// 初一 .. 三十.
QString LunarDayText(QDate date);
// The same texts of a lunar date; empty for a month or day out of range.
QString LunarMonthText(const LunarDate& date, MonthNaming naming);
QString LunarDayText(const LunarDate& date);
// Report naming: month text then day text, always four characters (六月十六, 闰二初一).
QString LunarDateText(QDate date);

// The calendar names whole days: the year by the lunar year (LunarYearOf), the
// month by the 节 whose day last came (小寒 begins the 丑 month, 立春 the 寅
// month, ... 大雪 the 子 month), each as its stem and branch.
// Stem and branch of the lunar year (甲申 from 2004-01-22 to 2005-02-08).
QString YearGanZhi(QDate date);
// Stem and branch of the month begun by the last 节: the 寅 month of a year
// whose stem is 甲 or 己 is 丙寅, and each month after it the next pair.
QString MonthGanZhi(QDate date);
// YearGanZhi, a blank, MonthGanZhi, three blanks.
QString GanZhiLine(QDate date);
// 鼠年 .. 猪年 by a year number (the lunar year's, as LunarYearOf gives it).
QString AnimalYearText(int year);

}  // namespace tessaly
