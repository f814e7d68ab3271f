#pragma once
// The uninstaller's command line: the switches administrators pass to it, and
// the private one with which it hands its own removal to a copy of itself.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "product/ExitCodes.h"

namespace vorpane::uninstaller {

// The uninstaller ends with the installer's exit codes (product::exitcode): 2
// when nothing was removed (the client is running, the user said No, or there
// is no installation here), 3 when something could not be removed (the
// message and the log list what).
struct Switches {
  bool silent = false;                 // /S, /VERYSILENT: no question and no message
  std::optional<std::string> logFile;  // /LOG="file"
  // The copy that finishes the removal: the process of the uninstaller to
  // wait for, the key that uninstaller left beside the copy, and its file.
  std::optional<std::uint32_t> finishAfter;
  std::string handoverKey;
  std::string originalProgram;
  // Set when the command line cannot be followed; the text says why.
  std::string error;
};

// Reads the arguments (case-insensitive switches).
Switches ParseSwitches(const std::vector<std::string>& arguments);

// The command line that starts the copy which waits for this process to end
// and then removes the uninstaller's own file and directory:
// "<copy>" [/S] /FINISH=<process id>:<key> "<uninstaller>".
std::string FinishingCommandLine(const std::string& copy, std::uint32_t processId, const std::string& key,
                                 const std::string& originalProgram, bool silent);

// What a bad command line shows, after the reason.
std::string UsageText();

}  // namespace vorpane::uninstaller
