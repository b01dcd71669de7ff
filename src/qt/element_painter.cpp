// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/element_painter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPixmap>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <string>

#include "frontend/caption_fit.h"
#include "frontend/contrast.h"
#include "i18n/text.h"
#include "qt/bounded_cache.h"
#include "qt/box_text.h"
#include "qt/qt_color.h"
#include "qt/qt_font.h"
#include "qt/theme.h"
#include "qt/translated.h"
#include "ui/form.h"

namespace volpar::qt {

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

QColor textColor(bool enabled, ui::Color fore, const QPalette& pal) {
  if (!enabled) return pal.color(QPalette::Disabled, QPalette::Text);
  return toQColor(fore, pal, pal.color(QPalette::Active, QPalette::Text), frontend::Paint::Fore);
}

}  // namespace

QRect TwipScale::pixels(const ui::Rect& r) const {
  const int x0 = static_cast<int>(std::lround(r.left * k()));
  const int y0 = static_cast<int>(std::lround(r.top * k()));
  const int x1 = static_cast<int>(std::lround((r.left + r.width) * k()));
  const int y1 = static_cast<int>(std::lround((r.top + r.height) * k()));
  return {x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0)};
}

QRect TwipScale::reach(ui::ElementKind kind, const ui::Rect& r) const {
  const QRect box = rect(r).toAlignedRect();
  if (kind != ui::ElementKind::Line) return box;
  const int margin = 2 + static_cast<int>(penWidth());
  return box.adjusted(-margin, -margin, margin, margin);
}

bool isPainted(ui::ElementKind kind) {
  return kind == ui::ElementKind::Shape || kind == ui::ElementKind::Line ||
         kind == ui::ElementKind::Label;
}

namespace {

CaptionAlign alignOf(const ui::Label& label) {
  return frontend::captionCentred(label) ? CaptionAlign::Centred : CaptionAlign::TopLeft;
}

}  // namespace

Look lookOf(const ui::Element& e) {
  Look look{e.rect(), e.foreColor(), e.backColor(), 0, e.visible(), e.enabled(), e.font(), {}};
  if (e.kind() == ui::ElementKind::Shape) look.fill = static_cast<const ui::Shape&>(e).FillColor();
  if (e.kind() == ui::ElementKind::Label) {
    const auto& label = static_cast<const ui::Label&>(e);
    // The model keeps the English; the look is what is drawn, in the language in use.
    look.caption = i18n::shown(label.Caption());
    look.align = alignOf(label);
  }
  return look;
}

namespace {

// One drawn circle: colours, pen, diameter and where it falls inside its first pixel.
struct CircleKey {
  QRgb fill, outline;
  double pen, diameter, dx, dy, ratio;
  bool operator==(const CircleKey&) const = default;
};

struct CircleKeyHash {
  std::size_t operator()(const CircleKey& k) const {
    std::size_t h = std::hash<QRgb>()(k.fill) * 31 + std::hash<QRgb>()(k.outline);
    for (double v : {k.pen, k.diameter, k.dx, k.dy, k.ratio}) h = h * 31 + std::hash<double>()(v);
    return h;
  }
};

// A clock at speed repaints the same few dozen circles many times a second: each is
// drawn once, antialiased at its own offset within the pixel grid, and copied after.
QPixmap drawCircle(const CircleKey& key) {
  const double extent = key.dx + key.diameter;
  const int side = static_cast<int>(std::ceil(std::max(extent, key.dy + key.diameter))) + 1;
  QPixmap pixmap(QSize(side, side) * key.ratio);
  pixmap.setDevicePixelRatio(key.ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor::fromRgba(key.outline), key.pen));
  p.setBrush(QColor::fromRgba(key.fill));
  const double inset = key.pen / 2;
  p.drawEllipse(
      QRectF(key.dx, key.dy, key.diameter, key.diameter).adjusted(inset, inset, -inset, -inset));
  p.end();
  return pixmap;
}

const QPixmap& circlePixmap(const CircleKey& key) {
  static BoundedCache<CircleKey, QPixmap, CircleKeyHash> cache;
  return cache.get(key, [&key] { return drawCircle(key); });
}

}  // namespace

