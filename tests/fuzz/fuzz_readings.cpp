// SPDX-License-Identifier: GPL-3.0-or-later
// Each reading alone with arbitrary input texts (name, hour text, mobile number,
// the pregnancy boxes) and, for the lifetime reading, arbitrary lunar numbers.

#include <cstddef>
#include <cstdint>

#include "core/errors.h"
#include "readings/readings.h"
#include "store/reference_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tessaly::ReferenceStore* store = [] {
    auto* s = new tessaly::ReferenceStore;
    s->Open(QStringLiteral(TESSALY_BINARY_DIR "/share/tessaly/kvdata.dat"));
    return s;
  }();
  if (size < 3) return 0;
  tessaly::Person person;
  // Any lunar numbers, in range or not.
  const auto byte = [&](size_t i) { return i < size ? static_cast<int>(data[i]) - 64 : 0; };
  const tessaly::LunarBirth lunar{byte(3) % 12, byte(4) % 14, byte(5) % 14, (data[1] & 2) != 0,
                                  byte(6) % 32};
  person.surname_kind =
      (data[1] & 1) ? tessaly::SurnameKind::Compound : tessaly::SurnameKind::Single;
  person.birth_hour_index = static_cast<int>(data[2] % 13) - 1;
  person.wish_index = static_cast<int>((data[2] >> 4) % 3) - 1;
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data) + 3, static_cast<qsizetype>(size - 3));
  const QStringList parts = text.split(QChar(u'|'));
  QString* fields[] = {&person.name,       &person.birth_hour,      &person.mobile,
                       &person.mother_age, &person.pregnancy_month, &person.conception_age,
                       &person.wish};
  for (qsizetype i = 0; i < parts.size() && i < 7; ++i) *fields[i] = parts[i];
  try {
    switch (data[0] % 7) {
      case 0:
        tessaly::ReadName(person, *store);
        break;
      case 1:
        tessaly::ReadLifetime(person, lunar, *store);
        break;
      case 2:
        tessaly::ReadZodiacForecast(person);
        break;
      case 3:
        tessaly::ReadStarForecast(person);
        break;
      case 4:
        tessaly::ReadMobile(person, [](const QString&) {});
        break;
      case 5:
        tessaly::PredictChildSex(person);
        break;
      case 6:
        tessaly::ChooseConceptionMonths(person);
        break;
    }
  } catch (const tessaly::Error&) {
  }
  return 0;
}
