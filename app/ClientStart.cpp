#include "app/ClientStart.h"

#include "platform/WindowsPath.h"
#include "product/InstalledFiles.h"
#include "product/Product.h"

namespace vorpane::app {

namespace {

const char* const kAutoUpdateSwitch = "/autoupdate ";

void writeLog(platform::LogFile* log, const std::string& text) {
  if (log != nullptr) log->write(text);
}

// Whether the client closed itself for this upgrade and waits to be brought
// back: not when another setup program holds the installation, which will
// bring it back itself.
bool bringsClientBack(int exitCode) {
  return exitCode == product::exitcode::BadCommandLine || exitCode == product::exitcode::Damaged;
}

}  // namespace

std::string ClientCommandLine(const std::string& directory, const std::string& arguments) {
  std::string commandLine = "\"" + directory + product::kClientFileName + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  return commandLine;
}

std::string ClientRestartCommandLine(const std::string& directory) {
  return ClientCommandLine(directory, std::string("/upgraded") + product::kVersion);
}

void StartClient(platform::Platform& platform, const std::string& commandLine, platform::LogFile* log) {
  if (!platform.runsElevated()) {
    platform.startWindowed(commandLine, kClientShowMode);
    writeLog(log,
             "Started the client with this program's rights, which are the desktop user's: " + commandLine);
    return;
  }
  if (platform.startWindowedAsDesktopUser(commandLine, kClientShowMode)) {
    writeLog(log, "Started the client as the desktop user, through the desktop shell: " + commandLine);
    return;
  }
  platform.startWindowed(commandLine, kClientShowMode);
  writeLog(log,
           "Started the client with this program's administrator rights: no desktop shell could start it "
           "as the desktop user: " +
               commandLine);
}

std::optional<std::string> AutomaticUpgradeDirectory(const std::vector<std::string>& wizardArguments) {
  std::string joined;
  for (const auto& argument : wizardArguments) joined += argument + " ";
  joined = std::string(platform::path::trimmed(joined));
  // The switch is only recognised with its blank: "/autoupdate" alone names no
  // directory, so it does not start the automatic upgrade.
  const std::string switchText = kAutoUpdateSwitch;
  if (platform::path::lowerAscii(joined).compare(0, switchText.size(), switchText) != 0) return std::nullopt;
  return platform::path::withTrailingBackslash(
      std::string(platform::path::trimmed(joined.substr(switchText.size() - 1))));
}

std::optional<std::string> AutomaticUpgradeDirectory(const Switches& switches) {
  if (!switches.leavesTheWizardItsLine()) return std::nullopt;
  return AutomaticUpgradeDirectory(switches.wizardArguments);
}

void RestartClientAfterRefusal(platform::Platform& platform, const Switches& switches, int exitCode,
                               platform::LogFile* log) {
  if (!bringsClientBack(exitCode)) return;
  if (const auto directory = AutomaticUpgradeDirectory(switches))
    StartClient(platform, ClientRestartCommandLine(*directory), log);
}

}  // namespace vorpane::app
