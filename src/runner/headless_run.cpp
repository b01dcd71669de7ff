// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/headless_run.h"

#include <exception>
#include <ostream>
#include <string>

#include "exercise/grader.h"
#include "exercise/headless_machine.h"
#include "runner/grading.h"
#include "runner/text_escapes.h"

namespace volpar::runner {
namespace {

using exercise::End;
using exercise::HeadlessMachine;

// Prints OUTPUT lines and, when asked, a trace line after every phase.
class Printer : public exercise::RunObserver {
 public:
  Printer(std::ostream& out, bool trace) : out_(out), trace_(trace) {}
  void output(int value) override { out_ << "OUTPUT " << value << '\n'; }
  void phaseDone(int phase, const MachineView& m) override {
    if (trace_)
      out_ << 'T' << phase << " PC " << m.pc() << " AR " << m.ar() << " S " << m.s() << '\n';
  }

 private:
  std::ostream& out_;
  bool trace_;
};

void dump(HeadlessMachine& machine, std::ostream& out) {
  const MachineView& m = machine.view();
  out << "PC " << m.pc() << "\nAR " << m.ar() << "\nIR " << m.ir() << "\nX " << m.x() << "\nY "
      << m.y() << "\nS " << m.s() << "\nOUT " << m.output() << '\n';
  for (int address = 0; address < 32; ++address) {
    out << "MEM " << address << ' ' << machine.byteText(address) << '\n';
  }
}

int run(const RunOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  const exercise::Program program = loadProgram(options.programFile, in, options.strict);
  if (!program.bytes) {
    err << "volpar-run: " << oneLine(program.error) << '\n';
    return kExitUsage;
  }
  writeWarnings(program, err);
  HeadlessMachine machine;
  machine.loadBytes(*program.bytes);
  Printer printer(out, options.trace);
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
