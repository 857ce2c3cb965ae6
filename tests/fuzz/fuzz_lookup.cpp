// SPDX-License-Identifier: GPL-3.0-or-later
// Store lookups with arbitrary values: never an error, and a stroke lookup only
// answers for a single character that the stroke row really contains.

#include <cstddef>
#include <cstdint>

#include "core/errors.h"
#include "store/reference_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tessaly::ReferenceStore* store = [] {
    auto* s = new tessaly::ReferenceStore;
    s->Open(QStringLiteral(TESSALY_BINARY_DIR "/share/tessaly/kvdata.dat"));
    return s;
  }();
  if (size < 1) return 0;
  const auto table = static_cast<tessaly::Table>(data[0] % tessaly::kTableCount);
  const QString value =
      QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
  const tessaly::TableInfo& info = tessaly::InfoOf(table);
  const QString result = store->LookupField({table, value}, QString::fromUtf8(info.result_column));
  if (table == tessaly::Table::Strokes && !result.isEmpty()) {
    const QString row = store->LookupField({table, value}, QString::fromUtf8(info.key_column));
    if (!row.contains(value) || value.isEmpty()) __builtin_trap();
  }
  return 0;
}
