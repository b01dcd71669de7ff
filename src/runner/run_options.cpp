// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/run_options.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <string_view>

#include "i18n/text.h"
#include "ui/quoted.h"

namespace volpar::runner {

// TRANSLATORS: the option names, the words in capitals that stand for an argument (FILE,
// PROGRAM, N...), the formats and what volpar-run prints (OUTPUT, END halt|input|limit) are
// typed or read as they are: keep them in English.
const char* const kUsage = i18n::mark(
    "Usage: volpar-run [OPTION]... FILE\n"
    "  or:  volpar-run --exercise EXERCISE [GRADING OPTION]... PROGRAM...\n"
    "\n"
    "Runs a program file on the VOLPAR machine without windows, in manual clock mode,\n"
    "answering each INPUT with the next value given. FILE - is standard input.\n"
    "FILE and each PROGRAM may be a program file or program text (see volpar-text(5)).\n"
    "\n"
    "  --start N             start address, 0 to 31 (default 0)\n"
    "  --input V[,V...]      values for INPUT, 0 to 255 each, in order (may be repeated)\n"
    "  --max-instructions K  stop after K instructions (default 10000)\n"
    "  --dump                print the registers and memory before END\n"
    "  --trace               print PC, AR and S after every clock phase\n"
    "  --explain             print what every clock phase moved, in words\n"
    "  --listing             print the program as program text and run nothing\n"
    "  --save OUT            write the memory after the run to the program file OUT\n"
    "  --strict              refuse a program file that loads only by passing over a\n"
    "                        missing section or key or a value not of eight 0, 1 or x\n"
    "                        (without it, such a file runs, or is graded, with a warning)\n"
    "\n"
    "Grading: every PROGRAM is run against every test of the exercise file, each test\n"
    "on a fresh machine (see volpar-exercise(5)); - reads one program from standard input.\n"
    "  --exercise EXERCISE   the exercise file that states what the programs must do\n"
    "  --format FORMAT       text (default), json, tap (TAP 14), junit (JUnit XML) or csv\n"
    "  --jobs N              grade on N threads, 1 to 256 (default 1)\n"
    "  --feedback DIR        also write what each student may read to a file in DIR\n"
    "  --make-expected SOLUTION  instead of grading, print the exercise with every\n"
    "                        test's Output and End set from what SOLUTION does\n"
    "\n"
    "  -h, --help            display this help and exit\n"
    "  --version             output version information and exit\n"
    "\n"
    "Prints OUTPUT <value> for each OUTPUT instruction, then END halt|input|limit: halt\n"
    "is a taken branch to its own address (BRANCH, or a conditional branch taken to\n"
    "itself), input an INPUT with no value left.\n"
    "Exit status: 0 after halt or input, 3 after limit, 2 for bad arguments or a file\n"
    "that cannot be loaded or saved, 1 if the machine misbehaves.\n"
    "Grading exit status: 0 every test of every program passed, 1 some test failed or\n"
    "some program could not be loaded, 2 bad arguments or an exercise that cannot be read.\n");

namespace {

// A whole decimal number of digits only: no sign, blank or other character.
std::optional<std::uint64_t> wholeNumber(std::string_view text) {
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  auto [stop, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::optional<int> numberUpTo(std::string_view text, std::uint64_t max) {
  auto value = wholeNumber(text);
  if (!value || *value > max) return std::nullopt;
  return static_cast<int>(*value);
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : args_(args) {}

  ParsedArguments parse() {
    for (pos_ = 0; pos_ < args_.size() && result_.error.empty() && !answered(); ++pos_) {
      take(args_[pos_]);
    }
    if (answered()) return result_;
    if (result_.error.empty()) finish();
    return result_;
  }

 private:
  void take(const std::string& arg) {
    if (optionsEnded_ || arg == "-" || arg.rfind('-', 0) != 0) return takeFile(arg);
    if (arg == "--") {
      optionsEnded_ = true;
    } else if (arg == "--help" || arg == "-h") {
      result_.helpRequested = true;
    } else if (arg == "--version") {
      result_.versionRequested = true;
    } else if (arg == "--dump") {
      options_.dump = true;
    } else if (arg == "--trace") {
      options_.trace = true;
    } else if (arg == "--explain") {
      options_.explain = true;
    } else if (arg == "--listing") {
      options_.listing = true;
    } else if (arg == "--strict") {
      grade_.strict = true;
    } else {
      takeValued(arg);
    }
  }

  // --name VALUE or --name=VALUE.
  void takeValued(const std::string& arg) {
    const auto equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (name == "--dump" || name == "--trace" || name == "--strict" || name == "--explain" ||
        name == "--listing")
      return fail(i18n::fill(i18n::tr("option %1 takes no value"), {name}));
    static const std::set<std::string> kValued = {"--start", "--input",    "--max-instructions",
                                                  "--save",  "--exercise", "--format",
                                                  "--jobs",  "--feedback", "--make-expected"};
    if (!kValued.count(name))
      return fail(i18n::fill(i18n::tr("unknown option %1"), {ui::quoted(name)}));
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (pos_ + 1 < args_.size()) {
      value = args_[++pos_];
    } else {
      return fail(i18n::fill(i18n::tr("option %1 needs a value"), {name}));
    }
    if (name == "--input") return takeInputs(value);
    if (!onceOnly_.insert(name).second)
      return fail(i18n::fill(i18n::tr("option %1 given twice"), {name}));
    if (name == "--start") return takeStart(value);
    if (name == "--max-instructions") return takeLimit(value);
    if (name == "--exercise") return takeExercise(value);
    if (name == "--format") return takeFormat(value);
    if (name == "--jobs") return takeJobs(value);
    if (name == "--feedback" || name == "--make-expected") return takeGradingFile(name, value);
    takeSave(value);
  }

  void takeExercise(const std::string& value) {
    if (value.empty()) return fail(std::string(i18n::tr("--exercise needs a file name")));
    grading_ = true;
    grade_.exerciseFile = value;
  }

  void takeGradingFile(const std::string& name, const std::string& value) {
    if (value.empty()) return fail(i18n::fill(i18n::tr("%1 needs a file name"), {name}));
    (name == "--feedback" ? grade_.feedbackDir : grade_.makeExpected) = value;
  }

  void takeFormat(const std::string& value) {
    static const std::pair<const char*, ReportFormat> kFormats[] = {{"text", ReportFormat::Text},
                                                                    {"json", ReportFormat::Json},
                                                                    {"tap", ReportFormat::Tap},
                                                                    {"junit", ReportFormat::Junit},
                                                                    {"csv", ReportFormat::Csv}};
    for (const auto& [name, format] : kFormats) {
      if (value == name) {
        grade_.format = format;
        return;
      }
    }
    fail(i18n::fill(i18n::tr("--format needs text, json, tap, junit or csv, not %1"),
                    {ui::quoted(value)}));
  }

  void takeJobs(const std::string& value) {
    auto jobs = numberUpTo(value, 256);
    if (!jobs || *jobs == 0)
      return fail(i18n::fill(i18n::tr("--jobs needs a number of threads from 1 to 256, not %1"),
                             {ui::quoted(value)}));
    grade_.jobs = *jobs;
  }

  void takeFile(const std::string& arg) {
    if (arg.empty()) return fail(std::string(i18n::tr("the program file name is empty")));
    if (arg == "-" && std::count(files_.begin(), files_.end(), "-") == 1)
      return fail(std::string(i18n::tr("standard input (-) can be read only once")));
    files_.push_back(arg);
  }

  void finish() {
    if (grading_) return finishGrading();
    for (const char* option : {"--format", "--jobs", "--feedback", "--make-expected"}) {
      if (onceOnly_.count(option))
        return fail(i18n::fill(i18n::tr("%1 needs --exercise"), {option}));
    }
    if (files_.empty()) return fail(std::string(i18n::tr("no program file given")));
    if (files_.size() > 1)
      return fail(i18n::fill(
          i18n::tr(
              "more than one program file given: %1 and %2 (grading several needs --exercise)"),
          {ui::quoted(files_[0]), ui::quoted(files_[1])}));
    options_.programFile = files_[0];
    options_.strict = grade_.strict;
    result_.options = options_;
  }

  void finishGrading() {
    for (const char* option : {"--start", "--max-instructions", "--save"}) {
      if (onceOnly_.count(option))
        return fail(i18n::fill(i18n::tr("%1 cannot be used with --exercise"), {option}));
    }
    if (!options_.inputs.empty() || options_.dump || options_.trace)
      return fail(
          std::string(i18n::tr("--input, --dump and --trace cannot be used with --exercise")));
    if (options_.explain || options_.listing)
      return fail(std::string(i18n::tr("--explain and --listing cannot be used with --exercise")));
    if (grade_.makeExpected) return finishMakeExpected();
    if (files_.empty()) return fail(std::string(i18n::tr("no program file given to grade")));
    grade_.programFiles = files_;
    result_.grading = grade_;
  }

  void finishMakeExpected() {
    for (const char* option : {"--format", "--jobs", "--feedback"}) {
      if (onceOnly_.count(option))
        return fail(i18n::fill(i18n::tr("%1 cannot be used with --make-expected"), {option}));
    }
    if (!files_.empty())
      return fail(i18n::fill(i18n::tr("--make-expected takes no program to grade, not %1"),
                             {ui::quoted(files_[0])}));
    result_.grading = grade_;
  }

  void takeStart(const std::string& value) {
    auto start = numberUpTo(value, 31);
    if (!start)
      return fail(i18n::fill(i18n::tr("--start needs a memory address from 0 to 31, not %1"),
                             {ui::quoted(value)}));
    options_.start = *start;
  }

  // An empty list gives no values, so that a script may pass an empty variable.
  void takeInputs(const std::string& list) {
    if (list.empty()) return;
    std::size_t from = 0;
    for (;;) {
      const auto comma = list.find(',', from);
      const std::string item =
          list.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
      auto value = numberUpTo(item, 255);
      if (!value)
        return fail(i18n::fill(i18n::tr("--input values must be numbers from 0 to 255, not %1"),
                               {ui::quoted(item)}));
      options_.inputs.push_back(*value);
      if (comma == std::string::npos) return;
      from = comma + 1;
    }
  }

  void takeLimit(const std::string& value) {
    auto limit = wholeNumber(value);
    if (!limit)
      return fail(i18n::fill(i18n::tr("--max-instructions needs a whole number from 0 up, not %1"),
                             {ui::quoted(value)}));
    options_.maxInstructions = *limit;
  }

  void takeSave(const std::string& value) {
    if (value.empty()) return fail(std::string(i18n::tr("--save needs a file name")));
    options_.savePath = value;
  }

  bool answered() const { return result_.helpRequested || result_.versionRequested; }
  void fail(std::string message) { result_.error = std::move(message); }

  const std::vector<std::string>& args_;
  std::size_t pos_ = 0;
  bool optionsEnded_ = false;
  bool grading_ = false;
  std::vector<std::string> files_;
  GradeOptions grade_;
  std::set<std::string> onceOnly_;  // every valued option but --input, which adds up
  RunOptions options_;
  ParsedArguments result_;
};

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& args) {
  return Parser(args).parse();
}

}  // namespace volpar::runner
