// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QSet>

#include "readings/readings.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

const QString kInputError = QStringLiteral("手机号码输入错误，测算失败！");

struct Outcome {
  QString verdict;
  QStringList messages;
};

Outcome Read(const QString& number) {
  Person person;
  person.mobile = number;
  Outcome out;
  out.verdict = ReadMobile(person, [&](const QString& m) { out.messages << m; }).verdict;
  return out;
}

struct MobileCase {
  const char* name;
  const char* number;
  const char* verdict;  // empty: none, and the input-error message shown
};

class MobileTest : public ::testing::TestWithParam<MobileCase> {};

TEST_P(MobileTest, ReadsTheLastFourDigits) {
  const MobileCase& c = GetParam();
  const Outcome out = Read(QString::fromUtf8(c.number));
  EXPECT_EQ(out.verdict, QString::fromUtf8(c.verdict));
  if (*c.verdict) {
    EXPECT_TRUE(out.messages.isEmpty());
  } else {
    EXPECT_EQ(out.messages, QStringList{kInputError});
  }
}

const char kVerdict1[] = "大展鸿图，可获成功　吉";
const char kVerdict34[] = "灾难不绝，难望成功　凶";
const char kVerdict79[] = "前途无光，希望不大　凶";
const char kVerdict80[] = "得而复失，枉费心机　吉带凶";

INSTANTIATE_TEST_SUITE_P(
    Cases, MobileTest,
    ::testing::Values(MobileCase{"Ending1234", "13900001234", kVerdict34},
                      MobileCase{"Ending9999", "13900009999", kVerdict79},
                      MobileCase{"Ending0001", "13900000001", kVerdict1},
                      MobileCase{"Ending0081", "13900000081", kVerdict1},
                      MobileCase{"Ending0080", "13900000080", kVerdict80},
                      MobileCase{"Ending0160", "13900000160", kVerdict80},
                      MobileCase{"Ending0000", "13900000000", kVerdict80},
                      MobileCase{"Ending9920", "13900009920", kVerdict80},
                      MobileCase{"SevenCharacters", "1231234", kVerdict34},
                      MobileCase{"LongNumber", "0086139000012341234", kVerdict34},
                      MobileCase{"SixCharacters", "131234", ""}, MobileCase{"Empty", "", ""},
                      MobileCase{"Letters", "abcdefghijk", ""},
                      MobileCase{"PastedLetterAtEnd", "1390000123a", ""},
                      MobileCase{"PastedLetterInFront", "x13900001234", ""},
                      MobileCase{"PastedBlanks", "139 0000 1234", ""},
                      MobileCase{"TrailingBlank", "13900001234 ", ""},
                      MobileCase{"Dashes", "139-0000-1234", ""},
                      MobileCase{"Sign", "-13900001234", ""}, MobileCase{"Exponent", "1.39e10", ""},
                      MobileCase{"FullWidthDigits", "１３９００００１２３４", ""}),
    test::RowName());

TEST(Mobile, WithoutMessageSinkTheMessageIsDropped) {
  Person person;
  person.mobile = QStringLiteral("13900001234");
  ASSERT_FALSE(ReadMobile(person, {}).verdict.isEmpty());
  person.mobile = QStringLiteral("139");
  EXPECT_TRUE(ReadMobile(person, {}).verdict.isEmpty());
}

// Every four-digit ending has a verdict, the same one every 80 values, and the
// 81st verdict of the list is never chosen.
TEST(Mobile, EveryEndingHasAVerdictRepeatingEvery80) {
  QSet<QString> seen;
  QString cycle[80];
  for (int k = 0; k <= 9999; ++k) {
    const QString number = QStringLiteral("139") + QString::number(k).rightJustified(8, u'0');
    const Outcome out = Read(number);
    ASSERT_FALSE(out.verdict.isEmpty()) << k;
    ASSERT_TRUE(out.messages.isEmpty()) << k;
    QString& first = cycle[k % 80];
    if (first.isEmpty()) first = out.verdict;
    ASSERT_EQ(out.verdict, first) << k;
    seen.insert(out.verdict);
  }
  EXPECT_FALSE(seen.contains(QStringLiteral("最极之数，能得成功　吉")));
}

}  // namespace
}  // namespace tessaly
