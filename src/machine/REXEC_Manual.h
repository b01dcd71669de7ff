// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

#include "storage/program_file_text.h"
#include "ui/colors.h"

namespace volpar {

class REXEC;
class Screens;
namespace ui {
class Shape;
}

// The code module: the few values the screens do not show, the clock-phase engine, and
// the program-file procedures. The engine reads and writes the machine only through the
// elements of the execution screen and the memory grid of the input screen.
class REXEC_Manual {
 public:
  explicit REXEC_Manual(Screens& screens) : screens_(screens) {}

  // Module variables.
  std::int16_t Clock_Phase = 0;  // the phase the next clock pulse performs
  bool At_Phase_Zero = false;    // the phase most recently performed is T0
  bool Pause_At_T0 = false;      // stop the automatic clock at the next T0
  float Clock_Rate = 0.0F;       // Hertz, from the speed scroll bar
  bool Text_Driving_Bits = false;
  bool Bits_Driving_Text = false;
  std::string Program_File_Name;
  // The folder of the last program file loaded or saved without failure; Restart keeps it.
  std::string lastProgramFolder;

  // The module variables a run changes, kept to put them back: going back in the history,
  // or a headless machine made ready for its next run.
  struct ModuleState {
    std::int16_t clockPhase = 0;
    bool atPhaseZero = false, pauseAtT0 = false, textDrivingBits = false, bitsDrivingText = false;
    float clockRate = 0.0F;
  };
  ModuleState moduleState() const {
    return {Clock_Phase,       At_Phase_Zero,     Pause_At_T0,
            Text_Driving_Bits, Bits_Driving_Text, Clock_Rate};
  }
  void setModuleState(const ModuleState& state) {
    Clock_Phase = state.clockPhase;
    At_Phase_Zero = state.atPhaseZero;
    Pause_At_T0 = state.pauseAtT0;
    Text_Driving_Bits = state.textDrivingBits;
    Bits_Driving_Text = state.bitsDrivingText;
    Clock_Rate = state.clockRate;
  }

  // The bit boxes and the decimal fields of a screen write each other. Each side writes
  // under its own guard and not at all while the other side's is set, so a write never
  // comes back to the side that made it. True when `write` ran.
  template <class Write>
  bool bitsDriveText(Write write) {
    return drive(Bits_Driving_Text, Text_Driving_Bits, write);
  }
  template <class Write>
  bool textDrivesBits(Write write) {
    return drive(Text_Driving_Bits, Bits_Driving_Text, write);
  }

  // Value helpers.
  static std::int16_t Bits_To_Number(ui::Color c1, ui::Color c2, ui::Color c3, ui::Color c4,
                                     ui::Color c5, ui::Color c6, ui::Color c7, ui::Color c8,
                                     bool Include_High_Bits);
  void Copy_IR_To_PC();

  // Told around every clock pulse, a tick of Timer1 or a press of Begin/Step, which may
  // perform a phase, and when a run starts: the execution history follows the machine
  // through it.
  class PulseListener {
   public:
    virtual ~PulseListener() = default;
    virtual void pulseStarting() = 0;
    virtual void pulseEnded() = 0;
    virtual void runStarted() = 0;
  };
  void setPulseListener(PulseListener* listener) { pulseListener_ = listener; }
  // Runs the handler of a clock pulse between the listener's two calls.
  template <class Handler>
  void pulse(Handler handler) {
    if (!pulseListener_) return handler();
    struct Ended {
      PulseListener& listener;
      ~Ended() { listener.pulseEnded(); }
    };
    pulseListener_->pulseStarting();
    const Ended ended{*pulseListener_};
    handler();
  }
  void runStarted() {
    if (pulseListener_) pulseListener_->runStarted();
  }

  // Clock-phase engine: one call performs the phase named by Clock_Phase.
  void Run_Clock_Phase();
  void Phase_T0();
  void Phase_T1();
  void Phase_T2();
  void Phase_T3();
  void Phase_T4();
  void Phase_T5();
  void Phase_T6();
  void Phase_T7();

  // Program files. Save and load return nothing on success, or the text of a message
  // for the user (naming the file and the reason) when nothing could be done; a failed
  // save leaves the file untouched and a failed load leaves the memory grid untouched.
  [[nodiscard]] std::optional<std::string> Save_Program_File(const std::string& path);
  [[nodiscard]] std::optional<std::string> Load_Program_File(const std::string& path);
  std::string Memory_Byte_To_Text(std::int16_t address);
  // The whole memory, one text per byte, as Save writes it.
  storage::ByteTexts memoryBytes();
  void Text_To_Memory_Byte(std::int16_t address, const std::string& text);

 private:
  template <class Write>
  static bool drive(bool& mine, bool other, Write& write) {
    if (other) return false;
    // Cleared on every way out: a write that throws (the event gate reports it and goes
    // on) must not leave one side deaf to the other for the rest of the run.
    struct Cleared {
      bool& flag;
      ~Cleared() { flag = false; }
    };
    mine = true;
    const Cleared cleared{mine};
    write();
    return true;
  }
  // Every phase T1 to T7 opens alike: past T0, the clock column moves on from the phase
  // before, the lamps that phase lit go out and the buttons are set for a running
  // instruction.
  void openPhase(REXEC& rexec, int phase, std::initializer_list<ui::Shape*> lampsOut = {});

  Screens& screens_;
  PulseListener* pulseListener_ = nullptr;
};

}  // namespace volpar
