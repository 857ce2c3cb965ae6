// SPDX-License-Identifier: GPL-3.0-or-later
// tessaly-cli names: scores candidate given names for a surname, read one per
// line from a file or standard input, or generated from a character list. Each
// name gives one line (TSV) or one object (JSON) with its five grids, three
// talents, their ratings and the score; see readings/name_score.h. Unlike the
// other commands it writes as it goes, a million names being some 60 MB: once
// the options, the store and the input have been read, nothing but the writing
// itself can fail, so a failing command still prints nothing.

#include <QCommandLineParser>
#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/commands.h"
#include "core/errors.h"
#include "core/text.h"
#include "readings/name_score.h"
#include "store/reference_store.h"

namespace tessaly::cli {
namespace {

constexpr const char* kUsage =
    "usage: tessaly-cli names --surname TEXT [OPTIONS] [FILE|-]\n"
    "       tessaly-cli names --surname TEXT --generate [OPTIONS]\n"
    "Scores given names, one per line from FILE or standard input (or generated), with\n"
    "the surname: one line each of full name, 总格, 天格, 人格, 地格, 外格, 三才, the\n"
    "ratings of 总格, 人格, 地格, 外格 and 三才, and the score (0..100).\n"
    "  --surname TEXT           the surname, one or two characters\n"
    "  --surname-kind 单姓|复姓  default 单姓 for one character, 复姓 for two\n"
    "  --sort                   highest score first (equal scores keep their order)\n"
    "  --min-rating WORD        keep names whose four grid ratings and 三才 rating are all\n"
    "                           at least WORD: 大吉, 吉, 半吉 (or 中吉), 凶, 大凶\n"
    "  --format tsv|json        output format (default tsv)\n"
    "  --generate               enumerate given names instead of reading them (sorted):\n"
    "    --length 1|2           characters of the given name (default 2)\n"
    "    --fixed CHAR           a generation character in every name (needs --length 2)\n"
    "    --position 1|2         where the generation character stands (default 1)\n"
    "    --chars FILE           the characters to combine (default: the shipped list of\n"
    "                           characters common in given names)\n";

int BadOption(const QString& message) {
  Err(QStringLiteral("tessaly-cli names: ") + message);
  std::fputs(kUsage, stderr);
  return 2;
}

void Warn(const QString& message) { Err(QStringLiteral("tessaly-cli names: ") + message); }

enum class Format { kTsv, kJson };

// The output: one line (TSV) or object (JSON) per scored name, going to
// standard output in pieces of about a megabyte as it is made. (Nothing can
// fail by then but the writing.)
class Rows {
 public:
  Rows(const QString& surname, Format format) : format_(format), surname_(surname.toUtf8()) {
    for (int r = 0; r <= static_cast<int>(Rating::kGreatGood); ++r) {
      ratings_[r] = RatingText(static_cast<Rating>(r)).toUtf8();
    }
    for (int e = 0; e < 5; ++e) {
      elements_[e] = QString(ElementChar(static_cast<Element>(e))).toUtf8();
    }
    text_.reserve(kPiece + 4096);
  }

  // False once writing has failed.
  bool ok() const { return ok_; }

  // One name: the surname, then the given name in pieces.
  void Add(std::initializer_list<QStringView> given, const NameScore& s) {
    const qsizetype begin = text_.size();
    qsizetype bound = surname_.size() + 320;  // the name, and the rest at its longest
    for (const QStringView piece : given) bound += 3 * piece.size();
    if (text_.capacity() < begin + bound)
      text_.reserve(std::max(2 * text_.capacity(), begin + bound));
    text_.resize(begin + bound);
    p_ = text_.data() + begin;

    const bool json = format_ == Format::kJson;
    if (json) Put(",\n{\"name\":\"");
    Put(surname_);
    for (const QStringView piece : given) p_ = encoder_.appendToBuffer(p_, piece);
    const NameGrids& g = s.grids;
    if (json) {
      Put('"');
      for (const auto& [key, grid] : {std::pair{"total", g.total},
                                      {"heaven", g.heaven},
                                      {"person", g.person},
                                      {"earth", g.earth},
                                      {"outer", g.outer}}) {
        Put(",\"");
        Put(key);
        Put("\":");
        grid == kNoValue ? Put("null") : Number(grid);
      }
      Put(",\"talents\":\"");
      Talents(g);
      Put("\",\"ratings\":{");
      for (const auto& [key, rating] : {std::pair{"\"total\":", s.total},
                                        {",\"person\":", s.person},
                                        {",\"earth\":", s.earth},
                                        {",\"outer\":", s.outer},
                                        {",\"talents\":", s.talents}}) {
        Put(key);
        if (rating == Rating::kNone) {
          Put("null");
        } else {
          Put('"');
          Put(ratings_[static_cast<int>(rating)]);
          Put('"');
        }
      }
      Put("},\"score\":");
      Number(s.score);
      Put('}');
    } else {
      for (const int grid : {g.total, g.heaven, g.person, g.earth, g.outer}) {
        Put('\t');
        if (grid != kNoValue) Number(grid);
      }
      Put('\t');
      Talents(g);
      for (const Rating r : {s.total, s.person, s.earth, s.outer, s.talents}) {
        Put('\t');
        Put(ratings_[static_cast<int>(r)]);
      }
      Put('\t');
      Number(s.score);
      Put('\n');
    }
    text_.resize(p_ - text_.constData());
    if (text_.size() >= kPiece) {
      Write(text_);
      text_.resize(0);
    }
  }

