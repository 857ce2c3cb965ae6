// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The span the calendar knows: 1901-01-01 .. 2050-12-31. The lunar table, the
// solar terms, the month calendar and the birthday all stop at its ends.

#include <QDate>

namespace tessaly {

inline constexpr int kFirstYear = 1901;
inline constexpr int kLastYear = 2050;
inline constexpr int kCalendarYears = kLastYear - kFirstYear + 1;

inline QDate FirstCalendarDay() { return QDate(kFirstYear, 1, 1); }
inline QDate LastCalendarDay() { return QDate(kLastYear, 12, 31); }

// A valid date from FirstCalendarDay() to LastCalendarDay().
inline bool InCalendarRange(QDate date) {
  return date.isValid() && date.year() >= kFirstYear && date.year() <= kLastYear;
}

}  // namespace tessaly
