// SPDX-License-Identifier: GPL-3.0-or-later
// The two pregnancy readings: the unborn child's sex from the mother's nominal
// age and the month of pregnancy, and the months in which to conceive the
// wished-for boy or girl. Both give one sentence.
//
// The boxes are editable, so typed values are checked: a key text that is no
// integer raises the usual conversion error, an age or month outside the charts
// an error naming the allowed range.

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <optional>

#include "core/dates.h"
#include "core/errors.h"
#include "readings/readings.h"

namespace tessaly {

namespace {

struct ConceptionEntry {
  int key;
  const char16_t* sentence;
};

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

bool IsGirlKey(int key) {
  return std::find(std::begin(FetalSexChart), std::end(FetalSexChart), key) !=
         std::end(FetalSexChart);
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

  const int key = age * 10 + wish;
  const auto entry = std::find_if(std::begin(ConceptionMonthTable), std::end(ConceptionMonthTable),
                                  [key](const ConceptionEntry& e) { return e.key == key; });
  if (entry == std::end(ConceptionMonthTable)) return {};
  return {QString::fromUtf16(entry->sentence)};
}

}  // namespace tessaly
