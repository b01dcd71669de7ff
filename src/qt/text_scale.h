// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace volpar::qt {

// Sets the text of a window and of everything in it (its menus, a list with a font of its
// own) at the scale given, from the sizes they had when first scaled: the menu bar, the
// history and the help grow with the screens, to be read from the back of a classroom.
void scaleText(QWidget& window, double scale);

}  // namespace volpar::qt
