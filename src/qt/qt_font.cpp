// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/qt_font.h"

#include <QStringList>
#include <functional>

#include "frontend/fonts.h"
#include "qt/bounded_cache.h"

namespace volpar::qt {

namespace {

// The front end's families for the face, then the toolkit's own generic family.
QStringList families(const ui::Font& font) {
  const frontend::FontFamilies table = frontend::fontFamilies(font);
  QStringList list;
  for (const std::string& name : table.names) list << QString::fromStdString(name);
  list << (table.generic == frontend::GenericFamily::Mono ? "Monospace" : "Sans Serif");
  return list;
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
  const int pixels = frontend::fontPixels(font.points, scale);
  return cache.get({font, pixels}, [&] {
    QFont f;
    f.setFamilies(families(font));
    f.setBold(font.bold);
    f.setPixelSize(pixels);
    return f;
  });
}

}  // namespace volpar::qt
