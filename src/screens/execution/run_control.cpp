// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <string>

#include "i18n/text.h"
#include "machine/REXEC_Manual.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/screens.h"
#include "ui/platform.h"

namespace volpar {
namespace {

// The rate the scroll bar gives, never below 1 Hz, so the interval never divides by 0.
int rateOf(const ui::HScrollBar& scroll) { return std::max(1, scroll.Value()); }

// Clock_Rate, the timer interval (1000 / rate, truncated) and the Hertz caption from the
// scroll bar.
void takeClockRate(REXEC& rexec, REXEC_Manual& manual) {
  const int rate = rateOf(rexec.time_scroll);
  manual.Clock_Rate = static_cast<float>(rate);
  rexec.Timer1.setInterval(1000 / rate);
  rexec.Time_Hertz.setCaption(std::to_string(rate));
}

}  // namespace

// A clock pulse: in automatic mode it starts the clock, in manual mode it performs a phase.
void REXEC::Command_Begin_Step_Click() {
  screens_.manual().pulse([this] { beginOrStep(); });
}

void REXEC::beginOrStep() {
  if (automatic_radio.Value()) {
    // The first phase runs at the first tick, one interval from now.
    Command_View_Memory.setEnabled(false);
    Command_Return_to_Input.setEnabled(false);
    Command_Begin_Step.setEnabled(false);
    Command_Pause.setEnabled(true);
    Timer1.setEnabled(true);
    return;
  }
  Command_Resume.setEnabled(false);
  Command_Pause.setEnabled(false);
  Command_One_instruction.setEnabled(false);
  Command_View_Memory.setEnabled(true);
  Command_Return_to_Input.setEnabled(true);
  Command_Begin_Step.setCaption(i18n::mark("&Step"));
  Command_Begin_Step.setDefault(true);
  screens_.manual().Run_Clock_Phase();
}

void REXEC::Timer1_Timer() {
  REXEC_Manual& manual = screens_.manual();
  manual.pulse([&manual] { manual.Run_Clock_Phase(); });
}

// The next T0 stops the clock and sets the paused buttons; nothing changes now.
void REXEC::Command_Pause_Click() { screens_.manual().Pause_At_T0 = true; }

void REXEC::Command_Resume_Click() {
  Command_Resume.setEnabled(false);
  if (manual_radio.Value()) {
    Command_Pause.setEnabled(false);
    Timer1.setEnabled(false);
  } else {
    Command_Pause.setEnabled(true);
    Timer1.setEnabled(true);
  }
}

// Runs T1 to T7 on the timer and stops at the following T0: exactly one instruction.
void REXEC::Command_One_instruction_Click() {
  screens_.manual().Pause_At_T0 = true;
  Timer1.setEnabled(true);
}

void REXEC::Command_Options_Click() {
  OPTIONS_FRAME.setVisible(true);
  Stop_For_Output.setVisible(true);
  Stop_For_Output.setEnabled(true);
  takeClockRate(*this, screens_.manual());
  Command_Options_Close.setVisible(true);
  Command_Options_Close.SetFocus();

  // The mode may change only at T0 or while already manual; the speed at any time in
  // automatic mode.
  const bool automatic = automatic_radio.Value();
  const bool offerModes = manual_radio.Value() || (automatic && screens_.manual().At_Phase_Zero);
  manual_radio.setVisible(offerModes);
  automatic_radio.setVisible(offerModes);
  Label_Fast.setVisible(offerModes);
  Label_Slow.setVisible(offerModes);
  time_scroll.setVisible(true);
  time_scroll.setEnabled(!manual_radio.Value());
  Label_Show_clock_Stuff.setVisible(!offerModes);
}

void REXEC::Command_Options_Close_Click() { OPTIONS_FRAME.setVisible(false); }

void REXEC::automatic_radio_Click() {
  time_scroll.setEnabled(true);
  Label_Slow.setEnabled(true);
  Label_Fast.setEnabled(true);
  Stop_For_Output.setEnabled(true);
  Command_Resume.setEnabled(false);
  Command_Pause.setEnabled(false);
  Command_One_instruction.setEnabled(true);
  Command_Options_Close.SetFocus();
  Command_Begin_Step.setCaption(i18n::mark("&Begin"));
}

// Leaves the timer alone: a clock still ticking runs on to the next T0, which in manual
// mode stops it.
void REXEC::manual_radio_Click() {
  time_scroll.setEnabled(false);
  Label_Slow.setEnabled(false);
  Label_Fast.setEnabled(false);
  Stop_For_Output.setEnabled(false);
  Command_Resume.setEnabled(false);
  Command_Pause.setEnabled(false);
  Command_One_instruction.setEnabled(false);
  Command_Begin_Step.setEnabled(true);
  Command_Options_Close.SetFocus();
  Command_Begin_Step.setCaption(i18n::mark("&Begin"));
}

void REXEC::time_scroll_Change() { takeClockRate(*this, screens_.manual()); }

// Both screens are retired, not destroyed: this handler belongs to one of them and
// finishes on it; they are destroyed after the event.
// Restart does the same on both screens.
void REXEC::Command_Restart_Click() { screens_.derazoInput().Command_Restart_Click(); }

void REXEC::Command_Quit_Click() { screens_.derazoInput().endProgramAfterAsking(); }

void REXEC::Form_Unload() { screens_.derazoInput().endProgramAfterAsking(); }

void REXEC::Form_Help() { screens_.platform().showHelp(kHelpFile, kExecutionScreenHelpTopic); }

}  // namespace volpar
