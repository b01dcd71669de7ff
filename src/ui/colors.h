// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace volpar::ui {

// A colour as the machine stores it: 0xBBGGRR, blue in the high byte. Values with the
// top bit set (0x800000nn) name a system colour instead of a fixed one.
using Color = std::uint32_t;

inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kYellow = 0x00FFFF;
inline constexpr Color kRed = 0x0000FF;
inline constexpr Color kGreen = 0x00FF00;
inline constexpr Color kCyan = 0xFFFF00;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kLightYellow = 0xC0FFFF;
inline constexpr Color kLightGreen = 0xC0FFC0;
inline constexpr Color kLightGrey = 0xC0C0C0;
inline constexpr Color kPanelGrey = 0xE0E0E0;

inline constexpr Color kWindowBackground = 0x80000005;
inline constexpr Color kWindowText = 0x80000008;
inline constexpr Color kButtonFace = 0x8000000F;

// "Use the container's colour": an element without a colour of its own.
inline constexpr Color kInherit = 0xFFFFFFFF;

inline constexpr bool isSystemColor(Color c) { return c != kInherit && (c & 0x80000000u) != 0; }

}  // namespace volpar::ui
