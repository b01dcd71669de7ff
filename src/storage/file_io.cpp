// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/file_io.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <set>
#include <system_error>

#include "i18n/text.h"
#include "storage/file_faults.h"
#include "ui/quoted.h"

namespace volpar::storage {
namespace {

std::string systemReason(int error) { return std::generic_category().message(error); }

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

std::optional<std::string> fileTypeProblem(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return std::string(i18n::tr("It is a folder, not a file"));
  if (!S_ISREG(st.st_mode)) return std::string(i18n::tr("It is not a regular file"));
  return std::nullopt;
}

namespace fs = std::filesystem;

// A system error and what was being done, naming the file or its folder.
std::string failed(int error, std::string_view doing) {
  return systemReason(error) + " (" + std::string(doing) + ")";
}

using faults::Call;

// Writes all of content at offset; returns the error, or 0.
int writeAllAt(int fd, std::string_view content, off_t offset) {
  if (const int error = faults::take(Call::Write)) return error;
  while (!content.empty()) {
    const ssize_t n = ::pwrite(fd, content.data(), content.size(), offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    content.remove_prefix(static_cast<std::size_t>(n));
    offset += n;
  }
  return 0;
}

// Gives the file exactly content and flushes it to disk; returns the error, or 0.
int setContent(int fd, std::string_view content) {
  if (const int error = writeAllAt(fd, content, 0)) return error;
  if (const int error = faults::take(Call::Truncate)) return error;
  if (::ftruncate(fd, static_cast<off_t>(content.size())) != 0) return errno;
  if (const int error = faults::take(Call::Sync)) return error;
  return ::fsync(fd) == 0 ? 0 : errno;
}

fs::path folderOf(const fs::path& target) {
  return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// The file a save really writes: the target of a symbolic link, not the link itself, even
// when that target does not exist yet (the save creates it and the link is kept). A chain
// too long to follow is left as it is, for the system to name the loop.
fs::path resolvedTarget(const std::string& path) {
  constexpr int kMaxLinks = 40;
  fs::path at = path;
  std::error_code ec;
  for (int hop = 0; hop < kMaxLinks && fs::is_symlink(at, ec); ++hop) {
    const fs::path to = fs::read_symlink(at, ec);
    if (ec) break;
    at = to.is_absolute() ? to : folderOf(at) / to;
  }
  const fs::path resolved = fs::weakly_canonical(at, ec);
  return ec ? at : resolved;
}

// What was being done in the target's folder: a marked pattern with the folder as %1.
std::string inFolder(std::string_view pattern, const fs::path& target) {
  return i18n::fill(i18n::tr(pattern), {ui::quoted(folderOf(target).string())});
}

// Why an existing file may not be replaced, or nothing.
std::optional<std::string> replaceProblem(const fs::path& target, const struct stat& st) {
  if (auto problem = fileTypeProblem(st)) return problem;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    return std::string(i18n::tr("The file is read-only"));
  if (::access(target.c_str(), W_OK) != 0)
    return failed(errno, i18n::tr("the file may not be written"));
  return std::nullopt;
}

// ".NAME.saving-N": the name a save gives its new copy of NAME until the rename.
constexpr std::string_view kSaving = ".saving-";

fs::path savingName(const fs::path& target) {
  static std::mt19937 random{std::random_device{}()};
  fs::path name = target;
  name.replace_filename("." + target.filename().string() + std::string(kSaving) +
                        std::to_string(random() % 1000000));
  return name;
}

// What a list or value call of the extended attributes gives: read with a buffer of the
// size it asks for first. Nothing when it cannot be read (not even on a retry, should the
// size grow in between).
template <class Read>
std::optional<std::string> attributeBytes(Read call) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    const ssize_t size = call(nullptr, 0);
    if (size < 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const ssize_t got = call(bytes.data(), bytes.size());
    if (got >= 0) return bytes.substr(0, static_cast<std::size_t>(got));
    if (errno != ERANGE) return std::nullopt;
  }
  return std::nullopt;
}

// The names of a file's extended attributes; none on a file system without them.
template <class List>
std::optional<std::set<std::string>> attributeNames(List list) {
  const std::optional<std::string> bytes = attributeBytes(list);
  if (!bytes) {
    if (errno == ENOTSUP) return std::set<std::string>{};
    return std::nullopt;
  }
  std::set<std::string> names;
  for (std::size_t at = 0; at < bytes->size();) {
    const std::size_t end = bytes->find('\0', at);
    names.insert(bytes->substr(at, end - at));
    at = end == std::string::npos ? bytes->size() : end + 1;
  }
  return names;
}

// Gives the copy exactly the old file's extended attributes, its access control list among
// them: one lost would widen who may read or write (the mode's group bits may be only the
// list's mask), one gained from the folder's defaults likewise. False if it cannot.
bool copyAttributes(const fs::path& old, int copy) {
#ifndef __linux__
  static_cast<void>(old), static_cast<void>(copy);
  return true;  // the browser's file system keeps none
#else
  const auto names = attributeNames(
      [&](char* out, std::size_t size) { return ::listxattr(old.c_str(), out, size); });
  if (!names) return false;
  for (const std::string& name : *names) {
    const auto value = attributeBytes([&](char* out, std::size_t size) {
      return ::getxattr(old.c_str(), name.c_str(), out, size);
    });
    if (!value || ::fsetxattr(copy, name.c_str(), value->data(), value->size(), 0) != 0)
      return false;
  }
  const auto inherited =
      attributeNames([&](char* out, std::size_t size) { return ::flistxattr(copy, out, size); });
  if (!inherited) return false;
  for (const std::string& name : *inherited) {
    if (!names->contains(name) && ::fremovexattr(copy, name.c_str()) != 0) return false;
  }
  return true;
#endif
}

// The new copy of a file being saved: unnamed until it is linked in, where the file
// system allows, else under a saving name.
class NewCopy {
 public:
  explicit NewCopy(const fs::path& target) {
#ifdef O_TMPFILE
    // Linking an unnamed file in needs its name under /proc.
    if (::access("/proc/self/fd", X_OK) == 0 && !faults::take(Call::UnnamedCopy)) {
      fd_ = ::open(folderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
      if (fd_ >= 0) return;
    }
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
      name_ = savingName(target);
      fd_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0 || errno != EEXIST) break;
    }
    if (fd_ >= 0) return;
    error_ = errno;
    name_.clear();  // not this save's file
  }
  ~NewCopy() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.empty()) ::unlink(name_.c_str());
  }
  NewCopy(const NewCopy&) = delete;
  NewCopy& operator=(const NewCopy&) = delete;

