#include "app/SetupModes.h"

namespace vorpane::app {

SetupMode ModeOf(const Switches& switches) {
  if (!switches.error.empty()) return SetupMode::BadCommandLine;
  if (switches.help) return SetupMode::Help;
  if (switches.verySilent) return SetupMode::VerySilent;
  if (switches.silent) return SetupMode::Silent;
  return SetupMode::Wizard;
}

bool BuildsWindow(SetupMode mode) { return mode == SetupMode::Silent || mode == SetupMode::Wizard; }

ProgressPage SilentProgressPage(const Switches& switches) {
  if (switches.upgradeDir) return {"Tab22Upgrading", "pbUpgrade", "lblUpgrade"};
  return {"Tab14Installing", "pbInstall", "LblInstallComplete"};
}

}  // namespace vorpane::app
