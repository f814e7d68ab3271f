#include "app/Shortcuts.h"

#include "app/ProgramExtraction.h"

namespace vorpane::app {

void CreateShortcut(SetupTransaction& transaction, const std::string& target, const std::string& linkPath,
                    const std::string& description) {
  platform::Platform& platform = transaction.platform();
  transaction.aboutToWrite(linkPath);
  platform.createShortcut({target, linkPath, description, ""});
  if (platform.fileExists(linkPath))
    transaction.shortcutCreated(linkPath, target);
  else
    transaction.shortcutMissing(linkPath);
}

void CreateDesktopShortcut(SetupTransaction& transaction, const std::string& directory) {
  const auto desktop = transaction.platform().shellFolder(platform::ShellFolder::DesktopDirectory);
  if (!desktop) return;
  CreateShortcut(transaction, directory + kClientFileName, *desktop + "\\" + kClientShortcut,
                 kClientDescription);
}

}  // namespace vorpane::app
