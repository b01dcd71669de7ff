// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/headless_run.h"

#include <exception>
#include <ostream>
#include <string>
#include <vector>

#include "assembly/listing.h"
#include "assembly/program_text.h"
#include "exercise/grader.h"
#include "exercise/headless_machine.h"
#include "machine/phase_explanation.h"
#include "runner/grading.h"
#include "runner/text_escapes.h"

namespace volpar::runner {
namespace {

using exercise::End;
using exercise::HeadlessMachine;

// Prints OUTPUT lines and, when asked, a trace line and an explanation after every phase.
class Printer : public exercise::RunObserver {
 public:
  Printer(std::ostream& out, const RunOptions& options) : out_(out), options_(options) {}
  void output(int value) override { out_ << "OUTPUT " << value << '\n'; }
  void phaseDone(int phase, const MachineView& m) override {
    if (options_.trace)
      out_ << 'T' << phase << " PC " << m.pc() << " AR " << m.ar() << " S " << m.s() << '\n';
    if (options_.explain) explain(phase, m);
  }

 private:
  // "T5 ADD Y ← M[AR]: 7 — Copy Memory to Y: ..."; T1 belongs to no instruction yet.
  void explain(int phase, const MachineView& m) {
    const auto decoded = m.decoded();
    const std::string op =
        phase == 1 || !decoded
            ? "-"
            : std::string(assembly::kMnemonics[static_cast<std::size_t>(*decoded)]);
    const PhaseExplanation& e = lastPhaseExplanation(m, phase);
    out_ << 'T' << phase << ' ' << op << ' ' << transferWithValue(e, m) << " \u2014 " << e.sentence
         << '\n';
  }

  std::ostream& out_;
  const RunOptions& options_;
};

void dump(HeadlessMachine& machine, std::ostream& out) {
  const MachineView& m = machine.view();
  out << "PC " << m.pc() << "\nAR " << m.ar() << "\nIR " << m.ir() << "\nX " << m.x() << "\nY "
      << m.y() << "\nS " << m.s() << "\nOUT " << m.output() << '\n';
  for (int address = 0; address < 32; ++address) {
    out << "MEM " << address << ' ' << machine.byteText(address) << '\n';
  }
}

void printListing(HeadlessMachine& machine, std::ostream& out) {
  storage::ByteTexts bytes;
  for (int a = 0; a < storage::kProgramBytes; ++a)
    bytes[static_cast<std::size_t>(a)] = machine.byteText(a);
  out << assembly::listing(bytes);
}

int run(const RunOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  const exercise::Program program = loadProgram(options.programFile, in, options.strict);
  if (!program.bytes) {
    if (program.problems.empty()) err << "volpar-run: " << oneLine(program.error) << '\n';
    for (const std::string& problem : program.problems)
      err << "volpar-run: " << oneLine(problem) << '\n';
    return kExitUsage;
  }
  writeWarnings(program, err);
  HeadlessMachine machine;
  machine.loadBytes(*program.bytes);
  if (options.listing) {
    printListing(machine, out);
    return kExitFinished;
  }
  Printer printer(out, options);
  const End end = machine.run(options.start, options.inputs, options.maxInstructions, &printer);
  if (options.dump) dump(machine, out);
  out << "END " << exercise::endText(end) << '\n';
  out.flush();
  if (options.savePath) {
    if (auto problem = machine.save(*options.savePath)) {
      err << "volpar-run: " << oneLine(*problem) << '\n';
      return kExitUsage;
    }
  }
  return end == End::Limit ? kExitLimit : kExitFinished;
}

}  // namespace

int runProgram(const RunOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  try {
    return run(options, in, out, err);
  } catch (const exercise::RunFault& fault) {
    out.flush();
    err << "volpar-run: " << oneLine(fault.what()) << '\n';
  } catch (const std::exception& e) {
    out.flush();
    err << "volpar-run: internal error: " << oneLine(e.what()) << '\n';
  }
  return kExitFault;
}

}  // namespace volpar::runner
