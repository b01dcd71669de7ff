// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/exercise_file.h"

#include <charconv>
#include <set>

#include "i18n/text.h"
#include "storage/file_io.h"
#include "storage/private_profile.h"
#include "storage/program_file_text.h"
#include "ui/quoted.h"

namespace volpar::exercise {
namespace {

using storage::PrivateProfile;

constexpr std::uint64_t kMostInstructions = 10'000'000;
constexpr int kMostWeight = 1000;

// A refusal: what is wrong with one value, or with a section as a whole.
struct Refusal {
  std::string text;
};

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A whole decimal number from least to most, digits only.
std::uint64_t number(std::string_view text, std::uint64_t most, std::uint64_t least = 0) {
  const std::string_view digits = trimmed(text);
  std::uint64_t value = 0;
  const char* end = digits.data() + digits.size();
  auto [stop, ec] = std::from_chars(digits.data(), end, value);
  if (digits.empty() || digits.front() == '+' || ec != std::errc() || stop != end || value > most ||
      value < least) {
    throw Refusal{
        i18n::fill(i18n::tr("%1 is not a whole number from %2 to %3"),
                   {ui::quoted(std::string(text)), std::to_string(least), std::to_string(most)})};
  }
  return value;
}

int smallNumber(std::string_view text, int most) {
  return static_cast<int>(number(text, static_cast<std::uint64_t>(most)));
}

// Values 0 to 255 separated by commas; the empty text is no value at all.
std::vector<int> valueList(std::string_view text) {
  std::vector<int> values;
  if (trimmed(text).empty()) return values;
  for (;;) {
    const std::size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    if (trimmed(item).empty())
      throw Refusal{std::string(i18n::tr("a value is missing between two commas"))};
    values.push_back(smallNumber(item, 255));
    if (comma == std::string_view::npos) return values;
    text.remove_prefix(comma + 1);
  }
}

End endOf(std::string_view text) {
  const std::string word(trimmed(text));
  if (word == "halt") return End::Halt;
  if (word == "input") return End::Input;
  if (word == "limit") return End::Limit;
  throw Refusal{i18n::fill(i18n::tr("%1 is not one of halt, input and limit"),
                           {ui::quoted(std::string(text))})};
}

bool unusedInputOf(std::string_view text) {
  const std::string word(trimmed(text));
  if (word == "allowed") return true;
  if (word == "fails") return false;
  throw Refusal{
      i18n::fill(i18n::tr("%1 is not one of allowed and fails"), {ui::quoted(std::string(text))})};
}

// "Memory0" to "Memory31" for prefix "memory", lower case: the address, or nothing for
// another key.
std::optional<int> addressKey(const std::string& key, std::string_view prefix) {
  if (!key.starts_with(prefix)) return std::nullopt;
  const std::string_view digits = std::string_view(key).substr(prefix.size());
  if (digits.empty() || digits.size() > 2 || (digits.size() == 2 && digits[0] == '0'))
    return std::nullopt;
  int address = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    address = address * 10 + (c - '0');
  }
  return address < 32 ? std::optional<int>(address) : std::nullopt;
}

// How tests run, from [Exercise] for every test or from one test for itself.
struct RunSettings {
  std::optional<int> start;
  std::optional<std::uint64_t> maxInstructions;
  std::optional<End> end;
  std::optional<bool> unusedInputAllowed;
};

// A key (lower case) that sets how tests run; false for any other key.
bool takeRunSetting(RunSettings& settings, const std::string& key, const std::string& value) {
  if (key == "start") {
    settings.start = smallNumber(value, 31);
  } else if (key == "maxinstructions") {
    settings.maxInstructions = number(value, kMostInstructions, 1);
  } else if (key == "end") {
    settings.end = endOf(value);
  } else if (key == "unusedinput") {
    settings.unusedInputAllowed = unusedInputOf(value);
  } else {
    return false;
  }
  return true;
}

// A key (lower case) that sets what one test gives the program; false for any other key.
bool takeSetting(Test& test, const std::string& key, const std::string& value) {
  if (key == "input") {
    test.input = valueList(value);
  } else if (key == "weight") {
    test.weight = smallNumber(value, kMostWeight);
  } else if (key == "hidden") {
    test.hidden = smallNumber(value, 1) == 1;
  } else if (auto address = addressKey(key, "preset")) {
    test.preset[static_cast<std::size_t>(*address)] = smallNumber(value, 255);
  } else {
    return false;
  }
  return true;
}

// A key (lower case) that says what the run must leave behind; false for any other key.
// End is one too, read as a run setting.
bool takeExpectation(Expected& e, const std::string& key, const std::string& value) {
  std::optional<int>* reg = key == "pc"   ? &e.pc
                            : key == "ar" ? &e.ar
                            : key == "ir" ? &e.ir
                            : key == "x"  ? &e.x
                            : key == "y"  ? &e.y
                            : key == "s"  ? &e.s
                                          : nullptr;
  if (key == "output") {
    e.output = valueList(value);
  } else if (reg) {
    *reg = smallNumber(value, key == "pc" || key == "ar" ? 31 : 255);
  } else if (auto address = addressKey(key, "memory")) {
    e.memory[static_cast<std::size_t>(*address)] = smallNumber(value, 255);
  } else {
    return false;
  }
  return true;
}

// Where a refusal was found, as the start of its sentence.
// TRANSLATORS: the section's and the key's names stay as the exercise file writes them.
std::string inSection(const std::string& section) {
  return i18n::fill(i18n::tr("in section [%1], "), {section});
}
std::string inKey(const std::string& section, const std::string& key) {
  return i18n::fill(i18n::tr("in section [%1], key %2: "), {section, key});
}

// [Test], [Test 1], [test carry]: not [Tests] nor [Testing].
bool isTestSection(const std::string& lowerName) {
  return lowerName == "test" || lowerName.starts_with("test ") || lowerName.starts_with("test\t");
}

class Reader {
 public:
  explicit Reader(const std::string& fileName) : fileName_(fileName) {}