  // Writes what is left, and the end of the JSON array. True when all is written.
  bool Finish() {
    Write(text_);
    if (format_ == Format::kJson) Write(QByteArrayLiteral("\n]\n"));
    return ok_ && std::fflush(stdout) == 0;
  }

 private:
  static constexpr qsizetype kPiece = 1 << 20;

  // Writes to standard output; the first JSON object loses its comma to the
  // array's opening bracket.
  void Write(QByteArrayView bytes) {
    if (format_ == Format::kJson && !opened_) {
      opened_ = true;
      Write("[");
      if (bytes.startsWith(',')) bytes = bytes.sliced(1);
    }
    if (ok_ && !bytes.isEmpty()) {
      ok_ = std::fwrite(bytes.data(), 1, static_cast<size_t>(bytes.size()), stdout) ==
            static_cast<size_t>(bytes.size());
    }
  }

  void Put(char c) { *p_++ = c; }
  void Put(QByteArrayView bytes) {
    std::memcpy(p_, bytes.data(), static_cast<size_t>(bytes.size()));
    p_ += bytes.size();
  }
  void Number(int n) { p_ = std::to_chars(p_, p_ + 12, n).ptr; }
  void Talents(const NameGrids& g) {
    for (const Element e : g.talents) {
      if (e != Element::kNone) Put(elements_[static_cast<int>(e)]);
    }
  }

  Format format_;
  QByteArray surname_;
  QByteArray text_;
  char* p_ = nullptr;  // where Add writes
  bool ok_ = true;
  bool opened_ = false;  // the JSON array's bracket is written
  QStringEncoder encoder_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
  std::array<QByteArray, 7> ratings_;
  std::array<QByteArray, 5> elements_;
};

// Reads a whole file, or standard input for "-".
QByteArray ReadInput(const QString& path) {
  QFile file;
  bool opened;
  if (path == QStringLiteral("-")) {
    opened = file.open(stdin, QIODevice::ReadOnly);
  } else {
    file.setFileName(path);
    opened = file.open(QIODevice::ReadOnly);
  }
  QByteArray bytes;
  if (opened) bytes = file.readAll();
  if (!opened || file.error() != QFileDevice::NoError) {
    throw FileError(QStringLiteral("tessaly-cli names: cannot read %1: %2")
                        .arg(path == QStringLiteral("-") ? QStringLiteral("standard input") : path,
                             file.errorString()));
  }
  return bytes;
}

// The character list of --chars.
QStringList ReadCharacterList(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw FileError(
        QStringLiteral("tessaly-cli names: cannot read %1: %2").arg(path, file.errorString()));
  }
  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString text = decoder.decode(file.readAll());
  if (decoder.hasError()) {
    throw FileError(QStringLiteral("tessaly-cli names: %1 is not UTF-8").arg(path));
  }
  const QStringList chars = CharacterList(text);
  if (chars.isEmpty()) {
    throw FileError(QStringLiteral("tessaly-cli names: %1 holds no characters").arg(path));
  }
  return chars;
}

}  // namespace

