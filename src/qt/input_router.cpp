// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/input_router.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>

#include "qt/controls.h"

namespace volpar::qt {

namespace {

bool isReturn(const QKeyEvent& e) {
  return (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter) &&
         !(e.modifiers() & (Qt::AltModifier | Qt::ControlModifier));
}

bool isTextWidget(const QObject* o) {
  return qobject_cast<const QLineEdit*>(o) || qobject_cast<const QPlainTextEdit*>(o);
}

}  // namespace

InputRouter::InputRouter(ControlBinder& binder, EventGate& gate, QWidget& window)
    : binder_(binder), gate_(gate), window_(window) {
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* now) { focusChanged(now); });
}

void InputRouter::detach() { pressedLabel_ = nullptr; }

void InputRouter::deliver(const std::function<void()>& handler) { gate_.deliver(handler); }

// ---- controls and menus ---------------------------------------------------------------

// Every handler first checks that the form still exists: a discarded form's window
// lingers until the event loop deletes it.
void InputRouter::wire() {
  for (ui::Element* e : binder_.form()->elements()) {
    const ControlBinder::Binding* b = binder_.bindingOf(*e);
    if (b->widget && isControl(e->kind())) wireControl(*e, *b->widget);
    if (b->menu || b->action) wireMenu(*e, *b);
  }
  applyTabOrder();
  // F1 of a window without a menu that offers it.
  if (binder_.form()->onHelp) {
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), &window_);
    connect(help, &QShortcut::activated, this, [this] {
      ui::Form* form = binder_.form();
      if (form)
        deliver([form] {
          if (form->onHelp) form->onHelp();
        });
    });
  }
}

void InputRouter::wireControl(ui::Element& element, QWidget& widget) {
  widget.installEventFilter(this);
  if (auto* button = qobject_cast<QPushButton*>(&widget)) {
    connect(button, &QPushButton::clicked, this, clickOf<ui::CommandButton>(element, false));
  } else if (auto* radio = qobject_cast<QRadioButton*>(&widget)) {
    connect(radio, &QRadioButton::clicked, this, clickOf<ui::OptionButton>(element, true));
    clickOnToggle(*radio, clickOf<ui::OptionButton>(element, true),
                  [model = &element] { return static_cast<ui::OptionButton*>(model)->Value(); });
  } else if (auto* check = qobject_cast<QCheckBox*>(&widget)) {
    connect(check, &QCheckBox::clicked, this, clickOf<ui::CheckBox>(element, true));
    clickOnToggle(*check, clickOf<ui::CheckBox>(element, true),
                  [model = &element] { return static_cast<ui::CheckBox*>(model)->Value() == 1; });
  } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
    connect(edit, &QLineEdit::textEdited, this, [this, box = &element, edit] {
      editedByKey_ = true;
      typed(static_cast<ui::TextBox&>(*box), *edit, true);
    });
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(&widget)) {
    plain->viewport()->installEventFilter(this);
    connect(plain, &QPlainTextEdit::textChanged, this, [this, box = &element, plain] {
      typed(static_cast<ui::TextBox&>(*box), *plain, false);
    });
  } else if (auto* bar = qobject_cast<QScrollBar*>(&widget)) {
    auto* model = static_cast<ui::HScrollBar*>(&element);
    connect(bar, &QScrollBar::valueChanged, this, [this, model](int value) {
      if (!binder_.form()) return;
      deliver([model, value] { model->setValue(value); });
      resync(*model);
    });
  }
}

// A screen reader's Toggle checks a button without clicking it: once the event is over,
// a button whose check the model did not make is clicked in the model too. A click has
// brought the two in step by then and sends nothing more.
void InputRouter::clickOnToggle(QAbstractButton& button, std::function<void()> click,
                                std::function<bool()> modelChecked) {
  connect(&button, &QAbstractButton::toggled, this, [this, &button, click, modelChecked] {
    QTimer::singleShot(0, &button, [this, &button, click, modelChecked] {
      if (binder_.form() && button.isChecked() != modelChecked()) click();
    });
  });
}

