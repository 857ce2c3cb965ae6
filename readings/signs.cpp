#include "readings/signs.h"

#include "calendar/lunar_calendar.h"
#include "core/errors.h"

namespace tessaly {
namespace {

// Fixed tables.

// New Year's Day 1900, before the lunar month table starts: the day of the new
// moon at 09:23 UTC+8 (by Meeus, Astronomical Algorithms, chapter 49).
const QDate kNewYear1900(1900, 1, 31);

constexpr char16_t kStems[10] = {u'甲', u'乙', u'丙', u'丁', u'戊',
                                 u'己', u'庚', u'辛', u'壬', u'癸'};
constexpr char16_t kBranches[12] = {u'子', u'丑', u'寅', u'卯', u'辰', u'巳',
                                    u'午', u'未', u'申', u'酉', u'戌', u'亥'};
constexpr char16_t kAnimals[12] = {u'鼠', u'牛', u'虎', u'兔', u'龙', u'蛇',
                                   u'马', u'羊', u'猴', u'鸡', u'狗', u'猪'};

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

QDate LunarNewYearOf(int year) {
  return year == kNewYear1900.year() ? kNewYear1900 : LunarNewYear(year);
}

int ZodiacYear(const DateTime& birthday) {
  const int y = birthday.date.isValid() ? birthday.date.year() : 0;
  const QDate new_year = LunarNewYearOf(y);
  if (!new_year.isValid()) {
    throw Error(QStringLiteral("出生日期超出可推算的范围（1900年至2050年）"));
  }
  // From midnight of New Year's Day on, whatever the time of day.
  return birthday >= DateTime::AtMidnight(new_year) ? y : y - 1;
}

QString CyclicYearName(int year) {
  const int a = ((year - 4) % 60 + 60) % 60;
  const QChar name[3] = {QChar(kStems[a % 10]), QChar(kBranches[a % 12]), QChar(kAnimals[a % 12])};
  return QString(name, 3);
}

QString StarSignOf(QDate birthday) {
  const int code = birthday.month() * 100 + birthday.day();
  for (const StarSignRange& r : kStarSignRanges) {
    if (code >= r.first && code <= r.last) return QString::fromUtf16(r.name);
  }
  return {};  // an invalid date
}

}  // namespace tessaly
