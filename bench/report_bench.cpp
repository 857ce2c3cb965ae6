// SPDX-License-Identifier: GPL-3.0-or-later
// The report command: one full report with all seven readings in-process (the
// store lookups of the name and lifetime readings dominate), the same with the
// page written to disk, and `tessaly-cli report --readings all` as a whole
// process.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>

#include <vector>

#include "report/report.h"
#include "store/reference_store.h"

extern char** environ;

namespace {

const QString kStore = QStringLiteral(TESSALY_BINARY_DIR "/share/tessaly/kvdata.dat");
constexpr const char* kCli = TESSALY_BINARY_DIR "/bin/tessaly-cli";

tessaly::Person AllReadings() {
  tessaly::Person person;
  person.name = QStringLiteral("欧阳雨辰");
  person.surname_kind = tessaly::SurnameKind::Compound;
  person.birthday = tessaly::DateTime::AtMidnight(QDate(2005, 3, 2));
  person.mobile = QStringLiteral("13912345678");
  person.readings = tessaly::kAllReadings;
  return person;
}

void BM_FullReport(benchmark::State& state) {
  tessaly::ReferenceStore store;
  store.Open(kStore);
  const tessaly::Person person = AllReadings();
  tessaly::Report report;
  for (auto _ : state) {
    tessaly::BuildReport(person, store, {}, report);
    benchmark::DoNotOptimize(report.page.size());
  }
}
BENCHMARK(BM_FullReport)->Unit(benchmark::kMicrosecond)->Repetitions(5);

void BM_FullReportWithPage(benchmark::State& state) {
  tessaly::ReferenceStore store;
  store.Open(kStore);
  const tessaly::Person person = AllReadings();
  tessaly::Report report;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("temp.htm"));
  for (auto _ : state) {
    tessaly::RunReport(person, store, {}, report, path);
  }
}
BENCHMARK(BM_FullReportWithPage)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// The command-line tool from start to exit, its output thrown away.
void BM_CliReportAll(benchmark::State& state) {
  if (access(kCli, X_OK) != 0) {
    state.SkipWithError("tessaly-cli not built");
    return;
  }
  std::vector<const char*> argv = {kCli,         "report",     "--readings", "all",
                                   "--birthday", "2005-03-02", nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, kCli, &actions, nullptr, const_cast<char* const*>(argv.data()),
                    environ) != 0) {
      state.SkipWithError("cannot start tessaly-cli");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("tessaly-cli report failed");
      break;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK(BM_CliReportAll)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20)
    ->Repetitions(5);

}  // namespace
