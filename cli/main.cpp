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

#include "cli/commands.h"
#include "core/errors.h"

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
};

QByteArray Usage() {
  QByteArray text = "usage: tessaly-cli COMMAND [ARGS...]\n\ncommands:\n";
  for (const Command& c : kCommands) text += QByteArray("  ") + c.synopsis + '\n';
  text += "\n  --help                this text\n";
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

// Why an argument is refused: malformed UTF-8 or a control character (C0 but
// TAB, DEL, C1) would reach the terminal or a report line as they are.
QString ArgumentFault(const char* raw) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(QByteArrayView(raw));
  QString shown;
  bool control = false;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if ((u < 0x20 && u != u'\t') || (u >= 0x7f && u <= 0x9f)) {
      control = true;
      shown += QStringLiteral("\\x%1").arg(static_cast<int>(u), 2, 16, QLatin1Char('0'));
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
int WriteOutput(const QByteArray& out) {
  if (std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout) ==
          static_cast<size_t>(out.size()) &&
      std::fflush(stdout) == 0) {
    return 0;
  }
  Err(QStringLiteral("tessaly-cli: cannot write standard output: %1")
          .arg(QString::fromLocal8Bit(std::strerror(errno))));
  return 1;
}

}  // namespace
}  // namespace tessaly::cli

int main(int argc, char** argv) {
  using namespace tessaly::cli;
  TakeClosedStandardStreams();
  // A file-size limit fails the write instead of ending the process.
  std::signal(SIGXFSZ, SIG_IGN);
  for (int i = 1; i < argc; ++i) {
    if (const QString fault = ArgumentFault(argv[i]); !fault.isEmpty()) {
      Err(QStringLiteral("tessaly-cli: argument %1 %2").arg(i).arg(fault));
      return 2;
    }
  }

  QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments().mid(1);
  if (args.isEmpty()) {
    std::fputs(Usage().constData(), stderr);
    return 2;
  }
  if (args[0] == QStringLiteral("--help") || args[0] == QStringLiteral("-h") ||
      args[0] == QStringLiteral("help")) {
    return WriteOutput(Usage());
  }
  const QString name = args.takeFirst();
  for (const Command& c : kCommands) {
    if (name == QLatin1String(c.name)) {
      QByteArray out;
      int status;
      try {
        status = c.run(args, out);
      } catch (const tessaly::Error& e) {
        Err(e.message());
        return 1;
      }
      return status == 0 ? WriteOutput(out) : status;
    }
  }
  Err(QStringLiteral("tessaly-cli: unknown command '%1' (see --help)").arg(name));
  return 2;
}
