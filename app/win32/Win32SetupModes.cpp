#include "app/win32/Win32SetupModes.h"

#include "app/ClientStart.h"
#include "app/ErrorDisplay.h"
#include "app/PageProgress.h"
#include "app/SetupModes.h"
#include "app/UnattendedSetup.h"
#include "app/WizardAssembly.h"
#include "app/win32/Win32MessageLoop.h"
#include "ui/FormDescription.h"
#include "ui/FormModel.h"
#include "ui/Win32View.h"

namespace vorpane::app {

namespace {

void showMessage(const std::string& text, UINT icon) {
  MessageBoxA(nullptr, text.c_str(), kApplicationTitle, MB_OK | icon);
}

// The wizard, as a person uses it.
int runWizard(HINSTANCE instance, SetupRun& run, const ImageVerdict& verdict) {
  ui::FormModel model(ui::installFormDescription());
  Win32MessageLoop loop;
  WizardAssembly assembly(model, run.platform, loop, run.switches.wizardArguments);
  assembly.wizard().setLog(run.log.get());

  ui::Win32View view(model, run.platform, instance);
  view.setFailureHandler([&loop](const std::exception& error) { showException(loop, error); });
  view.create();
  loop.setMainWindow(view.window());
  assembly.start();
  // The window was built while the images were checked.
  if (const auto refused = verdict()) return *refused;
  view.showCentred();
  return loop.run();
}

// /SILENT: the run's progress page and nothing else; its failure in a box
// unless the boxes are suppressed.
int runSilently(HINSTANCE instance, SetupRun& run, const ImageVerdict& verdict) {
  const Switches& switches = run.switches;
  ui::FormModel model(ui::installFormDescription());
  Win32MessageLoop loop;
  ui::Win32View view(model, run.platform, instance);
  // A page that cannot be drawn does not stop the run; with boxes suppressed
  // only the log tells of it.
  view.setFailureHandler([&run, &loop](const std::exception& error) {
    if (run.log) run.log->writeFailure("The progress page", error);
    if (run.switches.showsMessages()) showException(loop, error);
  });
  view.create();
  loop.setMainWindow(view.window());
  model.setCaption(TFrmInstallVorpane::Caption());
  // No wizard is bound to the form: showing the page starts nothing by itself.
  const ProgressPage page = SilentProgressPage(switches);
  model.setActivePage(page.page);
  if (const auto refused = verdict()) return *refused;
  view.showCentred();
  PageProgress progress(model, loop, page.bar, page.label, PageProgress::Questions::NotAsked);
  UnattendedSetup setup(run.platform, progress, run.log.get());
  const int code = setup.run(switches);
  if (code != product::exitcode::Done && switches.showsMessages())
    loop.showError(withClosingPeriod(setup.message()));
  return code;
}

int runVerySilently(SetupRun& run) {
  SilentProgress nowhere;
  return UnattendedSetup(run.platform, nowhere, run.log.get()).run(run.switches);
}

int refuseBadCommandLine(SetupRun& run) {
  run.writeLog("Bad command line: " + run.switches.error);
  return EndBeforeStart(run, withClosingPeriod(run.switches.error) + "\r\r" + SwitchesHelpText(),
                        product::exitcode::BadCommandLine);
}

int showHelp(SetupRun& run) {
  if (run.switches.showsMessages())
    showMessage(SwitchesHelpText(), MB_ICONINFORMATION);
  else
    run.writeLog(SwitchesHelpText());
  run.writeLog(product::exitcode::LogLine(product::exitcode::Done));
  return product::exitcode::Done;
}

}  // namespace

int EndBeforeStart(SetupRun& run, const std::string& message, int code) {
  if (run.switches.showsMessages()) showMessage(message, MB_ICONERROR);
  RestartClientAfterRefusal(run.platform, run.switches, code, run.log.get());
  run.writeLog(product::exitcode::LogLine(code));
  return code;
}

int Refuse(SetupRun& run, const std::string& message, int code) {
  run.writeLog(message);
  return EndBeforeStart(run, message, code);
}

int RunSetupMode(HINSTANCE instance, SetupRun& run, const ImageVerdict& verdict) {
  const SetupMode mode = ModeOf(run.switches);
  // A window is built while the images are checked; anything else waits here.
  if (!BuildsWindow(mode)) {
    if (const auto refused = verdict()) return *refused;
  }
  switch (mode) {
    case SetupMode::BadCommandLine:
      return refuseBadCommandLine(run);
    case SetupMode::Help:
      return showHelp(run);
    case SetupMode::VerySilent:
      return runVerySilently(run);
    case SetupMode::Silent:
      return runSilently(instance, run, verdict);
    case SetupMode::Wizard:
      break;
  }
  return runWizard(instance, run, verdict);
}

}  // namespace vorpane::app
