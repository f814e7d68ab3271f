#pragma once
// An upgrade in place: both programs rewritten in an installation directory,
// the client's desktop shortcut renewed when asked for, and the entry in the
// list of installed programs brought up to this version. The directory, the
// data file and the start-menu group stay as they are.

#include <string>

#include "app/RunProgress.h"
#include "app/SetupTransaction.h"

namespace vorpane::app {

struct UpgradePlan {
  std::string upgradeDir;  // ends in a backslash
  bool desktopShortcut = true;
};

class UpgradeRun {
 public:
  // Every change goes into the transaction, which the caller ends.
  UpgradeRun(SetupTransaction& transaction, RunProgress& progress)
      : transaction_(transaction), progress_(progress) {}

  // Raises the failure of a program that could not be written or placed, or
  // of the shell-link object; the steps after it do not happen, and the
  // transaction's rollback puts both old programs back.
  void run(const UpgradePlan& plan);

 private:
  SetupTransaction& transaction_;
  RunProgress& progress_;
};

}  // namespace vorpane::app
