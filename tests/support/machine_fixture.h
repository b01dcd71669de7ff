#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/application.h"
#include "machine/REXEC_Manual.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "support/fake_platform.h"
#include "ui/colors.h"
#include "ui/control_array.h"

namespace volpar::testing {

// The machine as a test drives it: both screens of a fresh application, bytes put
// straight into the memory grid, execution started as the start panel's OK starts it,
// and clock pulses given one at a time as the timer or the Step button would.
class MachineFixture : public ::testing::Test {
 protected:
  using Cells = ui::ControlArray<ui::Shape>;

  FakePlatform platform;
  Application app{platform};
  DERAZO_Input& input = app.derazoInput();
  REXEC& rexec = app.rexec();
  REXEC_Manual& manual = app.manual();

  // --- Memory ---------------------------------------------------------------------

  // Bits most significant first: '1' yellow, '0' white, 'x' black (a bit a program file
  // marks "x"). Blanks are skipped, so "001 00101" is fine.
  void putByte(int address, std::string_view bits) {
    int j = 1;
    for (char c : bits) {
      if (c == ' ') continue;
      const ui::Color color = c == '1' ? ui::kYellow : c == 'x' ? ui::kBlack : ui::kWhite;
      input.Shape1(8 * address + j++).setFillColor(color);
    }
    ASSERT_EQ(j, 9) << "a byte has eight bits: " << bits;
  }
  void putValue(int address, int value) {
    for (int j = 8; j >= 1; --j, value /= 2) {
      input.Shape1(8 * address + j).setFillColor(value % 2 ? ui::kYellow : ui::kWhite);
    }
  }
  void putInstruction(int address, int opCode, int operand) {
    putValue(address, opCode * 32 + operand);
  }
  // Memory byte as '1' yellow, '0' white, 'x' black, '?' any other colour.
  std::string memoryBits(int address) const {
    std::string out;
    for (int j = 1; j <= 8; ++j) {
      const ui::Color c = input.Shape1(8 * address + j).FillColor();
      out += c == ui::kYellow ? '1' : c == ui::kWhite ? '0' : c == ui::kBlack ? 'x' : '?';
    }
    return out;
  }

  // --- Run set-up -----------------------------------------------------------------

  // Selecting a clock mode as the user does in the options panel (its handler runs).
  void setManual() { rexec.manual_radio.setValue(true); }
  void setAutomatic() { rexec.automatic_radio.setValue(true); }
  void setStopForOutput(bool ticked) { rexec.Stop_For_Output.setValue(ticked ? 1 : 0); }

  // What the start panel's OK does: PC from the start address text, the other captions
  // "0", clock cell 0 lit, the ready buttons, and the next pulse a T1.
  void startAt(const std::string& addressText) {
    rexec.Show();
    manual.At_Phase_Zero = true;
    manual.Clock_Phase = 1;
    rexec.Command_View_Memory.setEnabled(true);
    rexec.Command_Return_to_Input.setEnabled(true);
    rexec.Command_Begin_Step.setVisible(true);
    rexec.Command_Begin_Step.setEnabled(true);
    rexec.Command_Pause.setVisible(true);
    rexec.Command_Pause.setEnabled(false);
    rexec.Command_Resume.setVisible(true);
    rexec.Command_Resume.setEnabled(false);
    rexec.Command_One_instruction.setVisible(true);
    rexec.Command_One_instruction.setEnabled(true);
    rexec.Shape_Clock(0).setFillColor(ui::kCyan);
    rexec.Register_PC_Decimal.setCaption(addressText);
    for (ui::Label* l : {&rexec.Register_X_Decimal, &rexec.Register_Y_Decimal,
                         &rexec.Register_S_Decimal, &rexec.Register_Address_Decimal,
                         &rexec.Register_Output_Decimal, &rexec.IR_Address_Decimal}) {
      l->setCaption("0");
    }
    int s = std::stoi(addressText);
    for (int i = 8; i >= 4; --i, s /= 2) {
      rexec.ShapePC(i).setFillColor(s % 2 ? ui::kYellow : ui::kWhite);
    }
  }
  void startAt(int address) { startAt(std::to_string(address)); }

  // What Begin does in automatic mode: the clock runs, one phase per tick.
  void runAutomatically() {
    rexec.Command_View_Memory.setEnabled(false);
    rexec.Command_Return_to_Input.setEnabled(false);
    rexec.Command_Begin_Step.setEnabled(false);
    rexec.Command_Pause.setEnabled(true);
    rexec.Timer1.setEnabled(true);
  }

  // Puts a value into S, cells and caption, as a finished LOAD would.
  void setS(int value) {
    rexec.Register_S_Decimal.setCaption(std::to_string(value));
    for (int j = 8; j >= 1; --j, value /= 2) {
      rexec.Shapet(j).setFillColor(value % 2 ? ui::kRed : ui::kWhite);
    }
  }

