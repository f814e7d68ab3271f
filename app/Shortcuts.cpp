#include "app/Shortcuts.h"

#include "product/Registration.h"

namespace vorpane::app {

void CreateShortcut(SetupTransaction& transaction, const platform::ShortcutSpec& shortcut) {
  platform::Platform& platform = transaction.platform();
  transaction.aboutToWrite(shortcut.linkPath);
  platform.createShortcut(shortcut);
  if (platform.fileExists(shortcut.linkPath))
    transaction.shortcutCreated(shortcut.linkPath, shortcut.target);
  else
    transaction.shortcutMissing(shortcut.linkPath);
}

void CreateDesktopShortcut(SetupTransaction& transaction, const std::string& directory) {
  const auto link = product::DesktopShortcutPath(transaction.platform());
  if (!link) return;
  CreateShortcut(transaction, product::DesktopShortcut(*link, directory));
}

}  // namespace vorpane::app
