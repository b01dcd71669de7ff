// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/data_table.h"
#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

// A program that meets every hand-over of the run controls:
//   0 LOAD 20, 1 OUTPUT, 2 INPUT, 3 STORE 21, 4 ADD 20, 5 OUTPUT, 6 BRANCH 0; 20 holds 42.
class RunControl : public ScreensFixture {
 protected:
  RunControl() {
    pokeFrom(0, {"001 10100", "100 00000", "011 00000", "010 10101", "000 10100", "100 00000",
                 "101 00000"});
    poke(20, "00101010");
  }

  // A button or box of the execution screen by the name it is shown under.
  template <class Element>
  Element& named(const std::string& name) {
    for (ui::Element* e : rexec().elements()) {
      auto* found = dynamic_cast<Element*>(e);
      if (found && e->displayName() == name) return *found;
    }
    throw std::invalid_argument("no " + name);
  }
  void perform(const std::string& actions) {
    using Args = const std::string&;
    const std::map<std::string, std::function<void(Args, Args)>> verbs{
        {"start", [&](Args at, Args) { startAt(std::stoi(at)); }},
        {"step", [&](Args n, Args) { step(n.empty() ? 1 : std::stoi(n)); }},
        {"tick", [&](Args, Args) { tick(); }},
        {"stop", [&](Args, Args) { tickUntilStopped(); }},
        {"manual", [&](Args, Args) { chooseManual(); }},
        {"click", [&](Args name, Args) { click(named<ui::CommandButton>(name)); }},
        {"type", [&](Args name, Args text) { type(named<ui::TextBox>(name), text); }}};
    std::istringstream all(actions);
    for (std::string action; std::getline(all, action, '+');) {
      std::string verb, name, text;
      std::istringstream(action) >> verb >> name >> text;
      verbs.at(verb)(name, text);
    }
  }
  // Plays tests/data/run_control/NAME.txt, its format in the README there.
  void play(const std::string& name) {
    for (const Row& row : readTable("run_control/" + name + ".txt")) {
      SCOPED_TRACE(row[0]);
      perform(row[1]);
      EXPECT_EQ(runControls(), row[2]);
      EXPECT_EQ(view().phase(), std::stoi(row[3]));
      EXPECT_TRUE(guardsClear());
    }
  }
};

// The automatic clock through every state of the run, then the manual clock, one phase per
// Step: the scripts in tests/data/run_control.
TEST_F(RunControl, AutomaticThenManualClockThroughEveryStateOfTheRun) {
  play("automatic");
  EXPECT_FALSE(rexec().Command_Input_Window_OK.enabled() || rexec().Input_Window.enabled());
  EXPECT_EQ(rexec().Command_Input_Window_OK.Caption(), "&Resume");
  EXPECT_EQ(registers(), "PC 3 AR 0 IR 96 X 0 Y 0 S 15 OUT 42");

  play("to-manual");
  EXPECT_EQ(rexec().Command_Begin_Step.Caption(), "&Step");
  EXPECT_TRUE(rexec().Command_Begin_Step.Default());
  play("manual");
  EXPECT_EQ(rexec().Command_Input_Window_OK.Caption(), "&Step");
  EXPECT_TRUE(rexec().Command_Input_Window_OK.Default());
  play("manual-input");
  EXPECT_EQ(registers(), "PC 3 AR 0 IR 96 X 15 Y 42 S 31 OUT 42");

  // Execute 1 in the manual ready state runs T1 to T7 and the T0 that stops: exactly one
  // instruction; its pause request is left for a later automatic run.
  step();
  click(rexec().Command_Return_to_Input);
  click(input().Command_OK_For_Start_Location);  // ready again: Execute 1 enabled
  ASSERT_EQ(runControls(), "step one view return");
  click(rexec().Command_One_instruction);
  EXPECT_EQ(tickUntilStopped(), 8);
  EXPECT_EQ(registers(), "PC 1 AR 20 IR 52 X 0 Y 0 S 42 OUT 0");
  EXPECT_EQ(runControls(), "step view return");
  EXPECT_TRUE(manual().Pause_At_T0);

  openOptions();
  click(rexec().automatic_radio);
  click(rexec().Stop_For_Output);  // cleared: the OUTPUT at 1 does not stop the clock
  click(rexec().Command_Options_Close);
  step();
  EXPECT_EQ(tickUntilStopped(), 8);  // one instruction, then the pending pause stops it
  EXPECT_EQ(runControls(), "resume one view return");
  EXPECT_FALSE(manual().Pause_At_T0);
}

