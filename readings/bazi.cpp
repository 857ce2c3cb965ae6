// SPDX-License-Identifier: GPL-3.0-or-later
// 生辰八字分析: the birth moment corrected, the four pillars and their details
// (readings/four_pillars.h), and the section that shows them.

#include <QFile>
#include <QHash>

#include "calendar/sexagenary.h"
#include "core/clock.h"
#include "core/errors.h"
#include "readings/birth_moment.h"
#include "readings/four_pillars.h"
#include "readings/readings.h"

namespace tessaly {
namespace {

using bazi::Pillar;

constexpr const char16_t* kTenGods[10] = {u"比肩", u"劫财", u"食神", u"伤官", u"偏财",
                                          u"正财", u"七杀", u"正官", u"偏印", u"正印"};
constexpr char16_t kElements[5] = {u'木', u'火', u'土', u'金', u'水'};
// The thirty 纳音 of the cycle's pairs 甲子乙丑 .. 壬戌癸亥, in their common forms.
constexpr const char16_t* kNayin[30] = {
    u"海中金", u"炉中火", u"大林木", u"路旁土", u"剑锋金", u"山头火", u"涧下水", u"城头土",
    u"白蜡金", u"杨柳木", u"泉中水", u"屋上土", u"霹雳火", u"松柏木", u"长流水", u"沙中金",
    u"山下火", u"平地木", u"壁上土", u"金箔金", u"覆灯火", u"天河水", u"大驿土", u"钗钏金",
    u"桑柘木", u"大溪水", u"沙中土", u"天上火", u"石榴木", u"大海水"};
constexpr const char16_t* kPillarNames[4] = {u"年柱", u"月柱", u"日柱", u"时柱"};
constexpr const char16_t* kJieNames[12] = {u"小寒", u"立春", u"惊蛰", u"清明", u"立夏", u"芒种",
                                           u"小暑", u"立秋", u"白露", u"寒露", u"立冬", u"大雪"};
constexpr const char16_t* kHourNames[12] = {u"子时", u"丑时", u"寅时", u"卯时", u"辰时", u"巳时",
                                            u"午时", u"未时", u"申时", u"酉时", u"戌时", u"亥时"};
constexpr int kExcess = 4;  // an element this many times among the eight is in excess

QString S(const char16_t* text) { return QString::fromUtf16(text); }
QString Stem(int s) { return QString(QChar(kStems[s])); }
QString Name(Pillar p) { return GanZhi(p.stem, p.branch); }
QString TenGodName(int god) { return S(kTenGods[god]); }
QString ElementsText(const std::array<int, 5>& list) {
  QString text;
  for (int e : list) {
    if (e >= 0) text += QChar(kElements[e]);
  }
  return text;
}

// The texts, by key, from the file compiled into the program.
const QHash<QString, QString>& Texts() {
  static const QHash<QString, QString> texts = [] {
    QHash<QString, QString> map;
    QFile f(QStringLiteral(":/tessaly/bazi/texts.txt"));
    if (!f.open(QIODevice::ReadOnly)) return map;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
      const QString l = line.trimmed();
      const qsizetype tab = l.indexOf(QLatin1Char('\t'));
      if (l.startsWith(QLatin1Char('#')) || tab <= 0) continue;
      map.insert(l.left(tab), l.mid(tab + 1));
    }
    return map;
  }();
  return texts;
}

// A cell of the pillars' block, filled to four characters with ideographic spaces.
QString Cell(const QString& text) {
  return text + QString(qMax<qsizetype>(0, 4 - text.size()), QChar(0x3000));
}

// The pillar year now, by the clock in use.
int ThisPillarYear() {
  const QDateTime now = Clock::Now();
  const std::int64_t t = now.toSecsSinceEpoch();
  if (bazi::InTermRange(t)) return bazi::PillarYear(t);
  return now.date() >= QDate(now.date().year(), 2, 4) ? now.date().year() : now.date().year() - 1;
}

}  // namespace

QString BaziText(const QString& key) { return Texts().value(key); }

