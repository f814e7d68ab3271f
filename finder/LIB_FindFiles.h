#pragma once
// LIB_FindFiles: searches whole drives, and directories given besides, for
// entries whose names match one or more masks. A caller's filter decides which
// matches are kept, a caller's progress display follows the walk, and the kept
// paths come back sorted. The upgrade search finds existing installations with
// it ("Vorpane.Dat" on the fixed disks).
//
// Everything goes through the platform, so the search runs the same against the
// real drives and against the host folders of the tests.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace vorpane::finder {

// Receives the share of the search done, 0..100. It may fall back: the first
// deep directories report less than the 1 % announced at the start.
using ProgressCallback = std::function<void(std::uint8_t percent)>;
// Receives the full path of a match not yet kept; true keeps it.
using FilterCallback = std::function<bool(const std::string& path)>;

// Searches for the masks (separated by ";"; none means "*.*") on the drives
// that driveSelection chooses, then in the directories (separated by ";"):
//   0   the current directory's drive
//   1   fixed drives
//   2   fixed, removable and RAM-disk drives
//   3   those and network and CD-ROM drives
//   4+  no drives
// Hidden directories and junctions or links to directories are not entered;
// directories that cannot be read are passed over. Both callbacks may be empty.
// An exception from either ends the search and reaches the caller; the search
// raises nothing of its own. Paths that differ only in letter case are kept
// once.
std::vector<std::string> FindFiles(platform::Platform& platform, const std::string& masks,
                                   std::uint8_t driveSelection, const std::string& directories,
                                   const ProgressCallback& progress, const FilterCallback& filter);

// --- the parts of a search ----------------------------------------------------------

// Progress is kept on a finer scale than the percentage it is shown as.
inline constexpr std::int64_t kProgressPerPercent = 10'000;
inline constexpr std::int64_t kProgressStarted = 10'000;
inline constexpr std::int64_t kProgressWalked = 999'000;
inline constexpr std::int64_t kProgressDone = 1'000'000;

// The part of the progress scale one directory walks through: it reports hi
// when done. After many roots lo may exceed hi.
struct ProgressRange {
  std::int64_t lo = 0;
  std::int64_t hi = 0;
  bool operator==(const ProgressRange&) const = default;
};

// The masks of a mask text: trimmed, split at ";", each piece trimmed, empty
// pieces dropped, "*" widened to "*.*"; "*.*" when nothing remains.
std::vector<std::string> ParseMasks(std::string_view text);

// The directories of a directory text, parsed like masks, each ending in a
// backslash.
std::vector<std::string> ParseDirectories(std::string_view text);

// The drive roots ("C:\") a drive selection takes, in the order A to Z.
std::vector<std::string> SelectDrives(platform::Platform& platform, std::uint8_t driveSelection);

// The range of root number index (from 0) of count roots: the roots share the
// scale between 1 % and 99.8 % evenly.
ProgressRange RootRange(std::size_t index, std::size_t count);

// Hands out a directory's range to its subdirectories in the order they are
// found: each takes an eighth of what is left, never beyond the parent's end.
class SubdirectoryShares {
 public:
  explicit SubdirectoryShares(ProgressRange parent);
  ProgressRange next();

 private:
  std::int64_t lo_;
  std::int64_t hi_;
  std::int64_t rest_;
};

}  // namespace vorpane::finder
