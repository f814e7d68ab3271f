#include "app/Shortcuts.h"

#include "product/Registration.h"

namespace vorpane::app {

void CreateShortcut(platform::Platform& platform, const std::string& target, const std::string& linkPath,
                    const std::string& description, const std::string& arguments) {
  platform.createShortcut({target, linkPath, description, arguments});
}

void CreateDesktopShortcut(platform::Platform& platform, const std::string& directory,
                           RunProgress& progress) {
  const auto link = product::DesktopShortcutPath(platform);
  if (!link) return;
  const platform::ShortcutSpec shortcut = product::DesktopShortcut(*link, directory);
  const bool isNew = !platform.fileExists(*link);
  platform.createShortcut(shortcut);
  progress.shortcutCreated(*link, shortcut.target, isNew);
}

}  // namespace vorpane::app
