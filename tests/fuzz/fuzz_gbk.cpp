// SPDX-License-Identifier: GPL-3.0-or-later
// GBK helpers: decoding arbitrary bytes, measuring, cutting and re-encoding.

#include <cstddef>
#include <cstdint>

#include "core/errors.h"
#include "core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int first = static_cast<int8_t>(data[0]);
  const int count = data[1];
  const QByteArray bytes(reinterpret_cast<const char*>(data) + 2, static_cast<qsizetype>(size - 2));
  for (const QString& text : {tessaly::FromGbk(bytes), QString::fromUtf8(bytes)}) {
    const int len = tessaly::GbkLength(text);
    const QString mid = tessaly::GbkMid(text, first, count);
    if (tessaly::GbkLength(mid) > count) __builtin_trap();
    if (!text.contains(mid)) __builtin_trap();
    if (tessaly::GbkLeft(text, len) != text) __builtin_trap();
    (void)tessaly::SplitMemoText(text);
    (void)tessaly::EscapeHtml(text);
    try {
      const QByteArray enc = tessaly::ToGbk(text);
      if (enc.size() != len) __builtin_trap();
      if (tessaly::FromGbk(enc) != text) __builtin_trap();
    } catch (const tessaly::Error&) {
      if (tessaly::FitsGbk(text)) __builtin_trap();
    }
  }
  return 0;
}
