#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "ui/element.h"
#include "ui/qt/element_painter.h"

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
  void hold(ui::Element& element) { painted_.push_back(&element); }
  const std::vector<ui::Element*>& painted() const { return painted_; }
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
  std::vector<ui::Element*> painted_;
  std::vector<Shown> shown_;  // kept to spare an allocation a paint
};

}  // namespace volpar::qt
