// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/execution_history.h"

#include <optional>
#include <string>
#include <utility>

#include "i18n/text.h"
#include "machine/REXEC_Manual.h"
#include "machine/cell_reading.h"
#include "machine/instruction_text.h"
#include "machine/machine_view.h"
#include "machine/phase_explanation.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "ui/colors.h"
#include "ui/text_value.h"

namespace volpar::history {

namespace {
constexpr std::uint8_t kUnknownAddress = 0xFF;
using i18n::fill;
using i18n::tr;

constexpr std::uint8_t kNoOpCode = 8;
constexpr int kLoad = 1, kStore = 2, kInput = 3, kOutput = 4, kBranch = 5, kAdd = 0;

// "1,234,567": a count the eye takes in at once.
std::string withThousands(std::size_t n) {
  std::string digits = std::to_string(n);
  for (auto i = static_cast<std::ptrdiff_t>(digits.size()) - 3; i > 0; i -= 3)
    digits.insert(static_cast<std::size_t>(i), ",");
  return digits;
}
}  // namespace

ExecutionHistory::ExecutionHistory(Application& app) : app_(app) {
  app_.addObserver(this);
  app_.manual().setPulseListener(this);
  if (REXEC* rexec = app_.existingRexec()) attach(*rexec);
  if (DERAZO_Input* input = app_.existingDerazoInput()) attach(*input);
  restart();
}

ExecutionHistory::~ExecutionHistory() {
  app_.manual().setPulseListener(nullptr);
  app_.removeObserver(this);
  detach();
}

// ---- listening ------------------------------------------------------------------------

void ExecutionHistory::formCreated(ui::Form& form) {
  if (&form == app_.existingRexec()) {
    attach(*app_.existingRexec());
  } else if (&form == app_.existingDerazoInput()) {
    attach(*app_.existingDerazoInput());
  } else {
    return;
  }
  // The old screens' changes must go with them: Restart begins a new history.
  restart();
  pendingClear_ = true;
}

void ExecutionHistory::formDestroyed(ui::Form& form) {
  if (&form != rexec_ && &form != input_) return;
  if (&form == rexec_) rexec_ = nullptr;
  if (&form == input_) input_ = nullptr;
  catalogue();
  restart();
}

void ExecutionHistory::attach(REXEC& rexec) {
  if (rexec_) rexec_->setRecorder(nullptr);
  rexec_ = &rexec;
  rexec.setRecorder(this);
  catalogue();
}

void ExecutionHistory::attach(DERAZO_Input& input) {
  if (input_) input_->setRecorder(nullptr);
  input_ = &input;
  input.setRecorder(this);
  catalogue();
}

void ExecutionHistory::detach() {
  if (rexec_) rexec_->setRecorder(nullptr);
  if (input_) input_->setRecorder(nullptr);
}

// Names are resolved once: which register each caption and bit cell belongs to.
void ExecutionHistory::catalogue() {
  parts_.clear();
  if (rexec_) {
    REXEC& r = *rexec_;
    for (auto [label, reg] : {std::pair{&r.Register_PC_Decimal, Reg::PC},
                              {&r.Register_Address_Decimal, Reg::AR},
                              {&r.Register_X_Decimal, Reg::X},
                              {&r.Register_Y_Decimal, Reg::Y},
                              {&r.Register_S_Decimal, Reg::S},
                              {&r.Register_Output_Decimal, Reg::Output}}) {
      parts_[label] = {reg, 0, 0};
    }
    for (int i = 1; i <= 8; ++i)
      parts_[&r.SHAPE_IR(i)] = {Reg::IR, static_cast<std::uint8_t>(i), 0};
  }
  if (input_) {
    for (int a = 0; a < 32; ++a) {
      for (int b = 1; b <= 8; ++b) {
        parts_[&input_->Shape1(8 * a + b)] = {Reg::Memory, static_cast<std::uint8_t>(b),
                                              static_cast<std::uint8_t>(a)};
      }
    }
  }
}

void ExecutionHistory::willChange(ui::Form& form, ui::Element* element, ui::Property property,
                                  const ui::PropertyValue& old) {
  if (&form != rexec_ && &form != input_) return;  // a screen on its way out
  // Memory edited by the user (Send to Memory, a program loaded): a new program, a new
  // history, once the event has finished.
  if (!inPhase_ && &form == input_ && element && element->kind() == ui::ElementKind::Shape) {
    pendingClear_ = true;
  }
  journal_.record(form, element, property, old);
}

// ---- phases ---------------------------------------------------------------------------

// A click or tick that may perform a phase. A phase lights its own clock cell; a pulse
// that lit none (Begin starting the automatic clock) belongs to the step before.
void ExecutionHistory::pulseStarting() {
  clearIfPending();
  pulse_ = {journal_.end(), app_.manual().moduleState(), litClockCell(), clockRuns()};
  inPhase_ = true;
}

void ExecutionHistory::pulseEnded() {
  inPhase_ = false;
  if (!rexec_ || !input_ || litClockCell() == pulse_.litCell) return;
  Step step{
      pulse_.begin, journal_.end(), pulse_.state, app_.manual().moduleState(), !clockRuns(), {}};
  step.note = describe(step, steps_.empty() ? origin_.instruction : steps_.back().note);
  step.note.clockStopped = pulse_.clockRan && !clockRuns();
  steps_.push_back(step);
  keepAtMost(kKeptPhases);
  ++revision_;
}

void ExecutionHistory::clearIfPending() {
  if (!pendingClear_) return;
  pendingClear_ = false;
  restart();
}

void ExecutionHistory::restart() {
  journal_.clear();
  steps_.clear();
  origin_ = Origin{};
  origin_.trailBegin = journal_.end();
  if (rexec_ && input_) {
    const MachineView view(*rexec_, *input_, app_.manual());
    origin_.state = app_.manual().moduleState();
    origin_.stoodStill = !clockRuns();
    origin_.start = view.atInstructionBoundary();
    origin_.pc = view.pc();
    origin_.instruction.address = kUnknownAddress;
    origin_.instruction.byte = static_cast<std::uint8_t>(view.ir());
  }
  ++revision_;
}

// The oldest steps go; going back then stops after the oldest step kept.
void ExecutionHistory::keepAtMost(std::size_t steps) {
  while (steps_.size() > steps) {
    const Step& oldest = steps_.front();
    origin_.trailBegin = oldest.trailBegin;
    origin_.state = oldest.after;
    origin_.stoodStill = oldest.stoodStillAfter;
    origin_.start = false;
    origin_.instruction = oldest.note;
    journal_.forgetBefore(oldest.trailBegin);
    steps_.pop_front();
  }
}

int ExecutionHistory::litClockCell() const { return rexec_ ? MachineView::litPhase(*rexec_) : -1; }

bool ExecutionHistory::clockRuns() const { return rexec_ && rexec_->Timer1.enabled(); }

// ---- going back -----------------------------------------------------------------------

std::size_t ExecutionHistory::phaseCount() {
  clearIfPending();
  return steps_.size();
}

bool ExecutionHistory::canStepBack() {
  clearIfPending();
  return !steps_.empty() && rexec_ && !clockRuns();
}

void ExecutionHistory::stepBack() {
  if (canStepBack()) undoSteps(steps_.size() - 1);
}

void ExecutionHistory::goBackTo(std::size_t line) {
  if (!canStepBack()) return;
  const std::vector<Line>& all = lines();
  if (line >= all.size()) return;
  const Line& l = all[line];
  switch (l.kind) {
    case LineKind::Start: undoSteps(0); break;
    case LineKind::Instruction: undoSteps(l.first + 1); break;
    case LineKind::Phase:
    case LineKind::End: undoSteps(l.step + 1); break;
  }
}

// Back to just before step `keep`. Where the running clock performed it, the clock stops
// there: back to the standstill before the click that started it, if there was one since
// the phase before, else held where it is.
void ExecutionHistory::undoSteps(std::size_t keep) {
  if (steps_.size() <= keep) return;
  journal_.undoTo(steps_[keep].phaseBegin);
  app_.manual().setModuleState(steps_[keep].before);
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(keep), steps_.end());
  if (clockRuns()) {
    const bool stood = keep == 0 ? origin_.stoodStill : steps_[keep - 1].stoodStillAfter;
    if (stood) {
      journal_.undoTo(keep == 0 ? origin_.trailBegin : steps_[keep - 1].trailBegin);
      app_.manual().setModuleState(keep == 0 ? origin_.state : steps_[keep - 1].after);
    } else {
      hold();
    }
  }
  ++revision_;
}

