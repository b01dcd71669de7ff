// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "storage/program_file_text.h"

namespace volpar::storage {

// A program carried in a link's fragment, which the browser never sends anywhere:
// "m=" and 64 hexadecimal digits, two for each memory byte from address 0 on, the most
// significant bit first. Memory whose cells a program file marked "x" (black) adds
// "&x=" and 64 digits more, whose set bits are the black cells; a link without it has
// none, so an ordinary program's link stays the short one.
inline constexpr std::string_view kProgramLinkStart = "m=";

// The title of the message about a link that holds no program.
inline constexpr const char* kProgramLinkTitle = i18n::mark("VOLPAR -- PROGRAM LINK");

// The fragment (without "#") that carries the 32 byte texts, "0", "1" and "x" per bit.
std::string programLink(const ByteTexts& bytes);

struct LinkedProgram {
  std::optional<ByteTexts> bytes;  // each address's eight characters "0", "1" or "x"
  std::string problem;             // otherwise what the user is told, in full
};

// Reads a fragment that starts with "m=" (the caller passes over any other). A damaged one
// (cut short, too long, a character that is no hexadecimal digit, a bit both 1 and black,
// anything after the program) gives no bytes and the message that says why.
LinkedProgram readProgramLink(std::string_view fragment);

}  // namespace volpar::storage
