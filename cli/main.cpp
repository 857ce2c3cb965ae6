// tessaly-cli: the program's readings and calendar from the command line.

#include <QCoreApplication>

#include <array>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "core/errors.h"

namespace tessaly::cli {

void Out(const QString& line) {
  const QByteArray b = line.toUtf8();
  std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), stdout);
  std::fputc('\n', stdout);
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
};

void Usage(std::FILE* to) {
  std::fputs("usage: tessaly-cli COMMAND [ARGS...]\n\ncommands:\n", to);
  for (const Command& c : kCommands) std::fprintf(to, "  %s\n", c.synopsis);
  std::fputs("\n  --help                this text\n", to);
}

}  // namespace
}  // namespace tessaly::cli

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  using namespace tessaly::cli;
  QStringList args = QCoreApplication::arguments().mid(1);
  if (args.isEmpty()) {
    Usage(stderr);
    return 2;
  }
  if (args[0] == QStringLiteral("--help") || args[0] == QStringLiteral("-h") ||
      args[0] == QStringLiteral("help")) {
    Usage(stdout);
    return 0;
  }
  const QString name = args.takeFirst();
  for (const Command& c : kCommands) {
    if (name == QLatin1String(c.name)) {
      try {
        return c.run(args);
      } catch (const tessaly::Error& e) {
        Err(e.message());
        return 1;
      }
    }
  }
  Err(QStringLiteral("tessaly-cli: unknown command '%1' (see --help)").arg(name));
  return 2;
}
