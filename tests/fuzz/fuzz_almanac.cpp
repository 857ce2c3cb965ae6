// SPDX-License-Identifier: GPL-3.0-or-later
// tessaly-cli almanac with arbitrary arguments (one per line of the input): it
// prints its days and exits 0, or exits 2 for bad options and prints nothing;
// it never raises, and what it prints is whole lines.

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

#include "cli/commands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static int argc = 1;
  static char name[] = "tessaly-cli";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = new QCoreApplication(argc, argv);
  (void)app;
  const QStringList args =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
          .split(QLatin1Char('\n'));
  // Ranges of more than a few years only take longer.
  for (const QString& a : args) {
    if (a.size() > 200) return 0;
  }
  QByteArray out;
  const int status = tessaly::cli::RunAlmanac(args, out);
  if (status == 2 && !out.isEmpty()) __builtin_trap();
  if (status != 0 && status != 2) __builtin_trap();
  if (status == 0 && !out.isEmpty() && !out.endsWith('\n')) __builtin_trap();
  return 0;
}
