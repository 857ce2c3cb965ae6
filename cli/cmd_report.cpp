// tessaly-cli report [OPTIONS]: runs the report command headlessly and prints
// the plain report, one line per line. The options fill in the person and the
// readings; each defaults to the main window's default. A message the window
// shows in a box of its own goes to standard error and the report goes on; an
// error the window shows in its error box goes to standard error with exit
// status 1 and nothing on standard output.

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include <cstdio>

#include "calendar/calendar_range.h"
#include "cli/commands.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/text.h"
#include "readings/person.h"
#include "report/report.h"
#include "store/reference_store.h"

namespace tessaly::cli {
namespace {

constexpr const char* kUsage =
    "usage: tessaly-cli report [OPTIONS]\n"
    "  --name TEXT              name, one to four Chinese characters (single-byte characters\n"
    "                           such as letters, digits and punctuation are dropped)\n"
    "  --sex 男|女\n"
    "  --surname 单姓|复姓\n"
    "  --birthday Y-M-D         1901-01-01 .. 2050-12-31 (default today)\n"
    "  --hour TEXT              birth hour: an entry such as \"23-01时 子时\" or its name "
    "\"子时\"\n"
    "  --mobile TEXT            mobile number\n"
    "  --mother-age TEXT        mother's nominal age for the sex prediction (18..44)\n"
    "  --pregnancy-month TEXT   month of pregnancy (01..12)\n"
    "  --conception-age TEXT    mother's nominal age for the conception timing (18..44)\n"
    "  --wish 男孩|女孩\n"
    "  --readings LIST          comma-separated: name, lifetime, zodiac, star, mobile, sex,\n"
    "                           conception, or all (default name,lifetime,zodiac,star)\n"
    "  --page FILE              also write the report page there (GB18030, CR LF)\n"
    "  --encoding utf-8|gbk|gb18030\n"
    "                           output encoding; gbk and gb18030 both give GB18030 with CR LF,\n"
    "                           which is GBK wherever GBK holds the text\n";

int BadOption(const QString& message) {
  Err(QStringLiteral("tessaly-cli report: ") + message);
  std::fputs(kUsage, stderr);
  return 2;
}

// The readings by their option names, in the order of their sections.
constexpr struct {
  const char* name;
  Reading reading;
} kReadingNames[] = {
    {"name", Reading::Name},
    {"lifetime", Reading::Lifetime},
    {"zodiac", Reading::Zodiac},
    {"star", Reading::StarSign},
    {"mobile", Reading::Mobile},
    {"sex", Reading::ChildSex},
    {"conception", Reading::Conception},
};

// The readings named in the list; false on an unknown name, or with `unknown`
// empty when the list names none.
bool SelectReadings(const QString& list, Readings& readings, QString& unknown) {
  const QStringList items = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
  if (items.isEmpty()) return false;
  readings = {};
  for (const QString& raw : items) {
    const QString item = raw.trimmed();
    const bool all = item == QStringLiteral("all");
    bool known = all;
    for (const auto& r : kReadingNames) {
      if (all || item == QLatin1String(r.name)) {
        readings |= r.reading;
        known = true;
      }
    }
    if (!known) {
      unknown = item;
      return false;
    }
  }
  return true;
}

// The birth-hour list: an entry selects itself, the name of an entry (子时)
// selects that entry, an empty text selects the first entry as the list does
// when it loses the focus; any other text stays as typed and selects nothing.
void SetHour(const QString& text, Person& person) {
  const QStringList& items = BirthHourItems();
  const QString wanted = text.isEmpty() ? items.first() : text;
  for (int i = 0; i < items.size(); ++i) {
    if (wanted == items[i] || wanted == GbkMid(items[i], 9, 4)) {
      person.birth_hour = items[i];
      person.birth_hour_index = i;
      return;
    }
  }
  person.birth_hour = text;
  person.birth_hour_index = -1;
}

// Whether the path, followed as given, names the file standard output goes to:
// the page would replace or overwrite the report.
bool IsStandardOutput(const QString& path) {
  struct stat page = {};
  struct stat out = {};
  return ::fstat(STDOUT_FILENO, &out) == 0 &&
         ::stat(QFile::encodeName(path).constData(), &page) == 0 && page.st_dev == out.st_dev &&
         page.st_ino == out.st_ino;
}

}  // namespace

int RunReport(const QStringList& args, QByteArray& out) {
  Person person;
  QString page_file;
  bool gbk = false;

  for (qsizetype i = 0; i < args.size(); ++i) {
    QString option = args[i];
    QString value;
    bool has_value = false;
    if (const qsizetype eq = option.indexOf(QLatin1Char('=')); option.startsWith(u"--") && eq > 0) {
      value = option.mid(eq + 1);
      option = option.left(eq);
      has_value = true;
    }
    if (option == QStringLiteral("--help") || option == QStringLiteral("-h")) {
      out = kUsage;
      return 0;
    }
    if (!option.startsWith(u"--"))
      return BadOption(QStringLiteral("unexpected argument '%1'").arg(option));
    if (!has_value) {
      if (i + 1 >= args.size()) return BadOption(QStringLiteral("%1 needs a value").arg(option));
      value = args[++i];
    }

    if (option == QStringLiteral("--name")) {
      person.name = WithoutSingleBytes(value);
    } else if (option == QStringLiteral("--sex")) {
      if (value == SexText(Sex::Male)) {
        person.sex = Sex::Male;
      } else if (value == SexText(Sex::Female)) {
        person.sex = Sex::Female;
      } else {
        return BadOption(QStringLiteral("--sex takes 男 or 女"));
      }
    } else if (option == QStringLiteral("--surname")) {
      if (value == SurnameKindText(SurnameKind::Single)) {
        person.surname_kind = SurnameKind::Single;
      } else if (value == SurnameKindText(SurnameKind::Compound)) {
        person.surname_kind = SurnameKind::Compound;
      } else {
        return BadOption(QStringLiteral("--surname takes 单姓 or 复姓"));
      }
    } else if (option == QStringLiteral("--birthday")) {
      QDate date;
      try {
        date = StrToDate(value);
      } catch (const Error& e) {
        return BadOption(e.message());
      }
      if (!InCalendarRange(date)) {
        return BadOption(QStringLiteral("--birthday must lie between %1 and %2")
                             .arg(DateToStr(FirstCalendarDay()), DateToStr(LastCalendarDay())));
      }
      person.birthday = DateTime::AtMidnight(date);
    } else if (option == QStringLiteral("--hour")) {
      SetHour(value, person);
    } else if (option == QStringLiteral("--mobile")) {
      person.mobile = value;
    } else if (option == QStringLiteral("--mother-age")) {
      person.mother_age = value;
    } else if (option == QStringLiteral("--pregnancy-month")) {
      person.pregnancy_month = value;
    } else if (option == QStringLiteral("--conception-age")) {
      person.conception_age = value;
    } else if (option == QStringLiteral("--wish")) {
      if (value == QStringLiteral("男孩")) {
        person.wish_index = 0;
      } else if (value == QStringLiteral("女孩")) {
        person.wish_index = 1;
      } else {
        return BadOption(QStringLiteral("--wish takes 男孩 or 女孩"));
      }
      person.wish = value;
    } else if (option == QStringLiteral("--readings")) {
      QString unknown;
      if (!SelectReadings(value, person.readings, unknown)) {
        return BadOption(unknown.isEmpty() ? QStringLiteral("--readings names no reading")
                                           : QStringLiteral("unknown reading '%1'").arg(unknown));
      }
    } else if (option == QStringLiteral("--page")) {
      if (value.isEmpty()) return BadOption(QStringLiteral("--page needs a file name"));
      page_file = value;
    } else if (option == QStringLiteral("--encoding")) {
      if (value == QStringLiteral("utf-8") || value == QStringLiteral("utf8")) {
        gbk = false;
      } else if (value == QStringLiteral("gbk") || value == QStringLiteral("gb18030")) {
        gbk = true;
      } else {
        return BadOption(QStringLiteral("--encoding takes utf-8, gbk or gb18030"));
      }
    } else {
      return BadOption(QStringLiteral("unknown option '%1'").arg(option));
    }
  }

  if (!page_file.isEmpty() && IsStandardOutput(page_file)) {
    return BadOption(QStringLiteral("--page names the file standard output goes to"));
  }

  // Only the name and lifetime readings read the store.
  ReferenceStore store;
  if (person.readings.testAnyFlags(Reading::Name | Reading::Lifetime)) {
    store.Open(ReferenceStore::DefaultPath());
  }

  Report report;
  BuildReport(
      person, store, [](const QString& message) { Err(message); }, report);

  // The whole output is made before anything is written, so that an error
  // (a page that cannot be written) leaves standard output empty.
  for (const QString& line : report.plain) {
    if (gbk) {
      out += ToGb18030(line);
      out += "\r\n";
    } else {
      out += line.toUtf8();
      out += '\n';
    }
  }
  if (!page_file.isEmpty()) WriteReportPage(report.page, page_file);
  return 0;
}

}  // namespace tessaly::cli
