// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/grader.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "assembly/program_text.h"
#include "assembly/text_lines.h"
#include "i18n/text.h"
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
  run.inputsRead = machine.inputsRead();
  run.fetchedFrom = machine.fetchedFrom();
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

std::string byteText(int value) {
  std::string bits;
  for (int bit = 7; bit >= 0; --bit) bits += (value >> bit) & 1 ? '1' : '0';
  return bits;
}

// Where two lists of values first differ: "Output value 3", 7 expected, 8 or none got.
std::optional<Difference> listDifference(const std::vector<int>& expected,
                                         const std::vector<int>& got) {
  std::size_t i = 0;
  while (i < expected.size() && i < got.size() && expected[i] == got[i]) ++i;
  if (i == expected.size() && i == got.size()) return std::nullopt;
  const auto at = [i](const std::vector<int>& v) {
    return i < v.size() ? std::to_string(v[i]) : std::string("none");
  };
  return Difference{"Output value " + std::to_string(i + 1), at(expected), at(got)};
}

}  // namespace

std::string shortListText(const std::vector<int>& values) {
  if (values.size() <= kShownValues) return valueListText(values);
  const std::vector<int> shown(values.begin(), values.begin() + kShownValues);
  return i18n::fill(i18n::tr("%1, ... (%2 values)"),
                    {valueListText(shown), std::to_string(values.size())});
}

std::string valueListText(const std::vector<int>& values) {
  if (values.empty()) return std::string(i18n::tr("none"));
  std::string text;
  for (int v : values) text += (text.empty() ? "" : ",") + std::to_string(v);
  return text;
}

Program programFromText(const std::string& name, std::string_view content, bool strict) {
  Program program{name, std::nullopt, {}, {}, {}};
  if (assembly::isProgramText(content)) {
    const assembly::Assembly assembled = assembly::assemble(content);
    program.bytes = assembled.bytes;
    if (!assembled.bytes) {
      for (const assembly::Problem& p : assembled.problems)
        program.problems.push_back(ui::quoted(name) + ": " + assembly::problemText(p));
      if (assembled.problemsNotListed > 0)
        program.problems.push_back(
            i18n::fill(i18n::trn("and %1 more problem", "and %1 more problems",
                                 static_cast<long>(assembled.problemsNotListed)),
                       {std::to_string(assembled.problemsNotListed)}));
      program.error =
          i18n::fill(i18n::tr("The program text %1 could not be read: %2"),
                     {ui::quoted(name), assembly::problemText(assembled.problems.front())});
      if (const std::size_t more = assembled.problems.size() - 1 + assembled.problemsNotListed;
          more > 0)
        program.error += i18n::fill(
            i18n::trn(" (and %1 more problem)", " (and %1 more problems)", static_cast<long>(more)),
            {std::to_string(more)});
    }
    return program;
  }
  const storage::ParsedProgram parsed = storage::parseProgram(content);
  if (!parsed.bytes) {
    program.error = i18n::fill(i18n::tr("The program file %1 could not be loaded: %2"),
                               {ui::quoted(name), parsed.problem});
  } else if (strict && !parsed.leniencies.empty()) {
    program.error = i18n::fill(i18n::tr("The program file %1 is not in the form VOLPAR saves: %2"),
                               {ui::quoted(name), parsed.leniencies.front()});
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
            i18n::fill(i18n::tr("The program file %1 could not be loaded: %2"),
                       {ui::quoted(path), file.problem}),
            {},
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

TestRun runTest(const storage::ByteTexts& program, const Test& test) {
  FreshMachines machines;
  return runTest(machines, program, test);
}

TestRun runTest(FreshMachines& machines, const storage::ByteTexts& program, const Test& test) {
  TestRun run;
  try {
    HeadlessMachine& machine = machines.next();
    storage::ByteTexts memory = program;
    for (std::size_t address = 0; address < memory.size(); ++address) {
      if (test.preset[address]) memory[address] = byteText(*test.preset[address]);
    }
    machine.loadBytes(memory);
    OutputRecorder recorder(run.outputs);
    run.end = machine.run(test.start, test.input, test.maxInstructions, &recorder);
    readBack(machine, run);
  } catch (const std::exception& e) {
    run.fault = e.what();
  }
  return run;
}

std::optional<Difference> firstDifference(const Test& test, const TestRun& got) {
  const Expected& expected = test.expected;
  if (!got.fault.empty()) return Difference{"Run", "no fault", got.fault};
  if (expected.output) {
    if (auto d = listDifference(*expected.output, got.outputs)) return d;
  }
  if (expected.end != got.end) return Difference{"End", endText(expected.end), endText(got.end)};
  if (!test.unusedInputAllowed && got.inputsRead < test.input.size()) {
    return Difference{"Inputs read", std::to_string(test.input.size()),
                      std::to_string(got.inputsRead)};
  }
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
    TestResult tested{&test, runTest(machines, *program.bytes, test), {}};
    tested.difference = firstDifference(test, tested.got);
    if (tested.passed()) result.score += test.weight;
    result.tests.push_back(std::move(tested));
  }
  return result;
}

std::vector<ProgramResult> gradePrograms(const Exercise& exercise,
                                         const std::vector<Program>& programs, int jobs,
                                         const std::function<void(std::size_t)>& done) {
  std::vector<ProgramResult> results(programs.size());
  std::atomic<std::size_t> next{0};
  std::size_t finished = 0;
  std::mutex reporting;
  auto work = [&] {
    FreshMachines machines;
    for (std::size_t i = next++; i < programs.size(); i = next++) {
      results[i] = gradeProgram(exercise, programs[i], machines);
      if (!done) continue;
      const std::lock_guard lock(reporting);
      done(++finished);
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
