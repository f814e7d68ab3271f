#pragma once
// The shell shortcuts an installation leaves: the start-menu group with the
// client and its uninstaller, and the client on the desktop.

#include <string>

#include "app/SetupTransaction.h"
#include "product/InstalledFiles.h"

namespace vorpane::app {

using product::kClientShortcut;
using product::kStartMenuGroup;
using product::kUninstallerShortcut;
inline constexpr const char* kClientDescription = "Vorpane";
// The uninstaller's shortcut has always carried this comment; users' start
// menus show it, so it stays as it is.
inline constexpr const char* kUninstallerDescription = "Unistall Vorpane";

// Writes one shell link as part of the setup: a shortcut of that name that was
// there is kept aside first. Raises when the shell-link object or its
// interfaces cannot be had. The shell does not report a link it could not
// save, so the file is looked for afterwards: a missing one is logged as
// skipped and not recorded.
void CreateShortcut(SetupTransaction& transaction, const std::string& target, const std::string& linkPath,
                    const std::string& description);

// The client's shortcut on the user's desktop, to directory + "Vorpane.Exe".
// Nothing happens when the shell knows no desktop folder.
void CreateDesktopShortcut(SetupTransaction& transaction, const std::string& directory);

}  // namespace vorpane::app
