#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

namespace volpar::qt {

class FormWindow;

// Tooltips over the input screen's memory grid, in either arrangement: hovering over a
// row says what its byte is ("Address 5: 00100101 = 37 = LOAD 5"), read from the cells
// as they are at that moment.
class MemoryTooltips : public QObject {
 public:
  // Watches the window's client area; goes with the window.
  explicit MemoryTooltips(FormWindow& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The address whose row lies under the point, with the row's box; -1 for none.
  int addressAt(QPoint point, QRect& row) const;

  FormWindow& window_;
};

}  // namespace volpar::qt
