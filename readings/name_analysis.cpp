// The name reading (测算姓名): stroke counts of the name's characters, the five
// grids, the three-talents elements and the two verdict texts.

#include <array>

#include "core/dates.h"
#include "core/text.h"
#include "readings/readings.h"
#include "store/reference_store.h"

namespace tessaly {

namespace {

// The element of a grid by the last digit of its text (1 2 木, 3 4 火, 5 6 土,
// 7 8 金, 9 0 水); empty for an empty grid.
QString ElementOf(const QString& grid) {
  static constexpr char16_t kByDigit[] = u"水木木火火土土金金水";
  const int digit = grid.isEmpty() ? -1 : grid.back().digitValue();
  if (digit < 0) return {};
  return QString(QChar(kByDigit[digit]));
}

// A grid computed from stroke texts: the sum of the strokes plus a constant, or
// nothing when one of the stroke texts is empty (the character is missing or
// was not found).
QString Grid(std::initializer_list<const QString*> strokes, int plus = 0) {
  int sum = plus;
  for (const QString* s : strokes) {
    if (s->isEmpty()) return {};
  }
  for (const QString* s : strokes) sum += StrToInt(*s);
  return QString::number(sum);
}

}  // namespace

NameResult ReadName(const Person& person, ReferenceStore& store, const Notify& notify) {
  const QString& name = person.name;
  const int length = GbkLength(name);
  const bool single = person.surname_kind == SurnameKind::Single;
  NameResult r;

  // Pieces of two bytes each, cut on whole characters: a piece that would end in
  // the middle of a character stops before it, and the next piece starts there.
  QString rest = name;
  for (QString& piece : r.characters) {
    piece = GbkLeft(rest, 2);
    rest.remove(0, piece.size());
  }
  const QString number_column = QStringLiteral("数字");
  QStringList unknown;  // characters the store has no stroke count for
  for (int i = 0; i < 4; ++i) {
    r.strokes[i] =
        r.characters[i].isEmpty()
            ? QString()
            : store.LookupField(Statement{Table::Strokes, r.characters[i]}, number_column);
    if (!r.characters[i].isEmpty() && r.strokes[i].isEmpty()) unknown << r.characters[i];
  }
  // The grids that need such a character stay empty; the reading goes on.
  unknown.removeDuplicates();
  if (!unknown.isEmpty() && notify) {
    notify(QStringLiteral("字库中查不到“%1”的笔画数，姓名中与之相关的格将留空。")
               .arg(unknown.join(QStringLiteral("”“"))));
  }
  const auto& [s1, s2, s3, s4] = r.strokes;

  // The five grids.
  if (single) {
    r.heaven = Grid({&s1}, 1);
    r.person = Grid({&s1, &s2});
    if (length == 4) {
      r.earth = Grid({&s2}, 1);
      r.outer = QStringLiteral("2");
    } else if (length == 6) {
      r.earth = Grid({&s2, &s3});
      r.outer = Grid({&s3}, 1);
    } else if (length == 8) {
      r.earth = Grid({&s2, &s3, &s4});
      r.outer = Grid({&s4}, 1);
    }
  } else {
    r.heaven = Grid({&s1, &s2});
    r.person = Grid({&s2, &s3});
    if (length == 6) {
      r.earth = Grid({&s3}, 1);
      r.outer = QStringLiteral("2");
    } else if (length == 8) {
      r.earth = Grid({&s3, &s4});
      r.outer = Grid({&s1, &s4});
    }
  }
  if (length == 4) {
    r.total = Grid({&s1, &s2});
  } else if (length == 6) {
    r.total = Grid({&s1, &s2, &s3});
  } else if (length == 8) {
    r.total = Grid({&s1, &s2, &s3, &s4});
  }

  // Three talents: the elements of heaven, person and earth.
  const QString heaven = ElementOf(r.heaven);
  const QString person_element = ElementOf(r.person);
  const QString earth = ElementOf(r.earth);
  r.talents = heaven + person_element + earth;

  QStringList& lines = r.section;
  AddLine(lines, QString());

  // The verdict needs all three elements.
  const QString verdict =
      (heaven.isEmpty() || person_element.isEmpty() || earth.isEmpty())
          ? QString()
          : store.LookupField(Statement{Table::SanCai, r.talents}, QStringLiteral("吉凶"));
  AddLine(lines, QStringLiteral("    ") + verdict);
  AddLine(lines, QString());

  // The total grid is read within 1 to 81: a total above 81 counts once more
  // from 1 (82 becomes 1).
  QString total_text;
  if (!r.total.isEmpty()) {
    const int total = StrToInt(r.total);
    if (total > 81) r.total = QString::number(total - 81);
    total_text = store.LookupField(Statement{Table::EightyOne, r.total}, QStringLiteral("内容"));
  }
  AddLine(lines, QStringLiteral("    ") + total_text);
  AddLine(lines, QString());

  AddLine(lines, QStringLiteral("    该姓名三才：") + r.talents);
  AddLine(lines, QStringLiteral("    总格：") + r.total + QStringLiteral("； 天格：") + r.heaven +
                     QStringLiteral("； 人格：") + r.person + QStringLiteral("； 地格：") +
                     r.earth + QStringLiteral("； 外格：") + r.outer);
  return r;
}

}  // namespace tessaly
