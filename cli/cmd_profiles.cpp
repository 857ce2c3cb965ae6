// SPDX-License-Identifier: GPL-3.0-or-later
// tessaly-cli profiles ... and history ...: the saved profiles (档案) and the
// reports made, in the user's profile store (store/profile_store.h).

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include <cstdio>

#include "cli/commands.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/text.h"
#include "report/report.h"
#include "store/profile_store.h"
#include "store/reference_store.h"

namespace tessaly::cli {
namespace {

// The store at its place, its notice (a damaged file moved aside) on standard error.
void OpenStore(ProfileStore& store) {
  store.Open(ProfileStore::DefaultPath());
  if (!store.notice().isEmpty()) Err(store.notice());
}

QString LocalTime(const QDateTime& t) {
  return t.isValid() ? t.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

// The profile's fields as `list` and `show` print them, in the JSON's order.
QList<std::pair<QString, QString>> Fields(const Profile& p) {
  QList<std::pair<QString, QString>> fields;
  const QJsonObject o = ProfileToJson(p);
  for (const char* name :
       {"name", "sex", "surname_kind", "birthday", "birth_hour", "time", "place", "longitude",
        "dst", "late_zi", "mobile", "mother_age", "pregnancy_month", "conception_age", "wish"}) {
    const QJsonValue v = o.value(QLatin1String(name));
    QString text = v.isString()   ? v.toString()
                   : v.isBool()   ? QString::fromLatin1(v.toBool() ? "true" : "false")
                   : v.isDouble() ? QString::number(v.toDouble())
                                  : QString();
    fields += {QLatin1String(name), text};
  }
  fields += {QStringLiteral("readings"), ReadingWords(p.readings).join(QLatin1Char(','))};
  fields += {QStringLiteral("created"), LocalTime(p.created)};
  fields += {QStringLiteral("changed"), LocalTime(p.changed)};
  return fields;
}

// Tab and line breaks inside a field would break the line into fields.
QString TsvField(QString text) {
  text.replace(QLatin1Char('\t'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return text;
}

// The one profile of a key, or the exit status 2 with the reason on standard error.
int Resolve(ProfileStore& store, const char* command, const QString& key, Profile& profile) {
  const QList<Profile> matches = store.Match(key);
  if (matches.size() == 1) {
    profile = matches.first();
    return -1;
  }
  if (matches.isEmpty()) {
    Err(QStringLiteral("tessaly-cli %1: no profile '%2'").arg(QLatin1String(command), key));
  } else {
    QStringList keys;
    for (const Profile& p : matches) keys += p.Key();
    Err(QStringLiteral("tessaly-cli %1: '%2' names %3 profiles: %4 (give the birthday too)")
            .arg(QLatin1String(command), key)
            .arg(matches.size())
            .arg(keys.join(QStringLiteral(", "))));
  }
  return 2;
}

// Reads --format tsv|json; returns the message for another value.
QString ReadFormat(const QCommandLineParser& parser, bool& json) {
  json = false;
  if (!parser.optionNames().contains(QStringLiteral("format"))) return {};
  const QString format = parser.value(QStringLiteral("format"));
  if (!format.isEmpty() && format != u"tsv" && format != u"json") {
    return QStringLiteral("--format takes tsv or json");
  }
  json = format == u"json";
  return {};
}

QByteArray ReadInput(const QString& file) {
  QFile in;
  const bool opened = file == u"-" ? in.open(stdin, QIODevice::ReadOnly)
                                   : (in.setFileName(file), in.open(QIODevice::ReadOnly));
  if (!opened) throw Error(QStringLiteral("无法读取“%1”：%2").arg(file, in.errorString()));
  const QByteArray bytes = in.readAll();
  if (in.error() != QFileDevice::NoError) {
    throw Error(QStringLiteral("无法读取“%1”：%2").arg(file, in.errorString()));
  }
  return bytes;
}

int RunProfileCommand(const QString& sub, const QStringList& args, QByteArray& out) {
  QCommandLineParser parser;
  const QCommandLineOption format(QStringLiteral("format"),
                                  QStringLiteral("tsv or json (default tsv)"),
                                  QStringLiteral("FORMAT"));
  const char* command = nullptr;
  if (sub == u"list") {
    command = "profiles list";
    parser.setApplicationDescription(
        QStringLiteral("Every saved profile, by name and birthday: one TAB-separated line each\n"
                       "(the fields of the JSON, readings comma-separated, times local), or\n"
                       "with --format json a list of profile objects."));
    parser.addOption(format);
  } else if (sub == u"show" || sub == u"delete") {
    command = sub == u"show" ? "profiles show" : "profiles delete";
    parser.setApplicationDescription(
        sub == u"show"
            ? QStringLiteral("A profile's fields, one per line: the field, a TAB, its value.")
            : QStringLiteral("Deletes a profile."));
    parser.addPositionalArgument(QStringLiteral("KEY"),
                                 QStringLiteral("\"name birthday\", or the name alone when one "
                                                "profile has it"));
  } else if (sub == u"export" || sub == u"import") {
    command = sub == u"export" ? "profiles export" : "profiles import";
    parser.setApplicationDescription(
        sub == u"export"
            ? QStringLiteral("Writes every profile to FILE (- for standard output) as a JSON list.")
            : QStringLiteral("Adds the profiles of a JSON list in FILE (- for standard input) and\n"
                             "updates those of the same name and birthday, all in one go: a file\n"
                             "with any bad entry is refused, naming it, and nothing is imported."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("the JSON file, or -"));
  } else {
    Err(QStringLiteral("tessaly-cli profiles: unknown command '%1' (list, show, delete, export "
                       "or import)")
            .arg(sub));
    return 2;
  }
  if (const int status = ParseArguments(parser, command, args, out); status >= 0) return status;
  const QStringList positional = parser.positionalArguments();
  const qsizetype wanted = sub == u"list" ? 0 : 1;
  if (positional.size() != wanted || (wanted == 1 && positional[0].isEmpty())) {
    return BadArguments(parser, command,
                        positional.size() > wanted
                            ? QStringLiteral("unexpected argument '%1'").arg(positional.last())
                            : QString());
  }
  bool json = false;
  if (const QString message = ReadFormat(parser, json); !message.isEmpty()) {
    return BadArguments(parser, command, message);
  }

  ProfileStore store;
  OpenStore(store);
  if (sub == u"list") {
    const QList<Profile> profiles = store.Profiles();
    if (json) {
      out += ProfilesToJsonText(profiles);
      return 0;
    }
    for (const Profile& p : profiles) {
      QStringList line;
      for (const auto& [name, value] : Fields(p)) line += TsvField(value);
      Out(out, line.join(QLatin1Char('\t')));
    }
  } else if (sub == u"show" || sub == u"delete") {
    Profile p;
    if (const int status = Resolve(store, command, positional[0], p); status >= 0) return status;
    if (sub == u"show") {
      for (const auto& [name, value] : Fields(p)) Out(out, name + QLatin1Char('\t') + value);
    } else {
      store.Delete(p.name, p.birthday);
      Out(out, QStringLiteral("已删除档案“%1”").arg(p.Key()));
    }
  } else if (sub == u"export") {
    const QByteArray text = ProfilesToJsonText(store.Profiles());
    if (positional[0] == u"-") {
      out += text;
    } else {
      // Written whole: the file is there complete, or as it was. A device
      // named (/dev/null) is written into, never replaced by a file.
      WriteFileBytes(positional[0], text, FileUse::kChosenPrivate);
    }
  } else {
    const QList<Profile> profiles = ProfilesFromJsonText(ReadInput(positional[0]));
    qsizetype updated = 0;
    for (const Profile& p : profiles) updated += store.Find(p.name, p.birthday) ? 1 : 0;
    store.SaveAll(profiles);
    Out(out, QStringLiteral("已导入 %1 份档案：新增 %2 份，更新 %3 份")
                 .arg(profiles.size())
                 .arg(profiles.size() - updated)
                 .arg(updated));
  }
  return 0;
}

}  // namespace

int RunProfiles(const QStringList& args, QByteArray& out) {
  if (args.isEmpty() || args.first().startsWith(QLatin1Char('-'))) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The saved profiles (档案), in ~/.local/share/tessaly/profiles.sqlite.\n\n"
        "Commands:\n"
        "  list [--format tsv|json]   every profile\n"
        "  show KEY                   a profile's fields\n"
        "  delete KEY                 deletes a profile\n"
        "  export FILE|-              every profile as JSON\n"
        "  import FILE|-              adds or updates the profiles of a JSON file\n\n"
        "KEY is \"name birthday\" (\"李雨桐 2004-03-21\") or the name alone when one\n"
        "profile has it."));
    if (const int status = ParseArguments(parser, "profiles", args, out); status >= 0)
      return status;
    return BadArguments(parser, "profiles", {});
  }
  return RunProfileCommand(args.first(), args.mid(1), out);
}

int RunHistory(const QStringList& args, QByteArray& out) {
  const QString sub = args.value(0);
  QCommandLineParser parser;
  const char* command = sub == u"list"   ? "history list"
                        : sub == u"show" ? "history show"
                                         : "history";
  if (sub == u"list") {
    parser.setApplicationDescription(
        QStringLiteral("The reports made (the newest %1), newest first: one TAB-separated line\n"
                       "each, the number, when it was made (local time), the name, birthday,\n"
                       "birth hour and readings; or with --format json a list of objects with\n"
                       "id, made and inputs (a profile object).")
            .arg(ProfileStore::kHistoryLimit));
    parser.addOption(QCommandLineOption(QStringLiteral("format"),
                                        QStringLiteral("tsv or json (default tsv)"),
                                        QStringLiteral("FORMAT")));
  } else if (sub == u"show") {
    parser.setApplicationDescription(
        QStringLiteral("The report N of the history made again from its inputs, as report\n"
                       "prints it. This year's forecasts follow today's date; standard error\n"
                       "says on which day the report was first made."));
    parser.addPositionalArgument(QStringLiteral("N"),
                                 QStringLiteral("the number history list gives"));
  } else {
    parser.setApplicationDescription(
        QStringLiteral("The reports made with report --save-history.\n\nCommands:\n"
                       "  list [--format tsv|json]   the reports, newest first\n"
                       "  show N                     report N again"));
  }
  const QStringList rest = sub == u"list" || sub == u"show" ? args.mid(1) : args;
  if (const int status = ParseArguments(parser, command, rest, out); status >= 0) return status;
  if (command == std::string_view("history")) {
    return BadArguments(
        parser, command,
        sub.isEmpty() ? QString() : QStringLiteral("unknown command '%1' (list or show)").arg(sub));
  }
  const QStringList positional = parser.positionalArguments();
  bool ok = sub == u"list" ? positional.isEmpty() : positional.size() == 1;
  const qint64 id = sub == u"show" ? positional.value(0).toLongLong(&ok) : 0;
  if (!ok) return BadArguments(parser, command, {});
  bool json = false;
  if (const QString message = ReadFormat(parser, json); !message.isEmpty()) {
    return BadArguments(parser, command, message);
  }

  ProfileStore store;
  OpenStore(store);
  if (sub == u"list") {
    QJsonArray list;
    for (const HistoryEntry& e : store.History()) {
      if (json) {
        QJsonObject inputs = ProfileToJson(e.inputs);
        inputs.remove(QStringLiteral("created"));
        inputs.remove(QStringLiteral("changed"));
        list += QJsonObject{{QStringLiteral("id"), e.id},
                            {QStringLiteral("made"), e.made.toString(Qt::ISODate)},
                            {QStringLiteral("inputs"), inputs}};
      } else {
        Out(out, QStringList{QString::number(e.id), LocalTime(e.made), TsvField(e.inputs.name),
                             DateToStr(e.inputs.birthday), e.inputs.birth_hour,
                             ReadingWords(e.inputs.readings).join(QLatin1Char(','))}
                     .join(QLatin1Char('\t')));
      }
    }
    if (json) out += QJsonDocument(list).toJson(QJsonDocument::Indented);
    return 0;
  }
  const std::optional<HistoryEntry> entry = store.HistoryEntryOf(id);
  if (!entry) {
    Err(QStringLiteral("tessaly-cli history show: no report %1 in the history").arg(positional[0]));
    return 2;
  }
  const Person person = PersonOf(entry->inputs);
  ReferenceStore references;
  if (person.readings.testAnyFlags(Reading::Name | Reading::Lifetime)) {
    references.Open(ReferenceStore::DefaultPath());
  }
  Report report;
  BuildReport(
      person, references, [](const QString& message) { Err(message); }, report);
  for (const QString& line : report.plain) Out(out, line);
  Err(QStringLiteral("此报告最初生成于 %1；今年的运势按今天的日期推算。")
          .arg(DateToStr(entry->made.toLocalTime().date())));
  return 0;
}

int ProfileForReport(const QString& key, Person& person) {
  ProfileStore store;
  OpenStore(store);
  Profile profile;
  if (const int status = Resolve(store, "report", key, profile); status >= 0) return status;
  person = PersonOf(profile);
  return -1;
}

void SaveHistory(const Person& person) {
  ProfileStore store;
  OpenStore(store);
  store.AddHistory(ProfileOf(person));
}

}  // namespace tessaly::cli