// The clock stopped between two phases, as an OUTPUT stop leaves it.
void ExecutionHistory::hold() {
  REXEC& r = *rexec_;
  r.Timer1.setEnabled(false);
  r.Command_Pause.setEnabled(false);
  if (r.manual_radio.Value()) {
    r.Command_Begin_Step.setEnabled(true);
  } else {
    r.Command_Resume.setEnabled(true);
  }
}

// ---- what a phase did -----------------------------------------------------------------

// Registers after the phase from the machine; before it, from the values the journal
// holds for the captions and cells the phase changed.
ExecutionHistory::Note ExecutionHistory::describe(const Step& step, const Note& previous) const {
  const MachineView view(*rexec_, *input_, app_.manual());
  Note note;
  note.phase = static_cast<std::uint8_t>(litClockCell());
  const auto decoded = view.decoded();
  note.opCode = decoded ? static_cast<std::uint8_t>(*decoded) : kNoOpCode;
  note.address = previous.address;
  note.byte = previous.byte;
  note.negative = view.s() >= 128;
  if (note.phase == 1) {
    note.address = static_cast<std::uint8_t>(view.ar());
    note.byte = static_cast<std::uint8_t>(view.memory(view.ar()));
  } else if (note.phase == 2) {
    note.address = static_cast<std::uint8_t>(view.pc());
    note.byte = static_cast<std::uint8_t>(view.ir());
  }

  std::array<std::optional<int>, 9> before;  // by register
  int memoryAddress = -1;
  for (ChangeJournal::Position p = step.trailBegin; p-- > step.phaseBegin;) {
    auto it = parts_.find(journal_.element(p));
    if (it == parts_.end()) continue;
    const Part part = it->second;
    auto& value = before[static_cast<std::size_t>(part.reg)];
    if (part.bit == 0) {
      value = ui::ValInt(std::get<std::string>(journal_.oldValue(p)));
      continue;
    }
    if (part.reg == Reg::Memory) {
      if (memoryAddress != part.address) value = view.memory(part.address);
      memoryAddress = part.address;
    } else if (!value) {
      value = view.ir();
    }
    const ui::Color one = part.reg == Reg::Memory ? machine::kMemoryOne : machine::kRegisterOne;
    const int weight = 1 << (8 - part.bit);
    const bool set =
        machine::isOne(static_cast<ui::Color>(std::get<std::int64_t>(journal_.oldValue(p))), one);
    value = set ? (*value | weight) : (*value & ~weight);
  }
  std::size_t n = 0;
  for (Reg reg : {Reg::IR, Reg::PC, Reg::AR, Reg::Y, Reg::X, Reg::S, Reg::Output, Reg::Memory}) {
    const auto& old = before[static_cast<std::size_t>(reg)];
    if (!old || n == note.deltas.size()) continue;
    int now = 0;
    switch (reg) {
      case Reg::IR: now = view.ir(); break;
      case Reg::PC: now = view.pc(); break;
      case Reg::AR: now = view.ar(); break;
      case Reg::X: now = view.x(); break;
      case Reg::Y: now = view.y(); break;
      case Reg::S: now = view.s(); break;
      case Reg::Output: now = view.output(); break;
      case Reg::Memory: now = view.memory(memoryAddress); break;
      case Reg::None: break;
    }
    if (now == *old) continue;
    note.deltas[n++] = {reg, static_cast<std::uint8_t>(std::max(memoryAddress, 0)),
                        static_cast<std::uint8_t>(*old), static_cast<std::uint8_t>(now)};
  }
  if (note.phase == 4 && note.opCode >= kBranch && note.opCode != kNoOpCode) {
    for (const Delta& d : note.deltas) {
      if (d.reg == Reg::PC && d.after == note.address) note.selfBranch = true;
    }
  }
  return note;
}

