// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/qt_color.h"

#include "frontend/system_colors.h"
#include "qt/theme.h"

namespace volpar::qt {

namespace {

QPalette::ColorRole paletteRole(frontend::SystemRole role) {
  switch (role) {
    case frontend::SystemRole::Window: return QPalette::Window;
    case frontend::SystemRole::Base: return QPalette::Base;
    case frontend::SystemRole::Text: return QPalette::Text;
    case frontend::SystemRole::Highlight: return QPalette::Highlight;
    case frontend::SystemRole::HighlightedText: return QPalette::HighlightedText;
    case frontend::SystemRole::Button: return QPalette::Button;
    case frontend::SystemRole::Dark: return QPalette::Dark;
    case frontend::SystemRole::ButtonText: return QPalette::ButtonText;
    case frontend::SystemRole::Light: return QPalette::Light;
  }
  return QPalette::Window;
}

}  // namespace

QColor toQColor(ui::Color color, const QPalette& palette, frontend::Paint paint) {
  if (ui::isSystemColor(color)) {
    return palette.color(QPalette::Active, paletteRole(frontend::systemColor(color).role));
  }
  const frontend::Rgb rgb = frontend::drawnColor(drawnTheme(), color, paint);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace volpar::qt
