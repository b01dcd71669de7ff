// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

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
};

// The automatic clock through every state of the run, then the manual clock, one phase per
// Step (tests/data/run_control/automatic_then_manual.txt).
TEST_F(RunControl, AutomaticThenManualClockThroughEveryStateOfTheRun) {
  play("run_control/automatic_then_manual.txt");
}

// The three arrangements: the mode is offered only at T0 or in manual mode; switching
// modes sets the buttons but never starts the clock; the speed changes at any time.
TEST_F(RunControl, OptionsPanelAndModeSwitches) { play("run_control/options.txt"); }

}  // namespace
}  // namespace volpar::testing
