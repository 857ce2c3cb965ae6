// SPDX-License-Identifier: GPL-3.0-or-later
#include "readings/name_score.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

#include <QFile>
#include <QSet>

#include "core/text.h"
#include "store/reference_store.h"

namespace tessaly {

namespace {

constexpr char16_t kElements[] = u"木火土金水";

// A grid: the sum of the strokes plus a constant, or kNoValue when one of them
// is not known.
int Grid(std::initializer_list<int> strokes, int plus = 0) {
  long long sum = plus;
  for (const int s : strokes) {
    if (s == kNoValue) return kNoValue;
    sum += s;
  }
  return static_cast<int>(sum);
}

int TalentsIndex(const std::array<Element, 3>& t) {
  for (const Element e : t) {
    if (e == Element::kNone) return -1;
  }
  return 25 * static_cast<int>(t[0]) + 5 * static_cast<int>(t[1]) + static_cast<int>(t[2]);
}

// Score points of a rating: 大吉 4 .. 大凶 0, none 0.
int Points(Rating r) { return r == Rating::kNone ? 0 : RatingRank(r) - 1; }

}  // namespace

int RatingRank(Rating rating) {
  static constexpr int kRanks[] = {0, 1, 2, 3, 3, 4, 5};
  return kRanks[static_cast<int>(rating)];
}

QString RatingText(Rating rating) {
  static constexpr const char16_t* kWords[] = {u"",     u"大凶", u"凶",  u"半吉",
                                               u"中吉", u"吉",   u"大吉"};
  return QString::fromUtf16(kWords[static_cast<int>(rating)]);
}

Rating RatingOfText(QStringView text) {
  // Blanks and markup before the word are skipped.
  qsizetype i = 0;
  while (i < text.size()) {
    if (text[i].isSpace()) {
      ++i;
    } else if (text[i] == u'<') {
      const qsizetype end = text.indexOf(u'>', i);
      if (end < 0) return Rating::kNone;
      i = end + 1;
    } else {
      break;
    }
  }
  const QStringView rest = text.mid(i);
  static constexpr std::pair<const char16_t*, Rating> kWords[] = {
      {u"大吉", Rating::kGreatGood}, {u"大凶", Rating::kGreatBad}, {u"半吉", Rating::kHalfGood},
      {u"中吉", Rating::kMidGood},   {u"吉", Rating::kGood},       {u"凶", Rating::kBad},
  };
  for (const auto& [word, rating] : kWords) {
    const QStringView w(word);
    // The word stands alone: 吉 followed by more text (吉祥) is not a rating.
    if (rest.startsWith(w) && (rest.size() == w.size() || !rest[w.size()].isLetterOrNumber())) {
      return rating;
    }
  }
  return Rating::kNone;
}

Element ElementOfGrid(int grid) {
  if (grid == kNoValue) return Element::kNone;
  static constexpr Element kByDigit[] = {
      Element::kWater, Element::kWood,  Element::kWood,  Element::kFire,  Element::kFire,
      Element::kEarth, Element::kEarth, Element::kMetal, Element::kMetal, Element::kWater};
  return kByDigit[std::abs(grid % 10)];
}

QChar ElementChar(Element element) {
  return element == Element::kNone ? QChar() : QChar(kElements[static_cast<int>(element)]);
}

QString NameGrids::TalentsText() const {
  QString text;
  for (const Element e : talents) {
    if (e != Element::kNone) text += ElementChar(e);
  }
  return text;
}

NameGrids NameGridsOf(const std::array<int, 4>& strokes, int characters, SurnameKind kind) {
  const auto [s1, s2, s3, s4] = strokes;
  NameGrids g;
  if (kind == SurnameKind::Single) {
    g.heaven = Grid({s1}, 1);
    g.person = Grid({s1, s2});
    if (characters == 2) {
      g.earth = Grid({s2}, 1);
      g.outer = 2;
    } else if (characters == 3) {
      g.earth = Grid({s2, s3});
      g.outer = Grid({s3}, 1);
    } else if (characters == 4) {
      g.earth = Grid({s2, s3, s4});
      g.outer = Grid({s4}, 1);
    }
  } else {
    g.heaven = Grid({s1, s2});
    g.person = Grid({s2, s3});
    if (characters == 3) {
      g.earth = Grid({s3}, 1);
      g.outer = 2;
    } else if (characters == 4) {
      g.earth = Grid({s3, s4});
      g.outer = Grid({s1, s4});
    }
  }
  if (characters == 2) {
    g.total = Grid({s1, s2});
  } else if (characters == 3) {
    g.total = Grid({s1, s2, s3});
  } else if (characters == 4) {
    g.total = Grid({s1, s2, s3, s4});
  }
  if (g.total != kNoValue && g.total > 81) g.total -= 81;
  g.talents = {ElementOfGrid(g.heaven), ElementOfGrid(g.person), ElementOfGrid(g.earth)};
  return g;
}

int EightyOneNumber(int grid) { return grid <= 81 ? grid : (grid - 1) % 81 + 1; }

int NameScore::LowestRank() const {
  return std::min({RatingRank(total), RatingRank(person), RatingRank(earth), RatingRank(outer),
                   RatingRank(talents)});
}

// --- NameTables ------------------------------------------------------------

NameTables NameTables::Load(ReferenceStore& store) {
  NameTables t;
  store.ForEachRow(Table::Strokes, [&t](const QString& chars, const QString& number) {
    bool ok = false;
    const int n = number.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 255) return;
    // As the lookup finds it: the first row holding a character gives its count.
    for (const char32_t ch : chars.toUcs4()) {
      if (ch < kDirect) {
        if (t.direct_[ch] == 0) {
          t.direct_[ch] = static_cast<std::uint8_t>(n);
          ++t.stroke_count_;
        }
      } else {
        t.others_.emplace_back(ch, static_cast<std::uint8_t>(n));
      }
    }
  });
  // Sorted by character, rows in store order within one: the first row holding
  // a character is the one kept.
  std::stable_sort(t.others_.begin(), t.others_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  t.others_.erase(std::unique(t.others_.begin(), t.others_.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  t.others_.end());
  t.stroke_count_ += static_cast<int>(t.others_.size());

  const QString content = QStringLiteral("内容");
  for (int n = 1; n <= 81; ++n) {
    t.numbers_[n] =
        RatingOfText(store.LookupField(Statement{Table::EightyOne, QString::number(n)}, content));
  }
  const QString verdict = QStringLiteral("吉凶");
  for (int i = 0; i < 125; ++i) {
    const QString key =
        QString(QChar(kElements[i / 25])) + QChar(kElements[i / 5 % 5]) + QChar(kElements[i % 5]);
    t.talents_[i] = RatingOfText(store.LookupField(Statement{Table::SanCai, key}, verdict));
  }
  return t;
}

std::uint8_t NameTables::OtherStrokes(char32_t ch) const {
  const auto it =
      std::lower_bound(others_.begin(), others_.end(), std::make_pair(ch, std::uint8_t{0}));
  return it != others_.end() && it->first == ch ? it->second : 0;
}

Rating NameTables::NumberRating(int grid) const {
  if (grid == kNoValue || grid < 1) return Rating::kNone;
  return numbers_[EightyOneNumber(grid)];
}

Rating NameTables::TalentsRating(const std::array<Element, 3>& talents) const {
  const int i = TalentsIndex(talents);
  return i < 0 ? Rating::kNone : talents_[i];
}

namespace {

// The ratings of the grids by `number` (of a grid) and `talents`, and the score.
template <typename NumberRating, typename TalentsRating>
NameScore Rate(const NameGrids& grids, NumberRating number, TalentsRating talents) {
  NameScore s;
  s.grids = grids;
  s.total = number(grids.total);
  s.person = number(grids.person);
  s.earth = number(grids.earth);
  s.outer = number(grids.outer);
  s.talents = talents(grids.talents);
  s.score = 7 * Points(s.person) + 5 * Points(s.earth) + 5 * Points(s.total) + 3 * Points(s.outer) +
            5 * Points(s.talents);
  return s;
}

}  // namespace

NameScore NameTables::Score(const NameGrids& grids) const {
  return Rate(
      grids, [this](int grid) { return NumberRating(grid); },
      [this](const std::array<Element, 3>& t) { return TalentsRating(t); });
}

NameScore ScoreGrids(const NameGrids& grids, ReferenceStore& store) {
  const auto number = [&store](int grid) {
    if (grid == kNoValue || grid < 1) return Rating::kNone;
    return RatingOfText(
        store.LookupField(Statement{Table::EightyOne, QString::number(EightyOneNumber(grid))},
                          QStringLiteral("内容")));
  };
  const auto talents = [&store](const std::array<Element, 3>& t) {
    if (TalentsIndex(t) < 0) return Rating::kNone;
    const QString key = QString(ElementChar(t[0])) + ElementChar(t[1]) + ElementChar(t[2]);
    return RatingOfText(store.LookupField(Statement{Table::SanCai, key}, QStringLiteral("吉凶")));
  };
  return Rate(grids, number, talents);
}

NameScore NameTables::ScoreName(std::initializer_list<QStringView> pieces, SurnameKind kind,
                                QString* unknown) const {
  std::array<int, 4> strokes{kNoValue, kNoValue, kNoValue, kNoValue};
  int characters = 0;
  for (const QStringView piece : pieces) {
    for (qsizetype i = 0; i < piece.size(); ++i) {
      char32_t ch = piece[i].unicode();
      if (piece[i].isHighSurrogate() && i + 1 < piece.size() && piece[i + 1].isLowSurrogate()) {
        ch = QChar::surrogateToUcs4(piece[i], piece[i + 1]);
        ++i;
      }
      if (characters < 4) {
        strokes[characters] = Strokes(ch);
        if (strokes[characters] == kNoValue && unknown != nullptr) {
          unknown->append(QString::fromUcs4(&ch, 1));
        }
      }
      ++characters;
    }
  }
  return Score(NameGridsOf(strokes, characters, kind));
}

std::vector<qsizetype> OrderByScore(const std::vector<std::uint8_t>& scores) {
  // first[100 - s]: where the places of score s begin.
  std::array<qsizetype, 102> first{};
  for (const std::uint8_t s : scores) ++first[101 - std::min<int>(s, 100)];
  std::partial_sum(first.begin(), first.end(), first.begin());
  std::vector<qsizetype> order(scores.size());
  for (size_t i = 0; i < scores.size(); ++i) {
    order[first[100 - std::min<int>(scores[i], 100)]++] = static_cast<qsizetype>(i);
  }
  return order;
}

// --- Generating given names -------------------------------------------------

QStringList CharacterList(QStringView text) {
  QStringList chars;
  QSet<char32_t> seen;
  for (const QStringView line : text.split(u'\n')) {
    if (line.trimmed().startsWith(u'#')) continue;
    for (const char32_t ch : WithoutSingleBytes(line.toString()).toUcs4()) {
      if (QChar::isSpace(ch) || seen.contains(ch)) continue;
      seen.insert(ch);
      chars << QString::fromUcs4(&ch, 1);
    }
  }
  return chars;
}

qsizetype GivenNames::Count() const {
  return length == 2 && fixed.isEmpty() ? chars.size() * chars.size() : chars.size();
}

std::pair<QStringView, QStringView> GivenNames::At(qsizetype k) const {
  if (length == 1) return {chars[k], {}};
  if (!fixed.isEmpty()) {
    return position == 1 ? std::pair<QStringView, QStringView>{fixed, chars[k]}
                         : std::pair<QStringView, QStringView>{chars[k], fixed};
  }
  return {chars[k / chars.size()], chars[k % chars.size()]};
}

QStringList DefaultCharacterList() {
  QFile file(QStringLiteral(":/tessaly/names/given_chars.txt"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return CharacterList(QString::fromUtf8(file.readAll()));
}

}  // namespace tessaly
