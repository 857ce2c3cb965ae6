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

#include <cstdio>

namespace tessaly::cli {
namespace {

QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

QString QuotedList(const QStringList& list) {
  QStringList quoted;
  for (const QString& s : list) quoted.append(Quoted(s));
  return QLatin1Char('[') + quoted.join(QLatin1Char(',')) + QLatin1Char(']');
}

// The texts of the TSV lines in UTF-8, made once: the lines of 54,787 days come
// out in a tenth of a second this way.
struct TsvTexts {
  QByteArray jianchu[12], tianshen[12], huangdao[2], xiu[28], pillar[60], animal[12], direction[8],
      sha[8], pengzu_stem[10], pengzu_branch[12], tai[60], activity[kActivityCount], hours[12],
      nothing_suits, rest_avoided;

  TsvTexts() {
    for (int i = 0; i < 12; ++i) {
      jianchu[i] = JianchuName(i).toUtf8();
      tianshen[i] = TianshenName(i).toUtf8();
      animal[i] = QString(QChar(kAnimals[i])).toUtf8();
    }
    huangdao[0] = HuangdaoText(false).toUtf8();
    huangdao[1] = HuangdaoText(true).toUtf8();
    for (int i = 0; i < 28; ++i) xiu[i] = XiuName(i).toUtf8();
    for (int i = 0; i < 8; ++i) {
      direction[i] = DirectionName(i).toUtf8();
      sha[i] = DirectionName(i).right(1).toUtf8();
    }
    for (int i = 0; i < kActivityCount; ++i) activity[i] = ActivityName(i).toUtf8();
    nothing_suits = QStringLiteral("诸事不宜").toUtf8();
    rest_avoided = QStringLiteral("馀事勿取").toUtf8();
    for (int cycle = 0; cycle < 60; ++cycle) {
      AlmanacDay d;
      d.stem = cycle % 10;
      d.branch = cycle % 12;
      pillar[cycle] = GanZhi(d.stem, d.branch).toUtf8();
      tai[cycle] = TaishenText(d).toUtf8();
      if (cycle < 10) pengzu_stem[cycle] = PengzuStem(d).toUtf8();
      if (cycle < 12) pengzu_branch[cycle] = PengzuBranch(d).toUtf8();
    }
    // The hours' 值神 follow from the day's branch alone.
    for (int branch = 0; branch < 12; ++branch) {
      AlmanacDay d = AlmanacOf(QDate(1949, 10, 1).addDays(branch));  // 甲子 and on
      QStringList list;
      for (int h = 0; h < 12; ++h)
        list.append(QChar(kBranches[h]) + TianshenName(d.hours[h].tianshen));
      hours[branch] = list.join(QLatin1Char(' ')).toUtf8();
    }
  }
};

constexpr int CycleOf(int stem, int branch) { return ((6 * stem - 5 * branch) % 60 + 60) % 60; }

void AppendActivities(QByteArray& out, const TsvTexts& t, ActivitySet set) {
  bool first = true;
  for (int a = 0; a < kActivityCount; ++a) {
    if (set & (ActivitySet{1} << a)) {
      if (!first) out += ' ';
      out += t.activity[a];
      first = false;
    }
  }
}

// One line of seventeen fields; YiTexts and JiTexts give the same words.
void AppendTsvLine(QByteArray& out, const TsvTexts& t, const AlmanacDay& d) {
  char date[11];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.date.year(), d.date.month(), d.date.day());
  out.append(date, 10);
  for (const QByteArray* field :
       {&t.jianchu[d.jianchu], &t.tianshen[d.tianshen], &t.huangdao[d.huangdao], &t.xiu[d.xiu],
        &t.pillar[CycleOf(d.chong_stem, d.chong_branch)], &t.animal[d.chong_branch], &t.sha[d.sha],
        &t.pengzu_stem[d.stem], &t.pengzu_branch[d.branch], &t.direction[d.xi], &t.direction[d.fu],
        &t.direction[d.cai], &t.tai[CycleOf(d.stem, d.branch)]}) {
    out += '\t';
    out += *field;
  }
  out += '\t';
  if (d.nothing_suits) {
    out += t.nothing_suits;
  } else {
    AppendActivities(out, t, d.yi);
    if (d.rest_avoided) out += ' ' + t.rest_avoided;
  }
  out += '\t';
  AppendActivities(out, t, d.ji);
  out += '\t';
  out += t.hours[d.branch];
  out += '\n';
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
             .arg(DirectionName(d.xi), DirectionName(d.fu), DirectionName(d.cai), TaishenText(d),
                  QuotedList(YiTexts(d)), QuotedList(JiTexts(d)), hours.join(QLatin1Char(',')));
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
  if (const QString message = ReadDateRange(dates, from, to); !message.isEmpty()) {
    return bad(message);
  }
  if (!InCalendarRange(from) || !InCalendarRange(to)) {
    return bad(QStringLiteral("the almanac covers %1 .. %2")
                   .arg(DateToStr(FirstCalendarDay()), DateToStr(LastCalendarDay())));
  }

  const bool json = format == QStringLiteral("json");
  static const TsvTexts texts;
  bool first = true;
  if (json)
    out += '[';
  else
    out.reserve(out.size() + (from.daysTo(to) + 1) * 384);
  for (QDate date = from; date <= to; date = date.addDays(1)) {
    const AlmanacDay d = AlmanacOf(date);
    if (find &&
        (!Suits(d, activity) || d.chong_branch == avoid_branch || (huangdao_only && !d.huangdao))) {
      continue;
    }
    if (json) {
      out += (first ? "\n" : ",\n") + JsonObject(d).toUtf8();
    } else {
      AppendTsvLine(out, texts, d);
    }
    first = false;
  }
  if (json) out += first ? "]\n" : "\n]\n";
  return 0;
}

}  // namespace tessaly::cli
