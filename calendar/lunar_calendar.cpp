// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/lunar_calendar.h"

#include <chrono>
#include <cstdint>

#include "calendar/sexagenary.h"
#include "calendar/solar_terms.h"

namespace tessaly {
namespace {

constexpr std::uint32_t kLunarYearTable[kCalendarYears] = {
#include "calendar/lunar_year_table.inc"
};

const QString kReportMonthNames[12] = {
    QStringLiteral("正"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四"),
    QStringLiteral("五"), QStringLiteral("六"), QStringLiteral("七"), QStringLiteral("八"),
    QStringLiteral("九"), QStringLiteral("十"), QStringLiteral("冬"), QStringLiteral("腊"),
};
const QString kCalendarMonthNames[12] = {
    QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四"),
    QStringLiteral("五"), QStringLiteral("六"), QStringLiteral("七"), QStringLiteral("八"),
    QStringLiteral("九"), QStringLiteral("十"), QStringLiteral("冬"), QStringLiteral("腊"),
};
const QString kLunarDayNames[30] = {
    QStringLiteral("初一"), QStringLiteral("初二"), QStringLiteral("初三"), QStringLiteral("初四"),
    QStringLiteral("初五"), QStringLiteral("初六"), QStringLiteral("初七"), QStringLiteral("初八"),
    QStringLiteral("初九"), QStringLiteral("初十"), QStringLiteral("十一"), QStringLiteral("十二"),
    QStringLiteral("十三"), QStringLiteral("十四"), QStringLiteral("十五"), QStringLiteral("十六"),
    QStringLiteral("十七"), QStringLiteral("十八"), QStringLiteral("十九"), QStringLiteral("二十"),
    QStringLiteral("廿一"), QStringLiteral("廿二"), QStringLiteral("廿三"), QStringLiteral("廿四"),
    QStringLiteral("廿五"), QStringLiteral("廿六"), QStringLiteral("廿七"), QStringLiteral("廿八"),
    QStringLiteral("廿九"), QStringLiteral("三十"),
};

constexpr int Abs(int v) { return v < 0 ? -v : v; }

// QDate::dayOfYear, for the tables below, which are built and checked at
// compile time where QDate cannot run.
constexpr int DayNumber(int y, int m, int d) {
  using namespace std::chrono;
  const sys_days date = year(y) / m / d;
  return static_cast<int>((date - sys_days(year(y) / January / 1)).count()) + 1;
}
static_assert(DayNumber(2004, 3, 1) == 61 && DayNumber(2005, 3, 1) == 60);
static_assert(DayNumber(2000, 12, 31) == 366 && DayNumber(1900, 12, 31) == 365);

// One year's record, unpacked.
struct YearRecord {
  int start;      // month in progress on 1 January: 11 or 12
  int d0;         // its day on 1 January
  unsigned mask;  // bit (15 - k): month k of the walk has 30 days
  int leap;       // month followed by a leap month of the same number; 0 = none

  constexpr explicit YearRecord(std::uint32_t r)
      : start((r & 0x80000000u) ? 12 : 11),
        d0(static_cast<int>((r >> 24) & 0x7f)),
        mask((r >> 8) & 0xffffu),
        leap(static_cast<int>(r & 0xff)) {}

  constexpr int Length(int k) const { return ((mask >> (15 - k)) & 1u) ? 30 : 29; }

  // The month after `m` in the walk; a leap month is stored negative.
  constexpr int Next(int m) const {
    if (m == leap) return -leap;
    const int n = Abs(m) + 1;
    return n == 13 ? 1 : n;
  }

  // Day of the year (0 = 1 January) on which the first month (正月) begins.
  constexpr int NewYearDay() const {
    int t = Length(0) - d0 + 1;
    int k = 1;
    for (int m = Next(start); m != 1; m = Next(m)) t += Length(k++);
    return t;
  }

  // The code of day t of the year (0 = 1 January). `first_leap` tells whether
  // the month in progress on 1 January is a leap month.
  constexpr LunarCode CodeOfDay(int t, bool first_leap) const {
    int month = 0;
    int day = 0;
    if (t <= Length(0) - d0) {
      month = first_leap ? -start : start;
      day = d0 + t;
    } else {
      int acc = Length(0) - d0;
      int k = 1;
      month = Next(start);
      while (k < 15 && t > acc + Length(k)) {
        acc += Length(k);
        ++k;
        month = Next(month);
      }
      day = t - acc;
    }
    return month > 0 ? month * 100 + day : month * 100 - day;
  }
};

// Whether the month in progress on 1 January of each year is a leap month: it
// is when 31 December of the year before falls in a leap month. 31 December
// lies far past the first month of its own year's walk, so that lookup never
// needs the year before it in turn. 1901 has no year before and never counts.
struct FirstMonthLeapTable {
  bool leap[kCalendarYears] = {};
  constexpr FirstMonthLeapTable() {
    for (int y = kFirstYear + 1; y <= kLastYear; ++y) {
      const YearRecord before(kLunarYearTable[y - 1 - kFirstYear]);
      const int last_t = DayNumber(y - 1, 12, 31) - 1;
      leap[y - kFirstYear] = before.CodeOfDay(last_t, false) < 0;
    }
  }
};
constexpr FirstMonthLeapTable kFirstMonthLeap;

// The 2033 leap 11th month is still running on 1 January 2034.
static_assert(kFirstMonthLeap.leap[2034 - kFirstYear]);
static_assert(!kFirstMonthLeap.leap[0]);

// Lunar New Year's Day of each year, as its day of the year (0 = 1 January).
struct NewYearTable {
  int day[kCalendarYears] = {};
  constexpr NewYearTable() {
    for (int y = kFirstYear; y <= kLastYear; ++y) {
      day[y - kFirstYear] = YearRecord(kLunarYearTable[y - kFirstYear]).NewYearDay();
    }
  }
};
constexpr NewYearTable kNewYear;

static_assert(kNewYear.day[1901 - kFirstYear] == DayNumber(1901, 2, 19) - 1);
static_assert(kNewYear.day[2004 - kFirstYear] == DayNumber(2004, 1, 22) - 1);
static_assert(kNewYear.day[2030 - kFirstYear] == DayNumber(2030, 2, 3) - 1);
static_assert(kNewYear.day[2050 - kFirstYear] == DayNumber(2050, 1, 23) - 1);

constexpr LunarCode CodeOf(int y, int m, int d) {
  if (y < kFirstYear || y > kLastYear) return 0;
  const YearRecord rec(kLunarYearTable[y - kFirstYear]);
  return rec.CodeOfDay(DayNumber(y, m, d) - 1, kFirstMonthLeap.leap[y - kFirstYear]);
}

// The worked conversions, checked where the table is compiled.
static_assert(CodeOf(2004, 8, 1) == 616);
static_assert(CodeOf(2004, 3, 21) == -201);
static_assert(CodeOf(2004, 1, 22) == 101);
static_assert(CodeOf(2034, 1, 1) == -1111);
static_assert(CodeOf(1901, 1, 1) == 1111);
static_assert(CodeOf(2050, 12, 31) == 1118);

QString MonthTextOf(LunarCode code, MonthNaming naming) {
  if (code == 0) return {};
  return LunarMonthText(LunarDate::Decode(code), naming);
}

QString DayTextOf(LunarCode code) {
  if (code == 0) return {};
  return LunarDayText(LunarDate::Decode(code));
}

}  // namespace

LunarDate LunarDate::Decode(LunarCode code) {
  const int a = Abs(code);
  return LunarDate{a / 100, code < 0, a % 100};
}

LunarCode LunarCodeOf(QDate date) {
  int y = 0, m = 0, d = 0;
  date.getDate(&y, &m, &d);  // all 0 for an invalid date
  return CodeOf(y, m, d);
}

QDate LunarNewYear(int year) {
  // 1900, before the table starts: the day of the new moon at 09:23 UTC+8 (by
  // Meeus, Astronomical Algorithms, chapter 49).
  if (year == kFirstYear - 1) return QDate(1900, 1, 31);
  if (year < kFirstYear || year > kLastYear) return {};
  return QDate(year, 1, 1).addDays(kNewYear.day[year - kFirstYear]);
}

int LunarYearOf(QDate date) {
  if (!InCalendarRange(date)) return 0;
  return date < LunarNewYear(date.year()) ? date.year() - 1 : date.year();
}

QString LunarMonthText(const LunarDate& date, MonthNaming naming) {
  if (date.month < 1 || date.month > 12) return {};
  const QString& name =
      (naming == MonthNaming::Report ? kReportMonthNames : kCalendarMonthNames)[date.month - 1];
  return date.leap ? QStringLiteral("闰") + name : name + QStringLiteral("月");
}

QString LunarDayText(const LunarDate& date) {
  if (date.day < 1 || date.day > 30) return {};
  return kLunarDayNames[date.day - 1];
}

QString LunarMonthText(QDate date, MonthNaming naming) {
  return MonthTextOf(LunarCodeOf(date), naming);
}

QString LunarDayText(QDate date) { return DayTextOf(LunarCodeOf(date)); }

QString LunarDateText(QDate date) {
  const LunarCode code = LunarCodeOf(date);
  if (code == 0) return {};
  return MonthTextOf(code, MonthNaming::Report) + DayTextOf(code);
}

QString YearGanZhi(QDate date) {
  if (!InCalendarRange(date)) return {};
  const int n = CycleIndex(LunarYearOf(date));
  return GanZhi(n % 10, n % 12);
}

QString MonthGanZhi(QDate date) {
  if (!InCalendarRange(date)) return {};
  // Each Gregorian month holds one 节 (term 2(m-1)): count the 节 passed since
  // year 0, less this month's while its day has not come.
  int jie = date.year() * 12 + date.month() - 1;
  if (date.day() < SolarTermDay(date.year(), 2 * (date.month() - 1))) --jie;
  // 立春 1984 (the 甲子 year) began 丙寅, place 2 of the cycle of sixty.
  constexpr int kLiChun1984 = 1984 * 12 + 1;
  const int n = ((jie - kLiChun1984 + 2) % 60 + 60) % 60;
  return GanZhi(n % 10, n % 12);
}

QString GanZhiLine(QDate date) {
  if (!InCalendarRange(date)) return {};
  return YearGanZhi(date) + QLatin1Char(' ') + MonthGanZhi(date) + QLatin1String("   ");
}

QString AnimalYearText(int year) {
  return QChar(kAnimals[CycleIndex(year) % 12]) + QStringLiteral("年");
}

}  // namespace tessaly
