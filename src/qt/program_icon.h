// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace volpar::qt {

// The program's own icon, drawn from the scalable picture built into the program.
QIcon programIcon();

}  // namespace volpar::qt
