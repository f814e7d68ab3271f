#pragma once
// What the directory and drive choosers show, computed from the platform so
// that every view shows the same: a DirectoryList's rows (the current
// directory's ancestors, the directory itself, its subdirectories) and the
// machine's drives for a DriveSelector.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vorpane::ui {

enum class FolderGlyph { Open, Current, Closed };

struct DirectoryRow {
  std::string name;  // "C:\" for the drive root, else the folder's own name
  std::string path;  // the full path the row stands for, as a DirectoryList keeps it
  FolderGlyph glyph = FolderGlyph::Closed;
  int indent = 0;  // 0 for the drive root
  friend bool operator==(const DirectoryRow&, const DirectoryRow&) = default;
};

// The rows for a current directory such as "C:\Program Files": the root and
// every ancestor open, the directory itself current, then its subdirectories
// closed and sorted case-insensitively. No rows for an empty directory.
std::vector<DirectoryRow> directoryRows(platform::Platform& platform, const std::string& directory);

struct DriveEntry {
  char letter = 'C';
  platform::DriveType type = platform::DriveType::Fixed;
  std::string root() const { return std::string{letter, ':', '\\'}; }
  friend bool operator==(const DriveEntry&, const DriveEntry&) = default;
};

// The drives A..Z that exist, in letter order, with their types.
std::vector<DriveEntry> machineDrives(platform::Platform& platform);

}  // namespace vorpane::ui
