#include "ui/quoted.h"

#include <cstdio>

namespace volpar::ui {
namespace {

std::string escaped(const char* format, unsigned code) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, format, code);
  return buffer;
}

}  // namespace

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\\' || c == '"') {
      out += {'\\', static_cast<char>(c)};
    } else if (c < 0x20 || c == 0x7F) {
      out += escaped("\\x%02x", c);
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080 to U+009F
      out += escaped("\\u%04x", next);
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace volpar::ui
