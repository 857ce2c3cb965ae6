#pragma once
// The main window as the readings see it: the inputs, and the hidden result
// panel through which the readings hand values to each other and to the report.
// Fields are named after the window's controls; the desktop program binds them
// to its widgets, the command-line tool fills them from its options.

#include <QString>
#include <QStringList>

#include "core/dates.h"

namespace tessaly {

// The twelve entries of the birth-hour list, in order.
const QStringList& BirthHourItems();

struct MainInputs {
  QString FlatEdit1 = QStringLiteral("欧阳雨辰");       // name
  QString FlatButton1 = QStringLiteral("男");           // sex caption: "男" / "女"
  QString FlatButton2 = QStringLiteral("姓氏单姓");     // surname kind: "姓氏单姓" / "姓氏复姓"
  DateTime DateTimePicker1 = DateTime::Now();           // birthday
  QString FlatEdit3;                                    // birthday as "yyyy-MM-dd"
  QString FlatComboBox6 = QStringLiteral("23-01时 子时");  // birth hour text
  int FlatComboBox6Index = 0;                           // selected entry; -1 when none
  QString FlatEdit2 = QStringLiteral("13113213313");    // mobile number
  QString FlatComboBox2 = QStringLiteral("18");         // mother's age (sex reading)
  QString FlatComboBox3 = QStringLiteral("01");         // month of pregnancy
  QString FlatComboBox4 = QStringLiteral("18");         // mother's age (conception)
  QString FlatComboBox5 = QStringLiteral("男孩");       // wished sex text
  int FlatComboBox5Index = 0;                           // 0 男孩, 1 女孩, -1 none

  // The reading check boxes, in the order of the panel.
  bool suiCheckBox1 = true;   // 测算姓名祸福
  bool suiCheckBox2 = true;   // 一生命运预测
  bool suiCheckBox4 = true;   // 今年属相预测
  bool suiCheckBox3 = true;   // 今年星座预测
  bool suiCheckBox5 = false;  // 手机号码吉凶
  bool suiCheckBox6 = false;  // 胎儿性别预测
  bool suiCheckBox7 = false;  // 最佳怀孕时间
};

struct ResultPanel {
  // Name analysis.
  QString Label1 = QStringLiteral("姓"), Label2 = QStringLiteral("名"),
          Label3 = QStringLiteral("用"), Label4 = QStringLiteral("字");
  QString Label5 = QStringLiteral("00"), Label6 = QStringLiteral("00"),
          Label7 = QStringLiteral("00"), Label8 = QStringLiteral("00");
  QString Label14 = QStringLiteral("000"), Label15 = QStringLiteral("000"),
          Label16 = QStringLiteral("000"), Label17 = QStringLiteral("000"),
          Label18 = QStringLiteral("000");
  QString Label20 = QStringLiteral("000000");
  // Lunar particulars and the lifetime reading.
  QString Label47 = QStringLiteral("甲子年"), Label48 = QStringLiteral("羊");
  QString Label53 = QStringLiteral("腊月"), Label54 = QStringLiteral("初五"),
          Label49 = QStringLiteral("子时");
  QString Label51 = QStringLiteral("星座");
  QString Label57 = QStringLiteral("年重量"), Label60 = QStringLiteral("月重量"),
          Label61 = QStringLiteral("日重量"), Label59 = QStringLiteral("时重量");
  QString Label58 = QStringLiteral("诗句一"), Label62 = QStringLiteral("诗句二");
  // Pregnancy readings.
  QString Label39 = QStringLiteral("胎儿性别女");
  // Section memos and the report being assembled.
  QStringList FlatMemo1;
  QStringList FlatMemo6;
  QStringList Memo1 = {QStringLiteral("Memo1")};
  // The last mobile verdict.
  QString MobileResultText;
  // Fixed texts loaded with the window: the forecasts and the disclaimer.
  QStringList FlatMemo10;
  QStringList FlatMemo11;
  QStringList FlatMemo3;

  // A panel with the fixed texts loaded.
  static ResultPanel WithTexts();
};

// Adds a text to a memo as the window's memos take it: CR LF inside the text
// starts a new line; a text that is a single CR is an (empty) line of its own.
void AddLine(QStringList& memo, const QString& text);

// The fixed texts shipped with the program.
const QStringList& StarForecastLines();    // FlatMemo10
const QStringList& ZodiacForecastLines();  // FlatMemo11
const QStringList& FetalDisclaimerLines(); // FlatMemo3
const QStringList& PageTemplateLines();    // the viewer's FlatMemo2

}  // namespace tessaly
