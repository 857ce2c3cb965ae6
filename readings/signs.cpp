// SPDX-License-Identifier: GPL-3.0-or-later
#include "readings/signs.h"

namespace tessaly {
namespace {

// Source: the common sun-sign dates of Western astrology (lists differ by a day at some edges).
// Star signs by month * 100 + day, inclusive ranges in calendar order.
// 摩羯座 spans the turn of the year and owns the first and the last range.
struct StarSignRange {
  int first;
  int last;
  const char16_t* name;
};
constexpr StarSignRange kStarSignRanges[] = {
    {101, 119, u"摩羯座"},   {120, 218, u"水瓶座"},   {219, 320, u"双鱼座"},
    {321, 419, u"白羊座"},   {420, 520, u"金牛座"},   {521, 621, u"双子座"},
    {622, 722, u"巨蟹座"},   {723, 822, u"狮子座"},   {823, 922, u"处女座"},
    {923, 1023, u"天秤座"},  {1024, 1121, u"天蝎座"}, {1122, 1221, u"射手座"},
    {1222, 1231, u"摩羯座"},
};

}  // namespace

QString StarSignOf(QDate birthday) {
  const int code = birthday.month() * 100 + birthday.day();
  for (const StarSignRange& r : kStarSignRanges) {
    if (code >= r.first && code <= r.last) return QString::fromUtf16(r.name);
  }
  return {};  // an invalid date
}

}  // namespace tessaly