int RunNames(const QStringList& args, QByteArray& out) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
  const QCommandLineOption surname_opt(QStringLiteral("surname"), {}, QStringLiteral("TEXT"));
  const QCommandLineOption kind_opt(QStringLiteral("surname-kind"), {}, QStringLiteral("KIND"));
  const QCommandLineOption sort_opt(QStringLiteral("sort"));
  const QCommandLineOption min_opt(QStringLiteral("min-rating"), {}, QStringLiteral("WORD"));
  const QCommandLineOption format_opt(QStringLiteral("format"), {}, QStringLiteral("FORMAT"),
                                      QStringLiteral("tsv"));
  const QCommandLineOption generate_opt(QStringLiteral("generate"));
  const QCommandLineOption length_opt(QStringLiteral("length"), {}, QStringLiteral("N"));
  const QCommandLineOption fixed_opt(QStringLiteral("fixed"), {}, QStringLiteral("CHAR"));
  const QCommandLineOption position_opt(QStringLiteral("position"), {}, QStringLiteral("N"));
  const QCommandLineOption chars_opt(QStringLiteral("chars"), {}, QStringLiteral("FILE"));
  parser.addOptions({help, surname_opt, kind_opt, sort_opt, min_opt, format_opt, generate_opt,
                     length_opt, fixed_opt, position_opt, chars_opt});
  if (!parser.parse(QStringList{QStringLiteral("tessaly-cli names")} + args)) {
    return BadOption(parser.errorText());
  }
  if (parser.isSet(help)) {
    out = kUsage;
    return 0;
  }
  const QString surname = WithoutSingleBytes(parser.value(surname_opt));
  const qsizetype surname_chars = surname.toUcs4().size();
  if (!parser.isSet(surname_opt) || surname_chars < 1 || surname_chars > 2) {
    return BadOption(QStringLiteral("--surname takes one or two Chinese characters"));
  }
  SurnameKind kind = surname_chars == 1 ? SurnameKind::Single : SurnameKind::Compound;
  if (parser.isSet(kind_opt)) {
    const QString value = parser.value(kind_opt);
    if (value == QStringLiteral("单姓")) {
      kind = SurnameKind::Single;
    } else if (value == QStringLiteral("复姓")) {
      kind = SurnameKind::Compound;
    } else {
      return BadOption(QStringLiteral("--surname-kind takes 单姓 or 复姓"));
    }
  }
  int min_rank = 0;
  if (parser.isSet(min_opt)) {
    const Rating r = RatingOfText(parser.value(min_opt));
    if (r == Rating::kNone || RatingText(r) != parser.value(min_opt)) {
      return BadOption(QStringLiteral("--min-rating takes 大吉, 吉, 半吉, 中吉, 凶 or 大凶"));
    }
    min_rank = RatingRank(r);
  }
  Format format;
  if (parser.value(format_opt) == QStringLiteral("tsv")) {
    format = Format::kTsv;
  } else if (parser.value(format_opt) == QStringLiteral("json")) {
    format = Format::kJson;
  } else {
    return BadOption(QStringLiteral("--format takes tsv or json"));
  }

  const bool generate = parser.isSet(generate_opt);
  const QStringList positional = parser.positionalArguments();
  int length = 2;
  int position = 1;
  QString fixed;
  if (generate) {
    if (!positional.isEmpty()) {
      return BadOption(QStringLiteral("--generate reads no file ('%1')").arg(positional[0]));
    }
    if (parser.isSet(length_opt)) {
      const QString v = parser.value(length_opt);
      if (v != QStringLiteral("1") && v != QStringLiteral("2")) {
        return BadOption(QStringLiteral("--length takes 1 or 2"));
      }
      length = v.toInt();
    }
    if (parser.isSet(fixed_opt)) {
      fixed = parser.value(fixed_opt);
      if (fixed.toUcs4().size() != 1 || WithoutSingleBytes(fixed) != fixed) {
        return BadOption(QStringLiteral("--fixed takes one Chinese character"));
      }
      if (length != 2) return BadOption(QStringLiteral("--fixed needs --length 2"));
    }
    if (parser.isSet(position_opt)) {
      const QString v = parser.value(position_opt);
      if (fixed.isEmpty()) return BadOption(QStringLiteral("--position needs --fixed"));
      if (v != QStringLiteral("1") && v != QStringLiteral("2")) {
        return BadOption(QStringLiteral("--position takes 1 or 2"));
      }
      position = v.toInt();
    }
  } else {
    for (const QCommandLineOption* o : {&length_opt, &fixed_opt, &position_opt, &chars_opt}) {
      if (parser.isSet(*o)) {
        return BadOption(QStringLiteral("--%1 needs --generate").arg(o->names().first()));
      }
    }
    if (positional.size() > 1) {
      return BadOption(QStringLiteral("unexpected argument '%1'").arg(positional[1]));
    }
  }

  // Everything the scoring needs, read once.
  ReferenceStore store;
  store.Open(ReferenceStore::DefaultPath());
  const NameTables tables = NameTables::Load(store);
  store.Close();

  QSet<char32_t> warned;
  const auto warn_unknown = [&](const QString& unknown, const QString& where) {
    for (const char32_t ch : unknown.toUcs4()) {
      if (warned.contains(ch)) continue;
      warned.insert(ch);
      Warn(QStringLiteral("%1no stroke count for “%2”; the grids that need it are empty")
               .arg(where, QString::fromUcs4(&ch, 1)));
    }
  };
  QString unknown;
  tables.ScoreName({surname}, kind, &unknown);
  warn_unknown(unknown, QString());

  // The candidates, each known by a number: its place in the enumeration, or
  // where its line starts in the input.
  GivenNames generated;
  QByteArray input;
  QByteArrayView lines;
  if (generate) {
    generated = {parser.isSet(chars_opt) ? ReadCharacterList(parser.value(chars_opt))
                                         : DefaultCharacterList(),
                 length, fixed, position};
    for (const QString& ch : generated.chars + QStringList{fixed}) {
      unknown.clear();
      tables.ScoreName({ch}, kind, &unknown);
      warn_unknown(unknown, QString());
    }
  } else {
    input = ReadInput(positional.value(0, QStringLiteral("-")));
    lines = input;
    if (lines.startsWith("\xEF\xBB\xBF")) lines = lines.sliced(3);
  }
  const bool valid = lines.isValidUtf8();
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  std::vector<QChar> decoded;
  QString cleaned;
  // The given name of a line; empty for a line without one.
  const auto given_of = [&](QByteArrayView line) {
    decoded.resize(static_cast<size_t>(line.size()));  // never more UTF-16 units than bytes
    QStringView given =
        QStringView(decoded.data(), decoder.appendToBuffer(decoded.data(), line)).trimmed();
    // Single-byte characters are dropped, as from the name of a report.
    if (std::any_of(given.begin(), given.end(),
                    [](QChar c) { return GbkCharWidth(c.unicode()) == 1; })) {
      cleaned = WithoutSingleBytes(given.toString());
      given = cleaned;
    }
    return given;
  };
  const auto line_at = [&](qsizetype start) {
    const qsizetype end = lines.indexOf('\n', start);
    return lines.sliced(start, (end < 0 ? lines.size() : end) - start);
  };

  // Each candidate in turn (its number and given name), with a warning for a
  // line that is not UTF-8 or a character without a stroke count.
  const auto for_each = [&](const auto& visit) {
    if (generate) {
      for (qsizetype k = 0; k < generated.Count(); ++k) {
        const auto [a, b] = generated.At(k);
        visit(k, a, b, tables.ScoreName({surname, a, b}, kind));
      }
      return;
    }
    qsizetype number = 0;
    for (qsizetype start = 0; start < lines.size();) {
      ++number;
      const QByteArrayView line = line_at(start);
      const qsizetype here = start;
      start += line.size() + 1;
      if (!valid && !line.isValidUtf8()) {
        Warn(QStringLiteral("line %1 is not UTF-8; left out").arg(number));
        continue;
      }
      const QStringView given = given_of(line);
      if (given.isEmpty()) {
        // A blank line is passed over; one of letters or digits alone is named.
        if (!line.trimmed().isEmpty()) {
          Warn(QStringLiteral("line %1 has no Chinese characters; left out").arg(number));
        }
        continue;
      }
      unknown.clear();
      const NameScore s = tables.ScoreName({surname, given}, kind, &unknown);
      if (!unknown.isEmpty()) warn_unknown(unknown, QStringLiteral("line %1: ").arg(number));
      visit(here, given, QStringView(), s);
    }
  };
  Rows rows(surname, format);
  const auto keep = [min_rank](const NameScore& s) {
    return min_rank == 0 || s.LowestRank() >= min_rank;
  };

  if (generate || parser.isSet(sort_opt)) {
    // Highest score first, equal scores in their order: the candidates kept
    // are counted by score, then scored again in that order and written.
    std::vector<qsizetype> refs;
    std::vector<std::uint8_t> scores;
    for_each([&](qsizetype ref, QStringView, QStringView, const NameScore& s) {
      if (!keep(s)) return;
      refs.push_back(ref);
      scores.push_back(static_cast<std::uint8_t>(s.score));
    });
    for (const qsizetype i : OrderByScore(scores)) {
      if (!rows.ok()) break;
      const qsizetype ref = refs[static_cast<size_t>(i)];
      const auto [a, b] =
          generate ? generated.At(ref) : std::pair{given_of(line_at(ref)), QStringView()};
      rows.Add({a, b}, tables.ScoreName({surname, a, b}, kind));
    }
  } else {
    for_each([&](qsizetype, QStringView a, QStringView b, const NameScore& s) {
      if (keep(s) && rows.ok()) rows.Add({a, b}, s);
    });
  }
  if (!rows.Finish()) {
    Err(QStringLiteral("tessaly-cli: cannot write standard output: %1")
            .arg(QString::fromLocal8Bit(std::strerror(errno))));
    return 1;
  }
  return 0;
}

}  // namespace tessaly::cli
