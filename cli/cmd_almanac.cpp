// SPDX-License-Identifier: GPL-3.0-or-later
// tessaly-cli almanac FROM [TO]: the almanac entry of each day from FROM to TO,
// one TAB-separated line or one JSON object per day; with --find ACTIVITY, only
// the days that suit the activity (and do not list it under 忌), optionally
// without the days that clash with an animal or without the 黑道 days.

#include "almanac/almanac.h"
#include "calendar/calendar_range.h"
#include "calendar/sexagenary.h"
#include "cli/commands.h"
#include "core/dates.h"
#include "core/errors.h"

namespace tessaly::cli {
namespace {

QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

QString QuotedList(const QStringList& list) {
  QStringList quoted;
  for (const QString& s : list) quoted.append(Quoted(s));
  return QLatin1Char('[') + quoted.join(QLatin1Char(',')) + QLatin1Char(']');
}

// The fields of an entry, as the TSV line and the JSON object name them. The
// texts are the program's own (no character needs escaping in JSON).
QString TsvLine(const AlmanacDay& d) {
  QStringList hours;
  for (int h = 0; h < 12; ++h) {
    hours.append(QChar(kBranches[h]) + TianshenName(d.hours[h].tianshen));
  }
  return QStringList{DateToStr(d.date),
                     JianchuName(d.jianchu),
                     TianshenName(d.tianshen),
                     HuangdaoText(d.huangdao),
                     XiuName(d.xiu),
                     ChongPillar(d),
                     ChongAnimal(d),
                     ShaText(d),
                     PengzuStem(d),
                     PengzuBranch(d),
                     DirectionName(d.xi),
                     DirectionName(d.fu),
                     DirectionName(d.cai),
                     TaishenText(d),
                     YiTexts(d).join(QLatin1Char(' ')),
                     JiTexts(d).join(QLatin1Char(' ')),
                     hours.join(QLatin1Char(' '))}
      .join(QLatin1Char('\t'));
}

QString JsonObject(const AlmanacDay& d) {
  QStringList hours;
  for (int h = 0; h < 12; ++h) {
    hours.append(QStringLiteral("{\"branch\":\"%1\",\"tianshen\":\"%2\",\"huangdao\":\"%3\"}")
                     .arg(QChar(kBranches[h]), TianshenName(d.hours[h].tianshen),
                          HuangdaoText(d.hours[h].huangdao)));
  }
  return QStringLiteral(
             "{\"date\":\"%1\",\"jianchu\":\"%2\",\"tianshen\":\"%3\",\"huangdao\":\"%4\","
             "\"xiu\":\"%5\",\"chong\":{\"pillar\":\"%6\",\"animal\":\"%7\"},\"sha\":\"%8\","
             "\"pengzu\":{\"stem\":\"%9\",\"branch\":\"%10\"},")
             .arg(DateToStr(d.date), JianchuName(d.jianchu), TianshenName(d.tianshen),
                  HuangdaoText(d.huangdao), XiuName(d.xiu), ChongPillar(d), ChongAnimal(d),
                  ShaText(d), PengzuStem(d))
             .arg(PengzuBranch(d)) +
         QStringLiteral(
             "\"directions\":{\"xi\":\"%1\",\"fu\":\"%2\",\"cai\":\"%3\"},\"tai\":\"%4\","
             "\"yi\":%5,\"ji\":%6,\"hours\":[%7]}")
             .arg(DirectionName(d.xi), DirectionName(d.fu), DirectionName(d.cai),
                  TaishenText(d), QuotedList(YiTexts(d)), QuotedList(JiTexts(d)),
                  hours.join(QLatin1Char(',')));
}

QString ActivityList() {
  QStringList names;
  for (int a = 0; a < kActivityCount; ++a) names.append(ActivityName(a));
  return names.join(QLatin1Char(' '));
}

}  // namespace

int RunAlmanac(const QStringList& args, QByteArray& out) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral(
          "The almanac (黄历) of each day from FROM to TO (%1 .. %2), one line per day\n"
          "with seventeen fields separated by a TAB: the date, 建除, 值神, 黄道 or 黑道,\n"
          "二十八宿, the clashing day pillar and its animal, 煞, 彭祖百忌 of the stem and\n"
          "of the branch, 喜神, 福神, 财神, 胎神, 宜 and 忌 (words separated by a space),\n"
          "and the twelve hours' 值神 (子司命 丑勾陈 ...). With --find, only the days that\n"
          "suit ACTIVITY and do not list it under 忌. Activities:\n%3")
          .arg(DateToStr(FirstCalendarDay()), DateToStr(LastCalendarDay()), ActivityList()));
  parser.addPositionalArgument(QStringLiteral("FROM"), QStringLiteral("the first date, Y-M-D"));
  parser.addPositionalArgument(QStringLiteral("TO"),
                               QStringLiteral("the last date, Y-M-D (default FROM)"),
                               QStringLiteral("[TO]"));
  const QCommandLineOption format_opt(QStringLiteral("format"),
                                      QStringLiteral("tsv or json (default tsv)"),
                                      QStringLiteral("FORMAT"), QStringLiteral("tsv"));
  const QCommandLineOption find_opt(QStringLiteral("find"),
                                    QStringLiteral("only the days that suit ACTIVITY"),
                                    QStringLiteral("ACTIVITY"));
  const QCommandLineOption animal_opt(
      QStringLiteral("avoid-animal"),
      QStringLiteral("with --find: without the days that clash with ANIMAL (鼠 .. 猪)"),
      QStringLiteral("ANIMAL"));
  const QCommandLineOption huangdao_opt(QStringLiteral("huangdao"),
                                        QStringLiteral("with --find: only 黄道 days"));
  parser.addOptions({format_opt, find_opt, animal_opt, huangdao_opt});
  if (const int status = ParseArguments(parser, "almanac", args, out); status >= 0) return status;
  const auto bad = [&parser](const QString& message) {
    return BadArguments(parser, "almanac", message);
  };

  const QString format = parser.value(format_opt);
  if (format != QStringLiteral("tsv") && format != QStringLiteral("json")) {
    return bad(QStringLiteral("--format takes tsv or json"));
  }
  const bool find = parser.isSet(find_opt);
  int activity = -1;
  if (find) {
    activity = ActivityOf(parser.value(find_opt));
    if (activity < 0) {
      return bad(QStringLiteral("--find takes one of: %1").arg(ActivityList()));
    }
  }
  int avoid_branch = -1;
  if (parser.isSet(animal_opt)) {
    if (!find) return bad(QStringLiteral("--avoid-animal goes with --find"));
    const QString animal = parser.value(animal_opt);
    for (int b = 0; b < 12; ++b) {
      if (animal == QChar(kAnimals[b])) avoid_branch = b;
    }
    if (avoid_branch < 0) return bad(QStringLiteral("--avoid-animal takes an animal, 鼠 .. 猪"));
  }
  const bool huangdao_only = parser.isSet(huangdao_opt);
  if (huangdao_only && !find) return bad(QStringLiteral("--huangdao goes with --find"));

  const QStringList dates = parser.positionalArguments();
  if (dates.isEmpty() || dates.size() > 2) return bad(QStringLiteral("takes FROM and at most TO"));
  if (find && dates.size() != 2) return bad(QStringLiteral("--find needs FROM and TO"));
  QDate from, to;
  try {
    from = StrToDate(dates[0]);
    to = dates.size() == 2 ? StrToDate(dates[1]) : from;
  } catch (const ConvertError& e) {
    return bad(e.message());
  }
  if (from > to) return bad(QStringLiteral("FROM lies after TO"));
  if (!InCalendarRange(from) || !InCalendarRange(to)) {
    return bad(QStringLiteral("the almanac covers %1 .. %2")
                   .arg(DateToStr(FirstCalendarDay()), DateToStr(LastCalendarDay())));
  }

  const bool json = format == QStringLiteral("json");
  QString text;
  bool first = true;
  if (json) text += QLatin1Char('[');
  for (QDate date = from; date <= to; date = date.addDays(1)) {
    const AlmanacDay d = AlmanacOf(date);
    if (find && (!Suits(d, activity) || d.chong_branch == avoid_branch ||
                 (huangdao_only && !d.huangdao))) {
      continue;
    }
    if (json) {
      text += (first ? QStringLiteral("\n") : QStringLiteral(",\n")) + JsonObject(d);
    } else {
      text += TsvLine(d) + QLatin1Char('\n');
    }
    first = false;
    if (text.size() > (1 << 20)) {
      out += text.toUtf8();
      text.clear();
    }
  }
  if (json) text += first ? QStringLiteral("]\n") : QStringLiteral("\n]\n");
  out += text.toUtf8();
  return 0;
}

}  // namespace tessaly::cli
