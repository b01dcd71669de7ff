// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/cell_reading.h"

namespace volpar::machine {

char bitMark(ui::Color fill, ui::Color one) {
  if (isOne(fill, one)) return '1';
  return fill == kLoadedX ? 'x' : '0';
}

int cellsValue(const ui::ControlArray<ui::Shape>& cells, int first, int last, ui::Color one) {
  int value = 0;
  for (int k = first; k <= last; ++k)
    value = value * 2 + (isOne(cells(k).FillColor(), one) ? 1 : 0);
  return value;
}

int litIndex(const ui::ControlArray<ui::Shape>& cells, int first, int last, ui::Color lit) {
  for (int k = first; k <= last; ++k) {
    if (cells(k).FillColor() == lit) return k;
  }
  return -1;
}

}  // namespace volpar::machine
