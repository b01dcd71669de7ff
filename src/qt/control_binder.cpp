// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/control_binder.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <algorithm>

#include "frontend/reading_windows.h"
#include "qt/controls.h"
#include "qt/qt_color.h"
#include "qt/translated.h"

namespace volpar::qt {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// The area of many boxes, merged in pairs: adding one box at a time to the area would cost
// the square of their number.
QRegion unite(const std::vector<QRect>& boxes) {
  std::vector<QRegion> parts(boxes.begin(), boxes.end());
  for (std::size_t step = 1; step < parts.size(); step *= 2) {
    for (std::size_t i = 0; i + step < parts.size(); i += 2 * step) parts[i] += parts[i + step];
  }
  return parts.empty() ? QRegion() : parts.front();
}

}  // namespace

ControlBinder::ControlBinder(ui::Form& form, EventGate& gate, QMainWindow& window, Hooks hooks)
    : form_(&form), gate_(gate), window_(window), hooks_(std::move(hooks)) {
  client_ = new Surface(nullptr, surfaceHooks(), &window);
  client_->setObjectName("client");
  client_->setMinimumSize(baseSize() / 2);
  frameTimer_.setSingleShot(true);
  QObject::connect(&frameTimer_, &QTimer::timeout, &frameTimer_, [this] { flush(); });
}

Surface::Hooks ControlBinder::surfaceHooks() {
  Surface::Hooks hooks;
  hooks.scale = [this]() -> const TwipScale& { return scale_; };
  hooks.background = [this](const Surface& s) { return backgroundOf(s); };
  hooks.mousePressed = hooks_.mousePressed;
  hooks.mouseReleased = hooks_.mouseReleased;
  return hooks;
}

void ControlBinder::detach() {
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
  form_ = nullptr;
}

QSize ControlBinder::baseSize() const {
  if (!form_) return {1, 1};
  return {std::max(1, form_->clientWidth() / frontend::kTwipsPerPixel),
          std::max(1, form_->clientHeight() / frontend::kTwipsPerPixel)};
}

// ---- building -------------------------------------------------------------------------

void ControlBinder::build() {
  buildSurfaces();
  bindElements();
  buildMenus();
  // Widgets overlap in the order their elements were created: later ones on top.
  for (ui::Element* e : form_->elements()) {
    if (QWidget* w = bindings_[e].widget) w->raise();
  }
  relayout();
  for (auto& [element, binding] : bindings_) syncBinding(binding);
}

void ControlBinder::buildSurfaces() {
  for (ui::Element* e : form_->elements()) {
    if (e->kind() != ui::ElementKind::Frame) continue;
    auto* surface = new Surface(static_cast<ui::Frame*>(e), surfaceHooks(), client_);
    frames_.push_back(surface);
    bindings_[e].widget = surface;
  }
  // Frames may hold frames: place each inside its container once all exist.
  for (Surface* s : frames_) {
    Binding& b = bindings_[s->frame()];
    b.container = surfaceOf(s->frame()->container());
    if (b.container != client_) s->setParent(b.container);
  }
}

void ControlBinder::bindElements() {
  for (ui::Element* e : form_->elements()) {
    Binding& b = bindings_[e];
    b.element = e;
    if (b.container == nullptr) b.container = surfaceOf(e->container());
    if (isPainted(e->kind())) b.held = b.container->hold(*e);
    if (e->kind() == ui::ElementKind::Timer) {
      b.clock = std::make_unique<ClockDriver>(static_cast<ui::Timer&>(*e), gate_);
    }
    if (QWidget* w = createControl(*e, b.container)) {
      b.widget = w;
      elementOfWidget_[w] = e;
      if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) elementOfWidget_[edit->viewport()] = e;
    }
  }
}

