#pragma once
// The installer's log, and the progress sink that writes a run's steps to it.

#include <memory>
#include <string>

#include "app/RunProgress.h"
#include "platform/LogFile.h"
#include "platform/Platform.h"

namespace vorpane::app {

// The installer's log is the platform's log file (see platform/LogFile.h).
using RunLog = platform::LogFile;

// Passes a run's progress on and writes what the run put in place to the log,
// when there is one.
class LoggingProgress final : public ForwardingProgress {
 public:
  LoggingProgress(RunLog* log, RunProgress& next) : ForwardingProgress(next), log_(log) {}

  void directoryCreated(const std::string& path) override;
  void fileWritten(const std::string& path, std::uint64_t size, bool isNew) override;
  void shortcutCreated(const std::string& linkPath, const std::string& target, bool isNew) override;
  void registryEntryWritten(const std::string& key, bool isNew) override;
  void stepSkipped(const std::string& what, const std::exception& error) override;

 private:
  void write(const std::string& text);

  RunLog* log_;
};

}  // namespace vorpane::app
