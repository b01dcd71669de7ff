// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine/instruction_text.h"

#include <array>

#include "i18n/text.h"
#include "screens/input/DERAZO_Input.h"
#include "ui/colors.h"

namespace volpar {

std::string_view opCodeName(int opCode) {
  static constexpr std::array<std::string_view, 8> kNames{"ADD",    "LOAD",   "STORE",  "INPUT",
                                                          "OUTPUT", "BRANCH", "BR Neg", "BR NNeg"};
  return kNames[static_cast<std::size_t>(opCode & 7)];
}

std::string instructionText(int byte) {
  return std::string(opCodeName((byte >> 5) & 7)) + " " + std::to_string(byte & 31);
}

std::string bitsText(int value, int width) {
  std::string bits;
  for (int i = width - 1; i >= 0; --i) bits += ((value >> i) & 1) != 0 ? '1' : '0';
  return bits;
}

std::string memoryRowText(const DERAZO_Input& input, int address) {
  std::string bits;
  int value = 0;
  for (int j = 1; j <= 8; ++j) {
    const ui::Color c = input.Shape1(8 * address + j).FillColor();
    const bool one = c == ui::kYellow;
    bits += one ? '1' : c == ui::kBlack ? 'x' : '0';
    value = value * 2 + (one ? 1 : 0);
  }
  return i18n::fill(i18n::tr("Address %1"), {std::to_string(address)}) + ": " + bits + " = " +
         std::to_string(value) + " = " + instructionText(value);
}

}  // namespace volpar
