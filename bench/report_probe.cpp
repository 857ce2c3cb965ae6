// SPDX-License-Identifier: GPL-3.0-or-later
// Report probe for the report benchmark: builds the windows as the program
// does, waits until the work deferred after the first paint is done (and a
// moment more, as a user would), then presses "马上算命" REPORTS times (default
// 8), each time until the page has been painted in the viewer, and goes back.
// Prints on standard output
//
//   painted <peak RSS MB> <PSS MB> <processes>  the memory of the probe and all
//                                              its child processes at the main
//                                              window's first paint
//   ready <ms since main> <peak RSS kB>
//   report <n> <ms from the press to the page painted>
//   memory <peak RSS MB> <PSS MB> <processes>   the same after the first report
//
// and quits. The page counts as painted at the first frame that the view
// paints after the press; "now" as the first argument instead of REPORTS
// presses once, at once after start, before the viewer has been made.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "app/main_window.h"
#include "app/startup.h"
#include "bench/probe_support.h"
#include "controls/report_viewer.h"

namespace {

using tessaly::probe::Ms;

// A field of /proc/<pid>/status or smaps_rollup, in kB (0 when absent).
long ProcKb(const QString& file, const QByteArray& field) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n')) {
    if (line.startsWith(field + ':'))
      return line.mid(field.size() + 1).trimmed().split(' ')[0].toLong();
  }
  return 0;
}

// This process and every process below it.
QList<long> ProcessTree() {
  QMultiHash<long, long> children;
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    bool ok = false;
    const long pid = entry.toLong(&ok);
    if (!ok) continue;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) continue;
    const QByteArray text = stat.readAll();
    // "pid (comm) state ppid ...": comm may hold blanks, so count from its end.
    const QList<QByteArray> rest = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (rest.size() > 1) children.insert(rest[1].toLong(), pid);
  }
  QList<long> tree{static_cast<long>(getpid())};
  for (qsizetype i = 0; i < tree.size(); ++i) tree += children.values(tree[i]);
  return tree;
}

void ReportMemory(const char* what) {
  long peak = 0, pss = 0;
  const QList<long> tree = ProcessTree();
  for (long pid : tree) {
    const long process_peak = ProcKb(QStringLiteral("/proc/%1/status").arg(pid), "VmHWM");
    const long process_pss = ProcKb(QStringLiteral("/proc/%1/smaps_rollup").arg(pid), "Pss");
    if (qEnvironmentVariableIsSet("TESSALY_PROBE_TRACE")) {
      QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
      cmdline.open(QIODevice::ReadOnly);
      const QByteArray args = cmdline.readAll().replace('\0', ' ');
      std::fprintf(stderr, "  %ld: peak %ld kB, PSS %ld kB: %.150s\n", pid, process_peak,
                   process_pss, args.constData());
    }
    peak += process_peak;
    pss += process_pss;
  }
  std::printf("%s %.1f %.1f %lld\n", what, peak / 1024.0, pss / 1024.0,
              static_cast<long long>(tree.size()));
  std::fflush(stdout);
}

// Presses "马上算命" and times it until the page has been painted in the
// viewer: the first frame of the view painted after the press.
class ReportRun : public QObject {
  Q_OBJECT

 public:
  ReportRun(tessaly::Windows& windows, int reports, const QElapsedTimer& clock)
      : windows_(windows),
        reports_(reports),
        clock_(clock),
        trace_(qEnvironmentVariableIsSet("TESSALY_PROBE_TRACE")) {}

  void Press() {
    Trace("press");
    pressed_.start();
    windows_.form1->findChild<QPushButton*>(QStringLiteral("suiButton1"))->click();
    Trace("press returned");
    QWidget* viewer = windows_.viewer != nullptr ? windows_.viewer->Window() : nullptr;
    QWidget* view =
        viewer != nullptr ? viewer->findChild<QWidget*>(QStringLiteral("WebBrowser1")) : nullptr;
    if (view == nullptr) {
      std::fprintf(stderr, "no viewer: %s\n", qPrintable(windows_.viewer_error));
      QCoreApplication::exit(1);
      return;
    }
    view_ = view;
    Watch();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType()) {
      Trace(watched->metaObject()->className());
      if (!done_) {
        done_ = true;
        const double ms = pressed_.nsecsElapsed() / 1e6;
        QTimer::singleShot(0, this, [this, ms] { Painted(ms); });
      }
    }
    return false;
  }

 private:
  // Every widget of the view gets watched.
  void Watch() {
    done_ = false;
    for (QWidget* w : view_->findChildren<QWidget*>()) w->installEventFilter(this);
  }

  void Painted(double ms) {
    ++count_;
    std::printf("report %d %.2f\n", count_, ms);
    std::fflush(stdout);
    if (count_ == 1) ReportMemory("memory");
    windows_.viewer->Window()->findChild<QPushButton*>(QStringLiteral("suiButton2"))->click();
    if (count_ == reports_) {
      QCoreApplication::quit();
      return;
    }
    QTimer::singleShot(300, this, &ReportRun::Press);
  }

  void Trace(const char* what) {
    if (trace_) std::fprintf(stderr, "%9.2f %s\n", Ms(clock_), what);
  }

  tessaly::Windows& windows_;
  const int reports_;
  const QElapsedTimer& clock_;
  const bool trace_;
  QElapsedTimer pressed_;
  QWidget* view_ = nullptr;
  bool done_ = true;
  int count_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  const bool now = argc > 1 && std::strcmp(argv[1], "now") == 0;
  const int reports = now ? 1 : argc > 1 ? std::max(1, std::atoi(argv[1])) : 8;

  tessaly::PrepareApplication();
  QApplication app(argc, argv);
  tessaly::SetUpApplication();
  const auto pages = tessaly::UsePrivatePageFolder();
  const auto windows = tessaly::CreateWindows();
  ReportRun run(*windows, reports, clock);
  QObject::connect(windows->form1.get(), &tessaly::TForm1::FirstPaint,
                   [] { ReportMemory("painted"); });
  if (now) {
    QTimer::singleShot(0, &run, &ReportRun::Press);
    return QApplication::exec();
  }
  windows->on_ready = [&clock, &run] {
    tessaly::probe::Report("ready", clock);
    // A user takes a moment to fill in the form.
    QTimer::singleShot(1000, &run, &ReportRun::Press);
  };
  return QApplication::exec();
}

#include "report_probe.moc"
