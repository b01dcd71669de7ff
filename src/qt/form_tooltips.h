// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace volpar::qt {

class FormWindow;

// The tooltips a form offers over parts of its drawing (the input screen's memory grid says
// what a row's byte is: "Address 5: 00100101 = 37 = LOAD 5"), asked of the form as it is at
// that moment. Shown while the pointer stays over the part the tooltip speaks of.
class FormTooltips : public QObject {
 public:
  // Watches the window's client area; goes with the window.
  explicit FormTooltips(FormWindow& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FormWindow& window_;
};

}  // namespace volpar::qt
