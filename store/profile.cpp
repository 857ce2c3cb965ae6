// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/profile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>

#include <algorithm>
#include <cmath>

#include "calendar/calendar_range.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/text.h"
#include "readings/birth_moment.h"

namespace tessaly {

namespace {

// 子时 .. 亥时: the names the entries of the birth-hour list end with.
QString HourName(const QString& entry) { return GbkMid(entry, 9, 4); }

QString TimeText(const QDateTime& t) {
  return t.isValid() ? t.toUTC().toString(Qt::ISODate) : QString();
}

// Whether the text has a control character in it (IsControlCharacter, and TAB,
// which no input of the window takes), or an unpaired surrogate (a JSON
// escape such as "\ud800", which is no character at all).
bool HasControl(const QString& text) {
  if (!QStringView(text).isValidUtf16()) return true;
  return std::any_of(text.cbegin(), text.cend(),
                     [](QChar c) { return c == u'\t' || IsControlCharacter(c.unicode()); });
}

}  // namespace

QString Profile::KeyOf(const QString& name, const QDate& birthday) {
  return name + QLatin1Char(' ') + DateToStr(birthday);
}

bool Profile::SameInputs(const Profile& o) const {
  return name == o.name && sex == o.sex && surname_kind == o.surname_kind &&
         birthday == o.birthday && birth_hour == o.birth_hour && time == o.time &&
         place == o.place && longitude == o.longitude && dst == o.dst && late_zi == o.late_zi &&
         mobile == o.mobile && mother_age == o.mother_age && pregnancy_month == o.pregnancy_month &&
         conception_age == o.conception_age && wish == o.wish && readings == o.readings;
}

Profile NewProfile() {
  Profile p;
  p.birthday = DateTime::Now().date;
  return p;
}

Profile ProfileOf(const Person& person) {
  Profile p;
  p.name = person.name;
  p.sex = person.sex;
  p.surname_kind = person.surname_kind;
  p.birthday = person.birthday.date;
  p.birth_hour = person.birth_hour_index >= 0
                     ? HourName(BirthHourItems().value(person.birth_hour_index))
                     : person.birth_hour;
  p.mobile = person.mobile;
  p.mother_age = person.mother_age;
  p.pregnancy_month = person.pregnancy_month;
  p.conception_age = person.conception_age;
  p.wish = person.wish;
  p.readings = person.readings;
  const QTime time = ParseBirthTime(person.birth_time);
  if (time.isValid()) p.time = time;
  p.place = person.birth_place;
  p.longitude = person.birth_longitude;
  p.dst = person.daylight_saving;
  p.late_zi = person.late_zi_next_day;
  return p;
}

Person PersonOf(const Profile& p) {
  Person person;
  person.name = p.name;
  person.sex = p.sex;
  person.surname_kind = p.surname_kind;
  person.birthday = DateTime::AtMidnight(p.birthday);
  person.birth_hour_index = BirthHourIndex(p.birth_hour);
  person.birth_hour =
      person.birth_hour_index >= 0 ? BirthHourItems()[person.birth_hour_index] : p.birth_hour;
  person.mobile = p.mobile;
  person.mother_age = p.mother_age;
  person.pregnancy_month = p.pregnancy_month;
  person.conception_age = p.conception_age;
  person.wish = p.wish;
  person.wish_index = p.wish == QStringLiteral("男孩")   ? 0
                      : p.wish == QStringLiteral("女孩") ? 1
                                                         : -1;
  person.readings = p.readings;
  if (p.time) person.birth_time = p.time->toString(QStringLiteral("HH:mm"));
  person.birth_place = p.place;
  person.birth_longitude = p.longitude;
  person.daylight_saving = p.dst;
  person.late_zi_next_day = p.late_zi;
  return person;
}

QJsonObject ProfileToJson(const Profile& p) {
  QJsonObject o;
  o[u"name"] = p.name;
  o[u"sex"] = SexText(p.sex);
  o[u"surname_kind"] = SurnameKindText(p.surname_kind);
  o[u"birthday"] = DateToStr(p.birthday);
  o[u"birth_hour"] = p.birth_hour;
  o[u"time"] = p.time ? QJsonValue(p.time->toString(QStringLiteral("HH:mm"))) : QJsonValue();
  o[u"place"] = p.place;
  o[u"longitude"] = p.longitude ? QJsonValue(*p.longitude) : QJsonValue();
  o[u"dst"] = p.dst;
  o[u"late_zi"] = p.late_zi;
  o[u"mobile"] = p.mobile;
  o[u"mother_age"] = p.mother_age;
  o[u"pregnancy_month"] = p.pregnancy_month;
  o[u"conception_age"] = p.conception_age;
  o[u"wish"] = p.wish;
  o[u"readings"] = QJsonArray::fromStringList(ReadingWords(p.readings));
  o[u"created"] = p.created.isValid() ? QJsonValue(TimeText(p.created)) : QJsonValue();
  o[u"changed"] = p.changed.isValid() ? QJsonValue(TimeText(p.changed)) : QJsonValue();
  return o;
}

QString ProfileFromJson(const QJsonObject& o, Profile& p) {
  p = NewProfile();
  for (auto it = o.begin(); it != o.end(); ++it) {
    const QString field = it.key();
    const QJsonValue v = it.value();
    // A text field; the ages and the month may also be given as numbers.
    const auto text = [&](QString& into, bool number_too) -> QString {
      if (v.isString() && !HasControl(v.toString())) {
        into = v.toString();
      } else if (number_too && v.isDouble() && v.toDouble() == std::floor(v.toDouble())) {
        into = QString::number(v.toInteger());
      } else {
        return QStringLiteral("“%1”应为一段文字").arg(field);
      }
      return {};
    };
    const auto choice = [&](const QString& a, const QString& b) -> std::optional<bool> {
      if (v.toString() == a) return false;
      if (v.toString() == b) return true;
      return std::nullopt;
    };
    QString fault;
    if (field == u"name") {
      fault = text(p.name, false);
      if (fault.isEmpty() && p.name.trimmed().isEmpty()) fault = QStringLiteral("姓名为空");
    } else if (field == u"sex") {
      const auto female = choice(QStringLiteral("男"), QStringLiteral("女"));
      if (!female) return QStringLiteral("“sex”应为“男”或“女”");
      p.sex = *female ? Sex::Female : Sex::Male;
    } else if (field == u"surname_kind") {
      const auto compound = choice(QStringLiteral("单姓"), QStringLiteral("复姓"));
      if (!compound) return QStringLiteral("“surname_kind”应为“单姓”或“复姓”");
      p.surname_kind = *compound ? SurnameKind::Compound : SurnameKind::Single;
    } else if (field == u"birthday") {
      const QDate d = QDate::fromString(v.toString(), QStringLiteral("yyyy-MM-dd"));
      if (!d.isValid() || !InCalendarRange(d)) {
        return QStringLiteral("“birthday”应为 %1 至 %2 之间的日期（YYYY-MM-DD）")
            .arg(DateToStr(FirstCalendarDay()), DateToStr(LastCalendarDay()));
      }
      p.birthday = d;
    } else if (field == u"birth_hour") {
      const int i = BirthHourIndex(v.toString());
      if (i < 0) return QStringLiteral("“birth_hour”应为子时至亥时之一");
      p.birth_hour = HourName(BirthHourItems()[i]);
    } else if (field == u"time") {
      if (v.isNull()) {
        p.time.reset();
      } else {
        const QTime t = QTime::fromString(v.toString(), QStringLiteral("HH:mm"));
        if (!t.isValid()) return QStringLiteral("“time”应为 HH:MM 或 null");
        p.time = t;
      }
    } else if (field == u"place") {
      const BirthPlace* place = FindBirthPlace(v.toString());
      if (!v.isString() || (!v.toString().isEmpty() && place == nullptr)) {
        return QStringLiteral("“place”应为省会或省份的名称（北京、石家庄、河北……）或空");
      }
      p.place = place != nullptr ? QString::fromUtf16(place->seat) : QString();
    } else if (field == u"longitude") {
      if (v.isNull()) {
        p.longitude.reset();
      } else if (v.isDouble() && v.toDouble() >= kMinLongitude && v.toDouble() <= kMaxLongitude) {
        p.longitude = v.toDouble();
      } else {
        return QStringLiteral("“longitude”应为东经 %1 至 %2 度之间的数或 null")
            .arg(kMinLongitude)
            .arg(kMaxLongitude);
      }
    } else if (field == u"dst" || field == u"late_zi") {
      if (!v.isBool()) return QStringLiteral("“%1”应为 true 或 false").arg(field);
      (field == u"dst" ? p.dst : p.late_zi) = v.toBool();
    } else if (field == u"mobile") {
      fault = text(p.mobile, false);
    } else if (field == u"mother_age") {
      fault = text(p.mother_age, true);
    } else if (field == u"pregnancy_month") {
      fault = text(p.pregnancy_month, true);
    } else if (field == u"conception_age") {
      fault = text(p.conception_age, true);
    } else if (field == u"wish") {
      if (!choice(QStringLiteral("男孩"), QStringLiteral("女孩"))) {
        return QStringLiteral("“wish”应为“男孩”或“女孩”");
      }
      p.wish = v.toString();
    } else if (field == u"readings") {
      QStringList words;
      for (const QJsonValue& w : v.toArray()) words += w.toString();
      QString unknown;
      if (!v.isArray() || !ReadingsOfWords(words, p.readings, unknown)) {
        return QStringLiteral(
            "“readings”应为测算项目的列表（name、lifetime、zodiac、star、"
            "mobile、sex、conception、bazi）");
      }
    } else if (field == u"created" || field == u"changed") {
      QDateTime& t = field == u"created" ? p.created : p.changed;
      t = v.isNull() ? QDateTime() : QDateTime::fromString(v.toString(), Qt::ISODate);
      if (!v.isNull() && !t.isValid()) return QStringLiteral("“%1”应为 ISO 8601 时间").arg(field);
      t = t.toUTC();
    } else {
      return QStringLiteral("没有“%1”这一项").arg(field);
    }
    if (!fault.isEmpty()) return fault;
  }
  return {};
}

namespace {

// The number of fields written in each object of the top-level list, in
// order, a field written twice counted twice: QJsonObject keeps only the last
// of the two, and an entry must not say two things of one field. `text` is
// JSON that has parsed.
QList<qsizetype> FieldsWritten(const QByteArray& text) {
  QList<qsizetype> counts;
  QByteArray open;  // the containers around the position: '[' or '{'
  bool key_next = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      const bool key = key_next && open.endsWith('{');
      for (++i; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\') ++i;
      }
      if (key && open.size() == 2) ++counts.back();
      key_next = false;
    } else if (c == '{' || c == '[') {
      open += c;
      key_next = c == '{';
      if (c == '{' && open.size() == 2) counts.append(0);
    } else if (c == '}' || c == ']') {
      open.chop(1);
      key_next = false;
    } else if (c == ',') {
      key_next = open.endsWith('{');
    }
  }
  return counts;
}

}  // namespace

