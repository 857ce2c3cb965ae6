// The name reading (测算姓名): stroke counts of the name's characters, the five
// grids, the three-talents elements and the two verdict texts.

#include <array>

#include "core/dates.h"
#include "core/text.h"
#include "readings/name_score.h"
#include "readings/readings.h"
#include "store/reference_store.h"

namespace tessaly {

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
  // The five grids and the three talents. A name with a single-byte character
  // left in it has no length the grids know: only heaven and person apply.
  const auto stroke_count = [](const QString& s) { return s.isEmpty() ? kNoValue : StrToInt(s); };
  const NameGrids grids = NameGridsOf({stroke_count(panel.Label5), stroke_count(panel.Label6),
                                       stroke_count(panel.Label7), stroke_count(panel.Label8)},
                                      length % 2 == 0 ? length / 2 : 0,
                                      single ? SurnameKind::kSingle : SurnameKind::kCompound);
  const auto grid_text = [](int grid) {
    return grid == kNoValue ? QString() : QString::number(grid);
  };
  panel.Label14 = grid_text(grids.heaven);
  panel.Label15 = grid_text(grids.person);
  panel.Label16 = grid_text(grids.earth);
  panel.Label17 = grid_text(grids.outer);
  panel.Label18 = grid_text(grids.total);
  panel.Label20 = grids.TalentsText();

  QStringList& memo = panel.FlatMemo1;
  memo.clear();
  AddLine(memo, QStringLiteral("\r\n    【※姓名祸福预测】"));
  AddLine(memo, QString());

  // The verdict needs all three elements.
  const QString verdict =
      panel.Label20.size() < 3
          ? QString()
          : store.LookupField(Statement{Table::SanCai, panel.Label20}, QStringLiteral("吉凶"));
  AddLine(memo, QStringLiteral("    ") + verdict);
  AddLine(memo, QString());

  // The total grid is read within 1 to 81 (82 counts as 1).
  QString total_text;
  if (!panel.Label18.isEmpty()) {
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
