// Rights, the desktop user and shared logs: placeholders until the desktop start lands.
#include <windows.h>

#include "platform/Win32Platform.h"

namespace vorpane::platform {

bool Win32Platform::runsElevated() { return false; }

bool Win32Platform::startProcessAsDesktopUser(const std::string&, int) { return false; }

std::unique_ptr<OutputFile> Win32Platform::appendFile(const std::string& path) { return createFile(path); }

}  // namespace vorpane::platform
