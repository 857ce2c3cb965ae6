#pragma once
// The birthday's signs: its zodiac year by the lunar New Year, the cyclic
// name of a year, and the Western star sign.

#include <QDate>
#include <QString>

#include "core/dates.h"

namespace tessaly {

// The Gregorian year whose cyclic name applies to the birthday: its own year
// from lunar New Year's Day (at any time of that day) on, the year before until
// then. Raises Error with a clear message for a birthday outside
// 1900-01-01 .. 2050-12-31.
int ZodiacYear(const DateTime& birthday);

// Stem, branch and animal of the year: 甲子鼠 for 1984, 乙酉鸡 for 2005.
QString CyclicYearName(int year);

// The star sign of the month and day (摩羯座 .. 射手座).
QString StarSignOf(QDate birthday);

// Lunar New Year's Day of a year 1900..2050 (an invalid date otherwise): from
// the lunar month table, and for 1900, which precedes it, a fixed date.
QDate LunarNewYearOf(int year);

}  // namespace tessaly
