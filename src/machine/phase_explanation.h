// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace volpar {

class MachineView;
class REXEC;

// What a clock phase does, for every phase of every op code: the register transfer and
// a sentence that uses the step label's own words where the screen has one. `target` is
// what the transfer writes; None where nothing moves.
struct PhaseExplanation {
  enum class Target { None, PC, AR, IR, X, Y, S, Output, Memory };
  // Both in English, as marked for translation: a user reads them through i18n::tr().
  std::string_view transfer;  // "AR ← PC", or "nothing"
  std::string_view sentence;
  Target target;
};

// Phase 0 to 7 of op code 0 to 7; T0 to T3 are alike for every op code. `negative` is
// the negative flag, which decides whether BR Neg and BR NNeg branch at T4.
const PhaseExplanation& phaseExplanation(int phase, int opCode, bool negative);

// The phase the machine last performed, explained with the value that moved:
// "AR ← PC: 5 — Copy Program Counter To Address Register". The op code is the one decoded
// (T0 and T1 do not depend on it).
const PhaseExplanation& lastPhaseExplanation(const MachineView& machine, int phase);
const PhaseExplanation& lastPhaseExplanation(const REXEC& rexec, int phase);
std::string transferWithValue(const PhaseExplanation& explanation, const MachineView& machine);
std::string explainedPhase(const MachineView& machine, int phase);
// Without values: "AR ← PC (Copy Program Counter To Address Register)", or the sentence
// alone where nothing moves.
std::string phaseInWords(const PhaseExplanation& explanation);
// The phase the lit clock cell shows, in words as above; empty when none is lit. The screen
// reader's news says it after the clock.
std::string lastPhaseInWords(const REXEC& rexec);

// The phase last performed, as the lit clock cell shows it (an INPUT waiting for its value
// has performed T6); -1 when no clock cell is lit.
int litPhase(const REXEC& rexec);
// The address of the instruction under way: at T0 the next one, at the PC; from T1 to T3
// at AR (T1 copied the PC there); from T4 on at the address before the PC, which T3
// moved on, or, after a taken branch, still at AR. -1 when no clock cell is lit.
int instructionUnderWay(const REXEC& rexec, const MachineView& machine);

}  // namespace volpar
