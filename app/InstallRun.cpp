#include "app/InstallRun.h"

#include "app/InstalledProgramsEntry.h"
#include "app/ProgramExtraction.h"
#include "app/Shortcuts.h"
#include "datafile/InitialDataFile.h"
#include "product/InstalledFiles.h"
#include "product/Registration.h"

namespace vorpane::app {

void InstallRun::run(const InstallPlan& plan) {
  BeginRunProgress(progress_);
  createInstallDirectory(plan.installDir);
  ExtractPrograms(transaction_, plan.installDir, progress_);
  createStartMenuGroup(plan.installDir);
  moveToPercent(92);
  progress_.processMessages();
  if (plan.desktopShortcut) CreateDesktopShortcut(transaction_, plan.installDir);
  moveToPercent(93);
  const std::uint64_t dataFileSize = writeDataFile(plan.installDir);
  RegisterInstallation(transaction_, plan.installDir,
                       static_cast<std::uint64_t>(ProgramsSize()) + dataFileSize);
}

// The directory pages made it already; it is made again only if it went
// missing since, and then a failure ends the run with the system's reason.
void InstallRun::createInstallDirectory(const std::string& installDir) {
  if (platform_.directoryExists(installDir)) return;
  platform::NamingFile(installDir, [&] { platform_.createDirectory(installDir); });
  transaction_.directoryCreated(installDir);
}

void InstallRun::createStartMenuGroup(const std::string& installDir) {
  const auto group = product::FindStartMenuGroup(platform_);
  if (!group) return;
  if (!platform_.directoryExists(group->folder)) {
    try {
      platform_.createDirectory(group->folder);
      transaction_.directoryCreated(group->folder);
    } catch (const std::exception&) {
      // The shortcuts inside it are then not saved, which the shortcuts
      // themselves find out and log.
    }
  }
  for (const platform::ShortcutSpec& shortcut : group->shortcutsTo(installDir))
    CreateShortcut(transaction_, shortcut);
}

void InstallRun::moveToPercent(int percent) {
  progress_.setPosition(PositionAtPercent(RunProgressMaximum(), percent));
}

std::uint64_t InstallRun::writeDataFile(const std::string& installDir) {
  const std::string path = installDir + product::kDataFileName;
  transaction_.aboutToWrite(path);
  const std::uint64_t size = platform::NamingFile(path, [&] {
    return datafile::WriteInitialDataFile(platform_, installDir, [this](int percent) {
      moveToPercent(percent);
      progress_.setPercent(percent);
      progress_.processMessages();
    });
  });
  transaction_.fileWritten(path, size);
  return size;
}

}  // namespace vorpane::app
