// SPDX-License-Identifier: GPL-3.0-or-later
// tessaly-cli names: scores candidate given names for a surname, read one per
// line from a file or standard input, or generated from a character list. Each
// name gives one line (TSV) or one object (JSON) with its five grids, three
// talents, their ratings and the score; see readings/name_score.h.
//
// Three parts: the options (ReadNamesOptions), the walk over the candidates
// (Candidates, one line or generated name at a time) and the writer (Rows).
// Unlike the other commands it writes as it goes, in pieces of about a
// megabyte, and holds no more of its input than the line it reads: its memory
// does not grow with the input. With --sort (and always with --generate) it
// keeps, for each name kept, only what the sorted output needs: the given name
// (a read one) or one byte of score per candidate (a generated one).

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

constexpr char kCommand[] = "names";

// More generated names than this are refused: their scores alone would take
// a byte each, and the run hours.
constexpr qsizetype kMostGenerated = 100'000'000;

// A line longer than this holds no name; it is named and passed over without
// being held whole.
constexpr qsizetype kLongestLine = 1 << 16;

void Warn(const QString& message) { Err(Program(kCommand) + QStringLiteral(": ") + message); }

enum class Format { kTsv, kJson };

// What the options ask for.
struct NamesRequest {
  QString surname;
  SurnameKind kind = SurnameKind::Single;
  bool sort = false;
  int min_rank = 0;  // 0: every name
  Format format = Format::kTsv;
  bool generate = false;
  int length = 2;
  QString fixed;
  int position = 1;
  QString chars_file;  // empty: the shipped list
  QString input;       // a file, or "-" for standard input
};

QList<QCommandLineOption> NamesOptions() {
  return {
      ValueOption("surname", "TEXT", QStringLiteral("the surname, one or two characters")),
      ValueOption("surname-kind", "KIND",
                  QStringLiteral("单姓 or 复姓 (default 单姓 for one character, 复姓 for two)")),
      FlagOption("sort", QStringLiteral("highest score first (equal scores keep their order)")),
      ValueOption("min-rating", "WORD",
                  QStringLiteral("keep the names whose four grid ratings and 三才 rating all "
                                 "reach WORD: 大吉, 吉, 半吉 (or 中吉), 凶, 大凶")),
      ValueOption("format", "FORMAT", QStringLiteral("tsv or json (default tsv)")),
      FlagOption("generate", QStringLiteral("enumerate given names instead of reading them "
                                            "(sorted), with --length, --fixed, --position, "
                                            "--chars")),
      ValueOption("length", "N",
                  QStringLiteral("characters of a generated given name, 1 or 2 "
                                 "(default 2)")),
      ValueOption("fixed", "CHAR",
                  QStringLiteral("a generation character in every generated name (--length 2)")),
      ValueOption("position", "N",
                  QStringLiteral("where the generation character stands, 1 or 2 (default 1)")),
      ValueOption("chars", "FILE",
                  QStringLiteral("the characters to combine (default: the shipped list of "
                                 "characters common in given names); at most 100000000 names")),
  };
}

// One of the words an option takes, or -1.
int Choice(const QString& value, std::initializer_list<const char16_t*> words) {
  int i = 0;
  for (const char16_t* w : words) {
    if (value == QStringView(w)) return i;
    ++i;
  }
  return -1;
}

