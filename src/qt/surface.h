#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "qt/element_painter.h"
#include "ui/element.h"

namespace volpar::qt {

// A drawing surface: the client area of a form, or a frame. It paints its background
// (and a frame's border and caption) and the labels, shapes and lines it holds; the
// controls inside it are its child widgets.
class Surface : public QWidget {
 public:
  struct Hooks {
    std::function<const TwipScale&()> scale;
    std::function<QColor(const Surface&)> background;
    std::function<void(Surface&, QMouseEvent&)> mousePressed;
    std::function<void(Surface&, QMouseEvent&)> mouseReleased;
  };

  // An element a paint draws, where it may put pixels, and whether a circle rather than a
  // line comes before it in the drawing order.
  struct Shown {
    ui::Element* element;
    QRect area;
    bool afterCircle;
  };

  Surface(ui::Frame* frame, Hooks hooks, QWidget* parent);

  ui::Frame* frame() const { return frame_; }
  void hold(ui::Element& element) { held_.push_back({&element, {}, {}}); }
  // The topmost label shown at a point of this surface, if any.
  ui::Label* labelAt(QPoint pos) const;
  // The form is going away: forget every element.
  void forget();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  ui::Frame* frame_;
  Hooks hooks_;
  // A drawn element and where it may put pixels, found again only when its box or the
  // window's scale changes.
  struct Held {
    ui::Element* element;
    ui::Rect rect;
    QRect area;
  };
  void updateAreas(const TwipScale& ts);

  std::vector<Held> held_;
  double heldScale_ = 0;
  // Kept to spare allocations in every paint.
  std::vector<Shown> shown_;
  std::vector<QRect> rects_;
};

}  // namespace volpar::qt
