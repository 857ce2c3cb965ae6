#pragma once
// The commands of tessaly-cli. Each takes the arguments after its name and
// returns the process's exit status: 0 done, 1 failed, 2 bad options.

#include <QString>
#include <QStringList>

#include <cstdio>

namespace tessaly::cli {

struct Command {
  const char* name;
  const char* synopsis;  // one line for --help
  int (*run)(const QStringList& args);
};

int RunStrokes(const QStringList& args);
int RunCalendar(const QStringList& args);
int RunReport(const QStringList& args);

// Output helpers: UTF-8 lines on standard output and standard error.
void Out(const QString& line);
void Err(const QString& line);

}  // namespace tessaly::cli