// The options as a request; the message for a value an option does not take.
QString ReadNamesOptions(const QCommandLineParser& parser, NamesRequest& r) {
  const auto set = [&parser](const char* name) { return parser.isSet(QLatin1String(name)); };
  const auto value = [&parser](const char* name) { return parser.value(QLatin1String(name)); };
  r.surname = WithoutSingleBytes(value("surname"));
  const qsizetype surname_chars = r.surname.toUcs4().size();
  if (!set("surname") || surname_chars < 1 || surname_chars > 2) {
    return QStringLiteral("--surname takes one or two Chinese characters");
  }
  r.kind = surname_chars == 1 ? SurnameKind::Single : SurnameKind::Compound;
  if (set("surname-kind")) {
    const int k = Choice(value("surname-kind"), {u"单姓", u"复姓"});
    if (k < 0) return QStringLiteral("--surname-kind takes 单姓 or 复姓");
    r.kind = k == 0 ? SurnameKind::Single : SurnameKind::Compound;
  }
  r.sort = set("sort");
  if (set("min-rating")) {
    const Rating rating = RatingOfText(value("min-rating"));
    if (rating == Rating::kNone || RatingText(rating) != value("min-rating")) {
      return QStringLiteral("--min-rating takes 大吉, 吉, 半吉, 中吉, 凶 or 大凶");
    }
    r.min_rank = RatingRank(rating);
  }
  if (set("format")) {
    const int f = Choice(value("format"), {u"tsv", u"json"});
    if (f < 0) return QStringLiteral("--format takes tsv or json");
    r.format = f == 0 ? Format::kTsv : Format::kJson;
  }

  r.generate = set("generate");
  const QStringList positional = parser.positionalArguments();
  if (!r.generate) {
    for (const char* o : {"length", "fixed", "position", "chars"}) {
      if (set(o)) return QStringLiteral("--%1 needs --generate").arg(QLatin1String(o));
    }
    if (positional.size() > 1) {
      return QStringLiteral("unexpected argument '%1'").arg(positional[1]);
    }
    r.input = positional.value(0, QStringLiteral("-"));
    if (r.input.isEmpty())
      return QStringLiteral("FILE is empty: name a file, or - for standard input");
    return {};
  }
  if (!positional.isEmpty()) {
    return QStringLiteral("--generate reads no file ('%1')").arg(positional[0]);
  }
  if (set("length")) {
    const int n = Choice(value("length"), {u"1", u"2"});
    if (n < 0) return QStringLiteral("--length takes 1 or 2");
    r.length = n + 1;
  }
  if (set("fixed")) {
    r.fixed = value("fixed");
    if (r.fixed.toUcs4().size() != 1 || WithoutSingleBytes(r.fixed) != r.fixed) {
      return QStringLiteral("--fixed takes one Chinese character");
    }
    if (r.length != 2) return QStringLiteral("--fixed needs --length 2");
  }
  if (set("position")) {
    if (r.fixed.isEmpty()) return QStringLiteral("--position needs --fixed");
    const int n = Choice(value("position"), {u"1", u"2"});
    if (n < 0) return QStringLiteral("--position takes 1 or 2");
    r.position = n + 1;
  }
  if (set("chars")) {
    r.chars_file = value("chars");
    if (r.chars_file.isEmpty()) return QStringLiteral("--chars needs a file name");
  }
  return {};
}

// The output: one line (TSV) or object (JSON) per scored name, going to
// standard output in pieces of about a megabyte as it is made. Every write
// into the buffer first makes room for itself (Room), so none can overrun,
// whatever the length of a name.
class Rows {
 public:
  Rows(const QString& surname, Format format) : format_(format), surname_(surname.toUtf8()) {
    for (int r = 0; r <= static_cast<int>(Rating::kGreatGood); ++r) {
      ratings_[r] = RatingText(static_cast<Rating>(r)).toUtf8();
    }
    for (int e = 0; e < 5; ++e) {
      elements_[e] = QString(ElementChar(static_cast<Element>(e))).toUtf8();
    }
    Room(kPiece + 4096);
  }

  // False once writing has failed.
  bool ok() const { return ok_; }

