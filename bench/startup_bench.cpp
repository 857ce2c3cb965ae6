// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-program benchmarks: each runs programs as child processes, the
// program and its yardstick alternately, and reports medians over the runs
// (counters) and the ratios between them.
//
//   BM_FirstPaint       tessaly-startup-probe (the program's windows, built as
//                       the program builds them) against tessaly-baseline-probe
//                       (a plain 640 x 480 window with one Chinese label): from
//                       spawning the process to its first paint, and its peak
//                       memory then.
//   BM_CliReportVsHelp  `tessaly-cli report --readings all` against
//                       `tessaly-cli --help`: spawning to exit.
//   BM_ReportShown      tessaly-report-probe: the work deferred after the first
//                       paint done (ready_ms, since main), "马上算命" pressed to
//                       the page painted in the viewer, the first report after
//                       start and the later ones, and the memory of all the
//                       program's processes after the first report against
//                       the memory at the first paint.
//
// The probes run offscreen when there is no display; for figures like a
// desktop's, run under a virtual X server with a session bus (without one,
// Qt's accessibility set-up makes libdbus fork the program to start a bus):
//
//   xvfb-run -a dbus-run-session -- build/bench/tessaly_bench
//   --benchmark_filter='FirstPaint|CliReportVsHelp|ReportShown'

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

// A scratch home, so the programs leave nothing in the real one; removed when
// the benchmark program ends.
class ScratchHome {
 public:
  ScratchHome() {
    char pattern[] = "/tmp/tessaly-startup-XXXXXX";
    if (mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  ~ScratchHome() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string& ScratchHomePath() {
  static const ScratchHome home;
  return home.path();
}

std::vector<std::string> ProgramEnvironment() {
  std::vector<std::string> env;
  auto overridden = [](const char* entry) {
    for (const char* key :
         {"HOME=", "XDG_CACHE_HOME=", "XDG_CONFIG_HOME=", "XDG_DATA_HOME=", "QT_QPA_PLATFORM="}) {
      if (std::strncmp(entry, key, std::strlen(key)) == 0) return true;
    }
    return false;
  };
  for (char** e = environ; *e != nullptr; ++e) {
    if (!overridden(*e)) env.emplace_back(*e);
  }
  const std::string& home = ScratchHomePath();
  env.push_back("HOME=" + home);
  env.push_back("XDG_CACHE_HOME=" + home + "/cache");
  env.push_back("XDG_CONFIG_HOME=" + home + "/config");
  env.push_back("XDG_DATA_HOME=" + home + "/data");
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr) {
    env.push_back(std::string("QT_QPA_PLATFORM=") + platform);
  } else if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    env.push_back("QT_QPA_PLATFORM=offscreen");
  }
  return env;
}

// One line "<what> <number>..." that a program printed, and when it arrived
// (ms since the spawn).
struct Line {
  std::string what;
  std::vector<double> values;
  double at_ms = 0;
};

struct Run {
  std::vector<Line> lines;
  double exit_ms = 0;  // spawn to exit
  bool ok = false;     // exited with status 0

