#include "report/report.h"

#include <QDir>
#include <QFile>

#include "calendar/lunar_calendar.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/paths.h"
#include "core/text.h"
#include "readings/signs.h"

namespace tessaly {

namespace {

// The plain report and the page body grow side by side: each text goes to the
// report as it is and to the page in its page form (escaped where the user
// typed it). Both split line breaks the same way, so line i of the report is
// paragraph i of the page.
class Collector {
 public:
  Collector(QStringList& plain, QStringList& body) : plain_(plain), body_(body) {}

  void Add(const QString& text) { Add(text, text); }
  void Add(const QString& plain_text, const QString& page_text) {
    AddLine(plain_, plain_text);
    AddLine(body_, page_text);
  }
  void AddAll(const QStringList& memo) {
    for (const QString& line : memo) Add(line);
  }

 private:
  QStringList& plain_;
  QStringList& body_;
};

// A text as typed by the user, for the plain report and for the page.
struct Typed {
  QString plain;
  QString page;
  explicit Typed(const QString& text) : plain(text), page(EscapeHtml(text)) {}
};

void SetLunarParticulars(const DateTime& birthday, ResultPanel& panel) {
  const QString cyclic = CyclicYearName(ZodiacYear(birthday));
  panel.Label47 = GbkMid(cyclic, 1, 4) + QStringLiteral("年");
  panel.Label48 = GbkMid(cyclic, 5, 2);
  const QString lunar = LunarDateText(birthday.date);
  if (lunar.isEmpty()) {
    throw Error(QStringLiteral("出生日期%1超出农历可推算的范围（1901年至2050年）")
                    .arg(DateToStr(birthday.date)));
  }
  panel.Label53 = GbkMid(lunar, 1, 4);
  panel.Label54 = GbkMid(lunar, 5, 4);
}

}  // namespace

void BuildReport(const MainInputs& in, ResultPanel& panel, ReportPage& page, ReferenceStore& store,
                 const Notify& notify) {
  panel.Memo1.clear();
  QStringList body;
  Collector report(panel.Memo1, body);

  SetLunarParticulars(in.DateTimePicker1, panel);

  // Header: name, birthday, lunar date and the double hour (bytes 9 to 20 of
  // the birth-hour text: the name after "23-01时 ").
  {
    const Typed name(in.FlatEdit1);
    const Typed hour(GbkMid(in.FlatComboBox6, 9, 12));
    const QString lunar = panel.Label47 + panel.Label53 + panel.Label54;
    const QString before = QStringLiteral("    ");
    const QString middle = QStringLiteral("  生于 ") + DateToStr(in.DateTimePicker1.date) +
                           QStringLiteral("  农历") + lunar + QStringLiteral("  ");
    report.Add(before + name.plain + middle + hour.plain, before + name.page + middle + hour.page);
  }

  // The sections, in the order of the check boxes on the panel; each is copied
  // right after its reading, as the next reading may reuse the memo.
  if (in.suiCheckBox1) {
    FlatButton3Click(in, panel, store, notify);
    report.AddAll(panel.FlatMemo1);
  }
  if (in.suiCheckBox2) {
    FlatButton6Click(in, panel, store);
    report.AddAll(panel.FlatMemo1);
  }
  if (in.suiCheckBox4) {
    FlatButton15Click(in, panel);
    report.AddAll(panel.FlatMemo6);
  }
  if (in.suiCheckBox3) {
    FlatButton13Click(in, panel);
    report.AddAll(panel.FlatMemo6);
  }
  if (in.suiCheckBox5) {
    FlatButton18Click(in, panel, notify);
    const Typed number(in.FlatEdit2);
    const QString before = QStringLiteral("    你提供的手机号码是：");
    const QString after = QStringLiteral("根据周易的有关理论，该号码吉凶预测结果如下：");
    report.Add(QStringLiteral("\r\n    【※手机号码吉凶预测】"));
    report.Add(before + number.plain + after, before + number.page + after);
    report.Add(QStringLiteral("    ") + panel.MobileResultText);
  }
  if (in.suiCheckBox6) {
    FlatButton17Click(in, panel);
    report.Add(QStringLiteral("\r\n    【※腹中胎儿性别预测】"));
    report.Add(QStringLiteral("    ") + panel.Label39);
    report.Add(
        QStringLiteral("    本生男生女预测根据《古代胎儿预测术》及《日本科学育儿预测》编制而成，"
                       "准确率达到百分之九九点九八。"));
  }
  if (in.suiCheckBox7) {
    FlatButton5Click(in, panel);
    const Typed age(in.FlatComboBox4);
    const Typed wish(in.FlatComboBox5);
    auto line = [&panel](const QString& a, const QString& w) {
      return QStringLiteral("    ") + a + QStringLiteral("岁母亲想要一个") + w +
             QStringLiteral(
                 "。根据中外古今有关胎儿育儿等书籍预测，要心想事成，请选择下列时间怀孕：") +
             panel.Label39;
    };
    report.Add(QStringLiteral("\r\n    【※最佳怀孕时间预测】"));
    report.Add(line(age.plain, wish.plain), line(age.page, wish.page));
  }

  // The page: a frame, one paragraph per report line, the template.
  const QStringList& tail = PageTemplateLines();
  QStringList lines;
  lines.reserve(4 + 2 * body.size() + tail.size() + 1);
  lines << QStringLiteral("<html>")
        << QStringLiteral(
               "<body bgcolor=\"#fef4d9\" onmousemove=\"event.returnValue=false;\">"
               "<Body bgcolor=\"white\">")
        << QStringLiteral(
               "<p style=\"margin-bottom: 0\" align=\"center\"><b><font size=\"5\">"
               "相信科学 相信命运</font></b></P>")
        << QStringLiteral("<Hr width=\"80%\"><BR>");
  for (const QString& line : body) lines << line << QStringLiteral("<p>");
  lines << tail << QStringLiteral("</BODY></HTML>");
  page.FlatMemo1 = std::move(lines);
}

QString RunReport(const MainInputs& in, ResultPanel& panel, ReportPage& page, ReferenceStore& store,
                  const Notify& notify, const QString& page_path) {
  BuildReport(in, panel, page, store, notify);
  const QString path = page_path.isEmpty() ? TempPagePath() : page_path;
  WriteReportPage(page.FlatMemo1, path, FileUse::kPrivate);
  return path;
}

void WriteReportPage(const QStringList& page, const QString& path, FileUse use) {
  WriteGb18030Lines(path, page, use);
}

QString TempPagePath() { return CacheDir() + QStringLiteral("/temp.htm"); }

void CleanCachePages(bool pages) {
  QString dir;
  try {
    dir = CacheDir();
  } catch (const FileError&) {
    return;
  }
  QStringList names = {QStringLiteral("temp.htm.??????"), QStringLiteral("temp.tmp.??????")};
  if (pages) names << QStringLiteral("temp.htm") << QStringLiteral("temp.tmp");
  const QDir cache(dir);
  for (const QString& name : cache.entryList(names, QDir::AllEntries | QDir::Hidden | QDir::System |
                                                        QDir::NoDotAndDotDot)) {
    QFile::remove(cache.filePath(name));
  }
}

}  // namespace tessaly
