// The three screens as they are when created: what a user sees before anything has run,
// and the geometry that the renderer and the engine rely on.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "support/screens_fixture.h"

namespace volpar::testing {
namespace {

using ui::Element;
using ui::ElementKind;

bool hasPlace(const Element& e) {
  return e.kind() != ElementKind::Timer && e.kind() != ElementKind::Menu &&
         e.kind() != ElementKind::CommonDialog;
}

// Bit rows run from the most significant bit at the left.
template <class Array>
void expectRowLeftToRight(const Array& cells) {
  for (int i = cells.LBound() + 1; i <= cells.UBound(); ++i) {
    EXPECT_LT(cells(i - 1).rect().left, cells(i).rect().left) << cells(i).displayName();
    EXPECT_EQ(cells(i - 1).rect().top, cells(i).rect().top) << cells(i).displayName();
  }
}

using FormsLayout = ScreensFixture;

// Names are unique, and every placed element has a size and lies inside its frame, or
// inside the client area when it has none.
TEST_F(FormsLayout, CaptionsUniqueNamesAndEveryElementInsideItsWindow) {
  for (auto [form, caption] : {std::pair<ui::Form*, const char*>{&rexec(), "VOLPAR Execution Screen"},
                               {&input(), "VOLPAR Input Screen"},
                               {&welcome(), "VOLPAR Educational Systems"}}) {
    EXPECT_EQ(form->Caption(), caption);
    std::set<std::string> seen;
    for (const Element* e : form->elements()) {
      EXPECT_TRUE(seen.insert(e->displayName()).second) << caption << ": " << e->displayName();
      if (!hasPlace(*e)) continue;
      const ui::Rect& r = e->rect();
      const int width = e->container() ? e->container()->rect().width : form->clientWidth();
      const int height = e->container() ? e->container()->rect().height : form->clientHeight();
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.width > 0 && r.height > 0 &&
                  r.left + r.width <= width && r.top + r.height <= height)
          << caption << ": " << e->displayName();
    }
  }
  EXPECT_EQ(welcome().Label_Welcome.Caption(), "Welcome to the VOLPAR Computer");
  EXPECT_EQ(welcome().Label_Any_key.Caption(), "Press Any Key to Continue");
}

TEST_F(FormsLayout, FreshExecutionScreenShowsAnIdleMachine) {
  REXEC& r = rexec();
  int shapes = 0;
  for (const Element* e : r.elements()) {
    if (e->kind() != ElementKind::Shape) continue;
    ++shapes;
    EXPECT_EQ(static_cast<const ui::Shape*>(e)->FillColor(), ui::kWhite) << e->displayName();
  }
  // 8 clock, 18 phase, 10 lamps, the gate bubble, 5+8+8+5+9 register, 3x8 ALU, 8 output.
  EXPECT_EQ(shapes, 8 + 18 + 10 + 1 + 35 + 24 + 8);
  for (const ui::Label* l : {&r.Register_PC_Decimal, &r.Register_S_Decimal, &r.Time_Hertz}) {
    EXPECT_EQ(l->Caption(), "") << l->displayName();
  }
  EXPECT_FALSE(r.Visible() || r.OPTIONS_FRAME.visible() || r.Input_Window.enabled());
  EXPECT_EQ(windowBits(), "00000000");
  EXPECT_EQ(r.defaultButton(), &r.Command_Begin_Step);
  EXPECT_EQ(r.Command_Pause.Caption(), "&Pause at T= 0");  // as the user reads it
  EXPECT_FALSE(r.Timer1.enabled());
  EXPECT_EQ(r.Timer1.Interval(), 1000);
  EXPECT_EQ(r.time_scroll.Max(), 1000);
}

TEST_F(FormsLayout, BitRowsAndDataPaths) {
  REXEC& r = rexec();
  for (const auto* row : {&r.ShapePC, &r.Shapear, &r.SHAPE_IR, &r.Shapet, &r.Shapeo}) {
    expectRowLeftToRight(*row);
  }
  expectRowLeftToRight(r.Input_bit);
  expectRowLeftToRight(input().Input_Bit);
  EXPECT_FALSE(r.Register_Memory(0).visible());  // holds no bit
  std::set<std::string> lines;
  for (const auto& line : r.dataPathLines) lines.insert(line->name());
  EXPECT_EQ(r.dataPathLines.size(), 80U);
  EXPECT_EQ(lines.size(), 80U);
}

TEST_F(FormsLayout, FreshInputScreenIsInItsEntryArrangement) {
  std::set<std::string> hidden;
  for (const Element* e : input().elements()) {
    EXPECT_TRUE(e->enabled()) << e->displayName();
    if (e->kind() == ElementKind::TextBox) {
      EXPECT_EQ(static_cast<const ui::TextBox*>(e)->Text(), "0") << e->displayName();
    }
    if (hasPlace(*e) && !e->shownOnScreen() && e->container() == nullptr)
      hidden.insert(e->displayName());
  }
  EXPECT_EQ(hidden, (std::set<std::string>{"Return_to_exec_screen", "Shape1(0)", "EXEC_FRAME",
                                           "Code_frame"}));
  EXPECT_EQ(input().defaultButton(), &input().Command_Send_to_Memory);
  EXPECT_EQ(input().Input_Bit(1).MaxLength(), 1);
  EXPECT_EQ(input().exec_text.MaxLength(), 2);
}

// Every cell of the grid has its own place, each byte a row read from the left; each
// address label stands just left of its row and names its address.
TEST_F(FormsLayout, MemoryGridAndAddressLabels) {
  DERAZO_Input& in = input();
  std::set<std::pair<int, int>> places;
  for (int cell = 1; cell <= 256; ++cell) {
    places.insert({in.Shape1(cell).rect().left, in.Shape1(cell).rect().top});
  }
  EXPECT_EQ(places.size(), 256U);
  ASSERT_EQ(in.addressLabels.size(), 32U);
  for (int a = 0; a < 32; ++a) {
    EXPECT_EQ(memoryBits(a), "00000000");
    const ui::Label& label = *in.addressLabels[static_cast<std::size_t>(a)];
    const ui::Rect& firstCell = in.Shape1(8 * a + 1).rect();
    for (int j = 2; j <= 8; ++j) {
      const ui::Rect& left = in.Shape1(8 * a + j - 1).rect();
      const ui::Rect& right = in.Shape1(8 * a + j).rect();
      EXPECT_TRUE(left.left < right.left && left.top == right.top) << a << " bit " << j;
    }
    EXPECT_EQ(label.Caption(), std::to_string(a));
    EXPECT_EQ(label.rect().top, firstCell.top) << a;
    EXPECT_LT(label.rect().left + label.rect().width, firstCell.left) << a;
    EXPECT_GT(label.rect().left + label.rect().width, firstCell.left - 240) << a;
  }
}

}  // namespace
}  // namespace volpar::testing
