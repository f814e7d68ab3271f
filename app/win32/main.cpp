// Install_Vorpane: the program around the wizard. Before anything else it
// restricts where libraries are loaded from and starts checking its embedded
// images against the digests recorded by the build, on a thread of its own. It
// reads the leading switches, takes the session's setup lock and sets up COM;
// nothing shows and nothing is written before the images are known to be
// intact, and the program refuses to go on when they are not or the lock is
// held. Without switches it builds the form's model and windows, lets
// the wizard create the form (which picks the first page before anything
// shows), shows the window centred and runs the message loop until the wizard
// ends it. With /SILENT it shows only the run's progress page, with /VERYSILENT
// no window at all; both end with the run's exit code.

#include <windows.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Installer.h"
#include "app/PageProgress.h"
#include "app/RunLog.h"
#include "app/Switches.h"
#include "app/UnattendedSetup.h"
#include "app/win32/StartupImageCheck.h"
#include "app/win32/Win32Application.h"
#include "platform/Win32ComApartment.h"
#include "platform/Win32Platform.h"
#include "platform/Win32SafeLoading.h"
#include "platform/Win32SessionLock.h"
#include "product/Product.h"
#include "ui/FormDescription.h"
#include "ui/FormModel.h"
#include "ui/Win32View.h"

namespace {

using namespace vorpane;

void showMessage(const std::string& text, UINT icon) {
  MessageBoxA(nullptr, text.c_str(), app::kApplicationTitle, MB_OK | icon);
}

// Ends the program before anything has been done, saying why: in a box unless
// the switches silence boxes, and in the log.
int refuse(const app::Switches& switches, app::RunLog* log, const std::string& message, int code) {
  if (log) {
    log->write(message);
    log->write("Exit code " + std::to_string(code));
  }
  if (switches.showsMessages()) showMessage(message, MB_ICONERROR);
  return code;
}

// The gate nothing passes before the program's images are known to be intact:
// no window shows and nothing is written until then.
class ImageGate {
 public:
  ImageGate(app::StartupImageCheck& check, const app::Switches& switches, app::RunLog* log)
      : check_(check), switches_(switches), log_(log) {}

  // The exit code of the refusal when an image is damaged, with the damaged
  // ones logged; nothing when both are intact.
  std::optional<int> refusal() {
    const auto& damaged = check_.damagedImages();
    if (damaged.empty()) return std::nullopt;
    if (log_)
      for (const auto& name : damaged)
        log_->write("Damaged: the image of " + name + " differs from the one built");
    return refuse(switches_, log_, app::kDamagedMessage, app::exitcode::Damaged);
  }

 private:
  app::StartupImageCheck& check_;
  const app::Switches& switches_;
  app::RunLog* log_;
};

// The wizard, as a person uses it.
int runWizard(HINSTANCE instance, platform::Platform& platform, const app::Switches& switches,
              app::RunLog* log, ImageGate& gate) {
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
  // The window was built while the images were checked.
  if (const auto refused = gate.refusal()) return *refused;
  view.showCentred();
  return application.run();
}

// /SILENT: the run's progress page and nothing else; its failure in a box
// unless the boxes are suppressed.
int runSilently(HINSTANCE instance, platform::Platform& platform, const app::Switches& switches,
                app::RunLog* log, ImageGate& gate) {
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
  if (const auto refused = gate.refusal()) return *refused;
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
  app::StartupImageCheck imageCheck;  // first: it runs while the rest starts
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
    log->writeArguments(std::string("Install_Vorpane ") + product::kVersion, arguments);
  }
  // Held until the program ends, however it ends.
  const platform::Win32SessionLock lock(product::kSetupMutexName);
  if (!lock.held())
    return refuse(switches, log.get(), app::kAlreadyRunningMessage, app::exitcode::AlreadyRunning);
  platform::Win32ComApartment com;
  ImageGate gate(imageCheck, switches, log.get());
  // A window is built while the images are checked; anything else waits here.
  const bool buildsWindow = switches.error.empty() && !switches.help && !switches.verySilent;
  if (!buildsWindow) {
    if (const auto refused = gate.refusal()) return *refused;
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
  if (switches.silent) return runSilently(instance, platform, switches, log.get(), gate);
  return runWizard(instance, platform, switches, log.get(), gate);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // First of all: until now only the system has loaded libraries (the imported
  // ones, all of which it takes from its own directory); from here on nothing
  // is loaded from the program's folder or the current one.
  vorpane::platform::RestrictLibraryLoading();
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
