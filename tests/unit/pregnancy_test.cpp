// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/errors.h"
#include "readings/readings.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

const QString kGirl =
    QStringLiteral("根据你提供的〖母亲年龄〗及〖怀孕时间〗推算，腹中的胎儿性别应该是女孩！");
const QString kBoy =
    QStringLiteral("根据你提供的〖母亲年龄〗及〖怀孕时间〗推算，腹中的胎儿性别应该是男孩！");
const QString kAgeError = QStringLiteral("母亲年龄应在18至44岁（虚岁）之间，请重新选择。");
const QString kMonthError = QStringLiteral("怀孕月份应在1至12月之间，请重新选择。");

// The sentence of a run, or the message of the error it raised.
QString SexReading(const QString& month, const QString& age) {
  Person person;
  person.pregnancy_month = month;
  person.mother_age = age;
  try {
    return PredictChildSex(person).sentence;
  } catch (const Error& e) {
    return e.message();
  }
}

QString ConceptionReading(const QString& age, int wish) {
  Person person;
  person.conception_age = age;
  person.wish_index = wish;
  person.wish = wish == 1 ? QStringLiteral("女孩") : QStringLiteral("男孩");
  try {
    return ChooseConceptionMonths(person).sentence;
  } catch (const Error& e) {
    return e.message();
  }
}

bool IsGirl(int month, int age) {
  return SexReading(QString::number(month).rightJustified(2, u'0'), QString::number(age)) == kGirl;
}

TEST(Pregnancy, DefaultsOfTheBoxes) {
  const Person person;
  EXPECT_EQ(PredictChildSex(person).sentence, kGirl);
  EXPECT_EQ(
      ChooseConceptionMonths(person).sentence,
      QStringLiteral("今年2、4、5、6、7、8、9、10、11、12月份或者明年1、3、6、7、11、12月份。"));
}

struct SexCase {
  const char* name;
  const char* month;
  const char* age;
  QString expected;
};

class SexReadingTest : public ::testing::TestWithParam<SexCase> {};

