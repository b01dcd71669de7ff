// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "history/machine_reading.h"
#include "qt/form_window.h"

namespace volpar {
class REXEC;
class DERAZO_Input;
}  // namespace volpar

namespace volpar::qt {

// What a screen reader finds of a screen beyond its widgets: on the execution screen an
// object for each register, the negative flag, the decoder, the clock, the lit lamps and
// the INPUT window; on the input screen the memory grid as a table of 32 rows. Every
// text box gets the name of the label beside it. Changes reach the screen reader a few
// times a second at most, the newest state winning, so that a fast clock does not flood
// it; the texts are read from the model each time, never kept.
class MachineAccessibility : public QObject, public FormWindow::ChangeListener {
 public:
  static constexpr int kAnnounceMs = 250;

  MachineAccessibility(FormWindow& window, const REXEC& rexec);
  MachineAccessibility(FormWindow& window, const DERAZO_Input& input);
  ~MachineAccessibility() override;

  // The accessible objects of the window's drawing, in order.
  int count() const { return static_cast<int>(items_.size()); }
  QAccessibleInterface* item(int i) const;
  int indexOf(const QAccessibleInterface* iface) const;
  FormWindow& window() const { return window_; }
  bool alive() const { return alive_; }

  // Called after each announcement of changes (the state window follows it).
  std::function<void()> announced;

  void elementChanged(ui::Element& element) override;
  void formGone() override;

  // Sends the changes waiting now instead of at the next announcement.
  void announceNow();

  // The accessible objects for the client area of windows that have them.
  static QAccessibleInterface* factory(const QString& className, QObject* object);

 private:
  void nameTextBoxes(const std::vector<std::pair<const ui::Element*, QString>>& names);
  void adopt(QAccessibleInterface* iface);
  void own();
  void announce();
  void tellFocus(const QString& news);

  FormWindow& window_;
  const DERAZO_Input* input_ = nullptr;
  std::vector<QAccessible::Id> ids_;
  std::vector<QAccessibleInterface*> items_;
  // What each object last told the screen reader, to tell only what changed.
  std::vector<QString> told_;
  QTimer timer_;
  QElapsedTimer sinceLast_;
  QPointer<QWidget> toldFocus_;  // the control that says the last changes
  bool alive_ = true;
};

// Installs the factory above; once, before the first window.
void enableMachineAccessibility();

}  // namespace volpar::qt
