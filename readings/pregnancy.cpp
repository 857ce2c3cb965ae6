// SPDX-License-Identifier: GPL-3.0-or-later
// The two pregnancy readings: the unborn child's sex from the mother's nominal
// age and the month of pregnancy, and the months in which to conceive the
// wished-for boy or girl. Both give one sentence.
//
// The boxes are editable, so typed values are checked: a box that holds no
// number in digits raises the usual conversion error quoting it as typed (the
// command line takes the same texts: IsNominalAge, IsPregnancyMonth), an age or
// month outside the charts an error naming the allowed range.

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

// The number a box holds in digits alone; nothing for any other text (an
// empty box, a blank, a sign). A number too long for the charts reads as 9999.
std::optional<int> BoxNumber(const QString& text) {
  if (text.isEmpty()) return std::nullopt;
  int n = 0;
  for (const QChar c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    n = std::min(n * 10 + (c.unicode() - u'0'), 9999);
  }
  return n;
}

bool InRange(const QString& text, int low, int high) {
  const std::optional<int> n = BoxNumber(text);
  return n && *n >= low && *n <= high;
}

// Refuses the first box that holds text but no number, quoting it as typed.
void CheckTyped(std::initializer_list<QString> boxes) {
  for (const QString& box : boxes) {
    if (!box.isEmpty() && !BoxNumber(box)) throw ConvertError(InvalidIntegerMessage(box));
  }
}

int CheckedAge(const QString& text) {
  if (!IsNominalAge(text)) {
    throw Error(QStringLiteral("母亲年龄应在18至44岁（虚岁）之间，请重新选择。"));
  }
  return *BoxNumber(text);
}

int CheckedMonth(const QString& text) {
  if (!IsPregnancyMonth(text)) throw Error(QStringLiteral("怀孕月份应在1至12月之间，请重新选择。"));
  return *BoxNumber(text);
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

bool IsNominalAge(const QString& text) { return InRange(text, kMinAge, kMaxAge); }

bool IsPregnancyMonth(const QString& text) { return InRange(text, 1, 12); }

PregnancyResult PredictChildSex(const Person& person) {
  CheckTyped({person.pregnancy_month, person.mother_age});
  // Both boxes empty: there is no number at all.
  if (person.pregnancy_month.isEmpty() && person.mother_age.isEmpty()) {
    throw ConvertError(InvalidIntegerMessage(QString()));
  }
  const int age = CheckedAge(person.mother_age);
  const int month = CheckedMonth(person.pregnancy_month);

  return {QString::fromUtf16(IsGirlKey(month * 100 + age) ? kGirlSentence : kBoySentence)};
}

PregnancyResult ChooseConceptionMonths(const Person& person) {
  CheckTyped({person.conception_age});
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
