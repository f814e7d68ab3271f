#include "app/win32/Win32CommandLine.h"

#include <windows.h>

#include "platform/CommandLine.h"

namespace vorpane::app {

std::vector<std::string> commandLineArguments() { return platform::SplitCommandLine(GetCommandLineA()); }

}  // namespace vorpane::app
