// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A saved person (档案): every input of the main window and the readings chosen,
// kept under the name and the birthday. Also its JSON form, the one that
// `tessaly-cli profiles export` writes and `import` reads.

#include <QDate>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "readings/person.h"

namespace tessaly {

struct Profile {
  QString name = QStringLiteral("欧阳雨辰");
  Sex sex = Sex::Male;
  SurnameKind surname_kind = SurnameKind::Single;
  QDate birthday;                               // a new window's: today
  QString birth_hour = QStringLiteral("子时");  // the name of the double hour, 子时 .. 亥时
  // The four-pillars inputs: the exact time of birth, where (a place name or a
  // longitude in degrees east), whether the clock read daylight-saving time
  // where and when it was in use, and whether a birth at 23:00-23:59 (late
  // 子时) belongs to the next day.
  std::optional<QTime> time;  // none: the double hour only
  QString place;
  std::optional<double> longitude;
  bool dst = true;
  bool late_zi = true;
  QString mobile = QStringLiteral("13113213313");
  QString mother_age = QStringLiteral("18");
  QString pregnancy_month = QStringLiteral("01");
  QString conception_age = QStringLiteral("18");
  QString wish = QStringLiteral("男孩");
  Readings readings = Reading::Name | Reading::Lifetime | Reading::Zodiac | Reading::StarSign;
  QDateTime created;  // UTC; invalid until saved
  QDateTime changed;

  // The key: "name birthday" ("李雨桐 2004-03-21").
  QString Key() const { return KeyOf(name, birthday); }
  static QString KeyOf(const QString& name, const QDate& birthday);
  // Equal inputs (the times aside).
  bool SameInputs(const Profile& other) const;
};

// A profile of a new window's inputs, with today's birthday.
Profile NewProfile();

// The profile of a person's inputs, and the person of a profile's. A birth hour
// typed outside the list is kept as the name of the entry it shows.
Profile ProfileOf(const Person& person);
Person PersonOf(const Profile& profile);

QJsonObject ProfileToJson(const Profile& profile);
// The profile of a JSON object: a field left out keeps the new window's
// default. Returns the reason when a field is unknown or its value bad.
QString ProfileFromJson(const QJsonObject& object, Profile& profile);

// A JSON text holding a list of profiles. Raises Error naming the first bad
// entry ("第3项（李雨桐）：……"), or two entries of the same key, and returns
// nothing then.
QList<Profile> ProfilesFromJsonText(const QByteArray& text);
QByteArray ProfilesToJsonText(const QList<Profile>& profiles);

}  // namespace tessaly
