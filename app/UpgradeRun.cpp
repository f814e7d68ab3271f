#include "app/UpgradeRun.h"

#include "app/ProgramExtraction.h"
#include "app/Shortcuts.h"

namespace vorpane::app {

void UpgradeRun::run(const UpgradePlan& plan) {
  BeginRunProgress(progress_);
  ExtractPrograms(platform_, plan.upgradeDir, progress_);
  progress_.processMessages();
  if (plan.desktopShortcut) {
    if (const auto link = CreateDesktopShortcut(platform_, plan.upgradeDir))
      progress_.shortcutCreated(*link, plan.upgradeDir + kClientFileName);
  }
  progress_.setPosition(PositionAtPercent(RunProgressMaximum(), 93));
}

}  // namespace vorpane::app
