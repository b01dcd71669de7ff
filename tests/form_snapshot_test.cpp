// SPDX-License-Identifier: GPL-3.0-or-later
// A snapshot of the screens puts back everything a student could have changed since, as
// the screens were, with no handler run: what a headless machine rewinds with.
#include "ui/form_snapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

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

TEST_F(Snapshot, PutsBackWhatEachWayOfUsingTheScreensChanged) {
  const std::pair<const char*, std::function<void()>> uses[] = {
      {"a byte typed and sent", [this] { typeBits("10100111"), sendTo(9); }},
      {"a program run by hand to an INPUT and answered",
       [this] {
         // INPUT, STORE 30, OUTPUT, BRANCH 0
         pokeFrom(0, {"01100000", "01011110", "10000000", "10100000"});
         chooseManual(), startAt(0), step(7);
         for (int i = 1; i <= 8; ++i) type(rexec().Input_bit(i), i % 2 ? "1" : "0");
         click(rexec().Command_Input_Window_OK), step(20);
       }},
      {"the clock left running, the memory in view",
       [this] {
         pokeFrom(0, {"00011111", "10100000"});  // ADD 31, BRANCH 0
         startAt(0), click(rexec().Command_Begin_Step);
         for (int i = 0; i < 30; ++i) tick();
         click(rexec().Command_View_Memory);
       }},
      {"the code panel and the start-location panel open",
       [this] {
         click(input().Command_Code_Info), click(input().Command_Execute_Program);
         type(input().exec_text, "17");
       }},
  };
  for (const auto& [use, run] : uses) {
    const std::string before = state();
    const std::vector<ui::FormSnapshot> snapshots{
        ui::FormSnapshot(welcome()), ui::FormSnapshot(input()), ui::FormSnapshot(rexec())};
    run();
    ASSERT_NE(state(), before) << use << " changed nothing";
    for (const ui::FormSnapshot& snapshot : snapshots) snapshot.restore();
    EXPECT_EQ(state(), before) << use;
  }
}

}  // namespace
}  // namespace volpar::testing
