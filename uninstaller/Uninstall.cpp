#include "uninstaller/Uninstall.h"

#include <vector>

#include "platform/WindowsPath.h"
#include "product/InstalledFiles.h"
#include "product/Product.h"
#include "uninstaller/Handover.h"

namespace vorpane::uninstaller {

namespace {

using platform::path::folderOf;
using platform::path::lowerAscii;
using platform::path::sameName;
using platform::path::withoutTrailingBackslash;
using platform::path::withTrailingBackslash;

// The most names of files left behind that a message lists one by one.
constexpr std::size_t kNamesShown = 10;

// Whether a path lies in the directory (given with its trailing backslash).
bool isInside(const std::string& path, const std::string& directory) {
  return lowerAscii(path).rfind(lowerAscii(directory), 0) == 0;
}

bool sameDirectory(const std::string& a, const std::string& b) {
  return sameName(withoutTrailingBackslash(a), withoutTrailingBackslash(b));
}

std::string bulleted(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size() && i < kNamesShown; ++i) text += "\r  " + lines[i];
  if (lines.size() > kNamesShown) text += "\r  and " + std::to_string(lines.size() - kNamesShown) + " more";
  return text;
}

class Uninstallation {
 public:
  Uninstallation(platform::Platform& platform, const Switches& switches, Conversation& conversation,
                 platform::LogFile* log)
      : platform_(platform),
        switches_(switches),
        conversation_(conversation),
        log_(log),
        program_(platform.ownProgramPath()),
        directory_(folderOf(program_)),
        shownDirectory_(withoutTrailingBackslash(directory_)) {}

  int run(bool sessionLockHeld) {
    write("Removing Vorpane " + std::string(product::kVersion) + " from " + shownDirectory_);
    if (!sessionLockHeld) return refuse(kAnotherSetupRunning, exitcode::AlreadyRunning);
    if (!holdsInstallation())
      return refuse("No installation of Vorpane was found in " + shownDirectory_ + ".");
    if (platform_.fileInUse(directory_ + product::kClientFileName)) return refuse(kClientRunning);
    if (!switches_.silent && !conversation_.confirm("Remove Vorpane " + std::string(product::kVersion) +
                                                    " from " + shownDirectory_ + "?")) {
      write("Not removed: the answer was No");
      return finish(exitcode::Refused);
    }
    removeInstallation();
    if (!failed_.empty()) return failure();
    removeRegistration();
    if (!failed_.empty()) return failure();
    handOverOwnRemoval();
    if (!failed_.empty()) return failure();
    noteWhatIsLeft();
    if (!switches_.silent) conversation_.inform(doneMessage());
    return finish(exitcode::Done);
  }

 private:
  // The client or its data file is here, or the installed-programs entry names
  // this directory: an uninstaller copied elsewhere removes nothing.
  bool holdsInstallation() {
    const auto location = platform_.readRegistryText(product::kInstalledProgramsKey, "InstallLocation");
    return platform_.fileExists(directory_ + product::kClientFileName) ||
           platform_.fileExists(directory_ + product::kDataFileName) ||
           (location && sameDirectory(*location, directory_));
  }

  // What belongs to the installation and to nothing else; on any failure the
  // uninstaller, its shortcut and the entry stay, so it can be run again.
  void removeInstallation() {
    removeFile(directory_ + product::kClientFileName);
    removeFile(directory_ + product::kDataFileName);
    if (group_) removeGroupShortcut(*group_ + "\\" + product::kClientShortcut);
    removeDesktopShortcut();
  }

  void removeRegistration() {
    removeInstalledProgramsEntry();
    if (!failed_.empty() || !group_) return;
    removeGroupShortcut(*group_ + "\\" + product::kUninstallerShortcut);
    if (!platform_.directoryExists(*group_)) return;
    if (platform_.removeDirectory(*group_)) {
      write("Removed " + *group_);
    } else {
      write("Left " + *group_ + ": it holds files not made by the installer");
    }
  }

  void removeFile(const std::string& path) {
    if (!platform_.fileExists(path)) {
      write("Not there, nothing to remove: " + path);
    } else if (platform_.removeFile(path)) {
      write("Removed " + path);
    } else {
      fail(path);
    }
  }

  // A shortcut in the group is the installer's unless it starts a program of
  // another installation (the group holds the last one installed).
  void removeGroupShortcut(const std::string& link) {
    if (!platform_.fileExists(link)) return;
    const auto target = platform_.shortcutTarget(link);
    if (target && !isInside(*target, directory_)) {
      write("Left " + link + ": it starts " + *target);
      return;
    }
    removeFile(link);
  }

