#include "app/UnattendedSetup.h"

#include <stdexcept>

#include "app/DirectoryChoices.h"
#include "app/InstallRun.h"
#include "app/UpgradeRun.h"
#include "datafile/InitialDataFile.h"
#include "platform/WindowsPath.h"
#include "product/InstalledFiles.h"

namespace vorpane::app {

int UnattendedSetup::run(const Switches& switches) {
  const int code = switches.upgradeDir ? upgrade(switches) : install(switches);
  transaction_.log(product::exitcode::LogLine(code));
  return code;
}

int UnattendedSetup::install(const Switches& switches) {
  InstallPlan plan;
  plan.desktopShortcut = !switches.noShortcut;
  try {
    // Everything is checked before anything is made, so a refusal leaves no trace.
    plan.installDir = chosen(switches.installDir, "Installation directory",
                             InstallDirIn(ProposedInstallFolder(platform_)), kInstallDiskLine);
    plan.downloadDir = chosen(switches.downloadDir, "Download directory",
                              ProposedDownloadFolder(platform_, plan.installDir), kDownloadDiskLine);
    plan.cacheDir =
        chosen(switches.cacheDir, "Cache directory", ProposedCacheDir(plan.downloadDir), kCacheDiskLine);
    RefuseOtherThanHardDisk(platform_, plan.installDir, kInstallDiskLine);
    RefuseOtherThanHardDisk(platform_, plan.downloadDir, kDownloadDiskLine);
    RefuseOtherThanHardDisk(platform_, plan.cacheDir, kCacheDiskLine);
    refuseExistingInstallation(plan.installDir);
    // Every missing level is made and recorded, outermost first, so that a
    // rollback removes the innermost first.
    for (const auto& level : MissingLevels(platform_, {plan.installDir, plan.downloadDir, plan.cacheDir}))
      if (MakeDirectoryIfMissing(platform_, level)) transaction_.directoryCreated(level);
  } catch (const std::exception& error) {
    return transaction_.abandon(SetupOutcome::Refused, error);
  }
  try {
    InstallRun(transaction_, progress_).run(plan);
  } catch (const std::exception& error) {
    return transaction_.abandon(SetupOutcome::Failed, error);
  }
  transaction_.log("Installed Vorpane in " + plan.installDir);
  return transaction_.commit({plan.installDir, plan.downloadDir, plan.cacheDir});
}

int UnattendedSetup::upgrade(const Switches& switches) {
  std::string directory;
  try {
    directory = FullDirectory(platform_, *switches.upgradeDir, kInstallDiskLine);
  } catch (const std::exception& error) {
    return transaction_.abandon(SetupOutcome::Refused, error);
  }
  transaction_.log("Upgrade directory " + directory + " (from /UPGRADE=)");
  const auto version = datafile::ReadDataFileVersion(platform_, directory + product::kDataFileName);
  if (!version || !datafile::IsCompatibleDataFileVersion(*version)) {
    return transaction_.abandon(
        SetupOutcome::Refused,
        std::runtime_error("No Vorpane installation that this version can upgrade was found in " +
                           directory));
  }
  transaction_.log("Found a data file of version " + std::to_string(*version));
  try {
    UpgradeRun(transaction_, progress_).run({directory, !switches.noShortcut});
  } catch (const std::exception& error) {
    return transaction_.abandon(SetupOutcome::Failed, error);
  }
  transaction_.log("Upgraded Vorpane in " + directory);
  return transaction_.commit();
}

// An administrator is told which switch does what they may have meant.
void UnattendedSetup::refuseExistingInstallation(const std::string& installDir) {
  if (!HoldsInstallation(platform_, installDir)) return;
  const std::string quoted = installDir.size() > 3 ? installDir.substr(0, installDir.size() - 1) : installDir;
  throw std::runtime_error(installDir + " already holds an installation of Vorpane; use /UPGRADE=\"" +
                           quoted + "\" to upgrade it");
}

std::string UnattendedSetup::chosen(const std::optional<std::string>& given, const char* name,
                                    const std::string& proposed, const char* diskLine) {
  const std::string directory = FullDirectory(platform_, given ? *given : proposed, diskLine);
  transaction_.log(std::string(name) + " " + directory +
                   (given ? " (from the command line)" : " (proposed)"));
  return directory;
}

}  // namespace vorpane::app
