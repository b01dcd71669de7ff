#include "storage/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

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
  // Closes now and reports the error that close found (a delayed write error), or 0.
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

std::optional<std::string> fileTypeProblem(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return "It is a folder, not a file";
  if (!S_ISREG(st.st_mode)) return "It is not a regular file";
  return std::nullopt;
}

std::optional<std::string> writeAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return systemReason(errno);
    }
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return std::nullopt;
}

// The file a save really writes: the target of a symbolic link, not the link itself.
std::filesystem::path resolvedTarget(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
  return ec ? std::filesystem::path(path) : resolved;
}

// Why an existing file may not be replaced, or nothing.
std::optional<std::string> replaceProblem(const std::filesystem::path& target,
                                          const struct stat& st) {
  if (auto problem = fileTypeProblem(st)) return problem;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return "The file is read-only";
  if (::access(target.c_str(), W_OK) != 0) return systemReason(errno);
  return std::nullopt;
}

struct TempFile {
  int fd = -1;
  std::filesystem::path path;
  int error = 0;
};

// Creates a new file with a name of its own beside target; permissions follow the umask.
TempFile createTempBeside(const std::filesystem::path& target) {
  std::random_device seed;
  std::mt19937 random(seed());
  TempFile temp;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp.path = target;
    temp.path.replace_filename("." + target.filename().string() + ".saving-" +
                               std::to_string(random() % 1000000));
    temp.fd = ::open(temp.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (temp.fd >= 0 || errno != EEXIST) break;
  }
  temp.error = temp.fd >= 0 ? 0 : errno;
  return temp;
}

void syncFolderOf(const std::filesystem::path& target) {
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
}

// Writes content into the new temporary file and flushes it; returns why it failed.
std::optional<std::string> fillTemp(Descriptor& fd, std::string_view content,
                                    const struct stat* old) {
  if (old) {
    ::fchmod(fd.get(), old->st_mode & 07777);
    // Keep the owner when saving another user's file as root; elsewhere this is refused
    // harmlessly and the file becomes the saver's.
    [[maybe_unused]] const int ignored = ::fchown(fd.get(), old->st_uid, old->st_gid);
  }
  if (auto problem = writeAll(fd.get(), content)) return problem;
  if (::fsync(fd.get()) != 0) return systemReason(errno);
  if (const int error = fd.close(); error != 0) return systemReason(error);
  return std::nullopt;
}

}  // namespace

FileContents readWholeFile(const std::string& path, std::size_t maxBytes) {
  FileContents result;
  if (path.empty()) {
    result.problem = "No file name was given";
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

std::optional<std::string> replaceFile(const std::string& path, std::string_view content) {
  if (path.empty()) return "No file name was given";
  if (std::filesystem::path(path).filename().empty()) return "It is a folder, not a file";
  const std::filesystem::path target = resolvedTarget(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return systemReason(errno);
  if (exists) {
    if (auto problem = replaceProblem(target, old)) return problem;
  }

  TempFile temp = createTempBeside(target);
  if (temp.fd < 0) return systemReason(temp.error);
  Descriptor fd(temp.fd);
  std::optional<std::string> problem = fillTemp(fd, content, exists ? &old : nullptr);
  if (!problem && ::rename(temp.path.c_str(), target.c_str()) != 0) problem = systemReason(errno);
  if (problem) {
    ::unlink(temp.path.c_str());
    return problem;
  }
  syncFolderOf(target);
  return std::nullopt;
}

}  // namespace volpar::storage
