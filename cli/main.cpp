// SPDX-License-Identifier: GPL-3.0-or-later
// tessaly-cli: the program's readings and calendar from the command line.

#include <QCoreApplication>
#include <QStringDecoder>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>

#include "cli/commands.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/text.h"

namespace tessaly::cli {

void Out(QByteArray& out, const QString& line) {
  out += line.toUtf8();
  out += '\n';
}

void Err(const QString& line) {
  const QByteArray b = line.toUtf8();
  std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), stderr);
  std::fputc('\n', stderr);
}

namespace {

constexpr std::array kCommands{
    Command{"strokes", "strokes TEXT          stroke count of each character of TEXT", RunStrokes},
    Command{"calendar", "calendar FROM [TO]    lunar date and signs of each date from FROM to TO",
            RunCalendar},
    Command{"report", "report [OPTIONS]      the report of the ticked readings (see report --help)",
            RunReport},
    Command{"names", "names [OPTIONS]       scores or generates given names (see names --help)",
            RunNames},
    Command{"almanac", "almanac FROM [TO]     the almanac (黄历) of each day; --find chooses days",
            RunAlmanac},
    Command{"profiles",
            "profiles COMMAND      the saved profiles: list, show, delete, export, import",
            RunProfiles},
    Command{"history", "history COMMAND       the reports made: list, show N", RunHistory},
};

// The parser's help. Its usage line names the program as it was started; here
// it names the program and the command.
QString HelpText(const QCommandLineParser& parser, const char* command) {
  QString text = parser.helpText();
  const QString usage = QStringLiteral("Usage: ");
  const QString started_as = usage + QCoreApplication::arguments().value(0);
  if (text.startsWith(started_as + QLatin1Char(' '))) {
    text.replace(0, started_as.size(), usage + Program(command));
  }
  return text;
}

// An option the parser does not know, as it was given: --name when a long
// option of that name was given, -n for a short one (also from a group -xyz).
QString OptionAsGiven(const QString& name, const QStringList& args) {
  const QString long_form = QStringLiteral("--") + name;
  for (const QString& arg : args) {
    if (arg == QStringLiteral("--")) break;
    if (arg == long_form || arg.startsWith(long_form + QLatin1Char('='))) return long_form;
  }
  return QStringLiteral("-") + name;
}

// The description of the program in its help: what it does and its commands.
QString ProgramDescription() {
  QString text = QStringLiteral(
      "Tessaly's readings and lunar calendar from the command line. Output is UTF-8,\n"
      "one line per line; exit status 0 done, 1 failed, 2 bad options.\n\nCommands:\n");
  for (const Command& c : kCommands) {
    text += QStringLiteral("  ") + QString::fromUtf8(c.synopsis) + QLatin1Char('\n');
  }
  text.chop(1);
  return text;
}

// A standard stream the caller closed is taken by /dev/null before anything
// else can open a file there; standard output read-only, so that writing the
// output fails rather than vanishes.
void TakeClosedStandardStreams() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      ::open("/dev/null", fd == STDOUT_FILENO ? O_RDONLY : O_RDWR);  // the lowest free number: fd
    }
  }
}

// Why an argument is refused: malformed UTF-8 or a control character (see
// IsControlCharacter) would reach the terminal or a report line as they are.
QString ArgumentFault(const char* raw) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(QByteArrayView(raw));
  QString shown;
  bool control = false;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (IsControlCharacter(u)) {
      control = true;
      shown += u <= 0xff
                   ? QStringLiteral("\\x%1").arg(static_cast<int>(u), 2, 16, QLatin1Char('0'))
                   : QStringLiteral("\\u%1").arg(static_cast<int>(u), 4, 16, QLatin1Char('0'));
    } else {
      shown += c;
    }
  }
  if (utf8.hasError()) return QStringLiteral("is not valid UTF-8: '%1'").arg(shown);
  if (control) return QStringLiteral("holds a control character: '%1'").arg(shown);
  return {};
}

// Writes the whole output to standard output: 0, or 1 with a message when it
// cannot be written whole (a full disk, a file-size limit, a closed descriptor).
int WriteOutput(const char* command, const QByteArray& out) {
  if (std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout) ==
          static_cast<size_t>(out.size()) &&
      std::fflush(stdout) == 0) {
    return 0;
  }
  Err(Program(command) + QStringLiteral(": cannot write standard output: ") +
      QString::fromLocal8Bit(std::strerror(errno)));
  return 1;
}

// The command named by the first argument, or null.
const Command* CommandNamed(const QString& name) {
  for (const Command& c : kCommands) {
    if (name == QLatin1String(c.name)) return &c;
  }
  return nullptr;
}

