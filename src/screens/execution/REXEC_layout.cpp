#include "screens/execution/REXEC.h"

namespace volpar {

void REXEC::layOutPhaseTable() {}
void REXEC::layOutRegisters() {}
void REXEC::layOutButtons() {}
void REXEC::layOutOptions() {}
void REXEC::layOutInputWindow() {}

}  // namespace volpar
