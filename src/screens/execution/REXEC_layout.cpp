// SPDX-License-Identifier: GPL-3.0-or-later
// The execution screen as it is when created: every element's caption, initial state,
// place (twips, relative to its form or frame) and colours. Handlers are connected only
// after this, so nothing here raises an event.
#include <array>
#include <iterator>
#include <memory>
#include <string>
#include <utility>

#include "i18n/text.h"
#include "screens/execution/REXEC.h"
#include "screens/layout.h"

namespace volpar {

namespace {

using screens::put;
using screens::putButton;
using screens::putFrame;
using screens::putLabel;
using ui::Color;
using ui::Rect;

// A label inside a register frame: it shares the frame's light yellow.
void putFrameLabel(ui::Label& l, std::string caption, Rect r, ui::Frame& in) {
  putLabel(l, std::move(caption), r, ui::kLightYellow, &in);
}

// A decimal label of a register: empty until the machine first writes it.
void putDecimal(ui::Label& l, int left, int top, ui::Frame& in, int width = 375,
                Color back = ui::kWhite) {
  putLabel(l, "", Rect{left, top, width, 255}, back, &in);
}

}  // namespace

void REXEC::layOutPhaseTable() {
  setCaption(i18n::mark("VOLPAR Execution Screen"));
  setBackColor(ui::kLightYellow);
  setClientSize(11415, 7695);
  setPosition(15, 1380);
  setFont(ui::Font{"MS Sans Serif", 8.25, true});

  layOutClockColumn();
  layOutPhaseCells();
  layOutLamps();
  put(Shape1, Rect{2760, 3840, 135, 255});
  layOutDataPathLines();
}

void REXEC::layOutClockColumn() {
  static constexpr std::array<int, 8> kRowTop{840, 1080, 1320, 1560, 1800, 4680, 6000, 6960};
  const std::array<ui::Label*, 8> clockLabels{&Label_T0, &Label_T1, &Label_T2, &Label_T3,
                                              &Label_T4, &Label_T5, &Label_T6, &Label_T7};
  for (int k = 0; k < 8; ++k) {
    const int top = kRowTop[static_cast<std::size_t>(k)];
    put(Shape_Clock(k), Rect{720, top, 135, 135});
    putLabel(*clockLabels[static_cast<std::size_t>(k)], "T=" + std::to_string(k),
             Rect{960, top, 495, 255});
  }
  putLabel(Label_Ready, i18n::mark("Ready"), Rect{2400, 840, 615, 255});
  putLabel(Label_PCAR, i18n::mark("Copy Program Counter To Address Register"),
           Rect{2400, 1080, 3855, 255});
  putLabel(Label_MIR, i18n::mark("Copy Memory to Instruction Register"),
           Rect{2400, 1320, 3255, 255});
  putLabel(Label_IPC, i18n::mark("Increment Program Counter"), Rect{2400, 1560, 2415, 255});
}

void REXEC::layOutPhaseCells() {
  struct Row {
    ui::Shape& cell;
    int cellTop;
    int cellLeft;
    ui::Label& label;
    int labelTop;
    int labelLeft;
    int labelHeight;
    const char* caption;
  };
  const Row rows[] = {
      {SHAPET4(0), 1935, 1800, Label_ADD1, 1920, 2040, 195, i18n::mark("Add")},
      {SHAPET4(1), 2160, 1800, Label_LOAD1, 2160, 2040, 255, i18n::mark("Load")},
      {SHAPET4(2), 2400, 1800, Label_STORE1, 2400, 2040, 255, i18n::mark("Store")},
      {SHAPET4(3), 2640, 1800, Label_INPUT1, 2640, 2040, 255, i18n::mark("Input")},
      {SHAPET4(4), 2880, 1800, Label_OUTPUT1, 2850, 2040, 255, i18n::mark("Output")},
      {SHAPET4(5), 3120, 1800, Label_BRANCH, 3120, 2040, 255, i18n::mark("Branch")},
      {SHAPET4(6), 3360, 1800, Label_BR_NEG1, 3360, 2040, 255, i18n::mark("Br Neg")},
      {SHAPET4(7), 3720, 1800, Label_S7A, 3720, 2040, 255, "S7"},
      {SHAPET4(8), 4080, 1800, Label_BR_NN1, 4080, 2040, 255, i18n::mark("Br NNeg")},
      {shapet5(0), 4920, 1800, Label_ADD2, 4875, 2040, 255, i18n::mark("Add")},
      {shapet5(1), 5175, 1800, Label_LOAD2, 5160, 2040, 255, i18n::mark("Load")},
      {shapet5(2), 5520, 1800, Label_STORE2, 5520, 2040, 255, i18n::mark("Store")},
      {shapet5(3), 5790, 1800, Label_OUTPUT2, 5760, 2040, 255, i18n::mark("Output")},
      {shapet6(0), 6165, 1785, Label_ADD3, 6120, 2040, 255, i18n::mark("Add")},
      {shapet6(1), 6480, 1800, Label_INPUT2, 6480, 2040, 255, i18n::mark("Input")},
      {shapet6(2), 6720, 1800, Label_OUTPUT3, 6720, 2040, 255, i18n::mark("Output")},
      {shapet7(0), 7110, 1800, Label_ADD4, 7080, 2040, 255, i18n::mark("Add")},
      {shapet7(1), 7365, 1800, Label_INPUT3, 7350, 2025, 255, i18n::mark("Input")},
  };
  for (const Row& r : rows) {
    put(r.cell, Rect{r.cellLeft, r.cellTop, 135, 135});
    // Wide enough for the longest name, short of the gate drawing at 2760.
    putLabel(r.label, r.caption, Rect{r.labelLeft, r.labelTop, 720, r.labelHeight});
  }
}

void REXEC::layOutLamps() {
  struct Row {
    ui::Shape& lamp;
    int top;
    ui::Label& label;
    const char* caption;
    int labelHeight;
  };
  const Row rows[] = {
      {shape_irar, 2160, Label_IR_To_AR,
       i18n::mark("Copy Instruction Register to Address Register."), 615},
      {shape_irpc, 3240, Label_IR_To_PC, i18n::mark("Copy Instruction Register to Program Counter"),
       615},
      {Shapemy, 4680, Label_Copy_memory_To_Y, i18n::mark("Copy Memory to Y"), 255},
      {shapemt, 5040, Label_Copy_Memory_to_S, i18n::mark("Copy Memory to S"), 255},
      {Shapetm, 5400, Label_Copy_S_To_Memory, i18n::mark("Copy S to Memory"), 255},
      {Shapeto, 5760, Label_Copy_S_To_Output, i18n::mark("Copy S to Output"), 255},
      {Shapetx, 6120, Label_Copy_S_To_X, i18n::mark("Copy S to X"), 255},
      {Shape_Stop, 6480, Label_Stop, i18n::mark("Stop"), 255},
      {Shapexyt, 6960, Label_XY_To_S, i18n::mark("X + Y to S"), 255},
      {Shapeit, 7320, Label_Copy_Input_To_S, i18n::mark("Copy Input to S"), 255},
  };
  for (const Row& r : rows) {
    put(r.lamp, Rect{3960, r.top, 135, 255});
    // Up to the register frames at 5880; the two long captions wrap onto more lines.
    putLabel(r.label, r.caption, Rect{4200, r.top, 1575, r.labelHeight});
  }
}

void REXEC::layOutDataPathLines() {
  struct Segment {
    const char* name;
    int x1, y1, x2, y2;
  };
  // Form coordinates. Stems from the clock column to the rows of every phase:
  static constexpr Segment kSegments[] = {
      {"Line1", 1440, 960, 2280, 960},
      {"Line2", 1440, 1200, 2280, 1200},
      {"Line3", 1440, 1440, 2280, 1440},
      {"Line5", 1440, 1680, 2280, 1680},
      {"Line4", 1440, 1890, 3480, 1890},
      {"Line16", 1695, 3075, 1695, 1875},
      {"Line7", 1695, 3075, 3600, 3075},
      {"Line8", 1440, 4800, 3600, 4800},
      {"Line17", 1680, 5760, 1680, 4800},
      {"Line9", 1680, 5130, 3615, 5130},
      {"Line10", 1680, 5400, 3600, 5400},
      {"Line11", 1680, 5760, 3600, 5760},
      {"Line12", 1440, 6120, 3600, 6120},
      {"Line18", 1680, 6120, 1680, 6360},
      {"Line13", 1680, 6360, 3600, 6360},
      {"Line14", 1440, 7080, 3600, 7080},
      {"Line20", 1680, 7320, 1680, 7080},
      {"Line15", 1680, 7320, 3600, 7320},
      // The T4 gates that choose between IR to AR and IR to PC:
      {"Line32", 3480, 2520, 3480, 1890},
      {"Line34", 3240, 2520, 3000, 2010},
      {"Line33", 3000, 3000, 3000, 2010},
      {"Line40", 2760, 2055, 3000, 2055},
      {"Line39", 2760, 2280, 3000, 2280},
      {"Line21", 3480, 2280, 3960, 2280},
      {"Line38", 2760, 2520, 3000, 2520},
      {"Line35", 3000, 3000, 3240, 2520},
      {"Line41", 3240, 2520, 3480, 2520},
      {"Line37", 2760, 2760, 3000, 2760},
      {"Line36", 2760, 2955, 3000, 2955},
      {"Line44", 3600, 3720, 3600, 3075},
      {"Line48", 3240, 4200, 3240, 3180},
      {"Line46", 3240, 3195, 3480, 3720},
      {"Line49", 2760, 3255, 3240, 3255},
      {"Line23", 3600, 3360, 3960, 3360},
      {"Line52", 2760, 3480, 3000, 3480},
      {"Line51", 3000, 3720, 3000, 3480},
      {"Line50", 3000, 3600, 3240, 3600},
      {"Line22", 3000, 3720, 2520, 3720},
      {"Line6", 2520, 3720, 2520, 3960},
      {"Line47", 3240, 4200, 3480, 3720},
      {"Line45", 3480, 3720, 3600, 3720},
      {"Line42", 2520, 3840, 2400, 3840},
      {"Line81", 2640, 4080, 2640, 3840},
      {"Line19", 2640, 3840, 2760, 3960},
      {"Line82", 2520, 3960, 2640, 3960},
      {"Line80", 2640, 4080, 2760, 3960},
      {"Line53", 2880, 3960, 3000, 3960},
      {"Line84", 3000, 4200, 3000, 3960},
      {"Line86", 3000, 4080, 3240, 4080},
      {"Line83", 2880, 4200, 3000, 4200},
      // The connections of T5 to T7 to their lamps:
      {"Line24", 3600, 4800, 3960, 4800},
      {"Line54", 3615, 4980, 3615, 4800},
      {"Line55", 2550, 4980, 3630, 4980},
      {"Line56", 3600, 5280, 3600, 5130},
      {"Line25", 3600, 5160, 3960, 5160},
      {"Line57", 2520, 5280, 3600, 5280},
      {"Line58", 3600, 5640, 3600, 5400},
      {"Line26", 3960, 5520, 3600, 5520},
      {"Line59", 2640, 5640, 3600, 5640},
      {"Line60", 3600, 5880, 3600, 5760},
      {"Line61", 2760, 5880, 3600, 5880},
      {"Line27", 3600, 5880, 3960, 5880},
      {"Line62", 3600, 6240, 3600, 6120},
      {"Line28", 2520, 6240, 3960, 6240},
      {"Line63", 3600, 6360, 3600, 6720},
      {"Line67", 3240, 6960, 3240, 6480},
      {"Line65", 3240, 6480, 3360, 6720},
      {"Line72", 2640, 6600, 3000, 6600},
      {"Line68", 3000, 6600, 3240, 6600},
      {"Line29", 3600, 6600, 3960, 6600},
      {"Line66", 3240, 6960, 3360, 6720},
      {"Line64", 3360, 6720, 3600, 6720},
      {"Line74", 2760, 6840, 3000, 6840},
      {"Line69", 3000, 6840, 3240, 6840},
      {"Line76", 3600, 7200, 3600, 7080},
      {"Line30", 3600, 7080, 3960, 7080},
      {"Line77", 2640, 7200, 3600, 7200},
      {"Line78", 3600, 7440, 3600, 7320},
      {"Line79", 2640, 7440, 3600, 7440},
      {"Line31", 3600, 7440, 3960, 7440},
  };
  dataPathLines.clear();
  dataPathLines.reserve(std::size(kSegments));
  for (const Segment& s : kSegments) {
    dataPathLines.push_back(std::make_unique<ui::Line>(*this, s.name, s.x1, s.y1, s.x2, s.y2));
  }
}

void REXEC::layOutRegisters() {
  layOutAddressRegisters();
  layOutDecoder();
  layOutAluAndOutput();
}

void REXEC::layOutAddressRegisters() {
  putFrame(Label_Window_PC, i18n::mark("Program Counter"), Rect{7200, 840, 2895, 735},
           ui::kLightYellow);
  for (int i = 4; i <= 8; ++i)
    put(ShapePC(i), Rect{240 + 360 * (i - 4), 360, 255, 255}, &Label_Window_PC);
  putDecimal(Register_PC_Decimal, 2160, 360, Label_Window_PC);

  putFrame(Label_Window_IR, i18n::mark("Instruction Register"), Rect{5880, 1680, 4215, 735},
           ui::kLightYellow);
  for (int i = 1; i <= 3; ++i)
    put(SHAPE_IR(i), Rect{120 + 360 * (i - 1), 360, 255, 255}, &Label_Window_IR);
  for (int i = 4; i <= 8; ++i)
    put(SHAPE_IR(i), Rect{1560 + 360 * (i - 4), 360, 255, 255}, &Label_Window_IR);
  putDecimal(IR_Address_Decimal, 3480, 360, Label_Window_IR, 375, ui::kWindowBackground);

  putFrame(Label_Window_AR, i18n::mark("Address Register"), Rect{7320, 2520, 2775, 735},
           ui::kLightYellow);
  for (int i = 4; i <= 8; ++i)
    put(Shapear(i), Rect{120 + 360 * (i - 4), 360, 255, 255}, &Label_Window_AR);
  putDecimal(Register_Address_Decimal, 2040, 360, Label_Window_AR);

  putFrame(Memory, i18n::mark("Memory (PC)"), Rect{7320, 3480, 2775, 495}, ui::kLightYellow);
  // Element 0 holds no bit of the word: it exists but has no place on the screen.
  put(Register_Memory(0), Rect{0, 240, 255, 135}, &Memory);
  Register_Memory(0).setVisible(false);
  for (int i = 1; i <= 8; ++i) put(Register_Memory(i), Rect{240 * i, 240, 255, 135}, &Memory);
}

void REXEC::layOutDecoder() {
  putFrame(Label_Window_Decoder, i18n::mark("Decoder"), Rect{5880, 2520, 1335, 3375},
           ui::kLightYellow);
  const std::array<std::pair<ui::Label*, const char*>, 8> names{{
      {&Label_ADD5, "ADD"},
      {&Label_LOAD3, "LOAD"},
      {&Label_STORE3, "STORE"},
      {&Label_INPUT4, "INPUT"},
      {&Label_OUTPUT4, "OUTPUT"},
      {&Label_BRANCH2, "BRANCH"},
      {&Label_NEG2, "BR Neg"},
      {&Label_BR_NN2, "BR NNeg"},
  }};
  for (int k = 1; k <= 8; ++k) {
    const int top = 360 + 360 * (k - 1);
    const auto& [label, caption] = names[static_cast<std::size_t>(k - 1)];
    putFrameLabel(*label, caption, Rect{120, top, 780, 255}, Label_Window_Decoder);
    put(SHAPEID(k), Rect{960, top, 255, 255}, &Label_Window_Decoder);
  }
}

void REXEC::layOutAluAndOutput() {
  putFrame(Label_Window_ALU, i18n::mark("Arithmetic Logic Unit"), Rect{7320, 4200, 2775, 1455},
           ui::kLightYellow);
  putFrameLabel(Label_X1, "X", Rect{120, 360, 135, 255}, Label_Window_ALU);
  putFrameLabel(Label_Y1, "Y", Rect{120, 720, 135, 255}, Label_Window_ALU);
  putFrameLabel(Label_S1, "S", Rect{120, 1080, 135, 255}, Label_Window_ALU);
  for (int i = 1; i <= 8; ++i) {
    const int left = 360 + 240 * (i - 1);
    put(Shape_x(i), Rect{left, 360, 135, 135}, &Label_Window_ALU);
    put(shapey(i), Rect{left, 720, 135, 135}, &Label_Window_ALU);
    put(Shapet(i), Rect{left, 1080, 135, 135}, &Label_Window_ALU);
  }
  putFrameLabel(Label_Plus_Sign, "+", Rect{1215, 480, 105, 240}, Label_Window_ALU);
  putFrameLabel(Label_Equal_Sign, "=", Rect{1230, 840, 105, 240}, Label_Window_ALU);
  putDecimal(Register_X_Decimal, 2280, 300, Label_Window_ALU);
  putDecimal(Register_Y_Decimal, 2280, 660, Label_Window_ALU);
  putDecimal(Register_S_Decimal, 2285, 1020, Label_Window_ALU);

  putFrame(Label_Window_Output, i18n::mark("OUTPUT - Address 0"), Rect{5880, 6000, 2775, 615},
           ui::kLightYellow);
  for (int i = 1; i <= 8; ++i) {
    put(Shapeo(i), Rect{120 + 240 * (i - 1), 360, 135, 135}, &Label_Window_Output);
  }
  putDecimal(Register_Output_Decimal, 2040, 240, Label_Window_Output, 495);
}

void REXEC::layOutButtons() {
  struct Row {
    ui::CommandButton& button;
    const char* caption;
    int top;
    int width;
    int height;
    Color back;
  };
  const Row rows[] = {
      {Command_Begin_Step, i18n::mark("&Begin"), 960, 1095, 615, ui::kWindowBackground},
      {Command_Resume, i18n::mark("Re&sume"), 1560, 1095, 615, ui::kButtonFace},
      {Command_Pause, i18n::mark("&Pause at T= 0"), 2160, 1095, 615, ui::kWindowBackground},
      {Command_One_instruction, i18n::mark("E&xecute 1 Instruction"), 2760, 1095, 615,
       ui::kButtonFace},
      {Command_View_Memory, i18n::mark("&View Memory"), 3600, 855, 615, ui::kWindowBackground},
      {Command_Return_to_Input, i18n::mark("&Return to Input"), 4200, 855, 615, ui::kButtonFace},
      {Command_Options, i18n::mark("&Options"), 5040, 855, 495, ui::kWindowBackground},
      {Command_Restart, i18n::mark("R&estart"), 5760, 855, 615, ui::kWindowBackground},
      {Command_Quit, i18n::mark("&Quit"), 6360, 855, 615, ui::kWindowBackground},
  };
  for (const Row& r : rows)
    putButton(r.button, r.caption, Rect{10320, r.top, r.width, r.height}, r.back);
  Command_Pause.setEnabled(false);
  Command_Begin_Step.setDefault(true);

  // The automatic clock; Begin/Step starts it.
  Timer1.setEnabled(false);
  Timer1.setInterval(1000);
}

void REXEC::layOutOptions() {
  ui::Frame* const in = &OPTIONS_FRAME;
  putFrame(OPTIONS_FRAME, i18n::mark("OPTIONS"), Rect{6600, 4080, 3495, 2895}, ui::kPanelGrey);
  OPTIONS_FRAME.setVisible(false);

  put(manual_radio, Rect{120, 360, 2535, 255}, in);
  manual_radio.setCaption(i18n::mark("Manual clock advance"));
  put(automatic_radio, Rect{120, 600, 2655, 255}, in);
  automatic_radio.setCaption(i18n::mark("Automatic clock advance"));
  for (ui::OptionButton* b : {&manual_radio, &automatic_radio}) {
    b->setBackColor(ui::kWhite);
    b->setVisible(false);
  }
  automatic_radio.setValue(true);

  putLabel(Label_Show_clock_Stuff,
           i18n::mark("Change to Manual Mode only when T = 0. Click on \"Pause at T=0.\""),
           Rect{240, 960, 3015, 495}, ui::kPanelGrey, in);
  putLabel(Label_Slow, i18n::mark("Slow"), Rect{600, 1440, 495, 255}, ui::kWhite, in);
  putLabel(Label_Fast, i18n::mark("Fast"), Rect{2040, 1440, 495, 255}, ui::kWhite, in);
  for (ui::Label* l : {&Label_Slow, &Label_Fast}) {
    l->setFont(screens::kSystemBold);
    l->setForeColor(ui::kBlack);
    l->setVisible(false);
    l->setEnabled(false);
  }
  putLabel(Hertz, i18n::mark("Hertz"), Rect{2640, 1440, 615, 255}, ui::kInherit, in);

  put(time_scroll, Rect{600, 1800, 1935, 255}, in);
  time_scroll.setRange(1, 1000, 10, 10);
  time_scroll.setValue(1);
  time_scroll.setVisible(false);
  time_scroll.setEnabled(false);
  putLabel(Time_Hertz, "", Rect{2640, 1800, 615, 255}, ui::kInherit, in);

  putButton(Command_Options_Close, i18n::mark("&Close"), Rect{1920, 2280, 735, 495},
            ui::kButtonFace, in);
  Command_Options_Close.setVisible(false);

  put(Stop_For_Output, Rect{120, 2400, 1695, 255}, in);
  Stop_For_Output.setCaption(i18n::mark("Stop for Output"));
  Stop_For_Output.setBackColor(ui::kWhite);
  Stop_For_Output.setValue(1);
  Stop_For_Output.setVisible(false);
  Stop_For_Output.setEnabled(false);
}

void REXEC::layOutInputWindow() {
  ui::Frame* const in = &Input_Window;
  putFrame(Input_Window, i18n::mark("INPUT - Address 1"), Rect{5880, 6720, 4215, 855},
           ui::kLightYellow);
  Input_Window.setEnabled(false);
  // Created in index order, so Tab runs through the bit boxes from left to right.
  for (int i = 1; i <= 8; ++i) {
    ui::TextBox& box = Input_bit(i);
    put(box, Rect{240 * i, 360, 255, 375}, in);
    box.setBackColor(ui::kWindowBackground);
    box.setMaxLength(1);  // as on the input screen: "01" can never be typed
    box.setText("0");
    box.setEnabled(false);
  }
  put(Text_Input_Decimal, Rect{2400, 360, 495, 375}, in);
  Text_Input_Decimal.setBackColor(ui::kWindowBackground);
  Text_Input_Decimal.setText("0");
  putButton(Command_Input_Window_OK, i18n::mark("Re&sume"), Rect{3240, 360, 855, 375},
            ui::kButtonFace, in);
  Command_Input_Window_OK.setEnabled(false);
}

// Down the buttons, then the panels that open beside them: the options (the clock mode
// choices, the speed, Stop for Output, Close) and the INPUT window (its bits, the
// decimal box, Resume).
void REXEC::orderTabs() {
  std::vector<ui::Element*> order = {&Command_Begin_Step,  &Command_Resume,
                                     &Command_Pause,       &Command_One_instruction,
                                     &Command_View_Memory, &Command_Return_to_Input,
                                     &Command_Options,     &Command_Restart,
                                     &Command_Quit,        &manual_radio,
                                     &automatic_radio,     &time_scroll,
                                     &Stop_For_Output,     &Command_Options_Close};
  for (int i = 1; i <= 8; ++i) order.push_back(&Input_bit(i));
  order.insert(order.end(), {&Text_Input_Decimal, &Command_Input_Window_OK});
  setTabOrder(std::move(order));
}

}  // namespace volpar
