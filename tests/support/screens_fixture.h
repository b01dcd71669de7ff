// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <bitset>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/application.h"
#include "machine/REXEC_Manual.h"
#include "machine/machine_view.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"
#include "support/data_table.h"
#include "support/fake_platform.h"
#include "support/form_state.h"
#include "ui/colors.h"
#include "ui/control_array.h"
#include "ui/text_value.h"

namespace volpar::testing {

// The whole program as a student and a clock drive it: started as main() starts it, every
// user action, tick and clock pulse one event, with the end of each event (retired screens
// are destroyed) after it. Screens are looked up afresh each time, since Restart replaces
// them.
class ScreensFixture : public ::testing::Test {
 protected:
  using Cells = ui::ControlArray<ui::Shape>;

  FakePlatform platform;
  Application app{platform};

  ScreensFixture() { app.start(); }

  DERAZO_Input& input() { return app.derazoInput(); }
  REXEC& rexec() { return app.rexec(); }
  Initial_Screen& welcome() { return app.initialScreen(); }
  REXEC_Manual& manual() { return app.manual(); }
  MachineView view() { return MachineView(rexec(), input(), manual()); }
  // An element of the execution screen, or else of the input screen, by the name it is shown
  // under.
  template <class Element>
  Element& named(const std::string& name) {
    for (ui::Form* form : std::initializer_list<ui::Form*>{&rexec(), &input()})
      for (ui::Element* e : form->elements())
        if (auto* found = dynamic_cast<Element*>(e); found && e->displayName() == name)
          return *found;
    throw std::invalid_argument("no " + name);
  }

  // --- Events -----------------------------------------------------------------------

  // A click on a button, option button, check box, menu item or label.
  template <class Clickable>
  void click(Clickable& element) {
    element.click();
    app.collectRetired();
  }
  // The same, for an element of any of those kinds.
  void clickElement(ui::Element& e) {
    if (auto* b = dynamic_cast<ui::CommandButton*>(&e)) return click(*b);
    if (auto* o = dynamic_cast<ui::OptionButton*>(&e)) return click(*o);
    if (auto* c = dynamic_cast<ui::CheckBox*>(&e)) return click(*c);
    if (auto* m = dynamic_cast<ui::Menu*>(&e)) return click(*m);
    click(dynamic_cast<ui::Label&>(e));
  }
  // The user's edit leaving `text` in the box, the caret at its end. A box full to its
  // character limit takes no more keys, as in the windows: such an edit never happens.
  void type(ui::TextBox& box, const std::string& text) {
    if (box.MaxLength() > 0 && static_cast<int>(text.size()) > box.MaxLength()) return;
    box.type(text, static_cast<int>(text.size()));
    app.collectRetired();
  }
  void drag(ui::HScrollBar& scroll, int value) {
    scroll.setValue(value);
    app.collectRetired();
  }
  void tick(int times = 1) {
    for (int i = 0; i < times; ++i) {
      rexec().Timer1.tick();
      app.collectRetired();
    }
  }
  // Ticks until the timer stops (at most `limit`); returns how many ticks ran a phase.
  int tickUntilStopped(int limit = 200) {
    int n = 0;
    for (; rexec().Timer1.enabled() && n < limit; ++n) tick();
    return n;
  }
  void step(int times = 1) {
    for (int i = 0; i < times; ++i) click(rexec().Command_Begin_Step);
  }
  // Clock pulses as the engine gets them, whatever the buttons and the timer say.
  void pulse(int times = 1) {
    for (int i = 0; i < times; ++i) {
      manual().Run_Clock_Phase();
      app.collectRetired();
    }
  }

  // --- Composite user actions ------------------------------------------------------

  // Puts a byte straight into the memory grid, for tests whose subject is not the entry
  // of the program: '1' yellow, '0' white, 'x' black (a bit a program file marks "x");
  // blanks are skipped, so "001 00101" is fine.
  void poke(int address, const std::string& bits) {
    int j = 1;
    for (char c : bits) {
      if (c == ' ') continue;
      const ui::Color color = c == '1' ? ui::kYellow : c == 'x' ? ui::kBlack : ui::kWhite;
      input().Shape1(8 * address + j++).setFillColor(color);
    }
    ASSERT_EQ(j, 9) << "a byte has eight bits: " << bits;
  }
  void poke(int address, int value) { poke(address, toBits(value)); }
  // Bytes one after the other from `address` on.
  void pokeFrom(int address, std::initializer_list<const char*> bytes) {
    for (const char* bits : bytes) poke(address++, bits);
  }
  void poke(int address, int opCode, int operand) { poke(address, opCode * 32 + operand); }
  static std::string toBits(int value) {
    return std::bitset<8>(static_cast<unsigned>(value)).to_string();
  }
  // Types a byte into the bit boxes, one box after the other.
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
  void chooseManual() {
    click(rexec().Command_Options);
    click(rexec().manual_radio);
    click(rexec().Command_Options_Close);
  }

