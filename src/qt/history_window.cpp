#include "qt/history_window.h"

#include <QAction>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace volpar::qt {

QVariant HistoryLines::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_) return {};
  return QString::fromStdString(history_.line(static_cast<std::size_t>(index.row())));
}

bool HistoryLines::update() {
  // Counting the lines first lets a pending new start clear the history.
  const auto count = static_cast<int>(history_.lineCount());
  if (history_.revision() == revision_) return false;
  beginResetModel();
  rows_ = count;
  revision_ = history_.revision();
  endResetModel();
  return true;
}

HistoryWindow::HistoryWindow(history::ExecutionHistory& history, EventGate& gate)
    : QWidget(nullptr, Qt::Window),
      history_(history),
      gate_(gate),
      lines_(history),
      list_(new QListView(this)),
      stepBack_(new QPushButton("Step &Back", this)) {
  setWindowTitle("VOLPAR Execution History");
  list_->setModel(&lines_);
  list_->setUniformItemSizes(true);  // no row is measured but the first
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* hint = new QLabel("Click a line to go back to that point. Ctrl+Z steps back.", this);
  hint->setWordWrap(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(hint, 1);
  buttons->addWidget(stepBack_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  resize(440, 520);

  auto* undo = new QAction(this);
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  addAction(undo);
  auto back = [this] {
    gate_.deliver([this] { history_.stepBack(); });
    refresh();
  };
  connect(undo, &QAction::triggered, this, back);
  connect(stepBack_, &QPushButton::clicked, this, back);
  connect(list_, &QListView::clicked, this,
          [this](const QModelIndex& index) { goBackTo(index.row()); });
  connect(&frame_, &QTimer::timeout, this, [this] { refresh(); });
  frame_.setSingleShot(true);
  frame_.setInterval(kRefreshMs);
  refresh();
}

void HistoryWindow::open() {
  show();
  raise();
  activateWindow();
}

// A handler waiting in a message box may be in the middle of a phase: the history is read
// once it has finished.
void HistoryWindow::refresh() {
  if (gate_.busy()) return;
  const bool canStepBack = history_.canStepBack();
  if (lines_.update()) list_->scrollToBottom();
  stepBack_->setEnabled(canStepBack);
}

void HistoryWindow::eventFinished() {
  if (isVisible() && !frame_.isActive()) frame_.start();
}

void HistoryWindow::goBackTo(int line) {
  gate_.deliver([this, line] { history_.goBackTo(static_cast<std::size_t>(line)); });
  refresh();
}

void HistoryWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refresh();
}

void HistoryWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  frame_.stop();
}

}  // namespace volpar::qt
