// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>

#include <QFile>
#include <QTemporaryDir>

#include "core/errors.h"
#include "core/text.h"
#include "readings/readings.h"
#include "report/report.h"
#include "store/reference_store.h"
#include "tests/unit/reading_fixture.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

Person Inputs(QDate birthday = QDate(2005, 3, 2), Readings readings = {}) {
  Person person;
  person.name = QStringLiteral("陈梅文王");
  person.birthday = DateTime::AtMidnight(birthday);
  person.readings = readings;
  return person;
}

// What the page shows of the report (its frame and template are the whole
// page's test, against tests/data/report/all_2004-03-21.htm): every line, in
// order, each a paragraph of its own.
::testing::AssertionResult PageShows(const QStringList& page, const QStringList& lines) {
  qsizetype at = 0;
  for (const QString& line : lines) {
    at = page.indexOf(line, at);
    if (at < 0 || page.value(at + 1) != QStringLiteral("<p>")) {
      return ::testing::AssertionFailure() << "not shown: " << line.toStdString();
    }
    at += 2;
  }
  return ::testing::AssertionSuccess();
}

class Report : public ::testing::Test {
 protected:
  void SetUp() override {
    store_.Open(test::ReadingFixtureStore());
    ASSERT_TRUE(dir_.isValid());
  }

  void Build(const Person& person) {
    BuildReport(
        person, store_, [this](const QString& m) { messages_ << m; }, report_);
  }

  ReferenceStore store_;
  tessaly::Report report_;
  QStringList messages_;
  QTemporaryDir dir_;
};

TEST_F(Report, NoBoxTicked) {
  Build(Inputs());
  const QString header = QStringLiteral("    陈梅文王  生于 2005-03-02  农历乙酉年正月廿二  子时");
  EXPECT_EQ(report_.plain, QStringList{header});
  EXPECT_TRUE(PageShows(report_.page, {header}));
  const LunarBirth& lunar = report_.results.lunar;
  EXPECT_EQ(lunar.YearText(), QStringLiteral("乙酉年"));
  EXPECT_EQ(lunar.AnimalText(), QStringLiteral("鸡"));
  EXPECT_EQ(lunar.MonthText(), QStringLiteral("正月"));
  EXPECT_EQ(lunar.DayText(), QStringLiteral("廿二"));
  // The numbers behind them, for the readings that count with them.
  EXPECT_EQ(lunar.CycleIndex(), 21);
  EXPECT_EQ(std::tuple(lunar.month, lunar.leap_month, lunar.day), std::tuple(1, false, 22));
  EXPECT_FALSE(report_.results.name);
}

struct HeaderCase {
  const char* name;
  QDate birthday;
  const char* person;
  const char* hour;
  int hour_index;
  const char* header;
};

const HeaderCase kHeaderCases[] = {
    {"Plain", QDate(2005, 3, 2), "陈梅文王", "23-01时 子时", 0,
     "    陈梅文王  生于 2005-03-02  农历乙酉年正月廿二  子时"},
    {"BeforeTheLunarNewYearThePreviousYear", QDate(2005, 2, 8), "李林", "11-13时 午时", 6,
     "    李林  生于 2005-02-08  农历甲申年腊月三十  午时"},
    {"LeapMonth", QDate(2004, 3, 21), "李林", "21-23时 亥时", 11,
     "    李林  生于 2004-03-21  农历甲申年闰二初一  亥时"},
    {"EmptyNameBox", QDate(2005, 3, 2), "", "23-01时 子时", 0,
     "      生于 2005-03-02  农历乙酉年正月廿二  子时"},
    // Typed hour texts: bytes 9 to 20, whole characters only.
    {"TypedHourShorterThanNineBytes", QDate(2005, 3, 2), "李", "午夜", -1,
     "    李  生于 2005-03-02  农历乙酉年正月廿二  "},
    {"TypedHourCutAtACharacter", QDate(2005, 3, 2), "李", "1234567子时", -1,
     "    李  生于 2005-03-02  农历乙酉年正月廿二  时"},
    {"TypedHourLongerThanTwentyBytes", QDate(2005, 3, 2), "李", "12345678子时半夜三更后", -1,
     "    李  生于 2005-03-02  农历乙酉年正月廿二  子时半夜三更"},
};