// ---- lines ----------------------------------------------------------------------------

// An instruction's steps run from its T1 to the T0 after it; the instruction under way is
// the last one, and only its phases have lines of their own.
const std::vector<ExecutionHistory::Line>& ExecutionHistory::lines() {
  clearIfPending();
  if (linesRevision_ == revision_) return lines_;
  linesRevision_ = revision_;
  lines_.clear();
  lines_.push_back({LineKind::Start, 0});
  std::size_t first = 0;
  // The last instruction that ended the program, and its line: the same byte at the same
  // address runs again only to branch to itself again, so it joins that line from its T1 on.
  std::pair<int, int> end{-1, -1};  // address and byte; none yet
  std::size_t endLine = 0;
  while (first < steps_.size()) {
    std::size_t last = first;
    bool selfBranch = steps_[first].note.selfBranch;
    while (last + 1 < steps_.size() && steps_[last + 1].note.phase != 1) {
      ++last;
      selfBranch = selfBranch || steps_[last].note.selfBranch;
    }
    const Note& note = steps_[last].note;
    const std::pair<int, int> instruction{note.address, note.byte};
    if (end == instruction) {
      lines_.resize(endLine + 1);  // its end line comes again below
      lines_[endLine].step = last;
      ++lines_[endLine].runs;
      selfBranch = true;
    } else {
      endLine = lines_.size();
      lines_.push_back({LineKind::Instruction, last, first});
    }
    if (last + 1 == steps_.size()) {
      for (std::size_t s = first; s <= last; ++s) lines_.push_back({LineKind::Phase, s});
    }
    if (selfBranch) lines_.push_back({LineKind::End, last});
    end = selfBranch ? instruction : std::pair{-1, -1};
    first = last + 1;
  }
  return lines_;
}

std::size_t ExecutionHistory::lineCount() { return lines().size(); }

