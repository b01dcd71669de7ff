// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/text_scale.h"

#include <QFont>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace volpar::qt {

namespace {

constexpr const char* kNormalFont = "volparNormalFont";
constexpr const char* kTextScale = "volparTextScale";

QFont scaled(QFont font, double scale) {
  if (font.pointSizeF() > 0) {
    font.setPointSizeF(font.pointSizeF() * scale);
  } else {
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * scale))));
  }
  return font;
}

// A widget's font at scale 1, noted the first time it is scaled.
QFont normalFont(QWidget& w) {
  QVariant normal = w.property(kNormalFont);
  if (!normal.isValid()) {
    normal = w.font();
    w.setProperty(kNormalFont, normal);
  }
  return normal.value<QFont>();
}

}  // namespace

// A child inherits its parent's font unless it was given one of its own; a popup menu is a
// window of its own and inherits nothing.
void scaleText(QWidget& window, double scale) {
  if (window.property(kTextScale).toDouble() == scale) return;
  window.setProperty(kTextScale, scale);
  window.setFont(scaled(normalFont(window), scale));
  for (QWidget* child : window.findChildren<QWidget*>()) {
    if (child->isWindow()) {
      scaleText(*child, scale);
    } else if (child->property(kNormalFont).isValid() || child->testAttribute(Qt::WA_SetFont)) {
      child->setFont(scaled(normalFont(*child), scale));
    }
  }
}

}  // namespace volpar::qt
