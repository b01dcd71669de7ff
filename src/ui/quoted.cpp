// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/quoted.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace volpar::ui {
namespace {

std::string escaped(const char* format, unsigned code) {
  char buffer[12];
  std::snprintf(buffer, sizeof buffer, format, code);
  return buffer;
}

struct Range {
  char32_t first, last;
};

// The characters that are invisible or steer the text around them (the C1 controls,
// Unicode's format characters, the line and paragraph separators): shown raw,
// "rtl\u202etxt.exe" would read as "rtlexe.txt".
constexpr std::array<Range, 22> kHidden = {
    {{0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
     {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
     {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
     {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
     {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
     {0xE0020, 0xE007F}, {0x80, 0x9F}}};

bool hidden(char32_t c) {
  return std::any_of(kHidden.begin(), kHidden.end(),
                     [c](const Range& r) { return c >= r.first && c <= r.last; });
}

// The character whose UTF-8 sequence starts text and how many bytes it takes; nothing
// where the bytes are no such sequence (a stray byte, an overlong or cut sequence, a
// surrogate).
std::optional<std::pair<char32_t, std::size_t>> decode(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned lead = byte(0);
  if (lead < 0x80) return std::pair{char32_t{lead}, std::size_t{1}};
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || text.size() < length) return std::nullopt;
  char32_t c = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (byte(i) & 0x3F);
  }
  constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kShortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  return std::pair{c, length};
}

}  // namespace

std::string quoted(std::string_view text) {
  std::string out = "\"";
  while (!text.empty()) {
    const auto decoded = decode(text);
    const std::size_t length = decoded ? decoded->second : 1;
    const char32_t c = decoded ? decoded->first : 0;
    if (!decoded) {
      out += escaped("\\x%02x", static_cast<unsigned char>(text[0]));
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\\' || c == '"') {
      out += {'\\', static_cast<char>(c)};
    } else if (c < 0x20 || c == 0x7F) {
      out += escaped("\\x%02x", static_cast<unsigned>(c));
    } else if (hidden(c)) {
      out += escaped(c > 0xFFFF ? "\\U%08x" : "\\u%04x", static_cast<unsigned>(c));
    } else {
      out += text.substr(0, length);
    }
    text.remove_prefix(length);
  }
  return out + "\"";
}

}  // namespace volpar::ui
