// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/application.h"
#include "history/change_journal.h"
#include "machine/REXEC_Manual.h"
#include "ui/change_recorder.h"

namespace volpar {
class REXEC;
class DERAZO_Input;
}  // namespace volpar

namespace volpar::history {

// The history of a run: what each clock phase changed, to read it and to go back. It
// listens to both screens like a renderer does, journals every property change with the
// value it replaced, and hears from the engine where each clock pulse begins and ends
// (REXEC_Manual::PulseListener). Going back puts the old values back, newest first, and the module
// variables as they were; memory grows with what changed, not with the screens.
//
// A step is one phase together with the user's click that performed it; whatever the user
// does after a phase (the input window, options, a pause) belongs to that phase and is
// undone with the next step back. A new start, Restart, loading a program or editing
// memory outside a phase begins a new history.
class ExecutionHistory : public ScreensObserver,
                         private ui::ChangeRecorder,
                         private REXEC_Manual::PulseListener {
 public:
  static constexpr std::size_t kKeptPhases = 100'000;

  explicit ExecutionHistory(Application& app);
  ~ExecutionHistory() override;
  ExecutionHistory(const ExecutionHistory&) = delete;
  ExecutionHistory& operator=(const ExecutionHistory&) = delete;

  // --- Going back ----------------------------------------------------------------------
  std::size_t phaseCount();
  // Phases are kept and the clock stands still (manual, paused, stopped, or waiting).
  bool canStepBack();
  // Undoes the last phase: both screens and the module variables as before it. A phase
  // the running clock performed leaves the clock stopped there: Resume (or Step) goes on.
  void stepBack();
  // Goes back to the point a line of the history stands for: an instruction's first phase
  // (of its first run, for a repeated one), just after a phase, the start, the end.
  void goBackTo(std::size_t line);

  // --- Reading -------------------------------------------------------------------------
  // A start line, one line per instruction ("5: 00100101 LOAD 5"), under the last one a
  // line per phase performed ("T3: PC 5 → 6, memory word read"), and a line where the
  // program reached its end. The end's branch to itself is one line however often it runs
  // ("4: 10100100 BRANCH 4 — repeated 1,234 times"), with the end line after it.
  std::size_t lineCount();
  std::string line(std::size_t index);
  // The line where the program reached its end: long, and worth reading whole.
  bool isEndLine(std::size_t index);
  // Changes whenever the lines or what can be done may have changed.
  std::uint64_t revision() const { return revision_; }
  std::size_t memoryBytes() const;

  void formCreated(ui::Form& form) override;
  void formDestroyed(ui::Form& form) override;

 private:
  using ModuleState = REXEC_Manual::ModuleState;
  // One register value a phase changed: what, at which memory address, before and after.
  enum class Reg : std::uint8_t { None, PC, AR, IR, X, Y, S, Output, Memory };
  struct Delta {
    Reg reg = Reg::None;
    std::uint8_t address = 0, before = 0, after = 0;
  };
  struct Note {
    std::uint8_t phase = 0;     // T0 to T7
    std::uint8_t opCode = 0;    // decoded after the phase; 8 for none
    std::uint8_t address = 0;   // the instruction's address; 0xFF when unknown
    std::uint8_t byte = 0;      // the instruction's byte
    bool clockStopped = false;  // the phase stopped the running clock
    bool selfBranch = false;    // a branch taken to its own address
    bool negative = false;      // S was negative: the flag a conditional branch tests
    std::array<Delta, 2> deltas{};
  };
  struct Step {
    ChangeJournal::Position phaseBegin;  // the click or tick that performed the phase
    ChangeJournal::Position trailBegin;  // what the user did after it
    ModuleState before, after;
    bool stoodStillAfter;
    Note note;
  };
  struct Origin {  // where going back stops
    ChangeJournal::Position trailBegin = 0;
    ModuleState state;
    bool stoodStill = true;
    bool start = true;  // a start at T0, not the oldest kept phase
    int pc = 0;
    Note instruction;  // the instruction under way, if any
  };
  enum class LineKind : std::uint8_t { Start, Instruction, Phase, End };
  struct Line {
    LineKind kind;
    std::size_t step;  // the step whose point the line stands for (after it)
    // An instruction's: its first step, and how many times in a row it ran (the end's
    // branch to itself, repeated, is one line).
    std::size_t first = 0;
    std::size_t runs = 1;
  };

  void willChange(ui::Form& form, ui::Element* element, ui::Property property,
                  const ui::PropertyValue& old) override;
  void pulseStarting() override;
  void pulseEnded() override;
  void runStarted() override { pendingClear_ = true; }
  void attach(REXEC& rexec);
  void attach(DERAZO_Input& input);
  void detach();
  void catalogue();
  void clearIfPending();
  void restart();
  void keepAtMost(std::size_t steps);
  void undoSteps(std::size_t keep);
  void hold();
  int litClockCell() const;
  bool clockRuns() const;
  Note describe(const Step& step, const Note& previous) const;
  const std::vector<Line>& lines();
  std::string phaseText(const Note& note) const;
  std::string instructionLine(const Note& note) const;

  Application& app_;
  REXEC* rexec_ = nullptr;
  DERAZO_Input* input_ = nullptr;
  ChangeJournal journal_;
  std::deque<Step> steps_;
  Origin origin_;
  bool pendingClear_ = true;
  bool inPhase_ = false;
  std::uint64_t revision_ = 0;
  // Which register each element holds a part of: a caption (bit 0) or a bit cell (1 to 8).
  struct Part {
    Reg reg;
    std::uint8_t bit;
    std::uint8_t address;
  };
  std::unordered_map<const ui::Element*, Part> parts_;
  std::vector<Line> lines_;
  std::uint64_t linesRevision_ = ~std::uint64_t{0};
  // What stood before the pulse under way.
  struct PulseStart {
    ChangeJournal::Position begin = 0;
    ModuleState state;
    int litCell = -1;
    bool clockRan = false;
  } pulse_;
};

}  // namespace volpar::history
