#include "screens/input/DERAZO_Input.h"

namespace volpar {

void DERAZO_Input::Open_menu_Click() {}
void DERAZO_Input::save_menu_Click() {}
void DERAZO_Input::exit_menu_Click() {}
void DERAZO_Input::file_menu_Click() {}
void DERAZO_Input::cont_menu_Click() {}
void DERAZO_Input::Command_Code_Info_Click() {}
void DERAZO_Input::Command_Code_Close_Click() {}

}  // namespace volpar
