// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/execution/REXEC.h"

#include "screens/machine_reading.h"
#include "screens/screens.h"
#include "ui/colors.h"
#include "ui/platform.h"

namespace volpar {

REXEC::REXEC(Screens& screens) : ui::Form("REXEC"), screens_(screens) {
  // Layout first: setting initial values must not raise any handler.
  layOutPhaseTable();
  layOutRegisters();
  layOutButtons();
  layOutOptions();
  layOutInputWindow();
  orderTabs();
  connectHandlers();
  accessibleParts = [this] { return screens::executionParts(*this); };
  sideBySide = 0;
}

void REXEC::connectHandlers() {
  Command_Begin_Step.onClick = [this] { Command_Begin_Step_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  Command_Pause.onClick = [this] { Command_Pause_Click(); };
  Command_Resume.onClick = [this] { Command_Resume_Click(); };
  Command_One_instruction.onClick = [this] { Command_One_instruction_Click(); };
  Command_Options.onClick = [this] { Command_Options_Click(); };
  Command_Options_Close.onClick = [this] { Command_Options_Close_Click(); };
  automatic_radio.onClick = [this] { automatic_radio_Click(); };
  manual_radio.onClick = [this] { manual_radio_Click(); };
  time_scroll.onChange = [this] { time_scroll_Change(); };
  Command_Restart.onClick = [this] { Command_Restart_Click(); };
  Command_Quit.onClick = [this] { Command_Quit_Click(); };
  onUnload = [this] { Form_Unload(); };
  onHelp = [this] { Form_Help(); };
  for (int i = Input_bit.LBound(); i <= Input_bit.UBound(); ++i) {
    Input_bit(i).onChange = [this, i] { Input_bit_Change(i); };
  }
  Text_Input_Decimal.onChange = [this] { Text_Input_Decimal_Change(); };
  Command_Input_Window_OK.onClick = [this] { Command_Input_Window_OK_Click(); };
  Command_View_Memory.onClick = [this] { Command_View_Memory_Click(); };
  Command_Return_to_Input.onClick = [this] { Command_Return_to_Input_Click(); };
  // Where the system keeps a history of the run, F2 opens it and Ctrl+Z steps back.
  if (screens_.platform().offersHistory()) {
    keyCommands = {{"F2", [this] { screens_.platform().showHistory(); }},
                   {"Ctrl+Z", [this] { screens_.platform().stepBack(); }}};
  }
}

void REXEC::whitenMachineCells() {
  for (ui::ControlArray<ui::Shape>* cells :
       {&Shape_Clock, &SHAPET4, &shapet5, &shapet6, &shapet7, &ShapePC, &SHAPE_IR, &SHAPEID,
        &Shapear, &Register_Memory, &Shape_x, &shapey, &Shapet, &Shapeo}) {
    for (const auto& cell : *cells) cell->setFillColor(ui::kWhite);
  }
  for (ui::Shape* lamp : {&shape_irar, &shape_irpc, &Shapemy, &shapemt, &Shapetm, &Shapeto,
                          &Shapetx, &Shape_Stop, &Shapexyt, &Shapeit}) {
    lamp->setFillColor(ui::kWhite);
  }
}

}  // namespace volpar
