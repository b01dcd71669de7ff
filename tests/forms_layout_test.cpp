// SPDX-License-Identifier: GPL-3.0-or-later
// The geometry of the three screens that the renderer and the engine rely on. What a fresh
// input screen shows is checked with the screens Restart makes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "frontend/caption_fit.h"
#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

using ui::Element;
using ui::ElementKind;

using FormsLayout = ScreensFixture;

// Names are unique, and every placed element has a size and lies inside its frame, or
// inside the client area when it has none. Bit rows, registers and memory bytes alike, run
// from the most significant bit at the left; each memory row has its address just at its left.
TEST_F(FormsLayout, UniqueNamesElementsInsideTheirWindowAndBitRowsFromTheLeft) {
  for (ui::Form* form : {static_cast<ui::Form*>(&rexec()), static_cast<ui::Form*>(&input()),
                         static_cast<ui::Form*>(&welcome())}) {
    std::set<std::string> seen;
    for (const Element* e : form->elements()) {
      EXPECT_TRUE(seen.insert(e->displayName()).second) << form->name() << ": " << e->displayName();
      if (e->kind() == ElementKind::Timer || e->kind() == ElementKind::Menu ||
          e->kind() == ElementKind::CommonDialog)
        continue;
      const ui::Rect& r = e->rect();
      const int width = e->container() ? e->container()->rect().width : form->clientWidth();
      const int height = e->container() ? e->container()->rect().height : form->clientHeight();
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.width > 0 && r.height > 0 &&
                  r.left + r.width <= width && r.top + r.height <= height)
          << form->name() << ": " << e->displayName();
    }
  }
  std::vector<std::vector<const Element*>> rows;
  const auto add = [&](const auto& cells, int first, int last) {
    rows.emplace_back();
    for (int i = first; i <= last; ++i) rows.back().push_back(&cells(i));
  };
  REXEC& r = rexec();
  for (const auto* cells : {&r.ShapePC, &r.Shapear, &r.SHAPE_IR, &r.Shapet, &r.Shapeo})
    add(*cells, cells->LBound(), cells->UBound());
  add(r.Input_bit, 1, 8), add(input().Input_Bit, 1, 8);
  for (std::size_t a = 0; a < 32; ++a) {
    add(input().Shape1, 8 * int(a) + 1, 8 * int(a) + 8);
    rows.back().insert(rows.back().begin(), input().addressLabels[a].get());
    EXPECT_EQ(input().addressLabels[a]->Caption(), std::to_string(a));
  }
  for (const auto& row : rows)
    for (std::size_t i = 1; i < row.size(); ++i)
      EXPECT_TRUE(row[i - 1]->rect().left < row[i]->rect().left &&
                  row[i - 1]->rect().top == row[i]->rect().top)
          << row[i]->displayName();
}

// A register's number and the memory heading, each on its own colour, stand in the
// middle of their boxes; a caption on the screen's own colour from its corner.
TEST_F(FormsLayout, CaptionsOnAColourOfTheirOwnAreCentred) {
  EXPECT_TRUE(frontend::captionCentred(rexec().Register_PC_Decimal));
  EXPECT_TRUE(frontend::captionCentred(input().Label_MEMORY));
  EXPECT_FALSE(frontend::captionCentred(input().Instruction_in_Binary));
}

}  // namespace
}  // namespace volpar::testing
