#include "screens/input/DERAZO_Input.h"

namespace volpar {

void DERAZO_Input::layOutEntry() {}
void DERAZO_Input::layOutMemoryGrid() {}
void DERAZO_Input::layOutPanels() {}
void DERAZO_Input::layOutMenus() {}

}  // namespace volpar
