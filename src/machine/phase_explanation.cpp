// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/phase_explanation.h"

#include <array>

#include "i18n/text.h"
#include "machine/machine_view.h"
#include "screens/execution/REXEC.h"
#include "ui/text_value.h"

namespace volpar {
namespace {

using Target = PhaseExplanation::Target;

constexpr std::string_view kNothing = i18n::mark("nothing");

// TRANSLATORS: a register transfer, in the notation the machine's diagrams use: keep the
// registers' letters (AR, PC, IR, M, S, X, Y); translate only "nothing", Input and Output.
// T0 to T3, the same for every instruction.
constexpr std::array<PhaseExplanation, 4> kFetch{{
    {kNothing, i18n::mark("Ready: the instruction is complete; the clock may stop here"),
     Target::None},
    {i18n::mark("AR ← PC"), i18n::mark("Copy Program Counter To Address Register"), Target::AR},
    {i18n::mark("IR ← M[PC]"),
     i18n::mark("Copy Memory to Instruction Register: the word at the program counter is fetched "
                "and decoded"),
     Target::IR},
    {i18n::mark("PC ← PC + 1"),
     i18n::mark("Increment Program Counter: the PC names the next word in memory"), Target::PC},
}};

constexpr PhaseExplanation kIrToAr{
    i18n::mark("AR ← IR(address)"),
    i18n::mark("Copy Instruction Register to Address Register: the address field goes to AR"),
    Target::AR};
constexpr PhaseExplanation kIrToPc{
    i18n::mark("PC ← IR(address)"),
    i18n::mark(
        "Copy Instruction Register to Program Counter: the branch is taken, the next instruction "
        "comes from the address field"),
    Target::PC};
constexpr PhaseExplanation kNotNegative{
    kNothing, i18n::mark("nothing: S is not negative, so the PC keeps the next address"),
    Target::None};
constexpr PhaseExplanation kNegative{
    kNothing, i18n::mark("nothing: S is negative, so the PC keeps the next address"), Target::None};
constexpr PhaseExplanation kIdle{
    kNothing, i18n::mark("nothing: this instruction does nothing in this phase"), Target::None};
constexpr PhaseExplanation kBranchDone{
    kNothing, i18n::mark("nothing: a branch is decided at T4 and does nothing after it"),
    Target::None};

// T5, T6 and T7 of each op code.
constexpr std::array<std::array<PhaseExplanation, 3>, 8> kExecute{{
    {{{i18n::mark("Y ← M[AR]"), i18n::mark("Copy Memory to Y: the word at the address goes to Y"),
       Target::Y},
      {i18n::mark("X ← S"), i18n::mark("Copy S to X: S goes to X, to be added"), Target::X},
      {i18n::mark("S ← X + Y"), i18n::mark("X + Y to S: the sum, modulo 256, goes to S"),
       Target::S}}},
    {{{i18n::mark("S ← M[AR]"), i18n::mark("Copy Memory to S: the word at the address goes to S"),
       Target::S},
      kIdle,
      kIdle}},
    {{{i18n::mark("M[AR] ← S"), i18n::mark("Copy S to Memory: S goes to the word at the address"),
       Target::Memory},
      kIdle,
      kIdle}},
    {{kIdle,
      {kNothing, i18n::mark("Stop: the input window opens and the clock waits for a value"),
       Target::None},
      {i18n::mark("S ← Input"), i18n::mark("Copy Input to S: the value entered goes to S"),
       Target::S}}},
    {{{i18n::mark("Output ← S"), i18n::mark("Copy S to Output: S is shown as output"),
       Target::Output},
      {kNothing,
       i18n::mark("Stop: the output is shown; with Stop for Output the running clock stops"),
       Target::None},
      kIdle}},
    {{kBranchDone, kBranchDone, kBranchDone}},
    {{kBranchDone, kBranchDone, kBranchDone}},
    {{kBranchDone, kBranchDone, kBranchDone}},
}};

constexpr int kBranch = 5;
constexpr int kBranchIfNegative = 6;

const PhaseExplanation& phaseFour(int opCode, bool negative) {
  if (opCode < kBranch) return kIrToAr;
  if (opCode == kBranch) return kIrToPc;
  if (opCode == kBranchIfNegative) return negative ? kIrToPc : kNotNegative;
  return negative ? kNegative : kIrToPc;
}

}  // namespace

const PhaseExplanation& phaseExplanation(int phase, int opCode, bool negative) {
  opCode &= 7;
  if (phase <= 3) return kFetch[static_cast<std::size_t>(phase < 0 ? 0 : phase)];
  if (phase == 4) return phaseFour(opCode, negative);
  return kExecute[static_cast<std::size_t>(opCode)][static_cast<std::size_t>((phase - 5) % 3)];
}

const PhaseExplanation& lastPhaseExplanation(const MachineView& machine, int phase) {
  return lastPhaseExplanation(machine.rexec(), phase);
}

const PhaseExplanation& lastPhaseExplanation(const REXEC& rexec, int phase) {
  const auto decoded = MachineView::decoded(rexec);
  // S is not changed between the decode and T4, so its sign is the flag T4 tests.
  const bool negative = ui::ValInt(rexec.Register_S_Decimal.Caption()) >= 128;
  return phaseExplanation(phase, decoded ? static_cast<int>(*decoded) : 0, negative);
}

std::string transferWithValue(const PhaseExplanation& e, const MachineView& m) {
  int value = 0;
  switch (e.target) {
    case Target::None: return std::string(i18n::tr(e.transfer));
    case Target::PC: value = m.pc(); break;
    case Target::AR: value = m.ar(); break;
    case Target::IR: value = m.ir(); break;
    case Target::X: value = m.x(); break;
    case Target::Y: value = m.y(); break;
    case Target::S: value = m.s(); break;
    case Target::Output: value = m.output(); break;
    case Target::Memory: value = m.memory(m.ar()); break;
  }
  return std::string(i18n::tr(e.transfer)) + ": " + std::to_string(value);
}

std::string explainedPhase(const MachineView& machine, int phase) {
  const PhaseExplanation& e = lastPhaseExplanation(machine, phase);
  return transferWithValue(e, machine) + " \u2014 " + std::string(i18n::tr(e.sentence));
}

std::string phaseInWords(const PhaseExplanation& e) {
  const std::string sentence(i18n::tr(e.sentence));
  if (e.target == Target::None) return sentence;
  return std::string(i18n::tr(e.transfer)) + " (" + sentence + ")";
}

int litPhase(const REXEC& rexec) {
  for (int phase = 0; phase < 8; ++phase) {
    if (rexec.Shape_Clock(phase).FillColor() == ui::kCyan) return phase;
  }
  return -1;
}

int instructionUnderWay(const REXEC& rexec, const MachineView& view) {
  const int phase = litPhase(rexec);
  if (phase < 0) return -1;
  if (phase == 0) return view.pc();
  if (phase <= 3) return view.ar();
  const auto decoded = view.decoded();
  const bool taken =
      decoded &&
      phaseExplanation(4, static_cast<int>(*decoded), view.s() >= 128).target == Target::PC;
  return taken ? view.ar() : (view.pc() + 31) % 32;
}

std::string lastPhaseInWords(const REXEC& rexec) {
  const int phase = litPhase(rexec);
  return phase < 0 ? std::string() : phaseInWords(lastPhaseExplanation(rexec, phase));
}

}  // namespace volpar
