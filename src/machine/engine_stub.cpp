#include "machine/REXEC_Manual.h"

namespace volpar {

std::int16_t REXEC_Manual::Bits_To_Number(ui::Color, ui::Color, ui::Color, ui::Color, ui::Color,
                                          ui::Color, ui::Color, ui::Color, bool) {
  return 0;
}
void REXEC_Manual::Copy_IR_To_PC() {}
void REXEC_Manual::Run_Clock_Phase() {}
void REXEC_Manual::Phase_T0() {}
void REXEC_Manual::Phase_T1() {}
void REXEC_Manual::Phase_T2() {}
void REXEC_Manual::Phase_T3() {}
void REXEC_Manual::Phase_T4() {}
void REXEC_Manual::Phase_T5() {}
void REXEC_Manual::Phase_T6() {}
void REXEC_Manual::Phase_T7() {}

}  // namespace volpar
