#pragma once
// A program's arguments from its raw command line, split by the system's
// plain rules: blanks separate, double quotes group and are dropped, and a
// backslash is an ordinary character. The client passes its directory as
// "C:\Program Files\Vorpane\" with the backslash before the closing quote;
// the C runtime's rules would take that backslash as escaping the quote.
// Shared by the installer and the uninstaller.

#include <string>
#include <vector>

namespace vorpane::platform {

// The arguments after the program's own name (which may itself be quoted).
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace vorpane::platform
