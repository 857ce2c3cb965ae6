// SPDX-License-Identifier: GPL-3.0-or-later
// tessaly-cli report [OPTIONS]: runs the report command headlessly and prints
// the plain report, one line per line. The options fill in the person and the
// readings; each defaults to the main window's default. A message the window
// shows in a box of its own goes to standard error and the report goes on; an
// error the window shows in its error box goes to standard error with exit
// status 1 and nothing on standard output.

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QHash>

#include "calendar/calendar_range.h"
#include "cli/commands.h"
#include "cli/report_json.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/text.h"
#include "readings/birth_moment.h"
#include "readings/person.h"
#include "readings/readings.h"
#include "readings/surnames.h"
#include "report/report.h"
#include "store/reference_store.h"

namespace tessaly::cli {
namespace {

constexpr char kCommand[] = "report";

// Whether the path, followed as given, names the file standard output goes to:
// the page would replace or overwrite the report.
bool IsStandardOutput(const QString& path) {
  struct stat page = {};
  struct stat out = {};
  return ::fstat(STDOUT_FILENO, &out) == 0 &&
         ::stat(QFile::encodeName(path).constData(), &page) == 0 && page.st_dev == out.st_dev &&
         page.st_ino == out.st_ino;
}

// What the options ask for: the person and the readings, and where and how the
// report goes.
struct Request {
  Person person;
  QString page_file;  // empty: no page
  bool gb18030 = false;
  bool json = false;  // --format json
  bool warned_surname = false;
};

// The options, for the parser and its help.
QList<QCommandLineOption> ReportOptions() {
  const auto option = ValueOption;
  return {
      option("name", "TEXT",
             QStringLiteral("name, one to four Chinese characters (single-byte characters such "
                            "as letters, digits and punctuation are dropped)")),
      option("sex", "SEX", QStringLiteral("男 or 女")),
      option("surname-kind", "KIND", QStringLiteral("单姓 or 复姓")),
      option("surname", "KIND",
             QStringLiteral("the old spelling of --surname-kind (warns on standard error)")),
      option("birthday", "Y-M-D",
             QStringLiteral("%1 .. %2 (default today)")
                 .arg(DateToStr(FirstCalendarDay()), DateToStr(LastCalendarDay()))),
      option("hour", "TEXT",
             QStringLiteral("birth hour: an entry such as \"23-01时 子时\" or its name \"子时\"")),
      option("mobile", "TEXT", QStringLiteral("mobile number")),
      option("mother-age", "TEXT",
             QStringLiteral("mother's nominal age for the sex prediction (18..44)")),
      option("pregnancy-month", "TEXT", QStringLiteral("month of pregnancy (01..12)")),
      option("conception-age", "TEXT",
             QStringLiteral("mother's nominal age for the conception timing (18..44)")),
      option("wish", "WISH", QStringLiteral("男孩 or 女孩")),
      option("readings", "LIST",
             QStringLiteral("comma-separated: name, lifetime, zodiac, star, mobile, sex, "
                            "conception, bazi, or all (default name,lifetime,zodiac,star)")),
      option("time", "HH:MM",
             QStringLiteral("exact time of birth, 00:00 .. 23:59, for bazi (default: the middle "
                            "of the birth hour); also sets --hour unless it is given")),
      option("place", "NAME",
             QStringLiteral("place of birth for bazi's true solar time: a provincial capital "
                            "or its province (北京, 石家庄, 河北, 香港, 台北 ...)")),
      option("longitude", "DEG",
             QStringLiteral("longitude of the place of birth instead, 73 .. 135 (degrees east)")),
      option("dst", "MODE",
             QStringLiteral("auto or off (default auto): read the time with the place's "
                            "daylight saving time, or as standard time (UTC+8)")),
      option("late-zi", "MODE",
             QStringLiteral("next-day or same-day (default next-day): the day of a birth at "
                            "23:00 .. 23:59")),
      option("page", "FILE", QStringLiteral("also write the report page there (GB18030, CR LF)")),
      option("encoding", "ENCODING",
             QStringLiteral("utf-8, gbk or gb18030 (default utf-8); gbk and gb18030 both give "
                            "GB18030 with CR LF, which is GBK wherever GBK holds the text")),
      option("format", "FORMAT",
             QStringLiteral("tsv or json (default tsv): tsv is the plain report; json gives "
                            "every reading's fields by name, in UTF-8")),
      option("profile", "KEY",
             QStringLiteral("start from the saved profile KEY (\"name birthday\", or the name "
                            "alone when one profile has it); the other options override it")),
      QCommandLineOption(QStringLiteral("save-history"),
                         QStringLiteral("add the report to the history (tessaly-cli history)")),
  };
}

// The options as the person, the readings and the output: the one place that
// maps them. They are read in the order given, so that a repeated option counts
// with its last value and the first bad value is the one reported. Returns the
// message for a value that an option does not take.
QString ReadOptions(const QCommandLineParser& parser, Request& request) {
  Person& person = request.person;
  QHash<QString, qsizetype> taken;  // values read so far, by option
  const bool hour_given = parser.isSet(QStringLiteral("hour"));
  for (const QString& option : parser.optionNames()) {
    const QString value = parser.values(option).value(taken[option]++);
    if (option == u"name") {
      person.name = WithoutSingleBytes(value);
    } else if (option == u"sex") {
      if (value == SexText(Sex::Male)) {
        person.sex = Sex::Male;
      } else if (value == SexText(Sex::Female)) {
        person.sex = Sex::Female;
      } else {
        return QStringLiteral("--sex takes 男 or 女");
      }
    } else if (option == u"surname-kind" || option == u"surname") {
      if (option == u"surname" && !request.warned_surname) {
        request.warned_surname = true;
        Err(Program(kCommand) +
            QStringLiteral(
                ": --surname is the old spelling of --surname-kind; use --surname-kind"));
      }
      if (value == SurnameKindText(SurnameKind::Single)) {
        person.surname_kind = SurnameKind::Single;
      } else if (value == SurnameKindText(SurnameKind::Compound)) {
        person.surname_kind = SurnameKind::Compound;
      } else {
        return QStringLiteral("--%1 takes 单姓 or 复姓").arg(option);
      }
    } else if (option == u"birthday") {
      QDate date;
      try {
        date = StrToDate(value);
      } catch (const Error& e) {
        return e.message();
      }
      if (!InCalendarRange(date)) {
        return QStringLiteral("--birthday must lie between %1 and %2")
            .arg(DateToStr(FirstCalendarDay()), DateToStr(LastCalendarDay()));
      }
      person.birthday = DateTime::AtMidnight(date);
    } else if (option == u"hour") {
      // An empty text selects the first entry, as the list does when it loses the focus.
      const int index = BirthHourIndex(value.isEmpty() ? BirthHourItems().first() : value);
      if (index < 0) {
        return QStringLiteral(
                   "--hour takes one of the twelve hours, an entry such as "
                   "\"23-01时 子时\" or its name \"子时\": '%1'")
            .arg(value);
      }
      person.birth_hour = BirthHourItems()[index];
      person.birth_hour_index = index;
    } else if (option == u"mobile") {
      person.mobile = value;
    } else if (option == u"mother-age" || option == u"conception-age") {
      if (!IsNominalAge(value)) {
        return QStringLiteral("--%1 takes a nominal age from 18 to 44, in digits: '%2'")
            .arg(option, value);
      }
      (option == u"mother-age" ? person.mother_age : person.conception_age) = value;
    } else if (option == u"pregnancy-month") {
      if (!IsPregnancyMonth(value)) {
        return QStringLiteral("--pregnancy-month takes a month from 01 to 12, in digits: '%1'")
            .arg(value);
      }
      person.pregnancy_month = value;
    } else if (option == u"wish") {
      if (value == QStringLiteral("男孩")) {
        person.wish_index = 0;
      } else if (value == QStringLiteral("女孩")) {
        person.wish_index = 1;
      } else {
        return QStringLiteral("--wish takes 男孩 or 女孩");
      }
      person.wish = value;
    } else if (option == u"readings") {
      QStringList words;
      for (const QString& word : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        words += word.trimmed();
      }
      if (words.isEmpty()) return QStringLiteral("--readings names no reading");
      QString unknown;
      if (!ReadingsOfWords(words, person.readings, unknown)) {
        return QStringLiteral("unknown reading '%1'").arg(unknown);
      }
    } else if (option == u"time") {
      const QTime t = ParseBirthTime(value);
      if (!t.isValid()) return QStringLiteral("--time takes HH:MM, 00:00 .. 23:59");
      person.birth_time = t.toString(QStringLiteral("HH:mm"));
      if (!hour_given) {
        const int index = (t.hour() + 1) / 2 % 12;
        person.birth_hour = BirthHourItems()[index];
        person.birth_hour_index = index;
      }
    } else if (option == u"place") {
      const BirthPlace* place = FindBirthPlace(value);
      if (!place) {
        return QStringLiteral(
                   "unknown --place '%1': a provincial capital or its province, such as 北京, "
                   "石家庄, 河北, 香港")
            .arg(value);
      }
      person.birth_place = QString::fromUtf16(place->seat);
      person.birth_longitude.reset();
    } else if (option == u"longitude") {
      bool ok = false;
      const double degrees = value.trimmed().toDouble(&ok);
      if (!ok || !(degrees >= kMinLongitude && degrees <= kMaxLongitude)) {
        return QStringLiteral("--longitude takes degrees east from 73 to 135");
      }
      person.birth_longitude = degrees;
      person.birth_place.clear();
    } else if (option == u"dst") {
      if (value != QStringLiteral("auto") && value != QStringLiteral("off")) {
        return QStringLiteral("--dst takes auto or off");
      }
      person.daylight_saving = value == QStringLiteral("auto");
    } else if (option == u"late-zi") {
      if (value != QStringLiteral("next-day") && value != QStringLiteral("same-day")) {
        return QStringLiteral("--late-zi takes next-day or same-day");
      }
      person.late_zi_next_day = value == QStringLiteral("next-day");
    } else if (option == u"page") {
      if (value.isEmpty()) return QStringLiteral("--page needs a file name");
      request.page_file = value;
    } else if (option == u"encoding") {
      if (value == QStringLiteral("utf-8") || value == QStringLiteral("utf8")) {
        request.gb18030 = false;
      } else if (value == QStringLiteral("gbk") || value == QStringLiteral("gb18030")) {
        request.gb18030 = true;
      } else {
        return QStringLiteral("--encoding takes utf-8, gbk or gb18030");
      }
    } else if (option == u"format") {
      if (value != QStringLiteral("tsv") && value != QStringLiteral("json")) {
        return QStringLiteral("--format takes tsv or json");
      }
      request.json = value == QStringLiteral("json");
    }
  }
  return {};
}

}  // namespace

int RunReport(const QStringList& args, QByteArray& out) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("The report of the chosen readings as plain text, one line per line. Each\n"
                     "option defaults to the main window's default. A message the program shows\n"
                     "in a box of its own goes to standard error and the report goes on."));
  parser.addOptions(ReportOptions());
  if (const int status = ParseArguments(parser, kCommand, args, out); status >= 0) return status;
  const auto bad = [&parser](const QString& message) {
    return BadArguments(parser, kCommand, message);
  };
  if (const QStringList stray = parser.positionalArguments(); !stray.isEmpty()) {
    return bad(QStringLiteral("unexpected argument '%1'").arg(stray.first()));
  }
  Request request;
  if (parser.isSet(QStringLiteral("profile"))) {
    const int status = ProfileForReport(parser.value(QStringLiteral("profile")), request.person);
    if (status >= 0) return status;
  }
  if (const QString message = ReadOptions(parser, request); !message.isEmpty()) {
    return bad(message);
  }
  const Person& person = request.person;
  // The kind is not changed: the warning says what the name reading takes.
  if (const QString compound = CompoundSurnameOf(WithoutSingleBytes(person.name));
      !compound.isEmpty() && person.surname_kind == SurnameKind::Single &&
      person.readings.testFlag(Reading::Name)) {
    Err(QStringLiteral("tessaly-cli report: %1 is a compound surname, but with --surname-kind "
                       "单姓 the name reading takes %2 alone as the surname")
            .arg(compound, compound.left(1)));
  }

  if (request.json && request.gb18030) {
    return bad(QStringLiteral("--format json is always UTF-8: --encoding is for the plain report"));
  }
  if (!request.page_file.isEmpty() && IsStandardOutput(request.page_file)) {
    return bad(QStringLiteral("--page names the file standard output goes to"));
  }

  // Only the name and lifetime readings read the store.
  ReferenceStore store;
  if (person.readings.testAnyFlags(Reading::Name | Reading::Lifetime)) {
    store.Open(ReferenceStore::DefaultPath());
  }

  Report report;
  BuildReport(
      person, store,
      [](const QString& message) { Err(Program(kCommand) + QStringLiteral(": ") + message); },
      report);

  // The whole output is made before anything is written, so that an error
  // (a page that cannot be written) leaves standard output empty.
  if (request.json) out += ReportJson(report);
  for (const QString& line : request.json ? QStringList() : report.plain) {
    if (request.gb18030) {
      out += ToGb18030(line);
      out += "\r\n";
    } else {
      out += line.toUtf8();
      out += '\n';
    }
  }
  if (!request.page_file.isEmpty()) {
    WriteReportPage(report.page, request.page_file, FileUse::kChosenPrivate);
  }
  if (parser.isSet(QStringLiteral("save-history"))) SaveHistory(person);
  return 0;
}

}  // namespace tessaly::cli
