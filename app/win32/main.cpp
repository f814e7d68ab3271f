// Install_Vorpane: the program around the setup. Before anything else it
// restricts where libraries are loaded from, starts checking its embedded
// images against the digests recorded by the build, on a thread of its own,
// and meanwhile loads from the system directory the libraries that system
// libraries load later by name. It reads the leading switches, takes the setup lock before it
// writes anything (its log included), opens the log and sets up COM; then the
// mode the switches ask for runs (Win32SetupModes), and nothing shows and
// nothing else is written before the images are known to be intact. The
// program refuses to go on when they are not or the lock is held (an
// automatic upgrade's refusal brings the client back, unless another setup
// program holds the lock).

#include <windows.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "app/ErrorDisplay.h"
#include "app/RunLog.h"
#include "app/Switches.h"
#include "app/win32/StartupImageCheck.h"
#include "app/win32/Win32CommandLine.h"
#include "app/win32/Win32MessageLoop.h"
#include "app/win32/Win32SetupModes.h"
#include "platform/Win32ComApartment.h"
#include "platform/Win32SafeLoading.h"
#include "platform/Win32SessionLock.h"
#include "product/Product.h"

namespace {

using namespace vorpane;
using app::SetupRun;

void writeArguments(SetupRun& run) {
  run.log->writeArguments(std::string("Install_Vorpane ") + product::kVersion, run.arguments);
}

// Another setup program holds the lock: the refusal is added to the log,
// which may well be that program's own, without emptying it.
int refuseWhileAnotherRuns(SetupRun& run) {
  if (run.switches.logFile) {
    try {
      run.log = std::make_unique<platform::LogFile>(run.platform, *run.switches.logFile,
                                                    platform::LogStart::Appended);
      writeArguments(run);
    } catch (const std::exception&) {
      // The refusal still shows and keeps its exit code.
    }
  }
  return app::Refuse(run, app::kAlreadyRunningMessage, product::exitcode::AlreadyRunning);
}

// Opens the log of /LOG=, in folders made for it when missing; the exit code of
// the refusal when it cannot be written.
std::optional<int> openLog(SetupRun& run) {
  if (!run.switches.logFile) return std::nullopt;
  try {
    run.log = app::OpenRunLog(run.platform, *run.switches.logFile);
  } catch (const std::exception& error) {
    return app::EndBeforeStart(run,
                               "The log " + *run.switches.logFile + " cannot be written: " + error.what(),
                               product::exitcode::BadCommandLine);
  }
  writeArguments(run);
  return std::nullopt;
}

// The gate nothing passes before the program's images are known to be intact:
// no window shows and nothing is written until then.
class ImageGate {
 public:
  ImageGate(app::StartupImageCheck& check, SetupRun& run) : check_(check), run_(run) {}

  // The exit code of the refusal when an image is damaged, with the damaged
  // ones logged; nothing when both are intact.
  std::optional<int> refusal() {
    const auto& damaged = check_.damagedImages();
    if (damaged.empty()) return std::nullopt;
    for (const auto& name : damaged)
      run_.writeLog("Damaged: the image of " + name + " differs from the one built");
    return app::Refuse(run_, app::kDamagedMessage, product::exitcode::Damaged);
  }

 private:
  app::StartupImageCheck& check_;
  SetupRun& run_;
};

int runInstaller(HINSTANCE instance, SetupRun& run, app::StartupImageCheck& imageCheck) {
  // Taken before anything is written, the log included, so that a second
  // setup program never empties the log of the one at work. Held until the
  // program ends, however it ends.
  const platform::Win32SessionLock lock(product::kSetupMutexName);
  if (!lock.held()) return refuseWhileAnotherRuns(run);
  if (const auto refused = openLog(run)) return *refused;
  platform::Win32ComApartment com;
  ImageGate gate(imageCheck, run);
  return app::RunSetupMode(instance, run, [&gate] { return gate.refusal(); });
}

// An error that no part of the program expected, such as a system that lacks
// what the program needs: in the log with the system's own words for it, and
// in a box only when boxes may show, so that a deployment never waits on one.
int reportUnexpectedError(SetupRun& run, const std::exception& error) {
  std::fprintf(stderr, "Install_Vorpane: %s\n", error.what());
  if (run.log) {
    run.log->writeFailure("Failed", error);
    run.log->write(product::exitcode::LogLine(product::exitcode::RunFailed));
  }
  if (run.switches.showsMessages())
    MessageBoxA(nullptr, app::withClosingPeriod(error.what()).c_str(), app::kApplicationTitle,
                MB_OK | MB_ICONERROR);
  return product::exitcode::RunFailed;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // First of all: until now only the system has loaded libraries (the imported
  // ones, all of which it takes from its own directory); from here on nothing
  // is loaded from the program's folder or the current one, not even by a
  // system library that loads another by name later.
  vorpane::platform::RestrictLibraryLoading();
  // The check hashes three megabytes, about as long as the window takes to
  // build: started before anything else, it is over before the window is due.
  vorpane::app::StartupImageCheck imageCheck;
  const vorpane::platform::PreloadedSystemLibraries preloaded;
  vorpane::app::SetupRun run;
  try {
    run.arguments = vorpane::app::commandLineArguments();
    run.switches = vorpane::app::ParseSwitches(run.arguments);
    return runInstaller(instance, run, imageCheck);
  } catch (const std::exception& error) {
    return reportUnexpectedError(run, error);
  }
}
