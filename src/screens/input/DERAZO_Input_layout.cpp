// SPDX-License-Identifier: GPL-3.0-or-later
// The input screen as it is when created, in its entry arrangement: every element's
// caption or text, initial state, place (twips, relative to its form or frame), fonts and
// colours, the memory grid, the menus and the tab order. Handlers are connected only after
// this, so nothing here raises an event.
#include <array>
#include <string>

#include "i18n/text.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/layout.h"
#include "screens/screens.h"
#include "ui/platform.h"

namespace volpar {

namespace {

using screens::kSystemBold;
using screens::put;
using screens::putButton;
using screens::putLabel;
using ui::Rect;

const ui::Font kBoxFont{"MS Sans Serif", 12, true};
const ui::Font kCodeFont{"Courier", 9.75, true};

// Every text box starts at "0" and takes at most maxLength characters.
void putBox(ui::TextBox& t, Rect r, int maxLength, ui::Frame* in = nullptr) {
  put(t, r, in);
  t.setFont(kBoxFont);
  t.setBackColor(ui::kWindowBackground);
  t.setMaxLength(maxLength);
  t.setText("0");
}

}  // namespace

void DERAZO_Input::layOutEntry() {
  setCaption(i18n::mark("VOLPAR Input Screen"));
  setClientSize(10665, 8190);
  setBackColor(ui::kLightGreen);
  setFont(ui::Font{"MS Sans Serif", 8.25, true});

  putLabel(Instruction_in_Binary, i18n::mark("Enter Instruction in Binary"),
           Rect{1320, 840, 2655, 255}, ui::kLightGreen);
  Instruction_in_Binary.setFont(kSystemBold);
  for (int i = 1; i <= 8; ++i) putBox(Input_Bit(i), Rect{4080 + 600 * (i - 1), 720, 495, 495}, 1);
  putButton(Command_Execute_Program, i18n::mark("&Execute Program"), Rect{9240, 720, 1215, 495});

  putLabel(Instruction_in_Decimal, i18n::mark("Enter Instruction in Decimal"),
           Rect{1200, 1440, 2775, 255}, ui::kLightGreen);
  Instruction_in_Decimal.setFont(kSystemBold);
  putBox(Input_Op_Code(0), Rect{4080, 1320, 1695, 495}, 1);
  putBox(Input_Memory_Address, Rect{5880, 1320, 2895, 495}, 2);
  putButton(Command_Code_Info, i18n::mark("&Code information"), Rect{9240, 1320, 1215, 495});

  putLabel(Label_Memory_Location,
           i18n::mark("At which memory location would you like this byte stored?"),
           Rect{840, 1920, 3135, 495}, ui::kLightGreen);
  Label_Memory_Location.setFont(kSystemBold);
  Label_Memory_Location.setForeColor(ui::kBlack);
  putBox(memory_text, Rect{4080, 1920, 495, 420}, 2);
  putButton(Command_Send_to_Memory, i18n::mark("&Send to Memory"), Rect{6360, 1920, 2055, 495});
  Command_Send_to_Memory.setDefault(true);
  putButton(Command_quit, i18n::mark("&Quit"), Rect{9240, 2160, 1215, 495});
  putButton(Command_Restart, i18n::mark("&Restart"), Rect{9240, 2760, 1215, 495});

  putLabel(Label_MEMORY, i18n::mark("Random Access Memory (RAM)"), Rect{2040, 4800, 7575, 495},
           ui::kGreen);
  Label_MEMORY.setFont(ui::Font{"MS Sans Serif", 24, true});
  Label_MEMORY.setForeColor(ui::kBlack);
  putButton(Return_to_exec_screen, i18n::mark("R&eturn to Execution Screen"),
            Rect{7800, 4800, 2655, 495});
  Return_to_exec_screen.setVisible(false);
}

void DERAZO_Input::layOutMemoryGrid() {
  // Element 0 holds no bit; it is never shown, so it can never cover cell 65 beneath it.
  put(Shape1(0), Rect{3840, 5400, 135, 255});
  Shape1(0).setVisible(false);
  for (int cell = 1; cell <= 256; ++cell) {
    const int address = (cell - 1) / 8;
    const int bit = (cell - 1) % 8 + 1;
    put(Shape1(cell),
        Rect{1440 + 2400 * (address / 8) + 240 * (bit - 1), 5400 + 240 * (address % 8), 135, 255});
  }
  layOutAddressLabels();
}

void DERAZO_Input::layOutAddressLabels() {
  // The number in each address label's name, by address: one row per block of eight.
  static constexpr std::array<int, 32> kNameNumber{28, 2,  3,  4,  5,  6,  7,  8,   //
                                                   9,  10, 11, 12, 13, 14, 15, 16,  //
                                                   17, 18, 19, 20, 21, 22, 23, 29,  //
                                                   24, 25, 26, 27, 32, 33, 34, 35};
  static constexpr std::array<int, 4> kBlockLeft{1200, 3480, 5880, 8280};
  addressLabels.clear();
  addressLabels.reserve(kNameNumber.size());
  for (int address = 0; address < 32; ++address) {
    auto label = std::make_unique<ui::Label>(
        *this, "Label" + std::to_string(kNameNumber[static_cast<std::size_t>(address)]));
    const bool oneDigit = address < 10;
    // The one-digit 8 and 9 stand as close to their row as the two-digit labels end.
    const int left =
        (address == 8 || address == 9) ? 3600 : kBlockLeft[static_cast<std::size_t>(address / 8)];
    putLabel(*label, std::to_string(address),
             Rect{left, 5400 + 240 * (address % 8), oneDigit ? 135 : 255, 255}, ui::kLightGreen);
    addressLabels.push_back(std::move(label));
  }
}

void DERAZO_Input::layOutPanels() {
  layOutStartLocationPanel();
  layOutCodePanel();
}

void DERAZO_Input::layOutStartLocationPanel() {
  ui::Frame* const in = &EXEC_FRAME;
  screens::putFrame(EXEC_FRAME, i18n::mark("START LOCATION"), Rect{7680, 3240, 2775, 1695},
                    ui::kWindowBackground);
  EXEC_FRAME.setForeColor(ui::kWindowText);
  EXEC_FRAME.setVisible(false);

  putLabel(label_execute,
           i18n::mark("At which memory location would you like to  begin execution?"),
           Rect{240, 240, 2295, 615}, ui::kWindowBackground, in);
  label_execute.setForeColor(ui::kWindowText);
  label_execute.setVisible(false);
  putBox(exec_text, Rect{240, 1080, 615, 495}, 2, in);
  exec_text.setVisible(false);
  putButton(Command_OK_For_Start_Location, i18n::mark("&OK"), Rect{1080, 1080, 615, 495},
            ui::kButtonFace, in);
  putButton(Command_Start_Location_Cancel, i18n::mark("C&ancel"), Rect{1800, 1080, 855, 495},
            ui::kButtonFace, in);
  Command_Start_Location_Cancel.setVisible(false);
}

void DERAZO_Input::layOutCodePanel() {
  ui::Frame* const in = &Code_frame;
  screens::putFrame(Code_frame, i18n::mark("CODE INFORMATION"), Rect{240, 2640, 7815, 2415},
                    ui::kLightGrey);
  Code_frame.setVisible(false);

  struct Row {
    ui::Label& label;
    const char* caption;
    int top;
    int width;
  };
  const Row rows[] = {
      {Label_Description_ADD, i18n::mark("000 = Add :   X + Y -> S "), 360, 3735},
      {Label_Description_LOAD, i18n::mark("001 = Load:   Copy Memory to Register S."), 600, 7575},
      {Label_Description_STORE, i18n::mark("010 = Store:  Copy Register S to Memory."), 840, 7575},
      {Label_Description_INPUT, i18n::mark("011 = Input:  Copy Input to Register S."), 1080, 5415},
      {Label_Description_OUTPUT, i18n::mark("100 = Output: Copy Register S to Output."), 1320,
       5535},
      {Label_Description_BRANCH, i18n::mark("101 = Branch Unconditionally."), 1560, 4095},
      {Label_Description_BR_NEG, i18n::mark("110 = Branch if Negative."), 1800, 3495},
      {Label_Description_BR_NN, i18n::mark("111 = Branch if Not Negative."), 2040, 3975},
  };
  for (const Row& r : rows) {
    putLabel(r.label, r.caption, Rect{120, r.top, r.width, 255}, ui::kLightGrey, in);
    r.label.setFont(kCodeFont);
    r.label.setVisible(false);
  }
  putButton(Command_Code_Close, i18n::mark("C&lose"), Rect{6720, 1800, 735, 495}, ui::kButtonFace,
            in);
  Command_Code_Close.setVisible(false);
}

void DERAZO_Input::layOutMenus() {
  file_menu.setCaption(i18n::mark("&File"));
  Open_menu.setCaption(i18n::mark("&Open"));
  Open_menu.setShortcut("Ctrl+O");
  save_menu.setCaption(i18n::mark("&Save"));
  save_menu.setShortcut("Ctrl+S");
  exercise_menu.setCaption(i18n::mark("Open &Exercise..."));
  exercise_menu.setShortcut("Ctrl+E");
  exercise_menu.setVisible(screens_.platform().offersExercise());
  exit_menu.setCaption(i18n::mark("E&xit"));
  exit_menu.setShortcut("Ctrl+X");
  help_menu.setCaption(i18n::mark("&Help"));
  cont_menu.setCaption(i18n::mark("&Contents"));
  cont_menu.setShortcut("F1");
  cont_menu.setHelpContextID(1);
  history_menu.setCaption(i18n::mark("Execution &History"));
  history_menu.setShortcut("F2");
  history_menu.setVisible(screens_.platform().offersHistory());
  // Last of the layout steps, when every element exists.
  orderTabs();
}

// Along the drawing, left to right and top to bottom: the bit boxes, the op-code row,
// the memory location and Send to Memory, the buttons down the right, then each panel's
// own controls together (its box, OK and Cancel side by side).
void DERAZO_Input::orderTabs() {
  std::vector<ui::Element*> order;
  for (int i = 1; i <= 8; ++i) order.push_back(&Input_Bit(i));
  order.insert(order.end(),
               {&Command_Execute_Program, &Input_Op_Code(0), &Input_Memory_Address,
                &Command_Code_Info, &memory_text, &Command_Send_to_Memory, &Command_quit,
                &Command_Restart, &Command_Code_Close, &exec_text, &Command_OK_For_Start_Location,
                &Command_Start_Location_Cancel, &Return_to_exec_screen});
  setTabOrder(std::move(order));
}

}  // namespace volpar
