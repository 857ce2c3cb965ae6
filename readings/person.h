// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The person a report is about, as the user gives them, and the readings to
// run. The desktop program fills this from its window, the command-line tool
// from its options. Typed texts stay texts: the readings check them and their
// errors quote them as typed.

#include <QFlags>
#include <QString>
#include <QStringList>

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
};
Q_DECLARE_FLAGS(Readings, Reading)
Q_DECLARE_OPERATORS_FOR_FLAGS(Readings)

// Every reading: the report with all seven sections.
inline constexpr Readings kAllReadings = Reading::Name | Reading::Lifetime | Reading::Zodiac |
                                         Reading::StarSign | Reading::Mobile | Reading::ChildSex |
                                         Reading::Conception;

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
};

}  // namespace tessaly
