// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/caption_fit.h"
#include "frontend/clock_pacing.h"
#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

namespace pacing = frontend::pacing;

// The driver loop both front ends run: ticks delivered at each wake-up as they fell due, a
// tick that says stop ends the burst, a new interval starts a full one from then.
TEST(ClockPacer, DeliversTheTicksDueAndFollowsTheTimer) {
  pacing::Pacer pacer;
  EXPECT_FALSE(pacer.sync(false, 10, 0));
  EXPECT_TRUE(pacer.sync(true, 10, 0));
  EXPECT_FALSE(pacer.sync(true, 10, 5)) << "nothing changed: the clock keeps its pace";
  EXPECT_DOUBLE_EQ(pacer.wakeAtMs(), 16) << "at most one wake-up a frame";
  std::vector<int> bursts;
  const auto wake = [&](double now, int stopAfter = 1000) {
    int n = 0;
    pacer.wakeUp(now, [&] { return ++n < stopAfter; });
    bursts.push_back(n);
  };
  wake(35);     // due at 10, 20, 30
  wake(45);     // 40
  wake(90, 2);  // 50, 60: the second tick stops it; 70 waits
  EXPECT_EQ(bursts, (std::vector<int>{3, 1, 2}));
  EXPECT_DOUBLE_EQ(pacer.wakeAtMs(), 106) << "the next tick fell due at 70; a frame on";
  EXPECT_TRUE(pacer.sync(true, 100, 200));
  wake(299);
  wake(300);
  EXPECT_EQ(bursts.back(), 1) << "a full new interval from the change";
  pacer.stop();
  EXPECT_FALSE(pacer.running());
}

// Largest first, then least narrowed: the first font at which the caption fits.
TEST(CaptionFit, NarrowsThenMakesSmaller) {
  std::vector<std::string> tried;
  const frontend::CaptionFont font = frontend::fitCaptionFont(8, [&](frontend::CaptionFont f) {
    tried.push_back(std::to_string(f.pixels) + "@" + std::to_string(f.stretch));
    return f.pixels <= 7 && f.stretch <= 94;
  });
  EXPECT_EQ(font.pixels, 7);
  EXPECT_EQ(font.stretch, 94);
  EXPECT_EQ(tried.size(), 8u) << "six widths at 8 pixels, two at 7";
  const frontend::CaptionFont none =
      frontend::fitCaptionFont(7, [](frontend::CaptionFont) { return false; });
  EXPECT_EQ(none.pixels, 7) << "a caption that fits at none keeps its font";
  EXPECT_EQ(none.stretch, 100);
}

class FrontEndRules : public ScreensFixture {};

// A register's number and the memory heading, each on its own colour, stand in the
// middle of their boxes; a caption on the screen's own colour from its corner.
TEST_F(FrontEndRules, CaptionsOnAColourOfTheirOwnAreCentred) {
  EXPECT_TRUE(frontend::captionCentred(rexec().Register_PC_Decimal));
  EXPECT_TRUE(frontend::captionCentred(input().Label_MEMORY));
  EXPECT_FALSE(frontend::captionCentred(input().Instruction_in_Binary));
}

}  // namespace
}  // namespace volpar::testing
