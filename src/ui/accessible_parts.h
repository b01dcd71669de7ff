// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "i18n/text.h"
#include "ui/colors.h"
#include "ui/element.h"

namespace volpar::ui {

// What a form offers a screen reader beyond its controls, for each front end to present in
// its own way (the windows as accessible objects, the page as a hidden mirror). Texts are
// read from the elements each time they are asked for, never kept; the parts are valid
// while the form lives.

// A drawn part read as text: a register, the decoder, a row of the memory grid.
struct Reading {
  std::string name;                   // "Program Counter"
  std::function<std::string()> say;   // "5, binary 00101"
  const Element* place;               // where it is drawn
  const Element* placeEnd = nullptr;  // with this, a part drawn from `place` to here
};

// A control's name as the label beside it says it, and what it belongs to.
struct ControlName {
  const Element* control;
  std::string name;                          // "Bit 3"
  std::function<std::string()> description;  // "Memory location 5"; none when empty
};

// What the row the next entry goes to says after its text ("00100101, LOAD 5, entry location").
inline constexpr const char* kCurrentRowMark = i18n::mark("entry location");
// What a row's reading ends with when it is the current row: ", entry location".
std::string currentRowMark();

// Rows read one by one: the memory grid.
struct ReadingTable {
  std::string name;         // "Memory"
  std::string description;  // "32 rows, one per address"
  std::vector<Reading> rows;
  std::function<int()> current;  // the row the next entry goes to, -1 for none
};

// What a change of the table says, from its rows' texts before and now (as their `say`
// gives them, the entry row marked): "Address 0: 01100000, INPUT 0 stored; next location
// 1"; more rows than two in a word ("32 memory locations changed"); empty for none.
std::string tableNews(const ReadingTable& table, const std::vector<std::string>& before,
                      const std::vector<std::string>& now);

// A cell that holds one bit, and the colour that makes it a 1.
struct BitCell {
  const Shape* shape;
  Color one;
};

struct AccessibleParts {
  std::vector<ControlName> names;
  std::vector<Reading> readings;  // in the order the form draws them
  std::optional<ReadingTable> table;
  std::vector<BitCell> bitCells;
  // True while the clock runs on its own too fast to say each phase: a screen reader is
  // told that it runs, then nothing until it stops, and then where.
  std::function<bool()> quiet;
  // What the phase last performed did, in words ("AR ← PC (Copy Program Counter To
  // Address Register)"): the news of a phase says it right after the clock.
  std::function<std::string()> explanation;
};

}  // namespace volpar::ui
