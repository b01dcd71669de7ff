#include "ui/qt/form_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

#include "ui/qt/controls.h"
#include "ui/qt/qt_color.h"

namespace volpar::qt {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

bool isReturn(const QKeyEvent& e) {
  return (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter) &&
         !(e.modifiers() & (Qt::AltModifier | Qt::ControlModifier));
}

bool isTextWidget(const QObject* o) {
  return qobject_cast<const QLineEdit*>(o) || qobject_cast<const QPlainTextEdit*>(o);
}

}  // namespace

FormWindow::FormWindow(ui::Form& form, EventGate& gate) : form_(&form), gate_(gate) {
  setWindowTitle(qs(form.Caption()));
  Surface::Hooks hooks;
  hooks.scale = [this]() -> const TwipScale& { return scale_; };
  hooks.background = [this](const Surface& s) { return backgroundOf(s); };
  hooks.mousePressed = [this](Surface& s, QMouseEvent& e) { mousePressed(s, e); };
  hooks.mouseReleased = [this](Surface& s, QMouseEvent& e) { mouseReleased(s, e); };
  client_ = new Surface(nullptr, hooks, this);
  client_->setObjectName("client");
  client_->setMinimumSize(baseSize() / 2);
  client_->installEventFilter(this);
  setCentralWidget(client_);

  frameTimer_.setSingleShot(true);
  connect(&frameTimer_, &QTimer::timeout, this, [this] { flushRepaints(); });
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!form_ || applyingFocus_ || !now) return;
    if (ui::Element* e = elementOfWidget(now); e && form_->focused() != e) {
      applyingFocus_ = true;
      form_->setFocus(e);
      applyingFocus_ = false;
    }
  });

  build();
  const int menuHeight = menuWidget() ? menuWidget()->sizeHint().height() : 0;
  resize(baseSize().width(), baseSize().height() + menuHeight);
  // A hidden window lays itself out only when shown; its drawing must be right before.
  layout()->activate();
  relayout();
  if (const auto& at = form.position()) move(at->x / 15, at->y / 15);
  form.setObserver(this);
  if (form.Visible()) show();
}

FormWindow::~FormWindow() { detach(); }

void FormWindow::detach() {
  if (!form_) return;
  if (form_->observer() == this) form_->setObserver(nullptr);
  for (auto& [element, binding] : bindings_) {
    if (binding.clock) binding.clock->detach();
  }
  client_->forget();
  for (Surface* s : frames_) s->forget();
  frameTimer_.stop();
  pendingRepaint_.clear();
  pendingSync_.clear();
  elementOfWidget_.clear();
  bindings_.clear();
  pressedLabel_ = nullptr;
  form_ = nullptr;
  hide();
}

QSize FormWindow::baseSize() const {
  if (!form_) return {1, 1};
  return {std::max(1, form_->clientWidth() / 15), std::max(1, form_->clientHeight() / 15)};
}

QWidget* FormWindow::clientArea() const { return client_; }

// ---- building -------------------------------------------------------------------------

void FormWindow::build() {
  buildSurfaces();
  for (ui::Element* e : form_->elements()) {
    Binding& b = bindings_[e];
    b.element = e;
    if (b.container == nullptr) b.container = surfaceOf(e->container());
    if (isPainted(e->kind())) b.container->hold(*e);
    if (e->kind() == ui::ElementKind::Timer) {
      b.clock = std::make_unique<ClockDriver>(static_cast<ui::Timer&>(*e), gate_);
    }
  }
  buildControls();
  buildMenus();
  applyTabOrder();
  // Widgets overlap in the order their elements were created: later ones on top.
  for (ui::Element* e : form_->elements()) {
    if (QWidget* w = bindings_[e].widget) w->raise();
  }
  relayout();
  for (auto& [element, binding] : bindings_) syncElement(binding);
}

