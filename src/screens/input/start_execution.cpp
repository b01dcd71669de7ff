#include "screens/input/DERAZO_Input.h"

namespace volpar {

void DERAZO_Input::Form_Load() {}
void DERAZO_Input::Form_Unload() {}
void DERAZO_Input::Command_Execute_Program_Click() {}
void DERAZO_Input::exec_text_Change() {}
void DERAZO_Input::Command_OK_For_Start_Location_Click() {}
void DERAZO_Input::Command_Start_Location_Cancel_Click() {}
void DERAZO_Input::Return_to_exec_screen_Click() {}
void DERAZO_Input::Command_Restart_Click() {}
void DERAZO_Input::Command_Quit_Click() {}

}  // namespace volpar
