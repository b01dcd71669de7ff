// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

using StartExecution = ScreensFixture;

// OK puts the machine at T0 with the PC at the start address. A second run starts on a
// clean machine: every caption 0 and no cell of the last run lit, so the negative flag
// agrees with S and a branch if not negative is taken. Send to Memory stays the default
// button: Enter in the start address starts the run and writes nothing; elsewhere it sends
// the byte (tests/data/start/second_run.txt).
TEST_F(StartExecution, ASecondRunStartsOnAMachineWithoutTheColoursOfTheFirst) {
  play("start/second_run.txt");
}

// Execute Program opens the panel with the address selected and OK as the default button;
// Cancel hides it, and the panel opens again with the last address. The memory view hides
// the entry, keeps the execution screen and shows the grid changing while the clock goes on
// (a STORE of 0 over 11111111 at 10); Return to Input brings the entry back and closes the
// code panel, neither touching the clock (tests/data/start/panel_and_memory_view.txt).
TEST_F(StartExecution, StartPanelThenMemoryViewAndTheWayBack) {
  play("start/panel_and_memory_view.txt");
}

}  // namespace
}  // namespace volpar::testing
