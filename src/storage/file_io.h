// SPDX-License-Identifier: GPL-3.0-or-later
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

struct WriteProblem {
  std::string reason;        // why, in words for the user, naming the file or its folder
  bool fileChanged = false;  // the file could not be put back as it was
};

// Replaces the file at path (or creates it) with content. A symbolic link keeps pointing
// at its file (one that points nowhere yet gets its file created); an existing file must be
// a regular file that may be written.
// - Where the new file can take the old one's owner, group, permissions and extended
//   attributes (its access control list among them) and the old one has no other link,
//   the content is written to a new file beside it, flushed to disk and renamed over the
//   old one, so that a crash or a full disk never leaves half a file. The new file has no
//   name until that moment, where the file system allows; otherwise a hidden
//   ".NAME.saving-N" is used, and one left behind by an earlier, killed save of the same
//   file is removed by the next.
// - Otherwise (a shared or hard-linked file, one with an attribute the user may not set, a
//   folder that may not be written) the file is written in place, in one write once the
//   new text surely fits; should that still fail, its old content is written back.
// Returns why it failed; nothing on disk has changed then unless fileChanged says so.
std::optional<WriteProblem> replaceFile(const std::string& path, std::string_view content);

// Whether the user may create files in this existing folder.
bool mayWriteFolder(const std::string& path);

}  // namespace volpar::storage