void ControlBinder::buildMenus() {
  for (ui::Element* e : form_->elements()) {
    if (e->kind() != ui::ElementKind::Menu) continue;
    auto* item = static_cast<ui::Menu*>(e);
    Binding& b = bindings_[e];
    QMenu* parentMenu = item->parent() ? bindings_[item->parent()].menu : nullptr;
    if (!parentMenu) {
      b.menu = window_.menuBar()->addMenu(shown(item->Caption()));
    } else {
      b.action = parentMenu->addAction(shown(item->Caption()));
      if (!item->Shortcut().empty()) b.action->setShortcut(QKeySequence(qs(item->Shortcut())));
    }
  }
}

Surface* ControlBinder::surfaceOf(const ui::Frame* frame) const {
  if (!frame) return client_;
  auto it = bindings_.find(frame);
  if (it == bindings_.end() || !it->second.widget) return client_;
  return static_cast<Surface*>(it->second.widget);
}

QColor ControlBinder::backgroundOf(const Surface& surface) const {
  const QPalette& pal = window_.palette();
  if (!form_) return pal.color(QPalette::Window);
  for (const ui::Frame* f = surface.frame(); f; f = f->container()) {
    if (f->backColor() != ui::kInherit) return toQColor(f->backColor(), pal);
  }
  return toQColor(form_->BackColor(), pal);
}

// ---- keeping the widgets in step ------------------------------------------------------

void ControlBinder::relayout() {
  if (!form_) return;
  const QSize base = baseSize();
  const double sx = static_cast<double>(client_->width()) / base.width();
  const double sy = static_cast<double>(client_->height()) / base.height();
  const double s = std::min(sx, sy);
  scale_.scale = s > 0 ? s : 1.0;
  for (auto& [element, binding] : bindings_) {
    if (binding.widget) syncBinding(binding);
  }
  client_->update();
}

void ControlBinder::syncAll() {
  if (!form_) return;
  for (auto& [element, binding] : bindings_) syncBinding(binding);
  flush();
  client_->update();
  for (Surface* s : frames_) s->update();
}

void ControlBinder::sync(const ui::Element& element) {
  auto it = bindings_.find(&element);
  if (it != bindings_.end()) syncBinding(it->second);
}

void ControlBinder::syncBinding(Binding& b) {
  ui::Element& e = *b.element;
  if (isPainted(e.kind())) {
    syncDrawn(b);
  } else if (e.kind() == ui::ElementKind::Frame) {
    syncFrame(b);
  } else if (b.widget) {
    syncControl(*b.widget, e, scale_);
    if (e.kind() == ui::ElementKind::TextBox && form_->focused() == &e) {
      syncSelection(*b.widget, static_cast<ui::TextBox&>(e));
      if (hooks_.selectionSynced) hooks_.selectionSynced();
    }
  } else if (b.clock) {
    b.clock->sync();
  } else if (b.menu || b.action) {
    syncMenu(b);
  }
}

// A clock at speed lights a cell and puts it out again within one frame: only what looks
// different from what the surface shows is painted again, where it was and where it is.
// The surface draws the look handed to it here, so whatever paints it (this frame, or an
// exposed part of the window later) shows the same moment.
void ControlBinder::syncDrawn(Binding& b) {
  Look look = lookOf(*b.element);
  const Look& shown = b.container->shown(b.held);
  if (shown == look) return;
  const ui::ElementKind kind = b.element->kind();
  if (shown.rect != look.rect) repaintLater(b.container, scale_.reach(kind, shown.rect));
  repaintLater(b.container, scale_.reach(kind, look.rect));
  b.container->show(b.held, std::move(look));
}

