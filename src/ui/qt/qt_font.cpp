#include "ui/qt/qt_font.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace volpar::qt {

namespace {

QStringList substitutes(const std::string& name) {
  const QString n = QString::fromStdString(name).toLower();
  if (n.startsWith("courier")) return {"Liberation Mono", "DejaVu Sans Mono", "Monospace"};
  if (n == "ms sans serif" || n == "system" || n == "arial" || n == "helvetica") {
    return {"Liberation Sans", "DejaVu Sans", "Sans Serif"};
  }
  return {QString::fromStdString(name), "Liberation Sans", "DejaVu Sans", "Sans Serif"};
}

}  // namespace

QFont toQFont(const ui::Font& font, double scale) {
  QFont f;
  f.setFamilies(substitutes(font.name));
  f.setBold(font.bold);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.points * 96.0 / 72.0 * scale))));
  return f;
}

}  // namespace volpar::qt
