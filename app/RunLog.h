#pragma once
// A log of what the installer did, for administrators: one time-stamped line
// per step, handed to the system as soon as it is written, so the log is whole
// up to the last step even when a run fails midway.

#include <memory>
#include <string>

#include "app/RunProgress.h"
#include "platform/Platform.h"

namespace vorpane::app {

class RunLog {
 public:
  // Creates (or replaces) the log file; raises the platform's IoError when it cannot.
  RunLog(platform::Platform& platform, const std::string& path);
  ~RunLog();
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  void write(const std::string& text);
  // A failure: the message as shown, and for a file error the system's own words.
  void writeFailure(const std::string& what, const std::exception& error);

 private:
  platform::Platform& platform_;
  std::unique_ptr<platform::OutputFile> file_;
};

// Passes a run's progress on (to a page, or nowhere) and writes what the run
// put in place to the log, when there is one.
class LoggingProgress final : public RunProgress {
 public:
  LoggingProgress(RunLog* log, RunProgress* shown) : log_(log), shown_(shown) {}

  void setMaximum(int maximum) override;
  void setPosition(int position) override;
  void setPercent(int percent) override;
  void processMessages() override;
  void directoryCreated(const std::string& path) override;
  void fileWritten(const std::string& path, std::uint64_t size, bool isNew) override;
  void shortcutCreated(const std::string& linkPath, const std::string& target, bool isNew) override;
  void registryEntryWritten(const std::string& key, bool isNew) override;
  void stepSkipped(const std::string& what, const std::exception& error) override;

 private:
  void write(const std::string& text);

  RunLog* log_;
  RunProgress* shown_;
};

}  // namespace vorpane::app
