#pragma once
// An upgrade in place: both programs rewritten in an installation directory,
// the client's desktop shortcut renewed when asked for, and the entry in the
// list of installed programs brought up to this version. The directory, the
// data file and the start-menu group stay as they are.

#include <string>

#include "app/RunProgress.h"
#include "platform/Platform.h"

namespace vorpane::app {

struct UpgradePlan {
  std::string upgradeDir;  // ends in a backslash
  bool desktopShortcut = true;
};

class UpgradeRun {
 public:
  // The payload writers must already write through the same platform.
  UpgradeRun(platform::Platform& platform, RunProgress& progress)
      : platform_(platform), progress_(progress) {}

  // Raises the failure of a program that could not be written (its old file
  // stays) or of the shell-link object; the steps after it do not happen.
  void run(const UpgradePlan& plan);

 private:
  platform::Platform& platform_;
  RunProgress& progress_;
};

}  // namespace vorpane::app
