// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "exercise/headless_platform.h"
#include "machine/machine_view.h"
#include "storage/program_file_text.h"
#include "ui/form_snapshot.h"

namespace volpar::exercise {

// How a run ended: a branch to its own address that changes nothing else (the usual end
// of a program), an INPUT with no value left, or the instruction limit.
enum class End { Halt, Input, Limit };
const char* endText(End end);

// The machine or its screens did not behave as a user would see them behave.
class RunFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Told what a run does while it runs.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  virtual void output(int value) = 0;
  // After every clock phase; `phase` is the one just performed.
  virtual void phaseDone(int phase, const MachineView& machine) = 0;
};

// The program as the windows run it: the welcome screen passed, memory filled, Execute
// Program with the start address, the manual clock and one press of Begin/Step per clock
// phase, each INPUT answered in the input window. No dialog is ever shown; a message box
// or a clock that does not move on is a RunFault. One machine serves one run, or many
// when it is rewound before each: building the screens costs more than most runs.
class HeadlessMachine {
 public:
  HeadlessMachine();

  // Keeps the machine as it stands now, for rewind().
  void markFresh();
  // Puts the machine back as markFresh() found it: every property of the screens, the
  // module variables, the count of instructions. False when it cannot (nothing marked, or
  // the last run or load faulted part-way); build a new machine then.
  [[nodiscard]] bool rewind();

  // File > Open's load: nothing, or why the file was refused (memory unchanged).
  std::optional<std::string> loadFile(const std::string& path);
  // The bytes as a program file holds them.
  void loadBytes(const storage::ByteTexts& bytes);

  End run(int start, const std::vector<int>& inputs, std::uint64_t maxInstructions,
          RunObserver* observer = nullptr);

  const MachineView& view() const { return *view_; }
  std::uint64_t instructions() const { return completed_; }
  // Of the last run: how many inputs it took, and the addresses it fetched instructions
  // from (bit N for address N).
  std::size_t inputsRead() const { return inputsRead_; }
  std::uint32_t fetchedFrom() const { return fetched_; }
  // The byte at address as a program file would hold it.
  std::string byteText(int address);
  std::optional<std::string> save(const std::string& path);

 private:
  End runSteps(int start, const std::vector<int>& inputs, std::uint64_t maxInstructions,
               RunObserver* observer);
  void startExecution(int start);
  void chooseManualClock();
  bool branchedToItself(int fetchedFrom) const;
  void step(int phase);
  void answerInput(int number);
  void checkInputArrived() const;
  void settle(const char* during);

  HeadlessPlatform platform_;
  Application app_;
  REXEC* rexec_ = nullptr;
  DERAZO_Input* input_ = nullptr;
  std::optional<MachineView> view_;
  std::optional<MachineView::OpCode> decoded_;  // the op code the last fetch decoded
  std::uint64_t completed_ = 0;
  int answered_ = 0;
  std::size_t inputsRead_ = 0;
  std::uint32_t fetched_ = 0;
  // What rewind() puts back.
  std::vector<ui::FormSnapshot> fresh_;
  REXEC_Manual::ModuleState freshState_;
  bool faulted_ = false;  // a run or load stopped part-way
};

}  // namespace volpar::exercise
