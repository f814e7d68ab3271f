#include "app/UpgradeRun.h"

#include "app/InstalledProgramsEntry.h"
#include "app/ProgramExtraction.h"
#include "app/Shortcuts.h"

namespace vorpane::app {

void UpgradeRun::run(const UpgradePlan& plan) {
  BeginRunProgress(progress_);
  ExtractPrograms(transaction_, plan.upgradeDir, progress_);
  progress_.processMessages();
  if (plan.desktopShortcut) CreateDesktopShortcut(transaction_, plan.upgradeDir);
  progress_.setPosition(PositionAtPercent(RunProgressMaximum(), 93));
  // Also an installation that was never listed is listed from now on.
  RegisterInstallation(transaction_, plan.upgradeDir, static_cast<std::uint64_t>(ProgramsSize()));
}

}  // namespace vorpane::app
