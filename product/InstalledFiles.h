#pragma once
// What an installation puts on the machine, by name: the installer makes these
// and the uninstaller removes exactly these, so both read them from here.

namespace vorpane::product {

inline constexpr const char* kClientFileName = "Vorpane.Exe";
inline constexpr const char* kUninstallerFileName = "Uninstall_Vorpane.Exe";
inline constexpr const char* kDataFileName = "Vorpane.Dat";

// In the user's start-menu programs folder and on the desktop.
inline constexpr const char* kStartMenuGroup = "Vorpane";
inline constexpr const char* kClientShortcut = "Vorpane.Lnk";
inline constexpr const char* kUninstallerShortcut = "Uninstall Vorpane.Lnk";

}  // namespace vorpane::product
