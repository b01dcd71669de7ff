// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_value.h"

#include <cmath>
#include <string>

namespace volpar::ui {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string withoutBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (!isBlank(c)) out.push_back(c);
  }
  return out;
}

double radixValue(const std::string& s, std::size_t pos, int radix) {
  double value = 0;
  for (; pos < s.size(); ++pos) {
    const char c = s[pos];
    int digit = -1;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    if (digit < 0 || digit >= radix) break;
    value = value * radix + digit;
  }
  return value;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double Val(std::string_view text) {
  const std::string s = withoutBlanks(text);
  if (s.size() >= 2 && s[0] == '&') {
    if (s[1] == 'H' || s[1] == 'h') return radixValue(s, 2, 16);
    if (s[1] == 'O' || s[1] == 'o') return radixValue(s, 2, 8);
    return 0;
  }
  std::size_t i = 0;
  double sign = 1;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') sign = -1;
    ++i;
  }
  double value = 0;
  bool anyDigit = false;
  for (; i < s.size() && isDigit(s[i]); ++i) {
    value = value * 10 + (s[i] - '0');
    anyDigit = true;
  }
  if (i < s.size() && s[i] == '.') {
    double scale = 0.1;
    for (++i; i < s.size() && isDigit(s[i]); ++i, scale /= 10) {
      value += (s[i] - '0') * scale;
      anyDigit = true;
    }
  }
  if (!anyDigit) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    int expSign = 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
      if (s[j] == '-') expSign = -1;
      ++j;
    }
    if (j < s.size() && isDigit(s[j])) {
      int exponent = 0;
      for (; j < s.size() && isDigit(s[j]); ++j) {
        if (exponent < 10000) exponent = exponent * 10 + (s[j] - '0');
      }
      value *= std::pow(10.0, expSign * exponent);
    }
  }
  return sign * value;
}

int ValInt(std::string_view text) {
  if (!text.empty() && text.size() <= 4) {
    int value = 0;
    bool plain = true;
    for (char c : text) {
      if (!isDigit(c)) {
        plain = false;
        break;
      }
      value = value * 10 + (c - '0');
    }
    if (plain) return value;
  }
  const double v = Val(text);
  if (!(v > -2147483648.0 && v < 2147483647.0)) return 0;
  return static_cast<int>(v);
}

}  // namespace volpar::ui