  // --- Clock ----------------------------------------------------------------------

  // One clock pulse, then the end of the event.
  void pulse() {
    manual.Run_Clock_Phase();
    app.collectRetired();
  }
  void pulses(int n) {
    for (int i = 0; i < n; ++i) pulse();
  }
  // Pulses from wherever the clock stands through the next T7 (the instruction ends).
  void finishInstruction() {
    for (int guard = 0; guard < 8; ++guard) {
      pulse();
      if (manual.Clock_Phase == 0) return;
    }
    FAIL() << "the instruction did not reach T7";
  }
  // A whole instruction from T1: the run stands at T0 again afterwards.
  void runInstruction() {
    finishInstruction();
    pulse();
  }

  // --- What the student sees ------------------------------------------------------

  // Cells first..last as '1' (exactly `one`), '0' (white) or '?' (anything else).
  static std::string bits(const Cells& cells, ui::Color one) {
    std::string out;
    for (int i = cells.LBound(); i <= cells.UBound(); ++i) {
      const ui::Color c = cells(i).FillColor();
      out += c == one ? '1' : c == ui::kWhite ? '0' : '?';
    }
    return out;
  }
  std::string pcBits() const { return bits(rexec.ShapePC, ui::kYellow); }
  std::string arBits() const { return bits(rexec.Shapear, ui::kYellow); }
  std::string irBits() const { return bits(rexec.SHAPE_IR, ui::kRed); }
  std::string sBits() const { return bits(rexec.Shapet, ui::kRed); }
  std::string xBits() const { return bits(rexec.Shape_x, ui::kRed); }
  std::string yBits() const { return bits(rexec.shapey, ui::kRed); }
  std::string outputBits() const { return bits(rexec.Shapeo, ui::kRed); }
  // The memory word: cells 1..8 (cell 0 holds no bit).
  std::string memoryWordBits() const {
    return bits(rexec.Register_Memory, ui::kRed).substr(1);
  }

  std::string pc() const { return rexec.Register_PC_Decimal.Caption(); }
  std::string ar() const { return rexec.Register_Address_Decimal.Caption(); }
  std::string irAddress() const { return rexec.IR_Address_Decimal.Caption(); }
  std::string s() const { return rexec.Register_S_Decimal.Caption(); }
  std::string x() const { return rexec.Register_X_Decimal.Caption(); }
  std::string y() const { return rexec.Register_Y_Decimal.Caption(); }
  std::string output() const { return rexec.Register_Output_Decimal.Caption(); }
  bool negativeFlag() const { return rexec.SHAPET4(7).FillColor() == ui::kRed; }

  // The clock column as a string of eight, '1' for a cyan cell: "10000000" after T0.
  std::string clockCells() const { return bits(rexec.Shape_Clock, ui::kCyan); }

  // The lit (cyan) transfer lamps, by name, in a fixed order.
  std::string litLamps() const {
    std::string out;
    for (const ui::Shape* lamp : {&rexec.shape_irar, &rexec.shape_irpc, &rexec.Shapemy,
                                  &rexec.shapemt, &rexec.Shapetm, &rexec.Shapeto,
                                  &rexec.Shapetx, &rexec.Shape_Stop, &rexec.Shapexyt,
                                  &rexec.Shapeit}) {
      if (lamp->FillColor() == ui::kCyan) out += (out.empty() ? "" : " ") + lamp->name();
    }
    return out;
  }

  // The green cells of the decoder matrix, e.g. "SHAPEID(2) SHAPET4(1) shapet5(1)".
  std::string greenCells() const {
    std::string out;
    for (const Cells* cells : {&rexec.SHAPEID, &rexec.SHAPET4, &rexec.shapet5,
                               &rexec.shapet6, &rexec.shapet7}) {
      for (const auto& cell : *cells) {
        if (cell->FillColor() == ui::kGreen) out += (out.empty() ? "" : " ") + cell->displayName();
      }
    }
    return out;
  }

  // The run controls as the student sees them, e.g.
  // "step view return timer" = those enabled, in this order.
  std::string runControls() const {
    std::string out;
    const auto add = [&](bool on, const char* name) {
      if (on) out += (out.empty() ? "" : " ") + std::string(name);
    };
    add(rexec.Command_Begin_Step.enabled(), "step");
    add(rexec.Command_Pause.enabled(), "pause");
    add(rexec.Command_Resume.enabled(), "resume");
    add(rexec.Command_One_instruction.enabled(), "one");
    add(rexec.Command_View_Memory.enabled(), "view");
    add(rexec.Command_Return_to_Input.enabled(), "return");
    add(rexec.Timer1.enabled(), "timer");
    return out;
  }
};

}  // namespace volpar::testing
