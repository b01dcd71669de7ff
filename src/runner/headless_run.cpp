#include "runner/headless_run.h"

#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/application.h"
#include "machine/REXEC_Manual.h"
#include "machine/machine_view.h"
#include "runner/headless_platform.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"
#include "ui/quoted.h"

namespace volpar::runner {
namespace {

using OpCode = MachineView::OpCode;

constexpr int kEnterKey = 13;

enum class EndReason { Halt, Input, Limit };

const char* reasonText(EndReason reason) {
  switch (reason) {
    case EndReason::Halt: return "halt";
    case EndReason::Input: return "input";
    case EndReason::Limit: return "limit";
  }
  return "limit";
}

// The machine or its screens did not behave as a user would see them behave.
class RunFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Messages go to standard error as one line each.
std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

class HeadlessRun {
 public:
  HeadlessRun(const RunOptions& options, std::ostream& out, std::ostream& err)
      : options_(options), out_(out), err_(err), app_(platform_) {}

  int execute() {
    openProgram();
    if (auto problem = app_.manual().Load_Program_File(options_.programFile)) {
      err_ << "volpar-run: " << oneLine(*problem) << '\n';
      return kExitUsage;
    }
    settle("loading " + ui::quoted(options_.programFile));
    startExecution();
    chooseManualClock();
    const EndReason reason = run();
    if (options_.dump) dump();
    out_ << "END " << reasonText(reason) << '\n';
    out_.flush();
    if (options_.savePath && !save(*options_.savePath)) return kExitUsage;
    return reason == EndReason::Limit ? kExitLimit : kExitFinished;
  }

 private:
  // Program start, and the key that takes the student from the welcome screen on.
  void openProgram() {
    app_.start();
    settle("starting the program");
    Initial_Screen& welcome = app_.initialScreen();
    if (welcome.onKeyPress) welcome.onKeyPress(kEnterKey);
    settle("leaving the welcome screen");
    rexec_ = &app_.rexec();
    input_ = &app_.derazoInput();
    view_.emplace(*rexec_, *input_, app_.manual());
  }

