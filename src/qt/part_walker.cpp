// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/part_walker.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace volpar::qt {

namespace {
constexpr int kPartsPerPage = 8;  // a page key moves as far as one column of the grid
}

PartWalker::PartWalker(QWidget* area, std::vector<QAccessibleInterface*> parts,
                       std::function<int()> start)
    : QWidget(area), parts_(std::move(parts)), start_(std::move(start)) {
  setObjectName(QStringLiteral("volpar-walk"));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setGeometry(0, 0, 1, 1);
  qApp->installEventFilter(this);
}

const QAccessibleInterface* PartWalker::focused() const {
  return hasFocus() && current_ >= 0 ? parts_[static_cast<std::size_t>(current_)] : nullptr;
}

// A Tab or Shift+Tab pressed in this window makes the walker a Tab stop until the key is
// handled.
bool PartWalker::eventFilter(QObject*, QEvent* event) {
  if (event->type() != QEvent::KeyPress || parts_.empty()) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  const QWidget* focus = QApplication::focusWidget();
  if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && focus && focus->window() == window() &&
      focusPolicy() == Qt::NoFocus) {
    setFocusPolicy(Qt::TabFocus);
    QTimer::singleShot(0, this, [this] { setFocusPolicy(Qt::NoFocus); });
  }
  return false;
}

void PartWalker::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (parts_.empty()) return;
  if (current_ < 0) current_ = std::max(0, start_ ? start_() : 0);
  // After Qt's own news that this widget took the focus, which would follow the part's.
  QTimer::singleShot(0, this, [this] { tell(); });
}

void PartWalker::keyPressEvent(QKeyEvent* event) {
  const int last = static_cast<int>(parts_.size()) - 1;
  int to = current_;
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: to = current_ - 1; break;
    case Qt::Key_Down:
    case Qt::Key_Right: to = current_ + 1; break;
    case Qt::Key_Home: to = 0; break;
    case Qt::Key_End: to = last; break;
    case Qt::Key_PageUp: to = current_ - kPartsPerPage; break;
    case Qt::Key_PageDown: to = current_ + kPartsPerPage; break;
    default: QWidget::keyPressEvent(event); return;
  }
  current_ = std::clamp(to, 0, last);
  tell();
}

// The screen reader reads the part now focused ("Address 5: 00100101, LOAD 5"), and the
// eye sees it framed.
void PartWalker::tell() {
  if (!hasFocus()) return;
  QAccessibleInterface* part = parts_[static_cast<std::size_t>(current_)];
  const QRect box = part->rect();
  if (box.isValid()) setGeometry(QRect(parentWidget()->mapFromGlobal(box.topLeft()), box.size()));
  update();
  QAccessibleEvent event(part, QAccessible::Focus);
  QAccessible::updateAccessibility(&event);
}

void PartWalker::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  setGeometry(0, 0, 1, 1);
}

void PartWalker::paintEvent(QPaintEvent*) {
  if (!hasFocus()) return;
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
  painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

}  // namespace volpar::qt