bool ExecutionHistory::isEndLine(std::size_t index) {
  const std::vector<Line>& all = lines();
  return index < all.size() && all[index].kind == LineKind::End;
}

std::string ExecutionHistory::line(std::size_t index) {
  const std::vector<Line>& all = lines();
  if (index >= all.size()) return {};
  const Line l = all[index];
  switch (l.kind) {
    case LineKind::Start:
      return origin_.start ? fill(tr("Start at address %1"), {std::to_string(origin_.pc)})
                           : std::string(tr("Earlier phases are no longer kept"));
    case LineKind::Instruction:
      return instructionLine(steps_[l.step].note) +
             (l.runs > 1 ? " \u2014 " + fill(i18n::trn("repeated %1 time", "repeated %1 times",
                                                       static_cast<long>(l.runs)),
                                             {withThousands(l.runs)})
                         : "");
    case LineKind::Phase: return phaseText(steps_[l.step].note);
    case LineKind::End:
      // TRANSLATORS: %1 is an op code's name (BRANCH), %2 an address.
      return fill(
          tr("the program has reached its end (%1 to itself at %2)"),
          {opCodeName(steps_[l.step].note.byte >> 5), std::to_string(steps_[l.step].note.address)});
  }
  return {};
}

std::string ExecutionHistory::instructionLine(const Note& note) const {
  const std::string address =
      note.address == kUnknownAddress ? std::string("?") : std::to_string(note.address);
  return address + ": " + bitsText(note.byte) + " " + instructionText(note.byte);
}

// What a phase did, in words; a marked text, with the operand's address as %1 where it has one.
static const char* phaseAction(int phase, int op, bool clockStopped, bool pcChanged) {
  const char* action = i18n::mark("nothing to do");
  switch (phase) {
    case 0: action = clockStopped ? i18n::mark("ready, clock paused") : i18n::mark("ready"); break;
    case 1: action = i18n::mark("PC copied to AR"); break;
    case 2: action = i18n::mark("instruction fetched: %1"); break;
    case 3: action = i18n::mark("memory word read"); break;
    case 4:
      if (op < kBranch)
        action = i18n::mark("address field copied to AR");
      else if (op != kNoOpCode)
        action = pcChanged ? i18n::mark("branch taken") : i18n::mark("branch not taken");
      break;
    case 5:
      if (op == kAdd) action = i18n::mark("memory[%1] read into Y");
      if (op == kLoad) action = i18n::mark("memory[%1] read into S");
      if (op == kStore) action = i18n::mark("S written to memory[%1]");
      if (op == kOutput) action = i18n::mark("S copied to Output");
      break;
    case 6:
      if (op == kAdd) action = i18n::mark("S copied to X");
      if (op == kInput) action = i18n::mark("waiting for input");
      if (op == kOutput)
        action = clockStopped ? i18n::mark("clock stopped for output") : i18n::mark("output shown");
      break;
    case 7:
      if (op == kAdd) action = i18n::mark("X + Y into S");
      if (op == kInput) action = i18n::mark("input read into S");
      break;
    default: break;
  }
  return action;
}

// "T3: PC 5 → 6, memory word read": what changed, then what the phase did.
std::string ExecutionHistory::phaseText(const Note& note) const {
  const bool pcChanged = note.deltas[0].reg == Reg::PC || note.deltas[1].reg == Reg::PC;
  // TRANSLATORS: %1 is an address in memory, or at T2 the instruction fetched ("LOAD 5").
  const std::string operand =
      note.phase == 2 ? instructionText(note.byte) : std::to_string(note.byte & 31);
  const std::string action =
      fill(tr(phaseAction(note.phase, note.opCode, note.clockStopped, pcChanged)), {operand});
  // TRANSLATORS: registers' names in the history's lines: keep the letters (PC, AR...).
  static constexpr std::array<const char*, 9> kNames{
      "", "PC", "AR", "IR", "X", "Y", "S", i18n::mark("Output"), i18n::mark("memory")};
  std::string text = "T" + std::to_string(note.phase) + ": ";
  for (const Delta& d : note.deltas) {
    if (d.reg == Reg::None) continue;
    text += i18n::shown(kNames[static_cast<std::size_t>(d.reg)]);
    if (d.reg == Reg::Memory) text += "[" + std::to_string(d.address) + "]";
    text += " " + std::to_string(d.before) + " \u2192 " + std::to_string(d.after) + ", ";
  }
  const PhaseExplanation& e = phaseExplanation(note.phase, note.opCode, note.negative);
  return text + action + " \u2014 " + phaseInWords(e);
}

std::size_t ExecutionHistory::memoryBytes() const {
  return journal_.memoryBytes() + steps_.size() * sizeof(Step) + lines_.capacity() * sizeof(Line);
}

}  // namespace volpar::history
