// Each reading alone with arbitrary input texts (name, hour text, mobile number,
// the pregnancy boxes) on a panel that earlier runs have left behind.

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
  static tessaly::ResultPanel panel = tessaly::ResultPanel::WithTexts();
  if (size < 3) return 0;
  tessaly::MainInputs in;
  in.FlatButton2 = (data[1] & 1) ? QStringLiteral("姓氏复姓") : QStringLiteral("姓氏单姓");
  in.FlatComboBox6Index = static_cast<int>(data[2] % 13) - 1;
  in.FlatComboBox5Index = static_cast<int>((data[2] >> 4) % 3) - 1;
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data) + 3, static_cast<qsizetype>(size - 3));
  const QStringList parts = text.split(QChar(u'|'));
  QString* fields[] = {&in.FlatEdit1, &in.FlatComboBox6, &in.FlatEdit2, &in.FlatComboBox2,
                       &in.FlatComboBox3, &in.FlatComboBox4, &in.FlatComboBox5,
                       &panel.Label47, &panel.Label53, &panel.Label54, &panel.Label48};
  for (qsizetype i = 0; i < parts.size() && i < 11; ++i) *fields[i] = parts[i];
  try {
    switch (data[0] % 7) {
      case 0: tessaly::FlatButton3Click(in, panel, *store); break;
      case 1: tessaly::FlatButton6Click(in, panel, *store); break;
      case 2: tessaly::FlatButton15Click(in, panel); break;
      case 3: tessaly::FlatButton13Click(in, panel); break;
      case 4: tessaly::FlatButton18Click(in, panel, [](const QString&) {}); break;
      case 5: tessaly::FlatButton17Click(in, panel); break;
      case 6: tessaly::FlatButton5Click(in, panel); break;
    }
  } catch (const tessaly::Error&) {
  }
  return 0;
}
