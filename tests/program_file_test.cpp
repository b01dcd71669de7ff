#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "machine/REXEC_Manual.h"
#include "screens/input/DERAZO_Input.h"
#include "support/fake_platform.h"
#include "ui/colors.h"

namespace volpar::testing {
namespace {

namespace fs = std::filesystem;

// The countdown program as the memory grid holds it, one line per address.
const std::string kCountdown =
    "01100000\n10000000\n00001011\n11100001\n10100100\n00000000\n00000000\n00000000\n"
    "00000000\n00000000\n00000000\n11111111\n00000000\n00000000\n00000000\n00000000\n"
    "00000000\n00000000\n00000000\n00000000\n00000000\n00000000\n00000000\n00000000\n"
    "00000000\n00000000\n00000000\n00000000\n00000000\n00000000\n00000000\n00000000\n";

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string dataFile(const std::string& name) {
  return readFile(fs::path(VOLPAR_TEST_DATA) / name);
}

class ProgramFile : public ::testing::Test {
 protected:
  FakePlatform platform;
  Application app{platform};
  DERAZO_Input& input = app.derazoInput();
  REXEC_Manual& manual = app.manual();
  fs::path dir;

  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "volpar-program-file-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
  }

  // Memory as the expected files write it: one line per address, '1' yellow, '0' white,
  // 'x' black, '?' any other colour.
  std::string memory() const {
    std::string out;
    for (int cell = 1; cell <= 256; ++cell) {
      const ui::Color c = input.Shape1(cell).FillColor();
      out += c == ui::kYellow ? '1' : c == ui::kWhite ? '0' : c == ui::kBlack ? 'x' : '?';
      if (cell % 8 == 0) out += '\n';
    }
    return out;
  }
  void setMemory(const std::string& lines) {
    int cell = 1;
    for (char c : lines) {
      if (c == '\n') continue;
      input.Shape1(cell++).setFillColor(c == '1'   ? ui::kYellow
                                        : c == 'x' ? ui::kBlack
                                                   : ui::kWhite);
    }
    ASSERT_EQ(cell, 257);
  }
  // All 257 cells, cell 0 included, in any of the three memory colours.
  std::vector<ui::Color> randomGrid(unsigned seed) {
    std::mt19937 random(seed);
    const ui::Color colors[] = {ui::kYellow, ui::kWhite, ui::kBlack};
    std::vector<ui::Color> grid;
    for (int cell = 0; cell <= 256; ++cell) {
      grid.push_back(colors[random() % 3]);
      input.Shape1(cell).setFillColor(grid.back());
    }
    return grid;
  }
  std::vector<ui::Color> grid() const {
    std::vector<ui::Color> out;
    for (int cell = 0; cell <= 256; ++cell) out.push_back(input.Shape1(cell).FillColor());
    return out;
  }
  std::set<std::string> listing() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
      names.insert(entry.path().filename().string());
    return names;
  }
  std::string loadText(const std::string& text) {
    const fs::path path = dir / "program.txt";
    writeFile(path, text);
    EXPECT_EQ(manual.Load_Program_File(path.string()), std::nullopt) << text;
    return memory();
  }
};

bool runningAsRoot() { return ::geteuid() == 0; }

TEST_F(ProgramFile, SavingTheInitialGridWritesThirtyTwoKeysOfZeros) {
  const fs::path path = dir / "empty.txt";
  EXPECT_EQ(manual.Save_Program_File(path.string()), std::nullopt);

  std::string expected;
  const char* sections[] = {"First8", "Second8", "Third8", "Fourth8"};
  for (int address = 0; address < 32; ++address) {
    if (address % 8 == 0) expected += std::string("[") + sections[address / 8] + "]\r\n";
    expected += "Byte" + std::to_string(address) + "=00000000\r\n";
  }
  EXPECT_EQ(readFile(path), expected);
  EXPECT_EQ(manual.Program_File_Name, path.string());
  EXPECT_EQ(listing(), std::set<std::string>{"empty.txt"});
}

