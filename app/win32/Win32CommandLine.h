#pragma once
// The running program's own command line, as the wizard and the setup modes take it.

#include <string>
#include <vector>

namespace vorpane::app {

// The program's arguments after its name, split by the system's plain rules
// (a backslash before a quote is an ordinary character), in the ANSI code page.
std::vector<std::string> commandLineArguments();

}  // namespace vorpane::app
