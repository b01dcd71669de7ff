// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

#include "ui/element.h"

namespace volpar::qt {

// A free font of the same size and weight as the one the screens name ("MS Sans Serif",
// "System", "Courier"), sized in pixels so that a point is 96/72 pixels at scale 1.
QFont toQFont(const ui::Font& font, double scale);

}  // namespace volpar::qt
