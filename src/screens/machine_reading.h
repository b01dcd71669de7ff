// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "ui/accessible_parts.h"
#include "ui/colors.h"

namespace volpar {
class REXEC;
class DERAZO_Input;
class Initial_Screen;
}  // namespace volpar

namespace volpar::screens {

// The machine in words, for a screen reader and for the plain-text summary: what each
// drawn part of a screen says now, read from its elements each time it is asked, never
// kept. Each screen offers its parts through Form::accessibleParts.
ui::AccessibleParts executionParts(const REXEC& rexec);
ui::AccessibleParts inputParts(const DERAZO_Input& input);
ui::AccessibleParts welcomeParts(const Initial_Screen& welcome);

// The registers, the negative flag, the decoder, the clock, the lit lamps and the INPUT
// window, in the order the screen draws them. Names are taken when this is called.
std::vector<ui::Reading> executionReadings(const REXEC& rexec);

// A memory row as the table says it: "00100101, LOAD 5" (a black bit loaded as "x"
// shows as x and counts as 0, as the engine reads it).
std::string memoryRowName(int address);  // "Address 5"
std::string memoryRowSaid(const DERAZO_Input& input, int address);
// The address the next Send to Memory writes, or -1 when the box holds none.
int entryLocation(const DERAZO_Input& input);

// Every reading, one "name: text" line each, then the memory rows.
std::string machineSummary(const REXEC& rexec, const DERAZO_Input* input);

// The bit cells of the registers, or of the memory grid.
std::vector<ui::BitCell> bitCells(const REXEC& rexec);
std::vector<ui::BitCell> bitCells(const DERAZO_Input& input);
// What a bit cell holds now: '1', '0', or 'x' for a black cell (loaded as "x"); the same for
// a cell of this fill whose 1 is `one`.
char bitMark(const ui::BitCell& cell);
char bitMark(ui::Color fill, ui::Color one);

}  // namespace volpar::screens
