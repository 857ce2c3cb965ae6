// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands of tessaly-cli. Each takes the arguments after its name, appends
// what it prints to `out` and returns the process's exit status: 0 done, 1
// failed, 2 bad options. The output is written only when the command is done,
// so a command that fails prints nothing (names, which streams, excepted).
// Each command reads its arguments with a QCommandLineParser of its own, which
// also gives its help:
//
//   QCommandLineParser parser;
//   parser.setApplicationDescription(...);
//   parser.addOptions({ValueOption("name", "TEXT", help), ...});
//   if (const int status = ParseArguments(parser, "cmd", args, out); status >= 0) return status;
//   ... BadArguments(parser, "cmd", message) for a value the command does not take.

#include <QByteArray>
#include <QCommandLineParser>
#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdio>

#include "readings/person.h"

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
int RunAlmanac(const QStringList& args, QByteArray& out);
int RunProfiles(const QStringList& args, QByteArray& out);
int RunHistory(const QStringList& args, QByteArray& out);

// report --profile KEY: the person of the profile KEY names. Returns -1 when
// found, or 2 (the reason on standard error) for an unknown or ambiguous key.
int ProfileForReport(const QString& key, Person& person);
// report --save-history: adds the person's report to the history.
void SaveHistory(const Person& person);

// Output helpers: a UTF-8 line appended to the output, a UTF-8 line on standard error.
void Out(QByteArray& out, const QString& line);
void Err(const QString& line);

// "tessaly-cli COMMAND", or "tessaly-cli" for none: every message of a command
// starts with it and ": ". An Error a command raises is written so, with exit
// status 1.
QString Program(const char* command);

// The options of a command's parser: --NAME VALUE, and a flag --NAME; the help
// line of each is `help`, and the parser's help lists them.
QCommandLineOption ValueOption(const char* name, const char* value, const QString& help);
QCommandLineOption FlagOption(const char* name, const QString& help);

// Parses the arguments after the command's name with `parser`, adding -h and
// --help to its options first. Returns -1 when the command goes on; otherwise
// its exit status: 0 with the help in `out` (-h, --help), or 2 for an unknown
// option or an option without its value (see BadArguments).
int ParseArguments(QCommandLineParser& parser, const char* command, const QStringList& args,
                   QByteArray& out);

// A bad option or argument: "tessaly-cli COMMAND: MESSAGE" (when there is a
// message) and the command's help on standard error. Returns 2.
int BadArguments(const QCommandLineParser& parser, const char* command, const QString& message);

// The days FROM and TO of a command's dates (TO is FROM when only FROM is
// given). Returns the message for dates that are none or in the wrong order.
QString ReadDateRange(const QStringList& dates, QDate& from, QDate& to);

}  // namespace tessaly::cli