  int fd() const { return fd_; }
  int error() const { return error_; }

  // Gives the copy the owner, group, permissions and extended attributes of the old file
  // at target; false if it cannot.
  bool takeOver(const fs::path& target, const struct stat& old) const {
    return !faults::take(Call::TakeOver) && ::fchown(fd_, old.st_uid, old.st_gid) == 0 &&
           ::fchmod(fd_, old.st_mode & 07777) == 0 && copyAttributes(target, fd_);
  }

  // Puts the copy, flushed to disk, in the place of target (a new name, or a file it
  // replaces); returns the error, or 0.
  int moveTo(const fs::path& target, bool replaces) {
    if (name_.empty()) {
      const std::string self = "/proc/self/fd/" + std::to_string(fd_);
      for (int attempt = 0; attempt < 100; ++attempt) {
        name_ = replaces ? savingName(target) : target;
        int error = faults::take(Call::Link);
        if (!error &&
            ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name_.c_str(), AT_SYMLINK_FOLLOW) == 0)
          break;
        if (!error) error = errno;
        name_.clear();
        if (error != EEXIST || !replaces) return error;
      }
    }
    if (name_ != target) {
      if (const int error = faults::take(Call::Rename)) return error;
      if (::rename(name_.c_str(), target.c_str()) != 0) return errno;
    }
    name_.clear();
    return 0;
  }

 private:
  int fd_ = -1;
  fs::path name_;  // the copy's name while it has one that is not the target's
  int error_ = 0;
};

void syncFolderOf(const fs::path& target) {
  Descriptor dir(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
}

// Removes the new copies that earlier saves of target left behind when they were killed
// between naming the copy and the rename: files of this user named ".NAME.saving-N".
void removeDebris(const fs::path& target) {
  const std::string prefix = "." + target.filename().string() + std::string(kSaving);
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folderOf(target), ec)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix) || name.size() == prefix.size() ||
        name.find_first_not_of("0123456789", prefix.size()) != std::string::npos)
      continue;
    struct stat st {};
    if (::lstat(entry.path().c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
      ::unlink(entry.path().c_str());
  }
}

// How a save by rename ended: done, failed, or not possible without changing who owns the
// file, what its permissions are or who else may use it.
struct RenameOutcome {
  bool inPlaceInstead = false;
  std::optional<WriteProblem> problem;
};

RenameOutcome replaceByRename(const fs::path& target, std::string_view content,
                              const struct stat* old) {
  NewCopy copy(target);
  if (copy.fd() < 0) {
    if (old && (copy.error() == EACCES || copy.error() == EPERM)) return {true, {}};
    return {false,
            WriteProblem{failed(
                copy.error(), inFolder(i18n::mark("making a new file in the folder %1"), target))}};
  }
  if (old && !copy.takeOver(target, *old)) return {true, {}};
  if (const int error = setContent(copy.fd(), content))
    return {false,
            WriteProblem{failed(
                error, inFolder(i18n::mark("writing a new copy in the folder %1"), target))}};
  if (const int error = copy.moveTo(target, old != nullptr)) {
    return {false, WriteProblem{failed(
                       error, inFolder(i18n::mark("putting the new copy in place in the folder %1"),
                                       target))}};
  }
  syncFolderOf(target);
  return {};
}

