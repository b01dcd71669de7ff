// SPDX-License-Identifier: GPL-3.0-or-later
// A snapshot of the screens puts back everything a student could have changed since, as
// the screens were, with no handler run: what a headless machine rewinds with.
#include "ui/form_snapshot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/data_table.h"
#include "support/form_state.h"
#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

class Snapshot : public ScreensFixture {
 protected:
  Snapshot() { welcome().onKeyPress(13); }

  std::string state() {
    std::string out = screens();
    for (const std::string& line : formState(welcome())) out += line + "\n";
    return out;
  }
};

// The ways of using the screens in tests/data/snapshot/uses.txt.
TEST_F(Snapshot, PutsBackWhatEachWayOfUsingTheScreensChanged) {
  for (const Row& use : readTable("snapshot/uses.txt")) {
    const std::string before = state();
    const std::vector<ui::FormSnapshot> snapshots{
        ui::FormSnapshot(welcome()), ui::FormSnapshot(input()), ui::FormSnapshot(rexec())};
    perform(use[1]);
    ASSERT_NE(state(), before) << use[0] << " changed nothing";
    for (const ui::FormSnapshot& snapshot : snapshots) snapshot.restore();
    EXPECT_EQ(state(), before) << use[0];
  }
}

}  // namespace
}  // namespace volpar::testing
