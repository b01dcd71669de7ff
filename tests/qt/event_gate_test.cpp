// SPDX-License-Identifier: GPL-3.0-or-later
// A handler's failure in the windows: one warning box over the windows, then the program
// goes on.
#include "qt/event_gate.h"

#include <stdexcept>

#include "bridge_fixture.h"

namespace volpar::qttest {
namespace {

TEST(WindowsGate, AFailingHandlerShowsOneWarningAndTheProgramGoesOn) {
  int cleanUps = 0;
  qt::EventGate gate{[&] { ++cleanUps; }, [] { return false; }};
  MessageBoxCloser boxes;
  gate.deliver([] { throw std::runtime_error("disk full"); });
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_EQ(boxes.seen[0].title, "VOLPAR");
  EXPECT_EQ(boxes.seen[0].text, "This action could not be completed:\ndisk full");
  EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Warning);
  EXPECT_EQ(cleanUps, 1);
  bool ran = false;
  gate.deliver([&] { ran = true; });
  EXPECT_TRUE(ran);
  EXPECT_EQ(boxes.seen.size(), 1u);
}

}  // namespace
}  // namespace volpar::qttest