QList<Profile> ProfilesFromJsonText(const QByteArray& text) {
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
  if (error.error != QJsonParseError::NoError) {
    throw Error(QStringLiteral("档案文件不是有效的 JSON（第 %1 个字节处：%2）")
                    .arg(error.offset + 1)
                    .arg(error.errorString()));
  }
  if (!doc.isArray()) throw Error(QStringLiteral("档案文件应为一个档案的列表（JSON 数组）"));
  QList<Profile> profiles;
  QHash<QString, qsizetype> seen;  // key -> entry number
  const QJsonArray list = doc.array();
  const QList<qsizetype> written = FieldsWritten(text);
  qsizetype objects = 0;
  for (qsizetype i = 0; i < list.size(); ++i) {
    const QJsonObject o = list[i].toObject();
    const QString who = o.value(u"name").toString();
    const QString entry = who.isEmpty() || HasControl(who)
                              ? QStringLiteral("第%1项").arg(i + 1)
                              : QStringLiteral("第%1项（%2）").arg(i + 1).arg(who);
    Profile p;
    const QString fault =
        list[i].isObject() ? ProfileFromJson(o, p) : QStringLiteral("应为一个对象");
    if (!fault.isEmpty()) throw Error(entry + QStringLiteral("：") + fault);
    if (o.size() < written.value(objects++)) {
      throw Error(entry + QStringLiteral("：有字段写了两次"));
    }
    if (const auto it = seen.constFind(p.Key()); it != seen.cend()) {
      throw Error(
          QStringLiteral("%1与第%2项是同一份档案（%3）").arg(entry).arg(*it + 1).arg(p.Key()));
    }
    seen.insert(p.Key(), i);
    profiles += p;
  }
  return profiles;
}

QByteArray ProfilesToJsonText(const QList<Profile>& profiles) {
  QJsonArray list;
  for (const Profile& p : profiles) list += ProfileToJson(p);
  return QJsonDocument(list).toJson(QJsonDocument::Indented);
}

}  // namespace tessaly