// A circle of the box's smaller side, centred in its box, with a thin outline.
void paintShape(QPainter& p, const Look& shape, const TwipScale& ts, const QPalette& pal) {
  const QRectF box = ts.rect(shape.rect);
  const double d = std::min(box.width(), box.height());
  const QPointF corner(box.center().x() - d / 2, box.center().y() - d / 2);
  const QPointF origin(std::floor(corner.x()), std::floor(corner.y()));
  const QColor outline =
      toQColor(shape.fore, pal, pal.color(QPalette::Active, QPalette::Text), frontend::Paint::Fore);
  // High Contrast outlines every cell boldly where it has room: its state is never its
  // fill alone.
  const bool bold = drawnTheme().outlined && d >= 12;
  const double pen = bold ? std::max(2.0, 2 * ts.penWidth()) : ts.penWidth();
  const CircleKey key{toQColor(shape.fill, pal, frontend::Paint::Fill).rgba(),
                      outline.rgba(),
                      pen,
                      d,
                      corner.x() - origin.x(),
                      corner.y() - origin.y(),
                      p.device() ? p.device()->devicePixelRatioF() : 1.0};
  p.drawPixmap(origin, circlePixmap(key));
}

void paintLine(QPainter& p, const ui::Line& line, const Look& look, const TwipScale& ts,
               const QPalette& pal) {
  p.setRenderHint(QPainter::Antialiasing, false);
  const QColor fallback = pal.color(QPalette::Active, QPalette::WindowText);
  p.setPen(QPen(toQColor(look.fore, pal, fallback, frontend::Paint::Fore), ts.penWidth()));
  const double k = ts.k();
  p.drawLine(QPointF(line.x1() * k, line.y1() * k), QPointF(line.x2() * k, line.y2() * k));
}

namespace {

constexpr int kLabelFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;

// A label's caption in its box: its background, if any, and the text placed so that its
// glyphs lie inside the box. The lines are laid out in a box as wide as the label's, moved
// and reaching down past the last glyph, so that the text is cut only at the label's box.
void drawLabel(QPainter& p, const QRectF& box, const QColor* back, const QString& caption,
               const QFont& font, const QColor& fore, CaptionAlign align) {
  if (back) p.fillRect(box, *back);
  const CaptionPlace place = placeCaption(caption, font, box, align);
  p.setFont(place.font);
  p.setPen(fore);
  QRectF lines = place.textBox;
  lines.setBottom(std::max(lines.bottom(), std::ceil(place.ink.bottom()) + 1));
  drawBoxText(p, lines, kLabelFlags, caption);
}

// Everything that decides the pixels of a label with a background on whole pixels.
struct LabelKey {
  std::string caption;
  ui::Font font;
  double scale;
  QSize size;
  QRgb back, fore;
  QImage::Format format;
  CaptionAlign align;
  bool operator==(const LabelKey&) const = default;
};

struct LabelKeyHash {
  std::size_t operator()(const LabelKey& k) const {
    std::size_t h =
        std::hash<std::string>()(k.caption) * 31 + std::hash<std::string>()(k.font.name);
    for (std::size_t v :
         {std::hash<double>()(k.font.points + k.scale), std::size_t{k.font.bold},
          std::size_t(k.size.width()), std::size_t(k.size.height()), std::size_t{k.back},
          std::size_t{k.fore}, std::size_t(k.format), static_cast<std::size_t>(k.align)}) {
      h = h * 31 + v;
    }
    return h;
  }
};

// The image the painter draws into, when it is one at one pixel a point.
const QImage* targetImage(QPainter& p) {
  const QPaintDevice* d = p.paintEngine() ? p.paintEngine()->paintDevice() : nullptr;
  if (!d || d->devType() != QInternal::Image || !p.device() ||
      p.device()->devicePixelRatioF() != 1.0) {
    return nullptr;
  }
  return static_cast<const QImage*>(d);
}

// A clock at speed repaints the same few captions many times a second, each a handful of
// glyphs blended one by one: a label that covers its whole box is drawn once into an image
// of the screen's own pixel format, the same operations giving the same pixels, and then
// only copied.
const QImage* keptLabel(QPainter& p, const Look& label, const QRectF& box, const TwipScale& ts,
                        const QColor& back, const QColor& fore) {
  const QImage* target = targetImage(p);
  if (!target || box != QRectF(box.toRect())) return nullptr;
  static BoundedCache<LabelKey, QImage, LabelKeyHash> cache;
  LabelKey key{label.caption, label.font,  ts.scale,         box.toRect().size(),
               back.rgba(),   fore.rgba(), target->format(), label.align};
  return &cache.get(std::move(key), [&] {
    QImage image(box.toRect().size(), target->format());
    QPainter ip(&image);
    drawLabel(ip, QRectF(QPointF(0, 0), box.size()), &back, text(label.caption),
              toQFont(label.font, ts.scale), fore, label.align);
    return image;
  });
}

}  // namespace

