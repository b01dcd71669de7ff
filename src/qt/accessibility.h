// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "frontend/reading_windows.h"
#include "qt/form_window.h"
#include "ui/accessible_parts.h"

namespace volpar::qt {

class PartWalker;

// What a screen reader finds of a screen beyond its widgets, as the form offers it
// (Form::accessibleParts): an object for each reading (on the execution screen each
// register, the negative flag, the decoder, the clock, the lit lamps and the INPUT
// window) and a table of rows (on the input screen the memory grid). Every text box gets
// the name of the label beside it. Changes reach the screen reader a few
// times a second at most, the newest state winning, so that a fast clock does not flood
// it; the texts are read from the model each time, never kept. What changed is also
// said aloud (see announce below): one sentence per phase, what Send to Memory stored,
// nothing while the clock runs fast and where it stopped when it stops.
class MachineAccessibility : public QObject, public FormWindow::ChangeListener {
 public:
  static constexpr int kAnnounceMs = frontend::kAnnounceMs;

  MachineAccessibility(FormWindow& window, ui::AccessibleParts parts);
  ~MachineAccessibility() override;

  // The accessible objects of the window's drawing, in order.
  int count() const { return static_cast<int>(items_.size()); }
  QAccessibleInterface* item(int i) const;
  int indexOf(const QAccessibleInterface* iface) const;
  FormWindow& window() const { return window_; }
  bool alive() const { return alive_; }
  // The drawn part the keyboard is on, if any (a Tab stop walks the parts by arrow keys).
  const QAccessibleInterface* focusedPart() const;

  // Called after each announcement of changes (the state window follows it).
  std::function<void()> announced;

  void elementChanged(ui::Element& element) override;
  void formGone() override;

  // The language changed: the parts take the names of `fresh`, the same parts newly named.
  void rename(const ui::AccessibleParts& fresh);

  // Sends the changes waiting now instead of at the next announcement.
  void announceNow();

  // The accessible objects for the client area of windows that have them.
  static QAccessibleInterface* factory(const QString& className, QObject* object);

 private:
  void adopt(QAccessibleInterface* iface);
  void own();
  void announce();
  QString news();
  QString tableNews();
  QString renamedButton();

  FormWindow& window_;
  ui::AccessibleParts parts_;
  std::vector<QAccessible::Id> ids_;
  std::vector<QAccessibleInterface*> items_;
  // What each object last told the screen reader, to tell only what changed.
  std::vector<QString> told_;
  QTimer timer_;
  QElapsedTimer sinceLast_;
  // What each reading and row last said aloud, and whether the clock ran too fast to.
  std::vector<QString> spoken_;
  bool wasQuiet_ = false;
  QPointer<PartWalker> walker_;           // the Tab stop that walks the parts
  QPointer<QAbstractButton> lastButton_;  // the focused button at the last news
  QString lastCaption_;
  bool alive_ = true;
};

// Gives the window's controls the names and descriptions the form offers.
void nameControls(FormWindow& window, const std::vector<ui::ControlName>& names);

// Says `news` aloud through the window's notification object: a screen reader speaks a
// notification as it shows, wherever the focus is (the text, name or description
// changes of other objects, or of the focused button, it does not speak).
void announce(QWidget* window, const QString& news);
// The next news of the machine begins with `lead` ("Back": a step back undid a phase).
void announceNextWith(const QString& lead);

// Installs the factory above; once, before the first window.
void enableMachineAccessibility();

}  // namespace volpar::qt
