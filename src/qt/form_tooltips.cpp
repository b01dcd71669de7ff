// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/form_tooltips.h"

#include <QHelpEvent>
#include <QToolTip>
#include <cmath>

#include "qt/element_painter.h"
#include "qt/form_window.h"

namespace volpar::qt {

FormTooltips::FormTooltips(FormWindow& window) : QObject(&window), window_(window) {
  window.clientArea()->installEventFilter(this);
}

bool FormTooltips::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return false;
  const ui::Form* form = window_.form();  // none once the screen is on its way out
  if (!form || !form->tooltipAt) return false;
  auto& help = static_cast<QHelpEvent&>(*event);
  const TwipScale ts{window_.scale()};
  const ui::Point at{static_cast<int>(std::lround(help.pos().x() / ts.k())),
                     static_cast<int>(std::lround(help.pos().y() / ts.k()))};
  const auto tooltip = form->tooltipAt(at);
  if (!tooltip) {
    QToolTip::hideText();
    return false;
  }
  QToolTip::showText(help.globalPos(), QString::fromStdString(tooltip->text),
                     static_cast<QWidget*>(watched), ts.pixels(tooltip->area));
  return true;
}

}  // namespace volpar::qt
