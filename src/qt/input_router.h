// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QObject>
#include <functional>

#include "qt/control_binder.h"
#include "qt/event_gate.h"
#include "ui/form.h"

class QKeyEvent;
class QKeySequence;
class QLineEdit;
class QMouseEvent;
class QWidget;

namespace volpar::qt {

// Turns what the user does in one form's window into calls on the model through the
// event gate: clicks, edits and menu commands; keys (the form's key handler, Return for
// the form's default button, menu shortcuts that win over a text box's own keys); mouse
// presses on labels and on the background; closing. It carries focus both ways: the
// model's focused element becomes the focused widget, and a widget the user focuses
// becomes the model's.
class InputRouter : public QObject {
 public:
  InputRouter(ControlBinder& binder, EventGate& gate, QWidget& window);

  // Connects every control and menu item the binder has built, and the tab order.
  void wire();
  void detach();

  // The model's focused element takes the focus and shows its selection.
  void applyFocus();
  // The model's focus or selection was just shown: if the window is not active, show it
  // again once it is.
  void restoreFocusWhenActive();
  // The window became active.
  void activated();
  // The clock's changes have reached the widgets: a focus that waited for them is given.
  void framed();
  // A key pressed on the window itself; false leaves it to the window.
  bool keyPressed(const QKeyEvent& event);
  void closeRequested();
  void mousePressed(Surface& surface, QMouseEvent& event);
  void mouseReleased(Surface& surface, QMouseEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void wireControl(ui::Element& element, QWidget& widget);
  void clickOnToggle(QAbstractButton& button, std::function<void()> click,
                     std::function<bool()> modelChecked);
  void wireMenu(ui::Element& element, const ControlBinder::Binding& binding);
  template <class Clickable>
  std::function<void()> clickOf(ui::Element& element, bool resync);
  void typed(ui::TextBox& box, const QWidget& widget, bool resync);
  void resync(const ui::Element& element);
  void applyTabOrder();
  void focusChanged(QWidget* now);
  void deliver(const std::function<void()>& handler);
  bool formTakesKey(const QKeyEvent& event);
  bool filterKey(QObject* watched, QKeyEvent& key);
  bool windowAnswers(const QKeySequence& keys) const;
  bool pressReturn();
  bool typeOverSelection(QLineEdit& edit, QKeyEvent& key);

  ControlBinder& binder_;
  EventGate& gate_;
  QWidget& window_;
  ui::Label* pressedLabel_ = nullptr;
  bool pressedBackground_ = false;
  bool applyingFocus_ = false;
  bool editedByKey_ = false;
  bool restoreFocusOnActivation_ = false;
  bool focusAwaitsFrame_ = false;
};

}  // namespace volpar::qt
