// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <optional>

#include "core/errors.h"
#include "readings/readings.h"
#include "store/reference_store.h"
#include "tests/unit/reading_fixture.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

// Stroke counts of the fixture store: 乃 2, 文 王 4, 石 5, 安 6, 李 7, 林 8,
// 高 10, 梅 11, 陈 16, 骊 27, 骥 28, 鬣 36. (A count that is no number is refused
// when the store opens: see store_test.cpp.)
struct NameCase {
  const char* row;
  const char* name;
  bool single;
  const char* strokes[4];
  const char* heaven;
  const char* person;
  const char* earth;
  const char* outer;
  const char* total;
  const char* talents;
  const char* verdict;     // 三才吉凶 text, "" when none
  const char* total_text;  // 八十一划 text, "" when none
};

const NameCase kCases[] = {
    // The worked case: 16/11/4/4 with a single surname.
    {"WorkedCase",
     "陈梅文王",
     true,
     {"16", "11", "4", "4"},
     "17",
     "27",
     "19",
     "5",
     "35",
     "金金水",
     "<b>吉</b>：金金水的测试判语。",
     "数理三十五的测试文字。"},
    // Single surname, two, three and four characters.
    {"SingleTwo",
     "李林",
     true,
     {"7", "8", "", ""},
     "8",
     "15",
     "9",
     "2",
     "15",
     "金土水",
     "金土水的测试判语。",
     "数理十五的测试文字。"},
    {"SingleThree",
     "李林安",
     true,
     {"7", "8", "6", ""},
     "8",
     "15",
     "14",
     "7",
     "21",
     "金土火",
     "金土火的测试判语。",
     "数理二十一的测试文字。"},
    {"SingleFour",
     "李林安石",
     true,
     {"7", "8", "6", "5"},
     "8",
     "15",
     "19",
     "6",
     "26",
     "金土水",
     "金土水的测试判语。",
     "数理二十六的测试文字。"},
    // Compound surname: with two characters only heaven and total can be worked out.
    {"CompoundTwo",
     "李林",
     false,
     {"7", "8", "", ""},
     "15",
     "",
     "",
     "",
     "15",
     "土",
     "",
     "数理十五的测试文字。"},
    {"CompoundThree",
     "李林安",
     false,
     {"7", "8", "6", ""},
     "15",
     "14",
     "7",
     "2",
     "21",
     "土火金",
     "土火金的测试判语。",
     "数理二十一的测试文字。"},
    {"CompoundFour",
     "李林安石",
     false,
     {"7", "8", "6", "5"},
     "15",
     "14",
     "11",
     "12",
     "26",
     "土火木",
     "土火木的测试判语。",
     "数理二十六的测试文字。"},
    // Totals around 81: 81 stays, 82 counts as 1, 90 as 9.
    {"Total81",
     "骊骊骊",
     true,
     {"27", "27", "27", ""},
     "28",
     "54",
     "54",
     "28",
     "81",
     "金火火",
     "",
     "数理八十一的测试文字。"},
    {"Total82",
     "骊骊骥",
     true,
     {"27", "27", "28", ""},
     "28",
     "54",
     "55",
     "29",
     "1",
     "金火土",
     "",
     "数理一的测试文字。"},
    {"Total90",
     "鬣骊骊",
     true,
     {"36", "27", "27", ""},
     "37",
     "63",
     "54",
     "28",
     "9",
     "金火火",
     "",
     "数理九的测试文字。"},
    // A grid ending in 0 is water; a total without a text gives an empty line.
    {"GridEndingInZero",
     "高高",
     true,
     {"10", "10", "", ""},
     "11",
     "20",
     "11",
     "2",
     "20",
     "木水木",
     "",
     ""},
    // One character: heaven only.
    {"OneCharacter", "李", true, {"7", "", "", ""}, "8", "", "", "", "", "金", "", ""},
    // A character the store lacks: every grid that needs it is empty.
    {"MissingCharacter", "李甲林", true, {"7", "", "8", ""}, "8", "", "", "9", "", "金", "", ""},
    {"CorrectedName", "输入有误", true, {"", "", "", ""}, "", "", "", "", "", "", "", ""},
};

QString S(const char* s) { return QString::fromUtf8(s); }
// A grid or stroke count as the report line writes it: empty when absent.
QString Shown(const std::optional<int>& v) { return v ? QString::number(*v) : QString(); }

class NameAnalysis : public ::testing::Test {
 protected:
  void SetUp() override { store_.Open(test::ReadingFixtureStore()); }

  NameResult Run(const NameCase& c) {
    Person person;
    person.name = S(c.name);
    person.surname_kind = c.single ? SurnameKind::Single : SurnameKind::Compound;
    return ReadName(person, store_);
  }

  static NameResult Named(const char* name, ReferenceStore& store) {
    Person person;
    person.name = S(name);
    return ReadName(person, store);
  }

