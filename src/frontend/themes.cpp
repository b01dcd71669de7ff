// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontend/themes.h"

namespace volpar::frontend {

namespace {

constexpr Rgb hex(unsigned v) {
  return {static_cast<int>(v >> 16), static_cast<int>((v >> 8) & 0xFFu),
          static_cast<int>(v & 0xFFu)};
}

// The colours of each theme, in the order of Slot. Light is the screens' own colours on
// the desktop's usual grey, exactly; the others keep each meaning and change its colour.
// clang-format off
constexpr Theme kLight{{
    hex(0xffffff), hex(0xffff00), hex(0xff0000), hex(0x00ff00), hex(0x00ffff), hex(0x000000),
    hex(0x000000), hex(0xffffc0), hex(0xc0ffc0), hex(0xc0c0c0), hex(0xe0e0e0),
    hex(0xf0f0f0), hex(0xffffff), hex(0x000000), hex(0x0077d7), hex(0xffffff), hex(0xf0f0f0),
    hex(0xa0a0a0), hex(0x000000), hex(0xffffff), hex(0xa0a0a0), hex(0x008000), hex(0xc00000),
    hex(0x0000c0), hex(0x0000a0), hex(0x800080), hex(0x006060), hex(0x1b5e20), hex(0xff0000),
    hex(0xfff176)},
    false, false};

constexpr Theme kDark{{
    hex(0x505050), hex(0xf0d000), hex(0xff5050), hex(0x3ccf4e), hex(0x30c8e8), hex(0x000000),
    hex(0xd0d0d0), hex(0x2b2a1c), hex(0x1c2b1e), hex(0x3a3a3a), hex(0x303030),
    hex(0x202020), hex(0x141414), hex(0xe8e8e8), hex(0x1a6fc0), hex(0xffffff), hex(0x333333),
    hex(0x0c0c0c), hex(0xe8e8e8), hex(0x5a5a5a), hex(0x9a9a9a), hex(0x5cd65c), hex(0xff7070),
    hex(0xffcc00), hex(0x8ab4ff), hex(0xe090e0), hex(0x60d0d0), hex(0x80c080), hex(0xff7070),
    hex(0x3a3510)},
    true, false};

// Black ground, white text and outlines, every fill taking black digits at 7:1 or more.
constexpr Theme kHighContrast{{
    hex(0x000000), hex(0xffff00), hex(0xff8080), hex(0x00ff00), hex(0x00ffff), hex(0xa0a0a0),
    hex(0xffffff), hex(0x000000), hex(0x000000), hex(0x000000), hex(0x000000),
    hex(0x000000), hex(0x000000), hex(0xffffff), hex(0x1aebff), hex(0x000000), hex(0x000000),
    hex(0xffffff), hex(0xffffff), hex(0xffffff), hex(0xa0a0a0), hex(0x00ff00), hex(0xff8080),
    hex(0xffff00), hex(0x00ffff), hex(0xffff00), hex(0xffffff), hex(0x00ff00), hex(0xff8080),
    hex(0x000080)},
    true, true};
// clang-format on

// The machine's colours from the Okabe-Ito palette, chosen to stay apart for every kind
// of colour blindness: yellow, vermillion, bluish green, and blue (sky blue on dark).
Theme colourBlind(Theme t, Rgb clock) {
  t.colors[static_cast<int>(Slot::MemoryOne)] = hex(0xf0e442);
  t.colors[static_cast<int>(Slot::RegisterOne)] = hex(0xd55e00);
  t.colors[static_cast<int>(Slot::Decoder)] = hex(0x009e73);
  t.colors[static_cast<int>(Slot::Clock)] = clock;
  return t;
}

const Theme kLightSafe = colourBlind(kLight, hex(0x0072b2));
const Theme kDarkSafe = colourBlind(kDark, hex(0x56b4e9));

constexpr const char* kSlotNames[kSlotCount] = {
    "zero",          "memory-one",  "register-one", "decoder",
    "clock",         "unknown",     "outline",      "execution-back",
    "input-back",    "grey-back",   "panel-back",   "window",
    "base",          "text",        "highlight",    "highlighted-text",
    "button",        "dark",        "button-text",  "light",
    "disabled-text", "passed",      "failed",       "focus",
    "label",         "mnemonic",    "operand",      "comment",
    "problem",       "running-line"};

constexpr const char* kChoiceNames[] = {"system", "light", "dark", "high-contrast"};

Slot slotOfFixed(ui::Color model, Paint paint, bool& known) {
  known = true;
  switch (model) {
    case ui::kWhite:
      return paint == Paint::Fill   ? Slot::Zero
             : paint == Paint::Back ? Slot::Base
                                    : Slot::HighlightedText;
    case ui::kBlack: return paint == Paint::Fore ? Slot::Text : Slot::Unknown;
    case ui::kYellow: return Slot::MemoryOne;
    case ui::kRed: return Slot::RegisterOne;
    case ui::kGreen: return Slot::Decoder;
    case ui::kCyan: return Slot::Clock;
    case ui::kLightYellow: return Slot::ExecutionBack;
    case ui::kLightGreen: return Slot::InputBack;
    case ui::kLightGrey: return Slot::GreyBack;
    case ui::kPanelGrey: return Slot::PanelBack;
    default: known = false; return Slot::Zero;
  }
}

}  // namespace

const Theme& theme(ThemeName name, bool safe) {
  switch (name) {
    case ThemeName::Dark: return safe ? kDarkSafe : kDark;
    case ThemeName::HighContrast: return kHighContrast;
    case ThemeName::Light: break;
  }
  return safe ? kLightSafe : kLight;
}

ThemeName resolve(ThemeChoice choice, bool desktopDark, bool desktopHighContrast) {
  switch (choice) {
    case ThemeChoice::Light: return ThemeName::Light;
    case ThemeChoice::Dark: return ThemeName::Dark;
    case ThemeChoice::HighContrast: return ThemeName::HighContrast;
    case ThemeChoice::System: break;
  }
  if (desktopHighContrast) return ThemeName::HighContrast;
  return desktopDark ? ThemeName::Dark : ThemeName::Light;
}

Slot slotOf(SystemRole role) {
  switch (role) {
    case SystemRole::Base: return Slot::Base;
    case SystemRole::Text: return Slot::Text;
    case SystemRole::Highlight: return Slot::Highlight;
    case SystemRole::HighlightedText: return Slot::HighlightedText;
    case SystemRole::Button: return Slot::Button;
    case SystemRole::Dark: return Slot::Dark;
    case SystemRole::ButtonText: return Slot::ButtonText;
    case SystemRole::Light: return Slot::Light;
    case SystemRole::Window: break;
  }
  return Slot::Window;
}

std::optional<Slot> slotOf(ui::Color model, Paint paint) {
  if (model == ui::kInherit) return std::nullopt;
  if (ui::isSystemColor(model)) return slotOf(systemColor(model).role);
  bool known = false;
  const Slot slot = slotOfFixed(model, paint, known);
  if (!known) return std::nullopt;
  return slot;
}

Rgb drawnColor(const Theme& t, ui::Color model, Paint paint) {
  const std::optional<Slot> slot = slotOf(model, paint);
  return slot ? t[*slot] : rgbOf(model);
}

std::optional<Slot> textOnMachineColour(ui::Color fore, ui::Color back) {
  if (fore != ui::kBlack && fore != ui::kInherit) return std::nullopt;
  switch (back) {
    case ui::kYellow: return Slot::MemoryOne;
    case ui::kRed: return Slot::RegisterOne;
    case ui::kGreen: return Slot::Decoder;
    case ui::kCyan: return Slot::Clock;
    default: return std::nullopt;
  }
}

const char* slotName(Slot slot) { return kSlotNames[static_cast<int>(slot)]; }

const char* choiceName(ThemeChoice choice) { return kChoiceNames[static_cast<int>(choice)]; }

std::optional<ThemeChoice> parseThemeChoice(std::string_view name) {
  for (int i = 0; i < 4; ++i) {
    if (name == kChoiceNames[i]) return static_cast<ThemeChoice>(i);
  }
  return std::nullopt;
}

}  // namespace volpar::frontend
