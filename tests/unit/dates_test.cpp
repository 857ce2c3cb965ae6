#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"

namespace tessaly {
namespace {

TEST(Dates, WritesIsoForm) {
  EXPECT_EQ(DateToStr(QDate(2004, 8, 1)), QStringLiteral("2004-08-01"));
  EXPECT_EQ(DateToStr(QDate(1901, 12, 31)), QStringLiteral("1901-12-31"));
}

TEST(Dates, ReadsWithAndWithoutLeadingZeros) {
  const struct {
    const char* text;
    QDate date;
  } cases[] = {
      {"2004-8-1", QDate(2004, 8, 1)},     {"2004-08-01", QDate(2004, 8, 1)},
      {" 2004-08-01 ", QDate(2004, 8, 1)}, {"1901-2-19", QDate(1901, 2, 19)},
      {"2004-2-29", QDate(2004, 2, 29)},   {"2050-12-31", QDate(2050, 12, 31)},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToDate(QString::fromUtf8(c.text)), c.date) << c.text;
}

TEST(Dates, InvalidTextsRaiseTheDateError) {
  for (const char* bad : {"", "2004", "2004-2-30", "2005-2-29", "2004-13-01", "2004-0-1", "2004/08/01",
                          "abcd-1-1", "2004-08-01x", "2004--1", "-2004-1-1", "0-1-1", "20040-1-1"}) {
    try {
      StrToDate(QString::fromUtf8(bad));
      ADD_FAILURE() << "accepted " << bad;
    } catch (const ConvertError& e) {
      EXPECT_EQ(e.message(), QStringLiteral("'%1' 不是一个有效的日期").arg(QString::fromUtf8(bad)));
    }
  }
}

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

TEST(Integers, ReadsDecimalTexts) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"0", 0}, {"05", 5}, {"0012", 12}, {"-3", -3}, {"+7", 7}, {" 42 ", 42},
               {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
  for (const auto& c : cases) EXPECT_EQ(StrToInt(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(Integers, InvalidTextsRaiseTheIntegerError) {
  for (const char* bad : {"", " ", "-", "1.5", "12a", "0x10", "2147483648", "99999999999999999999", "一"}) {
    try {
      StrToInt(QString::fromUtf8(bad));
      ADD_FAILURE() << "accepted " << bad;
    } catch (const ConvertError& e) {
      EXPECT_EQ(e.message(), QStringLiteral("'%1' 不是一个有效的整形值").arg(QString::fromUtf8(bad)));
    }
  }
}

}  // namespace
}  // namespace tessaly
