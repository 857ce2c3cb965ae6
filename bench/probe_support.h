// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the benchmark probes (programs that bench/startup_bench.cpp runs and
// times) share: the time since main() started and the peak memory, printed as
// one line "<what> <ms> <peak RSS kB>" on standard output.

#include <sys/resource.h>

#include <QElapsedTimer>

#include <cstdio>

namespace tessaly::probe {

inline long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

inline double Ms(const QElapsedTimer& clock) {
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

inline void Report(const char* what, const QElapsedTimer& clock) {
  std::printf("%s %.2f %ld\n", what, Ms(clock), PeakRssKb());
  std::fflush(stdout);
}

}  // namespace tessaly::probe
