// The two machine screens and the welcome screen as they are when created: what a user
// sees before anything has run, and the geometry that the renderer and the engine rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

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

// Every placed element lies inside its frame, or inside the client area when it has none.
void expectEveryElementInsideItsContainer(const ui::Form& form) {
  for (const Element* e : form.elements()) {
    if (!hasPlace(*e)) continue;
    const ui::Rect& r = e->rect();
    const int width = e->container() ? e->container()->rect().width : form.clientWidth();
    const int height = e->container() ? e->container()->rect().height : form.clientHeight();
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= width &&
                r.top + r.height <= height)
        << form.name() << "." << e->displayName() << " at " << r.left << "," << r.top << " "
        << r.width << "x" << r.height << " outside " << width << "x" << height;
    EXPECT_GT(r.width, 0) << e->displayName();
    EXPECT_GT(r.height, 0) << e->displayName();
  }
}

void expectUniqueDisplayNames(const ui::Form& form) {
  std::set<std::string> seen;
  for (const Element* e : form.elements()) {
    EXPECT_TRUE(seen.insert(e->displayName()).second) << form.name() << ": " << e->displayName();
  }
}

std::vector<std::string> namesWithOwnFont(const ui::Form& form) {
  std::vector<std::string> names;
  for (const Element* e : form.elements()) {
    if (e->hasOwnFont()) names.push_back(e->displayName());
  }
  return names;
}

template <class Array>
void expectRowLeftToRight(const Array& cells) {
  for (int i = cells.LBound() + 1; i <= cells.UBound(); ++i) {
    EXPECT_LT(cells(i - 1).rect().left, cells(i).rect().left) << cells(i).displayName();
    EXPECT_EQ(cells(i - 1).rect().top, cells(i).rect().top) << cells(i).displayName();
  }
}

class FormsLayoutExecution : public ::testing::Test {
 protected:
  testing::FakePlatform platform;
  Application app{platform};
  REXEC& rexec = app.rexec();
};

TEST_F(FormsLayoutExecution, FormItself) {
  EXPECT_EQ(rexec.Caption(), "VOLPAR Execution Screen");
  EXPECT_EQ(rexec.BackColor(), ui::kLightYellow);
  EXPECT_EQ(rexec.clientWidth(), 11415);
  EXPECT_EQ(rexec.clientHeight(), 7695);
  ASSERT_TRUE(rexec.position().has_value());
  EXPECT_EQ(rexec.position()->x, 15);
  EXPECT_EQ(rexec.position()->y, 1380);
  EXPECT_EQ(rexec.font(), (ui::Font{"MS Sans Serif", 8.25, true}));
  EXPECT_FALSE(rexec.Visible());
}

TEST_F(FormsLayoutExecution, FreshScreenShowsAnIdleMachine) {
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
        &rexec.Register_X_Decimal, &rexec.Register_Y_Decimal, &rexec.Register_S_Decimal,
        &rexec.Register_Output_Decimal, &rexec.Time_Hertz}) {
    EXPECT_EQ(l->Caption(), "") << l->displayName();
  }

  EXPECT_FALSE(rexec.OPTIONS_FRAME.visible());
  EXPECT_TRUE(rexec.Input_Window.visible());
  EXPECT_FALSE(rexec.Input_Window.enabled());
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(rexec.Input_bit(i).Text(), "0");
    EXPECT_FALSE(rexec.Input_bit(i).usable());
  }
  EXPECT_EQ(rexec.Text_Input_Decimal.Text(), "0");
  EXPECT_FALSE(rexec.Command_Input_Window_OK.enabled());
}

