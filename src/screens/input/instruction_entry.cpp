#include "screens/input/DERAZO_Input.h"

namespace volpar {

void DERAZO_Input::Input_bit_Change(int) {}
void DERAZO_Input::Input_Op_Code_Change(int) {}
void DERAZO_Input::Input_Memory_Address_Change() {}
void DERAZO_Input::memory_text_Change() {}
void DERAZO_Input::Command_Send_to_Memory_Click() {}

}  // namespace volpar
