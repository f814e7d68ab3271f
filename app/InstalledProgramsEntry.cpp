#include "app/InstalledProgramsEntry.h"

#include <cstdio>

#include "platform/WindowsPath.h"
#include "product/InstalledFiles.h"
#include "product/Product.h"

namespace vorpane::app {

namespace {

platform::RegistryValue text(const char* name, std::string value) { return {name, std::move(value), {}}; }
platform::RegistryValue number(const char* name, std::uint32_t value) { return {name, {}, value}; }

std::string dayText(const platform::LocalDateTime& day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", day.year, day.month, day.day);
  return text;
}

}  // namespace

std::vector<platform::RegistryValue> InstalledProgramsValues(const std::string& installDir,
                                                             std::uint64_t installedBytes,
                                                             const platform::LocalDateTime& day) {
  const std::string directory = platform::path::withTrailingBackslash(installDir);
  const std::string uninstaller = "\"" + directory + product::kUninstallerFileName + "\"";
  std::string location = directory;
  location.pop_back();
  return {
      text("DisplayName", "Vorpane"),
      text("DisplayVersion", product::kVersion),
      text("Publisher", product::kPublisher),
      text("InstallLocation", location),
      text("InstallDate", dayText(day)),
      text("UninstallString", uninstaller),
      // The uninstaller's own switch for removing without a question.
      text("QuietUninstallString", uninstaller + " /S"),
      text("DisplayIcon", directory + product::kClientFileName + ",0"),
      text("URLInfoAbout", product::kWebHost),
      text("HelpLink", std::string(product::kWebHost) + product::kManualPath),
      // The list shows sizes in KiB.
      number("EstimatedSize", static_cast<std::uint32_t>((installedBytes + 1023) / 1024)),
      number("NoModify", 1),
      number("NoRepair", 1),
  };
}

void RegisterInstallation(SetupTransaction& transaction, const std::string& installDir,
                          std::uint64_t installedBytes) {
  platform::Platform& platform = transaction.platform();
  const std::string key = product::kInstalledProgramsKey;
  try {
    const bool isNew = !platform.readRegistryText(key, "DisplayName").has_value();
    platform.writeRegistryValues(key, InstalledProgramsValues(installDir, installedBytes, platform.now()));
    transaction.registryEntryWritten(key, isNew);
  } catch (const std::exception& error) {
    transaction.stepSkipped("the entry in the list of installed programs", error);
  }
}

}  // namespace vorpane::app