  static void Check(const NameCase& c, const NameResult& r) {
    const std::string what = std::string(c.name) + (c.single ? " 单姓" : " 复姓");
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(Shown(r.strokes[i]), S(c.strokes[i])) << what << " s" << i + 1;
    EXPECT_EQ(Shown(r.heaven), S(c.heaven)) << what;
    EXPECT_EQ(Shown(r.person), S(c.person)) << what;
    EXPECT_EQ(Shown(r.earth), S(c.earth)) << what;
    EXPECT_EQ(Shown(r.outer), S(c.outer)) << what;
    EXPECT_EQ(Shown(r.total), S(c.total)) << what;
    EXPECT_EQ(r.talents, S(c.talents)) << what;
    const QStringList expected = {
        QString(),
        QStringLiteral("    ") + S(c.verdict),
        QString(),
        QStringLiteral("    ") + S(c.total_text),
        QString(),
        QStringLiteral("    该姓名三才：") + S(c.talents),
        QStringLiteral("    总格：%1； 天格：%2； 人格：%3； 地格：%4； 外格：%5")
            .arg(S(c.total), S(c.heaven), S(c.person), S(c.earth), S(c.outer)),
    };
    EXPECT_EQ(r.section, expected) << what;
  }

  ReferenceStore store_;
};

// Shown by its row name; `name` is the name the row reads.
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.row; }

class NameCaseTest : public NameAnalysis, public ::testing::WithParamInterface<NameCase> {};

TEST_P(NameCaseTest, GridsTalentsAndSection) { Check(GetParam(), Run(GetParam())); }

INSTANTIATE_TEST_SUITE_P(Cases, NameCaseTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.row); });

struct MissingCase {
  const char* name;
  const char* text;
  const char* named;  // the characters the message names, "" for no message
};

class MissingStrokes : public NameAnalysis, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingStrokes, AreNamedAndTheReadingGoesOn) {
  Person person;
  person.name = S(GetParam().text);
  QStringList messages;
  const NameResult r = ReadName(person, store_, [&](const QString& m) { messages << m; });
  const QString named = S(GetParam().named);
  EXPECT_EQ(messages, named.isEmpty()
                          ? QStringList()
                          : QStringList{QStringLiteral("字库中查不到") + named +
                                        QStringLiteral("的笔画数，姓名中与之相关的格将留空。")});
  EXPECT_EQ(Shown(r.strokes[0]), QStringLiteral("7"));  // 李 comes first in each
  EXPECT_EQ(Shown(r.heaven), QStringLiteral("8"));
  EXPECT_EQ(r.section.size(), 7);
}

INSTANTIATE_TEST_SUITE_P(Cases, MissingStrokes,
                         ::testing::Values(MissingCase{"all_known", "李林", ""},
                                           MissingCase{"one_missing", "李甲林", "“甲”"},
                                           MissingCase{"named_once", "李甲甲", "“甲”"},
                                           MissingCase{"beyond_gbk_is_one_piece", "李𠮷䶮",
                                                       "“𠮷”“䶮”"}),
                         test::RowName());

TEST_F(NameAnalysis, WorkedCaseGridLine) {
  const NameResult r = Run(kCases[0]);
  EXPECT_EQ(r.section.last(),
            QStringLiteral("    总格：35； 天格：17； 人格：27； 地格：19； 外格：5"));
  EXPECT_EQ(r.characters[0] + r.characters[1] + r.characters[2] + r.characters[3],
            QStringLiteral("陈梅文王"));
}

TEST_F(NameAnalysis, CharactersAreCutWhole) {
  // Single-byte characters in a pasted name never leave half a character.
  const struct {
    const char* name;
    const char* chars[4];
  } cases[] = {
      {"陈梅文王", {"陈", "梅", "文", "王"}}, {"李", {"李", "", "", ""}},
      {"A李林", {"A", "李", "林", ""}},       {"AB李", {"AB", "李", "", ""}},
      {"李A林安石", {"李", "A", "林", "安"}}, {"", {"", "", "", ""}},
  };
  for (const auto& c : cases) {
    const NameResult r = Named(c.name, store_);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(r.characters[i], S(c.chars[i])) << c.name << " " << i;
  }
}

TEST_F(NameAnalysis, NameWithSingleByteCharactersGetsNoEarthOuterOrTotal) {
  // 9 bytes: only heaven and person can apply.
  const NameResult r = Named("李林安石A", store_);
  EXPECT_EQ(Shown(r.heaven), QStringLiteral("8"));
  EXPECT_EQ(Shown(r.person), QStringLiteral("15"));
  EXPECT_EQ(Shown(r.earth), QString());
  EXPECT_EQ(Shown(r.outer), QString());
  EXPECT_EQ(Shown(r.total), QString());
  EXPECT_EQ(r.talents, QStringLiteral("金土"));
  EXPECT_EQ(r.section[1], QStringLiteral("    "));  // no verdict for two elements
}

TEST_F(NameAnalysis, StoreErrorStopsTheReading) {
  ReferenceStore closed;
  EXPECT_THROW(ReadName(Person(), closed), StoreError);
}

}  // namespace
}  // namespace tessaly
