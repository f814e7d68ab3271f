#pragma once
// A running program cannot remove its own file, so the uninstaller hands that
// to a copy of itself. The uninstaller runs with administrator rights, and so
// does the copy: whoever could put a program of their own in the copy's place
// would have it run with those rights. The copy is therefore staged in a new
// folder with a name nobody can guess (only administrators may change it when
// the uninstaller is elevated), written anew, read back and held against every
// change until it has started. The copy acts only from such a folder and only
// with the key the uninstaller wrote there, so its switch does nothing when
// someone starts it by hand.

#include <string>

#include "platform/Platform.h"
#include "uninstaller/Switches.h"

namespace vorpane::uninstaller {

class Conversation;

// The staging folders' names under the temporary folder: the prefix and 32
// hexadecimal digits.
inline constexpr const char* kStagingPrefix = "Vorpane-Uninstall-";
// The file in the staging folder that holds the key the copy must be given.
inline constexpr const char* kHandoverKeyFile = "Handover.key";

// A copy started to remove the uninstaller: its staging folder and the
// command line it was started with.
struct Handover {
  std::string folder;
  std::string command;
};

// Stages a copy of the uninstaller (program) and starts it, to remove the
// uninstaller once this process has ended. Raises std::runtime_error saying
// what failed, with nothing left staged.
Handover HandOverOwnRemoval(platform::Platform& platform, const std::string& program, bool silent);

// Calls off a started hand-over, for an uninstaller that must stay to be run
// again: its key goes, and the copy, which reads the key again once the
// uninstaller has ended, removes nothing. false when the key cannot be removed.
bool CallOffHandover(platform::Platform& platform, const Handover& handover);

// The copy's part: when it runs from a staging folder that holds its key, it
// waits for the uninstaller's process to end and, when the key is still there,
// removes that uninstaller's file and then its directory when empty; either
// way it has the system remove the copy and its folder at the next start.
// Returns the exit code.
int FinishRemoval(platform::Platform& platform, const Switches& switches, Conversation& conversation);

}  // namespace vorpane::uninstaller
