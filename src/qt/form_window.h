// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <functional>
#include <vector>

#include "qt/control_binder.h"
#include "qt/event_gate.h"
#include "qt/input_router.h"
#include "ui/form.h"

namespace volpar::qt {

// The window of one form, drawn at the form's twip positions and uniformly scaled to the
// window's size. Its binder keeps the widgets in step with the model (the window is the
// form's observer and passes every change on); its router turns what the user does into
// calls on the model through the event gate. The window itself shows, hides, sizes and
// raises itself as the form asks.
class FormWindow : public QMainWindow, public ui::FormObserver {
 public:
  static constexpr int kFrameMs = ControlBinder::kFrameMs;

  // Told of every change of the form after the widgets, and when the form goes.
  class ChangeListener {
   public:
    virtual ~ChangeListener() = default;
    virtual void elementChanged(ui::Element& element) = 0;
    virtual void formGone() = 0;
  };

  FormWindow(ui::Form& form, EventGate& gate);
  ~FormWindow() override;

  ui::Form* form() const { return binder_.form(); }
  // The form is being destroyed: let go of it at once (the window itself goes later).
  void detach();

  // The client area's size at scale 1: the form's twips, 15 to a pixel.
  QSize baseSize() const { return binder_.baseSize(); }
  double scale() const { return binder_.scale(); }
  QWidget* clientArea() const { return binder_.client(); }
  // Where an element lies in the client area, in pixels.
  QRect pixelRect(const ui::Element& element) const { return binder_.pixelRect(element); }
  QWidget* widgetOf(const ui::Element& element) const { return binder_.widgetOf(element); }
  ClockDriver* clockOf(const ui::Timer& timer) const { return binder_.clockOf(timer); }
  // Applies to the widgets and paints what is waiting for the next frame now.
  void flushRepaints() { binder_.flush(); }
  // The theme changed: every widget takes its colours again, every cell is repainted.
  void restyle() { binder_.relayout(); }
  // The language changed: the title, every caption and menu item are shown in the new one.
  void languageChanged();
  // The same for every window: before a modal box, which must find them up to date.
  static void flushAll();
  // Runs after every frame that brought a running clock's changes to the widgets, before
  // they are painted: for views that follow the machine frame by frame.
  void onFrame(std::function<void()> listener) { frameListeners_.push_back(std::move(listener)); }
  // How much larger than the layout's the window is (never less than 1): its menu bar's
  // text is set at this scale, and the help and the history follow the screens' largest.
  double textScale() const { return textScale_; }
  // Runs whenever the text scale changes.
  void onTextScaled(std::function<void()> listener) {
    textScaledListeners_.push_back(std::move(listener));
  }

  void setChangeListener(ChangeListener* listener) { listener_ = listener; }
  ChangeListener* changeListener() const { return listener_; }

  void elementChanged(ui::Element& element) override {
    binder_.elementChanged(element);
    if (listener_) listener_->elementChanged(element);
  }
  void formChanged(ui::Form& form, FormEvent event) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  ControlBinder::Hooks binderHooks();

  ControlBinder binder_;
  InputRouter router_;
  bool sizedOnce_ = false;
  int normalMenuHeight_ = 0;
  double textScale_ = 1.0;
  std::vector<std::function<void()>> frameListeners_;
  ChangeListener* listener_ = nullptr;
  std::vector<std::function<void()>> textScaledListeners_;
};

}  // namespace volpar::qt
