// Clock benchmark of the real windows: for each rate it starts a program that never ends
// (BRANCH 0) in automatic mode, lets the clock run for a while and reports the phases
// per second against the nominal 1000 / interval, with the CPU time the process used.
// Run it on the display the program would use, e.g. under Xvfb:
//   xvfb-run -a build/volpar-clock-bench [seconds per rate]
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/application.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"
#include "ui/qt/front_end.h"
#include "ui/qt/qt_platform.h"

namespace {

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Result {
  int rate = 0;
  int interval = 0;
  double phasesPerSecond = 0;
  double cpuPercent = 0;
};

Result measure(int rate, double seconds) {
  volpar::qt::QtPlatform platform;
  volpar::Application app(platform);
  volpar::qt::FrontEnd frontEnd(app);
  auto user = [&](const std::function<void()>& handler) {
    frontEnd.gate().deliver(handler);
    QApplication::processEvents();
  };
  frontEnd.start();
  volpar::DERAZO_Input& input = app.derazoInput();
  volpar::REXEC& rexec = app.rexec();
  user([&] { app.initialScreen().onKeyPress(' '); });
  const std::string branchToZero = "10100000";
  for (int i = 1; i <= 8; ++i) {
    const std::string bit(1, branchToZero[static_cast<std::size_t>(i - 1)]);
    user([&, i, bit] { input.Input_Bit(i).type(bit, 1); });
  }
  user([&] { input.Command_Send_to_Memory.click(); });
  user([&] { input.Command_Execute_Program.click(); });
  user([&] { input.Command_OK_For_Start_Location.click(); });
  user([&] { rexec.Command_Options.click(); });
  user([&] { rexec.time_scroll.setValue(rate); });
  user([&] { rexec.Command_Options_Close.click(); });

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
  user([&] { rexec.Command_Begin_Step.click(); });
  while (phases == 0) QTest::qWait(1);
  const double cpuStart = cpuSeconds();
  const auto ms = static_cast<int>(seconds * 1000);
  while (wall.elapsed() < ms) QTest::qWait(std::min(50, static_cast<int>(ms - wall.elapsed())));
  const long counted = phases - 1;
  const double ticking = static_cast<double>(lastTickNs) / 1e9;
  const double elapsed = static_cast<double>(wall.nsecsElapsed()) / 1e9;
  Result r;
  r.rate = rate;
  r.interval = rexec.Timer1.Interval();
  r.phasesPerSecond = ticking > 0 ? static_cast<double>(counted) / ticking : 0;
  r.cpuPercent = 100.0 * (cpuSeconds() - cpuStart) / elapsed;
  user([&] { rexec.Timer1.setEnabled(false); });
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QApplication::setStyle("Fusion");
  const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
  std::printf("%6s %9s %10s %12s %9s %6s\n", "rate", "interval", "nominal/s", "achieved/s",
              "of nominal", "CPU");
  bool allMet = true;
  for (int rate : {1, 10, 100, 500, 1000}) {
    // At 1 Hz a few seconds hold only a few phases: measure longer.
    const Result r = measure(rate, rate == 1 ? std::max(seconds, 10.5) : seconds);
    const double nominal = 1000.0 / r.interval;
    const double share = 100.0 * r.phasesPerSecond / nominal;
    allMet = allMet && share >= 99.0;
    std::printf("%6d %7d ms %10.1f %12.1f %8.1f %% %5.1f %%\n", r.rate, r.interval, nominal,
                r.phasesPerSecond, share, r.cpuPercent);
  }
  return allMet ? 0 : 1;
}
