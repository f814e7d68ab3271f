// Install_Vorpane: the program around the wizard. Before anything else it
// restricts where libraries are loaded from, loads from the system directory
// the libraries that system libraries load later by name, and starts checking
// its embedded images against the digests recorded by the build, on a thread
// of its own. It reads the leading switches, takes the setup lock before it
// writes anything (its log included), opens the log and sets up COM; nothing
// shows and nothing else is written before the images are known to be intact,
// and the program refuses to go on when they are not or the lock is held (an
// automatic upgrade's refusal brings the client back, unless another setup
// program holds the lock). Without switches it builds the form's model and windows, lets
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
#include "app/ClientStart.h"
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

// What the program knows of its run from the start, so that even an error no
// part of it expected is reported as the switches ask.
struct Run {
  platform::Win32Platform platform;
  std::vector<std::string> arguments;
  app::Switches switches;
  std::unique_ptr<app::RunLog> log;  // after the platform: it writes through it to the end
};

void showMessage(const std::string& text, UINT icon) {
  MessageBoxA(nullptr, text.c_str(), app::kApplicationTitle, MB_OK | icon);
}

void writeLog(Run& run, const std::string& text) {
  if (run.log) run.log->write(text);
}

// Ends the program before the wizard or a run began: the message in a box
// unless the switches silence boxes, the client of an automatic upgrade
// brought back unless another setup program holds it, and the exit code as
// the log's last line.
int endBeforeStart(Run& run, const std::string& message, int code) {
  if (run.switches.showsMessages()) showMessage(message, MB_ICONERROR);
  app::RestartClientAfterRefusal(run.platform, run.switches, code, run.log.get());
  writeLog(run, "Exit code " + std::to_string(code));
  return code;
}

// Refuses to go on, saying why, before anything has been done.
int refuse(Run& run, const std::string& message, int code) {
  writeLog(run, message);
  return endBeforeStart(run, message, code);
}

void writeArguments(Run& run) {
  run.log->writeArguments(std::string("Install_Vorpane ") + product::kVersion, run.arguments);
}

// Another setup program holds the lock: the refusal is added to the log,
// which may well be that program's own, without emptying it.
int refuseWhileAnotherRuns(Run& run) {
  if (run.switches.logFile) {
    try {
      run.log =
          std::make_unique<app::RunLog>(run.platform, *run.switches.logFile, platform::LogStart::Appended);
      writeArguments(run);
    } catch (const std::exception&) {
      // The refusal still shows and keeps its exit code.
    }
  }
  return refuse(run, app::kAlreadyRunningMessage, app::exitcode::AlreadyRunning);
}

// Opens the log of /LOG=; the exit code of the refusal when it cannot be written.
std::optional<int> openLog(Run& run) {
  if (!run.switches.logFile) return std::nullopt;
  try {
    run.log = std::make_unique<app::RunLog>(run.platform, *run.switches.logFile);
  } catch (const std::exception& error) {
    return endBeforeStart(run, "The log " + *run.switches.logFile + " cannot be written: " + error.what(),
                          app::exitcode::BadCommandLine);
  }
  writeArguments(run);
  return std::nullopt;
}

// The gate nothing passes before the program's images are known to be intact:
// no window shows and nothing is written until then.
class ImageGate {
 public:
  ImageGate(app::StartupImageCheck& check, Run& run) : check_(check), run_(run) {}

  // The exit code of the refusal when an image is damaged, with the damaged
  // ones logged; nothing when both are intact.
  std::optional<int> refusal() {
    const auto& damaged = check_.damagedImages();
    if (damaged.empty()) return std::nullopt;
    for (const auto& name : damaged)
      writeLog(run_, "Damaged: the image of " + name + " differs from the one built");
    return refuse(run_, app::kDamagedMessage, app::exitcode::Damaged);
  }

 private:
  app::StartupImageCheck& check_;
  Run& run_;
};