// Captions wrap at word boundaries inside the label's box and are cut at its edges; an
// "&" marks an access key, as on buttons.
void paintLabel(QPainter& p, const Look& label, const TwipScale& ts, const QPalette& pal,
                bool smoothEdges) {
  const QRectF box = ts.rect(label.rect);
  QColor fore = textColor(label.enabled, label.fore, pal);
  if (const auto on = frontend::textOnMachineColour(label.fore, label.back); on && label.enabled) {
    const frontend::Rgb mark = frontend::markColor(drawnTheme()[*on]);
    fore = QColor(mark.red, mark.green, mark.blue);
  }
  const bool opaque = label.back != ui::kInherit;
  const QColor back = opaque ? toQColor(label.back, pal) : QColor();
  if (opaque) {
    if (const QImage* kept = keptLabel(p, label, box, ts, back, fore)) {
      p.drawImage(box.topLeft(), *kept);
      return;
    }
  }
  p.save();
  p.setClipRect(box, Qt::IntersectClip);
  // Blending costs a change of the painter's state; a box on whole pixels needs none.
  if (opaque && smoothEdges && box != QRectF(box.toRect())) {
    p.setRenderHint(QPainter::Antialiasing);
  }
  drawLabel(p, box, opaque ? &back : nullptr, text(label.caption), toQFont(label.font, ts.scale),
            fore, label.align);
  p.restore();
}

void paintFrame(QPainter& p, const ui::Frame& frame, const QSize& size, const TwipScale& ts,
                const QPalette& pal, const QColor& back, const QRect& area) {
  p.fillRect(area, back);
  const QFont font = toQFont(frame.font(), ts.scale);
  const QFontMetricsF fm(font);
  const double top = std::floor(fm.height() / 2);
  p.setRenderHint(QPainter::Antialiasing, false);
  const QRectF border(0.5, top + 0.5, size.width() - 2.0, size.height() - top - 2.0);
  // A cell repainted inside the frame leaves the border and the caption along the top
  // alone.
  if (!border.adjusted(2, 2, -2, -2).contains(area)) {
    p.setPen(QPen(pal.color(QPalette::Active, QPalette::Dark), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(border);
    p.setPen(QPen(pal.color(QPalette::Active, QPalette::Light), 1));
    p.drawRect(border.translated(1, 1));
  }
  const QString caption = shown(frame.Caption());
  if (caption.isEmpty() ||
      !area.intersects(QRectF(0, 0, size.width(), fm.height()).toAlignedRect())) {
    return;
  }
  // A title longer than the frame's top edge is set smaller: the frame never grows.
  const double x = 6 * ts.scale;
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic;
  const QFont fitted =
      shrunkFont(font, QRectF(0, 0, size.width() - 2 * x - 4, fm.height()), caption, flags);
  const QRectF captionBox(x, 0, QFontMetricsF(fitted).horizontalAdvance(caption) + 4, fm.height());
  p.fillRect(captionBox, back);
  p.setFont(fitted);
  p.setPen(textColor(frame.enabled(), frame.foreColor(), pal));
  drawBoxText(p, captionBox.adjusted(2, 0, 0, 0), flags, caption);
}

}  // namespace volpar::qt