  ExerciseRead read(std::string_view content) {
    if (auto problem = storage::textProblem(content)) return refused(*problem);
    try {
      for (const auto& section : PrivateProfile(std::string(content)).sections()) take(section);
      if (!haveHeader_) throw Refusal{std::string(i18n::tr("It has no section [Exercise]"))};
      if (exercise_.tests.empty())
        throw Refusal{
            std::string(i18n::tr("It has no section [Test ...]: add one, such as [Test 1]"))};
      applyDefaults();
    } catch (const Refusal& refusal) {
      return refused(where_ + refusal.text);
    }
    return {std::move(exercise_), {}};
  }

 private:
  ExerciseRead refused(const std::string& why) const {
    return {std::nullopt, refusalMessage(fileName_, why)};
  }

  void take(const PrivateProfile::ListedSection& section) {
    where_ = inSection(section.name);
    const std::string name = lower(section.name);
    if (!sections_.insert(name).second)
      throw Refusal{std::string(i18n::tr("the section is written twice"))};
    std::set<std::string> keys;
    for (const auto& entry : section.entries) {
      where_ = inKey(section.name, entry.key);
      if (!entry.value) throw Refusal{std::string(i18n::tr("the line has no \"=\""))};
      const std::string key = lower(entry.key);
      // Text may take several lines, one Text= each.
      if (!keys.insert(key).second && !(name == "exercise" && key == "text"))
        throw Refusal{std::string(i18n::tr("the key is written twice"))};
    }
    where_ = inSection(section.name);
    if (name == "exercise") return takeHeader(section);
    if (isTestSection(name)) return takeTest(section);
    throw Refusal{
        std::string(i18n::tr("an exercise file has only the sections [Exercise] and [Test ...]"))};
  }