class ReportHeader : public Report, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(ReportHeader, Line) {
  const HeaderCase& c = GetParam();
  Person person = Inputs(c.birthday);
  person.name = QString::fromUtf8(c.person);
  person.birth_hour = QString::fromUtf8(c.hour);
  person.birth_hour_index = c.hour_index;
  Build(person);
  EXPECT_EQ(report_.plain, QStringList{QString::fromUtf8(c.header)});
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportHeader, ::testing::ValuesIn(kHeaderCases), test::RowName());

TEST_F(Report, SectionsInOrder) {
  Build(Inputs(QDate(2005, 3, 2), kAllReadings));
  const char* headings[] = {
      "【※姓名祸福预测】",     "【※一生命运预测】",     "【※今年属相运程】",    "【※今年星座运程】",
      "【※手机号码吉凶预测】", "【※腹中胎儿性别预测】", "【※最佳怀孕时间预测】"};
  qsizetype last = 0;
  for (const char* h : headings) {
    const QString line = QStringLiteral("    ") + QString::fromUtf8(h);
    const qsizetype at = report_.plain.indexOf(line);
    ASSERT_GT(at, last) << h;
    EXPECT_EQ(report_.plain[at - 1], QString()) << h;  // each heading follows an empty line
    last = at;
  }
  // The lifetime section has the lunar particulars of this report.
  EXPECT_TRUE(report_.plain.contains(QStringLiteral("    你的命骨总重量是46钱。")));
  EXPECT_TRUE(report_.plain.contains(QStringLiteral("    双鱼座的测试文字。")));
  ASSERT_TRUE(report_.results.lifetime);
  EXPECT_EQ(report_.results.lifetime->star_sign, QStringLiteral("双鱼座"));
  EXPECT_TRUE(PageShows(report_.page, report_.plain));
  EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(Report, PregnancyAndMobileSections) {
  Person person =
      Inputs(QDate(2005, 3, 2), Reading::Mobile | Reading::ChildSex | Reading::Conception);
  person.mobile = QStringLiteral("13800001234");
  person.conception_age = QStringLiteral("31");
  Build(person);
  const QStringList& r = report_.plain;
  ASSERT_EQ(r.size(), 1 + 4 + 5 + 3);
  EXPECT_EQ(r[2], QStringLiteral("    【※手机号码吉凶预测】"));
  EXPECT_EQ(r[3],
            QStringLiteral(
                "    你提供的手机号码是：13800001234根据周易的有关理论，该号码吉凶预测结果如下："));
  ASSERT_TRUE(report_.results.mobile);
  EXPECT_EQ(r[4], QStringLiteral("    ") + report_.results.mobile->verdict);
  EXPECT_EQ(r[6], QStringLiteral("    【※腹中胎儿性别预测】"));
  EXPECT_EQ(
      r[7],
      QStringLiteral("    ") +
          QStringLiteral("根据你提供的〖母亲年龄〗及〖怀孕时间〗推算，腹中的胎儿性别应该是女孩！"));
  EXPECT_EQ(r[8], QStringLiteral("    "
                                 "本生男生女预测根据《古代胎儿预测术》及《日本科学育儿预测》编制而"
                                 "成，准确率达到百分之九九点九八。"));
  // The claim above is the section's own; the last line says what it is worth.
  EXPECT_EQ(r[9], QStringLiteral("    以上预测仅供娱乐，不是医学方法，切勿据此选择孩子的性别。"));
  EXPECT_EQ(r[11], QStringLiteral("    【※最佳怀孕时间预测】"));
  EXPECT_EQ(r[12],
            QStringLiteral("    "
                           "31岁母亲想要一个男孩。根据中外古今有关胎儿育儿等书籍预测，要心想事成，"
                           "请选择下列时间怀孕：今年1、3、11、12月份或者明年1、3、11、12月份。"));
}

TEST_F(Report, MobileMessageGoesOnWithTheReport) {
  Person person = Inputs(QDate(2005, 3, 2), Reading::Mobile);
  person.mobile = QStringLiteral("123");
  Build(person);
  EXPECT_EQ(messages_, QStringList{QStringLiteral("手机号码输入错误，测算失败！")});
  ASSERT_EQ(report_.plain.size(), 5);
  EXPECT_EQ(report_.plain.last(), QStringLiteral("    "));
  EXPECT_TRUE(PageShows(report_.page, report_.plain));
}

TEST_F(Report, UserTextIsEscapedInThePageOnly) {
  Person person = Inputs(QDate(2005, 3, 2), Reading::Name | Reading::Mobile | Reading::Conception);
  person.name = QStringLiteral("陈梅<b>&");
  person.mobile = QStringLiteral("1380000<i>1234");
  person.wish = QStringLiteral("男孩<br>");  // typed over the selected entry
  Build(person);
  const QStringList& r = report_.plain;
  const QStringList& page = report_.page;
  ASSERT_EQ(page.size(), 4 + 2 * r.size() + 51 + 1);
  for (qsizetype i = 0; i < r.size(); ++i) {
    const QString& line = page[4 + 2 * i];
    const bool typed = r[i].contains(QStringLiteral("陈梅<b>&")) ||
                       r[i].contains(QStringLiteral("<i>")) ||
                       r[i].contains(QStringLiteral("男孩<br>"));
    EXPECT_EQ(line, typed ? EscapeHtml(r[i]) : r[i]) << r[i].toStdString();
    EXPECT_EQ(page[5 + 2 * i], QStringLiteral("<p>"));
  }
  EXPECT_TRUE(r[0].startsWith(QStringLiteral("    陈梅<b>&  生于")));
  EXPECT_TRUE(page[4].startsWith(QStringLiteral("    陈梅&lt;b&gt;&amp;  生于")));
  // Store texts stay markup: the fixture verdict of 金金水 carries a bold tag.
  Build(Inputs(QDate(2005, 3, 2), Reading::Name));
  EXPECT_TRUE(report_.page.contains(QStringLiteral("    <b>吉</b>：金金水的测试判语。")));
}

TEST_F(Report, SameInputsGiveTheSameFile) {
  const QString a = dir_.filePath(QStringLiteral("a.htm"));
  const QString b = dir_.filePath(QStringLiteral("b.htm"));
  const Person person = Inputs(QDate(2005, 3, 2), kAllReadings);
  RunReport(person, store_, {}, report_, a);
  tessaly::Report other;
  RunReport(person, store_, {}, other, b);
  RunReport(person, store_, {}, other, b);  // and once more over the earlier report
  const QByteArray bytes = test::ReadFile(a);
  ASSERT_FALSE(bytes.isEmpty());
  EXPECT_EQ(bytes, test::ReadFile(b));
  // GBK, every line ended by CR LF, no byte-order mark.
  EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(bytes.startsWith("<html>\r\n"));
  EXPECT_EQ(bytes.count("\r\n"), report_.page.size());
  EXPECT_EQ(bytes.count('\n'), report_.page.size());
  EXPECT_EQ(FromGbk(bytes), report_.page.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

TEST_F(Report, ErrorKeepsThePreviousPage) {
  const QString path = dir_.filePath(QStringLiteral("temp.htm"));
  const Person person = Inputs(QDate(2005, 3, 2), Person().readings);
  RunReport(person, store_, {}, report_, path);
  const QByteArray before = test::ReadFile(path);
  const QStringList page_before = report_.page;
  ASSERT_FALSE(before.isEmpty());

  // A birth hour typed into the list: the lifetime reading stops the command.
  Person bad = Inputs(QDate(1990, 6, 15), Person().readings);
  bad.birth_hour = QStringLiteral("午夜");
  bad.birth_hour_index = -1;
  EXPECT_THROW(RunReport(bad, store_, {}, report_, path), Error);
  EXPECT_EQ(test::ReadFile(path), before);
  EXPECT_EQ(report_.page, page_before);
  // The plain report and the results hold what was collected: the header and
  // the name section.
  ASSERT_EQ(report_.plain.size(), 1 + 9);
  EXPECT_TRUE(report_.plain[0].contains(QStringLiteral("1990-06-15")));
  EXPECT_EQ(report_.plain[2], QStringLiteral("    【※姓名祸福预测】"));
  EXPECT_TRUE(report_.results.name);
  EXPECT_FALSE(report_.results.lifetime);

  // A store that fails.
  ReferenceStore closed;
  EXPECT_THROW(RunReport(person, closed, {}, report_, path), StoreError);
  EXPECT_EQ(test::ReadFile(path), before);
  EXPECT_EQ(report_.plain.size(), 1);
  EXPECT_FALSE(report_.results.name);
}

TEST_F(Report, UnwritablePageIsAFileError) {
  EXPECT_THROW(RunReport(Inputs(), store_, {}, report_,
                         dir_.filePath(QStringLiteral("no/such/dir/temp.htm"))),
               FileError);
}

TEST_F(Report, DefaultPageGoesToTheCacheDirectory) {
  EXPECT_TRUE(TempPagePath().endsWith(QStringLiteral("/tessaly/temp.htm")));
  EXPECT_TRUE(StyledPagePath().endsWith(QStringLiteral("/tessaly/temp.tmp")));
}

// Whole reports against stored expected files. These use the real store and
// texts of the program (not the fixture), so they change when the content does:
// regenerate them with the command lines below and check them by eye.
//
//   tessaly-cli report --name 张小明 --birthday 2005-03-02 --hour 子时
//     > tests/data/report/default_2005-03-02.txt
//   tessaly-cli report --name 欧阳雨辰 --surname 复姓 --sex 女 --birthday 2004-03-21
//     --hour 午时 --mobile 13912340080 --mother-age 31 --pregnancy-month 07
//     --conception-age 42 --wish 女孩 --readings name,lifetime,zodiac,star,mobile,sex,conception
//     --page tests/data/report/all_2004-03-21.htm
class StoredReport : public ::testing::Test {
 protected:
  void SetUp() override { store_.Open(test::BuiltStorePath()); }
  ReferenceStore store_;
};

TEST_F(StoredReport, DefaultReadings) {
  Person person = Inputs(QDate(2005, 3, 2), Person().readings);
  person.name = QStringLiteral("张小明");
  tessaly::Report report;
  BuildReport(person, store_, {}, report);
  const QByteArray expected = test::ReadFile(
      test::SourceDir() + QStringLiteral("/tests/data/report/default_2005-03-02.txt"));
  ASSERT_FALSE(expected.isEmpty());
  EXPECT_EQ((report.plain.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(), expected);
}

TEST_F(StoredReport, AllReadingsPage) {
  Person person = Inputs(QDate(2004, 3, 21), kAllReadings);
  person.name = QStringLiteral("欧阳雨辰");
  person.surname_kind = SurnameKind::Compound;
  person.sex = Sex::Female;
  person.birth_hour = BirthHourItems()[6];
  person.birth_hour_index = 6;
  person.mobile = QStringLiteral("13912340080");
  person.mother_age = QStringLiteral("31");
  person.pregnancy_month = QStringLiteral("07");
  person.conception_age = QStringLiteral("42");
  person.wish = QStringLiteral("女孩");
  person.wish_index = 1;
  tessaly::Report report;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("temp.htm"));
  RunReport(person, store_, {}, report, path);
  const QByteArray expected =
      test::ReadFile(test::SourceDir() + QStringLiteral("/tests/data/report/all_2004-03-21.htm"));
  ASSERT_FALSE(expected.isEmpty());
  EXPECT_EQ(test::ReadFile(path), expected);
}

}  // namespace
}  // namespace tessaly
