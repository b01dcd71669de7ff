// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/data_table.h"
#include "support/screens_fixture.h"
#include "ui/colors.h"

namespace volpar::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

fs::path data(const std::string& name) { return fs::path(VOLPAR_TEST_DATA) / name; }

// Root runs the scope as the user nobody, so that files are checked as an ordinary user's
// program finds them; anyone else runs as themselves.
struct OrdinaryUser {
  OrdinaryUser() {
    if (!root) return;
    groups.resize(static_cast<std::size_t>(::getgroups(0, nullptr)));
    ::getgroups(static_cast<int>(groups.size()), groups.data());
    failed = ::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 0) != 0 ||
             ::setresuid(65534, 65534, 0) != 0;
  }
  ~OrdinaryUser() {
    if (root && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0 ||
                 ::setgroups(groups.size(), groups.data()) != 0))
      std::abort();
  }
  const bool root = ::geteuid() == 0;
  bool failed = false;
  std::vector<gid_t> groups;
};

class ProgramFile : public ScreensFixture {
 protected:
  std::string pattern = (fs::temp_directory_path() / "volpar-program-file-XXXXXX").string();
  const fs::path dir =
      ::mkdtemp(pattern.data()) ? fs::path(pattern) : throw std::runtime_error(pattern);
  ~ProgramFile() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  // The 32 bytes, one line each.
  std::string memory() {
    std::string out;
    for (int address = 0; address < 32; ++address) out += memoryBits(address) + '\n';
    return out;
  }
  // All 257 cells, cell 0 included, in any of the three memory colours.
  std::string randomGrid(unsigned seed) {
    std::mt19937 random(seed);
    const ui::Color colors[] = {ui::kYellow, ui::kWhite, ui::kBlack};
    for (int cell = 0; cell <= 256; ++cell) input().Shape1(cell).setFillColor(colors[random() % 3]);
    return grid();
  }
  std::string grid() { return lit(input().Shape1, ui::kYellow); }  // black is '?'
  // Every path under the folder with the bytes of its regular files; links as links.
  std::set<std::string> disk() const {
    std::set<std::string> out;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
      out.insert(entry.path().string() + ":" +
                 (entry.is_symlink()        ? "link"
                  : entry.is_regular_file() ? readFile(entry.path())
                                            : ""));
    return out;
  }
  std::string makeFile(const std::string& name, const std::string& bytes,
                       fs::perms perms = fs::perms::owner_read | fs::perms::owner_write) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    fs::permissions(dir / name, perms);
    return (dir / name).string();
  }
};

// The initial grid saves thirty-two keys of zeros (zeros.txt). A hand-edited file loads with every
// oddity handled: lower-case names, blanks, quotes, other sections, a key in the wrong section,
// short and long values, "X", with LF and with CRLF line endings; other characters are 1
// bits. Saved programs load and save again byte for byte. Saving through a link into a
// hand-edited file replaces only the thirty-two values: the other lines, the link and the
// file's permissions stay.
TEST_F(ProgramFile, LoadingAndSavingKeepWhatTheUserWrote) {
  EXPECT_EQ(manual().Save_Program_File((dir / "new.txt").string()), std::nullopt);
  EXPECT_EQ(readFile(dir / "new.txt"), readFile(data("zeros.txt")));
  EXPECT_EQ(manual().Program_File_Name, (dir / "new.txt").string());
  const std::string text = readFile(data("handwritten.txt"));
  std::string crlf, rest;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (int address = 1; address < 32; ++address) rest += "00000000\n";
  const std::pair<std::string, std::string> cases[] = {
      {text, readFile(data("handwritten.expected"))},
      {crlf, readFile(data("handwritten.expected"))},
      {"[First8]\r\nByte0=a\t 0x0X?\r\n", "1110x011\n" + rest}};
  for (const auto& [file, cells] : cases) {
    randomGrid(3);
    ASSERT_EQ(manual().Load_Program_File(makeFile("p.txt", file)), std::nullopt) << file;
    EXPECT_EQ(memory(), cells) << file;
  }
  for (const char* sample : {"marked.txt", "countdown.txt"}) {
    randomGrid(1);
    ASSERT_EQ(manual().Load_Program_File(data(sample).string()), std::nullopt) << sample;
    ASSERT_EQ(manual().Save_Program_File((dir / sample).string()), std::nullopt) << sample;
    EXPECT_EQ(readFile(dir / sample), readFile(data(sample))) << sample;
  }
  const std::string countdown = memory();
  const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  const std::string real = makeFile("real.txt", text, perms);
  fs::create_symlink("real.txt", dir / "link.txt");
  makeFile(".real.txt.saving-4711", "");   // left by a save killed before its rename
  makeFile(".other.txt.saving-4711", "");  // another file's
  EXPECT_EQ(manual().Save_Program_File((dir / "link.txt").string()), std::nullopt);
  EXPECT_EQ(readFile(real), readFile(data("handwritten-saved.expected")));
  EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
  EXPECT_EQ(fs::status(real).permissions(), perms);
  EXPECT_EQ(disk().size(), 7u) << "no new copy, old or new, is left behind";
  randomGrid(4);
  EXPECT_EQ(manual().Load_Program_File(real), std::nullopt);
  EXPECT_EQ(memory(), countdown);
  // A link that points nowhere yet, or at such a link, is saved through: its file is made
  // where it points and the link stays.
  fs::create_directory(dir / "work"), fs::create_symlink("work/new.txt", dir / "dangling.txt");
  fs::create_symlink("dangling.txt", dir / "chain.txt");
  const std::string saved = randomGrid(8);
  for (const char* link : {"dangling.txt", "chain.txt"}) {
    fs::remove(dir / "work/new.txt");
    ASSERT_EQ(manual().Save_Program_File((dir / link).string()), std::nullopt) << link;
    EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    randomGrid(9);
    ASSERT_EQ(manual().Load_Program_File((dir / "work/new.txt").string()), std::nullopt);
    EXPECT_EQ(grid().substr(1), saved.substr(1)) << link;
  }
}