  void takeHeader(const PrivateProfile::ListedSection& section) {
    haveHeader_ = true;
    bool titled = false, texted = false;
    for (const auto& entry : section.entries) {
      where_ = inKey(section.name, entry.key);
      const std::string key = lower(entry.key);
      if (key == "title") {
        exercise_.title = *entry.value;
        titled = !trimmed(exercise_.title).empty();
      } else if (key == "text") {
        exercise_.text += (texted ? "\n" : "") + *entry.value;
        texted = true;
      } else if (!takeRunSetting(defaults_, key, *entry.value)) {
        throw Refusal{std::string(
            i18n::tr("unknown key (the section [Exercise] has Title, Text, Start, MaxInstructions, "
                     "End and UnusedInput)"))};
      }
    }
    where_ = inSection(section.name);
    if (!titled) throw Refusal{std::string(i18n::tr("the key Title is missing or empty"))};
  }

  void takeTest(const PrivateProfile::ListedSection& section) {
    Test test;
    test.name = section.name;
    RunSettings own;
    bool checksSomething = false;
    for (const auto& entry : section.entries) {
      where_ = inKey(section.name, entry.key);
      const std::string key = lower(entry.key);
      if (takeExpectation(test.expected, key, *entry.value)) {
        checksSomething = true;
      } else if (!takeRunSetting(own, key, *entry.value) && !takeSetting(test, key, *entry.value)) {
        throw Refusal{std::string(
            i18n::tr("unknown key (a test has Input, Preset0 to Preset31, Output, End, Memory0 to "
                     "Memory31, PC, AR, IR, X, Y, S, Start, MaxInstructions, UnusedInput, Weight "
                     "and Hidden)"))};
      }
    }
    where_ = inSection(section.name);
    if (!checksSomething && !own.end) checkLater_.push_back(section.name);
    exercise_.tests.push_back(std::move(test));
    own_.push_back(own);
  }

  // The exercise's settings, where a test has none of its own; [Exercise] may stand
  // after the tests.
  void applyDefaults() {
    if (!defaults_.end && !checkLater_.empty()) {
      where_ = inSection(checkLater_.front());
      throw Refusal{std::string(
          i18n::tr("the test checks nothing: write Output, End, a MemoryN or a register key"))};
    }
    where_.clear();
    exercise_.maxInstructions = defaults_.maxInstructions.value_or(kDefaultMaxInstructions);
    for (std::size_t i = 0; i < exercise_.tests.size(); ++i) {
      Test& test = exercise_.tests[i];
      const RunSettings& own = own_[i];
      test.start = own.start.value_or(defaults_.start.value_or(0));
      test.maxInstructions = own.maxInstructions.value_or(exercise_.maxInstructions);
      test.expected.end = own.end.value_or(defaults_.end.value_or(End::Halt));
      test.unusedInputAllowed =
          own.unusedInputAllowed.value_or(defaults_.unusedInputAllowed.value_or(false));
    }
  }

  const std::string& fileName_;
  std::string where_;
  std::set<std::string> sections_;
  bool haveHeader_ = false;
  RunSettings defaults_;
  std::vector<RunSettings> own_;         // each test's own settings
  std::vector<std::string> checkLater_;  // tests that check only what [Exercise] may say
  Exercise exercise_;
};

}  // namespace

std::string refusalMessage(const std::string& fileName, std::string_view why) {
  return i18n::fill(i18n::tr("The exercise file %1 cannot be used: %2"),
                    {ui::quoted(fileName), why});
}

ExerciseRead parseExercise(std::string_view content, const std::string& fileName) {
  return Reader(fileName).read(content);
}

ExerciseRead readExercise(const std::string& path) {
  const storage::FileContents file = storage::readWholeFile(path, kMaxExerciseFileBytes);
  if (file.status != storage::FileContents::Status::Read) {
    return {std::nullopt, refusalMessage(path, file.problem)};
  }
  return parseExercise(file.bytes, path);
}

}  // namespace volpar::exercise
