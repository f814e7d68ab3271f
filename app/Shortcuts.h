#pragma once
// The shell shortcuts an installation leaves: the start-menu group with the
// client and its uninstaller, and the client on the desktop. Their names and
// comments are the registration's (product/Registration.h).

#include <string>

#include "app/SetupTransaction.h"

namespace vorpane::app {

// Writes one shell link as part of the setup: a shortcut of that name that was
// there is kept aside first. Raises when the shell-link object or its
// interfaces cannot be had. The shell does not report a link it could not
// save, so the file is looked for afterwards: a missing one is logged as
// skipped and not recorded.
void CreateShortcut(SetupTransaction& transaction, const platform::ShortcutSpec& shortcut);

// The client's shortcut on the user's desktop, to directory + "Vorpane.Exe".
// Nothing happens when the shell knows no desktop folder.
void CreateDesktopShortcut(SetupTransaction& transaction, const std::string& directory);

}  // namespace vorpane::app
