#include "screens/execution/REXEC.h"

namespace volpar {

void REXEC::Command_View_Memory_Click() {}
void REXEC::Command_Return_to_Input_Click() {}

}  // namespace volpar