void ControlBinder::syncFrame(Binding& b) {
  auto* surface = static_cast<Surface*>(b.widget);
  const ui::Element& e = *b.element;
  const QRect geometry = scale_.pixels(e.rect());
  if (surface->geometry() != geometry) surface->setGeometry(geometry);
  if (surface->isEnabled() != e.enabled()) surface->setEnabled(e.enabled());
  // A panel is named by its caption ("START LOCATION"), as a screen reader says it.
  const QString name = shown(static_cast<const ui::Frame&>(e).Caption());
  if (surface->accessibleName() != name) surface->setAccessibleName(name);
  if (surface->isVisibleTo(surface->parentWidget()) != e.visible()) {
    // A panel that opens lies over whatever it covers.
    if (e.visible()) surface->raise();
    surface->setVisible(e.visible());
  }
  surface->update();
}

void ControlBinder::syncMenu(Binding& b) {
  const auto& item = static_cast<const ui::Menu&>(*b.element);
  QAction* action = b.menu ? b.menu->menuAction() : b.action;
  action->setText(shown(item.Caption()));
  action->setEnabled(item.enabled());
  action->setVisible(item.visible());
}

// A running clock changes the model a thousand times a second and the screen shows a
// frame every kFrameMs: its changes reach the widgets once a frame. The timer's own
// binding goes at once, since it decides whether the rest of a burst of ticks runs. A
// change from anything else (a click) brings the ticks' changes with it, so that the
// window never shows it beside an older state.
void ControlBinder::elementChanged(const ui::Element& element) {
  auto it = bindings_.find(&element);
  if (it == bindings_.end()) return;
  Binding& b = it->second;
  if (b.clock) {
    syncBinding(b);
    return;
  }
  if (!gate_.inTick()) {
    takeFrame();
    syncBinding(b);
    return;
  }
  if (!b.pending) {
    b.pending = true;
    pendingSync_.push_back(&b);
  }
  if (!frameTimer_.isActive()) frameTimer_.start(kFrameMs);
}

void ControlBinder::repaintLater(Surface* surface, const QRect& rect) {
  pendingRepaint_[surface].push_back(rect);
  if (!frameTimer_.isActive()) frameTimer_.start(kFrameMs);
}

// Everything the ticks changed since the last frame is taken from the model now, between
// two phases, to be painted as one frame.
void ControlBinder::takeFrame() {
  if (pendingSync_.empty()) return;
  std::vector<Binding*> changed;
  changed.swap(pendingSync_);
  for (Binding* b : changed) {
    b->pending = false;
    syncBinding(*b);
  }
  if (hooks_.framed) hooks_.framed();
}

void ControlBinder::flush() {
  takeFrame();
  frameTimer_.stop();
  for (auto& [surface, boxes] : pendingRepaint_) {
    if (boxes.empty()) continue;
    surface->update(unite(boxes));
    boxes.clear();
  }
}

// ---- lookups --------------------------------------------------------------------------

QRect ControlBinder::pixelRect(const ui::Element& element) const {
  QRect r = scale_.pixels(element.rect());
  for (const ui::Frame* f = element.container(); f; f = f->container()) {
    r.translate(scale_.pixels(f->rect()).topLeft());
  }
  return r;
}

const ControlBinder::Binding* ControlBinder::bindingOf(const ui::Element& element) const {
  auto it = bindings_.find(&element);
  return it == bindings_.end() ? nullptr : &it->second;
}

QWidget* ControlBinder::widgetOf(const ui::Element& element) const {
  const Binding* b = bindingOf(element);
  return b ? b->widget : nullptr;
}

ClockDriver* ControlBinder::clockOf(const ui::Timer& timer) const {
  const Binding* b = bindingOf(timer);
  return b ? b->clock.get() : nullptr;
}

ui::Element* ControlBinder::elementOfWidget(const QObject* widget) const {
  auto it = elementOfWidget_.find(widget);
  return it == elementOfWidget_.end() ? nullptr : it->second;
}

bool ControlBinder::isMenuShortcut(const QKeySequence& keys) const {
  return std::any_of(bindings_.begin(), bindings_.end(), [&keys](const auto& entry) {
    const QAction* action = entry.second.action;
    return action && action->isEnabled() && action->shortcut() == keys;
  });
}

}  // namespace volpar::qt
