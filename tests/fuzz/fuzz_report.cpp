// SPDX-License-Identifier: GPL-3.0-or-later
// The whole report with arbitrary inputs: every box, the birthday, the boxes
// ticked. It either completes or raises tessaly::Error; typed text never brings
// markup of its own into the page.

#include <cstddef>
#include <cstdint>

#include "core/errors.h"
#include "report/report.h"
#include "store/reference_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tessaly::ReferenceStore* store = [] {
    auto* s = new tessaly::ReferenceStore;
    s->Open(QStringLiteral(TESSALY_BINARY_DIR "/share/tessaly/kvdata.dat"));
    return s;
  }();
  if (size < 6) return 0;
  tessaly::Person person;
  const uint8_t ticks = data[0];
  person.readings = tessaly::Readings::fromInt(ticks & 127);
  person.surname_kind =
      (ticks & 128) ? tessaly::SurnameKind::Compound : tessaly::SurnameKind::Single;
  const int days = (data[1] << 8 | data[2]) % 54787;
  person.birthday = tessaly::DateTime::AtMidnight(QDate(1901, 1, 1).addDays(days));
  person.birth_hour_index = static_cast<int>(data[3] % 13) - 1;
  person.wish_index = static_cast<int>(data[4] % 3) - 1;
  // The rest: the typed texts, separated by 0xFF bytes.
  const QList<QByteArray> parts =
      QByteArray(reinterpret_cast<const char*>(data) + 5, static_cast<qsizetype>(size - 5))
          .split('\xff');
  QString* fields[] = {&person.name,       &person.birth_hour,      &person.mobile,
                       &person.mother_age, &person.pregnancy_month, &person.conception_age,
                       &person.wish};
  for (qsizetype i = 0; i < parts.size() && i < 7; ++i) *fields[i] = QString::fromUtf8(parts[i]);

  tessaly::Report report;
  try {
    tessaly::BuildReport(
        person, *store, [](const QString&) {}, report);
  } catch (const tessaly::Error&) {
    return 0;
  }
  if (report.page.join(QLatin1Char('\n')).count(QStringLiteral("<script")) != 1) __builtin_trap();
  return 0;
}