TEST_F(ProgramFile, ANewFileIsByteForByteWhatThePlatformWrites) {
  setMemory(kCountdown);
  const fs::path path = dir / "countdown.txt";
  EXPECT_EQ(manual.Save_Program_File(path.string()), std::nullopt);
  EXPECT_EQ(readFile(path), dataFile("countdown.txt"));

  setMemory(std::string(256, '1'));
  EXPECT_EQ(manual.Load_Program_File((fs::path(VOLPAR_TEST_DATA) / "countdown.txt").string()),
            std::nullopt);
  EXPECT_EQ(memory(), kCountdown);
}

TEST_F(ProgramFile, ValuesLoadCharacterByCharacter) {
  struct Case {
    const char* value;
    const char* cells;
  } cases[] = {
      {"10000001", "10000001"},
      {"x0x0x0x0", "x0x0x0x0"},
      {"0000000X", "00000001"},          // only the lower-case x is black
      {"0000000011111111", "00000000"},  // the ninth and later characters are ignored
      {"x0x0x0x0xxxxxxxx", "x0x0x0x0"},
      {"1111", "11110000"},  // positions the value does not reach are 0
      {"", "00000000"},
      {"a\t 0x0X?", "1110x011"},  // any other character is a 1
      {"\"x0\"", "x0000000"},     // quotes are not part of the value
  };
  std::string zeros;
  for (int address = 1; address < 32; ++address) zeros += "00000000\n";
  for (const Case& c : cases) {
    setMemory(std::string(256, '1'));
    const std::string loaded = loadText(std::string("[First8]\r\nByte0=") + c.value + "\r\n");
    EXPECT_EQ(loaded.substr(0, 9), std::string(c.cells) + "\n") << c.value;
    EXPECT_EQ(loaded.substr(9), zeros) << "every other address loads as 0: " << c.value;
  }
}

TEST_F(ProgramFile, CellsSaveAsOneZeroOrX) {
  setMemory(std::string(256, '0'));
  setMemory("10000001x0x0x0x0" + std::string(240, '0'));
  const fs::path path = dir / "p.txt";
  ASSERT_EQ(manual.Save_Program_File(path.string()), std::nullopt);
  const std::string text = readFile(path);
  EXPECT_NE(text.find("Byte0=10000001\r\n"), std::string::npos);
  EXPECT_NE(text.find("Byte1=x0x0x0x0\r\n"), std::string::npos);

  // A cell in a colour memory never holds reads as a 1.
  input.Shape1(8 * 2 + 3).setFillColor(ui::kRed);
  ASSERT_EQ(manual.Save_Program_File(path.string()), std::nullopt);
  EXPECT_NE(readFile(path).find("Byte2=00100000\r\n"), std::string::npos);
}

TEST_F(ProgramFile, AHandEditedFileLoadsWithEveryOddityHandled) {
  const std::string expected = dataFile("handwritten.expected");
  setMemory(std::string(256, '1'));
  EXPECT_EQ(loadText(dataFile("handwritten.txt")), expected);

  std::string crlf;
  for (char c : dataFile("handwritten.txt"))
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  setMemory(std::string(256, '1'));
  EXPECT_EQ(loadText(crlf), expected) << "the same file with CRLF line endings";
}

TEST_F(ProgramFile, SavingIntoAnExistingFileKeepsEverythingElseInIt) {
  const fs::path path = dir / "handwritten.txt";
  writeFile(path, dataFile("handwritten.txt"));
  setMemory(kCountdown);
  EXPECT_EQ(manual.Save_Program_File(path.string()), std::nullopt);
  EXPECT_EQ(readFile(path), dataFile("handwritten-saved.expected"));

  setMemory(std::string(256, '1'));
  EXPECT_EQ(manual.Load_Program_File(path.string()), std::nullopt);
  EXPECT_EQ(memory(), kCountdown);
  EXPECT_EQ(listing(), std::set<std::string>{"handwritten.txt"});
}

