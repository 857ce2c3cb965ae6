// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dates and integers as the program writes and reads them. Dates are written
// "yyyy-MM-dd" everywhere and read back from year-month-day texts with or without
// leading zeros ("2004-8-1", "2004-08-01").

#include <QDate>
#include <QString>
#include <QTime>

#include <compare>

namespace tessaly {

// A date with its time of day, as the birthday is held.
struct DateTime {
  QDate date;
  QTime time{0, 0};

  static DateTime Now();  // by the clock in use (core/clock.h)
  static DateTime AtMidnight(QDate d) { return DateTime{d, QTime(0, 0)}; }

  friend bool operator==(const DateTime& a, const DateTime& b) {
    return a.date == b.date && a.time == b.time;
  }
  friend std::strong_ordering operator<=>(const DateTime& a, const DateTime& b) {
    if (auto c = a.date.toJulianDay() <=> b.date.toJulianDay(); c != 0) return c;
    return a.time.msecsSinceStartOfDay() <=> b.time.msecsSinceStartOfDay();
  }
};

// "yyyy-MM-dd".
QString DateToStr(QDate date);

// Reads a year-month-day text ("2004-8-1", "2004-08-01"; blanks around it are
// ignored). Raises ConvertError "'%s' 不是一个有效的日期" otherwise.
QDate StrToDate(const QString& text);

// The date of year, month and day; raises the same error, naming the date as
// "year-month-day" without leading zeros ("2004-2-31"), when there is no such date.
QDate EncodeDate(int year, int month, int day);

// Reads a decimal integer (optional sign, leading zeros allowed, blanks around it
// ignored). Raises ConvertError "'%s' 不是一个有效的整形值" otherwise.
int StrToInt(const QString& text);

// The messages themselves, for callers that detect the condition on their own.
QString InvalidDateMessage(const QString& text);
QString InvalidIntegerMessage(const QString& text);

}  // namespace tessaly
