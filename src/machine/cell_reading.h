// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/colors.h"
#include "ui/control_array.h"
#include "ui/element.h"

namespace volpar::machine {

// How the machine is read from its cells, the one table everything that reads it follows
// (the engine, MachineView, the screen reader's readings, the history): a bit is 1 when its
// cell is exactly the colour of a 1 of its kind, and 0 in any other colour.
inline constexpr ui::Color kMemoryOne = ui::kYellow;   // a memory grid cell
inline constexpr ui::Color kAddressOne = ui::kYellow;  // a cell of PC or AR
// A cell of IR, the memory word, X, Y, S or Output, and the negative flag.
inline constexpr ui::Color kRegisterOne = ui::kRed;
inline constexpr ui::Color kDecoded = ui::kGreen;  // the decoder cell of the op code executing
inline constexpr ui::Color kLit = ui::kCyan;       // the clock cell of the phase, a lamp in use
inline constexpr ui::Color kLoadedX = ui::kBlack;  // a memory bit loaded as "x": counts as 0

inline bool isOne(ui::Color fill, ui::Color one) { return fill == one; }
// What a bit cell of this fill holds, whose 1 is `one`: '1', '0', or 'x' (loaded as "x").
char bitMark(ui::Color fill, ui::Color one);
// Cells first..last, the first most significant, as a number.
int cellsValue(const ui::ControlArray<ui::Shape>& cells, int first, int last, ui::Color one);
// The index of the first of the cells in colour `lit`, or -1 when none is.
int litIndex(const ui::ControlArray<ui::Shape>& cells, int first, int last, ui::Color lit);

}  // namespace volpar::machine
