// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/event_gate.h"

#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include "qt/form_window.h"
#include "qt/translated.h"

namespace volpar::qt {

EventGate::EventGate(std::function<void()> afterEvent, std::function<bool()> ended)
    : frontend::EventGate(std::move(afterEvent), std::move(ended), [](const std::string& message) {
        FormWindow::flushAll();
        QMessageBox box(QMessageBox::Warning, "VOLPAR", QString::fromStdString(message));
        box.setTextFormat(Qt::PlainText);  // the failure may name a file
        box.addButton(QMessageBox::Ok)->setText(qt::tr("OK"));
        box.exec();
      }) {}

}  // namespace volpar::qt