  // --- What the student sees --------------------------------------------------------

  // '1' for colour `on`, '0' for white, 'x' for black, '?' for any other colour.
  static char mark(ui::Color c, ui::Color on) {
    return c == on ? '1' : c == ui::kWhite ? '0' : c == ui::kBlack ? 'x' : '?';
  }
  // A row of cells, one mark each.
  static std::string lit(const Cells& cells, ui::Color on) {
    std::string out;
    for (const auto& cell : cells) out += mark(cell->FillColor(), on);
    return out;
  }
  // The registers as the student reads their captions, "PC 7 AR 5 IR 37 X 0 Y 0 S 129 OUT 0";
  // a register whose cells show another value than its caption has them in brackets.
  std::string registers() {
    const MachineView v = view();
    const char* names[] = {"PC", "AR", "IR", "X", "Y", "S", "OUT"};
    std::string out;
    for (int i = 0; i < 7; ++i) {
      const auto r = static_cast<MachineView::Register>(i);
      out += (i ? " " : "") + std::string(names[i]) + " " + std::to_string(v.value(r));
      if (v.cells(r) != v.value(r)) out += " [" + std::to_string(v.cells(r)) + "]";
    }
    return out;
  }
  std::string clockCells() { return lit(rexec().Shape_Clock, ui::kCyan); }  // "10000000" at T0
  bool negativeFlag() { return rexec().SHAPET4(7).FillColor() == ui::kRed; }
  // Memory byte as '1' yellow, '0' white, 'x' black, '?' any other colour.
  std::string memoryBits(int address) {
    return lit(input().Shape1, ui::kYellow).substr(8 * address + 1, 8);
  }
  // The texts of the bit boxes of the input screen and of the input window, "00000000".
  static std::string texts(ui::ControlArray<ui::TextBox>& boxes) {
    std::string out;
    for (const auto& box : boxes) out += box->Text();
    return out;
  }
  std::string entryBits() { return texts(input().Input_Bit); }
  std::string windowBits() { return texts(rexec().Input_bit); }
  // The words of `names` whose flag is set, in order.
  static std::string words(const std::string& names, std::initializer_list<bool> flags) {
    std::istringstream in(names);
    std::string out, name;
    for (bool on : flags)
      if (in >> name && on) out += (out.empty() ? "" : " ") + name;
    return out;
  }
  // Enabled run controls in a fixed order, e.g. "step one view return".
  std::string runControls() {
    REXEC& r = rexec();
    return words(
        "step pause resume one view return timer",
        {r.Command_Begin_Step.enabled(), r.Command_Pause.enabled(), r.Command_Resume.enabled(),
         r.Command_One_instruction.enabled(), r.Command_View_Memory.enabled(),
         r.Command_Return_to_Input.enabled(), r.Timer1.enabled()});
  }
  // The transfers whose lamps are lit (cyan), in a fixed order, e.g. "IR>AR M>S".
  std::string litLamps() {
    REXEC& r = rexec();
    const auto on = [](const ui::Shape& lamp) { return lamp.FillColor() == ui::kCyan; };
    return words("IR>AR IR>PC M>Y M>S S>M S>OUT S>X STOP X+Y>S IN>S",
                 {on(r.shape_irar), on(r.shape_irpc), on(r.Shapemy), on(r.shapemt), on(r.Shapetm),
                  on(r.Shapeto), on(r.Shapetx), on(r.Shape_Stop), on(r.Shapexyt), on(r.Shapeit)});
  }
  // The green cells of the decoder matrix, e.g. "SHAPEID(2) SHAPET4(1) shapet5(1)".
  std::string greenCells() {
    REXEC& r = rexec();
    std::string out;
    for (const Cells* cells : {&r.SHAPEID, &r.SHAPET4, &r.shapet5, &r.shapet6, &r.shapet7})
      for (const auto& cell : *cells)
        if (cell->FillColor() == ui::kGreen) out += (out.empty() ? "" : " ") + cell->displayName();
    return out;
  }
  std::string focusedName(ui::Form& form) {
    return form.focused() ? form.focused()->displayName() : "";
  }
  static std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Every element of both screens as formState lists it, one line each.
  std::string screens() {
    std::string out;
    for (ui::Form* form : std::initializer_list<ui::Form*>{&input(), &rexec()})
      for (const std::string& line : formState(*form)) out += line + "\n";
    return out;
  }
  bool guardsClear() { return !manual().Text_Driving_Bits && !manual().Bits_Driving_Text; }

