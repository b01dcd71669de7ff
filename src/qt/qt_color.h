// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>

#include "frontend/themes.h"
#include "ui/colors.h"

namespace volpar::qt {

// The model stores 0xBBGGRR; values 0x800000nn name a system colour, taken from the palette.
// A fixed colour is drawn as the theme in force draws it, used as `paint` says.
QColor toQColor(ui::Color color, const QPalette& palette,
                frontend::Paint paint = frontend::Paint::Back);

// The colour an element is drawn with: its own, or the fallback when it has none.
inline QColor toQColor(ui::Color color, const QPalette& palette, const QColor& fallback,
                       frontend::Paint paint = frontend::Paint::Back) {
  return color == ui::kInherit ? fallback : toQColor(color, palette, paint);
}

}  // namespace volpar::qt
