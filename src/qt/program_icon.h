#pragma once

#include <QIcon>

namespace volpar::qt {

// The program's own icon, drawn from the scalable picture built into the program.
QIcon programIcon();

}  // namespace volpar::qt
