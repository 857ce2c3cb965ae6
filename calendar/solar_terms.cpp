// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/solar_terms.h"

#include <cstdint>

#include "calendar/calendar_range.h"

namespace tessaly {
namespace {

// Day of the month of each term, 小寒 first; terms 2m and 2m+1 fall in month m+1.
constexpr std::uint8_t kSolarTermDays[kCalendarYears][24] = {
#include "calendar/solar_term_table.inc"
};

constexpr const char16_t* kSolarTermNames[24] = {
    u"小寒", u"大寒", u"立春", u"雨水", u"惊蛰", u"春分", u"清明", u"谷雨",
    u"立夏", u"小满", u"芒种", u"夏至", u"小暑", u"大暑", u"立秋", u"处暑",
    u"白露", u"秋分", u"寒露", u"霜降", u"立冬", u"小雪", u"大雪", u"冬至",
};

}  // namespace

QString SolarTermOf(QDate date) {
  if (!InCalendarRange(date)) return {};
  const std::uint8_t* days = kSolarTermDays[date.year() - kFirstYear];
  for (int term = (date.month() - 1) * 2; term < date.month() * 2; ++term) {
    if (days[term] == date.day()) return QString::fromUtf16(kSolarTermNames[term]);
  }
  return {};
}

int SolarTermDay(int year, int term) {
  if (year < kFirstYear || year > kLastYear || term < 0 || term >= 24) return 0;
  return kSolarTermDays[year - kFirstYear][term];
}

}  // namespace tessaly
