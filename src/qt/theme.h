// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QMenu>
#include <QPalette>

#include "frontend/themes.h"

namespace volpar::qt {

// The theme the windows draw in: View > Theme (remembered between runs) or the command
// line (for this run only). The model never changes; each paint maps its colours through
// the theme in force, so a change shows at the next paint, also while the clock runs.
frontend::ThemeChoice themeChoice();
bool colourBlindSafe();
void chooseTheme(frontend::ThemeChoice choice, bool colourBlind, bool remember = true);
// The table in force, read at paint time.
const frontend::Theme& drawnTheme();
frontend::ThemeName drawnThemeName();

// View > Theme: System, Light, Dark, High Contrast, and "Colour-blind safe" as a check item.
QMenu* themeMenu(QWidget* parent);

// The palette of a theme; Light keeps the desktop's own.
QPalette themePalette(frontend::ThemeName name);

}  // namespace volpar::qt
