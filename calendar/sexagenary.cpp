// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/sexagenary.h"

#include "calendar/lunar_calendar.h"
#include "core/errors.h"

namespace tessaly {
QString GanZhi(int stem, int branch) {
  const QChar pair[2] = {QChar(kStems[stem]), QChar(kBranches[branch])};
  return QString(pair, 2);
}

QString CyclicYearName(int year) {
  const int n = CycleIndex(year);
  return GanZhi(n % 10, n % 12) + QChar(kAnimals[n % 12]);
}

int ZodiacYear(const DateTime& birthday) {
  const int y = birthday.date.isValid() ? birthday.date.year() : 0;
  const QDate new_year = LunarNewYear(y);
  if (!new_year.isValid()) {
    throw Error(QStringLiteral("出生日期超出可推算的范围（%1年至%2年）")
                    .arg(kFirstYear - 1)
                    .arg(kLastYear));
  }
  // From midnight of New Year's Day on, whatever the time of day.
  return birthday >= DateTime::AtMidnight(new_year) ? y : y - 1;
}

}  // namespace tessaly
