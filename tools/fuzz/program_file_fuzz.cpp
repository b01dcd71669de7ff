// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the program-file reader and editor, through real files. Beyond
// not crashing, it checks what a student relies on: a file reads back byte for byte; what
// the reader returns agrees with a plain reference reader; a text accepted for a save
// reads back exactly the memory written into it and keeps every other line byte for byte,
// line ending included; saving again changes nothing; the one-pass editor agrees with
// key-by-key editing; and replacing the file, directly or through a link, leaves exactly
// the new text and no temporary file, whichever way the save goes and wherever it fails.
#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "reference_reader.h"
#include "storage/file_faults.h"
#include "storage/file_io.h"
#include "storage/private_profile.h"
#include "storage/program_file_text.h"

namespace {

using namespace volpar;
using fuzz::bytesFrom;
using fuzz::check;

namespace ref = volpar::reference;

// Every line of the text before a save is in the text after it, in the same order and with
// the same ending, but the entries of the memory bytes, which keep their ending and take
// their new value. In between stand only added lines: headers of sections the text lacked
// and entries of memory bytes. The last line may gain an ending when lines follow it.
void checkLinesKept(std::string_view before, std::string_view after,
                    const storage::ByteTexts& written) {
  const std::vector<ref::Line> in = ref::splitLines(before);
  const std::vector<ref::Line> out = ref::splitLines(after);
  const ref::Index entries = ref::index(in);
  std::vector<std::string> newText(in.size());
  std::vector<bool> rewritten(in.size(), false);
  for (int address = 0; address < storage::kProgramBytes; ++address) {
    const std::string section = storage::sectionName(address);
    const auto at = ref::entryLine(entries, section, storage::keyName(address));
    if (!at) continue;
    const std::string text = ref::content(in, *at);
    const bool mark = *at == 0 && in[0].text.starts_with("\xEF\xBB\xBF");
    newText[*at] = (mark ? "\xEF\xBB\xBF" : "") + ref::trimmed(text.substr(0, text.find('='))) +
                   "=" + written[static_cast<std::size_t>(address)];
    rewritten[*at] = true;
  }
  const auto added = [&](const ref::Line& line) {
    if (auto name = ref::header(line.text)) {
      for (int first = 0; first < storage::kProgramBytes; first += 8) {
        const std::string section = storage::sectionName(first);
        if (*name == section && !ref::hasSection(entries, section)) return true;
      }
      return false;
    }
    const std::size_t eq = line.text.find('=');
    return line.text.starts_with("Byte") && eq != std::string::npos && line.text.size() == eq + 9 &&
           !line.ending.empty();
  };
  std::size_t j = 0;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const ref::Line want{rewritten[i] ? newText[i] : in[i].text, in[i].ending};
    const bool mayGainEnding = i + 1 == in.size() && want.ending.empty();
    while (j < out.size() && !(out[j] == want || (mayGainEnding && out[j].text == want.text))) {
      check(added(out[j]));
      ++j;
    }
    check(j < out.size());
    ++j;
  }
  for (; j < out.size(); ++j) check(added(out[j]));
}

// The reader returns for each byte what the reference reader finds; a text it refuses as
// no program holds none of the sections.
void checkReader(std::string_view input, const storage::ParsedProgram& loaded) {
  if (storage::textProblem(input)) return;
  const std::vector<ref::Line> lines = ref::splitLines(input);
  const ref::Index entries = ref::index(lines);
  if (!loaded.bytes) {
    for (int first = 0; first < storage::kProgramBytes; first += 8)
      check(!ref::hasSection(entries, storage::sectionName(first)));
    return;
  }
  for (int address = 0; address < storage::kProgramBytes; ++address) {
    check((*loaded.bytes)[static_cast<std::size_t>(address)] ==
          ref::value(lines, entries, storage::sectionName(address), storage::keyName(address)));
  }
}

// A folder of the target's own, in memory where the system offers it, so that the many
// flushes to disk stay cheap.
const std::filesystem::path& folder() {
  static const std::filesystem::path dir = [] {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "volpar-fuzz-XXXXXX").string();
    check(::mkdtemp(pattern.data()) != nullptr);
    std::filesystem::create_symlink("program.txt", std::filesystem::path(pattern) / "link.txt");
    return std::filesystem::path(pattern);
  }();
  // Registered once the folder exists, so that it runs before the path is destroyed.
  [[maybe_unused]] static const int removed = std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(folder(), ignored);
  });
  return dir;
}

std::string readBack(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> folderEntries() {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder()))
    names.insert(entry.path().filename().string());
  return names;
}

