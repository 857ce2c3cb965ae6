// The star-sign and zodiac-year forecasts. Each reading finds the birthday's
// sign, notes it on the result panel and writes its section into FlatMemo6 from
// the sign's block in the window's forecast texts (FlatMemo10, FlatMemo11).

#include "readings/readings.h"
#include "readings/signs.h"

namespace tessaly {

namespace {

// The lines strictly between the block's opening line (exactly the key) and its
// closing line (the key followed by "。"), each line found as the first match in
// the whole text. Empty when either line is missing or they stand the wrong way.
QStringList ForecastBlock(const QStringList& texts, const QString& key) {
  const qsizetype first = texts.indexOf(key);
  const qsizetype last = texts.indexOf(key + QStringLiteral("。"));
  if (first < 0 || last < 0 || last - 1 < first + 1) return {};
  return texts.mid(first + 1, last - first - 1);
}

}  // namespace

void FlatButton13Click(const MainInputs& in, ResultPanel& panel) {
  const QString sign = StarSignOf(in.DateTimePicker1.date);
  panel.Label51 = sign;

  QStringList& memo = panel.FlatMemo6;
  memo.clear();
  AddLine(memo, QStringLiteral("\r\n    【※今年星座运程】"));
  AddLine(memo, QString());
  AddLine(memo, QStringLiteral("    你是") + sign + QStringLiteral("。"));
  // Star-sign blocks carry their own indentation; copy them as they stand.
  memo.append(ForecastBlock(panel.FlatMemo10, sign));
}

void FlatButton15Click(const MainInputs& in, ResultPanel& panel) {
  const QString animal = CyclicYearName(ZodiacYear(in.DateTimePicker1)).mid(2, 1);
  panel.Label48 = animal;

  QStringList& memo = panel.FlatMemo6;
  memo.clear();
  AddLine(memo, QStringLiteral("\r\n    【※今年属相运程】"));
  AddLine(memo, QString());
  AddLine(memo, QStringLiteral("    你属相是") + animal + QStringLiteral("。"));
  // Zodiac blocks are written flush left; the section indents every line.
  for (const QString& line : ForecastBlock(panel.FlatMemo11, animal)) {
    memo.append(QStringLiteral("    ") + line);
  }
}

}  // namespace tessaly
