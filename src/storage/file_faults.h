// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The system calls of a save that the fuzzing build can make fail on purpose, so that the
// fuzzer reaches every way out of a save: the in-place write, the named new copy, the
// undoing of a failed write. Without VOLPAR_FILE_FAULTS no call ever fails here.

namespace volpar::storage::faults {

enum class Call {
  UnnamedCopy,  // the system offers no unnamed files: the new copy gets a name at once
  TakeOver,     // the copy cannot take the old file's owner, permissions or attributes
  Write,
  Truncate,
  Sync,
  Link,  // the unnamed copy linked in under a name
  Rename,
  Count
};

#ifdef VOLPAR_FILE_FAULTS
// The error the next call of this kind fails with (0: it succeeds); taking it clears it.
inline int planned[static_cast<int>(Call::Count)] = {};
inline int take(Call call) {
  const int error = planned[static_cast<int>(call)];
  planned[static_cast<int>(call)] = 0;
  return error;
}
#else
constexpr int take(Call) { return 0; }
#endif

}  // namespace volpar::storage::faults