void FormWindow::buildSurfaces() {
  Surface::Hooks hooks;
  hooks.scale = [this]() -> const TwipScale& { return scale_; };
  hooks.background = [this](const Surface& s) { return backgroundOf(s); };
  hooks.mousePressed = [this](Surface& s, QMouseEvent& e) { mousePressed(s, e); };
  hooks.mouseReleased = [this](Surface& s, QMouseEvent& e) { mouseReleased(s, e); };
  for (ui::Element* e : form_->elements()) {
    if (e->kind() != ui::ElementKind::Frame) continue;
    auto* surface = new Surface(static_cast<ui::Frame*>(e), hooks, client_);
    frames_.push_back(surface);
    bindings_[e].widget = surface;
  }
  // Frames may hold frames: place each inside its container once all exist.
  for (Surface* s : frames_) {
    Binding& b = bindings_[s->frame()];
    b.element = s->frame();
    b.container = surfaceOf(s->frame()->container());
    if (b.container != client_) s->setParent(b.container);
  }
}

void FormWindow::buildControls() {
  for (ui::Element* e : form_->elements()) {
    Binding& b = bindings_[e];
    QWidget* w = createControl(*e, b.container);
    if (!w) continue;
    b.widget = w;
    elementOfWidget_[w] = e;
    w->installEventFilter(this);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
      elementOfWidget_[edit->viewport()] = e;
      edit->viewport()->installEventFilter(this);
    }
    connectControl(*e, *w);
  }
}

void FormWindow::buildMenus() {
  for (ui::Element* e : form_->elements()) {
    if (e->kind() != ui::ElementKind::Menu) continue;
    auto* item = static_cast<ui::Menu*>(e);
    Binding& b = bindings_[e];
    QMenu* parentMenu = item->parent() ? bindings_[item->parent()].menu : nullptr;
    if (!parentMenu) {
      b.menu = menuBar()->addMenu(qs(item->Caption()));
      connect(b.menu, &QMenu::aboutToShow, this, [this, item] {
        if (form_) deliver([item] { item->click(); });
      });
    } else {
      b.action = parentMenu->addAction(qs(item->Caption()));
      if (!item->Shortcut().empty()) b.action->setShortcut(QKeySequence(qs(item->Shortcut())));
      connect(b.action, &QAction::triggered, this, [this, item] {
        if (form_) deliver([item] { item->click(); });
      });
    }
  }
}

void FormWindow::connectControl(ui::Element& element, QWidget& widget) {
  // Every handler first checks that the form still exists: a discarded form's window
  // lingers until the event loop deletes it.
  auto after = [this, e = &element] {
    if (form_) syncElement(bindings_[e]);
  };
  if (auto* button = qobject_cast<QPushButton*>(&widget)) {
    auto* model = static_cast<ui::CommandButton*>(&element);
    connect(button, &QPushButton::clicked, this, [this, model] {
      if (form_) deliver([model] { model->click(); });
    });
  } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
    auto* model = static_cast<ui::TextBox*>(&element);
    connect(edit, &QLineEdit::textEdited, this, [this, model, edit, after] {
      editedByKey_ = true;
      if (!form_) return;
      const TypedText typed = typedText(*edit);
      deliver([model, typed] { model->type(typed.text, typed.caret); });
      after();
    });
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(&widget)) {
    auto* model = static_cast<ui::TextBox*>(&element);
    connect(plain, &QPlainTextEdit::textChanged, this, [this, model, plain] {
      if (!form_) return;
      const TypedText typed = typedText(*plain);
      deliver([model, typed] { model->type(typed.text, typed.caret); });
    });
  } else if (auto* radio = qobject_cast<QRadioButton*>(&widget)) {
    auto* model = static_cast<ui::OptionButton*>(&element);
    connect(radio, &QRadioButton::clicked, this, [this, model, after] {
      if (!form_) return;
      deliver([model] { model->click(); });
      after();
    });
  } else if (auto* check = qobject_cast<QCheckBox*>(&widget)) {
    auto* model = static_cast<ui::CheckBox*>(&element);
    connect(check, &QCheckBox::clicked, this, [this, model, after] {
      if (!form_) return;
      deliver([model] { model->click(); });
      after();
    });
  } else if (auto* bar = qobject_cast<QScrollBar*>(&widget)) {
    auto* model = static_cast<ui::HScrollBar*>(&element);
    connect(bar, &QScrollBar::valueChanged, this, [this, model, after](int value) {
      if (!form_) return;
      deliver([model, value] { model->setValue(value); });
      after();
    });
  }
}

