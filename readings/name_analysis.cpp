// SPDX-License-Identifier: GPL-3.0-or-later
// The name reading (测算姓名): stroke counts of the name's characters, the five
// grids, the three-talents elements and the two verdict texts.

#include <array>

#include "core/dates.h"
#include "core/text.h"
#include "readings/name_score.h"
#include "readings/readings.h"
#include "store/reference_store.h"

namespace tessaly {

NameResult ReadName(const Person& person, ReferenceStore& store, const Notify& notify) {
  const QString& name = person.name;
  const int length = GbkLength(name);
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
  // The five grids and the three talents. A name with a single-byte character
  // left in it has no length the grids know: only heaven and person apply.
  const auto stroke_count = [](const QString& s) { return s.isEmpty() ? kNoValue : StrToInt(s); };
  const auto& [s1, s2, s3, s4] = r.strokes;
  const NameGrids grids =
      NameGridsOf({stroke_count(s1), stroke_count(s2), stroke_count(s3), stroke_count(s4)},
                  length % 2 == 0 ? length / 2 : 0, person.surname_kind);
  const auto grid_text = [](int grid) {
    return grid == kNoValue ? QString() : QString::number(grid);
  };
  r.heaven = grid_text(grids.heaven);
  r.person = grid_text(grids.person);
  r.earth = grid_text(grids.earth);
  r.outer = grid_text(grids.outer);
  r.total = grid_text(grids.total);
  r.talents = grids.TalentsText();

  QStringList& lines = r.section;
  AddLine(lines, QString());

  // The verdict needs all three elements.
  const QString verdict =
      r.talents.size() < 3
          ? QString()
          : store.LookupField(Statement{Table::SanCai, r.talents}, QStringLiteral("吉凶"));
  AddLine(lines, QStringLiteral("    ") + verdict);
  AddLine(lines, QString());

  // The total grid is read within 1 to 81 (82 counts as 1).
  QString total_text;
  if (!r.total.isEmpty()) {
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
