// SPDX-License-Identifier: GPL-3.0-or-later
// The star-sign and zodiac-year forecasts. Each reading finds the birthday's
// sign and writes its section from the sign's block in the forecast texts.

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

ForecastResult ReadStarForecast(const Person& person, const QStringList& texts) {
  ForecastResult r;
  r.key = StarSignOf(person.birthday.date);
  AddLine(r.section, QString());
  AddLine(r.section, QStringLiteral("    你是") + r.key + QStringLiteral("。"));
  // Star-sign blocks carry their own indentation; copy them as they stand.
  r.section.append(ForecastBlock(texts, r.key));
  return r;
}

ForecastResult ReadZodiacForecast(const Person& person, const QStringList& texts) {
  ForecastResult r;
  r.key = CyclicYearName(ZodiacYear(person.birthday)).mid(2, 1);
  AddLine(r.section, QString());
  AddLine(r.section, QStringLiteral("    你属相是") + r.key + QStringLiteral("。"));
  // Zodiac blocks are written flush left; the section indents every line.
  for (const QString& line : ForecastBlock(texts, r.key)) {
    r.section.append(QStringLiteral("    ") + line);
  }
  return r;
}

}  // namespace tessaly
