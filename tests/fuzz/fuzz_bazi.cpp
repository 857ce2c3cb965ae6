// SPDX-License-Identifier: GPL-3.0-or-later
// The four-pillar reading with arbitrary birth-moment inputs: any date from
// 1899 to 2078, the time and place as typed, any longitude (NaN and infinities
// included), both daylight-time and late-子时 settings, any birth hour.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/errors.h"
#include "readings/readings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 12) return 0;
  tessaly::Person person;
  person.birthday =
      tessaly::DateTime::AtMidnight(QDate(1899, 1, 1).addDays(data[0] | (data[1] << 8)));
  person.sex = (data[2] & 1) ? tessaly::Sex::Female : tessaly::Sex::Male;
  person.daylight_saving = (data[2] & 2) != 0;
  person.late_zi_next_day = (data[2] & 4) != 0;
  person.birth_hour_index = static_cast<int>(data[3] % 13) - 1;
  if (data[2] & 8) {
    double longitude = 0;
    std::memcpy(&longitude, data + 4, sizeof longitude);
    person.birth_longitude = longitude;
  }
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 12,
                                         static_cast<qsizetype>(size - 12));
  const QStringList parts = text.split(QChar(u'|'));
  person.birth_time = parts.value(0);
  person.birth_place = parts.value(1);
  try {
    const tessaly::BaziResult r = tessaly::ReadBazi(person);
    for (const QString& p : r.pillars) {
      if (p.size() != 2) __builtin_trap();
    }
    if (r.section.isEmpty() || r.block_first + r.block_size > r.section.size()) __builtin_trap();
  } catch (const tessaly::Error&) {
    // A clear message for a bad input: what the reading should do.
  }
  return 0;
}
