// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/REXEC_Manual.h"
#include "machine/cell_reading.h"
#include "machine/register_transfers.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/screens.h"
#include "ui/text_value.h"

namespace volpar {
namespace {

using ui::kCyan;
using ui::kWhite;
using ui::kYellow;

bool lit(const ui::Shape& cell) { return cell.FillColor() == machine::kDecoded; }

// PC + 1; 31 wraps to 0, so the PC never shows 32. The caption is written before the
// cells.
void incrementPC(REXEC& rexec) {
  const int v = ui::ValInt(rexec.Register_PC_Decimal.Caption());
  if (v == 31) {
    for (int i = 4; i <= 8; ++i) rexec.ShapePC(i).setFillColor(kWhite);
    rexec.Register_PC_Decimal.setCaption("0");
    return;
  }
  const int n = v + 1;
  rexec.Register_PC_Decimal.setCaption(transfers::DecimalText(n));
  transfers::writeNumber(rexec.ShapePC, 4, 8, n, kYellow);
}

// Op codes 000 to 100: the address field becomes the operand address.
void copyIRToAR(REXEC& rexec) {
  rexec.shape_irar.setFillColor(kCyan);
  transfers::copyBits(rexec.SHAPE_IR, ui::kRed, rexec.Shapear, kYellow, 4, 8);
  rexec.Register_Address_Decimal.setCaption(
      transfers::DecimalText(transfers::fiveBitValue(rexec.Shapear)));
}

}  // namespace

// Increment the program counter and show the memory word it now names.
void REXEC_Manual::Phase_T3() {
  REXEC& rexec = screens_.rexec();
  const DERAZO_Input& input = screens_.derazoInput();
  openPhase(rexec, 3);
  incrementPC(rexec);
  const int m = ui::ValInt(rexec.Register_PC_Decimal.Caption());
  transfers::readMemoryByte(input, m, rexec.Register_Memory);
  Clock_Phase = 4;
}

// Copy the address field into AR, or into PC for a taken branch. The decision comes
// from the phase cells T2 lit and the branch condition from the negative flag cell.
void REXEC_Manual::Phase_T4() {
  REXEC& rexec = screens_.rexec();
  openPhase(rexec, 4);
  ui::ControlArray<ui::Shape>& t4 = rexec.SHAPET4;
  if (lit(t4(0)) || lit(t4(1)) || lit(t4(2)) || lit(t4(3)) || lit(t4(4))) copyIRToAR(rexec);
  const bool negative = machine::isOne(t4(7).FillColor(), machine::kRegisterOne);
  const bool notNegative = t4(7).FillColor() == kWhite;
  if (lit(t4(5)) || (lit(t4(6)) && negative) || (lit(t4(8)) && notNegative)) {
    rexec.shape_irpc.setFillColor(kCyan);
    Copy_IR_To_PC();
  }
  Clock_Phase = 5;
}

}  // namespace volpar
