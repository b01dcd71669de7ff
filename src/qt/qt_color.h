// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>

#include "ui/colors.h"

namespace volpar::qt {

// The model stores 0xBBGGRR; values 0x800000nn name a system colour, taken from the palette.
QColor toQColor(ui::Color color, const QPalette& palette);

// The colour an element is drawn with: its own, or the fallback when it has none.
inline QColor toQColor(ui::Color color, const QPalette& palette, const QColor& fallback) {
  return color == ui::kInherit ? fallback : toQColor(color, palette);
}

}  // namespace volpar::qt
