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
  using i18n::fill, i18n::tr;
  const std::string key = keyName(address);
  const std::string section = sectionName(address);
  // TRANSLATORS: %1 is a key of a program file ("Byte5"), %2 its section ("First8").
  if (!value) return fill(tr("%1 in [%2] is missing: it loads as 00000000"), {key, section});
  const std::string size = std::to_string(value->size());
  if (value->size() < kBitsPerByte) {
    return fill(tr("%1 in [%2] has %3 characters instead of 8: the missing bits load as 0"),
                {key, section, size});
  }
  if (value->size() > kBitsPerByte) {
    return fill(tr("%1 in [%2] has %3 characters instead of 8: those after the eighth are ignored"),
                {key, section, size});
  }
  if (!std::all_of(value->begin(), value->end(), savedCharacter)) {
    return fill(tr("%1 in [%2] holds %3: characters other than 0, 1 and x load as 1"),
                {key, section, ui::quoted(*value)});
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

std::optional<std::string> sizeProblem(std::size_t size, std::string_view pattern) {
  if (size <= kMaxProgramFileBytes) return std::nullopt;
  return i18n::fill(i18n::tr(pattern), {std::to_string(kMaxProgramFileBytes >> 20)});
}

std::string loadFailureMessage(const std::string& path, std::string_view reason) {
  return i18n::fill(
      i18n::tr(
          "The program file %1 could not be loaded.\nReason: %2.\nThe memory was not changed."),
      {ui::quoted(path), reason});
}

std::optional<std::string> textProblem(std::string_view content) {
  if (auto problem = sizeProblem(
          content.size(), i18n::mark("It is larger than %1 MiB, far too large for a program file")))
    return problem;
  if (startsWithUtf16Mark(content)) {
    return std::string(
        i18n::tr("It is saved as UTF-16 text; program files are plain (ANSI or UTF-8) text"));
  }
  if (std::any_of(content.begin(), content.end(),
                  [](char c) { return isBinaryByte(static_cast<unsigned char>(c)); })) {
    return std::string(i18n::tr("It is not a text file"));
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
    return {
        std::nullopt,
        std::string(i18n::tr(
            "It holds none of the sections First8, Second8, Third8 and Fourth8 of a program file")),
        {}};
  }
  ByteTexts bytes;
  std::vector<std::string> leniencies;
  for (int first = 0; first < kProgramBytes; first += kBitsPerByte) {
    if (!profile.hasSection(sectionName(first))) {
      leniencies.push_back(
          i18n::fill(i18n::tr("Section [%1] is missing: its eight bytes load as 00000000"),
                     {sectionName(first)}));
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