  const Line* Find(const std::string& what) const {
    for (const Line& line : lines) {
      if (line.what == what) return &line;
    }
    return nullptr;
  }
};

// Runs the program to its end (killed after a minute), collecting the lines of
// its standard output; standard error is dropped.
Run RunProgram(std::vector<std::string> args) {
  // A moment's pause first: a program started right after the previous one
  // ended starts tens of milliseconds slower (the system and the X server are
  // still clearing up after it), which would flatter every ratio.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Run run;
  int out[2];
  if (pipe(out) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

  std::vector<std::string> env_strings = ProgramEnvironment();
  std::vector<char*> envp;
  for (std::string& s : env_strings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<char*> argv;
  for (std::string& s : args) argv.push_back(s.data());
  argv.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  const auto since_start = [&start] {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
  };
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    return run;
  }

  std::string buffer;
  bool timed_out = false;
  for (;;) {
    pollfd pfd{out[0], POLLIN, 0};
    if (poll(&pfd, 1, 60000) <= 0) {
      timed_out = true;
      break;
    }
    char chunk[512];
    const ssize_t n = read(out[0], chunk, sizeof chunk);
    if (n <= 0) break;
    const double now = since_start();
    buffer.append(chunk, static_cast<size_t>(n));
    size_t eol;
    while ((eol = buffer.find('\n')) != std::string::npos) {
      std::istringstream text(buffer.substr(0, eol));
      buffer.erase(0, eol + 1);
      Line line;
      line.at_ms = now;
      text >> line.what;
      for (double value; text >> value;) line.values.push_back(value);
      run.lines.push_back(line);
    }
  }
  close(out[0]);
  if (timed_out) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  run.exit_ms = since_start();
  run.ok = !timed_out && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 != 0 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// A report of all readings against the help text, each a whole process.
void BM_CliReportVsHelp(benchmark::State& state) {
  std::vector<double> report_ms, help_ms;
  for (auto _ : state) {
    const Run help = RunProgram({TESSALY_CLI, "--help"});
    const Run report = RunProgram({TESSALY_CLI, "report", "--readings", "all"});
    if (!help.ok || !report.ok) {
      state.SkipWithError("tessaly-cli failed");
      return;
    }
    state.SetIterationTime(report.exit_ms / 1000.0);
    report_ms.push_back(report.exit_ms);
    help_ms.push_back(help.exit_ms);
  }
  state.counters["report_ms"] = Median(report_ms);
  state.counters["help_ms"] = Median(help_ms);
  state.counters["ratio"] = state.counters["report_ms"] / state.counters["help_ms"];
  state.SetLabel("spawn to exit; medians");
}
BENCHMARK(BM_CliReportVsHelp)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

#ifdef TESSALY_STARTUP_PROBE

// The first paint of the program's windows against the plain window's,
// alternately, so that both see the same machine.
void BM_FirstPaint(benchmark::State& state) {
  std::map<std::string, std::vector<double>> samples;
  for (auto _ : state) {
    // Both quit at their first paint.
    const Run baseline = RunProgram({TESSALY_BASELINE_PROBE});
    const Run program = RunProgram({TESSALY_STARTUP_PROBE, "shown"});
    const Line* baseline_shown = baseline.Find("shown");
    const Line* shown = program.Find("shown");
    if (!baseline.ok || !program.ok || baseline_shown == nullptr || shown == nullptr ||
        shown->values.size() < 2 || baseline_shown->values.size() < 2) {
      state.SkipWithError("a start-up probe did not report");
      return;
    }
    state.SetIterationTime(shown->at_ms / 1000.0);
    samples["tessaly_ms"].push_back(shown->at_ms);
    samples["baseline_ms"].push_back(baseline_shown->at_ms);
    samples["tessaly_MB"].push_back(shown->values[1] / 1024.0);
    samples["baseline_MB"].push_back(baseline_shown->values[1] / 1024.0);
  }
  for (const auto& [name, values] : samples) state.counters[name] = Median(values);
  state.counters["paint_ratio"] = state.counters["tessaly_ms"] / state.counters["baseline_ms"];
  state.counters["memory_ratio"] = state.counters["tessaly_MB"] / state.counters["baseline_MB"];
  state.SetLabel(std::string("spawn to first paint; peak RSS then; medians") +
                 (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr ? "; no session bus" : ""));
}
BENCHMARK(BM_FirstPaint)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

// "马上算命" to the page painted in the viewer, in the program's windows.
void BM_ReportShown(benchmark::State& state) {
  constexpr int kReports = 8;
  std::vector<double> ready_ms, first_ms, later_ms, peak_mb, pss_mb, processes, painted_mb, growth;
  for (auto _ : state) {
    const Run run = RunProgram({TESSALY_REPORT_PROBE, std::to_string(kReports)});
    const Line* ready = run.Find("ready");
    const Line* memory = run.Find("memory");
    const Line* painted = run.Find("painted");
    std::vector<double> reports;
    for (const Line& line : run.lines) {
      if (line.what == "report" && line.values.size() == 2) reports.push_back(line.values[1]);
    }
    if (!run.ok || ready == nullptr || memory == nullptr || memory->values.size() < 3 ||
        painted == nullptr || painted->values.size() < 3 ||
        reports.size() != static_cast<size_t>(kReports)) {
      state.SkipWithError("the report probe did not report");
      return;
    }
    state.SetIterationTime(reports[0] / 1000.0);
    ready_ms.push_back(ready->values[0]);
    first_ms.push_back(reports[0]);
    later_ms.insert(later_ms.end(), reports.begin() + 1, reports.end());
    peak_mb.push_back(memory->values[0]);
    pss_mb.push_back(memory->values[1]);
    processes.push_back(memory->values[2]);
    painted_mb.push_back(painted->values[1]);
    growth.push_back(memory->values[1] / painted->values[1]);
  }
  state.counters["ready_ms"] = Median(ready_ms);
  state.counters["first_ms"] = Median(first_ms);
  state.counters["later_ms"] = Median(later_ms);
  state.counters["peak_MB_all"] = Median(peak_mb);
  state.counters["PSS_MB_all"] = Median(pss_mb);
  state.counters["processes"] = Median(processes);
  state.counters["PSS_MB_painted"] = Median(painted_mb);
  state.counters["PSS_ratio"] = Median(growth);
  state.SetLabel("press to page painted; memory after the first report; medians");
}
BENCHMARK(BM_ReportShown)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

#endif  // TESSALY_STARTUP_PROBE

}  // namespace
