// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

using RunControl = ScreensFixture;

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