Surface* FormWindow::surfaceOf(const ui::Frame* frame) const {
  if (!frame) return client_;
  auto it = bindings_.find(frame);
  if (it == bindings_.end() || !it->second.widget) return client_;
  return static_cast<Surface*>(it->second.widget);
}

QColor FormWindow::backgroundOf(const Surface& surface) const {
  const QPalette& pal = palette();
  if (!form_) return pal.color(QPalette::Window);
  for (const ui::Frame* f = surface.frame(); f; f = f->container()) {
    if (f->backColor() != ui::kInherit) return toQColor(f->backColor(), pal);
  }
  return toQColor(form_->BackColor(), pal);
}

// ---- keeping the window in step -------------------------------------------------------

void FormWindow::relayout() {
  if (!form_) return;
  const QSize base = baseSize();
  const double sx = static_cast<double>(client_->width()) / base.width();
  const double sy = static_cast<double>(client_->height()) / base.height();
  const double s = std::min(sx, sy);
  scale_.scale = s > 0 ? s : 1.0;
  for (auto& [element, binding] : bindings_) {
    if (binding.widget) syncElement(binding);
  }
  client_->update();
}

void FormWindow::syncElement(Binding& b) {
  ui::Element& e = *b.element;
  if (isPainted(e.kind())) {
    repaintLater(b.container, scale_.dirty(e));
  } else if (e.kind() == ui::ElementKind::Frame) {
    syncFrame(b);
  } else if (b.widget) {
    syncControl(*b.widget, e, scale_);
    if (e.kind() == ui::ElementKind::TextBox && form_->focused() == &e) {
      syncSelection(*b.widget, static_cast<ui::TextBox&>(e));
      if (!isActiveWindow()) restoreFocusOnActivation_ = true;
    }
  } else if (b.clock) {
    b.clock->sync();
  } else if (b.menu || b.action) {
    syncMenu(b);
  }
}

void FormWindow::syncFrame(Binding& b) {
  auto* surface = static_cast<Surface*>(b.widget);
  const ui::Element& e = *b.element;
  const QRect geometry = scale_.pixels(e.rect());
  if (surface->geometry() != geometry) surface->setGeometry(geometry);
  if (surface->isEnabled() != e.enabled()) surface->setEnabled(e.enabled());
  if (surface->isVisibleTo(surface->parentWidget()) != e.visible()) {
    // A panel that opens lies over whatever it covers.
    if (e.visible()) surface->raise();
    surface->setVisible(e.visible());
  }
  surface->update();
}

void FormWindow::syncMenu(Binding& b) {
  const auto& item = static_cast<const ui::Menu&>(*b.element);
  QAction* action = b.menu ? b.menu->menuAction() : b.action;
  action->setText(qs(item.Caption()));
  action->setEnabled(item.enabled());
  action->setVisible(item.visible());
}

// A running clock changes the model a thousand times a second and the screen shows a
// frame every kFrameMs: its changes reach the widgets once a frame. The timer's own
// binding goes at once, since it decides whether the rest of a burst of ticks runs.
void FormWindow::elementChanged(ui::Element& element) {
  auto it = bindings_.find(&element);
  if (it == bindings_.end()) return;
  Binding& b = it->second;
  if (!gate_.inTick() || b.clock) {
    syncElement(b);
    return;
  }
  if (!b.pending) {
    b.pending = true;
    pendingSync_.push_back(&b);
  }
  if (!frameTimer_.isActive()) frameTimer_.start(kFrameMs);
}