BaziResult ReadBazi(const Person& person) {
  BirthMomentInput in;
  in.date = person.birthday.date;
  if (!person.birth_time.trimmed().isEmpty()) {
    const QTime t = ParseBirthTime(person.birth_time);
    if (!t.isValid()) {
      throw Error(
          QStringLiteral("出生时间“%1”无效，请按“时:分”填写，如 23:30。").arg(person.birth_time));
    }
    in.time = t;
  }
  in.double_hour = person.birth_hour_index;
  if (!person.birth_place.trimmed().isEmpty()) {
    in.place = FindBirthPlace(person.birth_place);
    if (!in.place) {
      throw Error(QStringLiteral("不认识出生地“%1”，请选择省会（首府）城市或填写经度。")
                      .arg(person.birth_place));
    }
  }
  in.longitude = person.birth_longitude;
  in.daylight_saving = person.daylight_saving;
  const BirthMoment m = ResolveBirthMoment(in);
  if (!bazi::InTermRange(m.instant)) {
    throw Error(QStringLiteral("出生时间超出可排八字的范围（1901年至2050年）。"));
  }

  bazi::ChartInput ci;
  ci.instant = m.instant;
  ci.local_days =
      bazi::DaysFromCivil(m.local.date().year(), m.local.date().month(), m.local.date().day());
  ci.local_seconds = m.local.time().msecsSinceStartOfDay() / 1000;
  ci.male = person.sex == Sex::Male;
  ci.late_zi_next_day = person.late_zi_next_day;
  const bazi::Chart c = bazi::MakeChart(ci);
  const int day_stem = c.pillars[2].stem;

  BaziResult r;
  r.moment = m.local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
  r.corrections = m.corrections;
  for (int i = 0; i < 4; ++i) {
    const Pillar p = c.pillars[i];
    r.pillars[i] = Name(p);
    for (int k = 0; k < bazi::HiddenStemCount(p.branch); ++k) {
      const int h = bazi::kHiddenStems[p.branch][k];
      r.hidden_stems[i] += Stem(h);
      r.hidden_ten_gods[i] << TenGodName(bazi::TenGod(day_stem, h));
    }
    if (i != 2) r.ten_gods[i] = TenGodName(bazi::TenGod(day_stem, p.stem));
    r.nayin[i] = S(kNayin[p.Cycle() / 2]);
  }
  const auto voids = bazi::VoidBranches(c.pillars[2].Cycle());
  r.void_branches = QString(QChar(kBranches[voids[0]])) + QChar(kBranches[voids[1]]);
  r.elements = c.elements;
  for (int e = 0; e < 5; ++e) r.weighted[e] = c.weighted[e] / 10.0;
  r.day_master = Stem(day_stem) + QChar(kElements[bazi::StemElement(day_stem)]);
  r.strength = c.strength == bazi::Strength::Strong ? QStringLiteral("身强")
               : c.strength == bazi::Strength::Weak ? QStringLiteral("身弱")
                                                    : QStringLiteral("中和");
  r.favourable = ElementsText(c.favourable);
  r.unfavourable = ElementsText(c.unfavourable);
  r.luck_forward = c.luck.forward;
  r.luck_years = c.luck.years;
  r.luck_months = c.luck.months;
  r.luck_days = c.luck.days;
  r.luck_hours = c.luck.hours;
  r.luck_start = QDate(c.luck.start.year, c.luck.start.month, c.luck.start.day);
  for (int k = 0; k < 8; ++k) {
    r.periods[k] = {Name(c.luck.periods[k].pillar), c.luck.periods[k].year, c.luck.periods[k].age};
  }
  const int this_year = ThisPillarYear();
  const Pillar now = bazi::YearPillar(this_year);
  r.this_year_pillar = Name(now);
  r.this_year_ten_god = TenGodName(bazi::TenGod(day_stem, now.stem));

  // The section.
  QStringList& s = r.section;
  const QString in4 = QStringLiteral("    ");
  const QString clock = m.clock_date.toString(QStringLiteral("yyyy-MM-dd ")) +
                        m.clock_time.toString(QStringLiteral("HH:mm"));
  if (m.assumed_time) {
    const int h = person.birth_hour_index;
    if (h == 0) {
      // The other half of 子时: 23:00-23:59 of the entered date.
      bazi::ChartInput late = ci;
      const QDateTime later = m.local.addSecs(23 * 3600);
      late.local_days =
          bazi::DaysFromCivil(later.date().year(), later.date().month(), later.date().day());
      late.local_seconds = later.time().msecsSinceStartOfDay() / 1000;
      late.instant = m.instant + 23 * 3600;
      const bazi::Chart other = bazi::MakeChart(late);
      s << in4 + QStringLiteral(
                     "未填写出生时间，按子时的前半（%1 00:00至00:59）以 00:30 排盘；"
                     "若生于当日23:00至23:59（晚子时），日柱为%2，时柱为%3。")
                     .arg(in.date.toString(QStringLiteral("yyyy-MM-dd")), Name(other.pillars[2]),
                          Name(other.pillars[3]));
    } else {
      s << in4 + QStringLiteral("未填写出生时间，按%1的中点 %2 排盘。")
                     .arg(S(kHourNames[h]), m.clock_time.toString(QStringLiteral("HH:mm")));
    }
  } else {
    s << in4 + QStringLiteral("出生时间：%1").arg(clock);
  }
  for (const QString& c2 : m.corrections) s << in4 + c2 + QStringLiteral("。");
  s << in4 + QStringLiteral("排盘时间：%1")
                 .arg(m.local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
  s << in4 + (person.late_zi_next_day
                  ? QStringLiteral("晚子时（23:00至23:59）按次日论日柱。")
                  : QStringLiteral("按早晚子时之说：晚子时（23:00至23:59）日柱仍按当日，"
                                   "时柱取次日子时的天干。"));
  if (c.near_jie >= 0) {
    s << in4 + QStringLiteral("出生时刻距%1交节不足3分钟，%2取决于准确的出生分钟，请核对出生时间。")
                   .arg(S(kJieNames[c.near_jie]),
                        c.near_jie == 1 ? QStringLiteral("年柱和月柱") : QStringLiteral("月柱"));
  }

  r.block_first = static_cast<int>(s.size());
  {
    QString head = in4 + Cell({});
    QString gods = in4 + Cell(QStringLiteral("十神"));
    QString stems = in4 + Cell(QStringLiteral("天干"));
    QString branches = in4 + Cell(QStringLiteral("地支"));
    QString hidden = in4 + Cell(QStringLiteral("藏干"));
    QString nayin = in4 + Cell(QStringLiteral("纳音"));
    for (int i = 0; i < 4; ++i) {
      head += Cell(S(kPillarNames[i]));
      gods += Cell(i == 2 ? QStringLiteral("日主") : r.ten_gods[i]);
      stems += Cell(Stem(c.pillars[i].stem));
      branches += Cell(QString(QChar(kBranches[c.pillars[i].branch])));
      hidden += Cell(r.hidden_stems[i]);
      nayin += Cell(r.nayin[i]);
    }
    for (QString* line : {&head, &gods, &stems, &branches, &hidden, &nayin}) {
      while (line->endsWith(QChar(0x3000))) line->chop(1);
      s << *line;
    }
  }
  r.block_size = static_cast<int>(s.size()) - r.block_first;

  QStringList hidden;
  for (int i = 0; i < 4; ++i) {
    QStringList items;
    for (int k = 0; k < r.hidden_stems[i].size(); ++k) {
      items << r.hidden_stems[i].mid(k, 1) + r.hidden_ten_gods[i][k];
    }
    hidden << S(kPillarNames[i]) + QLatin1Char(' ') + items.join(QLatin1Char(' '));
  }
  s << in4 + QStringLiteral("藏干十神：") + hidden.join(QStringLiteral("；"));
  s << in4 + QStringLiteral("日柱%1旬空亡：%2").arg(r.pillars[2], r.void_branches);
  QStringList plain, weighted;
  for (int e = 0; e < 5; ++e) {
    plain << QString(QChar(kElements[e])) + QString::number(r.elements[e]);
    weighted << QString(QChar(kElements[e])) + QString::number(r.weighted[e], 'f', 1);
  }
  s << in4 + QStringLiteral("五行（八字计数）：") + plain.join(QLatin1Char(' '));
  s << in4 + QStringLiteral("五行（加权：天干各计1，地支按藏干分计1，月支加倍）：") +
           weighted.join(QLatin1Char(' '));
  s << in4 + QStringLiteral("日主%1，%2（生扶之力%3，满分8.0）；喜用神：%4；忌神：%5。")
                 .arg(r.day_master, r.strength, QString::number(c.support / 10.0, 'f', 1),
                      r.favourable, r.unfavourable);
  s << in4 + QStringLiteral("大运%1：出生后%2年%3个月%4天%5小时起运，%6交运。")
                 .arg(r.luck_forward ? QStringLiteral("顺排") : QStringLiteral("逆排"))
                 .arg(r.luck_years)
                 .arg(r.luck_months)
                 .arg(r.luck_days)
                 .arg(r.luck_hours)
                 .arg(r.luck_start.toString(QStringLiteral("yyyy-MM-dd")));
  QStringList periods;
  for (const BaziResult::Period& p : r.periods) {
    periods << QStringLiteral("%1（%2年，%3岁）").arg(p.pillar).arg(p.year).arg(p.age);
  }
  s << in4 + QStringLiteral("大运：") + periods.join(QLatin1Char(' '));
  s << in4 + QStringLiteral("流年：%1年为%2年，天干%3为日主之%4。")
                 .arg(this_year)
                 .arg(r.this_year_pillar, Stem(now.stem), r.this_year_ten_god);

  s << in4 + BaziText(Stem(day_stem));
  for (int e = 0; e < 5; ++e) {
    if (r.elements[e] == 0) s << in4 + BaziText(QStringLiteral("缺") + QChar(kElements[e]));
  }
  for (int e = 0; e < 5; ++e) {
    if (r.elements[e] >= kExcess) s << in4 + BaziText(QString(QChar(kElements[e])) + u'旺');
  }
  s << in4 + BaziText(r.this_year_ten_god);
  return r;
}

}  // namespace tessaly
