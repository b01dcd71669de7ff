// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <charconv>
#include <string_view>

#include "ui/colors.h"
#include "ui/control_array.h"
#include "ui/element.h"

namespace volpar {

class REXEC;
class DERAZO_Input;

// The register transfers the phase routines share. A register is a run of bit cells
// whose fill colour is the bit; its lowest index is the most significant bit. A bit is 1
// only when its cell holds exactly the register's colour for 1.
namespace transfers {

using Cells = ui::ControlArray<ui::Shape>;

// A value in plain decimal digits, no blank or leading zero, as the register captions show
// it. Formatted in place: a caption is written on most phases.
class DecimalText {
 public:
  explicit DecimalText(int value) {
    size_ = static_cast<std::size_t>(std::to_chars(digits_, digits_ + sizeof digits_, value).ptr -
                                     digits_);
  }
  operator std::string_view() const { return {digits_, size_}; }

 private:
  char digits_[11];  // any int, sign included
  std::size_t size_;
};

// Cells first..last of `to`, in ascending order, take `toOne` where the same cell of
// `from` is exactly `fromOne`, else white.
void copyBits(const Cells& from, ui::Color fromOne, Cells& to, ui::Color toOne, int first,
              int last);

// Cells 1..8 of `reg`, in ascending order, become red where the memory grid cell of the
// byte at `address` is exactly yellow; any other colour, black included, reads as 0.
void readMemoryByte(const DERAZO_Input& input, int address, Cells& reg);

// The byte at `address` of the memory grid becomes S: yellow where S is red, else white.
void writeMemoryByte(const Cells& s, DERAZO_Input& input, int address);

// Cells last down to first take the bits of `value` by repeated halving: `last` gets
// the least significant bit.
void writeNumber(Cells& cells, int first, int last, int value, ui::Color one);

// The value of the five-bit register cells 4..8 (PC or AR): yellow cells only.
int fiveBitValue(const Cells& cells);

// The decimal label of an 8-bit register becomes Bits_To_Number of cells 8 down to 1.
void refreshCaption(const Cells& reg, ui::Label& caption);

// The negative flag cell SHAPET4(7) shows the sign bit of S.
void refreshNegativeFlag(REXEC& rexec);

}  // namespace transfers
}  // namespace volpar
