// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QPlainTextEdit;

namespace volpar::qt {

// The "VOLPAR Machine State" window (F3, "Read machine state"): the whole machine as plain
// text in a read-only view a screen reader reads line by line, one line per register,
// then one per memory row. It takes the text anew whenever the machine has told the
// screen reader of changes, and on opening.
class MachineStateWindow : public QWidget {
 public:
  explicit MachineStateWindow(std::function<std::string()> summary);

  // Shows the window in front with the focus in its text.
  void open();
  void refresh();
  QPlainTextEdit* view() const { return view_; }

 private:
  std::function<std::string()> summary_;
  QPlainTextEdit* view_;
};

}  // namespace volpar::qt
