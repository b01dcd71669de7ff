// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace volpar {

class DERAZO_Input;

// One instruction byte in words, as the execution screen's decoder names it: the high three
// bits are the op code, the low five the address.
std::string_view opCodeName(int opCode);         // "LOAD", "BR NNeg"
std::string instructionText(int byte);           // "LOAD 5"
std::string bitsText(int value, int width = 8);  // "00100101"

// What the memory grid says about one row: "Address 5: 00100101 = 37 = LOAD 5". A black
// bit (loaded as "x") shows as x and counts as 0, as the engine reads it.
std::string memoryRowText(const DERAZO_Input& input, int address);

}  // namespace volpar
