// SPDX-License-Identifier: GPL-3.0-or-later
// Grading a class in one call: 1,000 programs against an exercise of 10 tests, each test a
// short loop of about 100 instructions on a fresh machine. The whole case should take at
// most a second on one core; Arg is the number of threads (--jobs).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "exercise/exercise_file.h"
#include "exercise/grader.h"

namespace {

using namespace volpar;

// INPUT, OUTPUT, ADD 11 (255: minus one), BR NNeg 1, BRANCH 4: counts down from the input.
std::string countdownProgram() {
  const char* bytes[32] = {"01100000", "10000000", "00001011", "11100001", "10100100"};
  std::string text;
  const char* sections[] = {"First8", "Second8", "Third8", "Fourth8"};
  for (int a = 0; a < 32; ++a) {
    if (a % 8 == 0) text += std::string("[") + sections[a / 8] + "]\r\n";
    text += "Byte" + std::to_string(a) + "=" +
            (a == 11 ? "11111111" : (bytes[a] ? bytes[a] : "00000000")) + "\r\n";
  }
  return text;
}

// Inputs 30 to 39: 95 to 122 instructions a test.
exercise::Exercise countdownExercise() {
  std::string text = "[Exercise]\nTitle=Count down\nMaxInstructions=1000\n";
  for (int n = 30; n < 40; ++n) {
    text += "[Test " + std::to_string(n - 29) + "]\nInput=" + std::to_string(n) + "\nOutput=";
    for (int k = n; k >= 0; --k) text += std::to_string(k) + (k ? "," : "\n");
  }
  return *exercise::parseExercise(text, "countdown.ini").exercise;
}

void BM_GradeClass(benchmark::State& state) {
  const exercise::Exercise exercise = countdownExercise();
  const std::vector<exercise::Program> programs(
      1000, exercise::programFromText("student.txt", countdownProgram(), true));
  for (auto _ : state) {
    const auto results =
        exercise::gradePrograms(exercise, programs, static_cast<int>(state.range(0)));
    if (!results.back().passed()) state.SkipWithError("the program should pass every test");
    benchmark::DoNotOptimize(results.data());
  }
  state.counters["tests/s"] = benchmark::Counter(10000.0 * static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GradeClass)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