void InputRouter::wireMenu(ui::Element& element, const ControlBinder::Binding& binding) {
  if (binding.menu) {
    connect(binding.menu, &QMenu::aboutToShow, this, clickOf<ui::Menu>(element, false));
  } else {
    connect(binding.action, &QAction::triggered, this, clickOf<ui::Menu>(element, false));
  }
}

// A click on the element's widget; a check or option button then shows what the model
// made of it.
template <class Clickable>
std::function<void()> InputRouter::clickOf(ui::Element& element, bool resyncAfter) {
  return [this, model = static_cast<Clickable*>(&element), resyncAfter] {
    if (!binder_.form()) return;
    deliver([model] { model->click(); });
    if (resyncAfter) resync(*model);
  };
}

void InputRouter::typed(ui::TextBox& box, const QWidget& widget, bool resyncAfter) {
  if (!binder_.form()) return;
  const TypedText now = typedText(widget);
  deliver([&box, now] { box.type(now.text, now.caret); });
  if (resyncAfter) resync(box);
}

void InputRouter::resync(const ui::Element& element) {
  if (binder_.form()) binder_.sync(element);
}

// ---- focus ----------------------------------------------------------------------------

void InputRouter::applyTabOrder() {
  QWidget* previous = nullptr;
  for (ui::Element* e : binder_.form()->tabOrder()) {
    QWidget* w = binder_.widgetOf(*e);
    if (!w) continue;
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

void InputRouter::focusChanged(QWidget* now) {
  ui::Form* form = binder_.form();
  // While the model's choice waits for the next frame, the widgets' own moves (off a
  // button being disabled) are not the user's.
  if (!form || applyingFocus_ || focusAwaitsFrame_ || !now) return;
  if (ui::Element* e = binder_.elementOfWidget(now); e && form->focused() != e) {
    const QScopedValueRollback guard(applyingFocus_, true);
    form->setFocus(e);
  }
}

void InputRouter::applyFocus() {
  ui::Form* form = binder_.form();
  if (!form || !form->focused() || applyingFocus_) return;
  focusAwaitsFrame_ = false;
  restoreFocusWhenActive();
  QWidget* w = binder_.widgetOf(*form->focused());
  if (!w) return;
  if (!w->hasFocus()) {
    const QScopedValueRollback guard(applyingFocus_, true);
    w->setFocus(Qt::OtherFocusReason);
  }
  // A clock tick that enables a box and gives it the focus (an INPUT waiting) reaches the
  // widgets only at the next frame.
  focusAwaitsFrame_ = !w->isEnabled() && form->focused()->usable();
  if (form->focused()->kind() == ui::ElementKind::TextBox) {
    syncSelection(*w, static_cast<ui::TextBox&>(*form->focused()));
  }
}

// A window that is not active may lose the focus and selection on its way to the front:
// set them again once it is active.
void InputRouter::restoreFocusWhenActive() {
  if (!window_.isActiveWindow()) restoreFocusOnActivation_ = true;
}

void InputRouter::framed() {
  if (focusAwaitsFrame_) applyFocus();
}

void InputRouter::activated() {
  if (!restoreFocusOnActivation_) return;
  restoreFocusOnActivation_ = false;
  QTimer::singleShot(0, this, [this] { applyFocus(); });
}

// ---- keys -----------------------------------------------------------------------------

// The form's key handler takes every key that types something; otherwise Return presses
// the form's default button.
bool InputRouter::keyPressed(const QKeyEvent& event) {
  return formTakesKey(event) || (isReturn(event) && pressReturn());
}

bool InputRouter::formTakesKey(const QKeyEvent& event) {
  ui::Form* form = binder_.form();
  if (!form || !form->onKeyPress || event.text().isEmpty()) return false;
  const int ascii = event.text().at(0).unicode();
  deliver([form, ascii] {
    if (form->onKeyPress) form->onKeyPress(ascii);
  });
  return true;
}

// Enter presses the button the form names for the focused element.
bool InputRouter::pressReturn() {
  ui::Form* form = binder_.form();
  if (!form) return false;
  ui::CommandButton* target =
      form->enterButton(binder_.elementOfWidget(QApplication::focusWidget()));
  if (!target) return false;
  deliver([target] { target->click(); });
  return true;
}

// A key typed over a selection of the same text ("0" over a selected "0") leaves the
// text as it was, and the box reports nothing; it is still an edit for the program.
bool InputRouter::typeOverSelection(QLineEdit& edit, QKeyEvent& key) {
  const QString typedText = key.text();
  if (typedText.isEmpty() || !typedText.at(0).isPrint() || !edit.hasSelectedText() ||
      edit.isReadOnly()) {
    return false;
  }
  const QString before = edit.text();
  editedByKey_ = false;
  edit.event(&key);
  if (editedByKey_ || edit.text() != before || edit.hasSelectedText()) return true;
  if (ui::Element* e = binder_.elementOfWidget(&edit)) {
    typed(static_cast<ui::TextBox&>(*e), edit, true);
  }
  return true;
}

// Actions the front end gave the window itself (Ctrl+Z on the execution screen).
bool InputRouter::windowAnswers(const QKeySequence& keys) const {
  const QList<QAction*> actions = window_.actions();
  return std::any_of(actions.begin(), actions.end(), [&keys](const QAction* action) {
    return action->isEnabled() && action->shortcut() == keys;
  });
}

bool InputRouter::filterKey(QObject* watched, QKeyEvent& key) {
  if (formTakesKey(key)) return true;
  if (qobject_cast<QPlainTextEdit*>(watched)) return false;  // Return starts a new line
  if (isReturn(key)) return pressReturn();
  auto* edit = qobject_cast<QLineEdit*>(watched);
  return edit && typeOverSelection(*edit, key);
}

bool InputRouter::eventFilter(QObject* watched, QEvent* event) {
  ui::Element* element = binder_.elementOfWidget(watched);
  if (!binder_.form() || !element) return false;
  switch (event->type()) {
    case QEvent::KeyPress: return filterKey(watched, static_cast<QKeyEvent&>(*event));
    case QEvent::ShortcutOverride: {
      // The menu's shortcuts (Ctrl+X among them) win over the text box's own keys.
      auto& key = static_cast<QKeyEvent&>(*event);
      const QKeySequence keys(key.keyCombination());
      if (!isTextWidget(watched) || !(binder_.isMenuShortcut(keys) || windowAnswers(keys))) {
        return false;
      }
      key.ignore();
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (element->kind() == ui::ElementKind::TextBox) {
        auto* box = static_cast<ui::TextBox*>(element);
        deliver([box] { box->click(); });
      }
      return false;
    default: return false;
  }
}

// ---- mouse and closing ----------------------------------------------------------------

void InputRouter::mousePressed(Surface& surface, QMouseEvent& event) {
  ui::Form* form = binder_.form();
  if (!form) return;
  pressedLabel_ = surface.labelAt(event.position().toPoint());
  pressedBackground_ = !pressedLabel_ && &surface == binder_.client();
  if (pressedBackground_ && form->onMouseDown) deliver([form] { form->onMouseDown(); });
}

void InputRouter::mouseReleased(Surface& surface, QMouseEvent& event) {
  ui::Form* form = binder_.form();
  if (!form || event.button() != Qt::LeftButton) return;
  ui::Label* label = pressedLabel_;
  const bool background = pressedBackground_ && &surface == binder_.client();
  pressedLabel_ = nullptr;
  pressedBackground_ = false;
  const QPoint pos = event.position().toPoint();
  if (label && surface.labelAt(pos) == label) {
    deliver([label] { label->click(); });
  } else if (background && surface.rect().contains(pos) && form->onClick) {
    deliver([form] { form->onClick(); });
  }
}

void InputRouter::closeRequested() {
  ui::Form* form = binder_.form();
  if (form) deliver([form] { form->requestClose(); });
}

}  // namespace volpar::qt
