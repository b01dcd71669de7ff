#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ui/form.h"
#include "ui/qt/clock_driver.h"
#include "ui/qt/element_painter.h"
#include "ui/qt/event_gate.h"
#include "ui/qt/surface.h"

class QAction;
class QLineEdit;
class QMenu;

namespace volpar::qt {

// The window of one form. It draws every element of the form at its twip position,
// uniformly scaled to the window's size, keeps its widgets in step with the model, and
// turns the user's clicks, keys, edits, menu commands and closing into calls on the
// model through the event gate. It learns of every change as the form's observer and
// repaints just the changed element's box, at most once per displayed frame.
class FormWindow : public QMainWindow, public ui::FormObserver {
 public:
  static constexpr int kFrameMs = 16;

  FormWindow(ui::Form& form, EventGate& gate);
  ~FormWindow() override;

  ui::Form* form() const { return form_; }
  // The form is being destroyed: let go of it at once (the window itself goes later).
  void detach();

  // The client area's size at scale 1: the form's twips, 15 to a pixel.
  QSize baseSize() const;
  double scale() const { return scale_.scale; }
  QWidget* clientArea() const;
  // Where an element lies in the client area, in pixels.
  QRect pixelRect(const ui::Element& element) const;
  QWidget* widgetOf(const ui::Element& element) const;
  ClockDriver* clockOf(const ui::Timer& timer) const;
  // Applies to the widgets and paints what is waiting for the next frame now.
  void flushRepaints();
  // The same for every window: before a modal box, which must find them up to date.
  static void flushAll();

  void elementChanged(ui::Element& element) override;
  void formChanged(ui::Form& form, FormEvent event) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct Binding {
    ui::Element* element = nullptr;
    Surface* container = nullptr;  // where it is drawn or placed
    QWidget* widget = nullptr;     // a control's widget or a frame's surface
    QAction* action = nullptr;     // a menu item
    QMenu* menu = nullptr;         // a menu title
    std::unique_ptr<ClockDriver> clock;
    bool pending = false;  // changed by a clock tick, applied at the next frame
  };

  void build();
  void buildSurfaces();
  void buildControls();
  void buildMenus();
  void connectControl(ui::Element& element, QWidget& widget);
  Surface* surfaceOf(const ui::Frame* frame) const;
  QColor backgroundOf(const Surface& surface) const;
  void relayout();
  void syncElement(Binding& binding);
  void syncFrame(Binding& binding);
  void syncMenu(Binding& binding);
  void applyFocus();
  void applyTabOrder();
  void repaintLater(Surface* surface, const QRect& rect);
  void deliver(const std::function<void()>& handler);
  void deliverKeyPress(const QKeyEvent& event);
  bool pressReturn();
  bool menuShortcut(const QKeyEvent& event) const;
  bool typeOverSelection(QLineEdit& edit, QKeyEvent& key);
  void mousePressed(Surface& surface, QMouseEvent& event);
  void mouseReleased(Surface& surface, QMouseEvent& event);
  ui::Element* elementOfWidget(const QObject* widget) const;

  ui::Form* form_;
  EventGate& gate_;
  TwipScale scale_;
  Surface* client_ = nullptr;
  std::vector<Surface*> frames_;
  std::unordered_map<const ui::Element*, Binding> bindings_;
  std::unordered_map<const QObject*, ui::Element*> elementOfWidget_;
  std::unordered_map<Surface*, QRegion> pendingRepaint_;
  std::vector<Binding*> pendingSync_;
  QTimer frameTimer_;
  ui::Label* pressedLabel_ = nullptr;
  bool pressedBackground_ = false;
  bool applyingFocus_ = false;
  bool editedByKey_ = false;
  bool restoreFocusOnActivation_ = false;
  bool sizedOnce_ = false;
};

}  // namespace volpar::qt