// Reads the whole file from its start; returns the error, or 0.
int readAll(int fd, std::string& out) {
  char buffer[16384];
  for (off_t offset = 0;;) {
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
    out.append(buffer, static_cast<std::size_t>(n));
    offset += n;
  }
}

// Makes sure that size bytes will fit the file before its first byte changes: within the
// limit on file size this process has, and on the disk (reserved, where the file system
// allows, without changing the file). Returns the error, or 0.
int roomFor(int fd, std::size_t size) {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      size > limit.rlim_cur)
    return EFBIG;
#ifdef __linux__
  if (size == 0 || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) == 0) return 0;
  return errno == EOPNOTSUPP || errno == ENOSYS || errno == EINTR ? 0 : errno;
#else
  static_cast<void>(fd);
  return 0;
#endif
}

// Writes the file where it stands, keeping its owner, group, permissions and links. A save
// killed meanwhile leaves a mix of old and new bytes, so the write waits until the new text
// surely fits and is then one write, a cut to length and a flush; should it still fail,
// the old content is written back.
std::optional<WriteProblem> writeInPlace(const fs::path& target, std::string_view content) {
  Descriptor fd(::open(target.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.valid()) return WriteProblem{failed(errno, i18n::tr("opening the file to write it"))};
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0)
    return WriteProblem{failed(errno, i18n::tr("opening the file to write it"))};
  if (auto problem = fileTypeProblem(st)) return WriteProblem{*problem};
  std::string before;
  if (const int error = readAll(fd.get(), before))
    return WriteProblem{failed(error, i18n::tr("reading the file before writing it"))};
  if (const int error = roomFor(fd.get(), content.size()))
    return WriteProblem{failed(error, i18n::tr("writing the file in place"))};
  const int error = setContent(fd.get(), content);
  if (error == 0) return std::nullopt;
  const std::string reason = failed(error, i18n::tr("writing the file in place"));
  if (const int undo = setContent(fd.get(), before)) {
    return WriteProblem{
        i18n::fill(i18n::tr("%1, and its old content could not be written back: %2"),
                   {reason, systemReason(undo)}),
        true};
  }
  return WriteProblem{i18n::fill(i18n::tr("%1; its old content was written back"), {reason})};
}

}  // namespace

FileContents readWholeFile(const std::string& path, std::size_t maxBytes) {
  FileContents result;
  if (path.empty()) {
    result.problem = std::string(i18n::tr("No file name was given"));
    return result;
  }
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!fd.valid()) {
    result.status = errno == ENOENT ? FileContents::Status::Missing : FileContents::Status::Failed;
    result.problem = systemReason(errno);
    return result;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    result.problem = systemReason(errno);
    return result;
  }
  if (auto problem = fileTypeProblem(st)) {
    result.problem = *problem;
    return result;
  }
  char buffer[16384];
  while (result.bytes.size() <= maxBytes) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.bytes.clear();
      result.problem = systemReason(errno);
      return result;
    }
    if (n == 0) break;
    result.bytes.append(buffer, static_cast<std::size_t>(n));
  }
  if (result.bytes.size() > maxBytes + 1) result.bytes.resize(maxBytes + 1);
  result.status = FileContents::Status::Read;
  return result;
}

std::optional<WriteProblem> replaceFile(const std::string& path, std::string_view content) {
  if (path.empty()) return WriteProblem{std::string(i18n::tr("No file name was given"))};
  if (fs::path(path).filename().empty())
    return WriteProblem{std::string(i18n::tr("It is a folder, not a file"))};
  const fs::path target = resolvedTarget(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return WriteProblem{systemReason(errno)};
  if (exists) {
    if (auto problem = replaceProblem(target, old)) return WriteProblem{*problem};
  }
  // A file with other links is written in place, so that every name sees the new content.
  RenameOutcome outcome{exists && old.st_nlink != 1, {}};
  if (!outcome.inPlaceInstead) outcome = replaceByRename(target, content, exists ? &old : nullptr);
  if (outcome.inPlaceInstead) outcome.problem = writeInPlace(target, content);
  if (!outcome.problem) removeDebris(target);
  return outcome.problem;
}

bool mayWriteFolder(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(path.c_str(), W_OK | X_OK) == 0;
}

}  // namespace volpar::storage
