// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

// A text the converters refuse.
struct BadText {
  const char* name;
  const char* text;
};

TEST(Dates, WritesIsoForm) {
  EXPECT_EQ(DateToStr(QDate(2004, 8, 1)), QStringLiteral("2004-08-01"));
  EXPECT_EQ(DateToStr(QDate(1901, 12, 31)), QStringLiteral("1901-12-31"));
}

struct DateText {
  const char* name;
  const char* text;
  QDate date;
};

class DateTexts : public testing::TestWithParam<DateText> {};

TEST_P(DateTexts, ReadWithAndWithoutLeadingZeros) {
  EXPECT_EQ(StrToDate(QString::fromUtf8(GetParam().text)), GetParam().date);
}

const DateText kDateTexts[] = {
    {"NoLeadingZeros", "2004-8-1", QDate(2004, 8, 1)},
    {"LeadingZeros", "2004-08-01", QDate(2004, 8, 1)},
    {"SurroundingSpaces", " 2004-08-01 ", QDate(2004, 8, 1)},
    {"Year1901", "1901-2-19", QDate(1901, 2, 19)},
    {"LeapDay", "2004-2-29", QDate(2004, 2, 29)},
    {"LastDayOfRange", "2050-12-31", QDate(2050, 12, 31)},
};
INSTANTIATE_TEST_SUITE_P(Valid, DateTexts, testing::ValuesIn(kDateTexts), test::RowName());

class BadDateTexts : public testing::TestWithParam<BadText> {};

TEST_P(BadDateTexts, RaiseTheDateError) {
  const char* bad = GetParam().text;
  try {
    StrToDate(QString::fromUtf8(bad));
    ADD_FAILURE() << "accepted " << bad;
  } catch (const ConvertError& e) {
    EXPECT_EQ(e.message(), QStringLiteral("'%1' 不是一个有效的日期").arg(QString::fromUtf8(bad)));
  }
}

const BadText kBadDates[] = {{"Empty", ""},
                             {"YearOnly", "2004"},
                             {"February30", "2004-2-30"},
                             {"February29InCommonYear", "2005-2-29"},
                             {"Month13", "2004-13-01"},
                             {"Month0", "2004-0-1"},
                             {"Slashes", "2004/08/01"},
                             {"LettersForYear", "abcd-1-1"},
                             {"TrailingLetter", "2004-08-01x"},
                             {"EmptyMonth", "2004--1"},
                             {"LeadingMinus", "-2004-1-1"},
                             {"YearZero", "0-1-1"},
                             {"FiveDigitYear", "20040-1-1"}};
INSTANTIATE_TEST_SUITE_P(Invalid, BadDateTexts, testing::ValuesIn(kBadDates), test::RowName());

TEST(Dates, EncodeDateNamesTheOffendingDate) {
  EXPECT_EQ(EncodeDate(2004, 2, 29), QDate(2004, 2, 29));
  try {
    EncodeDate(2004, 2, 31);
    ADD_FAILURE();
  } catch (const ConvertError& e) {
    EXPECT_EQ(e.message(), QStringLiteral("'2004-2-31' 不是一个有效的日期"));
  }
  EXPECT_THROW(EncodeDate(2005, 2, 29), ConvertError);
  EXPECT_THROW(EncodeDate(0, 1, 1), ConvertError);
}

TEST(Dates, DateTimeOrdersByDateThenTime) {
  const DateTime a{QDate(2005, 2, 9), QTime(0, 0)};
  const DateTime b{QDate(2005, 2, 9), QTime(13, 30)};
  const DateTime c{QDate(2005, 2, 8), QTime(23, 59)};
  EXPECT_LT(a, b);
  EXPECT_LT(c, a);
  EXPECT_EQ(a, DateTime::AtMidnight(QDate(2005, 2, 9)));
}

TEST(Dates, NowReadsTheClockInUseAndAFixedClockGivesItBack) {
  {
    const FixedClock clock(QDateTime(QDate(2004, 6, 8), QTime(23, 59, 59)));
    EXPECT_EQ(DateTime::Now(), (DateTime{QDate(2004, 6, 8), QTime(23, 59, 59)}));
  }
  EXPECT_NE(DateTime::Now().date, QDate(2004, 6, 8));
}

struct IntText {
  const char* name;
  const char* text;
  int value;
};

class IntegerTexts : public testing::TestWithParam<IntText> {};

TEST_P(IntegerTexts, ReadAsDecimal) {
  EXPECT_EQ(StrToInt(QString::fromUtf8(GetParam().text)), GetParam().value);
}

const IntText kIntegerTexts[] = {{"Zero", "0", 0},
                                 {"LeadingZero", "05", 5},
                                 {"TwoLeadingZeros", "0012", 12},
                                 {"Negative", "-3", -3},
                                 {"PlusSign", "+7", 7},
                                 {"SurroundingSpaces", " 42 ", 42},
                                 {"Largest", "2147483647", 2147483647},
                                 {"Smallest", "-2147483648", -2147483647 - 1}};
INSTANTIATE_TEST_SUITE_P(Valid, IntegerTexts, testing::ValuesIn(kIntegerTexts), test::RowName());

class BadIntegerTexts : public testing::TestWithParam<BadText> {};

TEST_P(BadIntegerTexts, RaiseTheIntegerError) {
  const char* bad = GetParam().text;
  try {
    StrToInt(QString::fromUtf8(bad));
    ADD_FAILURE() << "accepted " << bad;
  } catch (const ConvertError& e) {
    EXPECT_EQ(e.message(), QStringLiteral("'%1' 不是一个有效的整形值").arg(QString::fromUtf8(bad)));
  }
}

const BadText kBadIntegers[] = {{"Empty", ""},
                                {"Space", " "},
                                {"MinusOnly", "-"},
                                {"Fraction", "1.5"},
                                {"TrailingLetter", "12a"},
                                {"Hexadecimal", "0x10"},
                                {"AboveLargest", "2147483648"},
                                {"TwentyDigits", "99999999999999999999"},
                                {"ChineseNumeral", "一"}};
INSTANTIATE_TEST_SUITE_P(Invalid, BadIntegerTexts, testing::ValuesIn(kBadIntegers),
                         test::RowName());

}  // namespace
}  // namespace tessaly
