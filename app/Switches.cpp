#include "app/Switches.h"

#include <algorithm>

#include "product/DeploymentSwitches.h"

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

// Records why the line cannot be followed; the first reason found is the one given.
void fail(Switches& switches, std::string reason) {
  if (switches.error.empty()) switches.error = std::move(reason);
}

// Reads one switch into switches; false when the argument is none of ours.
bool readSwitch(const std::string& argument, Switches& switches) {
  const std::string upper = upperCase(argument);
  if (product::IsNoOpSwitch(argument)) return true;
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
      if (value->empty())
        fail(switches, "The switch /" + std::string(name) + "= names no path");
      else
        switches.*field = std::move(value);
      return true;
    }
  }
  return false;
}

// The letters to insert, remove or change to turn one word into the other.
std::size_t editDistance(const std::string& from, const std::string& to) {
  std::vector<std::size_t> row(to.size() + 1);
  for (std::size_t j = 0; j <= to.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= from.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= to.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (from[i - 1] == to[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[to.size()];
}

// Whether an unknown switch looks like a misspelt switch that silences every box.
bool misspellsSilence(const std::string& argument) {
  const std::string upper = upperCase(argument);
  return editDistance(upper, "/VERYSILENT") <= 2 || editDistance(upper, "/SUPPRESSMSGBOXES") <= 2;
}

std::string joinedFrom(const std::vector<std::string>& arguments, std::size_t first) {
  std::string joined;
  for (std::size_t i = first; i < arguments.size(); ++i) {
    if (i > first) joined += ' ';
    joined += arguments[i];
  }
  return joined;
}

// The old convention of /D=: the last switch, unquoted, blanks and all.
void readInstallDirToTheEnd(const std::vector<std::string>& arguments, std::size_t at, Switches& switches) {
  std::string directory = *valueOf(arguments[at], "D");
  if (at + 1 < arguments.size()) directory.append(1, ' ').append(joinedFrom(arguments, at + 1));
  if (directory.empty())
    fail(switches, "The switch /D= names no path");
  else
    switches.installDir = std::move(directory);
}

bool isAutoUpdate(const std::string& argument) { return upperCase(argument) == "/AUTOUPDATE"; }

// What a line of switches that reads well may still not ask for.
void checkCombination(Switches& switches) {
  const bool onlyLog = switches.leavesTheWizardItsLine();
  if (!switches.wizardArguments.empty() && !onlyLog)
    fail(switches, "Unexpected argument " + switches.wizardArguments.front());
  else if (!switches.unattended() && !switches.help && !onlyLog)
    fail(switches, "These switches need /SILENT or /VERYSILENT");
  else if (switches.upgradeDir && (switches.installDir || switches.downloadDir || switches.cacheDir))
    fail(switches, "/UPGRADE= cannot be combined with /DIR=, /D=, /DOWNLOADDIR= or /CACHEDIR=");
}

}  // namespace

Switches ParseSwitches(const std::vector<std::string>& arguments) {
  Switches switches;
  std::optional<std::size_t> wizardFrom;  // the first argument that is no switch
  // Past a mistake the switches are still read, so that a script that asked
  // for silence or a log gets them for the refusal too.
  for (std::size_t next = 0; next < arguments.size(); ++next) {
    const std::string& argument = arguments[next];
    if (valueOf(argument, "D")) {
      readInstallDirToTheEnd(arguments, next, switches);
      break;
    }
    if (isAutoUpdate(argument)) {
      // The client's own request: only a log and the switches that change
      // nothing may come before it, and the rest is its directory.
      if (wizardFrom || !switches.leavesTheWizardItsLine()) fail(switches, "Unknown switch " + argument);
      wizardFrom = wizardFrom.value_or(next);
      break;
    }
    if (readSwitch(argument, switches)) continue;
    wizardFrom = wizardFrom.value_or(next);
    if (argument.starts_with('/')) {
      fail(switches, "Unknown switch " + argument);
      if (misspellsSilence(argument)) switches.silenceMisspelled = true;
    }
  }
  if (wizardFrom)
    switches.wizardArguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(*wizardFrom),
                                    arguments.end());
  if (switches.error.empty()) checkCombination(switches);
  return switches;
}

std::string SwitchesHelpText() {
  return std::string(
             "Install_Vorpane [switches]\r\r"
             "/SILENT: install without questions, showing only the progress\r"
             "/VERYSILENT or /S: install without any window\r"
             "/SUPPRESSMSGBOXES: with /SILENT, errors only in the log and exit code\r"
             "/DIR=\"path\" or /D=path: the installation directory (/D= last, unquoted)\r"
             "/DOWNLOADDIR=\"path\": the download directory\r"
             "/CACHEDIR=\"path\": the cache directory\r"
             "/NOSHORTCUT: no shortcut on the desktop\r"
             "/UPGRADE=\"path\": upgrade the installation in that directory\r"
             "/LOG=\"file\": write a log of the run (also with the wizard)\r") +
         product::kNoOpSwitchesHelpLine +
         "/? or /HELP: this list\r\r"
         "/SILENT, /VERYSILENT and /S accept the disclaimer on your behalf.\r\r"
         "Exit codes:\r"
         "0: done\r"
         "1: bad command line\r"
         "2: refused by a check (directory, existing installation, nothing to upgrade)\r"
         "3: the run failed\r"
         "4: the installer is damaged (download it again)\r"
         "5: another installation of Vorpane is already running";
}

}  // namespace vorpane::app
