// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "qt/element_painter.h"
#include "ui/element.h"

namespace volpar::qt {

// A drawing surface: the client area of a form, or a frame. It paints its background
// (and a frame's border and caption) and the labels, shapes and lines it holds, each as its
// look was last shown (never as the model holds it between two frames); the controls inside
// it are its child widgets.
class Surface : public QWidget {
 public:
  struct Hooks {
    std::function<const TwipScale&()> scale;
    std::function<QColor(const Surface&)> background;
    std::function<void(Surface&, QMouseEvent&)> mousePressed;
    std::function<void(Surface&, QMouseEvent&)> mouseReleased;
  };

  // An element a paint draws, as shown, where it may put pixels, and whether a circle rather
  // than a line comes before it in the drawing order.
  struct Shown {
    const ui::Element* element;
    const Look* look;
    QRect area;
    bool afterCircle;
  };

  Surface(ui::Frame* frame, Hooks hooks, QWidget* parent);

  ui::Frame* frame() const { return frame_; }
  // Draws the element from now on, as it looks now; returns the number by which show() and
  // shown() name it.
  std::size_t hold(ui::Element& element);
  // The element's look that paints draw from now on; the caller repaints what changed.
  void show(std::size_t held, Look look) { held_[held].look = std::move(look); }
  const Look& shown(std::size_t held) const { return held_[held].look; }
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
  // A drawn element, its look as shown, and where it may put pixels, found again only when
  // its box or the window's scale changes.
  struct Held {
    ui::Element* element;
    Look look;
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
