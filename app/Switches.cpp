#include "app/Switches.h"

namespace vorpane::app {

namespace {

std::string upperCase(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// "/NAME=value": the value of a switch with that name (upper case), if it is one.
std::optional<std::string> valueOf(const std::string& argument, const std::string& name) {
  const std::string prefix = "/" + name + "=";
  if (upperCase(argument.substr(0, prefix.size())) != prefix) return std::nullopt;
  return argument.substr(prefix.size());
}

// Reads one switch into switches; false when the argument is none of ours.
bool readSwitch(const std::string& argument, Switches& switches) {
  const std::string upper = upperCase(argument);
  if (upper == "/SILENT") return switches.silent = true;
  if (upper == "/VERYSILENT" || upper == "/S") return switches.verySilent = true;
  if (upper == "/SUPPRESSMSGBOXES") return switches.suppressMessageBoxes = true;
  if (upper == "/NOSHORTCUT") return switches.noShortcut = true;
  if (upper == "/?" || upper == "/HELP") return switches.help = true;
  const std::pair<const char*, std::optional<std::string> Switches::*> valued[] = {
      {"DIR", &Switches::installDir},    {"DOWNLOADDIR", &Switches::downloadDir},
      {"CACHEDIR", &Switches::cacheDir}, {"UPGRADE", &Switches::upgradeDir},
      {"LOG", &Switches::logFile},
  };
  for (const auto& [name, field] : valued) {
    if (auto value = valueOf(argument, name)) {
      if (value->empty()) {
        switches.error = "The switch /" + std::string(name) + "= names no path";
      }
      switches.*field = std::move(value);
      return true;
    }
  }
  return false;
}

std::string joinedFrom(const std::vector<std::string>& arguments, std::size_t first) {
  std::string joined;
  for (std::size_t i = first; i < arguments.size(); ++i) {
    if (i > first) joined += ' ';
    joined += arguments[i];
  }
  return joined;
}

}  // namespace

Switches ParseSwitches(const std::vector<std::string>& arguments) {
  Switches switches;
  std::size_t next = 0;
  bool any = false;
  for (; next < arguments.size(); ++next) {
    if (auto rest = valueOf(arguments[next], "D")) {
      // The old convention: the last switch, unquoted, blanks and all.
      std::string directory = *rest;
      if (next + 1 < arguments.size()) directory.append(1, ' ').append(joinedFrom(arguments, next + 1));
      switches.installDir = std::move(directory);
      if (switches.installDir->empty()) switches.error = "The switch /D= names no path";
      any = true;
      next = arguments.size();
      break;
    }
    if (!readSwitch(arguments[next], switches)) break;
    any = true;
  }
  switches.wizardArguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(next), arguments.end());
  if (!any || !switches.error.empty()) return switches;
  // Only a log may accompany the wizard's own command line; everything else
  // after the switches means the line was not understood.
  const bool onlyLog = switches.leavesTheWizardItsLine();
  if (!switches.wizardArguments.empty() && !onlyLog)
    switches.error = "Unknown switch " + switches.wizardArguments.front();
  else if (!switches.unattended() && !switches.help && !onlyLog)
    switches.error = "These switches need /SILENT or /VERYSILENT";
  else if (switches.upgradeDir && (switches.installDir || switches.downloadDir || switches.cacheDir))
    switches.error = "/UPGRADE= cannot be combined with /DIR=, /DOWNLOADDIR= or /CACHEDIR=";
  return switches;
}

std::string SwitchesHelpText() {
  return "Install_Vorpane [switches]\r\r"
         "/SILENT\tinstall without questions, showing only the progress\r"
         "/VERYSILENT or /S\tinstall without any window\r"
         "\t(both accept the disclaimer on your behalf)\r"
         "/SUPPRESSMSGBOXES\twith /SILENT: errors only in the log and exit code\r"
         "/DIR=\"path\" or /D=path\tinstallation directory (/D= last, unquoted)\r"
         "/DOWNLOADDIR=\"path\"\tdownload directory\r"
         "/CACHEDIR=\"path\"\tcache directory\r"
         "/NOSHORTCUT\tno shortcut on the desktop\r"
         "/UPGRADE=\"path\"\tupgrade the installation in that directory\r"
         "/LOG=\"file\"\twrite a log of the run (also with the wizard)\r"
         "/? or /HELP\tthis list\r\r"
         "Exit codes: 0 done, 1 bad command line, 2 refused by a check\r"
         "(directory, existing installation, nothing to upgrade), 3 the run failed,\r"
         "4 the installer is damaged (download it again),\r"
         "5 another installation of Vorpane is already running.";
}

}  // namespace vorpane::app
