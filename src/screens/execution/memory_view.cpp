// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/screens.h"

namespace volpar {

namespace {

// The entry controls of the input screen, which the memory view hides.
void showEntryControls(DERAZO_Input& input, bool show) {
  for (ui::Element* e : std::initializer_list<ui::Element*>{
           &input.Command_OK_For_Start_Location, &input.label_execute, &input.Instruction_in_Binary,
           &input.Instruction_in_Decimal, &input.Input_Op_Code(0), &input.Input_Memory_Address,
           &input.Label_Memory_Location, &input.exec_text, &input.EXEC_FRAME, &input.Code_frame,
           &input.memory_text, &input.Command_Code_Info, &input.Command_Send_to_Memory,
           &input.Command_Execute_Program}) {
    // Return to Input shows them all but the code panel, which stays closed.
    e->setVisible(show && e != &input.Code_frame);
  }
  for (int i = 1; i <= 8; ++i) input.Input_Bit(i).setVisible(show);
}

}  // namespace

void REXEC::Command_View_Memory_Click() {
  DERAZO_Input& input = screens_.derazoInput();
  input.Show();
  input.Return_to_exec_screen.setVisible(true);
  input.Return_to_exec_screen.SetFocus();
  showEntryControls(input, false);
}

void REXEC::Command_Return_to_Input_Click() {
  DERAZO_Input& input = screens_.derazoInput();
  input.Show();
  input.Return_to_exec_screen.setVisible(false);
  showEntryControls(input, true);
}

}  // namespace volpar
