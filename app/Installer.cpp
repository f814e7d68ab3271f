#include "app/Installer.h"

#include <utility>

#include "app/Application.h"
#include "payload/Uninstall_Vorpane_Exe.h"
#include "payload/Vorpane_Exe.h"

namespace vorpane::app {

void ConnectPayload(platform::Platform& platform) {
  payload::Vorpane_Exe::SetPlatform(platform);
  payload::Uninstall_Vorpane_Exe::SetPlatform(platform);
}

Installer::Installer(ui::FormModel& form, platform::Platform& platform, Shell& shell,
                     std::vector<std::string> arguments)
    : wizard_(form, platform, shell, std::move(arguments)) {
  ConnectPayload(platform);
  form.setExceptionHandler([&shell](const std::exception& error) { showException(shell, error); });
}

}  // namespace vorpane::app
