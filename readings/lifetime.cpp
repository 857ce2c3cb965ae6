// SPDX-License-Identifier: GPL-3.0-or-later
// The lifetime reading (一生命运预测): weighs the bone of the birth year, lunar
// month, lunar day and double hour, and looks up the verse of the total and five
// texts by the lunar day, star sign, hour, month and animal. Also the lunar
// particulars of the birthday, which the reading and the report's header use.

#include "calendar/lunar_calendar.h"
#include "calendar/sexagenary.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/text.h"
#include "readings/bone_weights.h"
#include "readings/readings.h"
#include "readings/signs.h"
#include "store/reference_store.h"

namespace tessaly {

namespace {

// Bytes of each verse line: seven characters, a comma, seven characters and a
// full stop, all double-byte.
constexpr int kVerseLineBytes = 32;
constexpr int kSecondLineMaxBytes = 64;

QString TwoDigits(int qian) { return QStringLiteral("%1").arg(qian, 2, 10, QLatin1Char('0')); }

}  // namespace

bool LunarBirth::Valid() const {
  return year_stem >= 0 && year_stem < 10 && year_branch >= 0 && year_branch < 12 &&
         year_stem % 2 == year_branch % 2 && month >= 1 && month <= 12 && day >= 1 && day <= 30;
}

// Stem and branch being of one parity, 6 × stem - 5 × branch leaves the stem
// modulo 10 and the branch modulo 12.
int LunarBirth::CycleIndex() const { return ((6 * year_stem - 5 * year_branch) % 60 + 60) % 60; }

QString LunarBirth::YearText() const {
  return GanZhi(year_stem, year_branch) + QStringLiteral("年");
}

QString LunarBirth::AnimalText() const { return QChar(kAnimals[year_branch]); }

QString LunarBirth::MonthText() const {
  return LunarMonthText(LunarDate{month, leap_month, day}, MonthNaming::Report);
}

QString LunarBirth::DayText() const { return LunarDayText(LunarDate{month, leap_month, day}); }

LunarBirth LunarBirthOf(const DateTime& birthday) {
  const int year = CycleIndex(ZodiacYear(birthday));
  const LunarCode code = LunarCodeOf(birthday.date);
  if (code == 0) {
    throw Error(QStringLiteral("出生日期%1超出农历可推算的范围（1901年至2050年）")
                    .arg(DateToStr(birthday.date)));
  }
  const LunarDate date = LunarDate::Decode(code);
  return LunarBirth{year % 10, year % 12, date.month, date.leap, date.day};
}

LifetimeResult ReadLifetime(const Person& person, const LunarBirth& lunar, ReferenceStore& store) {
  const int hour = person.birth_hour_index;
  if (hour < 0 || hour >= static_cast<int>(HourWeights.size())) {
    throw Error(QStringLiteral(
                    "出生时辰“%1”不是列表中的时辰，请从十二个时辰（如“23-01时 子时”）中选择一个。")
                    .arg(person.birth_hour));
  }
  LifetimeResult r;
  r.hour = QString::fromUtf16(HourWeights[hour].name);

  if (!lunar.Valid()) {
    throw Error(QStringLiteral("无法称骨：农历年、月、日不在称骨表中。"));
  }
  // A leap month weighs as its ordinary month: 闰二 as 二月, 闰冬 as 冬月.
  const BoneWeight* year = &YearWeights[lunar.CycleIndex()];
  const BoneWeight* month = &MonthWeights[lunar.month - 1];
  const BoneWeight* day = &DayWeights[lunar.day - 1];
  r.year_weight = TwoDigits(year->qian);
  r.hour_weight = TwoDigits(HourWeights[hour].qian);
  r.month_weight = TwoDigits(month->qian);
  r.day_weight = TwoDigits(day->qian);

  const QString total =
      QString::number(year->qian + HourWeights[hour].qian + month->qian + day->qian);

  const QString text_column = QStringLiteral("内容");
  // The verse: two lines of 32 bytes. The second line starts where the first
  // one ended, so a text that does not keep to the layout loses no character.
  const QString verse = store.LookupField(Statement{Table::BoneVerse, total}, text_column);
  r.verse_first = GbkLeft(verse, kVerseLineBytes);
  r.verse_second = GbkLeft(verse.mid(r.verse_first.size()), kSecondLineMaxBytes);

  r.star_sign = StarSignOf(person.birthday.date);

  const QString star_text = store.LookupField(Statement{Table::StarSign, r.star_sign}, text_column);
  const QString animal_text =
      store.LookupField(Statement{Table::Animal, lunar.AnimalText()}, text_column);
  const QString day_text =
      store.LookupField(Statement{Table::LunarDay, lunar.DayText()}, text_column);
  const QString hour_text = store.LookupField(Statement{Table::Hour, r.hour}, text_column);
  const QString month_text =
      store.LookupField(Statement{Table::LunarMonth, lunar.MonthText()}, text_column);

  // All lookups done: the section is written in one pass.
  const QString indent = QStringLiteral("    ");
  const QString separator = QStringLiteral("\r");
  QStringList& lines = r.section;
  AddLine(lines, QString());
  AddLine(lines, QStringLiteral("    你的命骨总重量是") + total + QStringLiteral("钱。"));
  AddLine(lines, separator);
  AddLine(lines, QStringLiteral("    根据中国古代称骨术，下面这首诗可能暗含着你的命运："));
  AddLine(lines, separator);
  AddLine(lines, indent + r.verse_first);
  AddLine(lines, indent + r.verse_second);
  AddLine(lines, separator);
  AddLine(lines, indent + day_text);
  AddLine(lines, separator);
  AddLine(lines, indent + star_text);
  AddLine(lines, separator);
  AddLine(lines, indent + hour_text);
  AddLine(lines, indent);
  AddLine(lines, separator);
  AddLine(lines, indent + month_text);
  AddLine(lines, separator);
  AddLine(lines, indent + animal_text);
  return r;
}

}  // namespace tessaly
