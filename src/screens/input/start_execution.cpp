// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include "machine/REXEC_Manual.h"
#include "screens/execution/REXEC.h"
#include "screens/field_checks.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/screens.h"
#include "ui/colors.h"
#include "ui/platform.h"
#include "ui/text_value.h"

namespace volpar {

using screens::select;

void DERAZO_Input::Form_Load() {
  Show();
  select(Input_Bit(1), 1);
}

void DERAZO_Input::Form_Unload() { endProgramAfterAsking(); }

// Opens the start-location panel; OK takes over the default button until pressed.
void DERAZO_Input::Command_Execute_Program_Click() {
  label_execute.setVisible(true);
  Command_OK_For_Start_Location.setDefault(true);
  Command_OK_For_Start_Location.setVisible(true);
  EXEC_FRAME.setVisible(true);
  exec_text.setVisible(true);
  select(exec_text, 1);
  Command_Start_Location_Cancel.setVisible(true);
}

// OK always finds a valid start address.
void DERAZO_Input::exec_text_Change() {
  screens::checkLocation(screens_.platform(), exec_text, {5, 6, 7});
}

// Puts the machine at T0 with the program counter at the start address and every other
// cell white, in agreement with the "0" captions; the first pulse performs T1.
void DERAZO_Input::Command_OK_For_Start_Location_Click() {
  Command_Send_to_Memory.setDefault(true);
  REXEC& rexec = screens_.rexec();
  rexec.Show();
  REXEC_Manual& manual = screens_.manual();
  manual.At_Phase_Zero = true;
  manual.Clock_Phase = 1;

  rexec.Command_View_Memory.setEnabled(true);
  rexec.Command_Return_to_Input.setEnabled(true);
  rexec.Command_Begin_Step.setVisible(true);
  rexec.Command_Begin_Step.setEnabled(true);
  rexec.Command_Pause.setVisible(true);
  rexec.Command_Pause.setEnabled(false);
  rexec.Command_Resume.setVisible(true);
  rexec.Command_Resume.setEnabled(false);
  rexec.Command_One_instruction.setVisible(true);
  rexec.Command_One_instruction.setEnabled(true);

  rexec.whitenMachineCells();
  rexec.Shape_Clock(0).setFillColor(ui::kCyan);
  rexec.Register_PC_Decimal.setCaption(exec_text.Text());
  for (ui::Label* caption : {&rexec.Register_X_Decimal, &rexec.Register_Y_Decimal,
                             &rexec.Register_S_Decimal, &rexec.Register_Address_Decimal,
                             &rexec.Register_Output_Decimal, &rexec.IR_Address_Decimal}) {
    caption->setCaption("0");
  }
  // exec_text holds 0 to 31 after every change (exec_text_Change sees to it).
  const int start = ui::ValInt(exec_text.Text()) & 31;
  for (int i = 8; i >= 4; --i) {
    rexec.ShapePC(i).setFillColor((start & (1 << (8 - i))) != 0 ? ui::kYellow : ui::kWhite);
  }
  manual.runStarted();
}

ui::CommandButton* DERAZO_Input::enterButton(ui::Element* focused) {
  if (focused == &exec_text) return &Command_OK_For_Start_Location;
  return Form::enterButton(focused);
}

void DERAZO_Input::Command_Start_Location_Cancel_Click() { EXEC_FRAME.setVisible(false); }

void DERAZO_Input::Return_to_exec_screen_Click() {
  screens_.rexec().Show();
  Hide();
}

// Both screens are retired, not destroyed: this handler belongs to one of them and
// finishes on it; they are destroyed after the event.
void DERAZO_Input::Command_Restart_Click() {
  if (!mayDiscardProgram(Discarding::ByRestarting)) return;
  Screens& screens = screens_;
  screens.unloadDerazoInput();
  screens.unloadRexec();
  screens.derazoInput();
  screens.rexec();
}

void DERAZO_Input::Command_Quit_Click() { endProgramAfterAsking(); }

}  // namespace volpar
