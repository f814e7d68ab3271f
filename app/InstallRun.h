#pragma once
// A fresh installation in one pass: the installation directory, both programs,
// the start-menu group with its two shortcuts, the desktop shortcut when asked
// for, and the client's initial data file. Progress goes to a sink, so the
// wizard's page and any other driver can show it in their own way.

#include <string>

#include "app/RunProgress.h"
#include "app/SetupTransaction.h"

namespace vorpane::app {

// What the user chose; directories end in a backslash.
struct InstallPlan {
  std::string installDir;
  std::string downloadDir;
  std::string cacheDir;
  bool desktopShortcut = true;
};

class InstallRun {
 public:
  // Every change goes into the transaction, which the caller ends.
  InstallRun(SetupTransaction& transaction, RunProgress& progress)
      : transaction_(transaction), platform_(transaction.platform()), progress_(progress) {}

  // Raises the failure of any step that must not fail (the directory, the
  // programs, the data file, the shell-link object); the steps after it do
  // not happen.
  void run(const InstallPlan& plan);

 private:
  void createInstallDirectory(const std::string& installDir);
  void createStartMenuGroup(const std::string& installDir);
  void moveToPercent(int percent);
  std::uint64_t writeDataFile(const std::string& installDir);

  SetupTransaction& transaction_;
  platform::Platform& platform_;
  RunProgress& progress_;
};

}  // namespace vorpane::app
