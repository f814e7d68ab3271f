#include "app/Installer.h"

#include <utility>

#include "app/Application.h"

namespace vorpane::app {

Installer::Installer(ui::FormModel& form, platform::Platform& platform, Shell& shell,
                     std::vector<std::string> arguments)
    : wizard_(form, platform, shell, std::move(arguments)) {
  form.setExceptionHandler([&shell](const std::exception& error) { showException(shell, error); });
}

}  // namespace vorpane::app
