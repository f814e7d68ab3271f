#pragma once
// The uninstaller's command line: the switches administrators pass to it, and
// the private one with which it hands its own removal to a copy of itself.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorpane::uninstaller {

// The same numbers as the installer's unattended mode has them.
namespace exitcode {
inline constexpr int Done = 0;
inline constexpr int BadCommandLine = 1;
// Nothing was removed: the client is running, the user said No, or there is
// no installation here.
inline constexpr int Refused = 2;
// Something could not be removed; the message and the log list what.
inline constexpr int RemovalFailed = 3;
// Another installer or uninstaller is at work in this session.
inline constexpr int AlreadyRunning = 5;
}  // namespace exitcode

struct Switches {
  bool silent = false;                 // /S, /VERYSILENT: no question and no message
  std::optional<std::string> logFile;  // /LOG="file"
  // The copy that finishes the removal: the process of the uninstaller to
  // wait for, and that uninstaller's file.
  std::optional<std::uint32_t> finishAfter;
  std::string originalProgram;
  // Set when the command line cannot be followed; the text says why.
  std::string error;
};

// Reads the arguments (case-insensitive switches).
Switches ParseSwitches(const std::vector<std::string>& arguments);

// The command line that starts the copy which waits for this process to end
// and then removes the uninstaller's own file and directory.
std::string FinishingCommandLine(const std::string& copy, std::uint32_t processId,
                                 const std::string& originalProgram, bool silent);

// What a bad command line shows, after the reason.
std::string UsageText();

}  // namespace vorpane::uninstaller
