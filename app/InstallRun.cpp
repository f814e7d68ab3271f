#include "app/InstallRun.h"

#include "app/ProgramExtraction.h"
#include "app/Shortcuts.h"
#include "datafile/InitialDataFile.h"

namespace vorpane::app {

void InstallRun::run(const InstallPlan& plan) {
  BeginRunProgress(progress_);
  createInstallDirectory(plan.installDir);
  ExtractPrograms(platform_, plan.installDir, progress_);
  createStartMenuGroup(plan.installDir);
  moveToPercent(92);
  progress_.processMessages();
  if (plan.desktopShortcut) CreateDesktopShortcut(platform_, plan.installDir);
  moveToPercent(93);
  writeDataFile(plan.installDir);
}

// The directory pages made it already; it is made again only if it went
// missing since, and then a failure ends the run with the system's reason.
void InstallRun::createInstallDirectory(const std::string& installDir) {
  if (!platform_.directoryExists(installDir)) platform_.createDirectory(installDir);
}

void InstallRun::createStartMenuGroup(const std::string& installDir) {
  const auto programs = platform_.shellFolder(platform::ShellFolder::Programs);
  if (!programs) return;
  const std::string group = *programs + "\\" + kStartMenuGroup;
  try {
    platform_.createDirectory(group);
  } catch (const std::exception&) {
    // Usually there from an earlier installation; if it really is missing,
    // the shortcuts inside it are not saved, which the shell does not report.
  }
  CreateShortcut(platform_, installDir + kUninstallerFileName, group + "\\" + kUninstallerShortcut,
                 kUninstallerDescription, "");
  CreateShortcut(platform_, installDir + kClientFileName, group + "\\" + kClientShortcut, kClientDescription,
                 "");
}

void InstallRun::moveToPercent(int percent) {
  progress_.setPosition(PositionAtPercent(RunProgressMaximum(), percent));
}

void InstallRun::writeDataFile(const std::string& installDir) {
  datafile::WriteInitialDataFile(platform_, installDir, [this](int percent) {
    moveToPercent(percent);
    progress_.setPercent(percent);
    progress_.processMessages();
  });
}

}  // namespace vorpane::app
