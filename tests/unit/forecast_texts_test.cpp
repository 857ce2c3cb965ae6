// SPDX-License-Identifier: GPL-3.0-or-later
// Checks of the forecast texts shipped with the program: their block layout,
// the fixed lines the readings and the report rely on, and the prose itself.

#include <gtest/gtest.h>

#include <QHash>
#include <QSet>

#include "core/text.h"
#include "readings/readings.h"

namespace tessaly {
namespace {

struct Block {
  QString key;
  QStringList lines;  // strictly between the two marker lines
};

// Splits the text into blocks: key line, inner lines, key + "。", and one empty
// line between blocks. Reports a layout fault through gtest and stops there.
QList<Block> SplitBlocks(const QStringList& text, const QStringList& keys) {
  QList<Block> blocks;
  qsizetype pos = 0;
  for (qsizetype i = 0; i < keys.size(); ++i) {
    const QString& key = keys[i];
    if (i > 0) {
      EXPECT_EQ(text.value(pos), QString()) << "separator before " << key.toStdString();
      ++pos;
    }
    EXPECT_EQ(text.value(pos), key) << "block " << i << " at line " << pos + 1;
    if (text.value(pos) != key) return blocks;
    const qsizetype end = text.indexOf(key + QStringLiteral("。"), pos + 1);
    EXPECT_GT(end, pos) << "no closing line for " << key.toStdString();
    if (end < 0) return blocks;
    blocks.append(Block{key, text.mid(pos + 1, end - pos - 1)});
    pos = end + 1;
  }
  EXPECT_EQ(pos, text.size()) << "lines after the last block";
  return blocks;
}

const QStringList kSigns = {
    QStringLiteral("摩羯座"), QStringLiteral("水瓶座"), QStringLiteral("双鱼座"),
    QStringLiteral("白羊座"), QStringLiteral("金牛座"), QStringLiteral("双子座"),
    QStringLiteral("巨蟹座"), QStringLiteral("狮子座"), QStringLiteral("处女座"),
    QStringLiteral("天秤座"), QStringLiteral("天蝎座"), QStringLiteral("射手座")};
const QStringList kAnimals = {QStringLiteral("鼠"), QStringLiteral("牛"), QStringLiteral("虎"),
                              QStringLiteral("龙"), QStringLiteral("蛇"), QStringLiteral("马"),
                              QStringLiteral("兔"), QStringLiteral("羊"), QStringLiteral("猴"),
                              QStringLiteral("鸡"), QStringLiteral("狗"), QStringLiteral("猪")};

const QHash<QString, QString> kRatings = {{QStringLiteral("白羊座"), QStringLiteral("★★★☆")},
                                          {QStringLiteral("金牛座"), QStringLiteral("★★★★")},
                                          {QStringLiteral("双子座"), QStringLiteral("★★★")},
                                          {QStringLiteral("巨蟹座"), QStringLiteral("★★★☆")},
                                          {QStringLiteral("狮子座"), QStringLiteral("★★★")},
                                          {QStringLiteral("处女座"), QStringLiteral("★★★★")},
                                          {QStringLiteral("天秤座"), QStringLiteral("★★★★")},
                                          {QStringLiteral("天蝎座"), QStringLiteral("★★★★☆")},
                                          {QStringLiteral("射手座"), QStringLiteral("★★★")},
                                          {QStringLiteral("摩羯座"), QStringLiteral("★★★★")},
                                          {QStringLiteral("水瓶座"), QStringLiteral("★★★☆")},
                                          {QStringLiteral("双鱼座"), QStringLiteral("★★★★☆")}};

const QHash<QString, QString> kMottos = {{QStringLiteral("鼠"), QStringLiteral("行桃花运")},
                                         {QStringLiteral("牛"), QStringLiteral("情海翻波")},
                                         {QStringLiteral("虎"), QStringLiteral("安全过渡")},
                                         {QStringLiteral("兔"), QStringLiteral("破财挡灾")},
                                         {QStringLiteral("龙"), QStringLiteral("专注事业")},
                                         {QStringLiteral("蛇"), QStringLiteral("平平稳稳")},
                                         {QStringLiteral("马"), QStringLiteral("财运甚佳")},
                                         {QStringLiteral("羊"), QStringLiteral("考试有利")},
                                         {QStringLiteral("猴"), QStringLiteral("摆脱衰运")},
                                         {QStringLiteral("鸡"), QStringLiteral("心情不定")},
                                         {QStringLiteral("狗"), QStringLiteral("沉著应战")},
                                         {QStringLiteral("猪"), QStringLiteral("愈变愈好")}};

const QString kIndent = QStringLiteral("　　");  // two full-width spaces

const QStringList kStarHeadings = {
    kIndent + QStringLiteral("情感生活"),   kIndent + QStringLiteral("● 单身的你"),
    kIndent + QStringLiteral("● 有伴的你"), kIndent + QStringLiteral("个人理财"),
    kIndent + QStringLiteral("学业指导"),   kIndent + QStringLiteral("事业方向"),
    kIndent + QStringLiteral("● 求职族"),   kIndent + QStringLiteral("● 上班族"),
    kIndent + QStringLiteral("健康顾问")};
// Headings that open sub-headings rather than paragraphs.
const QStringList kStarGroupHeadings = {kIndent + QStringLiteral("情感生活"),
                                        kIndent + QStringLiteral("事业方向")};

const QStringList kZodiacHeadings = {QStringLiteral("生肖性格："), QStringLiteral("整体运："),
                                     QStringLiteral("爱情运："),   QStringLiteral("财运："),
                                     QStringLiteral("事业运："),   QStringLiteral("健康运："),
                                     QStringLiteral("人际运：")};

// Headings in order of appearance, and whether each leaf heading is followed by
// at least one paragraph before the next heading.
void CheckHeadings(const QString& key, const QStringList& body, const QStringList& headings,
                   const QStringList& group_headings) {
  QStringList seen;
  qsizetype paragraphs_since = -1;  // -1: before the first heading
  QString open_heading;
  for (const QString& line : body) {
    if (line.isEmpty()) continue;
    if (headings.contains(line)) {
      if (!open_heading.isEmpty() && !group_headings.contains(open_heading)) {
        EXPECT_GT(paragraphs_since, 0) << key.toStdString() << ": " << open_heading.toStdString();
      }
      seen << line;
      open_heading = line;
      paragraphs_since = 0;
    } else if (paragraphs_since >= 0) {
      ++paragraphs_since;
    }
  }
  EXPECT_GT(paragraphs_since, 0) << key.toStdString() << ": nothing after the last heading";
  EXPECT_EQ(seen, headings) << key.toStdString();
}

TEST(ForecastTexts, StarSignBlocks) {
  const QStringList& text = StarForecastLines();
  EXPECT_EQ(text.size(), 491);
  const QList<Block> blocks = SplitBlocks(text, kSigns);
  ASSERT_EQ(blocks.size(), 12);
  for (const Block& b : blocks) {
    const std::string key = b.key.toStdString();
    EXPECT_GE(b.lines.size(), 37) << key;
    EXPECT_LE(b.lines.size(), 39) << key;
    // Text lines and empty lines alternate, beginning with an empty line.
    for (qsizetype i = 0; i < b.lines.size(); ++i) {
      EXPECT_EQ(b.lines[i].isEmpty(), i % 2 == 0) << key << " inner line " << i;
    }
    EXPECT_EQ(b.lines.value(1), QStringLiteral("    整体运势：") + kRatings.value(b.key)) << key;
    // After the rating, every text line is a heading or a paragraph, both
    // indented by two full-width spaces; at least one paragraph on the year
    // comes before the first heading.
    const QStringList body = b.lines.mid(2);
    for (const QString& line : body) {
      if (!line.isEmpty()) {
        EXPECT_TRUE(line.startsWith(kIndent) && !line.startsWith(kIndent + QChar(0x3000)))
            << key << ": " << line.toStdString();
      }
    }
    EXPECT_FALSE(kStarHeadings.contains(body.value(1))) << key << ": no paragraph on the year";
    CheckHeadings(b.key, body, kStarHeadings, kStarGroupHeadings);
  }
}

TEST(ForecastTexts, ZodiacBlocks) {
  const QStringList& text = ZodiacForecastLines();
  EXPECT_EQ(text.size(), 781);
  const QList<Block> blocks = SplitBlocks(text, kAnimals);
  ASSERT_EQ(blocks.size(), 12);
  for (const Block& b : blocks) {
    const std::string key = b.key.toStdString();
    EXPECT_GE(b.lines.size(), 59) << key;
    EXPECT_LE(b.lines.size(), 64) << key;
    EXPECT_EQ(b.lines.value(0), kMottos.value(b.key)) << key;
    EXPECT_FALSE(b.lines.constLast().isEmpty()) << key << ": block ends with an empty line";
    for (qsizetype i = 1; i < b.lines.size(); ++i) {
      EXPECT_FALSE(b.lines[i].isEmpty() && b.lines[i - 1].isEmpty())
          << key << ": two empty lines at inner line " << i;
    }
    CheckHeadings(b.key, b.lines.mid(1), kZodiacHeadings, {});
  }
}

// Lines that the readings take as markers occur exactly once each; the lookup
// goes by the first match, so a stray copy would cut a block short.
TEST(ForecastTexts, MarkerLinesAreUnique) {
  for (const auto& [text, keys] :
       {std::pair{StarForecastLines(), kSigns}, std::pair{ZodiacForecastLines(), kAnimals}}) {
    for (const QString& key : keys) {
      EXPECT_EQ(text.count(key), 1) << key.toStdString();
      EXPECT_EQ(text.count(key + QStringLiteral("。")), 1) << key.toStdString();
    }
  }
}

TEST(ForecastTexts, ProseIsGbkWithoutYearsOrRepeats) {
  QSet<QString> fixed;
  for (const QString& h : kStarHeadings + kZodiacHeadings) fixed.insert(h);
  for (const QString& r : kRatings) fixed.insert(QStringLiteral("    整体运势：") + r);
  for (const QString& m : kMottos) fixed.insert(m);
  for (const QString& k : kSigns + kAnimals) {
    fixed.insert(k);
    fixed.insert(k + QStringLiteral("。"));
  }

  QHash<QString, int> paragraphs;
  for (const QStringList* text : {&StarForecastLines(), &ZodiacForecastLines()}) {
    for (qsizetype i = 0; i < text->size(); ++i) {
      const QString& line = text->at(i);
      EXPECT_TRUE(FitsGbk(line)) << "line " << i + 1 << ": " << FirstNonGbk(line).toStdString();
      for (const QChar c : line) {
        EXPECT_FALSE(c.isDigit() || c == QChar(0x3007))
            << "line " << i + 1 << ": " << line.toStdString();
      }
      if (line.isEmpty()) continue;
      EXPECT_FALSE(line.trimmed().isEmpty()) << "blank line " << i + 1;
      if (!fixed.contains(line)) ++paragraphs[line.trimmed()];
    }
  }
  for (auto it = paragraphs.cbegin(); it != paragraphs.cend(); ++it) {
    EXPECT_EQ(it.value(), 1) << "repeated paragraph: " << it.key().toStdString();
  }
}

}  // namespace
}  // namespace tessaly
