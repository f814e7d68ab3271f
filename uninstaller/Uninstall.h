#pragma once
// Removes the installation the uninstaller sits in, exactly what the installer
// put there and on the machine: the client, its data file, the start-menu
// group with its two shortcuts, the desktop shortcut when it starts this
// installation's client, the installed-programs entry when it names this
// directory, and last the uninstaller itself with the directory once empty.
// Anything else in the directory stays and is named at the end. Portable:
// everything goes through the platform.

#include <string>

#include "platform/LogFile.h"
#include "platform/Platform.h"
#include "uninstaller/Switches.h"

namespace vorpane::uninstaller {

// What the person at the machine sees; the Windows program shows boxes.
class Conversation {
 public:
  virtual ~Conversation() = default;
  // A question with Yes and No; true for Yes.
  virtual bool confirm(const std::string& question) = 0;
  virtual void inform(const std::string& message) = 0;
  virtual void warn(const std::string& message) = 0;
};

inline constexpr const char* kClientRunning =
    "Vorpane is running. Please close it and start the uninstaller again.";
inline constexpr const char* kAnotherSetupRunning =
    "Another Vorpane setup program is running. Please let it finish and start the uninstaller again.";

// The whole run of the uninstaller started by a person or a script: the
// checks, the question (none when silent), the removal, the hand-over of its
// own removal to a copy in the temporary folder, the final message (none when
// silent) and the log. Returns the exit code.
int Uninstall(platform::Platform& platform, const Switches& switches, bool sessionLockHeld,
              Conversation& conversation, platform::LogFile* log);

}  // namespace vorpane::uninstaller
