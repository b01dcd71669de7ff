// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontend/system_colors.h"

#include <cstdio>

namespace volpar::frontend {

namespace {

SystemRole roleOf(ui::Color color) {
  switch (color & 0xFFu) {
    case 0x05: return SystemRole::Base;
    case 0x08: return SystemRole::Text;
    case 0x0D: return SystemRole::Highlight;
    case 0x0E: return SystemRole::HighlightedText;
    case 0x0F: return SystemRole::Button;
    case 0x10: return SystemRole::Dark;
    case 0x12: return SystemRole::ButtonText;
    case 0x14: return SystemRole::Light;
    default: return SystemRole::Window;
  }
}

}  // namespace

SystemColor systemColor(ui::Color color) {
  const SystemRole role = roleOf(color);
  for (const SystemColor& c : kSystemColors) {
    if (c.role == role) return c;
  }
  return kSystemColors[0];
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
