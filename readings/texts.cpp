// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed texts compiled into the program, and the line splitting of the
// sections.

#include "readings/readings.h"

#include <QFile>

#include "core/text.h"

namespace tessaly {

void AddLine(QStringList& lines, const QString& text) { lines.append(SplitMemoText(text)); }

namespace {

// Reads one of the texts compiled into the program, one line per line.
QStringList LoadLines(const QString& resource) {
  QFile f(resource);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QString all = QString::fromUtf8(f.readAll());
  all.remove(QLatin1Char('\r'));
  if (all.endsWith(QLatin1Char('\n'))) all.chop(1);
  return all.split(QLatin1Char('\n'));
}

}  // namespace

const QStringList& StarForecastLines() {
  static const QStringList lines = LoadLines(QStringLiteral(":/tessaly/forecast/stars.txt"));
  return lines;
}
const QStringList& ZodiacForecastLines() {
  static const QStringList lines = LoadLines(QStringLiteral(":/tessaly/forecast/zodiac.txt"));
  return lines;
}
const QStringList& FetalDisclaimerLines() {
  static const QStringList lines = LoadLines(QStringLiteral(":/tessaly/fetal_disclaimer.txt"));
  return lines;
}
const QStringList& PageTemplateLines() {
  static const QStringList lines = LoadLines(QStringLiteral(":/tessaly/page_template.txt"));
  return lines;
}

}  // namespace tessaly
