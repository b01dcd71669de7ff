// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <cstdint>

#include "frontend/reading_windows.h"
#include "history/execution_history.h"
#include "qt/event_gate.h"

class QListView;
class QPushButton;

namespace volpar::qt {

// Where a window of `size` goes beside `beside` (frame geometries) on the desktop's
// `available` area: to its right where there is room, else to its left, else on the side
// with more room, as far from it as the desktop allows. Top edges aligned, inside the area.
QRect placeBeside(const QRect& available, const QRect& beside, QSize size);

// The lines of the execution history for a list view. Only the rows in view are read, so
// a long history costs no more than a short one.
class HistoryLines : public QAbstractListModel {
 public:
  explicit HistoryLines(history::ExecutionHistory& history, QObject* parent = nullptr)
      : QAbstractListModel(parent), history_(history) {}

  // True for the lines that wrap at the window's width instead of being cut.
  static constexpr int kWrapsRole = Qt::UserRole;

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
  QVariant data(const QModelIndex& index, int role) const override;
  // Takes the history's lines in again if they changed since; true when they had.
  // Every line read again: the language changed.
  void relist();
  bool update();

 private:
  history::ExecutionHistory& history_;
  int rows_ = 0;
  std::uint64_t revision_ = ~std::uint64_t{0};
};

// The "VOLPAR Execution History" window: the history as it grows, scrolled to the newest
// line, a Step Back button (also Ctrl+Z) enabled while the clock stands still, and a
// click on a line goes back to that point (an instruction's: to its first phase).
// Ctrl+Home and Ctrl+End go to the first and the last line. It reads the history at most ten times
// a second (as often as anyone reads a scrolling list), only after an event may have changed it,
// never while hidden, and never while an event is under way: an idle program is not woken.
class HistoryWindow : public QWidget {
 public:
  static constexpr int kRefreshMs = frontend::kHistoryRefreshMs;

  HistoryWindow(history::ExecutionHistory& history, EventGate& gate);

  // Shows the window in front; the first time beside `besideFrame` (a window's frame),
  // where the desktop has room.
  void open(const QRect& besideFrame = {});
  // Reads the history now and shows what changed.
  void refresh();
  // An event has finished and may have changed the history: read it soon.
  // The lines read again in the language now in use.
  void languageChanged();
  void eventFinished();

  QListView* list() const { return list_; }
  QPushButton* stepBackButton() const { return stepBack_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void goBackTo(int line);

  history::ExecutionHistory& history_;
  EventGate& gate_;
  HistoryLines lines_;
  QListView* list_;
  QPushButton* stepBack_;
  QTimer frame_;
  bool placed_ = false;
};

}  // namespace volpar::qt
