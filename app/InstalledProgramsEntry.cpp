#include "app/InstalledProgramsEntry.h"

#include <algorithm>

#include "product/Registration.h"

namespace vorpane::app {

void RegisterInstallation(platform::Platform& platform, const std::string& installDir,
                          std::uint64_t installedBytes, RunProgress& progress) {
  try {
    const std::string key = product::EntryKeyFor(platform, installDir);
    const bool isNew = !platform.readRegistryText(key, "DisplayName").has_value();
    // An upgrade writes the programs only; the data file it keeps is part of
    // the installation all the same.
    const std::uint64_t size = std::max(installedBytes, product::InstalledBytes(platform, installDir));
    platform.writeRegistryValues(key,
                                 product::InstalledProgramsValues(key, installDir, size, platform.now()));
    progress.registryEntryWritten(key, isNew);
  } catch (const std::exception& error) {
    progress.stepSkipped("the entry in the list of installed programs", error);
  }
}

}  // namespace vorpane::app
