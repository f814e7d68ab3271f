#pragma once
// The installation's entry in the system's list of installed programs, for all
// users of the machine: what the list shows and how it removes the program.

#include <cstdint>
#include <string>
#include <vector>

#include "app/SetupTransaction.h"
#include "platform/Platform.h"

namespace vorpane::app {

// The entry's values for an installation in installDir (ending in a
// backslash) taking installedBytes on disk, installed on the given day.
std::vector<platform::RegistryValue> InstalledProgramsValues(const std::string& installDir,
                                                             std::uint64_t installedBytes,
                                                             const platform::LocalDateTime& day);

// Writes the entry, or brings an existing one up to this version and
// directory, as part of the setup. The installation stands without it: a
// failure is logged as a skipped step and not raised.
void RegisterInstallation(SetupTransaction& transaction, const std::string& installDir,
                          std::uint64_t installedBytes);

}  // namespace vorpane::app
