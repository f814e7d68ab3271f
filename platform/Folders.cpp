#include "platform/Folders.h"

#include "platform/WindowsPath.h"

namespace vorpane::platform {

namespace {

// A drive's root keeps its backslash: "C:" alone means that drive's current directory.
std::string withoutBackslashBeyondRoot(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

// The full path of a directory, without its trailing backslash. A name the
// system keeps whole before a backslash ("dir.\") loses its last dot once it is
// the last name, as it is when a file's name follows it; so the path is made
// full once more without the backslash.
std::string fullDirectoryPath(Platform& platform, const std::string& path) {
  const std::string full = platform.fullPath(path);
  const std::string bare = withoutBackslashBeyondRoot(full);
  return bare == full ? full : platform.fullPath(bare);
}

}  // namespace

std::string normalizedDirectory(Platform& platform, const std::string& path) {
  const std::string full = fullDirectoryPath(platform, path);
  // Only a drive's folders are walked up: a share's parent may be a server
  // that takes long to answer, and no part of the setup makes one.
  std::string folder = full;
  std::string below;  // the names under folder, which do not exist yet
  for (;;) {
    if (const auto canonical = platform.canonicalDirectory(folder))
      return path::withTrailingBackslash(path::withTrailingBackslash(*canonical) + below);
    const std::string parent = withoutBackslashBeyondRoot(path::folderOf(folder));
    if (!path::startsAtDriveRoot(folder) || parent == folder || parent.empty()) break;
    below = below.empty() ? path::nameOf(folder) : path::nameOf(folder) + "\\" + below;
    folder = parent;
  }
  return path::withTrailingBackslash(full);
}

bool sameFolder(Platform& platform, const std::string& a, const std::string& b) {
  try {
    return path::sameName(normalizedDirectory(platform, a), normalizedDirectory(platform, b));
  } catch (const IoError&) {
    return false;
  }
}

}  // namespace vorpane::platform
