// tessaly-cli calendar FROM [TO]: one line per date from FROM to TO inclusive
// (TO defaults to FROM), fields separated by one TAB:
//   date (yyyy-MM-dd), lunar code, lunar date (report naming), lunar month
//   (calendar naming), lunar day, sexagenary line, animal year of the
//   Gregorian year, zodiac year, its cyclic name, star sign.
// A date outside 1901..2050 has code 0 and every later field empty. Nothing is
// printed when FROM lies after TO.

#include <cstdio>
#include <string>

#include "calendar/lunar_calendar.h"
#include "cli/commands.h"
#include "core/dates.h"
#include "readings/signs.h"

namespace tessaly::cli {
namespace {

QString CalendarLine(QDate date) {
  const LunarCode code = LunarCodeOf(date);
  QString line = DateToStr(date) + QLatin1Char('\t') + QString::number(code);
  if (code == 0) return line + QStringLiteral("\t\t\t\t\t\t\t\t");
  const int zodiac_year = ZodiacYear(DateTime::AtMidnight(date));
  const QChar tab = QLatin1Char('\t');
  line += tab + LunarDateText(date) + tab + LunarMonthText(date, MonthNaming::Calendar) + tab +
          LunarDayText(date) + tab + GanZhiLine(date) + tab + AnimalYearText(date.year()) + tab +
          QString::number(zodiac_year) + tab + CyclicYearName(zodiac_year) + tab + StarSignOf(date);
  return line;
}

}  // namespace

int RunCalendar(const QStringList& args) {
  if (args.isEmpty() || args.size() > 2) {
    Err(QStringLiteral("usage: tessaly-cli calendar FROM [TO]"));
    return 2;
  }
  const QDate from = StrToDate(args[0]);
  const QDate to = args.size() == 2 ? StrToDate(args[1]) : from;

  // Lines are gathered and written in large blocks: a whole range is ~55,000 lines.
  constexpr std::size_t kBlock = 1 << 16;
  std::string out;
  out.reserve(kBlock + 512);
  std::fflush(stdout);
  for (QDate d = from; d <= to; d = d.addDays(1)) {
    const QByteArray line = CalendarLine(d).toUtf8();
    out.append(line.constData(), static_cast<std::size_t>(line.size()));
    out.push_back('\n');
    if (out.size() >= kBlock) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tessaly::cli
