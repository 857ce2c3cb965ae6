// SPDX-License-Identifier: GPL-3.0-or-later
// Date and integer reading: any text either reads or raises the conversion error.

#include <cstddef>
#include <cstdint>

#include "core/dates.h"
#include "core/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    const QDate d = tessaly::StrToDate(text);
    if (!d.isValid()) __builtin_trap();
    if (tessaly::StrToDate(tessaly::DateToStr(d)) != d) __builtin_trap();
  } catch (const tessaly::ConvertError& e) {
    if (!e.message().endsWith(QStringLiteral("不是一个有效的日期"))) __builtin_trap();
  }
  try {
    const int v = tessaly::StrToInt(text);
    if (tessaly::StrToInt(QString::number(v)) != v) __builtin_trap();
  } catch (const tessaly::ConvertError& e) {
    if (!e.message().endsWith(QStringLiteral("不是一个有效的整形值"))) __builtin_trap();
  }
  return 0;
}
