// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRegion>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "qt/clock_driver.h"
#include "qt/element_painter.h"
#include "qt/event_gate.h"
#include "qt/surface.h"
#include "ui/form.h"

class QAction;
class QMainWindow;
class QMenu;

namespace volpar::qt {

// Binds the elements of one form to the widgets of its window: a surface for the client
// area and for each frame (which draws the labels, shapes and lines inside it), a widget
// for each control, a menu or action for each menu item and a clock driver for each
// timer. It keeps them in step with the model, scaled to the window's size. What a
// running clock changes reaches the widgets and the screen once a displayed frame, all of it
// as the model stands at that moment.
class ControlBinder {
 public:
  static constexpr int kFrameMs = 16;

  struct Binding {
    ui::Element* element = nullptr;
    Surface* container = nullptr;  // where it is drawn or placed
    QWidget* widget = nullptr;     // a control's widget or a frame's surface
    QAction* action = nullptr;     // a menu item
    QMenu* menu = nullptr;         // a menu title
    std::unique_ptr<ClockDriver> clock;
    bool pending = false;  // changed by a clock tick, applied at the next frame
    std::size_t held = 0;  // a drawn element's number on its surface
  };

  struct Hooks {
    std::function<void(Surface&, QMouseEvent&)> mousePressed;
    std::function<void(Surface&, QMouseEvent&)> mouseReleased;
    // The focused text box's selection was just set from the model.
    std::function<void()> selectionSynced;
    // The changes of the last clock ticks have just reached the widgets.
    std::function<void()> framed;
  };

  ControlBinder(ui::Form& form, EventGate& gate, QMainWindow& window, Hooks hooks);

  // Creates every surface, widget, menu item and clock driver and brings them in step.
  void build();
  // The form is being destroyed: let go of it and of every element at once.
  void detach();

  // The form, or nullptr once it is gone.
  ui::Form* form() const { return form_; }
  Surface* client() const { return client_; }
  // The client area's size at scale 1: the form's twips, 15 to a pixel.
  QSize baseSize() const;
  double scale() const { return scale_.scale; }
  // Where an element lies in the client area, in pixels.
  QRect pixelRect(const ui::Element& element) const;
  const Binding* bindingOf(const ui::Element& element) const;
  QWidget* widgetOf(const ui::Element& element) const;
  ClockDriver* clockOf(const ui::Timer& timer) const;
  // The element whose control (or a text box's viewport) this is, if any.
  ui::Element* elementOfWidget(const QObject* widget) const;
  // An enabled menu item answers to this key.
  bool isMenuShortcut(const QKeySequence& keys) const;

  // The client area has a new size: scale everything to it.
  // Every element's widget, menu item and drawn look taken again from the model: the
  // language changed, so every caption is drawn anew.
  void syncAll();
  void relayout();
  // Brings the element's widget in step with the model now.
  void sync(const ui::Element& element);
  // The model changed the element: in step now, or at the next frame during a clock tick.
  void elementChanged(const ui::Element& element);
  // Applies to the widgets and paints what is waiting for the next frame now.
  void flush();

 private:
  Surface::Hooks surfaceHooks();
  void buildSurfaces();
  void bindElements();
  void buildMenus();
  Surface* surfaceOf(const ui::Frame* frame) const;
  QColor backgroundOf(const Surface& surface) const;
  void syncBinding(Binding& binding);
  void syncFrame(Binding& binding);
  void syncMenu(Binding& binding);
  void syncDrawn(Binding& binding);
  void takeFrame();
  void repaintLater(Surface* surface, const QRect& rect);

  ui::Form* form_;
  EventGate& gate_;
  QMainWindow& window_;
  Hooks hooks_;
  TwipScale scale_;
  Surface* client_ = nullptr;
  std::vector<Surface*> frames_;
  std::unordered_map<const ui::Element*, Binding> bindings_;
  std::unordered_map<const QObject*, ui::Element*> elementOfWidget_;
  std::unordered_map<Surface*, std::vector<QRect>> pendingRepaint_;
  std::vector<Binding*> pendingSync_;
  QTimer frameTimer_;
};

}  // namespace volpar::qt
