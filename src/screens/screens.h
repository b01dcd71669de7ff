// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace volpar {

// The help file, and the topic of it that F1 opens on the execution screen (the input
// screen's F1 is Help > Contents, topic 1).
inline constexpr const char* kHelpFile = "Vuvuva.zev";
inline constexpr int kExecutionScreenHelpTopic = 10;

namespace ui {
class Platform;
}

class REXEC;
class DERAZO_Input;
class Initial_Screen;
class REXEC_Manual;

// The program's screens as the handlers and the engine reach them. A screen referred to
// before it exists is created at that moment (hidden, or shown by its own load step);
// a discarded screen is retired and destroyed only after the running event has finished,
// so a handler may discard its own screen and still complete.
class Screens {
 public:
  virtual ~Screens() = default;

  virtual REXEC& rexec() = 0;
  virtual DERAZO_Input& derazoInput() = 0;
  virtual Initial_Screen& initialScreen() = 0;

  virtual void unloadRexec() = 0;
  virtual void unloadDerazoInput() = 0;
  virtual void unloadInitialScreen() = 0;

  // The code module: module variables, engine, program files.
  virtual REXEC_Manual& manual() = 0;
  virtual ui::Platform& platform() = 0;
};

}  // namespace volpar