  // One name: the surname, then the given name in pieces.
  void Add(std::initializer_list<QStringView> given, const NameScore& s) {
    const bool json = format_ == Format::kJson;
    if (json) Put(",\n{\"name\":\"");
    Put(surname_);
    for (const QStringView piece : given) Text(piece);
    const NameGrids& g = s.grids;
    if (json) {
      Put('"');
      for (const auto& [key, grid] : {std::pair{",\"total\":", g.total},
                                      {",\"heaven\":", g.heaven},
                                      {",\"person\":", g.person},
                                      {",\"earth\":", g.earth},
                                      {",\"outer\":", g.outer}}) {
        Put(key);
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
    if (Used() >= kPiece) Flush();
  }

  // Writes what is left, and the end of the JSON array. True when all is written.
  bool Finish() {
    Flush();
    if (format_ == Format::kJson) Write(QByteArrayLiteral("\n]\n"));
    return ok_ && std::fflush(stdout) == 0;
  }

 private:
  static constexpr qsizetype kPiece = 1 << 20;

  qsizetype Used() const { return p_ - text_.constData(); }
  void Flush() {
    Write(QByteArrayView(text_.constData(), Used()));
    p_ = text_.data();
  }

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

  // At least n free bytes from p_ on: the buffer grows when it must.
  void Room(qsizetype n) {
    if (end_ - p_ >= n) return;
    const qsizetype used = p_ == nullptr ? 0 : Used();
    text_.resize(std::max(2 * text_.size(), used + n));
    p_ = text_.data() + used;
    end_ = text_.data() + text_.size();
  }
  void Put(char c) {
    Room(1);
    *p_++ = c;
  }
  void Put(QByteArrayView bytes) {
    Room(bytes.size());
    std::memcpy(p_, bytes.data(), static_cast<size_t>(bytes.size()));
    p_ += bytes.size();
  }
  // UTF-8 of a piece of name: the room is the encoder's own bound for it.
  void Text(QStringView piece) {
    Room(encoder_.requiredSpace(piece.size()));
    p_ = encoder_.appendToBuffer(p_, piece);
  }
  void Number(int n) {
    Room(12);  // an int has at most 11 characters
    p_ = std::to_chars(p_, end_, n).ptr;
  }
  void Talents(const NameGrids& g) {
    for (const Element e : g.talents) {
      if (e != Element::kNone) Put(elements_[static_cast<int>(e)]);
    }
  }

  Format format_;
  QByteArray surname_;
  QByteArray text_;
  char* p_ = nullptr;    // where the next byte goes
  char* end_ = nullptr;  // the end of text_
  bool ok_ = true;
  bool opened_ = false;  // the JSON array's bracket is written
  QStringEncoder encoder_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
  std::array<QByteArray, 7> ratings_;
  std::array<QByteArray, 5> elements_;
};

// A character a line must not hold: C0 but TAB, DEL, C1, the bidirectional
// controls and the line and paragraph separators (see IsControlCharacter).
// Single-byte ones would be dropped with the other single-byte characters, but
// a line that holds one is not a list of names.
bool HoldsControl(QStringView text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) {
    return c != u'\r' && IsControlCharacter(c.unicode());  // CR of a CR LF line end
  });
}

// The candidates read from a file or standard input, a line at a time.
class InputLines {
 public:
  explicit InputLines(const QString& path) : path_(path) {
    const bool opened = path == QStringLiteral("-")
                            ? file_.open(stdin, QIODevice::ReadOnly)
                            : (file_.setFileName(path), file_.open(QIODevice::ReadOnly));
    if (!opened) Fail();
    buffer_.resize(kChunk);
  }

  // The next line without its LF, and its number; false at the end.
  bool Next(QByteArrayView& line, qsizetype& number, bool& too_long) {
    too_long = false;
    line_.resize(0);
    for (;;) {
      if (at_ == filled_) {
        if (eof_) {
          if (line_.isEmpty() && !too_long) return false;
          break;
        }
        Refill();
        continue;
      }
      const char* begin = buffer_.constData() + at_;
      const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', filled_ - at_));
      const qsizetype n = lf != nullptr ? lf - begin : filled_ - at_;
      if (!too_long && line_.size() + n <= kLongestLine) {
        line_.append(begin, n);
      } else {
        too_long = true;
        line_.resize(0);
      }
      at_ += n + (lf != nullptr ? 1 : 0);
      if (lf != nullptr) break;
    }
    number = ++number_;
    line = line_;
    if (number == 1 && line.startsWith("\xEF\xBB\xBF")) line = line.sliced(3);
    return true;
  }

 private:
  static constexpr qsizetype kChunk = 1 << 16;

  void Refill() {
    const qint64 n = file_.read(buffer_.data(), kChunk);
    if (n < 0) Fail();
    at_ = 0;
    filled_ = n;
    eof_ = n == 0;
  }
  [[noreturn]] void Fail() {
    throw FileError(
        QStringLiteral("cannot read %1: %2")
            .arg(path_ == QStringLiteral("-") ? QStringLiteral("standard input") : path_,
                 file_.errorString()));
  }

