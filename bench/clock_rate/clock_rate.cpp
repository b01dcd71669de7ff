// SPDX-License-Identifier: GPL-3.0-or-later
// Clock benchmark of the real windows: each case starts a program that never ends in
// automatic mode, lets the clock run for a while and reports the phases per second
// against the nominal 1000 / interval, with the CPU time the process used. The cases:
// a lone BRANCH 0, which changes almost nothing, at several rates; and a counting loop
// that changes registers and memory at every instruction, on the execution screen alone
// and with View Memory or the history window open; and the execution screen idle, its clock
// not started.
// Run it on the display the program would use, e.g. under Xvfb:
//   xvfb-run -a build/volpar-clock-bench [seconds per case] [only this case: counting@1000]
// For a profiler, the same work in every run: the counting loop for a number of frames,
//   xvfb-run -a valgrind --tool=callgrind --toggle-collect='*measuredFrames*'
//     build/volpar-clock-bench frames 100 [memory]
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/application.h"
#include "machine/REXEC_Manual.h"
#include "qt/form_window.h"
#include "qt/front_end.h"
#include "qt/qt_platform.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"

namespace {

using Program = std::vector<std::pair<std::int16_t, const char*>>;

// BRANCH 0 at address 0.
const Program kBranch = {{0, "10100000"}};
// LOAD 31, ADD 30, STORE 31, BRANCH 0, with 1 at address 30: memory[31] counts up.
const Program kCounting = {
    {0, "00111111"}, {1, "00011110"}, {2, "01011111"}, {3, "10100000"}, {30, "00000001"}};

struct Case {
  const char* name;
  const Program* program;
  int rate;
  bool viewMemory;
  bool historyWindow = false;
};

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The program's own event loop for a while: it sleeps until something is due, as the
// running program does (a polling wait would batch the clock's wake-ups).
void runEventLoop(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

struct Result {
  int interval = 0;
  double phasesPerSecond = 0;
  double cpuPercent = 0;
};

// The windows of one case, brought to the execution screen with the program in memory and
// the clock set to the case's rate, not yet started.
struct Run {
  volpar::qt::QtPlatform platform;
  volpar::Application app{platform};
  volpar::qt::FrontEnd frontEnd{app, platform};
  volpar::REXEC& rexec = app.rexec();

  explicit Run(const Case& c) {
    frontEnd.start();
    volpar::DERAZO_Input& input = app.derazoInput();
    user([&] { app.initialScreen().onKeyPress(' '); });
    // The bytes go in as a loaded program file puts them.
    for (const auto& [address, bits] : c.program ? *c.program : Program{}) {
      user([&, address, bits] { app.manual().Text_To_Memory_Byte(address, bits); });
    }
    user([&] { input.Command_Execute_Program.click(); });
    user([&] { input.Command_OK_For_Start_Location.click(); });
    user([&] { rexec.Command_Options.click(); });
    user([&] { rexec.time_scroll.setValue(c.rate); });
    user([&] { rexec.Command_Options_Close.click(); });
  }

  void user(const std::function<void()>& handler) {
    frontEnd.gate().deliver(handler);
    QApplication::processEvents();
  }
};

Result measure(const Case& c, double seconds) {
  Run run(c);
  volpar::REXEC& rexec = run.rexec;
  auto user = [&run](const std::function<void()>& handler) { run.user(handler); };
  // Phases are counted from the first tick to the last one in the measured time, so the
  // edges of the time do not count as lost phases at low rates.
  long phases = 0;
  QElapsedTimer wall;
  qint64 lastTickNs = 0;
  auto phase = rexec.Timer1.onTimer;
  rexec.Timer1.onTimer = [&] {
    if (phases++ == 0) wall.start();
    lastTickNs = wall.nsecsElapsed();
    phase();
  };
  // The idle case never presses Begin: the program must not wake up at all.
  const bool idle = c.program == nullptr;
  if (!idle) user([&] { rexec.Command_Begin_Step.click(); });
  while (!idle && phases == 0) runEventLoop(1);
  // View Memory is offered from the first phase on.
  if (c.viewMemory) user([&] { rexec.Command_View_Memory.click(); });
  if (c.historyWindow) run.frontEnd.showHistory();
  // Let the windows settle before the CPU time counts.
  runEventLoop(200);
  const long phasesBefore = phases;
  const qint64 firstNs = lastTickNs;
  const double cpuStart = cpuSeconds();
  QElapsedTimer measured;
  measured.start();
  runEventLoop(static_cast<int>(seconds * 1000));
  const long counted = phases - phasesBefore;
  const double ticking = static_cast<double>(lastTickNs - firstNs) / 1e9;
  const double elapsed = static_cast<double>(measured.nsecsElapsed()) / 1e9;
  Result r;
  r.interval = rexec.Timer1.Interval();
  r.phasesPerSecond = ticking > 0 ? static_cast<double>(counted) / ticking : 0;
  r.cpuPercent = 100.0 * (cpuSeconds() - cpuStart) / elapsed;
  user([&] { rexec.Timer1.setEnabled(false); });
  return r;
}

// A fixed amount of work for a profiler: the counting loop for a number of displayed frames
// of 16 phases each (1000 Hz, a frame every 16 ms), its clock driven by hand so that every
// run does the same.
void tick(Run& run) {
  run.frontEnd.gate().deliverTick([&run] { run.rexec.Timer1.tick(); });
}

void runFrames(Run& run, int frames) {
  for (int f = 0; f < frames; ++f) {
    for (int t = 0; t < 16; ++t) tick(run);
    volpar::qt::FormWindow::flushAll();
    QApplication::processEvents();
  }
}

// The frames a profiler counts, after those that warm the caches up.
[[gnu::noinline]] void measuredFrames(Run& run, int frames) { runFrames(run, frames); }

int profileFrames(int frames, bool viewMemory) {
  Run run({"counting", &kCounting, 1000, viewMemory});
  volpar::REXEC& rexec = run.rexec;
  long phases = 0;
  auto phase = rexec.Timer1.onTimer;
  rexec.Timer1.onTimer = [&phases, phase] {
    ++phases;
    phase();
  };
  run.user([&rexec] { rexec.Command_Begin_Step.click(); });
  run.frontEnd.windowOf(rexec)->clockOf(rexec.Timer1)->detach();
  // Ticks the clock delivered before it was let go count in: every run starts alike.
  while (phases % 16 != 0) tick(run);
  runFrames(run, 1);
  // View Memory is offered from the first phase on.
  if (viewMemory) run.user([&rexec] { rexec.Command_View_Memory.click(); });
  runFrames(run, 20);  // the caches warm up as in a long run
  measuredFrames(run, frames);
  std::printf("%d frames of 16 phases\n", frames);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  volpar::qt::preferSocketRepaints();  // as the program does
  QApplication qapp(argc, argv);
  QApplication::setStyle("Fusion");
  if (argc > 1 && std::string(argv[1]) == "frames") {
    return profileFrames(argc > 2 ? std::atoi(argv[2]) : 100,
                         argc > 3 && std::string(argv[3]) == "memory");
  }
  const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
  const std::vector<Case> cases = {
      {"branch", &kBranch, 1, false},
      {"branch", &kBranch, 10, false},
      {"branch", &kBranch, 100, false},
      {"branch", &kBranch, 500, false},
      {"branch", &kBranch, 1000, false},
      {"counting", &kCounting, 1, false},
      {"counting", &kCounting, 100, false},
      {"counting", &kCounting, 1000, false},
      {"counting+memory", &kCounting, 1000, true},
      {"counting+history", &kCounting, 1000, false, true},
      {"idle", nullptr, 1000, false},
  };
  std::printf("%-16s %6s %9s %10s %12s %10s %6s\n", "program", "rate", "interval", "nominal/s",
              "achieved/s", "of nominal", "CPU");
  const std::string only = argc > 2 ? argv[2] : "";
  bool allMet = true;
  for (const Case& c : cases) {
    if (!only.empty() && only != c.name + ("@" + std::to_string(c.rate))) continue;
    // At 1 Hz a few seconds hold only a few phases: measure longer.
    const Result r = measure(c, c.rate == 1 ? std::max(seconds, 10.5) : seconds);
    const double nominal = 1000.0 / r.interval;
    const double share = c.program ? 100.0 * r.phasesPerSecond / nominal : 100.0;
    allMet = allMet && share >= 99.0;
    std::printf("%-16s %6d %7d ms %10.1f %12.1f %8.2f %% %5.2f %%\n", c.name, c.rate, r.interval,
                nominal, r.phasesPerSecond, share, r.cpuPercent);
    std::fflush(stdout);
  }
  return allMet ? 0 : 1;
}
