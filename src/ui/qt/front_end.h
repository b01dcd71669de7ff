#pragma once

#include <QPointer>
#include <string>
#include <unordered_map>

#include "app/application.h"
#include "ui/qt/event_gate.h"
#include "ui/qt/form_window.h"

namespace volpar::qt {

// The windows of the running program: opens one for each screen the application creates
// and lets it go when the screen is destroyed. Every event reaches the program through
// its gate, after which discarded screens are destroyed.
class FrontEnd : public ScreensObserver {
 public:
  explicit FrontEnd(Application& app);
  ~FrontEnd() override;
  FrontEnd(const FrontEnd&) = delete;
  FrontEnd& operator=(const FrontEnd&) = delete;

  // Program start, as the first event.
  void start();
  // Opens a program file as File > Open would, once the event loop runs: the welcome
  // screen is shown first and any message appears in front of it.
  void openAtStart(const std::string& path);

  EventGate& gate() { return gate_; }
  FormWindow* windowOf(const ui::Form& form) const;

  void formCreated(ui::Form& form) override;
  void formDestroyed(ui::Form& form) override;

 private:
  Application& app_;
  EventGate gate_;
  std::unordered_map<const ui::Form*, QPointer<FormWindow>> windows_;
};

}  // namespace volpar::qt
