// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/form_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QResizeEvent>
#include <algorithm>

#include "frontend/reading_windows.h"
#include "qt/text_scale.h"
#include "qt/translated.h"

namespace volpar::qt {

FormWindow::FormWindow(ui::Form& form, EventGate& gate)
    : binder_(form, gate, *this, binderHooks()), router_(binder_, gate, *this) {
  setWindowTitle(shown(form.Caption()));
  binder_.client()->installEventFilter(this);
  setCentralWidget(binder_.client());
  binder_.build();
  router_.wire();
  normalMenuHeight_ = menuWidget() ? menuWidget()->sizeHint().height() : 0;
  resize(baseSize().width(), baseSize().height() + normalMenuHeight_);
  // A hidden window lays itself out only when shown; its drawing must be right before.
  layout()->activate();
  binder_.relayout();
  if (const auto& at = form.position()) {
    move(at->x / frontend::kTwipsPerPixel, at->y / frontend::kTwipsPerPixel);
  }
  form.setObserver(this);
  if (form.Visible()) show();
}

// The router exists by the time any of these runs: they answer the user and the model.
ControlBinder::Hooks FormWindow::binderHooks() {
  ControlBinder::Hooks hooks;
  hooks.mousePressed = [this](Surface& s, QMouseEvent& e) { router_.mousePressed(s, e); };
  hooks.mouseReleased = [this](Surface& s, QMouseEvent& e) { router_.mouseReleased(s, e); };
  hooks.selectionSynced = [this] { router_.restoreFocusWhenActive(); };
  hooks.framed = [this] {
    router_.framed();
    for (const auto& listener : frameListeners_) listener();
  };
  return hooks;
}

FormWindow::~FormWindow() { detach(); }

void FormWindow::detach() {
  ui::Form* form = binder_.form();
  if (!form) return;
  if (form->observer() == this) form->setObserver(nullptr);
  if (listener_) listener_->formGone();
  listener_ = nullptr;
  router_.detach();
  binder_.detach();
  hide();
}

void FormWindow::languageChanged() {
  if (ui::Form* form = binder_.form()) setWindowTitle(shown(form->Caption()));
  binder_.syncAll();
}

void FormWindow::flushAll() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* window = dynamic_cast<FormWindow*>(w)) window->flushRepaints();
  }
}

void FormWindow::formChanged(ui::Form&, FormEvent event) {
  switch (event) {
    case FormEvent::Shown: show(); break;
    case FormEvent::Hidden: hide(); break;
    case FormEvent::BroughtToFront:
      show();
      raise();
      activateWindow();
      router_.applyFocus();
      break;
    case FormEvent::FocusChanged: router_.applyFocus(); break;
  }
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == binder_.client() && event->type() == QEvent::Resize) binder_.relayout();
  return false;
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  if (!router_.keyPressed(*event)) QMainWindow::keyPressEvent(event);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  router_.closeRequested();
}

void FormWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) router_.activated();
}

// The text scale follows the whole window, not the client area: a menu bar that grows with
// it takes room from the client area and would otherwise shrink itself again.
void FormWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const QSize base = baseSize();
  const double scale =
      std::max(1.0, std::min(static_cast<double>(width()) / base.width(),
                             static_cast<double>(height()) / (base.height() + normalMenuHeight_)));
  if (scale == textScale_) return;
  textScale_ = scale;
  if (menuWidget()) scaleText(*menuWidget(), scale);
  for (const auto& listener : textScaledListeners_) listener();
}

void FormWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (sizedOnce_ || !form()) return;
  sizedOnce_ = true;
  // The menu bar's height is known for sure only now: make the client area exact.
  const QSize missing = baseSize() - binder_.client()->size();
  if (!missing.isNull()) resize(size() + missing);
}

}  // namespace volpar::qt
