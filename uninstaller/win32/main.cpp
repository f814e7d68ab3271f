// Uninstall_Vorpane: the program around the removal. It restricts where
// libraries are loaded from and loads from the system directory those that
// system libraries load later by name, sets up COM (the shortcuts are read
// through the shell) and the platform, reads its switches, takes the setup
// lock the installer takes before it writes anything, opens the log and runs
// the removal, with message boxes for its questions and messages (none with
// /S: whatever fails, a silent run shows no box). Started with the private
// /FINISH= switch it is the copy in the temporary folder that removes the
// uninstaller's own file and directory once that process has ended.

#include <windows.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/LogFile.h"
#include "platform/Platform.h"
#include "platform/Win32ComApartment.h"
#include "platform/Win32Platform.h"
#include "platform/Win32SafeLoading.h"
#include "platform/Win32SessionLock.h"
#include "product/Product.h"
#include "uninstaller/Handover.h"
#include "uninstaller/Switches.h"
#include "uninstaller/Uninstall.h"

namespace {

using namespace vorpane;

constexpr char kTitle[] = "Uninstall Vorpane";

int showBox(const std::string& text, UINT kind) {
  return MessageBoxA(nullptr, text.c_str(), kTitle, kind | MB_SETFOREGROUND);
}

class MessageBoxes final : public uninstaller::Conversation {
 public:
  bool confirm(const std::string& question) override {
    return showBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  }
  void inform(const std::string& message) override { showBox(message, MB_OK | MB_ICONINFORMATION); }
  void warn(const std::string& message) override { showBox(message, MB_OK | MB_ICONWARNING); }
};

// Another setup program holds the lock: the refusal is added to the log,
// which may well be that program's own, without emptying it.
std::unique_ptr<vorpane::platform::LogFile> appendedLog(vorpane::platform::Platform& platform,
                                                        const uninstaller::Switches& switches,
                                                        const std::vector<std::string>& arguments) {
  if (!switches.logFile) return nullptr;
  try {
    auto log = std::make_unique<vorpane::platform::LogFile>(platform, *switches.logFile,
                                                            vorpane::platform::LogStart::Appended);
    log->writeArguments(std::string("Uninstall_Vorpane ") + product::kVersion, arguments);
    return log;
  } catch (const std::exception&) {
    return nullptr;  // the refusal still shows and keeps its exit code
  }
}

int runUninstaller(vorpane::platform::Win32Platform& platform, const std::vector<std::string>& arguments,
                   const uninstaller::Switches& switches, std::unique_ptr<vorpane::platform::LogFile>& log) {
  vorpane::platform::Win32ComApartment com;
  MessageBoxes boxes;
  if (switches.finishAfter && switches.error.empty())
    return uninstaller::FinishRemoval(platform, switches, boxes);

  // Taken before anything is written, the log included, so that a second
  // setup program never empties the log of the one at work.
  const vorpane::platform::Win32SessionLock lock(product::kSetupMutexName);
  if (!lock.held()) {
    log = appendedLog(platform, switches, arguments);
    return uninstaller::Uninstall(platform, switches, false, boxes, log.get());
  }
  if (switches.logFile) {
    try {
      log = std::make_unique<vorpane::platform::LogFile>(platform, *switches.logFile);
    } catch (const std::exception& error) {
      if (!switches.silent)
        boxes.warn("The log " + *switches.logFile + " cannot be written: " + error.what());
      return product::exitcode::BadCommandLine;
    }
    log->writeArguments(std::string("Uninstall_Vorpane ") + product::kVersion, arguments);
  }
  if (!switches.error.empty()) {
    if (log) log->write("Bad command line: " + switches.error + "; exit code 1");
    if (!switches.silent) boxes.warn(switches.error + ".\r\r" + uninstaller::UsageText());
    return product::exitcode::BadCommandLine;
  }
  return uninstaller::Uninstall(platform, switches, true, boxes, log.get());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Its copy runs from the temporary folder, where anyone may have left a
  // library named like one of the system's.
  vorpane::platform::RestrictLibraryLoading();
  const vorpane::platform::PreloadedSystemLibraries preloaded;
  vorpane::platform::Win32Platform platform;
  vorpane::uninstaller::Switches switches;
  std::unique_ptr<vorpane::platform::LogFile> log;  // after the platform: it writes through it to the end
  try {
    const std::vector<std::string> arguments = vorpane::platform::SplitCommandLine(GetCommandLineA());
    switches = vorpane::uninstaller::ParseSwitches(arguments);
    return runUninstaller(platform, arguments, switches, log);
  } catch (const std::exception& error) {
    // Unexpected: in the log with the system's own words, and in a box only
    // when the run is not silent, so that a script never waits on one.
    std::fprintf(stderr, "Uninstall_Vorpane: %s\n", error.what());
    if (log) {
      log->writeFailure("Failed", error);
      log->write(vorpane::product::exitcode::LogLine(vorpane::product::exitcode::RunFailed));
    }
    if (!switches.silent) showBox(error.what(), MB_OK | MB_ICONERROR);
    return vorpane::product::exitcode::RunFailed;
  }
}