  // --- Transcripts -------------------------------------------------------------------

  // Does `actions`, parted by " + " (the verbs in tests/data/run_control/README.md); returns
  // what they report beyond the screens: the ticks a `stop` ran, the screens a `screens` dumps.
  std::string perform(const std::string& actions) {
    using Args = const std::string&;
    std::string note;
    const std::map<std::string, std::function<void(Args, Args)>> verbs{
        {"start", [&](Args at, Args) { startAt(std::stoi(at)); }},
        {"step", [&](Args n, Args) { step(n.empty() ? 1 : std::stoi(n)); }},
        {"tick", [&](Args n, Args) { tick(n.empty() ? 1 : std::stoi(n)); }},
        {"stop", [&](Args, Args) { note += "ran " + std::to_string(tickUntilStopped()) + "\n"; }},
        {"manual", [&](Args, Args) { chooseManual(); }},
        {"options", [&](Args, Args) { click(rexec().Command_Options); }},
        {"automatic", [&](Args, Args) { click(rexec().automatic_radio); }},
        {"poke", [&](Args at, Args bits) { poke(std::stoi(at), bits); }},
        {"drag", [&](Args rate, Args) { drag(rexec().time_scroll, std::stoi(rate)); }},
        {"click", [&](Args name, Args) { clickElement(named<ui::Element>(name)); }},
        {"type", [&](Args name, Args text) { type(named<ui::TextBox>(name), text); }},
        {"focus", [&](Args name, Args) { named<ui::TextBox>(name).SetFocus(); }},
        {"bits", [&](Args bits, Args) { typeBits(bits); }},
        {"send", [&](Args at, Args) { sendTo(std::stoi(at)); }},
        {"enter", [&](Args, Args) { click(*input().enterButton(input().focused())); }},
        {"screens", [&](Args, Args) { note += screens(); }},
        {"welcome", [&](Args, Args) { welcome().Show(); }},
        {"key", [&](Args, Args) { welcome().onKeyPress(' '); }},
        {"background", [&](Args, Args) { welcome().onClick(); }},
        {"notice", [&](Args, Args) { click(welcome().Address); }}};
    std::istringstream all(actions);
    for (std::string action; std::getline(all, action, '+');) {
      std::string verb, a, b;
      std::istringstream(action) >> verb >> a >> b;
      verbs.at(verb)(a, b);
      app.collectRetired();
    }
    return note;
  }
  // What a transcript reads after each step: both screens, the welcome screen, the messages
  // shown, and the engine's phase, pause request and entry guards.
  std::string reading() {
    std::string out = screens();
    Initial_Screen* w = app.existingInitialScreen();
    for (const std::string& line : w ? formState(*w) : std::vector<std::string>{"no welcome"})
      out += line + "\n";
    for (const FakePlatform::Message& m : platform.messages) out += m.title + ": " + m.text + "\n";
    const REXEC_Manual& m = manual();
    return out + "phase " + std::to_string(view().phase()) + " pause " +
           std::to_string(m.Pause_At_T0) + " guards " + std::to_string(!guardsClear()) + "\n";
  }
  // The lines of `now` that differ from those of `was`, line by line.
  static std::string changes(const std::string& was, const std::string& now) {
    std::istringstream a(was), b(now);
    std::string out;
    for (std::string x, y; std::getline(b, y);)
      if (!std::getline(a, x) || x != y) out += y + "\n";
    return out;
  }
  // Plays the transcript tests/data/NAME: each "-- what ; actions" line is done, and the lines
  // under it are what it changed (what reading() shows differently), and what a message box
  // showed while it was open, then what perform() reported. VOLPAR_UPDATE_GOLDEN=1 writes
  // the readings anew.
  void play(const std::string& name) {
    std::ifstream in(std::string(VOLPAR_TEST_DATA) + "/" + name);
    ASSERT_TRUE(in) << name;
    std::string seen, before = reading();
    platform.whileMessageOpen = [&](const FakePlatform::Message&) {
      seen += "while the message is open:\n" + changes(before, reading());
    };
    for (std::string line; std::getline(in, line);) {
      if (line.starts_with("#")) seen += line + "\n";
      if (!line.starts_with("-- ")) continue;
      seen += line + "\n";
      const std::string note = perform(line.substr(line.find(" ; ") + 3));
      const std::string now = reading();
      seen += changes(before, now) + note;
      before = now;
    }
    platform.whileMessageOpen = nullptr;
    expectGolden(name, seen);
  }
};

}  // namespace volpar::testing
