#include "app/InstallRun.h"

#include "app/InstalledProgramsEntry.h"
#include "app/ProgramExtraction.h"
#include "app/Shortcuts.h"
#include "datafile/InitialDataFile.h"
#include "product/Registration.h"

namespace vorpane::app {

void InstallRun::run(const InstallPlan& plan) {
  BeginRunProgress(progress_);
  createInstallDirectory(plan.installDir);
  ExtractPrograms(platform_, plan.installDir, progress_);
  createStartMenuGroup(plan.installDir);
  moveToPercent(92);
  progress_.processMessages();
  if (plan.desktopShortcut) createDesktopShortcut(plan.installDir);
  moveToPercent(93);
  const std::uint64_t dataFileSize = writeDataFile(plan.installDir);
  RegisterInstallation(platform_, plan.installDir, static_cast<std::uint64_t>(ProgramsSize()) + dataFileSize,
                       progress_);
}

// The directory pages made it already; it is made again only if it went
// missing since, and then a failure ends the run with the system's reason.
void InstallRun::createInstallDirectory(const std::string& installDir) {
  if (platform_.directoryExists(installDir)) return;
  platform_.createDirectory(installDir);
  progress_.directoryCreated(installDir);
}

void InstallRun::createStartMenuGroup(const std::string& installDir) {
  const auto group = product::FindStartMenuGroup(platform_);
  if (!group) return;
  try {
    platform_.createDirectory(group->folder);
    progress_.directoryCreated(group->folder);
  } catch (const std::exception&) {
    // Usually there from an earlier installation; if it really is missing,
    // the shortcuts inside it are not saved, which the shell does not report.
  }
  for (const platform::ShortcutSpec& shortcut : group->shortcutsTo(installDir))
    createShortcut(shortcut.target, shortcut.linkPath, shortcut.description.c_str());
}

void InstallRun::createShortcut(const std::string& target, const std::string& link, const char* description) {
  const bool isNew = !platform_.fileExists(link);
  CreateShortcut(platform_, target, link, description, "");
  progress_.shortcutCreated(link, target, isNew);
}

void InstallRun::createDesktopShortcut(const std::string& installDir) {
  CreateDesktopShortcut(platform_, installDir, progress_);
}

void InstallRun::moveToPercent(int percent) {
  progress_.setPosition(PositionAtPercent(RunProgressMaximum(), percent));
}

std::uint64_t InstallRun::writeDataFile(const std::string& installDir) {
  const std::string path = installDir + datafile::kDataFileName;
  const bool isNew = !platform_.fileExists(path);
  const std::uint64_t size = datafile::WriteInitialDataFile(platform_, installDir, [this](int percent) {
    moveToPercent(percent);
    progress_.setPercent(percent);
    progress_.processMessages();
  });
  progress_.fileWritten(path, size, isNew);
  return size;
}

}  // namespace vorpane::app
