#pragma once
// The shell shortcuts an installation leaves: the start-menu group with the
// client and its uninstaller, and the client on the desktop. Their names,
// places and comments are product/Registration's, which the uninstaller reads
// too.

#include <string>

#include "app/RunProgress.h"
#include "platform/Platform.h"

namespace vorpane::app {

// Writes one shell link. Raises when the shell-link object or its interfaces
// cannot be had; a link that cannot be saved is not reported.
void CreateShortcut(platform::Platform& platform, const std::string& target, const std::string& linkPath,
                    const std::string& description, const std::string& arguments);

// The client's shortcut on the user's desktop, to directory + "Vorpane.Exe",
// noted in the progress. Nothing happens when the shell knows no desktop folder.
void CreateDesktopShortcut(platform::Platform& platform, const std::string& directory, RunProgress& progress);

}  // namespace vorpane::app