TEST_F(FormsLayoutExecution, CaptionsAreExact) {
  struct Case {
    std::string shown;
    std::string expected;
  };
  const Case cases[] = {
      {rexec.Command_Pause.Caption(), "&Pause at T= 0"},
      {rexec.Label_IR_To_AR.Caption(), "Copy Instruction Register to Address Register."},
      {rexec.Label_IR_To_PC.Caption(), "Copy Instruction Register to Program Counter"},
      {rexec.Label_Copy_memory_To_Y.Caption(), "Copy Memory to Y"},
      {rexec.Label_XY_To_S.Caption(), "X + Y to S"},
      {rexec.Label_PCAR.Caption(), "Copy Program Counter To Address Register"},
      {rexec.Label_T7.Caption(), "T=7"},
      {rexec.Label_S7A.Caption(), "S7"},
      {rexec.Label_BR_NN1.Caption(), "Br NNeg"},
      {rexec.Label_NEG2.Caption(), "BR Neg"},
      {rexec.Command_Resume.Caption(), "Re&sume"},
      {rexec.Command_Input_Window_OK.Caption(), "Re&sume"},
      {rexec.Command_One_instruction.Caption(), "E&xecute 1 Instruction"},
      {rexec.Command_Restart.Caption(), "R&estart"},
      {rexec.Label_Show_clock_Stuff.Caption(),
       "Change to Manual Mode only when T = 0. Click on \"Pause at T=0.\""},
      {rexec.Label_Window_Output.Caption(), "OUTPUT - Address 0"},
      {rexec.Input_Window.Caption(), "INPUT - Address 1"},
      {rexec.Memory.Caption(), "Memory (PC)"},
      {rexec.OPTIONS_FRAME.Caption(), "OPTIONS"},
      {rexec.manual_radio.Caption(), "Manual clock advance"},
      {rexec.Stop_For_Output.Caption(), "Stop for Output"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.shown, c.expected);
}

TEST_F(FormsLayoutExecution, RunControlsBeforeTheFirstStart) {
  EXPECT_TRUE(rexec.Command_Begin_Step.Default());
  EXPECT_EQ(rexec.defaultButton(), &rexec.Command_Begin_Step);
  for (const ui::CommandButton* b :
       {&rexec.Command_Begin_Step, &rexec.Command_Resume, &rexec.Command_One_instruction,
        &rexec.Command_View_Memory, &rexec.Command_Return_to_Input, &rexec.Command_Options,
        &rexec.Command_Restart, &rexec.Command_Quit}) {
    EXPECT_TRUE(b->usable()) << b->displayName();
    EXPECT_EQ(b->rect().left, 10320) << b->displayName();
  }
  EXPECT_FALSE(rexec.Command_Pause.enabled());

  EXPECT_FALSE(rexec.Timer1.enabled());
  EXPECT_EQ(rexec.Timer1.Interval(), 1000);

  EXPECT_TRUE(rexec.automatic_radio.Value());
  EXPECT_FALSE(rexec.manual_radio.Value());
  EXPECT_EQ(rexec.Stop_For_Output.Value(), 1);
  EXPECT_FALSE(rexec.Stop_For_Output.enabled());
  EXPECT_EQ(rexec.time_scroll.Min(), 1);
  EXPECT_EQ(rexec.time_scroll.Max(), 1000);
  EXPECT_EQ(rexec.time_scroll.SmallChange(), 10);
  EXPECT_EQ(rexec.time_scroll.LargeChange(), 10);
  EXPECT_EQ(rexec.time_scroll.Value(), 1);
  // Inside the options panel, only the explanation and the rate labels are visible.
  std::vector<std::string> visibleInPanel;
  for (const Element* e : rexec.elements()) {
    if (e->container() == &rexec.OPTIONS_FRAME && e->visible()) visibleInPanel.push_back(e->name());
  }
  EXPECT_EQ(visibleInPanel,
            (std::vector<std::string>{"Label_Show_clock_Stuff", "Hertz", "Time_Hertz"}));
}

TEST_F(FormsLayoutExecution, FramesHoldTheirContents) {
  struct Case {
    const ui::Frame& frame;
    int elements;
  };
  const Case cases[] = {
      {rexec.Label_Window_PC, 5 + 1},
      {rexec.Label_Window_IR, 8 + 1},
      {rexec.Label_Window_Decoder, 8 + 8},
      {rexec.Label_Window_AR, 5 + 1},
      {rexec.Memory, 9},
      {rexec.Label_Window_ALU, 3 + 24 + 2 + 3},
      {rexec.Label_Window_Output, 8 + 1},
      {rexec.OPTIONS_FRAME, 10},
      {rexec.Input_Window, 8 + 1 + 1},
  };
  for (const Case& c : cases) {
    int count = 0;
    for (const Element* e : rexec.elements()) count += e->container() == &c.frame ? 1 : 0;
    EXPECT_EQ(count, c.elements) << c.frame.name();
  }
  expectEveryElementInsideItsContainer(rexec);
  expectUniqueDisplayNames(rexec);
}

TEST_F(FormsLayoutExecution, RegisterRowsRunFromTheMostSignificantBitAtTheLeft) {
  expectRowLeftToRight(rexec.ShapePC);
  expectRowLeftToRight(rexec.Shapear);
  expectRowLeftToRight(rexec.SHAPE_IR);
  expectRowLeftToRight(rexec.Shape_x);
  expectRowLeftToRight(rexec.shapey);
  expectRowLeftToRight(rexec.Shapet);
  expectRowLeftToRight(rexec.Shapeo);
  expectRowLeftToRight(rexec.Input_bit);
  // The memory word: element 0 holds no bit and has no visible place.
  EXPECT_FALSE(rexec.Register_Memory(0).visible());
  for (int i = 2; i <= 8; ++i) {
    EXPECT_LT(rexec.Register_Memory(i - 1).rect().left, rexec.Register_Memory(i).rect().left);
  }
  // A gap separates the op code from the address field in the IR.
  EXPECT_GT(rexec.SHAPE_IR(4).rect().left - rexec.SHAPE_IR(3).rect().left,
            rexec.SHAPE_IR(5).rect().left - rexec.SHAPE_IR(4).rect().left);
}

TEST_F(FormsLayoutExecution, ColoursAndFonts) {
  struct Case {
    const ui::Label& label;
    ui::Color back;
  };
  const Case decimals[] = {
      {rexec.Register_PC_Decimal, ui::kWhite},
      {rexec.Register_Address_Decimal, ui::kWhite},
      {rexec.IR_Address_Decimal, ui::kWindowBackground},
      {rexec.Register_X_Decimal, ui::kWhite},
      {rexec.Register_Y_Decimal, ui::kWhite},
      {rexec.Register_S_Decimal, ui::kWhite},
      {rexec.Register_Output_Decimal, ui::kWhite},
  };
  std::set<const Element*> decimalLabels;
  for (const Case& c : decimals) {
    EXPECT_EQ(c.label.backColor(), c.back) << c.label.name();
    decimalLabels.insert(&c.label);
  }
  const std::set<const Element*> registerFrames{
      &rexec.Label_Window_PC,    &rexec.Label_Window_IR, &rexec.Label_Window_Decoder,
      &rexec.Label_Window_AR,    &rexec.Memory,          &rexec.Label_Window_ALU,
      &rexec.Label_Window_Output};
  for (const Element* e : rexec.elements()) {
    if (registerFrames.count(e)) {
      EXPECT_EQ(e->backColor(), ui::kLightYellow) << e->name();
    }
    if (e->kind() == ElementKind::Label && registerFrames.count(e->container()) &&
        !decimalLabels.count(e)) {
      EXPECT_EQ(e->backColor(), ui::kLightYellow) << e->name();
    }
  }
  EXPECT_EQ(rexec.OPTIONS_FRAME.backColor(), ui::kPanelGrey);
  EXPECT_EQ(rexec.manual_radio.backColor(), ui::kWhite);
  EXPECT_EQ(rexec.Label_Slow.foreColor(), ui::kBlack);
  EXPECT_EQ(namesWithOwnFont(rexec), (std::vector<std::string>{"Label_Slow", "Label_Fast"}));
  EXPECT_EQ(rexec.Label_Fast.font(), (ui::Font{"System", 9.75, true}));
}

TEST_F(FormsLayoutExecution, DataPathLines) {
  ASSERT_EQ(rexec.dataPathLines.size(), 80U);
  std::set<std::string> names;
  for (const auto& line : rexec.dataPathLines) {
    names.insert(line->name());
    EXPECT_EQ(line->container(), nullptr);
    // Only the phase table, left of the lamps' right edge, carries lines.
    EXPECT_LE(std::max(line->x1(), line->x2()), 3960) << line->name();
    EXPECT_GE(std::min(line->x1(), line->x2()), 1440) << line->name();
  }
  EXPECT_EQ(names.size(), 80U);
  for (int missing : {43, 70, 71, 73, 75, 85})
    EXPECT_EQ(names.count("Line" + std::to_string(missing)), 0U);
  EXPECT_EQ(names.count("Line86"), 1U);
  const ui::Line& first = *rexec.dataPathLines.front();
  EXPECT_EQ(first.name(), "Line1");
  EXPECT_EQ((std::vector<int>{first.x1(), first.y1(), first.x2(), first.y2()}),
            (std::vector<int>{1440, 960, 2280, 960}));
}

TEST_F(FormsLayoutExecution, PhaseTableRows) {
  // Each clock cell stands level with its label; lamps sit just left of their step labels.
  for (int k = 0; k <= 7; ++k) EXPECT_EQ(rexec.Shape_Clock(k).rect().left, 720);
  EXPECT_EQ(rexec.Shape_Clock(5).rect().top, 4680);
  EXPECT_EQ(rexec.Label_T5.rect().top, 4680);
  EXPECT_EQ(rexec.shape_irar.rect(), (ui::Rect{3960, 2160, 135, 255}));
  EXPECT_EQ(rexec.Label_IR_To_AR.rect().height, 615);
  EXPECT_EQ(rexec.shapet6(0).rect(), (ui::Rect{1785, 6165, 135, 135}));
  EXPECT_EQ(rexec.Label_INPUT3.rect().left, 2025);
  EXPECT_EQ(rexec.Shape1.rect(), (ui::Rect{2760, 3840, 135, 255}));
}

class FormsLayoutInput : public ::testing::Test {
 protected:
  testing::FakePlatform platform;
  Application app{platform};
  DERAZO_Input& input = app.derazoInput();
};

TEST_F(FormsLayoutInput, FormItself) {
  EXPECT_EQ(input.Caption(), "VOLPAR Input Screen");
  EXPECT_EQ(input.BackColor(), ui::kLightGreen);
  EXPECT_EQ(input.clientWidth(), 10665);
  EXPECT_EQ(input.clientHeight(), 8190);
  EXPECT_EQ(input.font(), (ui::Font{"MS Sans Serif", 8.25, true}));
}

TEST_F(FormsLayoutInput, FreshScreenIsInItsEntryArrangement) {
  for (const auto& cell : input.Shape1)
    EXPECT_EQ(cell->FillColor(), ui::kWhite) << cell->displayName();
  std::vector<std::string> hidden;
  for (const Element* e : input.elements()) {
    EXPECT_TRUE(e->enabled()) << e->displayName();
    if (e->kind() == ElementKind::TextBox) {
      EXPECT_EQ(static_cast<const ui::TextBox*>(e)->Text(), "0") << e->displayName();
    }
    if (hasPlace(*e) && !e->shownOnScreen() && e->container() == nullptr)
      hidden.push_back(e->displayName());
  }
  EXPECT_EQ(hidden, (std::vector<std::string>{"Return_to_exec_screen", "Shape1(0)", "EXEC_FRAME",
                                              "Code_frame"}));
  EXPECT_TRUE(input.Command_OK_For_Start_Location.visible());
  EXPECT_FALSE(input.Command_OK_For_Start_Location.shownOnScreen());
  EXPECT_EQ(input.defaultButton(), &input.Command_Send_to_Memory);
}

TEST_F(FormsLayoutInput, MemoryGridPlacesEveryBitOfEveryAddress) {
  struct Case {
    int cell;
    ui::Rect rect;
  };
  const Case cases[] = {
      {1, {1440, 5400, 135, 255}},    {8, {3120, 5400, 135, 255}},   {64, {3120, 7080, 135, 255}},
      {65, {3840, 5400, 135, 255}},   {129, {6240, 5400, 135, 255}}, {193, {8640, 5400, 135, 255}},
      {256, {10320, 7080, 135, 255}},
  };
  for (const Case& c : cases) EXPECT_EQ(input.Shape1(c.cell).rect(), c.rect) << c.cell;
  // No two cells share a place.
  std::set<std::pair<int, int>> places;
  for (int cell = 1; cell <= 256; ++cell) {
    places.insert({input.Shape1(cell).rect().left, input.Shape1(cell).rect().top});
  }
  EXPECT_EQ(places.size(), 256U);
  EXPECT_FALSE(input.Shape1(0).shownOnScreen());
  input.Shape1(65).setFillColor(ui::kYellow);
  EXPECT_TRUE(input.Shape1(65).shownOnScreen());
}

TEST_F(FormsLayoutInput, AddressLabelsStandLeftOfTheirRows) {
  const std::vector<int> nameNumbers{28, 2,  3,  4,  5,  6,  7,  8,   //
                                     9,  10, 11, 12, 13, 14, 15, 16,  //
                                     17, 18, 19, 20, 21, 22, 23, 29,  //
                                     24, 25, 26, 27, 32, 33, 34, 35};
  ASSERT_EQ(input.addressLabels.size(), 32U);
  for (int a = 0; a < 32; ++a) {
    const ui::Label& label = *input.addressLabels[static_cast<std::size_t>(a)];
    const ui::Rect& firstCell = input.Shape1(8 * a + 1).rect();
    EXPECT_EQ(label.name(), "Label" + std::to_string(nameNumbers[static_cast<std::size_t>(a)]));
    EXPECT_EQ(label.Caption(), std::to_string(a));
    EXPECT_EQ(label.rect().top, firstCell.top) << a;
    EXPECT_LT(label.rect().left + label.rect().width, firstCell.left) << a;
    EXPECT_GT(label.rect().left + label.rect().width, firstCell.left - 240) << a;
    EXPECT_EQ(label.rect().width, a < 10 ? 135 : 255) << a;
  }
}

TEST_F(FormsLayoutInput, TextBoxesCharacterLimitsAndFonts) {
  struct Case {
    const ui::TextBox& box;
    int maxLength;
  };
  const Case cases[] = {
      {input.Input_Bit(1), 1},         {input.Input_Bit(8), 1}, {input.Input_Op_Code(0), 1},
      {input.Input_Memory_Address, 2}, {input.memory_text, 2},  {input.exec_text, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.box.MaxLength(), c.maxLength) << c.box.displayName();
    EXPECT_EQ(c.box.font(), (ui::Font{"MS Sans Serif", 12, true})) << c.box.displayName();
  }
  expectRowLeftToRight(input.Input_Bit);
  EXPECT_EQ(input.Label_MEMORY.font(), (ui::Font{"MS Sans Serif", 24, true}));
  EXPECT_EQ(input.Label_MEMORY.backColor(), ui::kGreen);
  EXPECT_EQ(input.Label_Description_BR_NN.font(), (ui::Font{"Courier", 9.75, true}));
  EXPECT_EQ(input.Instruction_in_Binary.font(), (ui::Font{"System", 9.75, true}));
  EXPECT_EQ(input.addressLabels.front()->backColor(), ui::kLightGreen);
  EXPECT_EQ(input.label_execute.backColor(), ui::kWindowBackground);
}

TEST_F(FormsLayoutInput, CaptionsAreExact) {
  struct Case {
    std::string shown;
    std::string expected;
  };
  const Case cases[] = {
      {input.label_execute.Caption(),
       "At which memory location would you like to  begin execution?"},
      {input.Label_Description_ADD.Caption(), "000 = Add :   X + Y -> S "},
      {input.Label_Description_STORE.Caption(), "010 = Store:  Copy Register S to Memory."},
      {input.Label_Description_OUTPUT.Caption(), "100 = Output: Copy Register S to Output."},
      {input.Label_Memory_Location.Caption(),
       "At which memory location would you like this byte stored?"},
      {input.Return_to_exec_screen.Caption(), "R&eturn to Execution Screen"},
      {input.Command_Start_Location_Cancel.Caption(), "C&ancel"},
      {input.Command_Code_Close.Caption(), "C&lose"},
      {input.EXEC_FRAME.Caption(), "START LOCATION"},
      {input.Code_frame.Caption(), "CODE INFORMATION"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.shown, c.expected);
}

TEST_F(FormsLayoutInput, Menus) {
  struct Case {
    const ui::Menu& item;
    const ui::Menu* parent;
    std::string caption;
    std::string shortcut;
  };
  const Case cases[] = {
      {input.file_menu, nullptr, "&File", ""},
      {input.Open_menu, &input.file_menu, "&Open", "Ctrl+O"},
      {input.save_menu, &input.file_menu, "&Save", "Ctrl+S"},
      {input.exit_menu, &input.file_menu, "E&xit", "Ctrl+X"},
      {input.help_menu, nullptr, "&Help", ""},
      {input.cont_menu, &input.help_menu, "&Contents", "F1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.item.parent(), c.parent) << c.item.name();
    EXPECT_EQ(c.item.Caption(), c.caption);
    EXPECT_EQ(c.item.Shortcut(), c.shortcut) << c.item.name();
  }
  EXPECT_EQ(input.cont_menu.HelpContextID(), 1);
}

TEST_F(FormsLayoutInput, TabOrderAndGeometry) {
  std::vector<std::string> order;
  for (const Element* e : input.tabOrder) order.push_back(e->displayName());
  EXPECT_EQ(order, (std::vector<std::string>{"memory_text",
                                             "exec_text",
                                             "Input_Bit(1)",
                                             "Input_Bit(2)",
                                             "Input_Bit(3)",
                                             "Input_Bit(4)",
                                             "Input_Bit(5)",
                                             "Input_Bit(6)",
                                             "Input_Bit(7)",
                                             "Input_Bit(8)",
                                             "Command_Send_to_Memory",
                                             "Command_Execute_Program",
                                             "Return_to_exec_screen",
                                             "Command_Restart",
                                             "Command_Code_Info",
                                             "Command_Code_Close",
                                             "Command_Start_Location_Cancel",
                                             "Command_quit",
                                             "Command_OK_For_Start_Location",
                                             "Input_Op_Code(0)",
                                             "Input_Memory_Address"}));
  expectEveryElementInsideItsContainer(input);
  expectUniqueDisplayNames(input);
  int inCodePanel = 0;
  for (const Element* e : input.elements())
    inCodePanel += e->container() == &input.Code_frame ? 1 : 0;
  EXPECT_EQ(inCodePanel, 9);
}

TEST(FormsLayoutWelcome, BeforeItsLoadStep) {
  testing::FakePlatform platform;
  Application app{platform};
  const Initial_Screen screen{app};  // the layout alone, without the load step
  EXPECT_EQ(screen.Caption(), "VOLPAR Educational Systems");
  EXPECT_EQ(screen.clientWidth(), 11340);
  EXPECT_EQ(screen.clientHeight(), 6960);
  EXPECT_EQ(screen.Label_Welcome.Caption(), "Welcome to the VOLPAR Computer");
  EXPECT_EQ(screen.Label_Welcome.font(), (ui::Font{"MS Sans Serif", 24, false}));
  EXPECT_EQ(screen.Label_Any_key.Caption(), "Press Any Key to Continue");
  EXPECT_EQ(screen.Version.Text(), " Version 1.05");
  EXPECT_EQ(screen.Version.backColor(), ui::kLightGrey);
  EXPECT_TRUE(screen.Address.MultiLine());
  EXPECT_GE(std::count(screen.Address.Text().begin(), screen.Address.Text().end(), '\n'), 2);
  EXPECT_EQ(screen.Address.backColor(), ui::kGreen);
  expectEveryElementInsideItsContainer(screen);
  expectUniqueDisplayNames(screen);
}

}  // namespace
}  // namespace volpar
