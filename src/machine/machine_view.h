// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "machine/REXEC_Manual.h"

namespace volpar {

class REXEC;
class DERAZO_Input;

// The machine read as numbers: registers, decoded op code, clock phase and memory, taken
// from the elements that hold them each time they are asked for. It keeps no copy and
// changes nothing; it is valid while the two screens it was made from exist (Restart
// replaces them).
class MachineView {
 public:
  enum class Register { PC, AR, IR, X, Y, S, Output };
  enum class OpCode {
    Add,
    Load,
    Store,
    Input,
    Output,
    Branch,
    BranchIfNegative,
    BranchIfNotNegative
  };

  MachineView(const REXEC& rexec, const DERAZO_Input& input, const REXEC_Manual& manual)
      : rexec_(rexec), input_(input), manual_(manual) {}

  // A register's value as its decimal caption shows it: the value the engine computes
  // with. The IR's caption shows only the address field, so the IR is its eight cells.
  int value(Register r) const;
  // The register's bit cells as a number: a cell in the register's colour for 1 (yellow
  // for PC and AR, red for the others) is 1, any other colour 0.
  int cells(Register r) const;

  int pc() const { return value(Register::PC); }
  int ar() const { return value(Register::AR); }
  int ir() const { return value(Register::IR); }
  int x() const { return value(Register::X); }
  int y() const { return value(Register::Y); }
  int s() const { return value(Register::S); }
  int output() const { return value(Register::Output); }

  // The op code whose decoder cell is lit green; none before the first fetch.
  std::optional<OpCode> decoded() const;
  static std::optional<OpCode> decoded(const REXEC& rexec);
  const REXEC& rexec() const { return rexec_; }
  // The phase whose clock cell is lit: the one performed last, -1 before the first.
  int litPhase() const;
  static int litPhase(const REXEC& rexec);
  // The phase the next clock pulse performs, 0 to 7.
  int phase() const { return manual_.Clock_Phase; }
  // The phase most recently performed is T0: the machine stands between instructions.
  bool atInstructionBoundary() const { return manual_.At_Phase_Zero; }
  // The byte at `address` (0 to 31) of the memory grid: yellow cells are 1, white and
  // black ones 0, as the engine reads them.
  int memory(int address) const;

 private:
  const REXEC& rexec_;
  const DERAZO_Input& input_;
  const REXEC_Manual& manual_;
};

}  // namespace volpar