TEST_F(ProgramFile, SampleProgramsSurviveALoadAndASave) {
  for (const char* sample : {"countdown.txt", "marked.txt"}) {
    setMemory(std::string(256, '0'));
    ASSERT_EQ(manual.Load_Program_File((fs::path(VOLPAR_TEST_DATA) / sample).string()),
              std::nullopt)
        << sample;
    const fs::path copy = dir / sample;
    ASSERT_EQ(manual.Save_Program_File(copy.string()), std::nullopt) << sample;
    EXPECT_EQ(readFile(copy), dataFile(sample)) << sample;
  }
  EXPECT_NE(memory().find('x'), std::string::npos) << "marked.txt holds black cells";
}

TEST_F(ProgramFile, RandomGridsRoundTripExactly) {
  const fs::path path = dir / "random.txt";
  for (unsigned seed = 1; seed <= 40; ++seed) {
    const std::vector<ui::Color> saved = randomGrid(seed);
    ASSERT_EQ(manual.Save_Program_File(path.string()), std::nullopt);
    std::vector<ui::Color> other = randomGrid(seed + 1000);
    input.Shape1(0).setFillColor(saved[0]);  // cell 0 holds no bit: neither saved nor loaded
    ASSERT_EQ(manual.Load_Program_File(path.string()), std::nullopt);
    ASSERT_EQ(grid(), saved) << "seed " << seed;
  }
}

// What a failure must look like: one message that names the file and the reason, the
// memory exactly as it was, and the folder (files and their bytes) exactly as it was.
class ProgramFileFailures : public ProgramFile {
 protected:
  struct Disk {
    std::set<std::string> names;
    std::string bytes;
    bool operator==(const Disk&) const = default;
  };
  Disk disk(const std::string& path) const {
    std::error_code ec;
    const bool ours = fs::path(path).parent_path() == dir && fs::is_regular_file(path, ec);
    return {listing(), ours ? readFile(path) : std::string()};
  }
  void expectFailure(const std::function<std::optional<std::string>()>& act,
                     const std::string& path, const std::string& reason, const std::string& what) {
    const std::vector<ui::Color> before = randomGrid(7);
    const Disk diskBefore = disk(path);
    const std::optional<std::string> message = act();
    ASSERT_TRUE(message.has_value()) << what;
    EXPECT_NE(message->find("\"" + path + "\""), std::string::npos) << what << ": " << *message;
    EXPECT_NE(message->find("Reason: " + reason), std::string::npos) << what << ": " << *message;
    EXPECT_EQ(grid(), before) << what;
    EXPECT_TRUE(disk(path) == diskBefore) << what;
  }
  void expectLoadFails(const std::string& path, const std::string& reason,
                       const std::string& what) {
    expectFailure([&] { return manual.Load_Program_File(path); }, path, reason, what);
  }
  void expectSaveFails(const std::string& path, const std::string& reason,
                       const std::string& what) {
    expectFailure([&] { return manual.Save_Program_File(path); }, path, reason, what);
  }
  std::string makeFile(const std::string& name, const std::string& bytes) {
    writeFile(dir / name, bytes);
    return (dir / name).string();
  }
  std::string makeFifo(const std::string& name) {
    const fs::path path = dir / name;
    EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0);
    return path.string();
  }
  static std::string tooLarge() {
    std::string text = "[First8]\r\nByte0=11111111\r\n";
    while (text.size() <= (1U << 20))
      text += "; padding padding padding padding padding padding\r\n";
    return text;
  }
};

TEST_F(ProgramFileFailures, ALoadThatCannotBeDoneChangesNothing) {
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("[First8]\r\nByte0=11111111\r\n")) utf16 += std::string{c, '\0'};
  const struct {
    std::string path;
    std::string reason;
    const char* what;
  } cases[] = {
      {(dir / "missing.txt").string(), "No such file or directory", "no such file"},
      {(dir / "no-folder" / "p.txt").string(), "No such file or directory", "no such folder"},
      {"", "No file name was given", "empty path"},
      {dir.string(), "It is a folder, not a file", "a folder"},
      {makeFifo("pipe.txt"), "It is not a regular file", "a pipe, which must not block"},
      {"/proc/self/mem", "Input/output error", "a file that cannot be read"},
      {makeFile("empty.txt", ""), "It holds none of the sections", "an empty file"},
      {makeFile("notes.txt", "[Notes]\r\nByte0=11111111\r\n; First8\r\n"),
       "It holds none of the sections", "text without the four sections"},
      {makeFile("image.txt", std::string("\x89PNG\r\n\x1A\n") + '\0' + "\rIHDR[First8]\nByte0=1\n"),
       "It is not a text file", "binary data"},
      {makeFile("nul.txt", std::string("[First8]\r\nByte0=0000") + '\0' + "000\r\n"),
       "It is not a text file", "a NUL byte in a program"},
      {makeFile("utf16.txt", utf16), "It is saved as UTF-16 text", "UTF-16 text"},
      {makeFile("huge.txt", tooLarge()), "It is larger than 1 MiB", "too large"},
  };
  for (const auto& c : cases) expectLoadFails(c.path, c.reason, c.what);
}

