// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The person a report is about, as the user gives them, and the readings to
// run. The desktop program fills this from its window, the command-line tool
// from its options. Typed texts stay texts: the readings check them and their
// errors quote them as typed.

#include <QFlags>
#include <QString>
#include <QStringList>

#include <optional>

#include "core/dates.h"

namespace tessaly {

enum class Sex { Male, Female };              // 男 / 女
enum class SurnameKind { Single, Compound };  // 单姓 / 复姓

// The words for each value: 男 女, 单姓 复姓.
QString SexText(Sex sex);
QString SurnameKindText(SurnameKind kind);

// The readings a report runs, in the order their sections appear.
enum class Reading : unsigned {
  Name = 1u << 0,        // 测算姓名祸福
  Lifetime = 1u << 1,    // 一生命运预测
  Zodiac = 1u << 2,      // 今年属相预测
  StarSign = 1u << 3,    // 今年星座预测
  Mobile = 1u << 4,      // 手机号码吉凶
  ChildSex = 1u << 5,    // 胎儿性别预测
  Conception = 1u << 6,  // 最佳怀孕时间
  Bazi = 1u << 7,        // 生辰八字分析
};
Q_DECLARE_FLAGS(Readings, Reading)
Q_DECLARE_OPERATORS_FOR_FLAGS(Readings)

// The seven readings of the original report.
inline constexpr Readings kAllReadings = Reading::Name | Reading::Lifetime | Reading::Zodiac |
                                         Reading::StarSign | Reading::Mobile | Reading::ChildSex |
                                         Reading::Conception;
// Every reading: the seven and the four pillars.
inline constexpr Readings kEveryReading = kAllReadings | Reading::Bazi;

// The words of the readings as the command line and the profiles name them
// (name, lifetime, zodiac, star, mobile, sex, conception, bazi), in section order.
QStringList ReadingWords(Readings readings);
// The readings of the words ("all" for every one); false on an unknown word,
// which is left in `unknown`.
bool ReadingsOfWords(const QStringList& words, Readings& readings, QString& unknown);

// The twelve entries of the birth-hour list, in order.
const QStringList& BirthHourItems();
// The entry a typed text selects: an entry itself ("11-13时 午时") or its
// name alone ("午时"); -1 for any other text.
int BirthHourIndex(const QString& text);

// Everything the user gives, as given; the defaults are those of a new window.
struct Person {
  QString name = QStringLiteral("欧阳雨辰");
  Sex sex = Sex::Male;
  SurnameKind surname_kind = SurnameKind::Single;
  DateTime birthday = DateTime::Now();
  QString birth_hour = QStringLiteral("23-01时 子时");  // as chosen or typed
  int birth_hour_index = 0;                             // entry of BirthHourItems(); -1 when none
  QString mobile = QStringLiteral("13113213313");
  QString mother_age = QStringLiteral("18");       // the sex prediction's age, as typed
  QString pregnancy_month = QStringLiteral("01");  // as typed
  QString conception_age = QStringLiteral("18");   // the conception timing's age, as typed
  QString wish = QStringLiteral("男孩");           // the wished sex, as typed
  int wish_index = 0;                              // 0 boy, 1 girl, -1 none
  Readings readings = Reading::Name | Reading::Lifetime | Reading::Zodiac | Reading::StarSign;
  // The birth moment of the four pillars; the other readings use the birthday
  // and the birth hour above.
  QString birth_time;                     // "HH:MM" as typed; empty: the middle of the hour
  QString birth_place;                    // a seat or division (FindBirthPlace); empty: none
  std::optional<double> birth_longitude;  // degrees east, instead of a place
  bool daylight_saving = true;            // read the clock with the zone's daylight time
  bool late_zi_next_day = true;           // 23:00-23:59 belongs to the next day
};

}  // namespace tessaly