  // A desktop shortcut of that name is removed only when it starts this
  // installation's client: it may be the user's or another installation's.
  void removeDesktopShortcut() {
    const auto desktop = platform_.shellFolder(platform::ShellFolder::DesktopDirectory);
    if (!desktop) return;
    const std::string link = *desktop + "\\" + product::kClientShortcut;
    if (!platform_.fileExists(link)) return;
    const auto target = platform_.shortcutTarget(link);
    if (!target || !isInside(*target, directory_)) {
      write("Left " + link + ": it starts " + target.value_or("a program that cannot be read"));
      return;
    }
    removeFile(link);
  }

  void removeInstalledProgramsEntry() {
    const std::string key = product::kInstalledProgramsKey;
    const std::string shownKey = "HKEY_LOCAL_MACHINE\\" + key;
    const auto location = platform_.readRegistryText(key, "InstallLocation");
    if (location && !sameDirectory(*location, directory_)) {
      write("Left the installed-programs entry " + shownKey + ": it names the installation in " + *location);
    } else if (platform_.removeRegistryKey(key)) {
      write("Removed the installed-programs entry " + shownKey);
    } else {
      fail("the installed-programs entry " + shownKey);
    }
  }

  // A running program cannot remove its own file: a copy of it, staged in a
  // folder of its own under the temporary folder, waits for this process to
  // end and removes the file and the directory.
  void handOverOwnRemoval() {
    try {
      const std::string command = HandOverOwnRemoval(platform_, program_, switches_.silent);
      write("Started " + command + " to remove " + program_ + " and then " + shownDirectory_ + " once empty");
    } catch (const std::exception& error) {
      write("Could not hand the removal of " + program_ + " over to a copy: " + error.what());
      fail(program_ + " (the copy that removes it could not be staged: " + error.what() + ")");
    }
  }

  void noteWhatIsLeft() {
    for (const platform::DirEntry& entry : platform_.listDirectory(directory_ + "*.*")) {
      if (entry.name == "." || entry.name == ".." || isInstalledName(entry.name)) continue;
      left_.push_back(entry.name + (entry.isDirectory() ? "\\" : ""));
      write("Left " + directory_ + left_.back() + ": not installed by Vorpane");
    }
  }

  static bool isInstalledName(const std::string& name) {
    return sameName(name, product::kClientFileName) || sameName(name, product::kDataFileName) ||
           sameName(name, product::kUninstallerFileName);
  }

  std::string doneMessage() const {
    std::string text =
        "Vorpane " + std::string(product::kVersion) + " was removed from " + shownDirectory_ + ".";
    if (!left_.empty()) {
      text += "\r\rThese files were left in " + shownDirectory_ +
              " because they were not installed by Vorpane:" + bulleted(left_);
    }
    return text;
  }

  void fail(const std::string& what) {
    failed_.push_back(what);
    write("Could not remove " + what);
  }

  int failure() {
    if (!switches_.silent) {
      conversation_.warn("Vorpane could not be removed completely from " + shownDirectory_ +
                         ". These could not be removed:" + bulleted(failed_) +
                         "\r\rClose the programs that may use them and run the uninstaller again.");
    }
    return finish(exitcode::RunFailed);
  }

  int refuse(const std::string& message, int code = exitcode::Refused) {
    write("Refused: " + message);
    if (!switches_.silent) conversation_.warn(message);
    return finish(code);
  }

  int finish(int code) {
    write("Exit code " + std::to_string(code));
    return code;
  }

  void write(const std::string& text) {
    if (log_ != nullptr) log_->write(text);
  }

  platform::Platform& platform_;
  const Switches& switches_;
  Conversation& conversation_;
  platform::LogFile* log_;
  const std::string program_;
  const std::string directory_;  // with its trailing backslash
  const std::string shownDirectory_;
  const std::optional<std::string> group_ = groupFolder();
  std::vector<std::string> failed_;
  std::vector<std::string> left_;

  std::optional<std::string> groupFolder() const {
    const auto programs = platform_.shellFolder(platform::ShellFolder::Programs);
    if (!programs) return std::nullopt;
    return *programs + "\\" + product::kStartMenuGroup;
  }
};

}  // namespace

int Uninstall(platform::Platform& platform, const Switches& switches, bool sessionLockHeld,
              Conversation& conversation, platform::LogFile* log) {
  return Uninstallation(platform, switches, conversation, log).run(sessionLockHeld);
}

}  // namespace vorpane::uninstaller
