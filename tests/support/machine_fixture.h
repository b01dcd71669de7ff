#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "app/application.h"
#include "machine/REXEC_Manual.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "support/fake_platform.h"
#include "ui/colors.h"
#include "ui/control_array.h"

namespace volpar::testing {

// The machine as a test drives it: both screens of a fresh application, bytes put
// straight into the memory grid, execution started through the start panel, and clock
// pulses given one at a time as the timer or the Step button would.
class MachineFixture : public ::testing::Test {
 protected:
  using Cells = ui::ControlArray<ui::Shape>;

  FakePlatform platform;
  Application app{platform};
  DERAZO_Input& input = app.derazoInput();
  REXEC& rexec = app.rexec();
  REXEC_Manual& manual = app.manual();

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
  void putValue(int address, int value) { putByte(address, toBits(value, 8)); }
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
  static std::string toBits(int value, int width) {
    std::string out(static_cast<std::size_t>(width), '0');
    for (int i = width - 1; i >= 0; --i, value /= 2) {
      if (value % 2) out[static_cast<std::size_t>(i)] = '1';
    }
    return out;
  }

  // Manual mode as the options panel selects it (its handler runs); automatic is preset.
  void setManual() { rexec.manual_radio.setValue(true); }
  void setStopForOutput(bool ticked) { rexec.Stop_For_Output.setValue(ticked ? 1 : 0); }

  // Execute Program, the start address typed into the panel, OK.
  void startAt(int address) {
    const std::string text = std::to_string(address);
    input.Command_Execute_Program.click();
    input.exec_text.type(text, static_cast<int>(text.size()));
    input.Command_OK_For_Start_Location.click();
    app.collectRetired();
    ASSERT_EQ(rexec.Register_PC_Decimal.Caption(), text);
  }

  // Puts a value into S, cells and caption, as a finished LOAD would.
  void setS(int value) {
    rexec.Register_S_Decimal.setCaption(std::to_string(value));
    for (int j = 8; j >= 1; --j, value /= 2) {
      rexec.Shapet(j).setFillColor(value % 2 ? ui::kRed : ui::kWhite);
    }
  }

  // One clock pulse, then the end of the event.
  void pulse() {
    manual.Run_Clock_Phase();
    app.collectRetired();
  }
  void pulses(int n) {
    for (int i = 0; i < n; ++i) pulse();
  }
  // A whole instruction from T1 through T0.
  void runInstruction() {
    for (int guard = 0; guard < 8 && manual.Clock_Phase != 0; ++guard) pulse();
    ASSERT_EQ(manual.Clock_Phase, 0) << "the instruction did not reach T7";
    pulse();
  }

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
  std::string irBits() const { return bits(rexec.SHAPE_IR, ui::kRed); }
  std::string sBits() const { return bits(rexec.Shapet, ui::kRed); }
  // The memory word: cells 1..8 (cell 0 holds no bit).
  std::string memoryWordBits() const { return bits(rexec.Register_Memory, ui::kRed).substr(1); }
  // The clock column, '1' for a cyan cell: "10000000" after T0.
  std::string clockCells() const { return bits(rexec.Shape_Clock, ui::kCyan); }
  std::string pc() const { return rexec.Register_PC_Decimal.Caption(); }
  std::string ar() const { return rexec.Register_Address_Decimal.Caption(); }
  std::string s() const { return rexec.Register_S_Decimal.Caption(); }
  bool negativeFlag() const { return rexec.SHAPET4(7).FillColor() == ui::kRed; }

  // All a student sees of the run, phase cells aside, in one line.
  std::string view() const {
    return "clock " + clockCells() + " | PC " + pc() + " " + pcBits() + " | AR " + ar() + " " +
           bits(rexec.Shapear, ui::kYellow) + " | IR " + irBits() + " " +
           rexec.IR_Address_Decimal.Caption() + " | M " + memoryWordBits() + " | S " + s() + " " +
           sBits() + (negativeFlag() ? " neg" : "") + " | lamps " + litLamps() + " | " +
           runControls();
  }

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

  // The enabled run controls in a fixed order, e.g. "step view return".
  std::string runControls() const {
    const std::pair<const ui::Element*, const char*> controls[] = {
        {&rexec.Command_Begin_Step, "step"},  {&rexec.Command_Pause, "pause"},
        {&rexec.Command_Resume, "resume"},    {&rexec.Command_One_instruction, "one"},
        {&rexec.Command_View_Memory, "view"}, {&rexec.Command_Return_to_Input, "return"},
        {&rexec.Timer1, "timer"}};
    std::string out;
    for (const auto& [control, name] : controls) {
      if (control->enabled()) out += (out.empty() ? "" : " ") + std::string(name);
    }
    return out;
  }
};

}  // namespace volpar::testing