  QString path_;
  QFile file_;
  QByteArray buffer_;
  QByteArray line_;
  qsizetype at_ = 0;
  qsizetype filled_ = 0;
  bool eof_ = false;
  qsizetype number_ = 0;
};

// The character list of --chars.
QStringList ReadCharacterList(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw FileError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
  }
  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString text = decoder.decode(file.readAll());
  if (decoder.hasError()) throw FileError(QStringLiteral("%1 is not UTF-8").arg(path));
  const QStringList chars = CharacterList(text);
  if (chars.isEmpty()) throw FileError(QStringLiteral("%1 holds no characters").arg(path));
  return chars;
}

// The walk over the candidates: the tables the scores need, the warnings about
// characters without a stroke count (each once), and for read names the
// decoding and checking of each line.
class Candidates {
 public:
  explicit Candidates(const NamesRequest& r) : r_(r) {
    ReferenceStore store;
    store.Open(ReferenceStore::DefaultPath());
    tables_ = NameTables::Load(store);
    store.Close();
    WarnUnknown(r.surname);
  }

  NameScore Score(QStringView a, QStringView b = {}) const {
    return tables_.ScoreName({r_.surname, a, b}, r_.kind);
  }

  // The generated names, after a warning for each character of the list
  // without a stroke count. Raises Error when there would be too many.
  GivenNames Generated() {
    GivenNames names{
        r_.chars_file.isEmpty() ? DefaultCharacterList() : ReadCharacterList(r_.chars_file),
        r_.length, r_.fixed, r_.position};
    if (names.Count() > kMostGenerated) {
      throw Error(QStringLiteral("the character list makes %1 names; at most %2 can be generated")
                      .arg(names.Count())
                      .arg(kMostGenerated));
    }
    for (const QString& ch : names.chars + QStringList{r_.fixed}) WarnUnknown(ch);
    return names;
  }

  // Each name read, in turn: visit(given name, its score). A line that is not
  // UTF-8, holds a control character or no Chinese character, or is too long,
  // is named and left out; a blank line is passed over.
  template <typename Visit>
  void ForEachRead(const Visit& visit) {
    InputLines input(r_.input);
    QByteArrayView line;
    qsizetype number = 0;
    bool too_long = false;
    while (input.Next(line, number, too_long)) {
      if (too_long) {
        Warn(QStringLiteral("line %1 is longer than %2 bytes; left out")
                 .arg(number)
                 .arg(kLongestLine));
        continue;
      }
      if (!line.isValidUtf8()) {
        Warn(QStringLiteral("line %1 is not UTF-8; left out").arg(number));
        continue;
      }
      decoded_.resize(static_cast<size_t>(line.size()));  // never more UTF-16 units than bytes
      QStringView given =
          QStringView(decoded_.data(), decoder_.appendToBuffer(decoded_.data(), line));
      if (HoldsControl(given)) {
        Warn(QStringLiteral("line %1 holds a control character; left out").arg(number));
        continue;
      }
      given = given.trimmed();
      // Single-byte characters are dropped, as from the name of a report.
      if (std::any_of(given.begin(), given.end(),
                      [](QChar c) { return GbkCharWidth(c.unicode()) == 1; })) {
        cleaned_ = WithoutSingleBytes(given.toString());
        given = cleaned_;
      }
      if (given.isEmpty()) {
        // A blank line is passed over; one of letters or digits alone is named.
        if (!line.trimmed().isEmpty()) {
          Warn(QStringLiteral("line %1 has no Chinese characters; left out").arg(number));
        }
        continue;
      }
      unknown_.clear();
      const NameScore s = tables_.ScoreName({r_.surname, given}, r_.kind, &unknown_);
      if (!unknown_.isEmpty()) WarnEach(unknown_, QStringLiteral("line %1: ").arg(number));
      visit(given, s);
    }
  }

 private:
  // Names each character of the piece without a stroke count, once.
  void WarnUnknown(QStringView piece) {
    unknown_.clear();
    tables_.ScoreName({piece}, r_.kind, &unknown_);
    WarnEach(unknown_, QString());
  }
  void WarnEach(const QString& unknown, const QString& where) {
    for (const char32_t ch : unknown.toUcs4()) {
      if (warned_.contains(ch)) continue;
      warned_.insert(ch);
      Warn(QStringLiteral("%1no stroke count for “%2”; the grids that need it are empty")
               .arg(where, QString::fromUcs4(&ch, 1)));
    }
  }

