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

  void perform(const std::string& actions) {
    using Args = const std::string&;
    const std::map<std::string, std::function<void(Args, Args)>> verbs{
        {"start", [&](Args at, Args) { startAt(std::stoi(at)); }},
        {"step", [&](Args n, Args) { step(n.empty() ? 1 : std::stoi(n)); }},
        {"tick", [&](Args, Args) { tick(); }},
        {"stop", [&](Args, Args) { tickUntilStopped(); }},
        {"manual", [&](Args, Args) { chooseManual(); }},
        {"options", [&](Args, Args) { click(rexec().Command_Options); }},
        {"automatic", [&](Args, Args) { click(rexec().automatic_radio); }},
        {"poke", [&](Args at, Args bits) { poke(std::stoi(at), bits); }},
        {"drag", [&](Args rate, Args) { drag(rexec().time_scroll, std::stoi(rate)); }},
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
      if (row.size() > 4) {
        EXPECT_EQ(options(), row[4]);
      }
    }
  }
  // Shown or enabled: the mode buttons, the Slow label, the scroll bar, the scroll bar
  // enabled, "pause first", the panel, Stop for Output, Stop for Output enabled; then the
  // rate, the timer's interval, the Begin button's caption and the focus.
  std::string options() {
    REXEC& r = rexec();
    std::string seen;
    for (bool on :
         {r.manual_radio.visible(), r.Label_Slow.visible(), r.time_scroll.visible(),
          r.time_scroll.enabled(), r.Label_Show_clock_Stuff.visible(), r.OPTIONS_FRAME.visible(),
          r.Stop_For_Output.shownOnScreen(), r.Stop_For_Output.enabled()})
      seen += on ? '1' : '0';
    return seen + " " + r.Time_Hertz.Caption() + " Hz, interval " +
           std::to_string(r.Timer1.Interval()) + ", " + r.Command_Begin_Step.Caption() +
           ", focus " + focusedName(r);
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
  step(), click(rexec().Command_Return_to_Input);
  click(input().Command_OK_For_Start_Location);  // ready again: Execute 1 enabled
  ASSERT_EQ(runControls(), "step one view return");
  click(rexec().Command_One_instruction);
  EXPECT_EQ(tickUntilStopped(), 8);
  EXPECT_EQ(registers(), "PC 1 AR 20 IR 52 X 0 Y 0 S 42 OUT 0");
  EXPECT_EQ(runControls(), "step view return");
  EXPECT_TRUE(manual().Pause_At_T0);

  perform("options+automatic");
  click(rexec().Stop_For_Output);  // cleared: the OUTPUT at 1 does not stop the clock
  click(rexec().Command_Options_Close), step();
  EXPECT_EQ(tickUntilStopped(), 8);  // one instruction, then the pending pause stops it
  EXPECT_EQ(runControls(), "resume one view return");
  EXPECT_FALSE(manual().Pause_At_T0);
}

// The three arrangements: the mode is offered only at T0 or in manual mode; switching
// modes sets the buttons but never starts the clock; the speed changes at any time.
TEST_F(RunControl, OptionsPanelAndModeSwitches) { play("options"); }

}  // namespace
}  // namespace volpar::testing
