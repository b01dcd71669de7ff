// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/text.h"
#include "ui/colors.h"

namespace volpar::storage {

// A program file holds the 32 memory bytes in four sections of eight keys, "Byte0" in
// "First8" to "Byte31" in "Fourth8"; each value is eight characters, one per bit, the most
// significant first: "1" (yellow), "0" (white) or "x" (black).
inline constexpr int kProgramBytes = 32;
inline constexpr int kBitsPerByte = 8;

// No program file is anywhere near this size; larger files are refused unread.
inline constexpr std::size_t kMaxProgramFileBytes = std::size_t{1} << 20;

using ByteTexts = std::array<std::string, kProgramBytes>;

std::string sectionName(int address);
std::string keyName(int address);

// The colour a value gives bit 1..8 of its byte: only "x" is black and "0" white; any
// other character is a 1. A value shorter than the bit loads that bit as 0.
ui::Color bitColor(std::string_view value, int bit);
// The character that stands for a memory cell of this colour.
char bitText(ui::Color color);

// Why a file of size bytes is refused, as the marked pattern says it (%1: the limit in MiB),
// or nothing. A load
// and a save apply the same limit, so that every file saved can be loaded.
std::optional<std::string> sizeProblem(std::size_t size, std::string_view pattern);

// The title of the messages about program files, and what a load that failed says: the
// file, why, and that memory was not changed.
inline constexpr const char* kProgramFileTitle = i18n::mark("VOLPAR -- PROGRAM FILE");
std::string loadFailureMessage(const std::string& path, std::string_view reason);

// Why content cannot be the text of a program file at all (too large, binary, UTF-16),
// or nothing. Bytes outside ASCII are accepted: legacy 8-bit text is still text.
std::optional<std::string> textProblem(std::string_view content);

struct ParsedProgram {
  std::optional<ByteTexts> bytes;  // each address's value, "" where the file has none
  std::string problem;             // otherwise why the content is not a program
  // What the file lacks, or holds beyond what a saved file holds, that loading passes over
  // (a missing section or key, a value not of eight characters 0, 1 and x), in words.
  std::vector<std::string> leniencies;
};

// Reads the 32 values from the content of a program file. The content must be text and
// hold at least one of the four sections.
ParsedProgram parseProgram(std::string_view content);

// Writes the 32 values into the text of a program file (empty for a new file), keeping
// every other line of it as it stands.
std::string writeProgram(std::string content, const ByteTexts& bytes);

}  // namespace volpar::storage
