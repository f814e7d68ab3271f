#pragma once
// The switches that deployment tools and administrators pass to an installer,
// read from the front of the program's arguments. Every argument that begins
// with "/" is one of them, the wizard's own "/autoupdate" or a mistake that
// refuses the whole line: a deployment never falls into the wizard by a typo.
// Plain words are the wizard's, exactly as they always were.

#include <optional>
#include <string>
#include <vector>

#include "product/ExitCodes.h"

namespace vorpane::app {

struct Switches {
  bool silent = false;      // /SILENT: only the progress page shows
  bool verySilent = false;  // /VERYSILENT, /S: no window at all
  bool suppressMessageBoxes = false;
  // A bad line whose unknown switch is one or two letters from /VERYSILENT or
  // /SUPPRESSMSGBOXES asked for silence: its refusal shows no box either.
  bool silenceMisspelled = false;
  bool noShortcut = false;
  bool help = false;
  std::optional<std::string> installDir;  // /DIR=, /D=
  std::optional<std::string> downloadDir;
  std::optional<std::string> cacheDir;
  std::optional<std::string> upgradeDir;
  std::optional<std::string> logFile;
  // What the wizard gets: the arguments from the first one that is no switch
  // on (/autoupdate …).
  std::vector<std::string> wizardArguments;
  // Set when the command line cannot be followed; the text says why.
  std::string error;

  bool unattended() const { return silent || verySilent; }
  // Whether no switch but /LOG= (and those that change nothing) was given, so
  // that what follows is the wizard's own command line.
  bool leavesTheWizardItsLine() const {
    return !unattended() && !help && !noShortcut && !suppressMessageBoxes && !installDir && !downloadDir &&
           !cacheDir && !upgradeDir;
  }
  // Whether messages may be shown in boxes; otherwise they go to the log only.
  bool showsMessages() const { return !verySilent && !suppressMessageBoxes && !silenceMisspelled; }
};

// Reads the switches of the arguments (case-insensitive). "/D=" takes the rest
// of the line, blanks included, as installers have always read it, and
// "/autoupdate" hands the rest to the wizard. /SP-, /NORESTART and /NOCANCEL,
// which deployment tools pass to every installer, are accepted and change
// nothing: nothing here asks before it starts, restarts or can be cancelled.
Switches ParseSwitches(const std::vector<std::string>& arguments);

// What "/?" shows: every switch, one a line, and every exit code.
std::string SwitchesHelpText();

// What the installer says when it refuses to start (exit codes 4 and 5).
inline constexpr const char* kDamagedMessage = "The installer is damaged. Please download it again.";
inline constexpr const char* kAlreadyRunningMessage = "An installation of Vorpane is already running.";

}  // namespace vorpane::app
