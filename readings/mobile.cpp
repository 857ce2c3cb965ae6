// SPDX-License-Identifier: GPL-3.0-or-later
// The mobile-number reading: the last four digits of the number select one of
// the numbered verdicts by their remainder modulo 80 (a remainder of 0 counts as
// 80).

#include "readings/readings.h"

namespace tessaly {

namespace {

#include "readings/mobile_verdict_table.inc"

// The shortest number the reading accepts.
constexpr qsizetype kMinimumLength = 7;
constexpr int kVerdictCycle = 80;

bool AllDigits(const QString& text) {
  for (const QChar c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

}  // namespace

MobileResult ReadMobile(const Person& person, const Notify& notify) {
  const QString& number = person.mobile;
  if (number.size() < kMinimumLength || !AllDigits(number)) {
    if (notify) notify(QStringLiteral("手机号码输入错误，测算失败！"));
    return {};
  }

  int ending = 0;
  for (const QChar c : QStringView(number).right(4)) ending = ending * 10 + (c.unicode() - u'0');
  int n = ending % kVerdictCycle;
  if (n == 0) n = kVerdictCycle;
  return {QString::fromUtf16(MobileVerdictTable[n - 1])};
}

}  // namespace tessaly