void loadEveryCell(const storage::ByteTexts& bytes) {
  for (const std::string& value : bytes) {
    for (int bit = 1; bit <= storage::kBitsPerByte; ++bit) {
      const ui::Color color = storage::bitColor(value, bit);
      check(color == ui::kYellow || color == ui::kWhite || color == ui::kBlack);
    }
  }
}

// A save that goes one of its other ways, chosen by the input: the file has a second name
// (it is written in place), the system offers no unnamed files (the new copy is named at
// once), copies left by killed saves lie beside it, and one call of the save fails. A save
// that fails leaves every name of the file with its old text and the folder as it was; one
// that succeeds leaves the new text under every name and no copy, old or new.
void checkSaveWays(std::string_view input, const std::string& saved) {
  namespace fs = std::filesystem;
  using storage::faults::Call;
  const std::size_t choice = std::hash<std::string_view>{}(input);
  const fs::path file = folder() / "program.txt", second = folder() / "second.txt";
  const bool linked = choice & 1;
  constexpr Call kFailing[] = {Call::Count, Call::TakeOver, Call::Write, Call::Truncate,
                               Call::Sync,  Call::Link,     Call::Rename};
  const Call failing = kFailing[(choice >> 1) % std::size(kFailing)];
  { std::ofstream(file, std::ios::binary | std::ios::trunc) << input; }
  if (linked) fs::create_hard_link(file, second);
  std::set<std::string> names{"link.txt", "program.txt"};
  if (linked) names.insert("second.txt");
  std::set<std::string> debris;
  for (std::size_t i = 0; i < (choice >> 4) % 3; ++i) {
    debris.insert(".program.txt.saving-" + std::to_string(1000000 + i));  // never a save's own
    std::ofstream(folder() / *debris.rbegin()) << "half";
  }
  auto& planned = storage::faults::planned;
  planned[static_cast<int>(Call::UnnamedCopy)] = (choice >> 8) & 1;
  if (failing != Call::Count) planned[static_cast<int>(failing)] = EIO;

  const auto problem = storage::replaceFile(file.string(), saved);
  const bool failed = failing != Call::Count && failing != Call::TakeOver &&
                      planned[static_cast<int>(failing)] == 0;
  check(problem.has_value() == failed);
  const std::string want = failed ? std::string(input) : saved;
  check(readBack(file) == want);
  if (linked) check(readBack(second) == want && fs::hard_link_count(file) == 2);
  if (failed) {
    check(!problem->fileChanged && !problem->reason.empty());
    names.insert(debris.begin(), debris.end());
  }
  check(folderEntries() == names);

  std::fill(std::begin(planned), std::end(planned), 0);
  fs::remove(second);
  for (const std::string& name : debris) fs::remove(folder() / name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path file = folder() / "program.txt";
  { std::ofstream(file, std::ios::binary | std::ios::trunc) << input; }
  const storage::FileContents read = storage::readWholeFile(file, storage::kMaxProgramFileBytes);
  check(read.status == storage::FileContents::Status::Read);
  check(read.bytes == input.substr(0, storage::kMaxProgramFileBytes + 1));

  const storage::ParsedProgram loaded = storage::parseProgram(read.bytes);
  check(loaded.bytes.has_value() != !loaded.problem.empty());
  if (loaded.bytes) loadEveryCell(*loaded.bytes);
  checkReader(input, loaded);

  // A save edits only files that are text.
  if (storage::textProblem(input)) return 0;
  const storage::ByteTexts written = bytesFrom(input);
  const std::string saved = storage::writeProgram(std::string(input), written);
  const storage::ParsedProgram reread = storage::parseProgram(saved);
  check(reread.bytes.has_value() && *reread.bytes == written);
  checkReader(saved, reread);
  check(storage::writeProgram(saved, written) == saved);
  checkLinesKept(input, saved, written);

  // Setting a section's keys in one pass gives what setting them one at a time gives (on
  // texts of ordinary size: key by key, a large one takes too long).
  if (size <= 65536) {
    storage::PrivateProfile oneByOne{std::string(input)};
    for (int address = 0; address < storage::kProgramBytes; ++address) {
      oneByOne.setValue(storage::sectionName(address), storage::keyName(address),
                        written[static_cast<std::size_t>(address)]);
    }
    check(oneByOne.text() == saved);
  }

  // The save replaces the file whole, through the link for every other input.
  const std::filesystem::path target = folder() / (size % 2 ? "link.txt" : "program.txt");
  check(!storage::replaceFile(target.string(), saved).has_value());
  check(readBack(file) == saved);
  check(std::filesystem::is_symlink(folder() / "link.txt"));
  check(folderEntries() == std::set<std::string>{"link.txt", "program.txt"});
  checkSaveWays(input, saved);
  return 0;
}
