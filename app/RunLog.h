#pragma once
// The installer's log: the platform's log file (see platform/LogFile.h). What a
// setup changes reaches it through the setup's transaction.

#include "platform/LogFile.h"

namespace vorpane::app {

using RunLog = platform::LogFile;

}  // namespace vorpane::app
