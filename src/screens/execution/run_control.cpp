#include "screens/execution/REXEC.h"

namespace volpar {

void REXEC::Command_Begin_Step_Click() {}
void REXEC::Timer1_Timer() {}
void REXEC::Command_Pause_Click() {}
void REXEC::Command_Resume_Click() {}
void REXEC::Command_One_instruction_Click() {}
void REXEC::Command_Options_Click() {}
void REXEC::Command_Options_Close_Click() {}
void REXEC::automatic_radio_Click() {}
void REXEC::manual_radio_Click() {}
void REXEC::time_scroll_Change() {}
void REXEC::Command_Restart_Click() {}
void REXEC::Command_Quit_Click() {}
void REXEC::Form_Unload() {}

}  // namespace volpar
