// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report.h"

#include "core/dates.h"
#include "core/paths.h"
#include "core/text.h"

namespace tessaly {

namespace {

// A text of the report in its two forms: as the plain report shows it, and as
// the page shows it (escaped where the user typed it).
struct ReportLine {
  QString plain;
  QString page;
  bool on_page = true;  // false: a plain line that a table on the page stands for
};
using Lines = QList<ReportLine>;

// A text without typed parts: the same in both forms.
ReportLine Same(const QString& text) { return {text, text}; }

// A text with one typed part in the middle.
ReportLine WithTyped(const QString& before, const QString& typed, const QString& after = {}) {
  return {before + typed + after, before + EscapeHtml(typed) + after};
}

Lines Same(const QStringList& section) {
  Lines lines;
  lines.reserve(section.size());
  for (const QString& line : section) lines.append(Same(line));
  return lines;
}

// What a section's reading works from, and where it leaves its result.
struct Step {
  const Person& person;
  ReferenceStore& store;
  const Notify& notify;
  Report::Results& results;
};

Lines NameLines(Step& s) {
  return Same(s.results.name.emplace(ReadName(s.person, s.store, s.notify)).section);
}

Lines LifetimeLines(Step& s) {
  return Same(s.results.lifetime.emplace(ReadLifetime(s.person, s.results.lunar, s.store)).section);
}

Lines ZodiacLines(Step& s) {
  return Same(s.results.zodiac.emplace(ReadZodiacForecast(s.person)).section);
}

Lines StarSignLines(Step& s) {
  return Same(s.results.star_sign.emplace(ReadStarForecast(s.person)).section);
}

Lines MobileLines(Step& s) {
  const MobileResult& r = s.results.mobile.emplace(ReadMobile(s.person, s.notify));
  return {WithTyped(QStringLiteral("    你提供的手机号码是："), s.person.mobile,
                    QStringLiteral("根据周易的有关理论，该号码吉凶预测结果如下：")),
          Same(QStringLiteral("    ") + r.verdict)};
}

Lines ChildSexLines(Step& s) {
  const PregnancyResult& r = s.results.child_sex.emplace(PredictChildSex(s.person));
  return {
      Same(QStringLiteral("    ") + r.sentence),
      Same(QStringLiteral("    本生男生女预测根据《古代胎儿预测术》及《日本科学育儿预测》编制而成，"
                          "准确率达到百分之九九点九八。"))};
}

Lines ConceptionLines(Step& s) {
  const PregnancyResult& r = s.results.conception.emplace(ChooseConceptionMonths(s.person));
  const ReportLine age =
      WithTyped(QStringLiteral("    "), s.person.conception_age, QStringLiteral("岁母亲想要一个"));
  const ReportLine wish = WithTyped(
      {}, s.person.wish,
      QStringLiteral("。根据中外古今有关胎儿育儿等书籍预测，要心想事成，请选择下列时间怀孕：") +
          r.sentence);
  return {{age.plain + wish.plain, age.page + wish.page}};
}

// The pillars' block as a table on the page, stems over branches; the plain
// lines it stands for stay in the plain report only.
QString PillarTable(const BaziResult& r) {
  const QStringList& lines = r.section;
  QString html = QStringLiteral(
      "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
      "style=\"border-collapse: collapse; font: inherit; margin-left: 2em; text-align: center\">");
  for (int i = r.block_first; i < r.block_first + r.block_size; ++i) {
    const QStringList cells = lines[i].trimmed().split(QChar(0x3000), Qt::SkipEmptyParts);
    html += QStringLiteral("<tr>");
    if (i == r.block_first) html += QStringLiteral("<th></th>");
    for (int k = 0; k < cells.size(); ++k) {
      const bool head = i == r.block_first || k == 0;
      html += (head ? QStringLiteral("<th>") : QStringLiteral("<td>")) + cells[k] +
              (head ? QStringLiteral("</th>") : QStringLiteral("</td>"));
    }
    html += QStringLiteral("</tr>");
  }
  return html + QStringLiteral("</table>");
}

Lines BaziLines(Step& s) {
  const BaziResult& r = s.results.bazi.emplace(ReadBazi(s.person));
  Lines lines;
  for (int i = 0; i < r.section.size(); ++i) {
    if (i == r.block_first) {
      lines.append({r.section[i], PillarTable(r), true});
    } else if (i > r.block_first && i < r.block_first + r.block_size) {
      lines.append({r.section[i], QString(), false});
    } else {
      lines.append(Same(r.section[i]));
    }
  }
  return lines;
}

// The sections in the order they appear: the reading that writes each, its
// heading, and the function that runs the reading and gives its lines.
struct Section {
  Reading reading;
  const char16_t* heading;
  Lines (*lines)(Step&);
};

constexpr Section kSections[] = {
    {Reading::Name, u"【※姓名祸福预测】", NameLines},
    {Reading::Lifetime, u"【※一生命运预测】", LifetimeLines},
    {Reading::Zodiac, u"【※今年属相运程】", ZodiacLines},
    {Reading::StarSign, u"【※今年星座运程】", StarSignLines},
    {Reading::Mobile, u"【※手机号码吉凶预测】", MobileLines},
    {Reading::ChildSex, u"【※腹中胎儿性别预测】", ChildSexLines},
    {Reading::Conception, u"【※最佳怀孕时间预测】", ConceptionLines},
    {Reading::Bazi, u"【※生辰八字分析】", BaziLines},
};

// The plain report and the page body grow side by side. Both split line breaks
// the same way, so line i of the report is paragraph i of the page, up to the
// four pillars' table, which stands for several plain lines.
class Collector {
 public:
  Collector(QStringList& plain, QStringList& body) : plain_(plain), body_(body) {}

