// The lifetime reading (一生命运预测): weighs the bone of the birth year, lunar
// month, lunar day and double hour, and looks up the verse of the total and five
// texts by the lunar day, star sign, hour, month and animal.

#include "core/dates.h"
#include "core/errors.h"
#include "core/text.h"
#include "readings/bone_weights.h"
#include "readings/readings.h"
#include "readings/signs.h"
#include "store/reference_store.h"

namespace tessaly {

namespace {

// Bytes of each verse line: seven characters, a comma, seven characters and a
// full stop, all double-byte.
constexpr int kVerseLineBytes = 32;
constexpr int kSecondLineMaxBytes = 64;

template <size_t N>
const BoneWeight* FindWeight(const std::array<BoneWeight, N>& table, const QString& key,
                             const QString& suffix = {}) {
  for (const BoneWeight& row : table) {
    if (QString::fromUtf16(row.name) + suffix == key) return &row;
  }
  return nullptr;
}

QString TwoDigits(int qian) { return QStringLiteral("%1").arg(qian, 2, 10, QLatin1Char('0')); }

// A leap month weighs as its ordinary month: 闰二 as 二月, 闰冬 as 冬月.
QString MonthForWeight(const QString& month) {
  if (month.startsWith(u'闰')) return month.mid(1) + QStringLiteral("月");
  return month;
}

}  // namespace

void FlatButton6Click(const MainInputs& in, ResultPanel& panel, ReferenceStore& store) {
  const int hour = in.FlatComboBox6Index;
  if (hour < 0 || hour >= static_cast<int>(HourWeights.size())) {
    throw Error(QStringLiteral(
                    "出生时辰“%1”不是列表中的时辰，请从十二个时辰（如“23-01时 子时”）中选择一个。")
                    .arg(in.FlatComboBox6));
  }
  panel.Label49 = QString::fromUtf16(HourWeights[hour].name);

  const BoneWeight* year = FindWeight(YearWeights, panel.Label47, QStringLiteral("年"));
  if (year == nullptr) {
    throw Error(QStringLiteral("无法称骨：“%1”不是六十甲子中的年份。").arg(panel.Label47));
  }
  panel.Label57 = TwoDigits(year->qian);
  panel.Label59 = TwoDigits(HourWeights[hour].qian);
  const BoneWeight* month = FindWeight(MonthWeights, MonthForWeight(panel.Label53));
  if (month == nullptr) {
    throw Error(QStringLiteral("无法称骨：“%1”不是农历月份。").arg(panel.Label53));
  }
  panel.Label60 = TwoDigits(month->qian);
  const BoneWeight* day = FindWeight(DayWeights, panel.Label54);
  if (day == nullptr) {
    throw Error(QStringLiteral("无法称骨：“%1”不是农历日子。").arg(panel.Label54));
  }
  panel.Label61 = TwoDigits(day->qian);

  const int total_qian = StrToInt(panel.Label57) + StrToInt(panel.Label59) +
                         StrToInt(panel.Label60) + StrToInt(panel.Label61);
  const QString total = QString::number(total_qian);

  const QString text_column = QStringLiteral("内容");
  // The verse: two lines of 32 bytes. The second line starts where the first
  // one ended, so a text that does not keep to the layout loses no character.
  const QString verse = store.LookupField(Statement{Table::BoneVerse, total}, text_column);
  panel.Label58 = GbkLeft(verse, kVerseLineBytes);
  panel.Label62 = GbkLeft(verse.mid(panel.Label58.size()), kSecondLineMaxBytes);

  panel.Label51 = StarSignOf(in.DateTimePicker1.date);

  const QString star_text =
      store.LookupField(Statement{Table::StarSign, panel.Label51}, text_column);
  const QString animal_text =
      store.LookupField(Statement{Table::Animal, panel.Label48}, text_column);
  const QString day_text =
      store.LookupField(Statement{Table::LunarDay, panel.Label54}, text_column);
  const QString hour_text = store.LookupField(Statement{Table::Hour, panel.Label49}, text_column);
  const QString month_text =
      store.LookupField(Statement{Table::LunarMonth, panel.Label53}, text_column);

  // All lookups done: the section is written in one pass.
  const QString indent = QStringLiteral("    ");
  const QString separator = QStringLiteral("\r");
  QStringList memo;
  AddLine(memo, QStringLiteral("\r\n    【※一生命运预测】"));
  AddLine(memo, QString());
  AddLine(memo, QStringLiteral("    你的命骨总重量是") + total + QStringLiteral("钱。"));
  AddLine(memo, separator);
  AddLine(memo, QStringLiteral("    根据中国古代称骨术，下面这首诗可能暗含着你的命运："));
  AddLine(memo, separator);
  AddLine(memo, indent + panel.Label58);
  AddLine(memo, indent + panel.Label62);
  AddLine(memo, separator);
  AddLine(memo, indent + day_text);
  AddLine(memo, separator);
  AddLine(memo, indent + star_text);
  AddLine(memo, separator);
  AddLine(memo, indent + hour_text);
  AddLine(memo, indent);
  AddLine(memo, separator);
  AddLine(memo, indent + month_text);
  AddLine(memo, separator);
  AddLine(memo, indent + animal_text);
  panel.FlatMemo1 = std::move(memo);
}

}  // namespace tessaly
