// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/REXEC_Manual.h"
#include "machine/cell_reading.h"
#include "machine/register_transfers.h"
#include "screens/execution/REXEC.h"
#include "screens/screens.h"

namespace volpar {
namespace {

bool isOne(ui::Color c) {
  return machine::isOne(c, machine::kAddressOne) || machine::isOne(c, machine::kRegisterOne);
}

}  // namespace

// Colours come least significant first; yellow and red both count as 1, so the same
// helper reads the five-bit and the eight-bit registers.
std::int16_t REXEC_Manual::Bits_To_Number(ui::Color c1, ui::Color c2, ui::Color c3, ui::Color c4,
                                          ui::Color c5, ui::Color c6, ui::Color c7, ui::Color c8,
                                          bool Include_High_Bits) {
  int sum = (isOne(c1) ? 1 : 0) + (isOne(c2) ? 2 : 0) + (isOne(c3) ? 4 : 0) + (isOne(c4) ? 8 : 0) +
            (isOne(c5) ? 16 : 0);
  if (Include_High_Bits) {
    sum += (isOne(c6) ? 32 : 0) + (isOne(c7) ? 64 : 0) + (isOne(c8) ? 128 : 0);
  }
  return static_cast<std::int16_t>(sum);
}

// The taken branch: only the IR's address field reaches the PC.
void REXEC_Manual::Copy_IR_To_PC() {
  REXEC& rexec = screens_.rexec();
  transfers::copyBits(rexec.SHAPE_IR, ui::kRed, rexec.ShapePC, ui::kYellow, 4, 8);
  rexec.Register_PC_Decimal.setCaption(
      transfers::DecimalText(transfers::fiveBitValue(rexec.ShapePC)));
}

}  // namespace volpar
