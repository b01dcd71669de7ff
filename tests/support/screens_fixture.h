#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "machine/REXEC_Manual.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"
#include "support/fake_platform.h"
#include "ui/colors.h"
#include "ui/text_value.h"

namespace volpar::testing {

// The whole program as a student and a clock drive it: started as main() starts it, every
// user action and every tick one event, with the end of each event (retired screens are
// destroyed) after it. Screens are looked up afresh each time, since Restart replaces them.
class ScreensFixture : public ::testing::Test {
 protected:
  FakePlatform platform;
  Application app{platform};

  ScreensFixture() { app.start(); }

  DERAZO_Input& input() { return app.derazoInput(); }
  REXEC& rexec() { return app.rexec(); }
  Initial_Screen& welcome() { return app.initialScreen(); }
  REXEC_Manual& manual() { return app.manual(); }

  // --- Events -----------------------------------------------------------------------

  void click(ui::CommandButton& button) {
    button.click();
    app.collectRetired();
  }
  void click(ui::OptionButton& option) {
    option.click();
    app.collectRetired();
  }
  void click(ui::CheckBox& box) {
    box.click();
    app.collectRetired();
  }
  void click(ui::Menu& item) {
    item.click();
    app.collectRetired();
  }
  // The user's edit leaving `text` in the box, the caret at its end.
  void type(ui::TextBox& box, const std::string& text) {
    box.type(text, static_cast<int>(text.size()));
    app.collectRetired();
  }
  void drag(ui::HScrollBar& scroll, int value) {
    scroll.setValue(value);
    app.collectRetired();
  }
  void tick() {
    rexec().Timer1.tick();
    app.collectRetired();
  }
  // Ticks until the timer stops (at most `limit`); returns how many ticks ran a phase.
  int tickUntilStopped(int limit = 200) {
    int n = 0;
    while (rexec().Timer1.enabled() && n < limit) {
      tick();
      ++n;
    }
    return n;
  }
  void tickUntilPhase(int phase, int limit = 64) {
    for (int n = 0; n < limit && manual().Clock_Phase != phase; ++n) tick();
    ASSERT_EQ(manual().Clock_Phase, phase);
  }
  void step() { click(rexec().Command_Begin_Step); }

  // --- Composite user actions ------------------------------------------------------

  // Puts a byte straight into the memory grid ("001 10100"; blanks skipped), for tests
  // whose subject is not the entry of the program.
  void poke(int address, const std::string& bits) {
    int j = 1;
    for (char c : bits) {
      if (c == ' ') continue;
      input().Shape1(8 * address + j++).setFillColor(c == '1' ? ui::kYellow : ui::kWhite);
    }
  }

  // Types a byte into the bit boxes, one box after the other, each over its selection.
  void typeBits(const std::string& bits) {
    for (int i = 1; i <= 8; ++i) type(input().Input_Bit(i), bits.substr(i - 1, 1));
  }
  void sendTo(int location) {
    type(input().memory_text, std::to_string(location));
    click(input().Command_Send_to_Memory);
  }
  // Execute Program, the start address typed, OK.
  void startAt(int address) {
    click(input().Command_Execute_Program);
    type(input().exec_text, std::to_string(address));
    click(input().Command_OK_For_Start_Location);
  }
  void openOptions() { click(rexec().Command_Options); }
  void chooseManual() {
    openOptions();
    click(rexec().manual_radio);
    click(rexec().Command_Options_Close);
  }
  void chooseAutomatic() {
    openOptions();
    click(rexec().automatic_radio);
    click(rexec().Command_Options_Close);
  }

  // --- What the student sees --------------------------------------------------------

  // Memory byte as '1' yellow, '0' white, 'x' black, '?' any other colour.
  std::string memoryBits(int address) {
    std::string out;
    for (int j = 1; j <= 8; ++j) {
      const ui::Color c = input().Shape1(8 * address + j).FillColor();
      out += c == ui::kYellow ? '1' : c == ui::kWhite ? '0' : c == ui::kBlack ? 'x' : '?';
    }
    return out;
  }
  // The texts of the eight bit boxes of the input screen, "00000000".
  std::string entryBits() {
    std::string out;
    for (int i = 1; i <= 8; ++i) out += input().Input_Bit(i).Text();
    return out;
  }
  std::string windowBits() {
    std::string out;
    for (int i = 1; i <= 8; ++i) out += rexec().Input_bit(i).Text();
    return out;
  }
  std::string pcBits() {
    std::string out;
    for (int i = 4; i <= 8; ++i) out += rexec().ShapePC(i).FillColor() == ui::kYellow ? '1' : '0';
    return out;
  }
  std::string sBits() {
    std::string out;
    for (int i = 1; i <= 8; ++i) out += rexec().Shapet(i).FillColor() == ui::kRed ? '1' : '0';
    return out;
  }
  std::string outputBits() {
    std::string out;
    for (int i = 1; i <= 8; ++i) out += rexec().Shapeo(i).FillColor() == ui::kRed ? '1' : '0';
    return out;
  }
  // Enabled run controls in a fixed order, e.g. "step one view return".
  std::string runControls() {
    REXEC& r = rexec();
    std::string out;
    const auto add = [&](bool on, const char* name) {
      if (on) out += (out.empty() ? "" : " ") + std::string(name);
    };
    add(r.Command_Begin_Step.enabled(), "step");
    add(r.Command_Pause.enabled(), "pause");
    add(r.Command_Resume.enabled(), "resume");
    add(r.Command_One_instruction.enabled(), "one");
    add(r.Command_View_Memory.enabled(), "view");
    add(r.Command_Return_to_Input.enabled(), "return");
    add(r.Timer1.enabled(), "timer");
    return out;
  }
  // The cyan clock cells as eight characters, "10000000" after T0.
  std::string clockCells() {
    std::string out;
    for (int k = 0; k <= 7; ++k) out += rexec().Shape_Clock(k).FillColor() == ui::kCyan ? '1' : '0';
    return out;
  }
  std::string focusedName(ui::Form& form) {
    return form.focused() ? form.focused()->displayName() : "";
  }
  bool guardsClear() { return !manual().Text_Driving_Bits && !manual().Bits_Driving_Text; }
};

}  // namespace volpar::testing
