// SPDX-License-Identifier: GPL-3.0-or-later
// The name reading (测算姓名): stroke counts of the name's characters, the five
// grids, the three-talents elements and the two verdict texts.

#include <array>
#include <optional>

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
  std::array<int, 4> counts{kNoValue, kNoValue, kNoValue, kNoValue};
  for (int i = 0; i < 4; ++i) {
    if (r.characters[i].isEmpty()) continue;
    const QString text =
        store.LookupField(Statement{Table::Strokes, r.characters[i]}, number_column);
    if (text.isEmpty()) {
      unknown << r.characters[i];
    } else {
      counts[i] = StrToInt(text);
      r.strokes[i] = counts[i];
    }
  }
  // The grids that need such a character stay empty; the reading goes on.
  unknown.removeDuplicates();
  if (!unknown.isEmpty() && notify) {
    notify(QStringLiteral("字库中查不到“%1”的笔画数，姓名中与之相关的格将留空。")
               .arg(unknown.join(QStringLiteral("”“"))));
  }
  // The five grids and the three talents. A name with a single-byte character
  // left in it has no length the grids know: only heaven and person apply.
  const NameGrids grids =
      NameGridsOf(counts, length % 2 == 0 ? length / 2 : 0, person.surname_kind);
  const auto grid = [](int value) {
    return value == kNoValue ? std::nullopt : std::optional<int>(value);
  };
  r.heaven = grid(grids.heaven);
  r.person = grid(grids.person);
  r.earth = grid(grids.earth);
  r.outer = grid(grids.outer);
  r.total = grid(grids.total);
  r.talents = grids.TalentsText();
  const NameScore rated = ScoreGrids(grids, store);
  r.total_rating = rated.total;
  r.person_rating = rated.person;
  r.earth_rating = rated.earth;
  r.outer_rating = rated.outer;
  r.talents_rating = rated.talents;
  r.score = rated.score;

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
  const auto text = [](const std::optional<int>& value) {
    return value ? QString::number(*value) : QString();
  };
  QString total_text;
  if (r.total) {
    total_text =
        store.LookupField(Statement{Table::EightyOne, text(r.total)}, QStringLiteral("内容"));
  }
  AddLine(lines, QStringLiteral("    ") + total_text);
  AddLine(lines, QString());

  AddLine(lines, QStringLiteral("    该姓名三才：") + r.talents);
  AddLine(lines, QStringLiteral("    总格：") + text(r.total) + QStringLiteral("； 天格：") +
                     text(r.heaven) + QStringLiteral("； 人格：") + text(r.person) +
                     QStringLiteral("； 地格：") + text(r.earth) + QStringLiteral("； 外格：") +
                     text(r.outer));
  return r;
}

}  // namespace tessaly
