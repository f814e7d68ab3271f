#pragma once
// The installer's log: the platform's log file (see platform/LogFile.h). What a
// setup changes reaches it through the setup's transaction.

#include <memory>
#include <string>

#include "platform/LogFile.h"
#include "platform/Platform.h"

namespace vorpane::app {

// Opens the log of /LOG= afresh, first making every folder of its path that is
// not there yet. They stay whatever the setup's outcome, as the log does: it is
// wanted after a failure too. Raises what keeps the log from being written.
std::unique_ptr<platform::LogFile> OpenRunLog(platform::Platform& platform, const std::string& path);

}  // namespace vorpane::app
