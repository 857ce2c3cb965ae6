// SPDX-License-Identifier: GPL-3.0-or-later
// The lifetime reading (一生命运预测): weighs the bone of the birth year, lunar
// month, lunar day and double hour, and looks up the verse of the total and five
// texts by the lunar day, star sign, hour, month and animal. Also the lunar
// particulars of the birthday, which the reading and the report's header use.

#include "calendar/lunar_calendar.h"
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

template <size_t N>
const BoneWeight* FindWeight(const std::array<BoneWeight, N>& table, const QString& key,
                             const QString& suffix = {}) {
  for (const BoneWeight& row : table) {
    if (QString::fromUtf16(row.name) + suffix == key) return &row;
  }
  return nullptr;
}

QString TwoDigits(int qian) { return QStringLiteral("%1").arg(qian, 2, 10, QLatin1Char('0')); }

// A leap month weighs as its ordinary month: 闰二 as 二月, 闰冬 as 冬月.
QString MonthForWeight(const QString& month) {
  if (month.startsWith(u'闰')) return month.mid(1) + QStringLiteral("月");
  return month;
}

}  // namespace

LunarBirth LunarBirthOf(const DateTime& birthday) {
  const QString cyclic = CyclicYearName(ZodiacYear(birthday));
  LunarBirth lunar;
  lunar.year = GbkMid(cyclic, 1, 4) + QStringLiteral("年");
  lunar.animal = GbkMid(cyclic, 5, 2);
  const QString date = LunarDateText(birthday.date);
  if (date.isEmpty()) {
    throw Error(QStringLiteral("出生日期%1超出农历可推算的范围（1901年至2050年）")
                    .arg(DateToStr(birthday.date)));
  }
  lunar.month = GbkMid(date, 1, 4);
  lunar.day = GbkMid(date, 5, 4);
  return lunar;
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

  const BoneWeight* year = FindWeight(YearWeights, lunar.year, QStringLiteral("年"));
  if (year == nullptr) {
    throw Error(QStringLiteral("无法称骨：“%1”不是六十甲子中的年份。").arg(lunar.year));
  }
  r.year_weight = TwoDigits(year->qian);
  r.hour_weight = TwoDigits(HourWeights[hour].qian);
  const BoneWeight* month = FindWeight(MonthWeights, MonthForWeight(lunar.month));
  if (month == nullptr) {
    throw Error(QStringLiteral("无法称骨：“%1”不是农历月份。").arg(lunar.month));
  }
  r.month_weight = TwoDigits(month->qian);
  const BoneWeight* day = FindWeight(DayWeights, lunar.day);
  if (day == nullptr) {
    throw Error(QStringLiteral("无法称骨：“%1”不是农历日子。").arg(lunar.day));
  }
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
      store.LookupField(Statement{Table::Animal, lunar.animal}, text_column);
  const QString day_text = store.LookupField(Statement{Table::LunarDay, lunar.day}, text_column);
  const QString hour_text = store.LookupField(Statement{Table::Hour, r.hour}, text_column);
  const QString month_text =
      store.LookupField(Statement{Table::LunarMonth, lunar.month}, text_column);

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
