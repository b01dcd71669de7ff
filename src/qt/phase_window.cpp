// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/phase_window.h"

#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

#include "assembly/program_text.h"
#include "frontend/reading_windows.h"
#include "machine/machine_view.h"
#include "machine/phase_explanation.h"
#include "qt/qt_text.h"
#include "screens/execution/REXEC.h"

namespace volpar::qt {

PhaseWindow::PhaseWindow(Application& app)
    : QWidget(nullptr, Qt::Window),
      app_(app),
      heading_(new QLabel(this)),
      transfer_(new QLabel(this)),
      sentence_(new QLabel(this)) {
  setWindowTitle(text(frontend::kPhaseTitle));
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
  const REXEC* rexec = app_.existingRexec();
  const DERAZO_Input* input = app_.existingDerazoInput();
  const int phase = rexec ? litPhase(*rexec) : -1;
  if (!rexec || !input || phase < 0) {
    heading_->setText(text(frontend::kNoPhaseHeading));
    transfer_->setText("");
    sentence_->setText(text(frontend::kNoPhaseSentence));
    return;
  }
  const MachineView view(*rexec, *input, app_.manual());
  const auto decoded = view.decoded();
  QString heading = QString("T%1").arg(phase);
  if (phase != 1 && decoded) {
    heading += QString(" of %1").arg(QString::fromUtf8(
        assembly::kMnemonics[static_cast<std::size_t>(*decoded)].data(),
        static_cast<int>(assembly::kMnemonics[static_cast<std::size_t>(*decoded)].size())));
  }
  const PhaseExplanation& e = lastPhaseExplanation(view, phase);
  heading_->setText(heading);
  transfer_->setText(QString::fromStdString(transferWithValue(e, view)));
  sentence_->setText(QString::fromUtf8(e.sentence.data(), static_cast<int>(e.sentence.size())));
}

}  // namespace volpar::qt