TEST_P(SexReadingTest, Predicts) {
  const SexCase& c = GetParam();
  EXPECT_EQ(SexReading(QString::fromUtf8(c.month), QString::fromUtf8(c.age)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SexReadingTest,
    ::testing::Values(
        SexCase{"Age18Month01", "01", "18", kGirl}, SexCase{"Age18Month02", "02", "18", kBoy},
        SexCase{"Age18Month12", "12", "18", kBoy}, SexCase{"Age21Month01", "01", "21", kBoy},
        SexCase{"Age21Month02", "02", "21", kGirl}, SexCase{"Age31Month11", "11", "31", kBoy},
        SexCase{"Age31Month10", "10", "31", kGirl}, SexCase{"Age42Month07", "07", "42", kBoy},
        SexCase{"Age43Month07", "07", "43", kGirl}, SexCase{"Age44Month01", "01", "44", kBoy},
        SexCase{"Age44Month12", "12", "44", kGirl},
        SexCase{"MonthWithoutLeadingZero", "1", "18", kGirl},
        SexCase{"MonthWithLeadingZeros", "003", "18", kGirl},
        SexCase{"Age17", "01", "17", kAgeError}, SexCase{"Age45", "01", "45", kAgeError},
        SexCase{"Age118", "01", "118", kAgeError}, SexCase{"AgeEmpty", "01", "", kAgeError},
        SexCase{"Month0", "0", "18", kMonthError}, SexCase{"Month00", "00", "30", kMonthError},
        SexCase{"Month13", "13", "18", kMonthError}, SexCase{"MonthEmpty", "", "18", kMonthError},
        SexCase{"BothEmpty", "", "", QStringLiteral("'' 不是一个有效的整形值")},
        // A key text that is no integer: the message quotes the box as typed.
        SexCase{"MonthLetters", "ab", "18", QStringLiteral("'ab' 不是一个有效的整形值")},
        SexCase{"AgeChinese", "01", "十八", QStringLiteral("'十八' 不是一个有效的整形值")},
        SexCase{"MonthWithBlankBehind", "01 ", "18", QStringLiteral("'01 ' 不是一个有效的整形值")},
        SexCase{"AgeWithBlanks", "01", " 18 ", QStringLiteral("' 18 ' 不是一个有效的整形值")},
        // Digits alone: a sign is refused in either box, a long number is out of
        // the charts (never a joined text such as '012147483647').
        SexCase{"SignedMonthBeforeAge", "-1", "8x", QStringLiteral("'-1' 不是一个有效的整形值")},
        SexCase{"SignedAge", "01", "+18", QStringLiteral("'+18' 不是一个有效的整形值")},
        SexCase{"AgeTooBigForAnInteger", "01", "2147483647", kAgeError}),
    test::RowName());

struct ConceptionCase {
  const char* name;
  const char* age;
  int wish;
  QString expected;
};

class ConceptionReadingTest : public ::testing::TestWithParam<ConceptionCase> {};

TEST_P(ConceptionReadingTest, Advises) {
  const ConceptionCase& c = GetParam();
  EXPECT_EQ(ConceptionReading(QString::fromUtf8(c.age), c.wish), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConceptionReadingTest,
    ::testing::Values(
        ConceptionCase{"Age18Girl", "18", 1,
                       QStringLiteral("今年1、3月份或者明年2、4、5、8、9、10月份。")},
        ConceptionCase{"Age21Boy", "21", 0, QStringLiteral("今年1月份或者明年2、3、5、8月份。")},
        ConceptionCase{"Age31Boy", "31", 0,
                       QStringLiteral("今年1、3、11、12月份或者明年1、3、11、12月份。")},
        ConceptionCase{"Age42Girl", "42", 1,
                       QStringLiteral("今年1、3、5、7、10、12月份或者明年2、4、6、8月份。")},
        ConceptionCase{
            "Age43Boy", "43", 0,
            QStringLiteral("今年1、3、5、7、9、10、11、12月份或者明年1、2、4、5、6、8、10月份。")},
        ConceptionCase{"Age44Boy", "44", 0, QStringLiteral("今年1、2、4、5、6、8、10月份。")},
        ConceptionCase{"Age44Girl", "44", 1, QStringLiteral("今年3、7、9、11、12月份。")},
        ConceptionCase{
            "AgeWithLeadingZero", "018", 0,
            QStringLiteral(
                "今年2、4、5、6、7、8、9、10、11、12月份或者明年1、3、6、7、11、12月份。")},
        ConceptionCase{"Age17", "17", 0, kAgeError}, ConceptionCase{"Age45", "45", 1, kAgeError},
        ConceptionCase{"AgeEmpty", "", 0, kAgeError},
        ConceptionCase{"NoWish", "18", -1, QStringLiteral("请选择母亲愿望：男孩或女孩。")},
        ConceptionCase{"SignedAge", "+18", 0, QStringLiteral("'+18' 不是一个有效的整形值")},
        ConceptionCase{"AgeTooBigForAnInteger", "2147483647", 0, kAgeError},
        ConceptionCase{"AgeLetters", "abc", 0, QStringLiteral("'abc' 不是一个有效的整形值")}),
    test::RowName());

TEST(Pregnancy, ChartHas164GirlMonths) {
  int girls = 0;
  for (int age = 18; age <= 44; ++age) {
    for (int month = 1; month <= 12; ++month) girls += IsGirl(month, age);
  }
  EXPECT_EQ(girls, 164);
}

// The conception months, now read off the sex chart, are word for word the
// table that was kept by hand beside it (tests/data/conception_months.tsv).
TEST(Pregnancy, ConceptionMonthsEqualTheHandKeptTable) {
  const QStringList lines =
      QString::fromUtf8(
          test::ReadFile(test::SourceDir() + QStringLiteral("/tests/data/conception_months.tsv")))
          .split(u'\n', Qt::SkipEmptyParts);
  int rows = 0;
  for (const QString& line : lines) {
    if (line.startsWith(u'#')) continue;
    const QStringList fields = line.split(u'\t');
    ASSERT_EQ(fields.size(), 2) << line.toStdString();
    const int key = fields[0].toInt();
    EXPECT_EQ(ConceptionReading(QString::number(key / 10), key % 10), fields[1]) << key;
    ++rows;
  }
  EXPECT_EQ(rows, 2 * (44 - 18 + 1));
}

}  // namespace
}  // namespace tessaly
