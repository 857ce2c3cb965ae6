// SPDX-License-Identifier: GPL-3.0-or-later
// The almanac: one day's entry in-process (time_per_date), and tessaly-cli
// almanac as a whole process, spawn to exit with its output to /dev/null: the
// whole range 1901-01-01 .. 2050-12-31 as TSV, and --find over one year.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "almanac/almanac.h"

extern char** environ;

namespace {

void BM_AlmanacEntryOfEveryDate(benchmark::State& state) {
  std::vector<QDate> dates;
  for (QDate d(1901, 1, 1); d <= QDate(2050, 12, 31); d = d.addDays(1)) dates.push_back(d);
  for (auto _ : state) {
    int sum = 0;
    for (const QDate& d : dates) sum += tessaly::AlmanacOf(d).yi != 0;
    benchmark::DoNotOptimize(sum);
  }
  const auto items = static_cast<int64_t>(state.iterations() * dates.size());
  state.SetItemsProcessed(items);
  state.counters["time_per_date"] = benchmark::Counter(
      static_cast<double>(items), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AlmanacEntryOfEveryDate)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// Milliseconds from spawning tessaly-cli with `args` to its exit; negative when it failed.
double RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), TESSALY_CLI);
  std::vector<char*> argv;
  for (std::string& s : args) argv.push_back(s.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return -1;
  }
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

void RunCliBenchmark(benchmark::State& state, const std::vector<std::string>& args) {
  std::vector<double> ms;
  for (auto _ : state) {
    const double t = RunCli(args);
    if (t < 0) {
      state.SkipWithError("tessaly-cli almanac failed");
      return;
    }
    state.SetIterationTime(t / 1000.0);
    ms.push_back(t);
  }
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.SetLabel("spawn to exit; median");
}

void BM_CliAlmanacWholeRange(benchmark::State& state) {
  RunCliBenchmark(state, {"almanac", "1901-01-01", "2050-12-31"});
}
BENCHMARK(BM_CliAlmanacWholeRange)->Iterations(11)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CliAlmanacFindYear(benchmark::State& state) {
  RunCliBenchmark(state, {"almanac", "--find", "嫁娶", "--avoid-animal", "龙", "--huangdao",
                          "2025-01-01", "2025-12-31"});
}
BENCHMARK(BM_CliAlmanacFindYear)->Iterations(21)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
