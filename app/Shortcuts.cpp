#include "app/Shortcuts.h"

#include "app/ProgramExtraction.h"

namespace vorpane::app {

void CreateShortcut(platform::Platform& platform, const std::string& target, const std::string& linkPath,
                    const std::string& description, const std::string& arguments) {
  platform.createShortcut({target, linkPath, description, arguments});
}

void CreateDesktopShortcut(platform::Platform& platform, const std::string& directory,
                           RunProgress& progress) {
  const auto desktop = platform.shellFolder(platform::ShellFolder::DesktopDirectory);
  if (!desktop) return;
  const std::string link = *desktop + "\\" + kClientShortcut;
  const std::string target = directory + kClientFileName;
  const bool isNew = !platform.fileExists(link);
  CreateShortcut(platform, target, link, kClientDescription, "");
  progress.shortcutCreated(link, target, isNew);
}

}  // namespace vorpane::app
