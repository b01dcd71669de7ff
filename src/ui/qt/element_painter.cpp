#include "ui/qt/element_painter.h"

#include <QFontMetricsF>
#include <QPixmap>
#include <algorithm>
#include <cmath>

#include "ui/qt/bounded_cache.h"
#include "ui/qt/box_text.h"
#include "ui/qt/qt_color.h"
#include "ui/qt/qt_font.h"

namespace volpar::qt {

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

QColor textColor(const ui::Element& e, const QPalette& pal) {
  if (!e.enabled()) return pal.color(QPalette::Disabled, QPalette::Text);
  return toQColor(e.foreColor(), pal, pal.color(QPalette::Active, QPalette::Text));
}

}  // namespace

QRect TwipScale::pixels(const ui::Rect& r) const {
  const int x0 = static_cast<int>(std::lround(r.left * k()));
  const int y0 = static_cast<int>(std::lround(r.top * k()));
  const int x1 = static_cast<int>(std::lround((r.left + r.width) * k()));
  const int y1 = static_cast<int>(std::lround((r.top + r.height) * k()));
  return {x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0)};
}

QRect TwipScale::dirty(const ui::Rect& r) const {
  const int margin = 2 + static_cast<int>(penWidth());
  return rect(r).toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

bool isPainted(ui::ElementKind kind) {
  return kind == ui::ElementKind::Shape || kind == ui::ElementKind::Line ||
         kind == ui::ElementKind::Label;
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
void paintShape(QPainter& p, const ui::Shape& shape, const TwipScale& ts, const QPalette& pal) {
  const QRectF box = ts.rect(shape.rect());
  const double d = std::min(box.width(), box.height());
  const QPointF corner(box.center().x() - d / 2, box.center().y() - d / 2);
  const QPointF origin(std::floor(corner.x()), std::floor(corner.y()));
  const QColor outline =
      toQColor(shape.foreColor(), pal, pal.color(QPalette::Active, QPalette::Text));
  const CircleKey key{toQColor(shape.FillColor(), pal).rgba(),
                      outline.rgba(),
                      ts.penWidth(),
                      d,
                      corner.x() - origin.x(),
                      corner.y() - origin.y(),
                      p.device() ? p.device()->devicePixelRatioF() : 1.0};
  p.drawPixmap(origin, circlePixmap(key));
}

void paintLine(QPainter& p, const ui::Line& line, const TwipScale& ts, const QPalette& pal) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(toQColor(line.foreColor(), pal, Qt::black), ts.penWidth()));
  const double k = ts.k();
  p.drawLine(QPointF(line.x1() * k, line.y1() * k), QPointF(line.x2() * k, line.y2() * k));
}

// Captions wrap at word boundaries inside the label's box and are cut at its edges; an
// "&" marks an access key, as on buttons.
void paintLabel(QPainter& p, const ui::Label& label, const TwipScale& ts, const QPalette& pal,
                bool smoothEdges) {
  const QRectF box = ts.rect(label.rect());
  p.save();
  p.setClipRect(box, Qt::IntersectClip);
  if (label.backColor() != ui::kInherit) {
    // Blending costs a change of the painter's state; a box on whole pixels needs none.
    if (smoothEdges && box != QRectF(box.toRect())) p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(box, toQColor(label.backColor(), pal));
  }
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
  const QString caption = text(label.Caption());
  p.setFont(fittedFont(toQFont(label.font(), ts.scale), box, caption, flags));
  p.setPen(textColor(label, pal));
  drawBoxText(p, box, flags, caption);
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
  const QString caption = text(frame.Caption());
  if (caption.isEmpty() ||
      !area.intersects(QRectF(0, 0, size.width(), fm.height()).toAlignedRect())) {
    return;
  }
  const double x = 6 * ts.scale;
  const QRectF captionBox(x, 0, fm.horizontalAdvance(caption) + 4, fm.height());
  p.fillRect(captionBox, back);
  p.setFont(font);
  p.setPen(textColor(frame, pal));
  drawBoxText(p, captionBox.adjusted(2, 0, 0, 0),
              Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, caption);
}

}  // namespace volpar::qt
