#pragma once
// A log of what a program did, for administrators: one time-stamped line per
// step, handed to the system as soon as it is written, so the log is whole up
// to the last step even when a run fails midway. The installer and the
// uninstaller write theirs alike.

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vorpane::platform {

// How a log begins: a fresh one replaces whatever the file held; an appended
// one adds to it, as a setup program refused while another runs adds its
// refusal to that program's log.
enum class LogStart { Fresh, Appended };

class LogFile {
 public:
  // Opens the log file, shared so that another setup program may append to it
  // meanwhile; raises IoError when it cannot.
  LogFile(Platform& platform, const std::string& path, LogStart start = LogStart::Fresh);
  ~LogFile();
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  void write(const std::string& text);
  // The log's first line: which program, and its arguments as it split them.
  void writeArguments(const std::string& program, const std::vector<std::string>& arguments);
  // A failure: the message as shown, and for a file error the system's own words.
  void writeFailure(const std::string& what, const std::exception& error);

 private:
  Platform& platform_;
  std::unique_ptr<OutputFile> file_;
};

}  // namespace vorpane::platform
