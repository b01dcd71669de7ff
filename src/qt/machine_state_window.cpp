// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/machine_state_window.h"

#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextBlock>
#include <QVBoxLayout>

#include "frontend/reading_windows.h"
#include "i18n/text.h"
#include "qt/qt_text.h"
#include "qt/translated.h"

namespace volpar::qt {

MachineStateWindow::MachineStateWindow(std::function<std::string()> summary)
    : summary_(std::move(summary)), view_(new QPlainTextEdit(this)) {
  setTranslatedTitle(*this, frontend::kMachineStateTitle);
  view_->setReadOnly(true);
  // Read-only text keeps a caret, so that the keys move through it line by line.
  view_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  setTranslatedName(*view_, i18n::mark("Machine state"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_);
  resize(480, 640);
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);
}

void MachineStateWindow::open() {
  refresh();
  // Opened anew, it is read from its first line.
  view_->moveCursor(QTextCursor::Start);
  show();
  raise();
  activateWindow();
  view_->setFocus();
}

void MachineStateWindow::refresh() {
  const QString text = QString::fromStdString(summary_());
  if (view_->toPlainText() == text) return;
  const int line = view_->textCursor().blockNumber();
  view_->setPlainText(text);
  // The reader stays on the line it was reading.
  QTextCursor cursor(view_->document()->findBlockByNumber(line));
  view_->setTextCursor(cursor);
}

}  // namespace volpar::qt
