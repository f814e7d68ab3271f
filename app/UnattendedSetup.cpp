#include "app/UnattendedSetup.h"

#include <stdexcept>

#include "app/DirectoryChoices.h"
#include "app/InstallRun.h"
#include "app/UpgradeRun.h"
#include "datafile/InitialDataFile.h"
#include "platform/WindowsPath.h"

namespace vorpane::app {

int UnattendedSetup::run(const Switches& switches) {
  const int code = switches.upgradeDir ? upgrade(switches) : install(switches);
  write("Exit code " + std::to_string(code));
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
    RefuseExistingInstallation(platform_, plan.installDir);
    for (const std::string* directory : {&plan.installDir, &plan.downloadDir, &plan.cacheDir})
      if (MakeDirectoryIfMissing(platform_, *directory)) progress_.directoryCreated(*directory);
  } catch (const std::exception& error) {
    return refused(error);
  }
  try {
    InstallRun(platform_, progress_).run(plan);
  } catch (const std::exception& error) {
    return failed(error);
  }
  journal_.commit();
  write("Installed Vorpane in " + plan.installDir);
  return exitcode::Done;
}

int UnattendedSetup::upgrade(const Switches& switches) {
  std::string directory;
  try {
    directory = FullDirectory(platform_, *switches.upgradeDir, kInstallDiskLine);
  } catch (const std::exception& error) {
    return refused(error);
  }
  write("Upgrade directory " + directory + " (from /UPGRADE=)");
  const auto version = datafile::ReadDataFileVersion(platform_, directory + datafile::kDataFileName);
  if (!version || !datafile::IsCompatibleDataFileVersion(*version)) {
    return refused(std::runtime_error("No Vorpane installation that this version can upgrade was found in " +
                                      directory));
  }
  write("Found a data file of version " + std::to_string(*version));
  try {
    UpgradeRun(platform_, progress_).run({directory, !switches.noShortcut});
  } catch (const std::exception& error) {
    return failed(error);
  }
  journal_.commit();
  write("Upgraded Vorpane in " + directory);
  return exitcode::Done;
}

std::string UnattendedSetup::chosen(const std::optional<std::string>& given, const char* name,
                                    const std::string& proposed, const char* diskLine) {
  const std::string directory = FullDirectory(platform_, given ? *given : proposed, diskLine);
  write(std::string(name) + " " + directory + (given ? " (from the command line)" : " (proposed)"));
  return directory;
}

int UnattendedSetup::refused(const std::exception& error) {
  message_ = error.what();
  if (log_ != nullptr) log_->writeFailure("Refused", error);
  takeBack();
  return exitcode::Refused;
}

int UnattendedSetup::failed(const std::exception& error) {
  message_ = error.what();
  if (log_ != nullptr) log_->writeFailure("Failed", error);
  takeBack();
  return exitcode::RunFailed;
}

void UnattendedSetup::takeBack() {
  if (journal_.empty()) return;
  write("Removing what was made");
  for (const auto& path : journal_.rollBack()) write("Could not remove " + path);
}

void UnattendedSetup::write(const std::string& text) {
  if (log_ != nullptr) log_->write(text);
}

}  // namespace vorpane::app
