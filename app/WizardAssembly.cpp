#include "app/WizardAssembly.h"

#include <utility>

#include "app/ErrorDisplay.h"

namespace vorpane::app {

WizardAssembly::WizardAssembly(ui::FormModel& form, platform::Platform& platform, MessageLoop& loop,
                               std::vector<std::string> arguments)
    : wizard_(form, platform, loop, std::move(arguments)) {
  form.setExceptionHandler([&loop](const std::exception& error) { showException(loop, error); });
}

}  // namespace vorpane::app
