// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/program_link.h"

#include <array>
#include <cstdint>

#include "ui/quoted.h"

namespace volpar::storage {
namespace {

constexpr std::string_view kBlackStart = "&x=";
constexpr std::size_t kLinkDigits = 2 * kProgramBytes;
constexpr std::string_view kHexDigits = "0123456789abcdef";

using Bytes = std::array<std::uint8_t, kProgramBytes>;

// Two digits for each byte: the bits whose cell has the colour `on`.
std::string digitsOf(const ByteTexts& bytes, ui::Color on) {
  std::string digits;
  for (const std::string& text : bytes) {
    unsigned value = 0;
    for (int bit = 1; bit <= kBitsPerByte; ++bit) value = 2 * value + (bitColor(text, bit) == on);
    digits += kHexDigits[value / 16];
    digits += kHexDigits[value % 16];
  }
  return digits;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads 64 digits into the bytes; why they are not a program's, or nothing.
std::optional<std::string> readDigits(std::string_view digits, Bytes& bytes) {
  for (char c : digits) {
    if (hexValue(c) < 0) {
      return i18n::fill(i18n::tr("%1 is not a hexadecimal digit (0 to 9, a to f)"),
                        {ui::quoted(std::string_view(&c, 1))});
    }
  }
  if (digits.size() != kLinkDigits) {
    return i18n::fill(
        i18n::tr(
            "It has %1 hexadecimal digits where a program has %2, two for each byte of memory"),
        {std::to_string(digits.size()), std::to_string(kLinkDigits)});
  }
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] =
        static_cast<std::uint8_t>(16 * hexValue(digits[2 * i]) + hexValue(digits[2 * i + 1]));
  }
  return std::nullopt;
}

std::optional<std::string> readLink(std::string_view fragment, ByteTexts& texts) {
  fragment.remove_prefix(kProgramLinkStart.size());
  std::string_view black;
  const std::size_t end = fragment.find('&');
  if (end != std::string_view::npos) {
    black = fragment.substr(end);
    fragment = fragment.substr(0, end);
    if (!black.starts_with(kBlackStart) || black.find('&', 1) != std::string_view::npos)
      return std::string(i18n::tr("Something other than a program follows the program"));
    black.remove_prefix(kBlackStart.size());
  }
  Bytes ones{}, blacks{};
  if (auto problem = readDigits(fragment, ones)) return problem;
  if (end != std::string_view::npos) {
    if (auto problem = readDigits(black, blacks)) return problem;
  }
  for (std::size_t a = 0; a < texts.size(); ++a) {
    if (ones[a] & blacks[a]) {
      return i18n::fill(i18n::tr("It marks a bit of address %1 both 1 and black"),
                        {std::to_string(a)});
    }
    texts[a].clear();
    for (int bit = kBitsPerByte - 1; bit >= 0; --bit) {
      texts[a] += (blacks[a] >> bit) & 1 ? 'x' : (ones[a] >> bit) & 1 ? '1' : '0';
    }
  }
  return std::nullopt;
}

}  // namespace

std::string programLink(const ByteTexts& bytes) {
  std::string link = std::string(kProgramLinkStart) + digitsOf(bytes, ui::kYellow);
  const std::string blacks = digitsOf(bytes, ui::kBlack);
  if (blacks.find_first_not_of('0') != std::string::npos) link += std::string(kBlackStart) + blacks;
  return link;
}

LinkedProgram readProgramLink(std::string_view fragment) {
  ByteTexts texts;
  if (auto problem = readLink(fragment, texts)) {
    return {std::nullopt, i18n::fill(i18n::tr("The link does not hold a program that can be "
                                              "opened.\nReason: %1.\nThe memory was not changed."),
                                     {*problem})};
  }
  return {texts, {}};
}

}  // namespace volpar::storage