TEST_F(ProgramFileFailures, AFileTheUserMayNotReadIsNotLoaded) {
  if (runningAsRoot()) GTEST_SKIP() << "root reads every file";
  const std::string path = makeFile("secret.txt", dataFile("countdown.txt"));
  fs::permissions(path, fs::perms::none);
  expectLoadFails(path, "Permission denied", "no read permission");
}

TEST_F(ProgramFileFailures, ASaveThatCannotBeDoneChangesNothingOnDisk) {
  const std::string readOnly = makeFile("read-only.txt", dataFile("countdown.txt"));
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::create_directory(dir / "folder.txt");
  const struct {
    std::string path;
    std::string reason;
    const char* what;
  } cases[] = {
      {(dir / "folder.txt").string(), "It is a folder, not a file", "a folder"},
      {(dir / "folder.txt").string() + "/", "It is a folder, not a file",
       "a folder written with a slash"},
      {(dir / "no-folder" / "p.txt").string(), "No such file or directory", "no such folder"},
      {"", "No file name was given", "empty path"},
      {readOnly, "The file is read-only", "a read-only file"},
      {makeFifo("pipe.txt"), "It is not a regular file", "a pipe"},
      {makeFile("image.txt", std::string("\x89PNG\r\n\x1A\n") + '\0' + "\rIHDR"),
       "It is not a text file", "an existing binary file"},
      {makeFile("huge.txt", tooLarge()), "It is larger than 1 MiB", "an existing huge file"},
      {"/sys/volpar-program.txt", "Permission denied", "a folder nobody may write"},
  };
  for (const auto& c : cases) expectSaveFails(c.path, c.reason, c.what);
}

TEST_F(ProgramFileFailures, AFolderTheUserMayNotWriteKeepsItsFile) {
  if (runningAsRoot()) GTEST_SKIP() << "root writes into every folder";
  const std::string path = makeFile("p.txt", dataFile("countdown.txt"));
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  expectSaveFails(path, "Permission denied", "folder without write permission");
}

// The disk fills up part-way through writing the new file: the old one stays whole and
// no half-written file is left behind.
TEST_F(ProgramFileFailures, ADiskThatFillsUpMidSaveLeavesTheOldFileWhole) {
  const std::string path = makeFile("handwritten.txt", dataFile("handwritten.txt"));
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  expectFailure(
      [&]() -> std::optional<std::string> {
        struct rlimit small = saved;
        small.rlim_cur = 300;  // the file grows from 237 to 600 bytes
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0) return std::nullopt;
        std::optional<std::string> message = manual.Save_Program_File(path);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        return message;
      },
      path, "File too large", "write fails part-way");
  ::signal(SIGXFSZ, oldHandler);
}

TEST_F(ProgramFile, SavingKeepsTheFilesPermissionsAndLinks) {
  const fs::path real = dir / "real.txt";
  writeFile(real, dataFile("handwritten.txt"));
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("real.txt", dir / "link.txt");
  setMemory(kCountdown);

  EXPECT_EQ(manual.Save_Program_File((dir / "link.txt").string()), std::nullopt);

  EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
  EXPECT_EQ(readFile(real), dataFile("handwritten-saved.expected"));
  EXPECT_EQ(fs::status(real).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(listing(), (std::set<std::string>{"link.txt", "real.txt"}));
}

}  // namespace
}  // namespace volpar::testing
