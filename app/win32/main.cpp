// Install_Vorpane: the program around the wizard. It sets up COM and the
// platform and reads the leading switches. Without them it builds the form's
// model and windows, lets the wizard create the form (which picks the first
// page before anything shows), shows the window centred and runs the message
// loop until the wizard ends it. With /SILENT it shows only the run's progress
// page, with /VERYSILENT no window at all; both end with the run's exit code.

#include <windows.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Installer.h"
#include "app/PageProgress.h"
#include "app/RunLog.h"
#include "app/Switches.h"
#include "app/UnattendedSetup.h"
#include "app/win32/Win32Application.h"
#include "platform/Win32Platform.h"
#include "product/Product.h"
#include "ui/FormDescription.h"
#include "ui/FormModel.h"
#include "ui/Win32View.h"

namespace {

using namespace vorpane;

void showMessage(const std::string& text, UINT icon) {
  MessageBoxA(nullptr, text.c_str(), app::kApplicationTitle, MB_OK | icon);
}

std::string describedArguments(const std::vector<std::string>& arguments) {
  std::string text = "Install_Vorpane " + std::string(product::kVersion) + ", arguments:";
  for (const auto& argument : arguments) text += " [" + argument + "]";
  return text;
}

// The wizard, as a person uses it.
int runWizard(HINSTANCE instance, platform::Platform& platform, const app::Switches& switches,
              app::RunLog* log) {
  ui::FormModel model(ui::installFormDescription());
  app::Win32Application application;
  app::Installer installer(model, platform, application, switches.wizardArguments);
  installer.wizard().setLog(log);

  ui::Win32View view(model, platform, instance);
  view.setFailureHandler(
      [&application](const std::exception& error) { app::showException(application, error); });
  view.create();
  application.setMainWindow(view.window());
  installer.start();
  view.showCentred();
  return application.run();
}

// /SILENT: the run's progress page and nothing else; its failure in a box
// unless the boxes are suppressed.
int runSilently(HINSTANCE instance, platform::Platform& platform, const app::Switches& switches,
                app::RunLog* log) {
  ui::FormModel model(ui::installFormDescription());
  app::Win32Application application;
  app::ConnectPayload(platform);
  ui::Win32View view(model, platform, instance);
  view.create();
  application.setMainWindow(view.window());
  model.setCaption(app::TFrmInstallVorpane::Caption());
  // No wizard is bound to the form: showing the page starts nothing by itself.
  const bool upgrading = switches.upgradeDir.has_value();
  model.setActivePage(upgrading ? "Tab22Upgrading" : "Tab14Installing");
  view.showCentred();
  app::PageProgress page(model, application, upgrading ? "pbUpgrade" : "pbInstall",
                         upgrading ? "lblUpgrade" : "LblInstallComplete");
  app::UnattendedSetup setup(platform, page, log);
  const int code = setup.run(switches);
  if (code != app::exitcode::Done && switches.showsMessages())
    application.showError(app::withClosingPeriod(setup.message()));
  return code;
}

int runInstaller(HINSTANCE instance) {
  app::ComApartment com;
  platform::Win32Platform platform;
  const std::vector<std::string> arguments = app::commandLineArguments();
  const app::Switches switches = app::ParseSwitches(arguments);

  std::unique_ptr<app::RunLog> log;
  if (switches.logFile) {
    try {
      log = std::make_unique<app::RunLog>(platform, *switches.logFile);
    } catch (const std::exception& error) {
      if (switches.showsMessages())
        showMessage("The log " + *switches.logFile + " cannot be written: " + error.what(), MB_ICONERROR);
      return app::exitcode::BadCommandLine;
    }
    log->write(describedArguments(arguments));
  }
  if (!switches.error.empty()) {
    if (log) log->write("Bad command line: " + switches.error + "; exit code 1");
    if (switches.showsMessages())
      showMessage(app::withClosingPeriod(switches.error) + "\r\r" + app::SwitchesHelpText(), MB_ICONERROR);
    return app::exitcode::BadCommandLine;
  }
  if (switches.help) {
    showMessage(app::SwitchesHelpText(), MB_ICONINFORMATION);
    return app::exitcode::Done;
  }
  if (switches.verySilent) {
    app::ConnectPayload(platform);
    app::SilentProgress nowhere;
    return app::UnattendedSetup(platform, nowhere, log.get()).run(switches);
  }
  if (switches.silent) return runSilently(instance, platform, switches, log.get());
  return runWizard(instance, platform, switches, log.get());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    return runInstaller(instance);
  } catch (const std::exception& error) {
    // Only a program that could not even build its window ends up here. The
    // reason also goes to the error stream, where a box may not be seen.
    std::fprintf(stderr, "Install_Vorpane: %s\n", error.what());
    MessageBoxA(nullptr, vorpane::app::withClosingPeriod(error.what()).c_str(),
                vorpane::app::kApplicationTitle, MB_OK | MB_ICONERROR);
    return 1;
  }
}
