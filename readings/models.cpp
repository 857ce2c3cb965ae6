#include "readings/models.h"

#include <QFile>

#include "core/text.h"

namespace tessaly {

const QStringList& BirthHourItems() {
  static const QStringList items = {
      QStringLiteral("23-01时 子时"), QStringLiteral("01-03时 丑时"), QStringLiteral("03-05时 寅时"),
      QStringLiteral("05-07时 卯时"), QStringLiteral("07-09时 辰时"), QStringLiteral("09-11时 巳时"),
      QStringLiteral("11-13时 午时"), QStringLiteral("13-15时 未时"), QStringLiteral("15-17时 申时"),
      QStringLiteral("17-19时 酉时"), QStringLiteral("19-21时 戌时"), QStringLiteral("21-23时 亥时"),
  };
  return items;
}

void AddLine(QStringList& memo, const QString& text) { memo.append(SplitMemoText(text)); }

namespace {

// Reads one of the texts compiled into the program, one memo line per line.
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

ResultPanel ResultPanel::WithTexts() {
  ResultPanel p;
  p.FlatMemo10 = StarForecastLines();
  p.FlatMemo11 = ZodiacForecastLines();
  p.FlatMemo3 = FetalDisclaimerLines();
  return p;
}

}  // namespace tessaly
