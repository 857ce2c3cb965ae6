// SPDX-License-Identifier: GPL-3.0-or-later
// tessaly-cli calendar FROM [TO]: one line per date from FROM to TO inclusive
// (TO defaults to FROM), fields separated by one TAB:
//   date (yyyy-MM-dd), lunar code, lunar date (report naming), lunar month
//   (calendar naming), lunar day, sexagenary line (the lunar year's pair and
//   the pair of the month begun by the last 节), animal year of the lunar year,
//   zodiac year, its cyclic name, star sign, solar term (empty on a day on
//   which no term begins).
// A date outside 1901..2050 has code 0 and every later field empty. A date that
// is no date, or FROM after TO, is a bad option.

#include "calendar/calendar_range.h"
#include "calendar/lunar_calendar.h"
#include "calendar/sexagenary.h"
#include "calendar/solar_terms.h"
#include "cli/commands.h"
#include "core/dates.h"
#include "core/errors.h"
#include "readings/signs.h"

namespace tessaly::cli {
namespace {

QString CalendarLine(QDate date) {
  const LunarCode code = LunarCodeOf(date);
  QString line = DateToStr(date) + QLatin1Char('\t') + QString::number(code);
  if (code == 0) return line + QStringLiteral("\t\t\t\t\t\t\t\t\t");
  const int zodiac_year = ZodiacYear(DateTime::AtMidnight(date));
  const QChar tab = QLatin1Char('\t');
  line += tab + LunarDateText(date) + tab + LunarMonthText(date, MonthNaming::Calendar) + tab +
          LunarDayText(date) + tab + GanZhiLine(date) + tab + AnimalYearText(LunarYearOf(date)) +
          tab + QString::number(zodiac_year) + tab + CyclicYearName(zodiac_year) + tab +
          StarSignOf(date) + tab + SolarTermOf(date);
  return line;
}

}  // namespace

int RunCalendar(const QStringList& args, QByteArray& out) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral(
          "The lunar date and signs of each date from FROM to TO, one line per date with\n"
          "eleven fields separated by a TAB: the date, the lunar code, the lunar date,\n"
          "the lunar month and day, the sexagenary line (the pairs of the lunar year and of\n"
          "the month begun by the last 节), the animal year of the lunar year, the zodiac\n"
          "year and its cyclic name, the star sign, and the solar term that begins that\n"
          "day (empty on other days). A date outside the lunar calendar\n"
          "(%1 .. %2) has code 0 and the later fields empty.")
          .arg(DateToStr(FirstCalendarDay()), DateToStr(LastCalendarDay())));
  parser.addPositionalArgument(QStringLiteral("FROM"), QStringLiteral("the first date, Y-M-D"));
  parser.addPositionalArgument(QStringLiteral("TO"),
                               QStringLiteral("the last date, Y-M-D (default FROM)"),
                               QStringLiteral("[TO]"));
  if (const int status = ParseArguments(parser, "calendar", args, out); status >= 0) return status;
  const auto bad = [&parser](const QString& message) {
    return BadArguments(parser, "calendar", message);
  };
  const QStringList dates = parser.positionalArguments();
  if (dates.isEmpty() || dates.size() > 2) return bad({});
  QDate from, to;
  if (const QString message = ReadDateRange(dates, from, to); !message.isEmpty()) {
    return bad(message);
  }

  for (QDate d = from; d <= to; d = d.addDays(1)) Out(out, CalendarLine(d));
  return 0;
}

}  // namespace tessaly::cli
