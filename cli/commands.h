#pragma once
// The commands of tessaly-cli. Each takes the arguments after its name, appends
// what it prints to `out` and returns the process's exit status: 0 done, 1
// failed, 2 bad options. The output is written only when the command is done,
// so a command that fails prints nothing.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace tessaly::cli {

struct Command {
  const char* name;
  const char* synopsis;  // one line for --help
  int (*run)(const QStringList& args, QByteArray& out);
};

int RunStrokes(const QStringList& args, QByteArray& out);
int RunCalendar(const QStringList& args, QByteArray& out);
int RunReport(const QStringList& args, QByteArray& out);
int RunNames(const QStringList& args, QByteArray& out);

// Output helpers: a UTF-8 line appended to the output, a UTF-8 line on standard error.
void Out(QByteArray& out, const QString& line);
void Err(const QString& line);

}  // namespace tessaly::cli
