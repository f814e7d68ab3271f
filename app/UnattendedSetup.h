#pragma once
// An installation or upgrade without questions, as deployment tools start it:
// the directories from the switches or as the pages would propose them, the
// pages' own checks, then the same runs as the wizard. The outcome is an exit
// code, a message and the log's lines.

#include <string>

#include "app/InstallationJournal.h"
#include "app/RunLog.h"
#include "app/RunProgress.h"
#include "app/Switches.h"
#include "platform/Platform.h"

namespace vorpane::app {

class UnattendedSetup {
 public:
  // log may be absent; progress is where the run's progress shows (a page, or
  // nowhere). The payload writers must already write through the platform.
  UnattendedSetup(platform::Platform& platform, RunProgress& progress, RunLog* log)
      : platform_(platform),
        log_(log),
        journal_(platform),
        journaling_(journal_, progress),
        progress_(log, journaling_) {}

  // Never raises: returns the exit code; message() says what went wrong.
  int run(const Switches& switches);
  const std::string& message() const { return message_; }

 private:
  int install(const Switches& switches);
  int upgrade(const Switches& switches);
  int refused(const std::exception& error);
  int failed(const std::exception& error);
  // The directory given on the command line, or else the proposed one, made
  // full (FullDirectory) and logged; raises its refusal.
  std::string chosen(const std::optional<std::string>& given, const char* name, const std::string& proposed,
                     const char* diskLine);
  void write(const std::string& text);

  // Takes back what was made before a refusal or a failure, logging what stays.
  void takeBack();

  platform::Platform& platform_;
  RunLog* log_;
  InstallationJournal journal_;
  JournalingProgress journaling_;
  LoggingProgress progress_;
  std::string message_;
};

}  // namespace vorpane::app
