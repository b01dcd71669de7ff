// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/headless_machine.h"

#include <array>
#include <string_view>

#include "machine/REXEC_Manual.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"

namespace volpar::exercise {
namespace {

using OpCode = MachineView::OpCode;

constexpr int kEnterKey = 13;

}  // namespace

const char* endText(End end) {
  switch (end) {
    case End::Halt: return "halt";
    case End::Input: return "input";
    case End::Limit: return "limit";
  }
  return "limit";
}

// Program start, and the key that takes the student from the welcome screen on.
HeadlessMachine::HeadlessMachine() : app_(platform_) {
  app_.start();
  settle("starting the program");
  Initial_Screen& welcome = app_.initialScreen();
  if (welcome.onKeyPress) welcome.onKeyPress(kEnterKey);
  settle("leaving the welcome screen");
  rexec_ = &app_.rexec();
  input_ = &app_.derazoInput();
  view_.emplace(*rexec_, *input_, app_.manual());
}

void HeadlessMachine::markFresh() {
  fresh_.clear();
  for (ui::Form* form : {static_cast<ui::Form*>(app_.existingInitialScreen()), app_.inputForm(),
                         app_.executionForm()}) {
    if (form) fresh_.emplace_back(*form);
  }
  freshState_ = app_.manual().moduleState();
}

bool HeadlessMachine::rewind() {
  if (fresh_.empty() || faulted_) return false;
  for (const ui::FormSnapshot& form : fresh_) form.restore();
  app_.manual().setModuleState(freshState_);
  decoded_.reset();
  completed_ = 0;
  answered_ = 0;
  return true;
}

std::optional<std::string> HeadlessMachine::loadFile(const std::string& path) {
  auto problem = app_.manual().Load_Program_File(path);
  if (!problem) settle("loading the program");
  return problem;
}

void HeadlessMachine::loadBytes(const storage::ByteTexts& bytes) {
  faulted_ = true;
  for (std::int16_t address = 0; address < storage::kProgramBytes; ++address) {
    app_.manual().Text_To_Memory_Byte(address, bytes[static_cast<std::size_t>(address)]);
  }
  settle("loading the program");
  faulted_ = false;
}

std::string HeadlessMachine::byteText(int address) {
  return app_.manual().Memory_Byte_To_Text(static_cast<std::int16_t>(address));
}

std::optional<std::string> HeadlessMachine::save(const std::string& path) {
  auto problem = app_.manual().Save_Program_File(path);
  if (!problem) settle("saving the program");
  return problem;
}

End HeadlessMachine::run(int start, const std::vector<int>& inputs, std::uint64_t maxInstructions,
                         RunObserver* observer) {
  faulted_ = true;
  const End end = runSteps(start, inputs, maxInstructions, observer);
  faulted_ = false;
  return end;
}

End HeadlessMachine::runSteps(int start, const std::vector<int>& inputs,
                              std::uint64_t maxInstructions, RunObserver* observer) {
  startExecution(start);
  chooseManualClock();
  inputsRead_ = 0;
  fetched_ = 0;
  if (maxInstructions == 0) return End::Limit;
  int fetchedFrom = -1;
  for (;;) {
    const int phase = view_->phase();
    if (phase == 2) {
      fetchedFrom = view_->pc();
      fetched_ |= std::uint32_t{1} << fetchedFrom;
    }
    step(phase);
    // T2 lights the decoder cell, which stays until the next fetch: read it once.
    if (phase == 2) decoded_ = view_->decoded();
    if (observer) {
      observer->phaseDone(phase, *view_);
      if (phase == 5 && decoded_ == OpCode::Output) observer->output(view_->output());
    }
    if (phase == 6 && decoded_ == OpCode::Input) {
      if (inputsRead_ == inputs.size()) return End::Input;
      answerInput(inputs[inputsRead_++]);
    }
    if (phase == 7) {
      if (decoded_ == OpCode::Input) checkInputArrived();
      ++completed_;
      if (branchedToItself(fetchedFrom)) return End::Halt;
      if (completed_ == maxInstructions) return End::Limit;
    }
  }
}

// Only a taken branch can bring the PC back to the address it fetched from, and a branch
// changes nothing else: the same instruction would run again for ever, unchanged. This
// holds for the conditional branches as for BRANCH, since S stays what it was.
bool HeadlessMachine::branchedToItself(int fetchedFrom) const { return view_->pc() == fetchedFrom; }

// Execute Program, the start address typed into the panel, OK.
void HeadlessMachine::startExecution(int start) {
  DERAZO_Input& input = *input_;
  input.Command_Execute_Program.click();
  settle("opening the start-location panel");
  const std::string address = std::to_string(start);
  input.exec_text.type(address, static_cast<int>(address.size()));
  settle("typing the start address");
  if (input.exec_text.Text() != address) {
    throw RunFault("the start-location panel did not keep the start address " + address);
  }
  input.Command_OK_For_Start_Location.click();
  settle("starting execution");
  if (view_->phase() != 1 || !view_->atInstructionBoundary()) {
    throw RunFault("execution did not start: the machine does not stand at T0");
  }
}

// The options panel offers the switch while the machine stands at T0, as it does now.
void HeadlessMachine::chooseManualClock() {
  REXEC& rexec = *rexec_;
  rexec.Command_Options.click();
  settle("opening the options panel");
  rexec.manual_radio.click();
  settle("choosing the manual clock");
  rexec.Command_Options_Close.click();
  settle("closing the options panel");
  if (!rexec.manual_radio.Value())
    throw RunFault("the options panel did not switch to the manual clock");
}

// One press of Begin/Step: one clock phase. Runs take millions of them: the texts of a
// fault are built only when there is one.
void HeadlessMachine::step(int phase) {
  static constexpr std::array<const char*, 8> kPerforming = {
      "performing T0", "performing T1", "performing T2", "performing T3",
      "performing T4", "performing T5", "performing T6", "performing T7"};
  REXEC& rexec = *rexec_;
  const char* during = kPerforming[static_cast<std::size_t>(phase & 7)];
  const char* name = during + 11;  // "T3"
  if (!rexec.Command_Begin_Step.usable()) {
    throw RunFault(std::string("Begin/Step cannot be pressed before ") + name);
  }
  rexec.Command_Begin_Step.click();
  settle(during);
  const bool waitsForInput = phase == 6 && decoded_ == OpCode::Input;
  const int expected = waitsForInput ? 6 : (phase + 1) % 8;
  if (view_->phase() != expected) {
    throw RunFault(std::string("the clock did not move on after ") + name + " (phase " +
                   std::to_string(view_->phase()) + ", expected " + std::to_string(expected) + ")");
  }
}

// The value typed into the decimal box, then the window's button.
void HeadlessMachine::answerInput(int number) {
  REXEC& rexec = *rexec_;
  if (!rexec.Text_Input_Decimal.usable() || !rexec.Command_Input_Window_OK.usable()) {
    throw RunFault("an INPUT waits but its input window cannot be used");
  }
  const std::string text = std::to_string(number);
  rexec.Text_Input_Decimal.type(text, static_cast<int>(text.size()));
  settle("typing an input value");
  rexec.Command_Input_Window_OK.click();
  settle("confirming an input value");
  if (view_->phase() != 7) throw RunFault("the input window did not accept the value " + text);
  answered_ = number;
}

void HeadlessMachine::checkInputArrived() const {
  if (view_->s() != answered_) {
    throw RunFault("INPUT put " + std::to_string(view_->s()) + " into S instead of " +
                   std::to_string(answered_));
  }
}

// Between events, as the windows' event loop does; nothing may have asked the user
// anything or ended the program.
void HeadlessMachine::settle(const char* during) {
  app_.collectRetired();
  const auto& messages = platform_.messages();
  if (!messages.empty()) {
    const auto& m = messages.front();
    throw RunFault(std::string("message box while ") + during + ": \"" + m.title + "\": " + m.text);
  }
  if (platform_.dialogRequests() != 0) {
    throw RunFault(std::string("a file dialog was asked for while ") + during);
  }
  if (platform_.endRequested())
    throw RunFault(std::string("the program asked to end while ") + during);
}

}  // namespace volpar::exercise
