// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "frontend/system_colors.h"
#include "ui/colors.h"

namespace volpar::frontend {

// How the screens look. The model's colours are the machine's bits and never change; a
// theme only maps each of them, where it is drawn, to the colour shown.
enum class ThemeName { Light, Dark, HighContrast };
// What the user chose: System follows the desktop's preference.
enum class ThemeChoice { System, Light, Dark, HighContrast };

// How a model colour is used where it is drawn: a white cell's fill is a 0 bit, a white
// background is a text box's.
enum class Paint { Fill, Back, Fore };

// Every colour a theme gives, by meaning.
enum class Slot {
  Zero,           // a bit cell holding 0 (white)
  MemoryOne,      // a 1 in memory, PC and AR (yellow)
  RegisterOne,    // a 1 in IR, S, X, Y, Output; the negative flag (red)
  Decoder,        // the op code executing (green)
  Clock,          // the clock phase and the transfer lamps (cyan)
  Unknown,        // a bit not yet known, "x" (black)
  Outline,        // a cell's outline and the drawings' lines
  ExecutionBack,  // the execution screen and its register frames (light yellow)
  InputBack,      // the input screen (light green)
  GreyBack,       // the panels and labels in grey
  PanelBack,      // the options panel
  // The system colours, as a toolkit's palette names them.
  Window,
  Base,
  Text,
  Highlight,
  HighlightedText,
  Button,
  Dark,
  ButtonText,
  Light,
  DisabledText,
  Passed,  // an exercise's test that passed, and one that failed, on Base
  Failed,
  Focus,  // the mark around the control that has the keyboard
  // The program text: its labels, mnemonics, operands and comments on Base, a problem's
  // mark, and the ground of the line under way.
  Label,
  Mnemonic,
  Operand,
  Comment,
  Problem,
  RunningLine,
};
inline constexpr int kSlotCount = static_cast<int>(Slot::RunningLine) + 1;

struct Theme {
  std::array<Rgb, kSlotCount> colors;
  bool dark;
  // Cells drawn with a thick outline and their bit written inside, so that no state is
  // shown by fill colour alone.
  bool outlined;
  Rgb operator[](Slot s) const { return colors[static_cast<std::size_t>(s)]; }
};

// The colour-blind-safe variants exist for Light and Dark; High Contrast writes every
// bit's digit already and stays as it is.
const Theme& theme(ThemeName name, bool colourBlind);

// The theme System stands for, from what the desktop says it prefers.
ThemeName resolve(ThemeChoice choice, bool desktopDark, bool desktopHighContrast);

// The slot a model colour is drawn from, or none for a colour the themes do not know,
// which is drawn as it is.
std::optional<Slot> slotOf(ui::Color model, Paint paint);
Slot slotOf(SystemRole role);
// The colour drawn for a model colour (fixed or system) in a theme.
Rgb drawnColor(const Theme& theme, ui::Color model, Paint paint);

// A black text on one of the machine's colours (a heading on green) is written as a bit's
// digit is on it, black or white as the theme's colour wants: the slot of that colour, or
// none where the text keeps its own colour.
std::optional<Slot> textOnMachineColour(ui::Color fore, ui::Color back);

// "zero", "memory-one", ...: the page's custom property of a slot is --vp-NAME.
const char* slotName(Slot slot);
// "system", "light", "dark", "high-contrast", as the command line and the page say them.
const char* choiceName(ThemeChoice choice);
std::optional<ThemeChoice> parseThemeChoice(std::string_view name);

}  // namespace volpar::frontend
