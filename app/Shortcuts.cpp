#include "app/Shortcuts.h"

#include "app/ProgramExtraction.h"

namespace vorpane::app {

void CreateShortcut(platform::Platform& platform, const std::string& target, const std::string& linkPath,
                    const std::string& description, const std::string& arguments) {
  platform.createShortcut({target, linkPath, description, arguments});
}

std::optional<std::string> CreateDesktopShortcut(platform::Platform& platform, const std::string& directory) {
  const auto desktop = platform.shellFolder(platform::ShellFolder::DesktopDirectory);
  if (!desktop) return std::nullopt;
  const std::string link = *desktop + "\\" + kClientShortcut;
  CreateShortcut(platform, directory + kClientFileName, link, kClientDescription, "");
  return link;
}

}  // namespace vorpane::app
