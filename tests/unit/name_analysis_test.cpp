#include <gtest/gtest.h>

#include "core/errors.h"
#include "readings/readings.h"
#include "store/reference_store.h"
#include "tests/unit/reading_fixture.h"

namespace tessaly {
namespace {

// Stroke counts of the fixture store: 乃 2, 文 王 4, 石 5, 安 6, 李 7, 林 8,
// 高 10, 梅 11, 陈 16, 骊 27, 骥 28, 鬣 36; 乜 has the non-number "十".
struct NameCase {
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
    {"陈梅文王",
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
    {"李林",
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
    {"李林安",
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
    {"李林安石",
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
    {"李林", false, {"7", "8", "", ""}, "15", "", "", "", "15", "土", "", "数理十五的测试文字。"},
    {"李林安",
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
    {"李林安石",
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
    {"骊骊骊",
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
    {"骊骊骥",
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
    {"鬣骊骊",
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
    {"高高", true, {"10", "10", "", ""}, "11", "20", "11", "2", "20", "木水木", "", ""},
    // One character: heaven only.
    {"李", true, {"7", "", "", ""}, "8", "", "", "", "", "金", "", ""},
    // A character the store lacks: every grid that needs it is empty.
    {"李甲林", true, {"7", "", "8", ""}, "8", "", "", "9", "", "金", "", ""},
    {"输入有误", true, {"", "", "", ""}, "", "", "", "", "", "", "", ""},
};

QString S(const char* s) { return QString::fromUtf8(s); }

class NameAnalysis : public ::testing::Test {
 protected:
  void SetUp() override { store_.Open(test::ReadingFixtureStore()); }

  void Run(const NameCase& c, ResultPanel& panel) {
    MainInputs in;
    in.FlatEdit1 = S(c.name);
    in.FlatButton2 = c.single ? QStringLiteral("姓氏单姓") : QStringLiteral("姓氏复姓");
    FlatButton3Click(in, panel, store_);
  }

  static void Check(const NameCase& c, const ResultPanel& p) {
    const std::string what = std::string(c.name) + (c.single ? " 单姓" : " 复姓");
    const QString strokes[] = {p.Label5, p.Label6, p.Label7, p.Label8};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(strokes[i], S(c.strokes[i])) << what << " s" << i + 1;
    EXPECT_EQ(p.Label14, S(c.heaven)) << what;
    EXPECT_EQ(p.Label15, S(c.person)) << what;
    EXPECT_EQ(p.Label16, S(c.earth)) << what;
    EXPECT_EQ(p.Label17, S(c.outer)) << what;
    EXPECT_EQ(p.Label18, S(c.total)) << what;
    EXPECT_EQ(p.Label20, S(c.talents)) << what;
    const QStringList expected = {
        QString(),
        QStringLiteral("    【※姓名祸福预测】"),
        QString(),
        QStringLiteral("    ") + S(c.verdict),
        QString(),
        QStringLiteral("    ") + S(c.total_text),
        QString(),
        QStringLiteral("    该姓名三才：") + S(c.talents),
        QStringLiteral("    总格：%1； 天格：%2； 人格：%3； 地格：%4； 外格：%5")
            .arg(S(c.total), S(c.heaven), S(c.person), S(c.earth), S(c.outer)),
    };
    EXPECT_EQ(p.FlatMemo1, expected) << what;
  }

  ReferenceStore store_;
};

TEST_F(NameAnalysis, GridsTalentsAndSection) {
  for (const NameCase& c : kCases) {
    ResultPanel panel;
    Run(c, panel);
    Check(c, panel);
  }
}

TEST_F(NameAnalysis, NothingIsLeftFromAnEarlierName) {
  // Each case run right after the worked case (whose grids are all filled) must
  // come out exactly as on a fresh panel.
  for (const NameCase& c : kCases) {
    ResultPanel panel;
    Run(kCases[0], panel);
    Run(c, panel);
    Check(c, panel);
  }
}

struct MissingCase {
  const char* name;
  const char* text;
  const char* named;  // the characters the message names, "" for no message
};

class MissingStrokes : public NameAnalysis, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingStrokes, AreNamedAndTheReadingGoesOn) {
  MainInputs in;
  in.FlatEdit1 = S(GetParam().text);
  ResultPanel panel;
  QStringList messages;
  FlatButton3Click(in, panel, store_, [&](const QString& m) { messages << m; });
  const QString named = S(GetParam().named);
  EXPECT_EQ(messages, named.isEmpty() ? QStringList()
                                      : QStringList{QStringLiteral("字库中查不到") + named +
                                                    QStringLiteral("的笔画数，姓名中与之相关的格将留空。")});
  EXPECT_EQ(panel.Label5, QStringLiteral("7"));  // 李 comes first in each
  EXPECT_EQ(panel.Label14, QStringLiteral("8"));
  EXPECT_EQ(panel.FlatMemo1.size(), 9);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingStrokes,
    ::testing::Values(MissingCase{"all_known", "李林", ""},
                      MissingCase{"one_missing", "李甲林", "“甲”"},
                      MissingCase{"named_once", "李甲甲", "“甲”"},
                      MissingCase{"beyond_gbk_is_one_piece", "李𠮷䶮", "“𠮷”“䶮”"}),
    [](const ::testing::TestParamInfo<MissingCase>& i) { return std::string(i.param.name); });

TEST_F(NameAnalysis, WorkedCaseGridLine) {
  ResultPanel panel;
  Run(kCases[0], panel);
  EXPECT_EQ(panel.FlatMemo1.last(),
            QStringLiteral("    总格：35； 天格：17； 人格：27； 地格：19； 外格：5"));
  EXPECT_EQ(panel.Label1 + panel.Label2 + panel.Label3 + panel.Label4, QStringLiteral("陈梅文王"));
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
    MainInputs in;
    in.FlatEdit1 = S(c.name);
    ResultPanel panel;
    FlatButton3Click(in, panel, store_);
    EXPECT_EQ(panel.Label1, S(c.chars[0])) << c.name;
    EXPECT_EQ(panel.Label2, S(c.chars[1])) << c.name;
    EXPECT_EQ(panel.Label3, S(c.chars[2])) << c.name;
    EXPECT_EQ(panel.Label4, S(c.chars[3])) << c.name;
  }
}

TEST_F(NameAnalysis, NameWithSingleByteCharactersGetsNoEarthOuterOrTotal) {
  // 9 bytes: only heaven and person can apply.
  MainInputs in;
  in.FlatEdit1 = QStringLiteral("李林安石A");
  ResultPanel panel;
  FlatButton3Click(in, panel, store_);
  EXPECT_EQ(panel.Label14, QStringLiteral("8"));
  EXPECT_EQ(panel.Label15, QStringLiteral("15"));
  EXPECT_EQ(panel.Label16, QString());
  EXPECT_EQ(panel.Label17, QString());
  EXPECT_EQ(panel.Label18, QString());
  EXPECT_EQ(panel.Label20, QStringLiteral("金土"));
  EXPECT_EQ(panel.FlatMemo1[3], QStringLiteral("    "));  // no verdict for two elements
}

TEST_F(NameAnalysis, StrokeTextThatIsNoNumberStopsTheReading) {
  ResultPanel panel;
  Run(kCases[0], panel);
  const QStringList before = panel.FlatMemo1;
  MainInputs in;
  in.FlatEdit1 = QStringLiteral("乜李");
  try {
    FlatButton3Click(in, panel, store_);
    FAIL() << "no error";
  } catch (const ConvertError& e) {
    EXPECT_EQ(e.message(), QStringLiteral("'十' 不是一个有效的整形值"));
  }
  EXPECT_EQ(panel.Label5, QStringLiteral("十"));
  EXPECT_EQ(panel.FlatMemo1, before);
}

TEST_F(NameAnalysis, StoreErrorStopsTheReading) {
  ResultPanel panel;
  Run(kCases[0], panel);
  const QStringList before = panel.FlatMemo1;
  ReferenceStore closed;
  MainInputs in;
  EXPECT_THROW(FlatButton3Click(in, panel, closed), StoreError);
  EXPECT_EQ(panel.FlatMemo1, before);
}

}  // namespace
}  // namespace tessaly
