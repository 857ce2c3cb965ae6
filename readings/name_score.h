// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scoring a name: its five grids and three talents from the stroke counts of
// its characters, the ratings the store gives them, and a score for comparing
// candidates. NameGridsOf holds the grid rules, for the name reading and for
// batch work alike; NameTables holds what the ratings and the stroke counts
// need in memory, so that scoring a name asks the store nothing.
//
// The ratings are the first word of the store's texts: each 八十一划 entry and
// each 三才吉凶 entry begins with 大吉, 吉, 半吉 (八十一划) or 中吉 (三才吉凶),
// 凶 or 大凶, in that order of luck.
//
// The score, 0 to 100, is a weighted sum over five ratings, each counting
// 大吉 4, 吉 3, 半吉 or 中吉 2, 凶 1, 大凶 0 (and a grid that cannot be worked
// out 0):
//
//     score = 7 × 人格 + 5 × 地格 + 5 × 总格 + 3 × 外格 + 5 × 三才
//
// 人格, the main grid, weighs most; 外格, the side grid, least. A name whose
// five ratings are all 大吉 scores 100.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

#include "readings/person.h"

namespace tessaly {

class ReferenceStore;

// A rating, in order of luck. 半吉 and 中吉 rank alike.
enum class Rating : std::uint8_t { kNone, kGreatBad, kBad, kHalfGood, kMidGood, kGood, kGreatGood };

// 0 for kNone, 1 大凶 .. 5 大吉; 半吉 and 中吉 both 3.
int RatingRank(Rating rating);
// The word: 大吉, 吉, 半吉, 中吉, 凶, 大凶; empty for kNone.
QString RatingText(Rating rating);
// The rating a text begins with (after blanks and markup such as <b>), or kNone.
Rating RatingOfText(QStringView text);

// A stroke count or grid that is not known: the character is missing from the
// store, or a grid needs such a character or does not apply to the name.
inline constexpr int kNoValue = std::numeric_limits<int>::min();

// Elements of the three talents: 木 火 土 金 水, by a grid's last digit.
enum class Element : std::int8_t { kNone = -1, kWood, kFire, kEarth, kMetal, kWater };
// The element of a grid (1 2 木, 3 4 火, 5 6 土, 7 8 金, 9 0 水), kNone for kNoValue.
Element ElementOfGrid(int grid);
QChar ElementChar(Element element);  // 木 火 土 金 水; a null character for kNone

struct NameGrids {
  int heaven = kNoValue;  // 天格
  int person = kNoValue;  // 人格
  int earth = kNoValue;   // 地格
  int outer = kNoValue;   // 外格
  int total = kNoValue;   // 总格, read within 1 to 81: a total above 81 counts once more from 1
  std::array<Element, 3> talents{Element::kNone, Element::kNone, Element::kNone};  // 天 人 地

  // The three talents as text: the elements there are, in order ("金土" when
  // 地格 is missing).
  QString TalentsText() const;
};

// The grids of a name of `characters` characters, surname included, whose
// first four characters have the stroke counts `strokes` (kNoValue for a
// character the store lacks or that is not there). A single surname with a
// given name of one, two or three characters, or a compound surname with one
// or two, gets all five grids; other lengths only those that do not depend on
// the length (天格, 人格; a compound surname alone also 总格).
NameGrids NameGridsOf(const std::array<int, 4>& strokes, int characters, SurnameKind kind);

// The reading of a number from the 八十一划 table: 1 to 81 as it is, above 81
// counted again from 1 (82 is 1).
int EightyOneNumber(int grid);

struct NameScore {
  NameGrids grids;
  Rating total = Rating::kNone;    // of 总格
  Rating person = Rating::kNone;   // of 人格
  Rating earth = Rating::kNone;    // of 地格
  Rating outer = Rating::kNone;    // of 外格
  Rating talents = Rating::kNone;  // of 三才
  int score = 0;                   // 0 .. 100

  // The lowest rank of the five ratings (0 when one is missing).
  int LowestRank() const;
};

// The ratings of the store in memory, and the stroke count of every character
// the store has one for. Loaded once from the store; scoring then reads only
// these tables.
class NameTables {
 public:
  // Reads the stroke table, the 81 ratings and the 125 three-talent ratings.
  // A character with a stroke text that is no number from 1 to 255 counts as
  // missing; a text that begins with no rating gives kNone. Raises StoreError
  // as the store's lookups do.
  static NameTables Load(ReferenceStore& store);

  // The stroke count of a character (one code point), or kNoValue.
  int Strokes(char32_t ch) const {
    const std::uint8_t n = ch < kDirect ? direct_[ch] : OtherStrokes(ch);
    return n == 0 ? kNoValue : n;
  }
  Rating NumberRating(int grid) const;  // by EightyOneNumber; kNone for kNoValue or below 1
  Rating TalentsRating(const std::array<Element, 3>& talents) const;

  // The ratings and score of a name's grids.
  NameScore Score(const NameGrids& grids) const;
  // The score of a whole name of the given kind, made of the pieces (surname,
  // given name) one after the other. Each code point is a character, as in a
  // name without single-byte characters; the first four are looked up, and
  // `unknown` receives those without a stroke count.
  NameScore ScoreName(std::initializer_list<QStringView> pieces, SurnameKind kind,
                      QString* unknown = nullptr) const;

  // Counts of the loaded tables, for checks.
  int StrokeCount() const { return stroke_count_; }
  const std::array<Rating, 82>& NumberRatings() const { return numbers_; }
  const std::array<Rating, 125>& TalentsRatings() const { return talents_; }

 private:
  static constexpr char32_t kDirect = 0x10000;
  std::uint8_t OtherStrokes(char32_t ch) const;

  std::vector<std::uint8_t> direct_ = std::vector<std::uint8_t>(kDirect, 0);  // the BMP
  std::vector<std::pair<char32_t, std::uint8_t>> others_;  // beyond the BMP, sorted
  int stroke_count_ = 0;
  std::array<Rating, 82> numbers_{};   // [1..81]
  std::array<Rating, 125> talents_{};  // 25 × 天 + 5 × 人 + 地
};

// The ratings and score of one name's grids, from the store's texts for these
// grids alone: for a single name, where loading NameTables would cost more.
NameScore ScoreGrids(const NameGrids& grids, ReferenceStore& store);

// The places of scores (each 0 to 100) in order of score, highest first; equal
// scores keep their order. A counting sort: linear in the number of scores.
std::vector<qsizetype> OrderByScore(const std::vector<std::uint8_t>& scores);

// --- Generating given names -------------------------------------------------

// The characters of a character list, in order and each once: every character
// but blanks and single-byte ones; a line starting with '#' is a comment.
QStringList CharacterList(QStringView text);
// The shipped list of about a thousand characters common in given names, each
// of good and natural meaning.
QStringList DefaultCharacterList();

// The given names made of a character list, in order: each character alone
// (length 1), or every pair (length 2); with a generation character `fixed`,
// that character paired with each, standing first (position 1) or second.
struct GivenNames {
  QStringList chars;
  int length = 2;
  QString fixed;
  int position = 1;

  qsizetype Count() const;
  // The k-th name (0 <= k < Count()) as its two pieces, the second empty for length 1.
  std::pair<QStringView, QStringView> At(qsizetype k) const;
};

}  // namespace tessaly
