#include "ui/DirectoryRows.h"
#include "platform/WindowsPath.h"

#include <algorithm>
#include <cctype>

namespace vorpane::ui {

namespace {

using platform::path::startsAtDriveRoot;
using platform::path::withTrailingBackslash;

std::vector<std::string> components(const std::string& relative) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= relative.size()) {
    const std::size_t end = std::min(relative.find('\\', start), relative.size());
    if (end > start) parts.push_back(relative.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::vector<std::string> sortedSubdirectories(platform::Platform& platform, const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : platform.listDirectory(withTrailingBackslash(directory) + "*.*"))
    if (entry.isDirectory() && entry.name != "." && entry.name != "..") names.push_back(entry.name);
  // Names differing only in case (possible on some file systems) keep a fixed order.
  std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    const int order = platform.compareTextInsensitive(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  return names;
}

}  // namespace

std::vector<DirectoryRow> directoryRows(platform::Platform& platform, const std::string& directory) {
  std::string current = directory;
  while (current.size() > 3 && current.back() == '\\') current.pop_back();
  if (current.empty()) return {};

  std::vector<DirectoryRow> rows;
  std::string path;
  if (startsAtDriveRoot(current)) {
    path = current.substr(0, 3);
    rows.push_back({path, path, FolderGlyph::Open, 0});
    for (const auto& part : components(current.substr(3))) {
      path = withTrailingBackslash(path) + part;
      rows.push_back({part, path, FolderGlyph::Open, static_cast<int>(rows.size())});
    }
  } else {
    // Not on a drive: show the directory on its own.
    path = current;
    rows.push_back({current, current, FolderGlyph::Open, 0});
  }
  rows.back().glyph = FolderGlyph::Current;

  const int childIndent = static_cast<int>(rows.size());
  for (const auto& name : sortedSubdirectories(platform, path))
    rows.push_back({name, withTrailingBackslash(path) + name, FolderGlyph::Closed, childIndent});
  return rows;
}

std::vector<DriveEntry> machineDrives(platform::Platform& platform) {
  std::vector<DriveEntry> drives;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    DriveEntry drive;
    drive.letter = letter;
    drive.type = platform.driveType(drive.root());
    if (drive.type != platform::DriveType::Unknown && drive.type != platform::DriveType::NoRootDir)
      drives.push_back(drive);
  }
  return drives;
}

}  // namespace vorpane::ui
