#pragma once
// How an installation is made known to the system, in one place for the
// installer that registers it and the uninstaller that takes it back: its
// entry in the machine's list of installed programs (under which key, with
// which values), the start-menu group and the shortcuts in it and on the
// desktop. Several installations may stand side by side, even one inside
// another; each is listed, and each takes back only what is its own.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vorpane::product {

// The comments the shortcuts carry. The uninstaller's has always been spelled
// so; users' start menus show it, so it stays as it is.
inline constexpr const char* kClientShortcutDescription = "Vorpane";
inline constexpr const char* kUninstallerShortcutDescription = "Unistall Vorpane";

// --- the start-menu group and the shortcuts ---------------------------------------

// "<start-menu programs>\Vorpane": one group for every installation of the
// machine, holding the shortcuts of the one installed last.
struct StartMenuGroup {
  std::string folder;  // without a trailing backslash

  std::string clientShortcut() const;
  std::string uninstallerShortcut() const;
  // Both shortcuts to the programs in installDir (ending in a backslash), the
  // uninstaller's first, as the installer makes them.
  std::vector<platform::ShortcutSpec> shortcutsTo(const std::string& installDir) const;
};

// Nothing when the shell knows no start-menu programs folder.
std::optional<StartMenuGroup> FindStartMenuGroup(platform::Platform& platform);

// The client's shortcut on the user's desktop; nothing when the shell knows
// no desktop folder.
std::optional<std::string> DesktopShortcutPath(platform::Platform& platform);
platform::ShortcutSpec DesktopShortcut(const std::string& link, const std::string& installDir);

// --- the entry in the list of installed programs ------------------------------------

// The client or its data file is in the directory.
bool HoldsInstallation(platform::Platform& platform, const std::string& directory);

// The key (below the local machine's root) of the entry whose InstallLocation
// is the installation's directory (platform::sameFolder), or nothing. An entry under
// "Vorpane" without a location, as older installers left it, counts as this
// installation's when there is one in the directory.
std::optional<std::string> EntryOfInstallation(platform::Platform& platform, const std::string& directory);

// The key to list the installation in directory under: the entry that names it
// already; else "Vorpane" when it is free or names a directory that no longer
// holds an installation; else the installation's own key.
std::string EntryKeyFor(platform::Platform& platform, const std::string& directory);

// "...\Uninstall\Vorpane-" and 16 hexadecimal digits: the FNV-1a 64 hash of the
// lower-cased normalised directory (platform::normalizedDirectory), the same
// for the same folder on every run, however it is spelled. Raises IoError
// when the system cannot make the directory full.
std::string OwnEntryKey(platform::Platform& platform, const std::string& directory);

// The entry's values under key for an installation in installDir (ending in a
// backslash) taking installedBytes on disk, installed on the given day. An
// entry of its own shows the directory in its name: "Vorpane (C:\Tools)".
std::vector<platform::RegistryValue> InstalledProgramsValues(const std::string& key,
                                                             const std::string& installDir,
                                                             std::uint64_t installedBytes,
                                                             const platform::LocalDateTime& day);

// The installation's files as they are on disk: client, uninstaller and data file.
std::uint64_t InstalledBytes(platform::Platform& platform, const std::string& installDir);

}  // namespace vorpane::product
