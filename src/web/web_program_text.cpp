// SPDX-License-Identifier: GPL-3.0-or-later
// Program text for the page's panel: the same library the windows use, through the binding.
#include "web/web_program_text.h"

#include "assembly/listing.h"
#include "assembly/program_text.h"
#include "exercise/check.h"
#include "frontend/reading_windows.h"
#include "machine/machine_view.h"
#include "machine/phase_explanation.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "web/web_front_end.h"

namespace volpar::web {

std::string programTextProblems(const std::string& text) {
  return assembly::problemsText(assembly::assemble(text));
}

emscripten::val programTextProblemLines(const std::string& text) {
  emscripten::val lines = emscripten::val::array();
  for (const assembly::Problem& problem : assembly::assemble(text).problems)
    lines.call<void>("push", problem.line);
  return lines;
}

std::string WebFrontEnd::programTextState(const std::string& text) {
  using frontend::ProgramTextState;
  const assembly::Assembly assembled = assembly::assemble(text);
  if (!assembled.bytes) return "problems\n" + programTextStatus(ProgramTextState::Problems, 0);
  const DERAZO_Input* input = app_.existingDerazoInput();
  if (!input || *exercise::programInMemory(app_.manual()).bytes != *assembled.bytes)
    return "differs\n" + programTextStatus(ProgramTextState::Differs, 0);
  const REXEC* rexec = app_.existingRexec();
  int line = 0;
  if (rexec && rexec->Visible()) {
    const int address = instructionUnderWay(*rexec, MachineView(*rexec, *input, app_.manual()));
    if (address >= 0) line = assembled.lineOf[static_cast<std::size_t>(address)];
  }
  return "same " + std::to_string(line) + "\n" + programTextStatus(ProgramTextState::Same, line);
}

bool WebFrontEnd::sendProgramText(const std::string& text) {
  const assembly::Assembly assembled = assembly::assemble(text);
  DERAZO_Input* input = app_.existingDerazoInput();
  if (!assembled.bytes || !input || !input->Visible()) return false;
  // Over the program sent last, no question; over any other unsaved one, Open's question.
  const storage::ByteTexts bytes = *assembled.bytes;
  const bool ours =
      programTextSent_ && exercise::programInMemory(app_.manual()).bytes == programTextSent_;
  deliver([input, bytes, ours] { ours ? input->placeProgram(bytes) : input->openProgram(bytes); });
  if (exercise::programInMemory(app_.manual()).bytes == bytes) programTextSent_ = bytes;
  return true;
}

std::string WebFrontEnd::memoryListing() {
  if (!app_.existingDerazoInput()) return {};
  return assembly::listing(*exercise::programInMemory(app_.manual()).bytes);
}

std::string WebFrontEnd::phaseExplained() {
  const REXEC* rexec = app_.existingRexec();
  const DERAZO_Input* input = app_.existingDerazoInput();
  const int phase = rexec ? litPhase(*rexec) : -1;
  if (!input || phase < 0) return {};
  const MachineView view(*rexec, *input, app_.manual());
  const auto decoded = view.decoded();
  std::string heading = "T" + std::to_string(phase);
  // T1 is alike for every op code, and comes before the decode.
  if (phase != 1 && decoded)
    heading += " of " + std::string(assembly::kMnemonics[static_cast<std::size_t>(*decoded)]);
  const PhaseExplanation& e = lastPhaseExplanation(view, phase);
  return heading + "\n" + transferWithValue(e, view) + "\n" + std::string(e.sentence);
}

}  // namespace volpar::web
