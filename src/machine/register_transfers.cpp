#include "machine/register_transfers.h"

#include "machine/REXEC_Manual.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"

namespace volpar::transfers {

using ui::kRed;
using ui::kWhite;
using ui::kYellow;

void copyBits(const Cells& from, ui::Color fromOne, Cells& to, ui::Color toOne, int first,
              int last) {
  for (int i = first; i <= last; ++i) {
    to(i).setFillColor(from(i).FillColor() == fromOne ? toOne : kWhite);
  }
}

void readMemoryByte(const DERAZO_Input& input, int address, Cells& reg) {
  for (int j = 1; j <= 8; ++j) {
    reg(j).setFillColor(input.Shape1(8 * address + j).FillColor() == kYellow ? kRed : kWhite);
  }
}

void writeMemoryByte(const Cells& s, DERAZO_Input& input, int address) {
  for (int j = 1; j <= 8; ++j) {
    input.Shape1(8 * address + j).setFillColor(s(j).FillColor() == kRed ? kYellow : kWhite);
  }
}

void writeNumber(Cells& cells, int first, int last, int value, ui::Color one) {
  for (int i = last; i >= first; --i) {
    cells(i).setFillColor(value % 2 != 0 ? one : kWhite);
    value /= 2;
  }
}

int fiveBitValue(const Cells& cells) {
  int value = 0;
  for (int i = 8, weight = 1; i >= 4; --i, weight *= 2) {
    if (cells(i).FillColor() == kYellow) value += weight;
  }
  return value;
}

void refreshCaption(const Cells& reg, ui::Label& caption) {
  const int value = REXEC_Manual::Bits_To_Number(
      reg(8).FillColor(), reg(7).FillColor(), reg(6).FillColor(), reg(5).FillColor(),
      reg(4).FillColor(), reg(3).FillColor(), reg(2).FillColor(), reg(1).FillColor(), true);
  caption.setCaption(DecimalText(value));
}

void refreshNegativeFlag(REXEC& rexec) {
  rexec.SHAPET4(7).setFillColor(rexec.Shapet(1).FillColor() == kRed ? kRed : kWhite);
}

}  // namespace volpar::transfers
