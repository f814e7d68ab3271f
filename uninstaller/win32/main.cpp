// Uninstall_Vorpane: the program around the removal. It sets up COM (the
// shortcuts are read through the shell) and the platform, reads its switches,
// opens the log, takes the session lock the installer takes and runs the
// removal, with message boxes for its questions and messages. Started with the
// private /FINISH= switch it is the copy in the temporary folder that removes
// the uninstaller's own file and directory once that process has ended.

#include <windows.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/LogFile.h"
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

int runUninstaller() {
  platform::Win32ComApartment com;
  platform::Win32Platform platform;
  MessageBoxes boxes;
  const std::vector<std::string> arguments = platform::SplitCommandLine(GetCommandLineA());
  const uninstaller::Switches switches = uninstaller::ParseSwitches(arguments);
  if (switches.finishAfter && switches.error.empty())
    return uninstaller::FinishRemoval(platform, switches, boxes);

  std::unique_ptr<platform::LogFile> log;
  if (switches.logFile) {
    try {
      log = std::make_unique<platform::LogFile>(platform, *switches.logFile);
    } catch (const std::exception& error) {
      if (!switches.silent)
        boxes.warn("The log " + *switches.logFile + " cannot be written: " + error.what());
      return uninstaller::exitcode::BadCommandLine;
    }
    log->writeArguments(std::string("Uninstall_Vorpane ") + product::kVersion, arguments);
  }
  if (!switches.error.empty()) {
    if (log) log->write("Bad command line: " + switches.error + "; exit code 1");
    if (!switches.silent) boxes.warn(switches.error + ".\r\r" + uninstaller::UsageText());
    return uninstaller::exitcode::BadCommandLine;
  }
  const platform::Win32SessionLock lock(product::kSetupMutexName);
  return uninstaller::Uninstall(platform, switches, lock.held(), boxes, log.get());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Its copy runs from the temporary folder, where anyone may have left a
  // library named like one of the system's.
  vorpane::platform::RestrictLibraryLoading();
  try {
    return runUninstaller();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "Uninstall_Vorpane: %s\n", error.what());
    showBox(error.what(), MB_OK | MB_ICONERROR);
    return vorpane::uninstaller::exitcode::RunFailed;
  }
}