void FormWindow::formChanged(ui::Form&, FormEvent event) {
  switch (event) {
    case FormEvent::Shown: show(); break;
    case FormEvent::Hidden: hide(); break;
    case FormEvent::BroughtToFront:
      show();
      raise();
      activateWindow();
      applyFocus();
      break;
    case FormEvent::FocusChanged: applyFocus(); break;
  }
}

void FormWindow::applyFocus() {
  if (!form_ || !form_->focused() || applyingFocus_) return;
  // A window that is not active may lose the selection on its way to the front: set it
  // again once it is active.
  if (!isActiveWindow()) restoreFocusOnActivation_ = true;
  QWidget* w = widgetOf(*form_->focused());
  if (!w) return;
  if (!w->hasFocus()) {
    applyingFocus_ = true;
    w->setFocus(Qt::OtherFocusReason);
    applyingFocus_ = false;
  }
  if (form_->focused()->kind() == ui::ElementKind::TextBox) {
    syncSelection(*w, static_cast<ui::TextBox&>(*form_->focused()));
  }
}

void FormWindow::applyTabOrder() {
  QWidget* previous = nullptr;
  for (ui::Element* e : form_->tabOrder()) {
    QWidget* w = widgetOf(*e);
    if (!w) continue;
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

void FormWindow::repaintLater(Surface* surface, const QRect& rect) {
  pendingRepaint_[surface] += rect;
  if (!frameTimer_.isActive()) frameTimer_.start(kFrameMs);
}

void FormWindow::flushRepaints() {
  std::vector<Binding*> changed;
  changed.swap(pendingSync_);
  for (Binding* b : changed) {
    b->pending = false;
    syncElement(*b);
  }
  frameTimer_.stop();
  for (auto& [surface, region] : pendingRepaint_) surface->update(region);
  pendingRepaint_.clear();
}

void FormWindow::flushAll() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* window = dynamic_cast<FormWindow*>(w)) window->flushRepaints();
  }
}

// ---- lookups for tests and tools -------------------------------------------------------

QRect FormWindow::pixelRect(const ui::Element& element) const {
  QRect r = scale_.pixels(element.rect());
  for (const ui::Frame* f = element.container(); f; f = f->container()) {
    r.translate(scale_.pixels(f->rect()).topLeft());
  }
  return r;
}

QWidget* FormWindow::widgetOf(const ui::Element& element) const {
  auto it = bindings_.find(&element);
  return it == bindings_.end() ? nullptr : it->second.widget;
}

ClockDriver* FormWindow::clockOf(const ui::Timer& timer) const {
  auto it = bindings_.find(&timer);
  return it == bindings_.end() ? nullptr : it->second.clock.get();
}

ui::Element* FormWindow::elementOfWidget(const QObject* widget) const {
  auto it = elementOfWidget_.find(widget);
  return it == elementOfWidget_.end() ? nullptr : it->second;
}

// ---- user events ----------------------------------------------------------------------

void FormWindow::deliver(const std::function<void()>& handler) { gate_.deliver(handler); }

void FormWindow::deliverKeyPress(const QKeyEvent& event) {
  const int ascii = event.text().isEmpty() ? 0 : event.text().at(0).unicode();
  ui::Form* form = form_;
  deliver([form, ascii] {
    if (form->onKeyPress) form->onKeyPress(ascii);
  });
}

// Enter presses the button the form names for the focused element.
bool FormWindow::pressReturn() {
  if (!form_) return false;
  ui::CommandButton* target = form_->enterButton(elementOfWidget(QApplication::focusWidget()));
  if (!target) return false;
  deliver([target] { target->click(); });
  return true;
}

// A key typed over a selection of the same text ("0" over a selected "0") leaves the
// text as it was, and the box reports nothing; it is still an edit for the program.
bool FormWindow::typeOverSelection(QLineEdit& edit, QKeyEvent& key) {
  const QString typed = key.text();
  if (typed.isEmpty() || !typed.at(0).isPrint() || !edit.hasSelectedText() || edit.isReadOnly()) {
    return false;
  }
  const QString before = edit.text();
  editedByKey_ = false;
  edit.event(&key);
  if (editedByKey_ || !form_ || edit.text() != before || edit.hasSelectedText()) return true;
  if (ui::Element* e = elementOfWidget(&edit)) {
    auto* box = static_cast<ui::TextBox*>(e);
    const TypedText now = typedText(edit);
    deliver([box, now] { box->type(now.text, now.caret); });
    if (form_) syncElement(bindings_[e]);
  }
  return true;
}

