// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace volpar::runner {

// What one headless run is asked to do.
struct RunOptions {
  std::string programFile;
  int start = 0;            // memory address 0 to 31
  std::vector<int> inputs;  // answers to INPUT, in order, 0 to 255 each
  std::uint64_t maxInstructions = 10000;
  bool dump = false;
  bool trace = false;
  bool explain = false;  // a line per phase: what it moved, in words
  bool listing = false;  // print the program as text and run nothing
  std::optional<std::string> savePath;
  bool strict = false;  // refuse a file that loads only by passing over something
};

enum class ReportFormat { Text, Json, Tap, Junit, Csv };

// What grading programs against an exercise is asked to do.
struct GradeOptions {
  std::string exerciseFile;
  std::vector<std::string> programFiles;  // "-" is standard input
  ReportFormat format = ReportFormat::Text;
  int jobs = 1;
  bool strict = false;
  std::optional<std::string> feedbackDir;   // one file of what each student may read
  std::optional<std::string> makeExpected;  // instead of grading: the teacher's solution
  bool progress = false;                    // show programs done on standard error
};

struct ParsedArguments {
  std::optional<RunOptions> options;    // set when the arguments are sound: one run
  std::optional<GradeOptions> grading;  // or grading
  bool helpRequested = false;
  bool versionRequested = false;
  std::string error;  // otherwise one line naming the problem
};

// Reads the arguments that follow the program name. Never throws on bad input.
ParsedArguments parseArguments(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace volpar::runner
