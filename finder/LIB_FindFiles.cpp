#include "finder/LIB_FindFiles.h"
#include "platform/WindowsPath.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <utility>

namespace vorpane::finder {

using platform::DriveType;
using platform::EntryView;

namespace {

// The roots share the scale from 1,000 to 998,000.
constexpr double kRootsSpan = 998'000.0;
constexpr std::int64_t kRootsOffset = 1'000;

using platform::path::lowerAscii;
using platform::path::splitList;

bool driveTypeSelected(std::uint8_t driveSelection, DriveType type) {
  switch (type) {
    case DriveType::Fixed:
      return driveSelection >= 1 && driveSelection <= 3;
    case DriveType::Removable:
    case DriveType::RamDisk:
      return driveSelection == 2 || driveSelection == 3;
    case DriveType::Remote:
    case DriveType::CdRom:
      return driveSelection == 3;
    default:
      return false;
  }
}

std::vector<std::string> selectRoots(platform::Platform& platform, std::uint8_t driveSelection,
                                     const std::string& directories) {
  std::vector<std::string> roots;
  if (driveSelection == 0) {
    std::string current = platform.currentDirectory().substr(0, 3);
    if (!current.empty()) roots.push_back(std::move(current));
  } else {
    roots = SelectDrives(platform, driveSelection);
  }
  for (std::string& directory : ParseDirectories(directories)) roots.push_back(std::move(directory));
  return roots;
}

// Rounds to the nearest integer, halves to the even neighbour, whatever the
// floating-point environment says.
std::int64_t roundHalfEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  auto result = static_cast<std::int64_t>(below);
  if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
  return result;
}

// The form in which two paths count as the same: letter case of A to Z aside.
std::string pathKey(std::string_view path) { return lowerAscii(path); }

bool isDotEntry(std::string_view name) { return name == "." || name == ".."; }

void report(const ProgressCallback& progress, std::int64_t value) {
  if (progress) progress(static_cast<std::uint8_t>(value / kProgressPerPercent));
}

// Hidden directories are private to whoever hid them, and a junction or link may
// lead back to its own ancestors: the walk enters neither.
bool isEnterable(const EntryView& entry) {
  return entry.isDirectory() && !entry.isHidden() && !entry.isReparsePoint() && !isDotEntry(entry.name);
}

// One search: the masks, the kept paths and the callbacks, for one call.
class Search {
 public:
  Search(platform::Platform& platform, std::vector<std::string> masks, const ProgressCallback& progress,
         const FilterCallback& filter)
      : platform_(platform), masks_(std::move(masks)), progress_(progress), filter_(filter) {}

  void walkRoot(const std::string& root, ProgressRange range) {
    std::string directory = root;
    walk(directory, range);
  }

  std::vector<std::string> takeResults() { return std::move(results_); }

 private:
  // Matches first, then the subdirectories depth first. The directory string
  // grows and shrinks with the walk instead of being copied for every level.
  void walk(std::string& directory, ProgressRange range) {
    offerMatches(directory);
    walkSubdirectories(directory, range);
    report(progress_, range.hi);
  }

  void offerMatches(const std::string& directory) {
    for (const std::string& mask : masks_) {
      platform_.forEachEntry(directory + mask,
                             [&](const EntryView& entry) { collect(directory, entry.name); });
    }
  }

  void walkSubdirectories(std::string& directory, ProgressRange range) {
    SubdirectoryShares shares(range);
    const std::size_t length = directory.size();
    platform_.forEachEntry(directory + "*.*", [&](const EntryView& entry) {
      if (!isEnterable(entry)) return;
      const ProgressRange share = shares.next();
      directory.append(entry.name).push_back('\\');
      walk(directory, share);
      directory.resize(length);
    });
  }

  // A path already kept is not offered again, in whatever case it comes; one
  // the filter turned down may be offered again through another root.
  void collect(const std::string& directory, std::string_view name) {
    if (isDotEntry(name)) return;
    std::string path = directory;
    path.append(name);
    std::string key = pathKey(path);
    if (keptKeys_.count(key) != 0) return;
    if (filter_ && !filter_(path)) return;
    keptKeys_.insert(std::move(key));
    results_.push_back(std::move(path));
  }

  platform::Platform& platform_;
  const std::vector<std::string> masks_;
  const ProgressCallback& progress_;
  const FilterCallback& filter_;
  std::vector<std::string> results_;
  std::unordered_set<std::string> keptKeys_;
};

}  // namespace

std::vector<std::string> ParseMasks(std::string_view text) {
  std::vector<std::string> masks = splitList(text);
  for (std::string& mask : masks) {
    if (mask == "*") mask = "*.*";
  }
  if (masks.empty()) masks.emplace_back("*.*");
  return masks;
}

std::vector<std::string> ParseDirectories(std::string_view text) {
  std::vector<std::string> directories = splitList(text);
  for (std::string& directory : directories) {
    directory = platform::path::withTrailingBackslash(std::move(directory));
  }
  return directories;
}

std::vector<std::string> SelectDrives(platform::Platform& platform, std::uint8_t driveSelection) {
  std::vector<std::string> drives;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::string root{letter, ':', '\\'};
    if (driveTypeSelected(driveSelection, platform.driveType(root))) drives.push_back(std::move(root));
  }
  return drives;
}

ProgressRange RootRange(std::size_t index, std::size_t count) {
  const double perRoot = kRootsSpan / static_cast<double>(count);
  return {roundHalfEven(perRoot * static_cast<double>(index)) + kRootsOffset,
          roundHalfEven(perRoot * static_cast<double>(index + 1))};
}

SubdirectoryShares::SubdirectoryShares(ProgressRange parent)
    : lo_(parent.lo), hi_(parent.hi), rest_(parent.hi - parent.lo) {}

ProgressRange SubdirectoryShares::next() {
  const std::int64_t share = rest_ / 8;  // toward zero, also when lo lies beyond hi
  const std::int64_t end = std::min(lo_ + share, hi_);
  rest_ -= share;
  return {std::exchange(lo_, end), end};
}

std::vector<std::string> FindFiles(platform::Platform& platform, const std::string& masks,
                                   std::uint8_t driveSelection, const std::string& directories,
                                   const ProgressCallback& progress, const FilterCallback& filter) {
  std::vector<std::string> results;
  {
    Search search(platform, ParseMasks(masks), progress, filter);
    const std::vector<std::string> roots = selectRoots(platform, driveSelection, directories);
    report(progress, kProgressStarted);
    for (std::size_t i = 0; i < roots.size(); ++i) search.walkRoot(roots[i], RootRange(i, roots.size()));
    results = search.takeResults();
  }
  report(progress, kProgressWalked);
  std::sort(results.begin(), results.end(), [&](const std::string& a, const std::string& b) {
    return platform.compareTextInsensitive(a, b) < 0;
  });
  report(progress, kProgressDone);
  return results;
}

}  // namespace vorpane::finder
