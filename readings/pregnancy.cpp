// SPDX-License-Identifier: GPL-3.0-or-later
// The two pregnancy readings: the unborn child's sex from the mother's nominal
// age and the month of pregnancy, and the months in which to conceive the
// wished-for boy or girl. Both give one sentence.
//
// The boxes are editable, so typed values are checked: a key text that is no
// integer raises the usual conversion error, an age or month outside the charts
// an error naming the allowed range.

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <optional>

#include "core/dates.h"
#include "core/errors.h"
#include "readings/readings.h"

namespace tessaly {

namespace {

#include "readings/pregnancy_tables.inc"

constexpr char16_t kGirlSentence[] =
    u"根据你提供的〖母亲年龄〗及〖怀孕时间〗推算，腹中的胎儿性别应该是女孩！";
constexpr char16_t kBoySentence[] =
    u"根据你提供的〖母亲年龄〗及〖怀孕时间〗推算，腹中的胎儿性别应该是男孩！";

constexpr int kMinAge = 18;
constexpr int kMaxAge = 44;

// The integer in a box, or nothing when the box holds none (an empty box too).
std::optional<int> BoxInteger(const QString& text) {
  try {
    return StrToInt(text);
  } catch (const ConvertError&) {
    return std::nullopt;
  }
}

int CheckedAge(const QString& text) {
  const std::optional<int> age = BoxInteger(text);
  if (!age || *age < kMinAge || *age > kMaxAge) {
    throw Error(QStringLiteral("母亲年龄应在18至44岁（虚岁）之间，请重新选择。"));
  }
  return *age;
}

int CheckedMonth(const QString& text) {
  const std::optional<int> month = BoxInteger(text);
  if (!month || *month < 1 || *month > 12) {
    throw Error(QStringLiteral("怀孕月份应在1至12月之间，请重新选择。"));
  }
  return *month;
}

// Reads the key text as an integer. When it is none, the error quotes the typed
// box that spoiled it, as typed: the first box that is no integer on its own,
// else the first non-empty box that is not a bare run of digits (a blank or a
// sign breaks the joined text), else the whole key text.
void CheckKeyText(const QString& key, std::initializer_list<QString> typed) {
  try {
    StrToInt(key);
  } catch (const ConvertError&) {
    for (const QString& box : typed) {
      if (!box.isEmpty() && !BoxInteger(box)) throw ConvertError(InvalidIntegerMessage(box));
    }
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    for (const QString& box : typed) {
      if (!box.isEmpty() && !std::all_of(box.begin(), box.end(), digit)) {
        throw ConvertError(InvalidIntegerMessage(box));
      }
    }
    throw;
  }
}

constexpr bool IsGirlKey(int key) {
  return std::find(std::begin(FetalSexChart), std::end(FetalSexChart), key) !=
         std::end(FetalSexChart);
}

// The months in which to conceive are read off the sex chart: those in which a
// mother of the age conceives the wished-for sex. The folk table they come from
// has month 7 at ages 42 and 43 the other way round, and so has this one.
constexpr bool SwappedForConception(int month, int age) {
  return month == 7 && (age == 42 || age == 43);
}

// Bit m - 1 set: month m gives the wish (0 boy, 1 girl) at the age.
constexpr std::uint16_t ConceptionMonths(int age, int wish) {
  std::uint16_t months = 0;
  for (int m = 1; m <= 12; ++m) {
    const bool girl = IsGirlKey(m * 100 + age) != SwappedForConception(m, age);
    if (girl == (wish == 1)) months |= static_cast<std::uint16_t>(1u << (m - 1));
  }
  return months;
}

struct ConceptionTable {
  std::uint16_t months[kMaxAge - kMinAge + 1][2] = {};
  constexpr ConceptionTable() {
    for (int age = kMinAge; age <= kMaxAge; ++age) {
      for (int wish = 0; wish < 2; ++wish)
        months[age - kMinAge][wish] = ConceptionMonths(age, wish);
    }
  }
};
constexpr ConceptionTable kConception;

// 18, a boy: every month but 1 and 3; 42, a girl: 1, 3, 5, 7, 10, 12.
static_assert(kConception.months[0][0] == 0b1111'1111'1010);
static_assert(kConception.months[42 - kMinAge][1] == 0b1010'0101'0101);

// "2、4、5" for months 2, 4, 5.
QString MonthList(std::uint16_t months) {
  QStringList list;
  for (int m = 1; m <= 12; ++m) {
    if (months & (1u << (m - 1))) list << QString::number(m);
  }
  return list.join(u'、');
}

}  // namespace

PregnancyResult PredictChildSex(const Person& person) {
  // Month first, then age: "01" and "18" form 0118, key 118.
  CheckKeyText(person.pregnancy_month + person.mother_age,
               {person.pregnancy_month, person.mother_age});
  const int age = CheckedAge(person.mother_age);
  const int month = CheckedMonth(person.pregnancy_month);

  return {QString::fromUtf16(IsGirlKey(month * 100 + age) ? kGirlSentence : kBoySentence)};
}

PregnancyResult ChooseConceptionMonths(const Person& person) {
  // Age, then the wish's index: "18" and 女孩 form 181; no wish selected
  // appends "-1" and fails as a text that is no integer.
  CheckKeyText(person.conception_age + QString::number(person.wish_index), {person.conception_age});
  const int age = CheckedAge(person.conception_age);
  const int wish = person.wish_index;
  if (wish != 0 && wish != 1) throw Error(QStringLiteral("请选择母亲愿望：男孩或女孩。"));

  // This year at the age, next year at the age after it, while the chart goes on.
  QString sentence = QStringLiteral("今年") + MonthList(kConception.months[age - kMinAge][wish]) +
                     QStringLiteral("月份");
  if (age < kMaxAge) {
    sentence += QStringLiteral("或者明年") +
                MonthList(kConception.months[age + 1 - kMinAge][wish]) + QStringLiteral("月份");
  }
  return {sentence + QStringLiteral("。")};
}

}  // namespace tessaly
