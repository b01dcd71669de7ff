// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/phase_window.h"

#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

#include "assembly/program_text.h"
#include "frontend/reading_windows.h"
#include "i18n/text.h"
#include "machine/machine_view.h"
#include "machine/phase_explanation.h"
#include "qt/qt_text.h"
#include "qt/translated.h"
#include "screens/execution/REXEC.h"

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
  const REXEC* rexec = app_.existingRexec();
  const DERAZO_Input* input = app_.existingDerazoInput();
  const int phase = rexec ? litPhase(*rexec) : -1;
  if (!rexec || !input || phase < 0) {
    heading_->setText(qt::tr(frontend::kNoPhaseHeading));
    transfer_->setText("");
    sentence_->setText(qt::tr(frontend::kNoPhaseSentence));
    return;
  }
  const MachineView view(*rexec, *input, app_.manual());
  const auto decoded = view.decoded();
  const std::string clock = "T" + std::to_string(phase);
  QString heading = text(clock);
  if (phase != 1 && decoded) {
    // TRANSLATORS: a clock phase of an instruction: "T3 of LOAD".
    heading = text(i18n::fill(i18n::tr("%1 of %2"),
                              {clock, assembly::kMnemonics[static_cast<std::size_t>(*decoded)]}));
  }
  const PhaseExplanation& e = lastPhaseExplanation(view, phase);
  heading_->setText(heading);
  transfer_->setText(shown(transferWithValue(e, view)));
  sentence_->setText(shown(e.sentence));
}

}  // namespace volpar::qt
