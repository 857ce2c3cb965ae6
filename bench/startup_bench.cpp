// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the desktop program: from starting the process to the main
// window shown (its first paint), with the viewer created at start-up, and the
// peak memory of the process then. Runs tessaly-startup-probe, which builds
// the windows as the program does, offscreen when there is no display.
//
// Counters: shown_ms / ready_ms as the probe measures them from its main(),
// peak RSS (MB) at the first paint and once the deferred work is done. The
// iteration time is the wall time from spawning the process to the "shown"
// line. Argument 0: the browser created after the first paint (as the
// program does); 1: created before it.

#include <benchmark/benchmark.h>

#ifdef TESSALY_STARTUP_PROBE

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct ProbeRun {
  double spawn_to_shown_ms = 0;
  double shown_ms = 0, ready_ms = 0;
  double shown_rss_mb = 0, ready_rss_mb = 0;
  bool ok = false;
};

// A scratch home, so the probe leaves nothing in the real one; removed when
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

std::vector<std::string> ProbeEnvironment() {
  std::vector<std::string> env;
  auto overridden = [](const char* entry) {
    for (const char* key : {"HOME=", "XDG_CACHE_HOME=", "XDG_CONFIG_HOME=", "XDG_DATA_HOME=",
                            "QT_QPA_PLATFORM=", "QTWEBENGINE_DISABLE_SANDBOX="}) {
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
  // Chromium's sandbox refuses to run as root.
  if (geteuid() == 0 || std::getenv("QTWEBENGINE_DISABLE_SANDBOX") != nullptr) {
    env.push_back("QTWEBENGINE_DISABLE_SANDBOX=1");
  }
  return env;
}

ProbeRun RunProbe(bool eager) {
  ProbeRun run;
  int out[2];
  if (pipe(out) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

  std::vector<std::string> env_strings = ProbeEnvironment();
  std::vector<char*> envp;
  for (std::string& s : env_strings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::string path = TESSALY_STARTUP_PROBE;
  std::string mode = eager ? "eager" : "deferred";
  char* argv[] = {path.data(), mode.data(), nullptr};

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    return run;
  }

  std::string buffer;
  bool shown = false, ready = false;
  while (!ready) {
    pollfd pfd{out[0], POLLIN, 0};
    if (poll(&pfd, 1, 60000) <= 0) break;
    char chunk[512];
    const ssize_t n = read(out[0], chunk, sizeof chunk);
    if (n <= 0) break;
    const auto now = std::chrono::steady_clock::now();
    buffer.append(chunk, static_cast<size_t>(n));
    size_t eol;
    while ((eol = buffer.find('\n')) != std::string::npos) {
      std::istringstream line(buffer.substr(0, eol));
      buffer.erase(0, eol + 1);
      std::string what;
      double ms = 0, rss_kb = 0;
      line >> what >> ms >> rss_kb;
      if (what == "shown" && !shown) {
        shown = true;
        run.spawn_to_shown_ms = std::chrono::duration<double, std::milli>(now - start).count();
        run.shown_ms = ms;
        run.shown_rss_mb = rss_kb / 1024.0;
      } else if (what == "ready") {
        ready = true;
        run.ready_ms = ms;
        run.ready_rss_mb = rss_kb / 1024.0;
      }
    }
  }
  close(out[0]);
  if (!ready) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  run.ok = shown && ready;
  return run;
}

void BM_StartupToMainWindow(benchmark::State& state) {
  const bool eager = state.range(0) != 0;
  double shown_ms = 0, ready_ms = 0, shown_rss = 0, ready_rss = 0;
  int runs = 0;
  for (auto _ : state) {
    const ProbeRun run = RunProbe(eager);
    if (!run.ok) {
      state.SkipWithError("the start-up probe did not report");
      break;
    }
    state.SetIterationTime(run.spawn_to_shown_ms / 1000.0);
    shown_ms += run.shown_ms;
    ready_ms += run.ready_ms;
    shown_rss += run.shown_rss_mb;
    ready_rss += run.ready_rss_mb;
    ++runs;
  }
  if (runs > 0) {
    state.counters["shown_ms"] = shown_ms / runs;
    state.counters["ready_ms"] = ready_ms / runs;
    state.counters["peak_rss_shown_MB"] = shown_rss / runs;
    state.counters["peak_rss_ready_MB"] = ready_rss / runs;
  }
  state.SetLabel(eager ? "browser before first paint" : "browser after first paint");
}
BENCHMARK(BM_StartupToMainWindow)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(8)
    ->Unit(benchmark::kMillisecond);

}  // namespace

#endif  // TESSALY_STARTUP_PROBE
