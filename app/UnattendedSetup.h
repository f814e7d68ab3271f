#pragma once
// An installation or upgrade without questions, as deployment tools start it:
// the directories from the switches or as the pages would propose them, the
// pages' own checks, then the same runs as the wizard. The outcome is an exit
// code, a message and the log's lines.

#include <string>

#include "app/RunProgress.h"
#include "app/SetupTransaction.h"
#include "app/Switches.h"
#include "platform/LogFile.h"
#include "platform/Platform.h"

namespace vorpane::app {

class UnattendedSetup {
 public:
  // log may be absent; progress is where the run's progress shows (a page, or
  // nowhere).
  UnattendedSetup(platform::Platform& platform, RunProgress& progress, platform::LogFile* log)
      : platform_(platform), transaction_(platform, log), progress_(progress) {}

  // Never raises: returns the exit code; message() says what went wrong.
  int run(const Switches& switches);
  const std::string& message() const { return transaction_.message(); }

 private:
  int install(const Switches& switches);
  int upgrade(const Switches& switches);
  // The directory given on the command line, or else the proposed one, made
  // full (FullDirectory) and logged; raises its refusal.
  void refuseExistingInstallation(const std::string& installDir);
  std::string chosen(const std::optional<std::string>& given, const char* name, const std::string& proposed,
                     const char* diskLine);

  platform::Platform& platform_;
  SetupTransaction transaction_;
  RunProgress& progress_;
};

}  // namespace vorpane::app