bool FormWindow::menuShortcut(const QKeyEvent& event) const {
  const QKeySequence pressed(event.keyCombination());
  for (const auto& [element, binding] : bindings_) {
    if (binding.action && binding.action->isEnabled() && binding.action->shortcut() == pressed)
      return true;
  }
  return false;
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_) {
    if (event->type() == QEvent::Resize) relayout();
    return false;
  }
  if (!form_ || !elementOfWidget(watched)) return false;
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto& key = static_cast<QKeyEvent&>(*event);
      if (form_->onKeyPress && !key.text().isEmpty()) {
        deliverKeyPress(key);
        return true;
      }
      if (isReturn(key) && !qobject_cast<QPlainTextEdit*>(watched)) return pressReturn();
      if (auto* edit = qobject_cast<QLineEdit*>(watched)) return typeOverSelection(*edit, key);
      return false;
    }
    case QEvent::ShortcutOverride: {
      // The menu's shortcuts (Ctrl+X among them) win over the text box's own keys.
      auto& key = static_cast<QKeyEvent&>(*event);
      if (isTextWidget(watched) && menuShortcut(key)) {
        key.ignore();
        return true;
      }
      return false;
    }
    case QEvent::MouseButtonRelease: {
      ui::Element* e = elementOfWidget(watched);
      if (e->kind() == ui::ElementKind::TextBox) {
        auto* box = static_cast<ui::TextBox*>(e);
        deliver([box] { box->click(); });
      }
      return false;
    }
    default: return false;
  }
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  if (form_ && form_->onKeyPress && !event->text().isEmpty()) {
    deliverKeyPress(*event);
    return;
  }
  if (isReturn(*event) && pressReturn()) return;
  QMainWindow::keyPressEvent(event);
}

void FormWindow::mousePressed(Surface& surface, QMouseEvent& event) {
  if (!form_) return;
  pressedLabel_ = surface.labelAt(event.position().toPoint());
  pressedBackground_ = !pressedLabel_ && &surface == client_;
  if (pressedBackground_ && form_->onMouseDown) {
    ui::Form* form = form_;
    deliver([form] { form->onMouseDown(); });
  }
}

void FormWindow::mouseReleased(Surface& surface, QMouseEvent& event) {
  if (!form_ || event.button() != Qt::LeftButton) return;
  ui::Label* label = pressedLabel_;
  const bool background = pressedBackground_;
  pressedLabel_ = nullptr;
  pressedBackground_ = false;
  const QPoint pos = event.position().toPoint();
  if (label && surface.labelAt(pos) == label) {
    deliver([label] { label->click(); });
  } else if (background && &surface == client_ && client_->rect().contains(pos) && form_->onClick) {
    ui::Form* form = form_;
    deliver([form] { form->onClick(); });
  }
}

void FormWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (!form_) return;
  ui::Form* form = form_;
  // A form without an unload handler (the welcome screen) is only hidden.
  deliver([form] {
    if (form->onUnload) {
      form->requestClose();
    } else {
      form->Hide();
    }
  });
}

void FormWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isActiveWindow() ||
      !restoreFocusOnActivation_) {
    return;
  }
  restoreFocusOnActivation_ = false;
  QTimer::singleShot(0, this, [this] { applyFocus(); });
}

void FormWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (sizedOnce_ || !form_) return;
  sizedOnce_ = true;
  // The menu bar's height is known for sure only now: make the client area exact.
  const QSize missing = baseSize() - client_->size();
  if (!missing.isNull()) resize(size() + missing);
}

}  // namespace volpar::qt
