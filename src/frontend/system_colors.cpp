// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontend/system_colors.h"

#include <cstdio>

namespace volpar::frontend {

SystemColor systemColor(ui::Color color) {
  switch (color & 0xFFu) {
    case 0x05: return {SystemRole::Base, "#ffffff"};
    case 0x08: return {SystemRole::Text, "#000000"};
    case 0x0D: return {SystemRole::Highlight, "#0077d7"};  // white on it at 4.5:1
    case 0x0E: return {SystemRole::HighlightedText, "#ffffff"};
    case 0x0F: return {SystemRole::Button, "#f0f0f0"};
    case 0x10: return {SystemRole::Dark, "#a0a0a0"};
    case 0x12: return {SystemRole::ButtonText, "#000000"};
    case 0x14: return {SystemRole::Light, "#ffffff"};
    default: return {SystemRole::Window, "#f0f0f0"};
  }
}

Rgb rgbOf(ui::Color color) {
  return {static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
          static_cast<int>((color >> 16) & 0xFFu)};
}

std::string cssColor(ui::Color color, const std::string& fallback) {
  if (color == ui::kInherit) return fallback;
  if (ui::isSystemColor(color)) return systemColor(color).css;
  const Rgb rgb = rgbOf(color);
  char css[8];
  std::snprintf(css, sizeof css, "#%02x%02x%02x", rgb.red, rgb.green, rgb.blue);
  return css;
}

}  // namespace volpar::frontend
