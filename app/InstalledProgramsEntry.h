#pragma once
// The installation's entry in the system's list of installed programs, for all
// users of the machine: what the list shows and how it removes the program.

#include <cstdint>
#include <string>

#include "app/SetupTransaction.h"
#include "platform/Platform.h"

namespace vorpane::app {

// Writes the entry of the installation in installDir (ending in a backslash),
// or brings the one that names it up to this version, as part of the setup.
// Its size is the installation's files as they are on disk, and at least the
// installedBytes that the run wrote. The installation stands without it: a
// failure is logged as a skipped step and not raised.
void RegisterInstallation(SetupTransaction& transaction, const std::string& installDir,
                          std::uint64_t installedBytes);

}  // namespace vorpane::app