// The wizard, as a person uses it.
int runWizard(HINSTANCE instance, Run& run, ImageGate& gate) {
  ui::FormModel model(ui::installFormDescription());
  app::Win32Application application;
  app::Installer installer(model, run.platform, application, run.switches.wizardArguments);
  installer.wizard().setLog(run.log.get());

  ui::Win32View view(model, run.platform, instance);
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
int runSilently(HINSTANCE instance, Run& run, ImageGate& gate) {
  const app::Switches& switches = run.switches;
  ui::FormModel model(ui::installFormDescription());
  app::Win32Application application;
  app::ConnectPayload(run.platform);
  ui::Win32View view(model, run.platform, instance);
  // A page that cannot be drawn does not stop the run; with boxes suppressed
  // only the log tells of it.
  view.setFailureHandler([&run, &application](const std::exception& error) {
    if (run.log) run.log->writeFailure("The progress page", error);
    if (run.switches.showsMessages()) app::showException(application, error);
  });
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
  app::UnattendedSetup setup(run.platform, page, run.log.get());
  const int code = setup.run(switches);
  if (code != app::exitcode::Done && switches.showsMessages())
    application.showError(app::withClosingPeriod(setup.message()));
  return code;
}

int runInstaller(HINSTANCE instance, Run& run) {
  app::StartupImageCheck imageCheck;  // first: it runs while the rest starts
  const app::Switches& switches = run.switches;
  // Taken before anything is written, the log included, so that a second
  // setup program never empties the log of the one at work. Held until the
  // program ends, however it ends.
  const platform::Win32SessionLock lock(product::kSetupMutexName);
  if (!lock.held()) return refuseWhileAnotherRuns(run);
  if (const auto refused = openLog(run)) return *refused;
  platform::Win32ComApartment com;
  ImageGate gate(imageCheck, run);
  // A window is built while the images are checked; anything else waits here.
  const bool buildsWindow = switches.error.empty() && !switches.help && !switches.verySilent;
  if (!buildsWindow) {
    if (const auto refused = gate.refusal()) return *refused;
  }
  if (!switches.error.empty()) {
    writeLog(run, "Bad command line: " + switches.error);
    return endBeforeStart(run, app::withClosingPeriod(switches.error) + "\r\r" + app::SwitchesHelpText(),
                          app::exitcode::BadCommandLine);
  }
  if (switches.help) {
    if (switches.showsMessages())
      showMessage(app::SwitchesHelpText(), MB_ICONINFORMATION);
    else
      writeLog(run, app::SwitchesHelpText());
    return app::exitcode::Done;
  }
  if (switches.verySilent) {
    app::ConnectPayload(run.platform);
    app::SilentProgress nowhere;
    return app::UnattendedSetup(run.platform, nowhere, run.log.get()).run(switches);
  }
  if (switches.silent) return runSilently(instance, run, gate);
  return runWizard(instance, run, gate);
}

// An error that no part of the program expected, such as a system that lacks
// what the program needs: in the log with the system's own words for it, and
// in a box only when boxes may show, so that a deployment never waits on one.
int reportUnexpectedError(Run& run, const std::exception& error) {
  std::fprintf(stderr, "Install_Vorpane: %s\n", error.what());
  if (run.log) {
    run.log->writeFailure("Failed", error);
    run.log->write("Exit code " + std::to_string(app::exitcode::RunFailed));
  }
  if (run.switches.showsMessages()) showMessage(app::withClosingPeriod(error.what()), MB_ICONERROR);
  return app::exitcode::RunFailed;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // First of all: until now only the system has loaded libraries (the imported
  // ones, all of which it takes from its own directory); from here on nothing
  // is loaded from the program's folder or the current one, not even by a
  // system library that loads another by name later.
  vorpane::platform::RestrictLibraryLoading();
  const vorpane::platform::PreloadedSystemLibraries preloaded;
  Run run;
  try {
    run.arguments = vorpane::app::commandLineArguments();
    run.switches = vorpane::app::ParseSwitches(run.arguments);
    return runInstaller(instance, run);
  } catch (const std::exception& error) {
    return reportUnexpectedError(run, error);
  }
}