// The three arrangements: the mode is offered only at T0 or in manual mode; switching
// modes sets the buttons but never starts the clock; the speed changes at any time.
TEST_F(RunControl, OptionsPanelAndModeSwitches) {
  // Shown: mode buttons, Slow/Fast labels, scroll bar; scroll bar enabled; "pause first";
  // then the rate in Hertz.
  const auto panel = [&] {
    REXEC& r = rexec();
    EXPECT_TRUE(r.Stop_For_Output.shownOnScreen() && r.Stop_For_Output.enabled());
    EXPECT_EQ(r.focused(), &r.Command_Options_Close);
    std::string seen;
    for (bool on : {r.manual_radio.visible(), r.Label_Slow.visible(), r.time_scroll.visible(),
                    r.time_scroll.enabled(), r.Label_Show_clock_Stuff.visible()}) {
      seen += on ? '1' : '0';
    }
    return seen + " " + r.Time_Hertz.Caption() + " Hz";
  };
  poke(2, "100 00000");  // OUTPUT instead of INPUT, so that Step reaches the next T0
  startAt(0);
  openOptions();
  EXPECT_EQ(panel(), "11110 1 Hz") << "automatic, at T0";
  click(rexec().Command_Options_Close);
  EXPECT_FALSE(rexec().OPTIONS_FRAME.visible());

  step();
  tick();
  openOptions();
  EXPECT_EQ(panel(), "00111 1 Hz") << "automatic, under way at T1";
  click(rexec().Command_Options_Close);

  // Manual chosen while the clock runs past T0: the timer is left running, and the next T0,
  // in manual mode, stops it.
  for (int i = 0; i < 7; ++i) tick();  // LOAD's T2 to T7, then a T0 that does not stop
  ASSERT_TRUE(view().atInstructionBoundary() && rexec().Timer1.enabled());
  chooseManual();
  EXPECT_TRUE(rexec().Timer1.enabled());
  EXPECT_EQ(tickUntilStopped(), 8);  // OUTPUT's T1 to T7 and T0
  EXPECT_EQ(runControls(), "step view return");
  EXPECT_FALSE(rexec().Stop_For_Output.enabled());
  step();
  openOptions();
  EXPECT_EQ(panel(), "11100 1 Hz") << "manual, under way at T1";
  click(rexec().Command_Options_Close);

  // Back to automatic at T0: the buttons of the ready state, the clock not started.
  step(7);
  openOptions();
  click(rexec().automatic_radio);
  EXPECT_EQ(rexec().Command_Begin_Step.Caption(), "&Begin");
  EXPECT_TRUE(rexec().time_scroll.enabled() && rexec().Stop_For_Output.enabled());
  EXPECT_EQ(runControls(), "step one view return");
  EXPECT_EQ(focusedName(rexec()), "Command_Options_Close");

  // The speed sets the interval to 1000 divided by the rate, truncated; a running timer
  // keeps running at each new speed.
  step();
  for (auto [rate, interval] :
       {std::pair{3, 333}, {7, 142}, {500, 2}, {501, 1}, {777, 1}, {1000, 1}, {1, 1000}}) {
    drag(rexec().time_scroll, rate);
    EXPECT_EQ(rexec().Timer1.Interval(), interval) << rate;
    EXPECT_EQ(rexec().Time_Hertz.Caption(), std::to_string(rate));
    EXPECT_TRUE(rexec().Timer1.enabled());
  }
}

}  // namespace
}  // namespace volpar::testing
