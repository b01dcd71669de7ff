// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/text_escapes.h"

#include <cstdio>

namespace volpar::runner {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the UTF-8 sequence at the start of text, or 0 when it is not one.
std::size_t sequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned int min = 0;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2, min = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3, min = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4, min = 0x10000;
  else
    return 0;
  if (text.size() < length) return 0;
  unsigned int code = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// Calls put(character) for each UTF-8 character of text, U+FFFD for each byte that is
// not part of one.
template <class Put>
void forEachCharacter(std::string_view text, Put put) {
  while (!text.empty()) {
    const std::size_t length = sequenceLength(text);
    put(length ? text.substr(0, length) : kReplacement);
    text.remove_prefix(length ? length : 1);
  }
}

}  // namespace

std::string oneLine(std::string_view text) {
  std::string out;
  forEachCharacter(text, [&](std::string_view c) {
    out += (c == "\n" || c == "\r") ? std::string_view(" ") : c;
  });
  return out;
}

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  forEachCharacter(text, [&](std::string_view c) {
    const auto first = static_cast<unsigned char>(c[0]);
    if (c == "\"" || c == "\\") {
      out += '\\';
      out += c;
    } else if (first < 0x20 || first == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", first);
      out += escaped;
    } else {
      out += c;
    }
  });
  return out + "\"";
}

std::string xmlText(std::string_view text) {
  std::string out;
  forEachCharacter(text, [&](std::string_view c) {
    const auto first = static_cast<unsigned char>(c[0]);
    if (c == "&")
      out += "&amp;";
    else if (c == "<")
      out += "&lt;";
    else if (c == ">")
      out += "&gt;";
    else if (c == "\"")
      out += "&quot;";
    else if (c == "'")
      out += "&apos;";
    else if (c == "\t" || c == "\n" || c == "\r")
      out += "&#" + std::to_string(first) + ";";
    else if (first < 0x20 || c == "\xEF\xBF\xBE" || c == "\xEF\xBF\xBF")
      out += kReplacement;
    else
      out += c;
  });
  return out;
}

std::string tapDescription(std::string_view text) {
  std::string out;
  for (char c : oneLine(text)) {
    if (c == '#' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace volpar::runner
