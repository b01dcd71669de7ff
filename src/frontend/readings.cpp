// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontend/readings.h"

#include "app/application.h"
#include "i18n/text.h"
#include "machine/machine_view.h"
#include "machine/phase_explanation.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"

namespace volpar::frontend {

namespace {

bool inputShown(const Application& app) {
  const DERAZO_Input* input = app.existingDerazoInput();
  return input && input->Visible();
}

// Marked only while the execution screen is shown; -1 for none.
int addressUnderWay(Application& app) {
  const REXEC* rexec = app.existingRexec();
  const DERAZO_Input* input = app.existingDerazoInput();
  if (!rexec || !input || !rexec->Visible()) return -1;
  return instructionUnderWay(*rexec, MachineView(*rexec, *input, app.manual()));
}

}  // namespace

std::optional<storage::ByteTexts> memoryBytes(Application& app) {
  if (!app.existingDerazoInput()) return std::nullopt;
  return app.manual().memoryBytes();
}

std::optional<PhaseReading> readPhase(Application& app) {
  const REXEC* rexec = app.existingRexec();
  const DERAZO_Input* input = app.existingDerazoInput();
  const int phase = rexec ? litPhase(*rexec) : -1;
  if (!input || phase < 0) return std::nullopt;
  const MachineView view(*rexec, *input, app.manual());
  const std::string clock = "T" + std::to_string(phase);
  PhaseReading reading{clock, {}, {}};
  // T1 is alike for every op code, and comes before the decode.
  if (const auto decoded = view.decoded(); phase != 1 && decoded) {
    // TRANSLATORS: a clock phase of an instruction: "T3 of LOAD".
    reading.heading = i18n::fill(i18n::tr("%1 of %2"),
                                 {clock, assembly::kMnemonics[static_cast<std::size_t>(*decoded)]});
  }
  const PhaseExplanation& e = lastPhaseExplanation(view, phase);
  reading.transfer = transferWithValue(e, view);
  reading.sentence = std::string(i18n::tr(e.sentence));
  return reading;
}

ProgramTextLink linkProgramText(Application& app, const assembly::Assembly& text) {
  const std::optional<storage::ByteTexts> memory = memoryBytes(app);
  ProgramTextLink link;
  if (text.bytes)
    link.state = memory == text.bytes ? ProgramTextState::Same : ProgramTextState::Differs;
  const int address = link.state == ProgramTextState::Same ? addressUnderWay(app) : -1;
  if (address >= 0) link.runningLine = text.lineOf[static_cast<std::size_t>(address)];
  link.sendable = link.state == ProgramTextState::Differs && inputShown(app);
  link.listable = memory && link.state != ProgramTextState::Same;
  return link;
}

void sendProgram(Application& app, const assembly::Assembly& text,
                 const std::optional<storage::ByteTexts>& sent) {
  if (!linkProgramText(app, text).sendable) return;
  const bool ours = sent && memoryBytes(app) == sent;
  DERAZO_Input& input = app.derazoInput();
  ours ? input.placeProgram(*text.bytes) : input.openProgram(*text.bytes);
}

}  // namespace volpar::frontend
