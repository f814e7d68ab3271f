#include "uninstaller/Switches.h"

#include <charconv>

#include "platform/WindowsPath.h"
#include "product/DeploymentSwitches.h"
#include "product/InstalledFiles.h"

namespace vorpane::uninstaller {

namespace {

constexpr std::string_view kLog = "/log=";
constexpr std::string_view kFinish = "/finish=";

bool startsWith(const std::string& lowered, std::string_view prefix) { return lowered.rfind(prefix, 0) == 0; }

std::optional<std::uint32_t> processIdOf(std::string_view text) {
  std::uint32_t id = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return id;
}

}  // namespace

Switches ParseSwitches(const std::vector<std::string>& arguments) {
  Switches switches;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const std::string lowered = platform::path::lowerAscii(argument);
    if (lowered == "/s" || lowered == "/verysilent") {
      switches.silent = true;
    } else if (product::IsNoOpSwitch(argument)) {
      // Accepted as any setup program accepts them.
    } else if (!switches.error.empty()) {
      // Past a bad switch only silence is still read: a script that asked for
      // it must not be stopped by a box about its mistake.
    } else if (startsWith(lowered, kLog)) {
      switches.logFile = argument.substr(kLog.size());
      if (switches.logFile->empty()) switches.error = "/LOG= needs the name of the log file";
    } else if (startsWith(lowered, kFinish) && i + 1 < arguments.size()) {
      const std::string value = argument.substr(kFinish.size());
      const std::size_t colon = value.find(':');
      switches.finishAfter = processIdOf(std::string_view(value).substr(0, colon));
      if (colon != std::string::npos) switches.handoverKey = value.substr(colon + 1);
      switches.originalProgram = arguments[++i];
      if (!switches.finishAfter || switches.handoverKey.empty())
        switches.error = "Unknown switch " + argument;
    } else {
      switches.error = "Unknown switch " + argument;
    }
  }
  return switches;
}

std::string FinishingCommandLine(const std::string& copy, std::uint32_t processId, const std::string& key,
                                 const std::string& originalProgram, bool silent) {
  return "\"" + copy + "\"" + (silent ? " /S" : "") + " /FINISH=" + std::to_string(processId) + ":" + key +
         " \"" + originalProgram + "\"";
}

std::string UsageText() {
  return std::string(product::kUninstallerFileName) +
         " [/S | /VERYSILENT] [/LOG=\"file\"]\r\r"
         "/S or /VERYSILENT: remove without asking and without messages\r"
         "/LOG=\"file\": a log of every step\r" +
         product::kNoOpSwitchesHelpLine +
         "\r"
         "Exit codes:\r"
         "0: done\r"
         "1: bad command line\r"
         "2: refused (Vorpane is running, the answer was No, no installation found)\r"
         "3: something could not be removed\r"
         "5: another Vorpane setup program is running";
}

}  // namespace vorpane::uninstaller
