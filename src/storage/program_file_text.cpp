// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/program_file_text.h"

#include <algorithm>
#include <vector>

#include "storage/private_profile.h"
#include "ui/quoted.h"

namespace volpar::storage {
namespace {

constexpr std::array<const char*, 4> kSections = {"First8", "Second8", "Third8", "Fourth8"};

// Control characters that plain text never holds (tab, line breaks, form feed, vertical
// tab and the old end-of-file mark Ctrl-Z are allowed).
bool isBinaryByte(unsigned char c) {
  if (c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A) return false;
  return c < 0x20 || c == 0x7F;
}

bool savedCharacter(char c) { return c == '0' || c == '1' || c == 'x'; }

// Why a value is not one a saved file holds, or nothing.
std::optional<std::string> valueLeniency(int address, const std::optional<std::string>& value) {
  const std::string where = keyName(address) + " in [" + sectionName(address) + "]";
  if (!value) return where + " is missing: it loads as 00000000";
  if (value->size() < kBitsPerByte) {
    return where + " has " + std::to_string(value->size()) +
           " characters instead of 8: the missing bits load as 0";
  }
  if (value->size() > kBitsPerByte) {
    return where + " has " + std::to_string(value->size()) +
           " characters instead of 8: those after the eighth are ignored";
  }
  if (!std::all_of(value->begin(), value->end(), savedCharacter)) {
    return where + " holds " + ui::quoted(*value) + ": characters other than 0, 1 and x load as 1";
  }
  return std::nullopt;
}

bool startsWithUtf16Mark(std::string_view content) {
  return content.starts_with("\xFF\xFE") || content.starts_with("\xFE\xFF");
}

}  // namespace

std::string sectionName(int address) {
  return kSections.at(static_cast<std::size_t>(address / kBitsPerByte));
}

std::string keyName(int address) { return "Byte" + std::to_string(address); }

ui::Color bitColor(std::string_view value, int bit) {
  const auto at = static_cast<std::size_t>(bit - 1);
  const char c = at < value.size() ? value[at] : '0';
  if (c == 'x') return ui::kBlack;
  if (c == '0') return ui::kWhite;
  return ui::kYellow;
}

char bitText(ui::Color color) {
  if (color == ui::kBlack) return 'x';
  if (color == ui::kWhite) return '0';
  return '1';
}

std::optional<std::string> sizeProblem(std::size_t size, std::string_view subject) {
  if (size <= kMaxProgramFileBytes) return std::nullopt;
  return std::string(subject) + " larger than " + std::to_string(kMaxProgramFileBytes >> 20) +
         " MiB, far too large for a program file";
}

std::string loadFailureMessage(const std::string& path, std::string_view reason) {
  return "The program file " + ui::quoted(path) +
         " could not be loaded.\nReason: " + std::string(reason) + ".\nThe memory was not changed.";
}

std::optional<std::string> textProblem(std::string_view content) {
  if (auto problem = sizeProblem(content.size(), "It is")) return problem;
  if (startsWithUtf16Mark(content)) {
    return "It is saved as UTF-16 text; program files are plain (ANSI or UTF-8) text";
  }
  if (std::any_of(content.begin(), content.end(),
                  [](char c) { return isBinaryByte(static_cast<unsigned char>(c)); })) {
    return "It is not a text file";
  }
  return std::nullopt;
}

ParsedProgram parseProgram(std::string_view content) {
  if (auto problem = textProblem(content)) return {std::nullopt, *problem, {}};
  const PrivateProfile profile{std::string(content)};
  const bool isProgram = std::any_of(kSections.begin(), kSections.end(), [&](const char* section) {
    return profile.hasSection(section);
  });
  if (!isProgram) {
    return {std::nullopt,
            "It holds none of the sections First8, Second8, Third8 and Fourth8 of a program file",
            {}};
  }
  ByteTexts bytes;
  std::vector<std::string> leniencies;
  for (int first = 0; first < kProgramBytes; first += kBitsPerByte) {
    if (!profile.hasSection(sectionName(first))) {
      leniencies.push_back("Section [" + sectionName(first) +
                           "] is missing: its eight bytes load as 00000000");
    }
    std::vector<std::string> keys;
    for (int address = first; address < first + kBitsPerByte; ++address)
      keys.push_back(keyName(address));
    const std::vector<std::optional<std::string>> values = profile.values(sectionName(first), keys);
    for (int i = 0; i < kBitsPerByte; ++i) {
      const std::optional<std::string>& value = values[static_cast<std::size_t>(i)];
      bytes[static_cast<std::size_t>(first + i)] = value.value_or("");
      if (!profile.hasSection(sectionName(first))) continue;
      if (auto leniency = valueLeniency(first + i, value)) leniencies.push_back(*leniency);
    }
  }
  return {std::move(bytes), {}, std::move(leniencies)};
}

std::string writeProgram(std::string content, const ByteTexts& bytes) {
  PrivateProfile profile(std::move(content));
  for (int first = 0; first < kProgramBytes; first += kBitsPerByte) {
    std::vector<PrivateProfile::Entry> entries;
    for (int address = first; address < first + kBitsPerByte; ++address) {
      entries.push_back({keyName(address), bytes[static_cast<std::size_t>(address)]});
    }
    profile.setValues(sectionName(first), entries);
  }
  return profile.takeText();
}

}  // namespace volpar::storage
