// The three screens as they are when created: what a user sees before anything has run,
// and the geometry that the renderer and the engine rely on.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "app/application.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/welcome/Initial_Screen.h"
#include "support/fake_platform.h"

namespace volpar {
namespace {

using ui::Element;
using ui::ElementKind;

bool hasPlace(const Element& e) {
  return e.kind() != ElementKind::Timer && e.kind() != ElementKind::Menu &&
         e.kind() != ElementKind::CommonDialog;
}

// Names are unique, and every placed element has a size and lies inside its frame, or
// inside the client area when it has none.
void expectSoundLayout(const ui::Form& form) {
  std::set<std::string> seen;
  for (const Element* e : form.elements()) {
    EXPECT_TRUE(seen.insert(e->displayName()).second) << form.name() << ": " << e->displayName();
    if (!hasPlace(*e)) continue;
    const ui::Rect& r = e->rect();
    const int width = e->container() ? e->container()->rect().width : form.clientWidth();
    const int height = e->container() ? e->container()->rect().height : form.clientHeight();
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.width > 0 && r.height > 0 &&
                r.left + r.width <= width && r.top + r.height <= height)
        << form.name() << "." << e->displayName() << " at " << r.left << "," << r.top << " "
        << r.width << "x" << r.height << " outside " << width << "x" << height;
  }
}

// Bit rows run from the most significant bit at the left.
template <class Array>
void expectRowLeftToRight(const Array& cells) {
  for (int i = cells.LBound() + 1; i <= cells.UBound(); ++i) {
    EXPECT_LT(cells(i - 1).rect().left, cells(i).rect().left) << cells(i).displayName();
    EXPECT_EQ(cells(i - 1).rect().top, cells(i).rect().top) << cells(i).displayName();
  }
}

class FormsLayout : public ::testing::Test {
 protected:
  testing::FakePlatform platform;
  Application app{platform};
  REXEC& rexec = app.rexec();
  DERAZO_Input& input = app.derazoInput();
};

TEST_F(FormsLayout, WindowsAndTheirSizes) {
  const Initial_Screen welcome{app};  // the layout alone, without the load step
  struct Case {
    const ui::Form& form;
    const char* caption;
    int width, height;
  };
  for (const Case& c : {Case{rexec, "VOLPAR Execution Screen", 11415, 7695},
                        Case{input, "VOLPAR Input Screen", 10665, 8190},
                        Case{welcome, "VOLPAR Educational Systems", 11340, 6960}}) {
    EXPECT_EQ(c.form.Caption(), c.caption);
    EXPECT_EQ(c.form.clientWidth(), c.width) << c.caption;
    EXPECT_EQ(c.form.clientHeight(), c.height) << c.caption;
    expectSoundLayout(c.form);
  }
  ASSERT_TRUE(rexec.position().has_value());
  EXPECT_EQ(std::make_pair(rexec.position()->x, rexec.position()->y), std::make_pair(15, 1380));
  EXPECT_FALSE(rexec.Visible());
  EXPECT_EQ(welcome.Label_Welcome.Caption(), "Welcome to the VOLPAR Computer");
  EXPECT_EQ(welcome.Label_Any_key.Caption(), "Press Any Key to Continue");
}

TEST_F(FormsLayout, FreshExecutionScreenShowsAnIdleMachineReadyForItsFirstStart) {
  int shapes = 0;
  for (const Element* e : rexec.elements()) {
    if (e->kind() != ElementKind::Shape) continue;
    ++shapes;
    EXPECT_EQ(static_cast<const ui::Shape*>(e)->FillColor(), ui::kWhite) << e->displayName();
  }
  // 8 clock, 18 phase, 10 lamps, the gate bubble, 5+8+8+5+9 register, 3x8 ALU, 8 output.
  EXPECT_EQ(shapes, 8 + 18 + 10 + 1 + 35 + 24 + 8);
  for (const ui::Label* l :
       {&rexec.Register_PC_Decimal, &rexec.Register_Address_Decimal, &rexec.IR_Address_Decimal,
        &rexec.Register_S_Decimal, &rexec.Register_Output_Decimal, &rexec.Time_Hertz}) {
    EXPECT_EQ(l->Caption(), "") << l->displayName();
  }
  EXPECT_FALSE(rexec.OPTIONS_FRAME.visible());
  EXPECT_TRUE(rexec.Input_Window.visible());
  EXPECT_FALSE(rexec.Input_Window.enabled());
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(rexec.Input_bit(i).Text(), "0");

  EXPECT_EQ(rexec.defaultButton(), &rexec.Command_Begin_Step);
  EXPECT_FALSE(rexec.Command_Pause.enabled());
  EXPECT_EQ(rexec.Command_Pause.Caption(), "&Pause at T= 0");  // as the user reads it
  EXPECT_EQ(rexec.Label_Show_clock_Stuff.Caption(),
            "Change to Manual Mode only when T = 0. Click on \"Pause at T=0.\"");
  EXPECT_FALSE(rexec.Timer1.enabled());
  EXPECT_EQ(rexec.Timer1.Interval(), 1000);
  EXPECT_TRUE(rexec.automatic_radio.Value());
  EXPECT_EQ(rexec.Stop_For_Output.Value(), 1);
  EXPECT_EQ(rexec.time_scroll.Value(), rexec.time_scroll.Min());
  EXPECT_EQ(rexec.time_scroll.Max(), 1000);
}

TEST_F(FormsLayout, BitRowsAndDataPaths) {
  for (const auto* row : {&rexec.ShapePC, &rexec.Shapear, &rexec.SHAPE_IR, &rexec.Shapet,
                          &rexec.Shapeo}) {
    expectRowLeftToRight(*row);
  }
  expectRowLeftToRight(rexec.Input_bit);
  expectRowLeftToRight(input.Input_Bit);
  EXPECT_FALSE(rexec.Register_Memory(0).visible());  // holds no bit
  std::set<std::string> lines;
  for (const auto& line : rexec.dataPathLines) lines.insert(line->name());
  EXPECT_EQ(rexec.dataPathLines.size(), 80U);
  EXPECT_EQ(lines.size(), 80U);
}

TEST_F(FormsLayout, FreshInputScreenIsInItsEntryArrangement) {
  std::set<std::string> hidden;
  for (const Element* e : input.elements()) {
    EXPECT_TRUE(e->enabled()) << e->displayName();
    if (e->kind() == ElementKind::TextBox) {
      EXPECT_EQ(static_cast<const ui::TextBox*>(e)->Text(), "0") << e->displayName();
    }
    if (hasPlace(*e) && !e->shownOnScreen() && e->container() == nullptr)
      hidden.insert(e->displayName());
  }
  EXPECT_EQ(hidden, (std::set<std::string>{"Return_to_exec_screen", "Shape1(0)", "EXEC_FRAME",
                                           "Code_frame"}));
  EXPECT_EQ(input.defaultButton(), &input.Command_Send_to_Memory);
  EXPECT_EQ(input.Input_Bit(1).MaxLength(), 1);
  EXPECT_EQ(input.exec_text.MaxLength(), 2);
  std::string order;
  for (const Element* e : input.tabOrder) order += e->displayName() + " ";
  EXPECT_EQ(order,
            "memory_text exec_text Input_Bit(1) Input_Bit(2) Input_Bit(3) Input_Bit(4) "
            "Input_Bit(5) Input_Bit(6) Input_Bit(7) Input_Bit(8) Command_Send_to_Memory "
            "Command_Execute_Program Return_to_exec_screen Command_Restart Command_Code_Info "
            "Command_Code_Close Command_Start_Location_Cancel Command_quit "
            "Command_OK_For_Start_Location Input_Op_Code(0) Input_Memory_Address ");
}

// Every cell of the grid has its own place, each byte a row read from the left; each
// address label stands just left of its row and names its address.
TEST_F(FormsLayout, MemoryGridAndAddressLabels) {
  std::set<std::pair<int, int>> places;
  for (int cell = 1; cell <= 256; ++cell) {
    EXPECT_EQ(input.Shape1(cell).FillColor(), ui::kWhite);
    places.insert({input.Shape1(cell).rect().left, input.Shape1(cell).rect().top});
  }
  EXPECT_EQ(places.size(), 256U);
  ASSERT_EQ(input.addressLabels.size(), 32U);
  for (int a = 0; a < 32; ++a) {
    const ui::Label& label = *input.addressLabels[static_cast<std::size_t>(a)];
    const ui::Rect& firstCell = input.Shape1(8 * a + 1).rect();
    for (int j = 2; j <= 8; ++j) {
      const ui::Rect& left = input.Shape1(8 * a + j - 1).rect();
      const ui::Rect& right = input.Shape1(8 * a + j).rect();
      EXPECT_TRUE(left.left < right.left && left.top == right.top) << a << " bit " << j;
    }
    EXPECT_EQ(label.Caption(), std::to_string(a));
    EXPECT_EQ(label.rect().top, firstCell.top) << a;
    EXPECT_LT(label.rect().left + label.rect().width, firstCell.left) << a;
    EXPECT_GT(label.rect().left + label.rect().width, firstCell.left - 240) << a;
  }
}

}  // namespace
}  // namespace volpar
