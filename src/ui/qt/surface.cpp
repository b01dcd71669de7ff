#include "ui/qt/surface.h"

#include <QMouseEvent>
#include <QPaintEvent>

namespace volpar::qt {

namespace {

// Where an element may put pixels: a label, cut at its box, never beyond it.
QRect paintedArea(const ui::Element& e, const TwipScale& ts) {
  if (e.kind() == ui::ElementKind::Label) return ts.rect(e.rect()).toAlignedRect();
  return ts.dirty(e);
}

}  // namespace

Surface::Surface(ui::Frame* frame, Hooks hooks, QWidget* parent)
    : QWidget(parent), frame_(frame), hooks_(std::move(hooks)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  if (frame) setObjectName(QString::fromStdString(frame->displayName()));
}

ui::Label* Surface::labelAt(QPoint pos) const {
  const TwipScale& ts = hooks_.scale();
  for (auto it = painted_.rbegin(); it != painted_.rend(); ++it) {
    ui::Element* e = *it;
    if (e->kind() == ui::ElementKind::Label && e->visible() && ts.rect(e->rect()).contains(pos)) {
      return static_cast<ui::Label*>(e);
    }
  }
  return nullptr;
}

void Surface::forget() {
  frame_ = nullptr;
  painted_.clear();
}

void Surface::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QColor back = hooks_.background(*this);
  const TwipScale& ts = hooks_.scale();
  // The region, not its bounding box: changes far apart on the form leave the elements
  // between them alone.
  const QRegion& area = event->region();
  if (frame_) {
    paintFrame(p, *frame_, size(), ts, palette(), back, area);
  } else {
    p.fillRect(event->rect(), back);
  }
  for (ui::Element* e : painted_) {
    if (!e->visible() || !area.intersects(paintedArea(*e, ts))) continue;
    switch (e->kind()) {
      case ui::ElementKind::Shape: paintShape(p, static_cast<ui::Shape&>(*e), ts, palette()); break;
      case ui::ElementKind::Line: paintLine(p, static_cast<ui::Line&>(*e), ts, palette()); break;
      case ui::ElementKind::Label: paintLabel(p, static_cast<ui::Label&>(*e), ts, palette()); break;
      default: break;
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
