// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontend/fonts.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace volpar::frontend {

namespace {

// MS Sans Serif is drawn from narrow bitmaps at the small sizes the screens use: a free
// font of Arial's widths sets their captions about a fifth wider, so that "Pause at T= 0"
// no longer fits its button on one line. A narrow family of the same height takes the
// original's room; large titles keep the regular width, which matches theirs.
constexpr double kLargestNarrowPoints = 12;

// Last in each list, a family with the Chinese characters, which the Latin ones lack: each
// character is drawn in the first family of the list that has it.
const std::vector<std::string> kMono = {"Liberation Mono", "Courier New", "DejaVu Sans Mono",
                                        "Noto Sans Mono CJK SC", "WenQuanYi Micro Hei Mono"};
const std::vector<std::string> kNarrow = {
    "Liberation Sans Narrow", "Arial Narrow", "DejaVu Sans Condensed",
    "Liberation Sans",        "Arial",        "Noto Sans CJK SC",
    "WenQuanYi Micro Hei"};
const std::vector<std::string> kRegular = {"Liberation Sans",  "Arial",
                                           "Helvetica",        "DejaVu Sans",
                                           "Noto Sans CJK SC", "WenQuanYi Micro Hei"};

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

FontFamilies fontFamilies(const ui::Font& font) {
  const std::string n = lower(font.name);
  if (n.starts_with("courier")) return {kMono, GenericFamily::Mono};
  if (n == "ms sans serif" && font.points <= kLargestNarrowPoints) return {kNarrow};
  if (n == "ms sans serif" || n == "system" || n == "arial" || n == "helvetica") {
    return {kRegular};
  }
  FontFamilies other{{font.name}};
  other.names.insert(other.names.end(), kRegular.begin(), kRegular.end());
  return other;
}

std::string cssFontFamily(const ui::Font& font) {
  const FontFamilies families = fontFamilies(font);
  std::string css;
  for (const std::string& name : families.names) {
    css += '"';
    for (char c : name) {
      if (c == '"' || c == '\\') css += '\\';
      css += c;
    }
    css += "\", ";
  }
  return css + (families.generic == GenericFamily::Mono ? "monospace" : "sans-serif");
}

int fontPixels(double points, double scale) {
  return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0 * scale)));
}

}  // namespace volpar::frontend
