#pragma once
// The switches that deployment tools and administrators pass to an installer,
// read from the front of the program's arguments. A command line that starts
// with none of them is the wizard's, exactly as it always was.

#include <optional>
#include <string>
#include <vector>

#include "product/ExitCodes.h"

namespace vorpane::app {

struct Switches {
  bool silent = false;      // /SILENT: only the progress page shows
  bool verySilent = false;  // /VERYSILENT, /S: no window at all
  bool suppressMessageBoxes = false;
  bool noShortcut = false;
  bool help = false;
  std::optional<std::string> installDir;  // /DIR=, /D=
  std::optional<std::string> downloadDir;
  std::optional<std::string> cacheDir;
  std::optional<std::string> upgradeDir;
  std::optional<std::string> logFile;
  // What the wizard gets: the arguments after the switches (/autoupdate …).
  std::vector<std::string> wizardArguments;
  // Set when the command line cannot be followed; the text says why.
  std::string error;

  bool unattended() const { return silent || verySilent; }
  // Whether no switch but /LOG= was given, so that what follows is the
  // wizard's own command line.
  bool leavesTheWizardItsLine() const {
    return !unattended() && !help && !noShortcut && !suppressMessageBoxes && !installDir && !downloadDir &&
           !cacheDir && !upgradeDir;
  }
  // Whether messages may be shown in boxes; otherwise they go to the log only.
  bool showsMessages() const { return !verySilent && !suppressMessageBoxes; }
};

// Reads the leading switches of the arguments (case-insensitive). "/D=" takes
// the rest of the line, blanks included, as installers have always read it.
Switches ParseSwitches(const std::vector<std::string>& arguments);

// What "/?" shows: every switch and every exit code.
std::string SwitchesHelpText();

namespace exitcode = product::exitcode;

// What the installer says when it refuses to start (exit codes 4 and 5).
inline constexpr const char* kDamagedMessage = "The installer is damaged. Please download it again.";
inline constexpr const char* kAlreadyRunningMessage = "An installation of Vorpane is already running.";

}  // namespace vorpane::app
