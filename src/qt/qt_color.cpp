#include "qt/qt_color.h"

namespace volpar::qt {

namespace {

// The system colour indices the program uses, mapped to palette roles.
QPalette::ColorRole systemRole(unsigned index) {
  switch (index) {
    case 0x05: return QPalette::Base;  // window background
    case 0x08: return QPalette::Text;  // window text
    case 0x0D: return QPalette::Highlight;
    case 0x0E: return QPalette::HighlightedText;
    case 0x0F: return QPalette::Button;  // button face
    case 0x10: return QPalette::Dark;    // button shadow
    case 0x12: return QPalette::ButtonText;
    case 0x14: return QPalette::Light;  // button highlight
    default: return QPalette::Window;
  }
}

}  // namespace

QColor toQColor(ui::Color color, const QPalette& palette) {
  if (ui::isSystemColor(color)) return palette.color(QPalette::Active, systemRole(color & 0xFFu));
  return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                static_cast<int>((color >> 16) & 0xFFu));
}

}  // namespace volpar::qt
