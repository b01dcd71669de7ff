// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/grader.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "assembly/program_text.h"
#include "assembly/text_lines.h"
#include "storage/file_io.h"
#include "ui/quoted.h"

namespace volpar::exercise {
namespace {

// Keeps what the machine outputs.
class OutputRecorder : public RunObserver {
 public:
  explicit OutputRecorder(std::vector<int>& outputs) : outputs_(outputs) {}
  void output(int value) override { outputs_.push_back(value); }
  void phaseDone(int, const MachineView&) override {}

 private:
  std::vector<int>& outputs_;
};

void readBack(HeadlessMachine& machine, TestRun& run) {
  const MachineView& m = machine.view();
  run.instructions = machine.instructions();
  run.pc = m.pc();
  run.ar = m.ar();
  run.ir = m.ir();
  run.x = m.x();
  run.y = m.y();
  run.s = m.s();
  for (int address = 0; address < 32; ++address) {
    run.memory[static_cast<std::size_t>(address)] = m.memory(address);
  }
}

std::optional<Difference> differs(std::string what, const std::optional<int>& expected, int got) {
  if (!expected || *expected == got) return std::nullopt;
  return Difference{std::move(what), std::to_string(*expected), std::to_string(got)};
}

}  // namespace

std::string valueListText(const std::vector<int>& values) {
  if (values.empty()) return "none";
  std::string text;
  for (int v : values) text += (text.empty() ? "" : ",") + std::to_string(v);
  return text;
}

Program programFromText(const std::string& name, std::string_view content, bool strict) {
  Program program{name, std::nullopt, {}, {}};
  if (assembly::isProgramText(content)) {
    const assembly::Assembly assembled = assembly::assemble(content);
    program.bytes = assembled.bytes;
    if (!assembled.bytes) {
      program.error = "The program text " + ui::quoted(name) +
                      " could not be read: " + assembly::problemText(assembled.problems.front());
      if (assembled.problems.size() + assembled.problemsNotListed > 1)
        program.error +=
            " (and " + std::to_string(assembled.problems.size() - 1 + assembled.problemsNotListed) +
            " more problems)";
    }
    return program;
  }
  const storage::ParsedProgram parsed = storage::parseProgram(content);
  if (!parsed.bytes) {
    program.error =
        "The program file " + ui::quoted(name) + " could not be loaded: " + parsed.problem;
  } else if (strict && !parsed.leniencies.empty()) {
    program.error = "The program file " + ui::quoted(name) +
                    " is not as a saved program file is: " + parsed.leniencies.front();
  } else {
    program.bytes = parsed.bytes;
    program.warnings = parsed.leniencies;
  }
  return program;
}

Program readProgram(const std::string& path, bool strict) {
  const storage::FileContents file = storage::readWholeFile(path, storage::kMaxProgramFileBytes);
  if (file.status != storage::FileContents::Status::Read) {
    return {path,
            std::nullopt,
            "The program file " + ui::quoted(path) + " could not be loaded: " + file.problem,
            {}};
  }
  return programFromText(path, file.bytes, strict);
}

HeadlessMachine& FreshMachines::next() {
  if (!machine_ || !machine_->rewind()) {
    machine_.emplace();
    machine_->markFresh();
  }
  return *machine_;
}

TestRun runTest(const storage::ByteTexts& program, const Test& test,
                std::uint64_t maxInstructions) {
  FreshMachines machines;
  return runTest(machines, program, test, maxInstructions);
}

TestRun runTest(FreshMachines& machines, const storage::ByteTexts& program, const Test& test,
                std::uint64_t maxInstructions) {
  TestRun run;
  try {
    HeadlessMachine& machine = machines.next();
    machine.loadBytes(program);
    OutputRecorder recorder(run.outputs);
    run.end = machine.run(test.start, test.input, maxInstructions, &recorder);
    readBack(machine, run);
  } catch (const std::exception& e) {
    run.fault = e.what();
  }
  return run;
}

std::optional<Difference> firstDifference(const Expected& expected, const TestRun& got) {
  if (!got.fault.empty()) return Difference{"Run", "no fault", got.fault};
  if (expected.output && *expected.output != got.outputs) {
    return Difference{"Output", valueListText(*expected.output), valueListText(got.outputs)};
  }
  if (expected.end != got.end) return Difference{"End", endText(expected.end), endText(got.end)};
  const std::pair<const char*, std::pair<const std::optional<int>*, int>> registers[] = {
      {"PC", {&expected.pc, got.pc}}, {"AR", {&expected.ar, got.ar}},
      {"IR", {&expected.ir, got.ir}}, {"X", {&expected.x, got.x}},
      {"Y", {&expected.y, got.y}},    {"S", {&expected.s, got.s}}};
  for (const auto& [name, values] : registers) {
    if (auto d = differs(name, *values.first, values.second)) return d;
  }
  for (std::size_t address = 0; address < expected.memory.size(); ++address) {
    if (auto d = differs("Memory" + std::to_string(address), expected.memory[address],
                         got.memory[address]))
      return d;
  }
  return std::nullopt;
}

bool ProgramResult::allPassed() const {
  return std::all_of(tests.begin(), tests.end(), [](const TestResult& t) { return t.passed(); });
}

ProgramResult gradeProgram(const Exercise& exercise, const Program& program) {
  FreshMachines machines;
  return gradeProgram(exercise, program, machines);
}

ProgramResult gradeProgram(const Exercise& exercise, const Program& program,
                           FreshMachines& machines) {
  ProgramResult result;
  result.program = &program;
  for (const Test& test : exercise.tests) result.maxScore += test.weight;
  if (!program.bytes) return result;
  for (const Test& test : exercise.tests) {
    TestResult tested{&test, runTest(machines, *program.bytes, test, exercise.maxInstructions), {}};
    tested.difference = firstDifference(test.expected, tested.got);
    if (tested.passed()) result.score += test.weight;
    result.tests.push_back(std::move(tested));
  }
  return result;
}

std::vector<ProgramResult> gradePrograms(const Exercise& exercise,
                                         const std::vector<Program>& programs, int jobs) {
  std::vector<ProgramResult> results(programs.size());
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    FreshMachines machines;
    for (std::size_t i = next++; i < programs.size(); i = next++) {
      results[i] = gradeProgram(exercise, programs[i], machines);
    }
  };
  const auto threads = static_cast<std::size_t>(std::max(1, jobs)) - 1;
  std::vector<std::thread> helpers;
  for (std::size_t t = 0; t < std::min(threads, programs.size()); ++t) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();
  return results;
}

}  // namespace volpar::exercise
