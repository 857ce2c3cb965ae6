#include <gtest/gtest.h>

#include <QDate>
#include <QTime>

#include "core/errors.h"
#include "readings/models.h"
#include "readings/readings.h"

namespace tessaly {
namespace {

MainInputs BornOn(QDate date, QTime time = QTime(0, 0)) {
  MainInputs in;
  in.DateTimePicker1 = DateTime{date, time};
  return in;
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

ResultPanel FixturePanel() {
  ResultPanel p;
  p.FlatMemo10 = kStars;
  p.FlatMemo11 = kAnimals;
  return p;
}

TEST(StarForecast, CopiesTheBlockUnchangedAfterTheHeading) {
  ResultPanel panel = FixturePanel();
  FlatButton13Click(BornOn(QDate(2005, 4, 1)), panel);
  EXPECT_EQ(panel.Label51, QStringLiteral("白羊座"));
  const QStringList expected = {
      QString(),
      QStringLiteral("    【※今年星座运程】"),
      QString(),
      QStringLiteral("    你是白羊座。"),
      QString(),
      QStringLiteral("    整体运势：★★★☆"),
      QString(),
      QStringLiteral("　　白羊座的你今年冲劲十足。"),
      QStringLiteral("　　情感生活"),
  };
  EXPECT_EQ(panel.FlatMemo6, expected);
}

TEST(ZodiacForecast, IndentsEveryBlockLineByFourSpaces) {
  ResultPanel panel = FixturePanel();
  FlatButton15Click(BornOn(QDate(2005, 2, 9)), panel);
  EXPECT_EQ(panel.Label48, QStringLiteral("鸡"));
  const QStringList expected = {
      QString(),
      QStringLiteral("    【※今年属相运程】"),
      QString(),
      QStringLiteral("    你属相是鸡。"),
      QStringLiteral("    心情不定"),
      QStringLiteral("    "),
      QStringLiteral("    生肖性格："),
      QStringLiteral("    　　属鸡的人做事认真。"),
  };
  EXPECT_EQ(panel.FlatMemo6, expected);
}

struct MissingBlockCase {
  const char* name;
  QDate birthday;
  bool zodiac;
  const char* last_line;
};

class MissingBlockTest : public ::testing::TestWithParam<MissingBlockCase> {};

// Without a usable block the section is the heading lines and the sign line.
TEST_P(MissingBlockTest, GivesOnlyTheHeadingLines) {
  const MissingBlockCase& c = GetParam();
  ResultPanel panel = FixturePanel();
  panel.FlatMemo6 = {QStringLiteral("上一次的内容")};
  if (c.zodiac) {
    FlatButton15Click(BornOn(c.birthday), panel);
  } else {
    FlatButton13Click(BornOn(c.birthday), panel);
  }
  ASSERT_EQ(panel.FlatMemo6.size(), 4) << panel.FlatMemo6.join(u'|').toStdString();
  EXPECT_EQ(panel.FlatMemo6[0], QString());
  EXPECT_EQ(panel.FlatMemo6[2], QString());
  EXPECT_EQ(panel.FlatMemo6[3], QString::fromUtf8(c.last_line));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingBlockTest,
    ::testing::Values(
        MissingBlockCase{"StarWithoutBlock", QDate(2005, 6, 1), false, "    你是双子座。"},
        MissingBlockCase{"StarEmptyBlock", QDate(2005, 5, 1), false, "    你是金牛座。"},
        MissingBlockCase{"AnimalWithoutBlock", QDate(2006, 6, 1), true, "    你属相是狗。"},
        MissingBlockCase{"AnimalClosingBeforeOpening", QDate(2004, 6, 1), true,
                         "    你属相是猴。"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Forecasts, ZodiacAfterStarLeavesOnlyTheZodiacSection) {
  ResultPanel panel = FixturePanel();
  const MainInputs in = BornOn(QDate(2005, 3, 25));
  FlatButton13Click(in, panel);
  ASSERT_EQ(panel.FlatMemo6.value(1), QStringLiteral("    【※今年星座运程】"));
  FlatButton15Click(in, panel);
  EXPECT_EQ(panel.FlatMemo6.size(), 8);
  EXPECT_EQ(panel.FlatMemo6.value(1), QStringLiteral("    【※今年属相运程】"));
  EXPECT_FALSE(panel.FlatMemo6.join(u'|').contains(QStringLiteral("星座")));
  // Each reading notes its own sign only.
  EXPECT_EQ(panel.Label51, QStringLiteral("白羊座"));
  EXPECT_EQ(panel.Label48, QStringLiteral("鸡"));
}

struct AnimalCase {
  QDate date;
  QTime time;
  const char* animal;
};

class ZodiacAnimalTest : public ::testing::TestWithParam<AnimalCase> {};

TEST_P(ZodiacAnimalTest, FollowsTheLunarNewYear) {
  const AnimalCase& c = GetParam();
  ResultPanel panel = FixturePanel();
  FlatButton15Click(BornOn(c.date, c.time), panel);
  EXPECT_EQ(panel.Label48, QString::fromUtf8(c.animal)) << c.date.toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, ZodiacAnimalTest,
                         ::testing::Values(AnimalCase{QDate(2005, 2, 8), QTime(23, 59), "猴"},
                                           AnimalCase{QDate(2005, 2, 9), QTime(0, 0), "鸡"},
                                           AnimalCase{QDate(2005, 2, 9), QTime(15, 30), "鸡"},
                                           AnimalCase{QDate(1914, 1, 25), QTime(0, 0), "牛"},
                                           AnimalCase{QDate(1914, 1, 26), QTime(0, 0), "虎"},
                                           AnimalCase{QDate(2023, 1, 21), QTime(0, 0), "虎"},
                                           AnimalCase{QDate(2023, 1, 22), QTime(0, 0), "兔"},
                                           AnimalCase{QDate(1900, 1, 30), QTime(0, 0), "猪"}));

// A birthday without a lunar New Year date stops the reading before it writes.
TEST(ZodiacForecast, BirthdayOutsideTheTableStopsBeforeWriting) {
  ResultPanel panel = FixturePanel();
  panel.FlatMemo6 = {QStringLiteral("上一次的内容")};
  EXPECT_THROW(FlatButton15Click(BornOn(QDate(1899, 12, 31)), panel), Error);
  EXPECT_EQ(panel.FlatMemo6, QStringList{QStringLiteral("上一次的内容")});
  EXPECT_EQ(panel.Label48, ResultPanel().Label48);
}

// Every sign and animal finds its block in the shipped texts.
TEST(Forecasts, ShippedTextsHaveABlockForEverySignAndAnimal) {
  ResultPanel panel = ResultPanel::WithTexts();
  QStringList signs;
  for (int month = 1; month <= 12; ++month) {
    FlatButton13Click(BornOn(QDate(2005, month, 10)), panel);
    signs << panel.Label51;
    EXPECT_GE(panel.FlatMemo6.size(), 4 + 37) << panel.Label51.toStdString();
    EXPECT_LE(panel.FlatMemo6.size(), 4 + 39) << panel.Label51.toStdString();
    EXPECT_TRUE(panel.FlatMemo6.value(5).startsWith(QStringLiteral("    整体运势：★")));
  }
  signs.removeDuplicates();
  EXPECT_EQ(signs.size(), 12);

  QStringList animals;
  for (int year = 2000; year < 2012; ++year) {
    FlatButton15Click(BornOn(QDate(year, 6, 1)), panel);
    animals << panel.Label48;
    EXPECT_GE(panel.FlatMemo6.size(), 4 + 59) << panel.Label48.toStdString();
    EXPECT_LE(panel.FlatMemo6.size(), 4 + 64) << panel.Label48.toStdString();
    for (qsizetype i = 4; i < panel.FlatMemo6.size(); ++i) {
      EXPECT_TRUE(panel.FlatMemo6[i].startsWith(QStringLiteral("    "))) << i;
    }
  }
  animals.removeDuplicates();
  EXPECT_EQ(animals.size(), 12);
}

}  // namespace
}  // namespace tessaly
