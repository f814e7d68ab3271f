#include "app/DirectoryChoices.h"

#include <stdexcept>

#include "platform/Folders.h"
#include "platform/WindowsPath.h"
#include "product/InstalledFiles.h"

namespace vorpane::app {

using platform::DriveType;
using platform::path::driveRootOf;
using platform::path::startsAtDriveRoot;
using platform::path::withoutTrailingBackslash;
using platform::path::withTrailingBackslash;

std::string ProposedInstallFolder(platform::Platform& platform) {
  const auto programFiles = platform.shellFolder(platform::ShellFolder::ProgramFiles);
  return programFiles ? *programFiles : "C:\\Vorpane";
}

std::string InstallDirIn(const std::string& folder) {
  std::string path = withTrailingBackslash(folder);
  if (platform::path::lowerAscii(path).find("vorpane") == std::string::npos) path += "Vorpane\\";
  return path;
}

std::string ProposedDownloadFolder(platform::Platform& platform, const std::string& installDir) {
  // C is looked at last so that it wins over D and E.
  std::string proposed = driveRootOf(installDir) + "Downloads";
  for (const char letter : {'E', 'D', 'C'}) {
    const std::string root = std::string(1, letter) + ":\\";
    if (platform.driveType(root) == DriveType::Fixed && platform.directoryExists(root + "Downloads"))
      proposed = root + "Downloads";
  }
  return proposed;
}

std::string ProposedCacheDir(const std::string& downloadDir) {
  return driveRootOf(downloadDir) + "Vorpane_Cache\\";
}

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::runtime_error couldNotCreate(const std::string& directory) {
  return std::runtime_error("Could not create directory " + directory);
}

std::runtime_error notAHardDisk(const std::string& directory, const char* diskLine) {
  return std::runtime_error(std::string(1, directory.empty() ? '?' : directory[0]) + ": is not a harddisk\r" +
                            diskLine);
}

}  // namespace

std::string FullDirectory(platform::Platform& platform, const std::string& text, const char* diskLine) {
  const std::string typed(platform::path::trimmed(text));
  // An empty entry names no disk: it is refused as the lone backslash the
  // pages have always made of it.
  if (typed.empty()) throw notAHardDisk("\\", diskLine);
  // "\\server\share", "\\?\..." and "\\.\..." all start with two separators.
  if (typed.size() >= 2 && isSeparator(typed[0]) && isSeparator(typed[1]))
    throw notAHardDisk(typed, diskLine);
  if (!platform::path::hasDriveLetter(typed) || typed.size() < 3 || !isSeparator(typed[2]))
    throw std::runtime_error(typed + " is not a full path");
  return platform::normalizedDirectory(platform, typed);
}

bool AcceptDirectory(platform::Platform& platform, const std::string& directory, const char* diskLine) {
  RefuseOtherThanHardDisk(platform, directory, diskLine);
  return MakeDirectoryIfMissing(platform, directory);
}

void RefuseOtherThanHardDisk(platform::Platform& platform, const std::string& directory,
                             const char* diskLine) {
  if (!startsAtDriveRoot(directory) || platform.driveType(driveRootOf(directory)) != DriveType::Fixed)
    throw notAHardDisk(directory, diskLine);
}

bool MakeDirectoryIfMissing(platform::Platform& platform, const std::string& directory) {
  if (platform.directoryExists(directory)) return false;
  try {
    platform.createDirectory(directory);
  } catch (const std::exception&) {
    // Whether the directory is there now is what counts; it is tested next.
  }
  if (!platform.directoryExists(directory)) throw couldNotCreate(directory);
  return true;
}

bool HoldsInstallation(platform::Platform& platform, const std::string& directory) {
  return platform.fileExists(directory + product::kDataFileName);
}

std::vector<std::string> MissingLevels(platform::Platform& platform,
                                       const std::vector<std::string>& directories) {
  std::vector<std::string> missing;
  for (const std::string& directory : directories) {
    std::vector<std::string> levels;  // innermost first
    for (std::string level = withTrailingBackslash(directory);
         startsAtDriveRoot(level) && level != driveRootOf(level) && !platform.directoryExists(level);
         level = platform::path::folderOf(withoutTrailingBackslash(level))) {
      if (platform.fileExists(withoutTrailingBackslash(level))) throw couldNotCreate(level);
      levels.push_back(level);
    }
    // A level two directories share is listed twice; made once, it is there the second time.
    missing.insert(missing.end(), levels.rbegin(), levels.rend());
  }
  return missing;
}

void RefuseExistingInstallation(platform::Platform& platform, const std::string& installDir) {
  if (HoldsInstallation(platform, installDir))
    throw std::runtime_error(
        "Cannot install Vorpane in " + installDir +
        "\rbecause it already exists there. You can:\r- Delete it or uninstall it first, "
        "\r- Go back and choose upgrade instead of install.");
}

}  // namespace vorpane::app
