#include "screens/execution/REXEC.h"

namespace volpar {

void REXEC::Input_bit_Change(int) {}
void REXEC::Text_Input_Decimal_Change() {}
void REXEC::Command_Input_Window_OK_Click() {}

}  // namespace volpar
