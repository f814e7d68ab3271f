#include "product/Registration.h"

#include <cstdio>

#include "platform/Folders.h"
#include "platform/WindowsPath.h"
#include "product/InstalledFiles.h"
#include "product/Product.h"

namespace vorpane::product {

namespace {

using platform::path::lowerAscii;
using platform::path::withoutTrailingBackslash;
using platform::path::withTrailingBackslash;

platform::RegistryValue text(const char* name, std::string value) { return {name, std::move(value), {}}; }
platform::RegistryValue number(const char* name, std::uint32_t value) { return {name, {}, value}; }

std::string dayText(const platform::LocalDateTime& day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", day.year, day.month, day.day);
  return text;
}

// FNV-1a, 64 bits: short, stable from version to version, and spread well
// enough that two folders of one machine do not meet.
std::uint64_t fnv1a64(const std::string& bytes) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3u;
  }
  return hash;
}

std::optional<std::string> locationOf(platform::Platform& platform, const std::string& key) {
  return platform.readRegistryText(key, "InstallLocation");
}

bool entryNames(platform::Platform& platform, const std::string& key, const std::string& directory) {
  const auto location = locationOf(platform, key);
  return location && platform::sameFolder(platform, *location, directory);
}

bool entryIsThere(platform::Platform& platform, const std::string& key) {
  return platform.readRegistryText(key, "DisplayName") || locationOf(platform, key);
}

// "Vorpane" may be taken when nothing is listed under it, or only a
// directory that no longer holds an installation: the user removed it by hand.
bool sharedKeyIsFree(platform::Platform& platform) {
  if (!entryIsThere(platform, kInstalledProgramsKey)) return true;
  const auto location = locationOf(platform, kInstalledProgramsKey);
  return !location || !HoldsInstallation(platform, withTrailingBackslash(*location));
}

}  // namespace

std::string StartMenuGroup::clientShortcut() const { return folder + "\\" + kClientShortcut; }

std::string StartMenuGroup::uninstallerShortcut() const { return folder + "\\" + kUninstallerShortcut; }

std::vector<platform::ShortcutSpec> StartMenuGroup::shortcutsTo(const std::string& installDir) const {
  return {
      {installDir + kUninstallerFileName, uninstallerShortcut(), kUninstallerShortcutDescription, ""},
      {installDir + kClientFileName, clientShortcut(), kClientShortcutDescription, ""},
  };
}

std::optional<StartMenuGroup> FindStartMenuGroup(platform::Platform& platform) {
  const auto programs = platform.shellFolder(platform::ShellFolder::Programs);
  if (!programs) return std::nullopt;
  return StartMenuGroup{*programs + "\\" + kStartMenuGroup};
}

std::optional<std::string> DesktopShortcutPath(platform::Platform& platform) {
  const auto desktop = platform.shellFolder(platform::ShellFolder::DesktopDirectory);
  if (!desktop) return std::nullopt;
  return *desktop + "\\" + kClientShortcut;
}

platform::ShortcutSpec DesktopShortcut(const std::string& link, const std::string& installDir) {
  return {installDir + kClientFileName, link, kClientShortcutDescription, ""};
}

bool HoldsInstallation(platform::Platform& platform, const std::string& directory) {
  const std::string folder = withTrailingBackslash(directory);
  return platform.fileExists(folder + kClientFileName) || platform.fileExists(folder + kDataFileName);
}

std::optional<std::string> EntryOfInstallation(platform::Platform& platform, const std::string& directory) {
  if (entryNames(platform, kInstalledProgramsKey, directory)) return kInstalledProgramsKey;
  const std::string own = OwnEntryKey(platform, directory);
  if (entryNames(platform, own, directory)) return own;
  if (entryIsThere(platform, kInstalledProgramsKey) && !locationOf(platform, kInstalledProgramsKey) &&
      HoldsInstallation(platform, directory))
    return kInstalledProgramsKey;
  return std::nullopt;
}

std::string EntryKeyFor(platform::Platform& platform, const std::string& directory) {
  if (const auto listed = EntryOfInstallation(platform, directory)) return *listed;
  if (sharedKeyIsFree(platform)) return kInstalledProgramsKey;
  return OwnEntryKey(platform, directory);
}

std::string OwnEntryKey(platform::Platform& platform, const std::string& directory) {
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llX",
                static_cast<unsigned long long>(
                    fnv1a64(lowerAscii(platform::normalizedDirectory(platform, directory)))));
  return std::string(kInstalledProgramsKey) + "-" + digits;
}

std::vector<platform::RegistryValue> InstalledProgramsValues(const std::string& key,
                                                             const std::string& installDir,
                                                             std::uint64_t installedBytes,
                                                             const platform::LocalDateTime& day) {
  const std::string directory = withTrailingBackslash(installDir);
  const std::string location = withoutTrailingBackslash(directory);
  const std::string uninstaller = "\"" + directory + kUninstallerFileName + "\"";
  const bool shared = key == kInstalledProgramsKey;
  return {
      text("DisplayName", shared ? "Vorpane" : "Vorpane (" + location + ")"),
      text("DisplayVersion", kVersion),
      text("Publisher", kPublisher),
      text("InstallLocation", location),
      text("InstallDate", dayText(day)),
      text("UninstallString", uninstaller),
      // The uninstaller's own switch for removing without a question: tools
      // that remove programs quietly would otherwise wait on its question.
      text("QuietUninstallString", uninstaller + " /S"),
      text("DisplayIcon", directory + kClientFileName + ",0"),
      text("URLInfoAbout", kWebHost),
      text("HelpLink", std::string(kWebHost) + kManualPath),
      // The list shows sizes in KiB; a part of one counts as a whole.
      number("EstimatedSize", static_cast<std::uint32_t>((installedBytes + 1023) / 1024)),
      number("NoModify", 1),
      number("NoRepair", 1),
  };
}

std::uint64_t InstalledBytes(platform::Platform& platform, const std::string& installDir) {
  const std::string directory = withTrailingBackslash(installDir);
  std::uint64_t bytes = 0;
  for (const char* name : {kClientFileName, kUninstallerFileName, kDataFileName})
    bytes += platform.fileSize(directory + name).value_or(0);
  return bytes;
}

}  // namespace vorpane::product
