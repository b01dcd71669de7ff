// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/program_file_text.h"

namespace volpar::assembly {

// Program text: one statement a line, each part optional,
//
//     label:  MNEMONIC operand   ; comment
//
// - Mnemonics are the decoder's names, in any case: ADD LOAD STORE INPUT OUTPUT BRANCH, and
//   BRNEG / BRNNEG, also written "BR Neg" / "BR NNeg". The operand is an address 0 to 31
//   or a label; INPUT and OUTPUT may leave it out (0).
// - "DATA v" places a byte: 0 to 255, -128 to -1 (two's complement), or 0b and eight of
//   0, 1 and x (x a black cell, as in a program file). "ORG n" places the next byte at n.
//   Bytes no line places are 0.
// - A label starts with a letter or "_", then letters, digits and "_"; its case matters
//   ("Loop" and "loop" are two labels), and it may not be a mnemonic or directive in any
//   case. It names the address of the next byte placed, on its line or a later one.
// - Columns count characters from 1, a tab as one.

inline constexpr std::array<std::string_view, 8> kMnemonics{"ADD",    "LOAD",   "STORE", "INPUT",
                                                            "OUTPUT", "BRANCH", "BRNEG", "BRNNEG"};

// What is wrong at a place in the text; line 0 when it is the whole text.
struct Problem {
  int line = 0;
  int column = 0;
  std::string message;
  bool operator==(const Problem&) const = default;
};
// "line 4, column 9: "LAOD" is not an instruction; did you mean LOAD?"
std::string problemText(const Problem& problem);

// A text with more problems than this lists these and counts the rest.
inline constexpr std::size_t kMaxProblemsListed = 100;

struct Assembly {
  std::optional<storage::ByteTexts> bytes;  // only when there is no problem at all
  std::vector<Problem> problems;            // in the order of the text
  std::size_t problemsNotListed = 0;
  std::array<int, storage::kProgramBytes> lineOf{};  // the line that placed each byte, or 0
};

// Reads program text into the 32 bytes, as a program file holds them ("00100101", black
// cells "x"). Never throws; every problem is listed.
Assembly assemble(std::string_view text);

// The problems in one line each, with the count of those not listed.
std::string problemsText(const Assembly& assembly);

// The parts of one line, for colouring: where each starts (column from 1) and how long.
enum class TokenKind { Label, Mnemonic, Operand, Comment };
struct Token {
  TokenKind kind;
  int column;
  int length;
};
std::vector<Token> lineTokens(std::string_view line);

}  // namespace volpar::assembly