  void Add(const ReportLine& line) {
    AddLine(plain_, line.plain);
    if (line.on_page) AddLine(body_, line.page);
  }

 private:
  QStringList& plain_;
  QStringList& body_;
};

// The page: a frame, one paragraph per report line, the template.
QStringList PageOf(const QStringList& body) {
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
  return lines;
}

}  // namespace

void BuildReport(const Person& person, ReferenceStore& store, const Notify& notify,
                 Report& report) {
  report.plain.clear();
  report.results = {};
  QStringList body;
  Collector collect(report.plain, body);

  report.results.lunar = LunarBirthOf(person.birthday);

  // Header: name, birthday, lunar date and the double hour (bytes 9 to 20 of
  // the birth-hour text: the name after "23-01时 ").
  {
    const LunarBirth& lunar = report.results.lunar;
    const ReportLine name = WithTyped(QStringLiteral("    "), person.name);
    const ReportLine hour = WithTyped(QStringLiteral("  生于 ") + DateToStr(person.birthday.date) +
                                          QStringLiteral("  农历") + lunar.year + lunar.month +
                                          lunar.day + QStringLiteral("  "),
                                      GbkMid(person.birth_hour, 9, 12));
    collect.Add({name.plain + hour.plain, name.page + hour.page});
  }

  // Each section is added once its reading is done: a reading that fails
  // leaves no heading behind.
  Step step{person, store, notify, report.results};
  for (const Section& section : kSections) {
    if (!person.readings.testFlag(section.reading)) continue;
    const Lines lines = section.lines(step);
    collect.Add(Same(QStringLiteral("\r\n    ") + QString::fromUtf16(section.heading)));
    for (const ReportLine& line : lines) collect.Add(line);
  }

  report.page = PageOf(body);
}

QString RunReport(const Person& person, ReferenceStore& store, const Notify& notify, Report& report,
                  const QString& page_path) {
  BuildReport(person, store, notify, report);
  const QString path = page_path.isEmpty() ? TempPagePath() : page_path;
  WriteReportPage(report.page, path, FileUse::kPrivate);
  return path;
}

}  // namespace tessaly
