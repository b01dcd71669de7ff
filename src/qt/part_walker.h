// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleInterface>
#include <QWidget>
#include <functional>
#include <vector>

namespace volpar::qt {

// The keyboard's way through a window's drawn parts, which are no widgets (the memory
// grid's rows, the execution screen's readings): a Tab stop at the
// end of the window's Tab order, whose arrow keys, Home, End and page keys move the
// screen reader's focus from part to part; it frames the part it is on.
//
// Only the Tab key brings the focus here. Qt also moves the focus on its own, off a
// button that is disabled or hidden and into a window as it comes forward; were the walker
// a Tab stop then, it would take the focus the window meant for its button (Step), and
// Space would press nothing. So it takes the focus only for the length of a Tab press,
// and it tells the screen reader of a part only while it really holds the focus.
class PartWalker : public QWidget {
 public:
  // `start` gives the part to begin at, the first time in (none: the first part).
  PartWalker(QWidget* area, std::vector<QAccessibleInterface*> parts, std::function<int()> start);

  // The part the keyboard is on, while the walker holds the focus; else none.
  const QAccessibleInterface* focused() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void tell();

  std::vector<QAccessibleInterface*> parts_;
  std::function<int()> start_;
  int current_ = -1;
};

}  // namespace volpar::qt
