#include "qt/memory_tooltips.h"

#include <QHelpEvent>
#include <QToolTip>

#include "history/instruction_text.h"
#include "qt/form_window.h"
#include "screens/input/DERAZO_Input.h"

namespace volpar::qt {

MemoryTooltips::MemoryTooltips(FormWindow& window) : QObject(&window), window_(window) {
  window.clientArea()->installEventFilter(this);
}

int MemoryTooltips::addressAt(QPoint point, QRect& row) const {
  const auto* input = dynamic_cast<const DERAZO_Input*>(window_.form());
  if (!input) return -1;  // the screen is on its way out
  for (int a = 0; a < 32; ++a) {
    row = window_.pixelRect(input->Shape1(8 * a + 1))
              .united(window_.pixelRect(input->Shape1(8 * a + 8)));
    if (row.contains(point)) return a;
  }
  return -1;
}

bool MemoryTooltips::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return false;
  auto& help = static_cast<QHelpEvent&>(*event);
  QRect row;
  const int address = addressAt(help.pos(), row);
  if (address < 0) {
    QToolTip::hideText();
    return false;
  }
  const auto& input = static_cast<const DERAZO_Input&>(*window_.form());
  QToolTip::showText(help.globalPos(),
                     QString::fromStdString(history::memoryRowText(input, address)),
                     static_cast<QWidget*>(watched), row);
  return true;
}

}  // namespace volpar::qt