// Every extended attribute of a file, the access control list among them, with its value.
std::map<std::string, std::string> attributes(const fs::path& path) {
  std::map<std::string, std::string> out;
  std::string names(size_t{4096}, '\0');
  const ssize_t n = ::listxattr(path.c_str(), names.data(), names.size());
  for (std::size_t at = 0; n > 0 && at < static_cast<std::size_t>(n);
       at = names.find('\0', at) + 1) {
    const std::string name = names.c_str() + at;
    std::string value(size_t{4096}, '\0');
    const ssize_t size = ::getxattr(path.c_str(), name.c_str(), value.data(), value.size());
    out[name] = value.substr(0, static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
  }
  return out;
}

// A load or save through the File menu that cannot be done: one message naming the file and
// the reason, the memory exactly as it was, every file exactly as it was. One case per reason,
// loads and saves mixed. A file that a rename would take from its owner or its other names, or
// in a folder the user may not write, is saved in place: owner, group, permissions and links
// stay. Root prepares such files and saves as the user nobody (group nogroup). A student's
// file that the teacher may also write (an access control list entry), that carries a note
// of the student's (a user attribute), or both, keeps exactly its attributes: a lost list
// would leave its mask in the mode's group bits, opening the file to the whole group. A file
// in a folder whose default list names someone gains no entry. An attribute the user may not
// set (root's security attribute) keeps the file where it is: it is written in place.
TEST_F(ProgramFile, SavesInPlaceWhereNeededAndAFailureChangesNothingAndSaysWhy) {
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("[First8]\r\nByte0=11111111\r\n")) utf16 += std::string{c, '\0'};
  fs::create_directory(dir / "folder.txt");
  ASSERT_EQ(::mkfifo((dir / "pipe.txt").c_str(), 0644), 0);
  const std::string png = std::string("\x89PNG\r\n\x1A\n") + '\0' + "\rIHDR[First8]\nByte0=1\n";
  const std::string handwritten = readFile(data("handwritten.txt"));
  fs::create_hard_link(makeFile("linked.txt", handwritten), dir / "linked.txt.link");
  const bool root = ::geteuid() == 0;
  const gid_t group = root ? 65534 : ::getegid();
  using P = fs::perms;
  const P rw_r_r = P::owner_read | P::owner_write | P::group_read | P::others_read;
  const std::string countdown = readFile(data("countdown.txt"));
  const auto file = [&](const std::string& name, uid_t owner, P perms) {
    fs::create_directory((dir / name).parent_path());
    EXPECT_EQ(::chown(makeFile(name, countdown, perms).c_str(), owner, group), 0);
  };
  makeFile("notes.txt", "[Notes]\r\nByte0=11111111\r\n; First8\r\n");
  makeFile("image.txt", png), makeFile("utf16.txt", utf16);
  makeFile("utf16be.txt", "\xFE\xFF" + utf16.substr(2));
  makeFile("huge.txt", "[First8]\r\n;" + std::string(1 << 20, ' '));
  makeFile("nearly-huge.txt", "[First8]\r\n;" + std::string((1 << 20) - 12, ' '));
  makeFile("read-only.txt", countdown, P::owner_read), makeFile("handwritten.txt", handwritten);
  makeFile("not-mine.txt", countdown, P::owner_read | P::group_all | P::others_read);
  file("linked/a.txt", root ? 65534 : ::geteuid(), rw_r_r);
  file("locked/mine.txt", root ? 65534 : ::geteuid(), rw_r_r);
  fs::create_hard_link(dir / "linked/a.txt", dir / "linked/b.txt");
  fs::create_directory(dir / "loops"), fs::create_symlink("b.txt", dir / "loops/a.txt");
  fs::create_symlink("a.txt", dir / "loops/b.txt");
  std::vector<Row> cases = readTable("program_file/failures.txt");
  fs::permissions(dir / "locked", P::owner_exec | P::owner_read | P::others_exec);
  // A group-writable file of root in a folder where anyone may create files.
  if (root) {
    file("shared/group.txt", 0, rw_r_r | P::group_write);
    cases.push_back({"save", "shared/group.txt", "", "0", "1"});
  }
  fs::permissions(dir, P::all), fs::permissions(dir / "linked", P::all);
  if (root) fs::permissions(dir / "shared", P::all | P::sticky_bit);
  std::string skipped = root ? "" : "the shared file and the security attribute need root";
  const auto acl = [&](const std::string& args, const std::string& name) {
    return std::system(
               ("setfacl " + args + " '" + (dir / name).string() + "' 2>/dev/null").c_str()) == 0;
  };
  const auto note = [&](const std::string& name, const char* attribute) {
    return ::setxattr((dir / name).c_str(), attribute, "graded", 6, 0) == 0;
  };
  const auto student = [&](const std::string& name, bool prepared, const char* inPlace = "0") {
    if (prepared) cases.push_back({"save", name, "", "0", "1", "", inPlace});
    if (!prepared) skipped = "setfacl (Debian's acl package) or file attributes are missing";
  };
  for (const char* name : {"acl.txt", "note.txt", "both.txt", "class/plain.txt", "pinned.txt"})
    file(name, root ? 65534 : ::geteuid(), rw_r_r);
  fs::permissions(dir / "class", P::all);
  const std::string teacher = "u:12345:rw";
  student("acl.txt", acl("-m " + teacher, "acl.txt"));
  student("note.txt", note("note.txt", "user.volpar.note"));
  student("both.txt", acl("-m " + teacher, "both.txt") && note("both.txt", "user.volpar.note"));
  student("class/plain.txt", acl("-d -m " + teacher + "x", "class"));
  if (root) student("pinned.txt", note("pinned.txt", "security.volpar"), "1");
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit unlimited {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
  for (const Row& row : cases) {
    SCOPED_TRACE(row[0] + " " + row[1]);
    const bool save = row[0] == "save";
    const std::string name = unescape(row[1]);
    const std::string path = name == "-" ? "" : name[0] == '/' ? name : (dir / name).string();
    const std::string reason = unescape(row[2]);
    const std::string before = randomGrid(7);
    const std::set<std::string> diskBefore = disk();
    const std::map<std::string, std::string> attributesBefore = attributes(path);
    struct stat statBefore = {}, statAfter = {};
    ::stat(path.c_str(), &statBefore);
    platform.messages.clear();
    struct rlimit limit = unlimited;
    if (row[3] != "0") limit.rlim_cur = std::stoul(row[3]);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    (save ? platform.saveAnswers : platform.openAnswers).push_back(path);
    {
      std::optional<OrdinaryUser> user;
      if (row[4] == "1" && user.emplace().failed) {
        skipped = "could not run as the user nobody";
        continue;
      }
      save ? input().save_menu_Click() : input().Open_menu_Click();
    }
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    if (reason.empty()) {
      EXPECT_EQ(platform.messages.size(), 0u);
      ASSERT_EQ(::stat(path.c_str(), &statAfter), 0);
      EXPECT_EQ(
          std::tie(statAfter.st_uid, statAfter.st_gid, statAfter.st_mode, statAfter.st_nlink),
          std::tie(statBefore.st_uid, statBefore.st_gid, statBefore.st_mode, statBefore.st_nlink));
      EXPECT_EQ(disk().size(), diskBefore.size()) << "no file more, no file less";
      EXPECT_EQ(attributes(path), attributesBefore);
      EXPECT_TRUE(row.size() < 7 || (statAfter.st_ino == statBefore.st_ino) == (row[6] == "1"));
      randomGrid(6);
      ASSERT_EQ(manual().Load_Program_File(path), std::nullopt);
      EXPECT_EQ(grid().substr(1), before.substr(1)) << "cell 0 holds no bit";
      continue;
    }
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_THAT(platform.messages[0].text,
                HasSubstr(row.size() > 5 ? unescape(row[5]) : "\"" + path + "\""));
    EXPECT_THAT(platform.messages[0].text, HasSubstr("Reason: " + reason));
    EXPECT_EQ(grid(), before);
    EXPECT_EQ(disk(), diskBefore);
  }
  ::signal(SIGXFSZ, oldHandler);
  fs::permissions(dir / "locked", P::owner_all);
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

}  // namespace
}  // namespace volpar::testing
