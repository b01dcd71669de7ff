// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/program_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace volpar::qt {

// Drawn once per size here, so that no image plug-in is needed at run time.
QIcon programIcon() {
  QSvgRenderer renderer(QStringLiteral(":/icons/org.volpar.volpar.svg"));
  QIcon icon;
  if (!renderer.isValid()) return icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace volpar::qt
