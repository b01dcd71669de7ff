// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "app/application.h"

class QLabel;

namespace volpar::qt {

// The "VOLPAR Phase" window: the phase the machine performed last, in words, with the
// value that moved ("T1 — AR ← PC: 5", then what the step does). It reads the machine
// after every event, so it follows a run and a step back alike.
class PhaseWindow : public QWidget {
 public:
  explicit PhaseWindow(Application& app);

  void open();
  void refresh();

  QLabel* heading() const { return heading_; }
  QLabel* transfer() const { return transfer_; }
  QLabel* sentence() const { return sentence_; }

 private:
  Application& app_;
  QLabel* heading_;
  QLabel* transfer_;
  QLabel* sentence_;
};

}  // namespace volpar::qt
