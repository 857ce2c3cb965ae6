// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDate>
#include <QTime>

#include "core/errors.h"
#include "readings/readings.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

Person BornOn(QDate date, QTime time = QTime(0, 0)) {
  Person person;
  person.birthday = DateTime{date, time};
  return person;
}

// A small star-sign text: 白羊座 with a rating, a paragraph and a heading,
// 金牛座 with an empty block, and no block for the other signs.
const QStringList kStars = {
    QStringLiteral("白羊座"),
    QString(),
    QStringLiteral("    整体运势：★★★☆"),
    QString(),
    QStringLiteral("　　白羊座的你今年冲劲十足。"),
    QStringLiteral("　　情感生活"),
    QStringLiteral("白羊座。"),
    QString(),
    QStringLiteral("金牛座"),
    QStringLiteral("金牛座。"),
};

// A small zodiac text: 鸡 with motto, heading and paragraph, 猴 broken (its
// closing line stands before its opening line).
const QStringList kAnimals = {
    QStringLiteral("鸡"),
    QStringLiteral("心情不定"),
    QString(),
    QStringLiteral("生肖性格："),
    QStringLiteral("　　属鸡的人做事认真。"),
    QStringLiteral("鸡。"),
    QString(),
    QStringLiteral("猴。"),
    QStringLiteral("猴"),
};

TEST(StarForecast, CopiesTheBlockUnchangedAfterTheHeading) {
  const ForecastResult r = ReadStarForecast(BornOn(QDate(2005, 4, 1)), kStars);
  EXPECT_EQ(r.key, QStringLiteral("白羊座"));
  const QStringList expected = {
      QString(),
      QStringLiteral("    你是白羊座。"),
      QString(),
      QStringLiteral("    整体运势：★★★☆"),
      QString(),
      QStringLiteral("　　白羊座的你今年冲劲十足。"),
      QStringLiteral("　　情感生活"),
  };
  EXPECT_EQ(r.section, expected);
}

TEST(ZodiacForecast, IndentsEveryBlockLineByFourSpaces) {
  const ForecastResult r = ReadZodiacForecast(BornOn(QDate(2005, 2, 9)), kAnimals);
  EXPECT_EQ(r.key, QStringLiteral("鸡"));
  const QStringList expected = {
      QString(),
      QStringLiteral("    你属相是鸡。"),
      QStringLiteral("    心情不定"),
      QStringLiteral("    "),
      QStringLiteral("    生肖性格："),
      QStringLiteral("    　　属鸡的人做事认真。"),
  };
  EXPECT_EQ(r.section, expected);
}

struct MissingBlockCase {
  const char* name;
  QDate birthday;
  bool zodiac;
  const char* last_line;
};

class MissingBlockTest : public ::testing::TestWithParam<MissingBlockCase> {};

// Without a usable block the section is an empty line and the sign line.
TEST_P(MissingBlockTest, GivesOnlyTheSignLine) {
  const MissingBlockCase& c = GetParam();
  const ForecastResult r = c.zodiac ? ReadZodiacForecast(BornOn(c.birthday), kAnimals)
                                    : ReadStarForecast(BornOn(c.birthday), kStars);
  ASSERT_EQ(r.section.size(), 2) << r.section.join(u'|').toStdString();
  EXPECT_EQ(r.section[0], QString());
  EXPECT_EQ(r.section[1], QString::fromUtf8(c.last_line));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingBlockTest,
    ::testing::Values(
        MissingBlockCase{"StarWithoutBlock", QDate(2005, 6, 1), false, "    你是双子座。"},
        MissingBlockCase{"StarEmptyBlock", QDate(2005, 5, 1), false, "    你是金牛座。"},
        MissingBlockCase{"AnimalWithoutBlock", QDate(2006, 6, 1), true, "    你属相是狗。"},
        MissingBlockCase{"AnimalClosingBeforeOpening", QDate(2004, 6, 1), true,
                         "    你属相是猴。"}),
    test::RowName());

struct AnimalCase {
  const char* name;  // the animal and the birthday
  QDate date;
  QTime time;
  const char* animal;
};

class ZodiacAnimalTest : public ::testing::TestWithParam<AnimalCase> {};

TEST_P(ZodiacAnimalTest, FollowsTheLunarNewYear) {
  const AnimalCase& c = GetParam();
  EXPECT_EQ(ReadZodiacForecast(BornOn(c.date, c.time), kAnimals).key, QString::fromUtf8(c.animal))
      << c.date.toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZodiacAnimalTest,
    ::testing::Values(AnimalCase{"Monkey_20050208_2359", QDate(2005, 2, 8), QTime(23, 59), "猴"},
                      AnimalCase{"Rooster_20050209_0000", QDate(2005, 2, 9), QTime(0, 0), "鸡"},
                      AnimalCase{"Rooster_20050209_1530", QDate(2005, 2, 9), QTime(15, 30), "鸡"},
                      AnimalCase{"Ox_19140125", QDate(1914, 1, 25), QTime(0, 0), "牛"},
                      AnimalCase{"Tiger_19140126", QDate(1914, 1, 26), QTime(0, 0), "虎"},
                      AnimalCase{"Tiger_20230121", QDate(2023, 1, 21), QTime(0, 0), "虎"},
                      AnimalCase{"Rabbit_20230122", QDate(2023, 1, 22), QTime(0, 0), "兔"},
                      AnimalCase{"Pig_19000130", QDate(1900, 1, 30), QTime(0, 0), "猪"}),
    test::RowName());

// A birthday without a lunar New Year date stops the reading.
TEST(ZodiacForecast, BirthdayOutsideTheTableIsAnError) {
  EXPECT_THROW(ReadZodiacForecast(BornOn(QDate(1899, 12, 31)), kAnimals), Error);
}

// Every sign and animal finds its block in the shipped texts.
TEST(Forecasts, ShippedTextsHaveABlockForEverySignAndAnimal) {
  QStringList signs;
  for (int month = 1; month <= 12; ++month) {
    const ForecastResult r = ReadStarForecast(BornOn(QDate(2005, month, 10)));
    signs << r.key;
    EXPECT_GE(r.section.size(), 2 + 37) << r.key.toStdString();
    EXPECT_LE(r.section.size(), 2 + 39) << r.key.toStdString();
    EXPECT_TRUE(r.section.value(3).startsWith(QStringLiteral("    整体运势：★")));
  }
  signs.removeDuplicates();
  EXPECT_EQ(signs.size(), 12);

  QStringList animals;
  for (int year = 2000; year < 2012; ++year) {
    const ForecastResult r = ReadZodiacForecast(BornOn(QDate(year, 6, 1)));
    animals << r.key;
    EXPECT_GE(r.section.size(), 2 + 59) << r.key.toStdString();
    EXPECT_LE(r.section.size(), 2 + 64) << r.key.toStdString();
    for (qsizetype i = 2; i < r.section.size(); ++i) {
      EXPECT_TRUE(r.section[i].startsWith(QStringLiteral("    "))) << i;
    }
  }
  animals.removeDuplicates();
  EXPECT_EQ(animals.size(), 12);
}

}  // namespace
}  // namespace tessaly
