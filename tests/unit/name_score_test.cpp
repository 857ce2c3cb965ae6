// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "readings/name_score.h"
#include "readings/readings.h"
#include "store/reference_store.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

QString S(const char* s) { return QString::fromUtf8(s); }

ReferenceStore& BuiltStore() {
  static ReferenceStore* store = [] {
    auto* s = new ReferenceStore;
    s->Open(test::BuiltStorePath());
    return s;
  }();
  return *store;
}

const NameTables& Tables() {
  static const NameTables tables = NameTables::Load(BuiltStore());
  return tables;
}

// Worked by hand from the shipped stroke counts and texts.
struct ScoreRow {
  const char* label;
  const char* name;
  SurnameKind kind;
  const char* grids;  // 总 天 人 地 外, "-" where empty
  const char* talents;
  const char* ratings;  // of 总 人 地 外 三才, "-" where none
  int score;
};

const ScoreRow kRows[] = {
    // 张 11 小 3 明 8: the report's worked case.
    {"single_two", "张小明", SurnameKind::Single, "22 12 14 11 9", "木火木", "凶 凶 大吉 凶 大吉",
     55},
    // 李 7 白 5: 外格 is 2 for a one-character given name.
    {"single_one", "李白", SurnameKind::Single, "12 8 12 6 2", "金木土", "凶 凶 吉 凶 大凶", 30},
    // 林 8 欣 8 怡 9 然 12.
    {"single_three", "林欣怡然", SurnameKind::Single, "37 9 16 29 13", "水土水", "吉 大吉 吉 吉 凶",
     72},
    // 欧 15 阳 17 雨 8 辰 7.
    {"compound_two", "欧阳雨辰", SurnameKind::Compound, "47 32 25 15 22", "木土土",
     "吉 吉 大吉 凶 凶", 64},
    // 司 5 马 10 光 6.
    {"compound_one", "司马光", SurnameKind::Compound, "21 15 16 7 2", "土土金",
     "大吉 大吉 吉 凶 吉", 81},
    // 龘 48: a total of 96 reads as 15, and so does a 人格 of 96 for its rating.
    {"total_above_81", "龘龘", SurnameKind::Single, "15 49 96 49 2", "水土水",
     "大吉 大吉 半吉 凶 凶", 66},
    {"compound_total_above_81", "龘龘龘", SurnameKind::Compound, "63 96 96 49 2", "土土水",
     "吉 大吉 半吉 凶 中吉", 66},
    // 김 has no stroke count: every grid that needs it is empty and rates nothing.
    {"missing_strokes", "张김", SurnameKind::Single, "- 12 - - 2", "木", "- - - 凶 -", 3},
    // 𠮷, beyond the BMP, has its count (6).
    {"beyond_the_bmp", "张𠮷", SurnameKind::Single, "17 12 17 7 2", "木金金", "吉 吉 吉 凶 中吉",
     64},
};

QString GridText(int grid) {
  return grid == kNoValue ? QStringLiteral("-") : QString::number(grid);
}
QString RatingWord(Rating r) { return r == Rating::kNone ? QStringLiteral("-") : RatingText(r); }

// Test names and failure reports show a row by its label.
void PrintTo(const ScoreRow& row, std::ostream* os) { *os << row.label; }

class NameScoreRows : public ::testing::TestWithParam<ScoreRow> {};

TEST_P(NameScoreRows, MatchTheWorkedCaseAndTheNameReading) {
  const ScoreRow& row = GetParam();
  const NameScore s = Tables().ScoreName({S(row.name)}, row.kind);
  const NameGrids& g = s.grids;
  EXPECT_EQ(QStringList({GridText(g.total), GridText(g.heaven), GridText(g.person),
                         GridText(g.earth), GridText(g.outer)})
                .join(u' '),
            S(row.grids));
  EXPECT_EQ(g.TalentsText(), S(row.talents));
  EXPECT_EQ(QStringList({RatingWord(s.total), RatingWord(s.person), RatingWord(s.earth),
                         RatingWord(s.outer), RatingWord(s.talents)})
                .join(u' '),
            S(row.ratings));
  EXPECT_EQ(s.score, row.score);

  // The name reading, asking the store, shows the same grids.
  Person person;
  person.name = S(row.name);
  person.surname_kind = row.kind;
  const NameResult r = ReadName(person, BuiltStore(), {});
  const auto shown = [](const std::optional<int>& grid) {
    return grid ? QString::number(*grid) : QStringLiteral("-");
  };
  EXPECT_EQ(QStringList(
                {shown(r.total), shown(r.heaven), shown(r.person), shown(r.earth), shown(r.outer)})
                .join(u' '),
            S(row.grids));
  EXPECT_EQ(r.talents, S(row.talents));
  // and the ratings and score the names command and the JSON report give.
  EXPECT_EQ(std::tuple(r.total_rating, r.person_rating, r.earth_rating, r.outer_rating,
                       r.talents_rating, r.score),
            std::tuple(s.total, s.person, s.earth, s.outer, s.talents, s.score));
}

INSTANTIATE_TEST_SUITE_P(Worked, NameScoreRows, ::testing::ValuesIn(kRows),
                         [](const auto& i) { return std::string(i.param.label); });

TEST(NameTables, EveryShippedEntryHasARating) {
  const NameTables& t = Tables();
  for (int n = 1; n <= 81; ++n) EXPECT_NE(t.NumberRatings()[n], Rating::kNone) << "八十一划 " << n;
  for (int i = 0; i < 125; ++i) EXPECT_NE(t.TalentsRatings()[i], Rating::kNone) << "三才 " << i;
  EXPECT_GT(t.StrokeCount(), 20000);
}

TEST(NameTables, ShippedCharacterListIsScorable) {
  const QStringList chars = DefaultCharacterList();
  EXPECT_GE(chars.size(), 950);
  EXPECT_LE(chars.size(), 1100);
  for (const QString& ch : chars) {
    EXPECT_NE(Tables().Strokes(ch.toUcs4().value(0)), kNoValue) << ch.toStdString();
  }
}

TEST(RatingOfText, TakesTheFirstWordOnly) {
  const std::pair<const char*, Rating> cases[] = {
      {"大吉：太极之数", Rating::kGreatGood},
      {"  <b>吉</b>：判语", Rating::kGood},
      {"半吉：", Rating::kHalfGood},
      {"中吉", Rating::kMidGood},
      {"大凶：", Rating::kGreatBad},
      {"凶：", Rating::kBad},
      {"吉祥如意", Rating::kNone},
      {"数理的文字", Rating::kNone},
      {"<b", Rating::kNone},
      {"", Rating::kNone},
  };
  for (const auto& [text, rating] : cases) EXPECT_EQ(RatingOfText(S(text)), rating) << text;
}

}  // namespace
}  // namespace tessaly
