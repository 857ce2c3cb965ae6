// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/sexagenary.h"

#include "calendar/lunar_calendar.h"
#include "core/errors.h"

namespace tessaly {
namespace {

// New Year's Day 1900, before the lunar month table starts: the day of the new
// moon at 09:23 UTC+8 (by Meeus, Astronomical Algorithms, chapter 49).
const QDate kNewYear1900(1900, 1, 31);

}  // namespace

QString GanZhi(int stem, int branch) {
  const QChar pair[2] = {QChar(kStems[stem]), QChar(kBranches[branch])};
  return QString(pair, 2);
}

QString CyclicYearName(int year) {
  const int n = CycleIndex(year);
  return GanZhi(n % 10, n % 12) + QChar(kAnimals[n % 12]);
}

QDate LunarNewYearOf(int year) {
  return year == kNewYear1900.year() ? kNewYear1900 : LunarNewYear(year);
}

int ZodiacYear(const DateTime& birthday) {
  const int y = birthday.date.isValid() ? birthday.date.year() : 0;
  const QDate new_year = LunarNewYearOf(y);
  if (!new_year.isValid()) {
    throw Error(QStringLiteral("出生日期超出可推算的范围（%1年至%2年）")
                    .arg(kNewYear1900.year())
                    .arg(kLastYear));
  }
  // From midnight of New Year's Day on, whatever the time of day.
  return birthday >= DateTime::AtMidnight(new_year) ? y : y - 1;
}

}  // namespace tessaly
