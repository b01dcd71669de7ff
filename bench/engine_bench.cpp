// SPDX-License-Identifier: GPL-3.0-or-later
// Clock phases per second of the engine running a looping program on the real forms.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "history/execution_history.h"
#include "machine/REXEC_Manual.h"
#include "machine/machine_view.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "ui/form.h"
#include "ui/platform.h"

namespace {

using namespace volpar;

class SilentPlatform : public ui::Platform {
 public:
  void MsgBox(const std::string&, const std::string&) override {}
  bool ShowOpen(ui::CommonDialog&) override { return false; }
  bool ShowSave(ui::CommonDialog&) override { return false; }
  std::string executableDirectory() override { return "."; }
  void showHelp(const std::string&, int) override {}
  ui::Version version() override { return {1, 0, 4}; }
  void endProgram() override {}
};

// What a renderer does between frames: remember which elements to repaint. The list is
// handed over (cleared) once it holds about a frame's worth of changes.
class DirtyRecorder : public ui::FormObserver {
 public:
  DirtyRecorder() { dirty_.reserve(kFrame); }
  void elementChanged(ui::Element& element) override {
    dirty_.push_back(&element);
    if (dirty_.size() == kFrame) {
      benchmark::DoNotOptimize(dirty_.data());
      dirty_.clear();
    }
  }
  void formChanged(ui::Form&, FormEvent) override {}

 private:
  static constexpr std::size_t kFrame = 4096;
  std::vector<ui::Element*> dirty_;
};

void putByte(DERAZO_Input& input, int address, int value) {
  for (int j = 8; j >= 1; --j, value /= 2) {
    input.Shape1(8 * address + j).setFillColor(value % 2 ? ui::kYellow : ui::kWhite);
  }
}

// S counts up by 3 for ever: LOAD 20, ADD 21, STORE 20, BRANCH 0.
void loadCountingLoop(DERAZO_Input& input) {
  putByte(input, 0, 1 * 32 + 20);
  putByte(input, 1, 0 * 32 + 21);
  putByte(input, 2, 2 * 32 + 20);
  putByte(input, 3, 5 * 32 + 0);
  putByte(input, 20, 0);
  putByte(input, 21, 3);
}

// As the start panel's OK leaves the machine, then the automatic clock running.
void startAtZero(REXEC& rexec, REXEC_Manual& manual) {
  manual.Clock_Phase = 1;
  manual.At_Phase_Zero = true;
  rexec.Shape_Clock(0).setFillColor(ui::kCyan);
  rexec.Register_PC_Decimal.setCaption("0");
  for (ui::Label* l : {&rexec.Register_X_Decimal, &rexec.Register_Y_Decimal,
                       &rexec.Register_S_Decimal, &rexec.Register_Address_Decimal,
                       &rexec.Register_Output_Decimal, &rexec.IR_Address_Decimal}) {
    l->setCaption("0");
  }
  for (int i = 4; i <= 8; ++i) rexec.ShapePC(i).setFillColor(ui::kWhite);
  rexec.automatic_radio.setValue(true);
  rexec.Timer1.setEnabled(true);
}

void runPhases(benchmark::State& state, bool observed) {
  SilentPlatform platform;
  Application app(platform);
  DERAZO_Input& input = app.derazoInput();
  REXEC& rexec = app.rexec();
  REXEC_Manual& manual = app.manual();
  DirtyRecorder recorder;
  if (observed) {
    input.setObserver(&recorder);
    rexec.setObserver(&recorder);
  }
  loadCountingLoop(input);
  startAtZero(rexec, manual);

  for (auto _ : state) manual.Run_Clock_Phase();

  state.SetItemsProcessed(state.iterations());
  // The loop must really have run: after two instructions ADD has loaded Y with 3.
  if (state.iterations() >= 16 && MachineView(rexec, input, manual).y() != 3) {
    state.SkipWithError("the counting loop did not run");
  }
}

void BM_ClockPhasesWithObserver(benchmark::State& state) { runPhases(state, true); }
void BM_ClockPhasesWithoutObserver(benchmark::State& state) { runPhases(state, false); }

// The clock's ticks with the execution history journaling every phase, as the windows run
// it; "bytes_per_100k_phases" is the history's memory scaled to 100,000 phases.
void BM_ClockPhasesWithHistory(benchmark::State& state) {
  SilentPlatform platform;
  Application app(platform);
  history::ExecutionHistory history(app);
  DERAZO_Input& input = app.derazoInput();
  REXEC& rexec = app.rexec();
  loadCountingLoop(input);
  startAtZero(rexec, app.manual());

  for (auto _ : state) rexec.Timer1.tick();

  state.SetItemsProcessed(state.iterations());
  const double kept = static_cast<double>(history.phaseCount());
  if (kept > 0) {
    state.counters["bytes_per_100k_phases"] =
        static_cast<double>(history.memoryBytes()) * 100'000.0 / kept;
  }
}

BENCHMARK(BM_ClockPhasesWithObserver);
BENCHMARK(BM_ClockPhasesWithHistory);
BENCHMARK(BM_ClockPhasesWithoutObserver);

}  // namespace