  // Execute Program, the start address typed into the panel, OK.
  void startExecution() {
    DERAZO_Input& input = *input_;
    input.Command_Execute_Program.click();
    settle("opening the start-location panel");
    const std::string address = std::to_string(options_.start);
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
  void chooseManualClock() {
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

  EndReason run() {
    if (options_.maxInstructions == 0) return EndReason::Limit;
    std::uint64_t completed = 0;
    int fetchedFrom = -1;
    for (;;) {
      const int phase = view_->phase();
      if (phase == 2) fetchedFrom = view_->pc();
      step(phase);
      // T2 lights the decoder cell, which stays until the next fetch: read it once.
      if (phase == 2) decoded_ = view_->decoded();
      if (phase == 5 && decoded(OpCode::Output)) out_ << "OUTPUT " << view_->output() << '\n';
      if (phase == 6 && decoded(OpCode::Input)) {
        if (nextInput_ == options_.inputs.size()) return EndReason::Input;
        answerInput(options_.inputs[nextInput_++]);
      }
      if (phase == 7) {
        if (decoded(OpCode::Input)) checkInputArrived();
        ++completed;
        // A branch to its own address: the address field is the IR's low five bits.
        if (decoded(OpCode::Branch) && (view_->ir() & 31) == fetchedFrom) return EndReason::Halt;
        if (completed == options_.maxInstructions) return EndReason::Limit;
      }
    }
  }

  // One press of Begin/Step: one clock phase. Runs take millions of them: the texts of
  // a fault are built only when there is one.
  void step(int phase) {
    static constexpr std::array<std::string_view, 8> kPerforming = {
        "performing T0", "performing T1", "performing T2", "performing T3",
        "performing T4", "performing T5", "performing T6", "performing T7"};
    REXEC& rexec = *rexec_;
    const std::string_view during = kPerforming[static_cast<std::size_t>(phase & 7)];
    const std::string_view name = during.substr(during.size() - 2);
    if (!rexec.Command_Begin_Step.usable()) {
      throw RunFault("Begin/Step cannot be pressed before " + std::string(name));
    }
    rexec.Command_Begin_Step.click();
    settle(during);
    const bool waitsForInput = phase == 6 && decoded(OpCode::Input);
    const int expected = waitsForInput ? 6 : (phase + 1) % 8;
    if (view_->phase() != expected) {
      throw RunFault("the clock did not move on after " + std::string(name) + " (phase " +
                     std::to_string(view_->phase()) + ", expected " + std::to_string(expected) +
                     ")");
    }
    if (options_.trace) {
      out_ << name << " PC " << view_->pc() << " AR " << view_->ar() << " S " << view_->s() << '\n';
    }
  }

  // The value typed into the decimal box, then the window's button.
  void answerInput(int number) {
    REXEC& rexec = *rexec_;
    if (!rexec.Text_Input_Decimal.usable() || !rexec.Command_Input_Window_OK.usable()) {
      throw RunFault("an INPUT waits but its input window cannot be used");
    }
    const std::string text = std::to_string(number);
    rexec.Text_Input_Decimal.type(text, static_cast<int>(text.size()));
    settle("typing the input value " + text);
    rexec.Command_Input_Window_OK.click();
    settle("confirming the input value " + text);
    if (view_->phase() != 7) throw RunFault("the input window did not accept the value " + text);
    answered_ = number;
  }

  void checkInputArrived() {
    const int s = view_->s();
    if (s != answered_) {
      throw RunFault("INPUT put " + std::to_string(s) + " into S instead of " +
                     std::to_string(answered_));
    }
  }

  void dump() {
    const MachineView& m = *view_;
    out_ << "PC " << m.pc() << "\nAR " << m.ar() << "\nIR " << m.ir() << "\nX " << m.x() << "\nY "
         << m.y() << "\nS " << m.s() << "\nOUT " << m.output() << '\n';
    for (std::int16_t address = 0; address < 32; ++address) {
      out_ << "MEM " << address << ' ' << manual().Memory_Byte_To_Text(address) << '\n';
    }
  }

  bool save(const std::string& path) {
    if (auto problem = manual().Save_Program_File(path)) {
      err_ << "volpar-run: " << oneLine(*problem) << '\n';
      return false;
    }
    settle("saving " + ui::quoted(path));
    return true;
  }

  // Between events, as the windows' event loop does; nothing may have asked the user
  // anything or ended the program.
  void settle(std::string_view during) {
    app_.collectRetired();
    const auto& messages = platform_.messages();
    if (!messages.empty()) {
      const auto& m = messages.front();
      throw RunFault("message box while " + std::string(during) + ": \"" + m.title +
                     "\": " + m.text);
    }
    if (platform_.dialogRequests() != 0) {
      throw RunFault("a file dialog was asked for while " + std::string(during));
    }
    if (platform_.endRequested())
      throw RunFault("the program asked to end while " + std::string(during));
  }

  bool decoded(OpCode op) const { return decoded_ == op; }
  REXEC_Manual& manual() { return app_.manual(); }

  const RunOptions& options_;
  std::ostream& out_;
  std::ostream& err_;
  HeadlessPlatform platform_;
  Application app_;
  REXEC* rexec_ = nullptr;
  DERAZO_Input* input_ = nullptr;
  std::optional<MachineView> view_;  // once the screens exist
  std::optional<OpCode> decoded_;    // the op code the last fetch decoded
  std::size_t nextInput_ = 0;
  int answered_ = 0;
};

}  // namespace

int runProgram(const RunOptions& options, std::ostream& out, std::ostream& err) {
  try {
    HeadlessRun run(options, out, err);
    return run.execute();
  } catch (const RunFault& fault) {
    out.flush();
    err << "volpar-run: " << oneLine(fault.what()) << '\n';
  } catch (const std::exception& e) {
    out.flush();
    err << "volpar-run: internal error: " << oneLine(e.what()) << '\n';
  }
  return kExitFault;
}

}  // namespace volpar::runner
