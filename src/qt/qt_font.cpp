#include "qt/qt_font.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <functional>

#include "qt/bounded_cache.h"

namespace volpar::qt {

namespace {

// MS Sans Serif is drawn from narrow bitmaps at the small sizes the screens use: a free
// font of Arial's widths sets their captions about a fifth wider, so that "Pause at T= 0"
// no longer fits its button on one line. A narrow family of the same height takes the
// original's room; large titles keep the regular width, which matches theirs.
constexpr double kLargestNarrowPoints = 12;

QStringList substitutes(const ui::Font& font) {
  const QString n = QString::fromStdString(font.name).toLower();
  if (n.startsWith("courier")) return {"Liberation Mono", "DejaVu Sans Mono", "Monospace"};
  if (n == "ms sans serif" && font.points <= kLargestNarrowPoints) {
    return {"Liberation Sans Narrow", "DejaVu Sans Condensed", "Liberation Sans", "Sans Serif"};
  }
  if (n == "ms sans serif" || n == "system" || n == "arial" || n == "helvetica") {
    return {"Liberation Sans", "DejaVu Sans", "Sans Serif"};
  }
  return {QString::fromStdString(font.name), "Liberation Sans", "DejaVu Sans", "Sans Serif"};
}

struct FontKey {
  ui::Font font;
  int pixels;
  bool operator==(const FontKey&) const = default;
};

struct FontKeyHash {
  std::size_t operator()(const FontKey& k) const {
    return std::hash<std::string>()(k.font.name) * 31 + std::hash<double>()(k.font.points) * 7 +
           static_cast<std::size_t>(k.pixels) * 2 + k.font.bold;
  }
};

}  // namespace

// Every caption is drawn in one of a handful of fonts: each is made once and then shared,
// so that the toolkit resolves its family and measures it once rather than at every paint.
QFont toQFont(const ui::Font& font, double scale) {
  static BoundedCache<FontKey, QFont, FontKeyHash> cache;
  const int pixels = std::max(1, static_cast<int>(std::lround(font.points * 96.0 / 72.0 * scale)));
  return cache.get({font, pixels}, [&] {
    QFont f;
    f.setFamilies(substitutes(font));
    f.setBold(font.bold);
    f.setPixelSize(pixels);
    return f;
  });
}

}  // namespace volpar::qt
