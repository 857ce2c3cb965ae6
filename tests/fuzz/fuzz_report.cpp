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
  tessaly::MainInputs in;
  const uint8_t ticks = data[0];
  in.suiCheckBox1 = ticks & 1;
  in.suiCheckBox2 = ticks & 2;
  in.suiCheckBox3 = ticks & 4;
  in.suiCheckBox4 = ticks & 8;
  in.suiCheckBox5 = ticks & 16;
  in.suiCheckBox6 = ticks & 32;
  in.suiCheckBox7 = ticks & 64;
  in.FlatButton2 = (ticks & 128) ? QStringLiteral("姓氏复姓") : QStringLiteral("姓氏单姓");
  const int days = (data[1] << 8 | data[2]) % 54787;
  in.DateTimePicker1 = tessaly::DateTime::AtMidnight(QDate(1901, 1, 1).addDays(days));
  in.FlatComboBox6Index = static_cast<int>(data[3] % 13) - 1;
  in.FlatComboBox5Index = static_cast<int>(data[4] % 3) - 1;
  // The rest: the typed texts, separated by 0xFF bytes.
  const QList<QByteArray> parts =
      QByteArray(reinterpret_cast<const char*>(data) + 5, static_cast<qsizetype>(size - 5)).split('\xff');
  QString* fields[] = {&in.FlatEdit1, &in.FlatComboBox6, &in.FlatEdit2, &in.FlatComboBox2,
                       &in.FlatComboBox3, &in.FlatComboBox4, &in.FlatComboBox5};
  for (qsizetype i = 0; i < parts.size() && i < 7; ++i) *fields[i] = QString::fromUtf8(parts[i]);

  tessaly::ResultPanel panel = tessaly::ResultPanel::WithTexts();
  tessaly::ReportPage page;
  try {
    tessaly::BuildReport(in, panel, page, *store, [](const QString&) {});
  } catch (const tessaly::Error&) {
    return 0;
  }
  if (page.FlatMemo1.join(QLatin1Char('\n')).count(QStringLiteral("<script")) != 1) __builtin_trap();
  return 0;
}
