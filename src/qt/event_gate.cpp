#include "qt/event_gate.h"

#include <QMessageBox>
#include <QString>
#include <exception>

#include "qt/form_window.h"

namespace volpar::qt {

EventGate::EventGate(std::function<void()> afterEvent, std::function<bool()> ended)
    : afterEvent_(std::move(afterEvent)), ended_(std::move(ended)) {}

void EventGate::deliverTick(const std::function<void()>& handler) {
  const bool outer = tick_;
  tick_ = true;
  deliverOne(handler);
  tick_ = outer;
}

void EventGate::deliver(const std::function<void()>& handler) {
  const bool outer = tick_;
  tick_ = false;
  deliverOne(handler);
  tick_ = outer;
}

void EventGate::deliverOne(const std::function<void()>& handler) {
  if (ended()) return;
  ++depth_;
  QString failure;
  try {
    handler();
  } catch (const std::exception& e) {
    failure = QString::fromStdString(e.what());
  }
  --depth_;
  if (!failure.isEmpty() && !ended()) {
    FormWindow::flushAll();
    QMessageBox box(QMessageBox::Warning, "VOLPAR",
                    "This action could not be completed:\n" + failure);
    box.setTextFormat(Qt::PlainText);  // the failure may name a file
    box.exec();
  }
  if (depth_ == 0 && afterEvent_) afterEvent_();
}

}  // namespace volpar::qt
