#pragma once
// Starting the client: from the finish pages, after an automatic upgrade, and
// when an automatic upgrade is refused before it began. The installer runs
// with administrator rights; the client talks to the network and must not
// inherit them, so an elevated installer starts it through the desktop shell,
// with the desktop user's own rights.

#include <optional>
#include <string>
#include <vector>

#include "app/Switches.h"
#include "platform/LogFile.h"
#include "platform/Platform.h"

namespace vorpane::app {

// The show mode the client has always been started with: maximised.
inline constexpr int kClientShowMode = 3;

// The client's program in the directory (with its trailing backslash), quoted
// so that a path with blanks cannot be read as a shorter program followed by
// arguments, and the arguments after it.
std::string ClientCommandLine(const std::string& directory, const std::string& arguments = "");

// The line that brings the client back after an automatic upgrade of that
// directory: it tells the client which version upgraded it.
std::string ClientRestartCommandLine(const std::string& directory);

// Starts the client with that command line: through the desktop shell when
// this program runs elevated, so that the client gets the desktop user's
// rights; otherwise, or when the shell cannot start it, directly. The log
// says which way it went and why.
void StartClient(platform::Platform& platform, const std::string& commandLine, platform::LogFile* log);

// The installation directory (with its trailing backslash) of the automatic
// upgrade that the client asks for with "/autoupdate <directory>", read from
// the wizard's arguments; nothing when they ask for none.
std::optional<std::string> AutomaticUpgradeDirectory(const std::vector<std::string>& wizardArguments);

// The same for a whole command line: only the wizard's own line, with at most
// /LOG= before it, is the client's request.
std::optional<std::string> AutomaticUpgradeDirectory(const Switches& switches);

// After the installer refused to start with that exit code: the client that
// closed itself for an automatic upgrade is started again, as the wizard
// restarts it when it ends, unless another setup program is at work on it.
void RestartClientAfterRefusal(platform::Platform& platform, const Switches& switches, int exitCode,
                               platform::LogFile* log);

}  // namespace vorpane::app
