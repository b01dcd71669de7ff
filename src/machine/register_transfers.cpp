// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/register_transfers.h"

#include "machine/REXEC_Manual.h"
#include "machine/cell_reading.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"

namespace volpar::transfers {

using ui::kRed;
using ui::kWhite;
using ui::kYellow;

namespace {

using Run = ui::ControlArray<ui::Shape>::Run;

// Cell i of `to` takes `toOne` where cell i of `from` is exactly `fromOne`, else white, in
// ascending order: every copy between registers and memory.
void copyRun(Run from, ui::Color fromOne, Run to, ui::Color toOne) {
  for (std::size_t i = 0; i < to.size(); ++i) {
    to[i]->setFillColor(from[i]->FillColor() == fromOne ? toOne : kWhite);
  }
}

Run memoryByte(const DERAZO_Input& input, int address) {
  return input.Shape1.run(8 * address + 1, 8 * address + 8);
}

}  // namespace

void copyBits(const Cells& from, ui::Color fromOne, Cells& to, ui::Color toOne, int first,
              int last) {
  copyRun(from.run(first, last), fromOne, to.run(first, last), toOne);
}

void readMemoryByte(const DERAZO_Input& input, int address, Cells& reg) {
  copyRun(memoryByte(input, address), kYellow, reg.run(1, 8), kRed);
}

void writeMemoryByte(const Cells& s, DERAZO_Input& input, int address) {
  copyRun(s.run(1, 8), kRed, memoryByte(input, address), kYellow);
}

void writeNumber(Cells& cells, int first, int last, int value, ui::Color one) {
  const Run run = cells.run(first, last);
  for (std::size_t i = run.size(); i-- > 0; value /= 2) {
    run[i]->setFillColor(value % 2 != 0 ? one : kWhite);
  }
}

int fiveBitValue(const Cells& cells) {
  int value = 0;
  for (const auto& cell : cells.run(4, 8))
    value = value * 2 + machine::isOne(cell->FillColor(), machine::kAddressOne);
  return value;
}

void refreshCaption(const Cells& reg, ui::Label& caption) {
  const Run r = reg.run(1, 8);
  const int value = REXEC_Manual::Bits_To_Number(
      r[7]->FillColor(), r[6]->FillColor(), r[5]->FillColor(), r[4]->FillColor(), r[3]->FillColor(),
      r[2]->FillColor(), r[1]->FillColor(), r[0]->FillColor(), true);
  caption.setCaption(DecimalText(value));
}

void refreshNegativeFlag(REXEC& rexec) {
  rexec.SHAPET4(7).setFillColor(rexec.Shapet(1).FillColor() == kRed ? kRed : kWhite);
}

}  // namespace volpar::transfers
