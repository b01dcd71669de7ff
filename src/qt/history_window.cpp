// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/history_window.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "frontend/reading_windows.h"
#include "qt/accessibility.h"
#include "qt/qt_text.h"
#include "qt/translated.h"

namespace volpar::qt {

namespace {

// Every line one text line high, measured once, but the few that wrap: a long history is
// laid out without reading its lines.
class LineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const auto* view = qobject_cast<const QListView*>(parent());
    const int width = view ? view->viewport()->width() : option.rect.width();
    // The style's text margin on each side, as it paints the text.
    const QStyle* style = view ? view->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int lineHeight = option.fontMetrics.height() + 2;
    if (!index.data(HistoryLines::kWrapsRole).toBool()) return {width, lineHeight};
    const QRect text =
        option.fontMetrics.boundingRect(QRect(0, 0, std::max(width - 2 * margin, 1), 1 << 20),
                                        Qt::TextWordWrap, index.data().toString());
    return {width, std::max(text.height() + 2, lineHeight)};
  }
};

}  // namespace

QRect placeBeside(const QRect& available, const QRect& beside, QSize size) {
  size = size.boundedTo(available.size());
  const int right = available.right() - beside.right();  // free pixels on each side
  const int left = beside.left() - available.left();
  int x = 0;
  if (right >= size.width()) {
    x = beside.right() + 1;
  } else if (left >= size.width()) {
    x = beside.left() - size.width();
  } else {
    x = right >= left ? available.right() + 1 - size.width() : available.left();
  }
  const int y = std::clamp(beside.top(), available.top(), available.bottom() + 1 - size.height());
  return {QPoint(x, y), size};
}

QVariant HistoryLines::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  const auto row = static_cast<std::size_t>(index.row());
  if (role == kWrapsRole) return history_.isEndLine(row);
  if (role != Qt::DisplayRole) return {};
  return QString::fromStdString(history_.line(row));
}

void HistoryLines::relist() {
  beginResetModel();
  endResetModel();
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
      stepBack_(new QPushButton(this)) {
  setTranslated(*stepBack_, frontend::kHistoryStepBack);
  setTranslatedTitle(*this, frontend::kHistoryTitle);
  list_->setModel(&lines_);
  list_->setItemDelegate(new LineDelegate(list_));
  list_->setWordWrap(true);
  list_->setResizeMode(QListView::Adjust);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* hint = new QLabel(this);
  setTranslated(*hint, frontend::kHistoryHint);
  hint->setWordWrap(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(hint, 1);
  buttons->addWidget(stepBack_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  resize(440, 520);

  auto* undo = new QAction(this);
  undo->setShortcut(QKeySequence(text(frontend::kHistoryStepBackKey)));
  addAction(undo);
  auto back = [this] {
    announceNextWith(qt::tr("Back"));
    gate_.deliver([this] { history_.stepBack(); });
    refresh();
  };
  connect(undo, &QAction::triggered, this, back);
  const std::pair<std::string_view, void (QAbstractItemView::*)()> ends[] = {
      {frontend::kHistoryFirstLineKey, &QAbstractItemView::scrollToTop},
      {frontend::kHistoryLastLineKey, &QAbstractItemView::scrollToBottom}};
  for (const auto& [key, scroll] : ends) {
    auto* go = new QAction(this);
    go->setShortcut(QKeySequence(text(key)));
    go->setShortcutContext(Qt::WindowShortcut);
    addAction(go);
    connect(go, &QAction::triggered, this, [this, scroll, key] {
      const int rows = lines_.rowCount({});
      if (rows == 0) return;
      list_->setCurrentIndex(lines_.index(key == frontend::kHistoryFirstLineKey ? 0 : rows - 1));
      (list_->*scroll)();
    });
  }
  connect(stepBack_, &QPushButton::clicked, this, back);
  connect(list_, &QListView::clicked, this,
          [this](const QModelIndex& index) { goBackTo(index.row()); });
  connect(&frame_, &QTimer::timeout, this, [this] { refresh(); });
  frame_.setSingleShot(true);
  frame_.setInterval(kRefreshMs);
  refresh();
}

void HistoryWindow::open(const QRect& besideFrame) {
  if (!placed_ && besideFrame.isValid()) {
    placed_ = true;
    const QScreen* screen = QGuiApplication::screenAt(besideFrame.center());
    if (screen) {
      // The frame's decorations are not known before the first show: allow for them.
      const QSize decorations = frameGeometry().size() - size();
      const QRect place = placeBeside(screen->availableGeometry(), besideFrame,
                                      size() + decorations.expandedTo({16, 40}));
      move(place.topLeft());
    }
  }
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

void HistoryWindow::languageChanged() {
  lines_.relist();
  refresh();
}

void HistoryWindow::eventFinished() {
  if (isVisible() && !frame_.isActive()) frame_.start();
}

void HistoryWindow::goBackTo(int line) {
  announceNextWith(qt::tr("Back"));
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
