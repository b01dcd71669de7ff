// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/surface.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <algorithm>

#include "qt/bit_values.h"

namespace volpar::qt {

namespace {

// QRect::intersects for two rectangles that are not empty, without a call into the library
// for each of the many elements a paint looks at.
bool overlaps(const QRect& a, const QRect& b) {
  return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
         b.top() <= a.bottom();
}

void paintElement(QPainter& p, const Surface::Shown& shown, const TwipScale& ts,
                  const QPalette& pal) {
  const ui::Element& e = *shown.element;
  switch (e.kind()) {
    case ui::ElementKind::Shape:
      paintShape(p, *shown.look, ts, pal);
      paintBitValue(p, e, *shown.look, ts);
      break;
    case ui::ElementKind::Line:
      paintLine(p, static_cast<const ui::Line&>(e), *shown.look, ts, pal);
      break;
    case ui::ElementKind::Label: paintLabel(p, *shown.look, ts, pal, shown.afterCircle); break;
    default: break;
  }
}

// The repaint area as rectangles that cover it exactly, fewer than its own: those lie in
// horizontal bands, and a box that spans several bands (a caption beside a lit cell) would
// be drawn once for each.
void joinBands(const QRegion& area, std::vector<QRect>& joined) {
  joined.clear();
  for (const QRect& r : area) {
    auto above = std::find_if(joined.begin(), joined.end(), [&r](const QRect& j) {
      return j.left() == r.left() && j.right() == r.right() && j.bottom() + 1 == r.top();
    });
    if (above != joined.end()) {
      above->setBottom(r.bottom());
    } else {
      joined.push_back(r);
    }
  }
}

}  // namespace

Surface::Surface(ui::Frame* frame, Hooks hooks, QWidget* parent)
    : QWidget(parent), frame_(frame), hooks_(std::move(hooks)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  if (frame) setObjectName(QString::fromStdString(frame->displayName()));
}

std::size_t Surface::hold(ui::Element& element) {
  held_.push_back({&element, lookOf(element), {}, {}});
  return held_.size() - 1;
}

// What the student clicks is what the window shows.
ui::Label* Surface::labelAt(QPoint pos) const {
  const TwipScale& ts = hooks_.scale();
  for (auto it = held_.rbegin(); it != held_.rend(); ++it) {
    ui::Element* e = it->element;
    if (e->kind() == ui::ElementKind::Label && it->look.visible &&
        ts.rect(it->look.rect).contains(pos)) {
      return static_cast<ui::Label*>(e);
    }
  }
  return nullptr;
}

void Surface::forget() {
  frame_ = nullptr;
  held_.clear();
}

void Surface::updateAreas(const TwipScale& ts) {
  const bool rescaled = heldScale_ != ts.scale;
  heldScale_ = ts.scale;
  for (Held& h : held_) {
    if (!rescaled && h.rect == h.look.rect) continue;
    h.rect = h.look.rect;
    h.area = ts.reach(h.element->kind(), h.rect);
  }
}

void Surface::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QColor back = hooks_.background(*this);
  const TwipScale& ts = hooks_.scale();
  const QPalette& pal = palette();
  // Where each shown element may put pixels, found once for all the rectangles below. A
  // label's look depends on whether a circle or a line comes before it among all the
  // shown elements: a part repainted looks as the whole.
  updateAreas(ts);
  shown_.clear();
  bool afterCircle = false;
  for (const Held& h : held_) {
    const ui::Element* e = h.element;
    if (!h.look.visible) continue;
    if (overlaps(h.area, event->rect())) shown_.push_back({e, &h.look, h.area, afterCircle});
    if (e->kind() == ui::ElementKind::Shape) afterCircle = true;
    if (e->kind() == ui::ElementKind::Line) afterCircle = false;
  }
  // One rectangle of the repaint area at a time: clipped to a rectangle, the raster engine
  // fills and copies directly instead of cutting every span to a many-sided area. Changes
  // far apart on the form leave the elements between them alone.
  joinBands(event->region(), rects_);
  for (const QRect& r : rects_) {
    p.setClipRect(r);
    if (frame_) {
      paintFrame(p, *frame_, size(), ts, pal, back, r);
    } else {
      p.fillRect(r, back);
    }
    for (const Shown& shown : shown_) {
      if (overlaps(shown.area, r)) paintElement(p, shown, ts, pal);
    }
  }
}

void Surface::mousePressEvent(QMouseEvent* event) {
  if (hooks_.mousePressed) hooks_.mousePressed(*this, *event);
}

void Surface::mouseReleaseEvent(QMouseEvent* event) {
  if (hooks_.mouseReleased) hooks_.mouseReleased(*this, *event);
}

}  // namespace volpar::qt