// Runs a command: its exit status, and its output written. An error ends it
// with its message under the command's name; so does running out of memory
// (a very long input with --sort, say), which would otherwise abort.
int Run(const Command& c, const QStringList& args) {
  const auto fail = [&c](const QString& message) {
    Err(Program(c.name) + QStringLiteral(": ") + message);
    return 1;
  };
  QByteArray out;
  int status;
  try {
    status = c.run(args, out);
  } catch (const tessaly::Error& e) {
    return fail(e.message());
  } catch (const std::bad_alloc&) {
    out = QByteArray();
    return fail(QStringLiteral("out of memory"));
  }
  return status == 0 ? WriteOutput(c.name, out) : status;
}

}  // namespace

QString Program(const char* command) {
  QString program = QStringLiteral("tessaly-cli");
  if (command != nullptr) program += QLatin1Char(' ') + QLatin1String(command);
  return program;
}

QCommandLineOption ValueOption(const char* name, const char* value, const QString& help) {
  return QCommandLineOption(QLatin1String(name), help, QLatin1String(value));
}

QCommandLineOption FlagOption(const char* name, const QString& help) {
  return QCommandLineOption(QLatin1String(name), help);
}

int ParseArguments(QCommandLineParser& parser, const char* command, const QStringList& args,
                   QByteArray& out) {
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Shows this help."));
  parser.addOption(help);
  // The parser skips the first argument, the program's name.
  if (!parser.parse(QStringList(Program(command)) + args)) {
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
      return BadArguments(
          parser, command,
          QStringLiteral("unknown option '%1'").arg(OptionAsGiven(unknown.first(), args)));
    }
    // An option takes the argument after it as its value, whatever that is:
    // only the last argument can be an option without one.
    if (const QString last = args.value(args.size() - 1);
        last.startsWith(QLatin1Char('-')) && !last.contains(QLatin1Char('='))) {
      return BadArguments(parser, command, QStringLiteral("%1 needs a value").arg(last));
    }
    return BadArguments(parser, command, parser.errorText());
  }
  if (parser.isSet(help)) {
    out += HelpText(parser, command).toUtf8();
    return 0;
  }
  return -1;
}

int BadArguments(const QCommandLineParser& parser, const char* command, const QString& message) {
  if (!message.isEmpty()) Err(Program(command) + QStringLiteral(": ") + message);
  const QByteArray help = HelpText(parser, command).toUtf8();
  std::fwrite(help.constData(), 1, static_cast<size_t>(help.size()), stderr);
  return 2;
}

QString ReadDateRange(const QStringList& dates, QDate& from, QDate& to) {
  try {
    from = StrToDate(dates.value(0));
    to = dates.size() >= 2 ? StrToDate(dates[1]) : from;
  } catch (const ConvertError& e) {
    return e.message();
  }
  return from > to ? QStringLiteral("FROM lies after TO") : QString();
}

}  // namespace tessaly::cli

int main(int argc, char** argv) {
  using namespace tessaly::cli;
  TakeClosedStandardStreams();
  // A file-size limit fails the write instead of ending the process.
  std::signal(SIGXFSZ, SIG_IGN);
  for (int i = 1; i < argc; ++i) {
    if (const QString fault = ArgumentFault(argv[i]); !fault.isEmpty()) {
      // Under the command's name when a command is named before it.
      const Command* c = i > 1 ? CommandNamed(QString::fromUtf8(argv[1])) : nullptr;
      Err(Program(c != nullptr ? c->name : nullptr) +
          QStringLiteral(": argument %1 %2").arg(i).arg(fault));
      return 2;
    }
  }

  QCoreApplication app(argc, argv);
  // The options before the command are the program's, the arguments from the
  // command on are the command's.
  QCommandLineParser parser;
  parser.setApplicationDescription(ProgramDescription());
  parser.addPositionalArgument(
      QStringLiteral("COMMAND"),
      QStringLiteral("strokes, calendar, report, names, almanac, profiles or history"));
  parser.addPositionalArgument(
      QStringLiteral("ARGS"),
      QStringLiteral("the command's arguments (see tessaly-cli COMMAND --help)"),
      QStringLiteral("[ARGS...]"));
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  QByteArray help;
  if (const int status = ParseArguments(parser, nullptr, app.arguments().mid(1), help);
      status >= 0) {
    return status == 0 ? WriteOutput(nullptr, help) : status;
  }
  QStringList args = parser.positionalArguments();
  if (args.isEmpty()) return BadArguments(parser, nullptr, {});
  const QString name = args.takeFirst();
  if (name == QStringLiteral("help"))
    return WriteOutput(nullptr, HelpText(parser, nullptr).toUtf8());
  if (const Command* c = CommandNamed(name)) return Run(*c, args);
  Err(QStringLiteral("tessaly-cli: unknown command '%1' (see --help)").arg(name));
  return 2;
}