  const NamesRequest& r_;
  NameTables tables_;
  QSet<char32_t> warned_;
  QString unknown_;
  QStringDecoder decoder_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
  std::vector<QChar> decoded_;
  QString cleaned_;
};

// Writes the candidates the request keeps, in its order. False when writing failed.
bool WriteNames(const NamesRequest& r, Candidates& candidates, Rows& rows) {
  const auto keep = [&r](const NameScore& s) {
    return r.min_rank == 0 || s.LowestRank() >= r.min_rank;
  };
  if (r.generate) {
    // One byte per generated name, its score (kDropped when not kept); then
    // the names of each score, highest first, scored again as they are written.
    constexpr std::uint8_t kDropped = 0xff;
    const GivenNames names = candidates.Generated();
    std::vector<std::uint8_t> scores(static_cast<size_t>(names.Count()));
    for (qsizetype k = 0; k < names.Count(); ++k) {
      const auto [a, b] = names.At(k);
      const NameScore s = candidates.Score(a, b);
      scores[static_cast<size_t>(k)] = keep(s) ? static_cast<std::uint8_t>(s.score) : kDropped;
    }
    const std::uint8_t* data = scores.data();
    const size_t count = scores.size();
    for (int score = 100; score >= 0 && rows.ok(); --score) {
      for (const auto* p = static_cast<const std::uint8_t*>(std::memchr(data, score, count));
           p != nullptr && rows.ok();
           p = static_cast<const std::uint8_t*>(
               std::memchr(p + 1, score, count - static_cast<size_t>(p + 1 - data)))) {
        const auto [a, b] = names.At(p - data);
        rows.Add({a, b}, candidates.Score(a, b));
      }
    }
  } else if (r.sort) {
    // The given names kept, as UTF-8 lines, one bucket per score: each bucket
    // is in input order, so writing them from 100 down keeps equal scores in order.
    std::array<QByteArray, 101> buckets;
    candidates.ForEachRead([&](QStringView given, const NameScore& s) {
      if (!keep(s)) return;
      QByteArray& bucket = buckets[static_cast<size_t>(s.score)];
      bucket += given.toUtf8();
      bucket += '\n';
    });
    for (int score = 100; score >= 0 && rows.ok(); --score) {
      QByteArray& bucket = buckets[static_cast<size_t>(score)];
      for (qsizetype at = 0; at < bucket.size() && rows.ok();) {
        const qsizetype end = bucket.indexOf('\n', at);
        const QString given = QString::fromUtf8(bucket.constData() + at, end - at);
        at = end + 1;
        rows.Add({given}, candidates.Score(given));
      }
      bucket = QByteArray();
    }
  } else {
    candidates.ForEachRead([&](QStringView given, const NameScore& s) {
      if (keep(s) && rows.ok()) rows.Add({given}, s);
    });
  }
  return rows.Finish();
}

}  // namespace

int RunNames(const QStringList& args, QByteArray& out) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Scores given names for the surname, one per line from FILE or standard input\n"
      "(or generated): one line each of the full name, 总格, 天格, 人格, 地格, 外格,\n"
      "三才, the ratings of 总格, 人格, 地格, 外格 and 三才, and the score (0..100)."));
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOptions(NamesOptions());
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QStringLiteral("the given names, one per line (default -, "
                                              "standard input)"),
                               QStringLiteral("[FILE|-]"));
  if (const int status = ParseArguments(parser, kCommand, args, out); status >= 0) return status;
  NamesRequest request;
  if (const QString message = ReadNamesOptions(parser, request); !message.isEmpty()) {
    return BadArguments(parser, kCommand, message);
  }
  Candidates candidates(request);
  Rows rows(request.surname, request.format);
  if (!WriteNames(request, candidates, rows)) {
    Err(Program(kCommand) + QStringLiteral(": cannot write standard output: ") +
        QString::fromLocal8Bit(std::strerror(errno)));
    return 1;
  }
  return 0;
}

}  // namespace tessaly::cli
