#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace volpar::storage {

struct FileContents {
  enum class Status { Read, Missing, Failed };
  Status status = Status::Failed;
  std::string bytes;    // when Read: the file, cut after maxBytes + 1 bytes
  std::string problem;  // when Missing or Failed: why, in words for the user
};

// Reads a regular file whole. Reads at most maxBytes + 1 bytes, so that a caller can tell
// a file that is too large; never waits on a pipe or device.
FileContents readWholeFile(const std::string& path, std::size_t maxBytes);

// Replaces the file at path (or creates it) with content in one step: writes a temporary
// file beside it, flushes it to disk and renames it over the old one, so that a crash or a
// full disk never leaves half a file. An existing file must be a regular file that may be
// written; it keeps its permissions, and a symbolic link keeps pointing at it. Returns why
// when it fails; nothing on disk has changed then.
std::optional<std::string> replaceFile(const std::string& path, std::string_view content);

}  // namespace volpar::storage
