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

void FlatButton3Click(const MainInputs& in, ResultPanel& panel, ReferenceStore& store,
                      const Notify& notify) {
  const QString& name = in.FlatEdit1;
  const int length = GbkLength(name);
  const bool single = in.FlatButton2 == QStringLiteral("姓氏单姓");

  // Every run starts from empty grids: a grid this name cannot give stays empty
  // rather than showing the value of an earlier name.
  panel.Label14.clear();
  panel.Label15.clear();
  panel.Label16.clear();
  panel.Label17.clear();
  panel.Label18.clear();
  panel.Label20.clear();

  // The characters, two bytes each, and their stroke numbers.
  const std::array<QString*, 4> chars = {&panel.Label1, &panel.Label2, &panel.Label3,
                                         &panel.Label4};
  const std::array<QString*, 4> strokes = {&panel.Label5, &panel.Label6, &panel.Label7,
                                           &panel.Label8};
  // Pieces of two bytes each, cut on whole characters: a piece that would end in
  // the middle of a character stops before it, and the next piece starts there.
  QString rest = name;
  for (int i = 0; i < 4; ++i) {
    *chars[i] = GbkLeft(rest, 2);
    rest.remove(0, chars[i]->size());
  }
  const QString number_column = QStringLiteral("数字");
  QStringList unknown;  // characters the store has no stroke count for
  for (int i = 0; i < 4; ++i) {
    *strokes[i] = chars[i]->isEmpty()
                      ? QString()
                      : store.LookupField(Statement{Table::Strokes, *chars[i]}, number_column);
    if (!chars[i]->isEmpty() && strokes[i]->isEmpty()) unknown << *chars[i];
  }
  // The grids that need such a character stay empty; the reading goes on.
  unknown.removeDuplicates();
  if (!unknown.isEmpty() && notify) {
    notify(QStringLiteral("字库中查不到“%1”的笔画数，姓名中与之相关的格将留空。")
               .arg(unknown.join(QStringLiteral("”“"))));
  }
  const QString& s1 = panel.Label5;
  const QString& s2 = panel.Label6;
  const QString& s3 = panel.Label7;
  const QString& s4 = panel.Label8;

  // The five grids.
  if (single) {
    panel.Label14 = Grid({&s1}, 1);
    panel.Label15 = Grid({&s1, &s2});
    if (length == 4) {
      panel.Label16 = Grid({&s2}, 1);
      panel.Label17 = QStringLiteral("2");
    } else if (length == 6) {
      panel.Label16 = Grid({&s2, &s3});
      panel.Label17 = Grid({&s3}, 1);
    } else if (length == 8) {
      panel.Label16 = Grid({&s2, &s3, &s4});
      panel.Label17 = Grid({&s4}, 1);
    }
  } else {
    panel.Label14 = Grid({&s1, &s2});
    panel.Label15 = Grid({&s2, &s3});
    if (length == 6) {
      panel.Label16 = Grid({&s3}, 1);
      panel.Label17 = QStringLiteral("2");
    } else if (length == 8) {
      panel.Label16 = Grid({&s3, &s4});
      panel.Label17 = Grid({&s1, &s4});
    }
  }
  if (length == 4) {
    panel.Label18 = Grid({&s1, &s2});
  } else if (length == 6) {
    panel.Label18 = Grid({&s1, &s2, &s3});
  } else if (length == 8) {
    panel.Label18 = Grid({&s1, &s2, &s3, &s4});
  }

  // Three talents: the elements of heaven, person and earth.
  const QString heaven = ElementOf(panel.Label14);
  const QString person = ElementOf(panel.Label15);
  const QString earth = ElementOf(panel.Label16);
  panel.Label20 = heaven + person + earth;

  QStringList& memo = panel.FlatMemo1;
  memo.clear();
  AddLine(memo, QStringLiteral("\r\n    【※姓名祸福预测】"));
  AddLine(memo, QString());

  // The verdict needs all three elements.
  const QString verdict =
      (heaven.isEmpty() || person.isEmpty() || earth.isEmpty())
          ? QString()
          : store.LookupField(Statement{Table::SanCai, panel.Label20}, QStringLiteral("吉凶"));
  AddLine(memo, QStringLiteral("    ") + verdict);
  AddLine(memo, QString());

  // The total grid is read within 1 to 81: a total above 81 counts once more
  // from 1 (82 becomes 1).
  QString total_text;
  if (!panel.Label18.isEmpty()) {
    const int total = StrToInt(panel.Label18);
    if (total > 81) panel.Label18 = QString::number(total - 81);
    total_text =
        store.LookupField(Statement{Table::EightyOne, panel.Label18}, QStringLiteral("内容"));
  }
  AddLine(memo, QStringLiteral("    ") + total_text);
  AddLine(memo, QString());

  AddLine(memo, QStringLiteral("    该姓名三才：") + panel.Label20);
  AddLine(memo, QStringLiteral("    总格：") + panel.Label18 + QStringLiteral("； 天格：") +
                    panel.Label14 + QStringLiteral("； 人格：") + panel.Label15 +
                    QStringLiteral("； 地格：") + panel.Label16 + QStringLiteral("； 外格：") +
                    panel.Label17);
}

}  // namespace tessaly
