// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dates.h"

#include "core/clock.h"
#include "core/errors.h"

namespace tessaly {

DateTime DateTime::Now() {
  const QDateTime now = Clock::Now();
  return DateTime{now.date(), now.time()};
}

QString InvalidDateMessage(const QString& text) {
  return QStringLiteral("'%1' 不是一个有效的日期").arg(text);
}

QString InvalidIntegerMessage(const QString& text) {
  return QStringLiteral("'%1' 不是一个有效的整形值").arg(text);
}

QString DateToStr(QDate date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

namespace {

// Parses an unsigned run of ASCII digits; false when empty, not digits or too long.
bool ParseDigits(QStringView s, int max_len, int* value) {
  if (s.isEmpty() || s.size() > max_len) return false;
  int v = 0;
  for (QChar c : s) {
    if (c < u'0' || c > u'9') return false;
    v = v * 10 + (c.unicode() - u'0');
  }
  *value = v;
  return true;
}

}  // namespace

QDate StrToDate(const QString& text) {
  const QStringView t = QStringView(text).trimmed();
  const qsizetype a = t.indexOf(u'-');
  const qsizetype b = a < 0 ? -1 : t.indexOf(u'-', a + 1);
  int y = 0, m = 0, d = 0;
  if (a > 0 && b > a && ParseDigits(t.left(a), 4, &y) &&
      ParseDigits(t.mid(a + 1, b - a - 1), 2, &m) && ParseDigits(t.mid(b + 1), 2, &d) && y >= 1) {
    const QDate date(y, m, d);
    if (date.isValid()) return date;
  }
  throw ConvertError(InvalidDateMessage(text));
}

QDate EncodeDate(int year, int month, int day) {
  const QDate date(year, month, day);
  if (year < 1 || year > 9999 || !date.isValid()) {
    throw ConvertError(
        InvalidDateMessage(QStringLiteral("%1-%2-%3").arg(year).arg(month).arg(day)));
  }
  return date;
}

int StrToInt(const QString& text) {
  const QStringView t = QStringView(text).trimmed();
  qsizetype i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
    negative = t[i] == u'-';
    ++i;
  }
  if (i >= t.size()) throw ConvertError(InvalidIntegerMessage(text));
  long long v = 0;
  for (; i < t.size(); ++i) {
    const QChar c = t[i];
    if (c < u'0' || c > u'9') throw ConvertError(InvalidIntegerMessage(text));
    v = v * 10 + (c.unicode() - u'0');
    if (v > 2147483648LL) throw ConvertError(InvalidIntegerMessage(text));
  }
  if (negative) v = -v;
  if (v > 2147483647LL) throw ConvertError(InvalidIntegerMessage(text));
  return static_cast<int>(v);
}

}  // namespace tessaly
