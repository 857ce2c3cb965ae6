// SPDX-License-Identifier: GPL-3.0-or-later
#include "readings/person.h"

namespace tessaly {

namespace {

// The readings by the words the command line and the profiles use, in section order.
constexpr struct {
  const char* word;
  Reading reading;
} kReadingWords[] = {
    {"name", Reading::Name},
    {"lifetime", Reading::Lifetime},
    {"zodiac", Reading::Zodiac},
    {"star", Reading::StarSign},
    {"mobile", Reading::Mobile},
    {"sex", Reading::ChildSex},
    {"conception", Reading::Conception},
    {"bazi", Reading::Bazi},
};

}  // namespace

QString SexText(Sex sex) {
  return sex == Sex::Female ? QStringLiteral("女") : QStringLiteral("男");
}

QString SurnameKindText(SurnameKind kind) {
  return kind == SurnameKind::Compound ? QStringLiteral("复姓") : QStringLiteral("单姓");
}

QStringList ReadingWords(Readings readings) {
  QStringList words;
  for (const auto& r : kReadingWords) {
    if (readings.testFlag(r.reading)) words += QLatin1String(r.word);
  }
  return words;
}

bool ReadingsOfWords(const QStringList& words, Readings& readings, QString& unknown) {
  readings = {};
  for (const QString& word : words) {
    const bool all = word == u"all";
    bool known = all;
    for (const auto& r : kReadingWords) {
      if (all || word == QLatin1String(r.word)) {
        readings |= r.reading;
        known = true;
      }
    }
    if (!known) {
      unknown = word;
      return false;
    }
  }
  return true;
}

const QStringList& BirthHourItems() {
  static const QStringList items = {
      QStringLiteral("23-01时 子时"), QStringLiteral("01-03时 丑时"),
      QStringLiteral("03-05时 寅时"), QStringLiteral("05-07时 卯时"),
      QStringLiteral("07-09时 辰时"), QStringLiteral("09-11时 巳时"),
      QStringLiteral("11-13时 午时"), QStringLiteral("13-15时 未时"),
      QStringLiteral("15-17时 申时"), QStringLiteral("17-19时 酉时"),
      QStringLiteral("19-21时 戌时"), QStringLiteral("21-23时 亥时"),
  };
  return items;
}

int BirthHourIndex(const QString& text) {
  const QStringList& items = BirthHourItems();
  for (int i = 0; i < items.size(); ++i) {
    // The name is what follows the blank: "午时".
    if (text == items[i] || text == items[i].section(QLatin1Char(' '), 1)) return i;
  }
  return -1;
}

}  // namespace tessaly
