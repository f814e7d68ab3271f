#pragma once
// The product's own endpoints and fixed texts, kept in one place: the form
// shows the support address and the manual link, the wizard opens them, and the
// initial data file stores the service addresses.

namespace vorpane::product {

inline constexpr const char* kVersion = "3.31";
inline constexpr const char* kSupportMail = "support@vorpane.net";
inline constexpr const char* kWebHost = "http://www.vorpane.net";
// The provider's web server, which hosts mirror copies of the settings and the installer.
inline constexpr const char* kProviderHost = "http://home.vorpane-provider.net";
inline constexpr const char* kManualPath = "/pages/manual_installation.htm";

inline constexpr const char* kPublisher = "The Vorpane team";

// Where the machine's list of installed programs keeps the installation: the
// installer writes the entry, the uninstaller removes it.
inline constexpr const char* kInstalledProgramsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vorpane";

// Held by the installer and the uninstaller while they work, so that two of
// them never write over each other: one name for every version and every
// session of the machine, since an older installer or another user's
// uninstaller writes the same files.
inline constexpr const char* kSetupMutexName = "Global\\Vorpane.Setup";

}  // namespace vorpane::product
