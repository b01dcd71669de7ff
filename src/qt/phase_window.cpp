// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/phase_window.h"

#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

#include "frontend/reading_windows.h"
#include "frontend/readings.h"
#include "qt/qt_text.h"
#include "qt/translated.h"

namespace volpar::qt {

PhaseWindow::PhaseWindow(Application& app)
    : QWidget(nullptr, Qt::Window),
      app_(app),
      heading_(new QLabel(this)),
      transfer_(new QLabel(this)),
      sentence_(new QLabel(this)) {
  setTranslatedTitle(*this, frontend::kPhaseTitle);
  QFont big = transfer_->font();
  big.setPointSizeF(big.pointSizeF() * 1.8);
  big.setBold(true);
  transfer_->setFont(big);
  sentence_->setWordWrap(true);
  for (QLabel* label : {heading_, transfer_, sentence_}) {
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addWidget(transfer_);
  layout->addWidget(sentence_, 1);
  resize(420, 180);
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);
}

void PhaseWindow::open() {
  refresh();
  show();
  raise();
  activateWindow();
}

void PhaseWindow::refresh() {
  const std::optional<frontend::PhaseReading> reading = frontend::readPhase(app_);
  if (!reading) {
    heading_->setText(qt::tr(frontend::kNoPhaseHeading));
    transfer_->setText("");
    sentence_->setText(qt::tr(frontend::kNoPhaseSentence));
    return;
  }
  heading_->setText(text(reading->heading));
  transfer_->setText(text(reading->transfer));
  sentence_->setText(text(reading->sentence));
}

}  // namespace volpar::qt
