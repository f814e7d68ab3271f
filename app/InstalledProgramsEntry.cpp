#include "app/InstalledProgramsEntry.h"

#include <algorithm>

#include "product/Registration.h"

namespace vorpane::app {

void RegisterInstallation(SetupTransaction& transaction, const std::string& installDir,
                          std::uint64_t installedBytes) {
  platform::Platform& platform = transaction.platform();
  try {
    const std::string key = product::EntryKeyFor(platform, installDir);
    const bool isNew = !platform.readRegistryText(key, "DisplayName").has_value();
    // An upgrade writes the programs only; the data file it keeps is part of
    // the installation all the same.
    const std::uint64_t size = std::max(installedBytes, product::InstalledBytes(platform, installDir));
    platform.writeRegistryValues(key,
                                 product::InstalledProgramsValues(key, installDir, size, platform.now()));
    transaction.registryEntryWritten(key, isNew);
  } catch (const std::exception& error) {
    transaction.stepSkipped("the entry in the list of installed programs", error);
  }
}

}  // namespace vorpane::app
