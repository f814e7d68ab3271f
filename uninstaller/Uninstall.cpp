#include "uninstaller/Uninstall.h"

#include <vector>

#include "platform/Folders.h"
#include "platform/WindowsPath.h"
#include "product/InstalledFiles.h"
#include "product/Product.h"
#include "product/Registration.h"
#include "uninstaller/Handover.h"

namespace vorpane::uninstaller {

namespace {

using platform::path::folderOf;
using platform::path::nameOf;
using platform::path::sameName;
using platform::path::withoutTrailingBackslash;

// The most names of files left behind that a message lists one by one.
constexpr std::size_t kNamesShown = 10;

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
        shownDirectory_(withoutTrailingBackslash(directory_)),
        group_(product::FindStartMenuGroup(platform)) {}

  int run(bool sessionLockHeld) {
    write("Removing Vorpane " + std::string(product::kVersion) + " from " + shownDirectory_);
    if (!sessionLockHeld) return refuse(kAnotherSetupRunning, product::exitcode::AlreadyRunning);
    if (!holdsInstallation())
      return refuse("No installation of Vorpane was found in " + shownDirectory_ + ".");
    if (platform_.fileInUse(directory_ + product::kClientFileName)) return refuse(kClientRunning);
    if (!switches_.silent && !conversation_.confirm("Remove Vorpane " + std::string(product::kVersion) +
                                                    " from " + shownDirectory_ + "?")) {
      write("Not removed: the answer was No");
      return finish(product::exitcode::Refused);
    }
    removeInstallation();
    if (!failed_.empty()) return failure();
    // What lets the uninstaller be found and run again goes only once the
    // copy that removes it has started, and the copy is called off when any
    // of it stays: whatever fails, the uninstaller can be run again.
    const auto handover = handOverOwnRemoval();
    if (!handover) return failure();
    removeRegistration();
    if (!failed_.empty()) {
      callOff(*handover);
      return failure();
    }
    noteWhatIsLeft();
    if (!switches_.silent) conversation_.inform(doneMessage());
    return finish(product::exitcode::Done);
  }

 private:
  // The client or its data file is here, or an installed-programs entry names
  // this directory, or the group's uninstaller shortcut starts this very
  // program (an installation listed nowhere, after a run that failed): an
  // uninstaller copied elsewhere removes nothing.
  bool holdsInstallation() {
    return product::HoldsInstallation(platform_, directory_) ||
           product::EntryOfInstallation(platform_, directory_).has_value() || groupStartsThisProgram();
  }

  bool groupStartsThisProgram() {
    if (!group_) return false;
    const auto target = platform_.shortcutTarget(group_->uninstallerShortcut());
    return target && startsOwnProgram(*target) && sameName(nameOf(*target), nameOf(program_));
  }

  // What belongs to the installation and to nothing else; on any failure the
  // uninstaller, its shortcut and the entry stay, so it can be run again.
  void removeInstallation() {
    removeFile(directory_ + product::kClientFileName);
    removeFile(directory_ + product::kDataFileName);
    if (group_) removeGroupShortcut(group_->clientShortcut());
    removeDesktopShortcut();
  }

  // The entry goes last: as long as it names this directory, the uninstaller
  // finds its installation again.
  void removeRegistration() {
    if (group_) {
      removeGroupShortcut(group_->uninstallerShortcut());
      if (!failed_.empty()) return;
      removeGroupWhenEmpty();
    }
    removeInstalledProgramsEntry();
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

  // A shortcut starts this installation's program when the program's folder
  // is this directory: an installation inside this one, or around it, keeps
  // its own.
  bool startsOwnProgram(const std::string& target) {
    return platform::sameFolder(platform_, folderOf(target), directory_);
  }

  // The group holds the shortcuts of the installation made last; one that
  // cannot be read is taken for this installation's, as the group is its.
  void removeGroupShortcut(const std::string& link) {
    if (!platform_.fileExists(link)) return;
    const auto target = platform_.shortcutTarget(link);
    if (target && !startsOwnProgram(*target)) {
      write("Left " + link + ": it starts " + *target);
      return;
    }
    removeFile(link);
  }

  void removeGroupWhenEmpty() {
    if (!platform_.directoryExists(group_->folder)) return;
    if (platform_.removeDirectory(group_->folder)) {
      write("Removed " + group_->folder);
    } else {
      write("Left " + group_->folder + ": it holds files not made by this installation");
    }
  }

  // A desktop shortcut of that name is removed only when it starts this
  // installation's client: it may be the user's or another installation's.
  void removeDesktopShortcut() {
    const auto link = product::DesktopShortcutPath(platform_);
    if (!link || !platform_.fileExists(*link)) return;
    const auto target = platform_.shortcutTarget(*link);
    if (!target || !startsOwnProgram(*target)) {
      write("Left " + *link + ": it starts " + target.value_or("a program that cannot be read"));
      return;
    }
    removeFile(*link);
  }

  // Only the entry that names this directory: other installations keep theirs.
  void removeInstalledProgramsEntry() {
    const auto key = product::EntryOfInstallation(platform_, directory_);
    if (!key) {
      write("No entry in the list of installed programs names " + shownDirectory_);
      return;
    }
    const std::string shownKey = "HKEY_LOCAL_MACHINE\\" + *key;
    if (platform_.removeRegistryKey(*key)) {
      write("Removed the installed-programs entry " + shownKey);
    } else {
      fail("the installed-programs entry " + shownKey);
    }
  }

  // A running program cannot remove its own file: a copy of it, staged in a
  // folder of its own under the temporary folder, waits for this process to
  // end and removes the file and the directory.
  std::optional<Handover> handOverOwnRemoval() {
    try {
      Handover handover = HandOverOwnRemoval(platform_, program_, switches_.silent);
      write("Started " + handover.command + " to remove " + program_ + " and then " + shownDirectory_ +
            " once empty");
      return handover;
    } catch (const std::exception& error) {
      write("Could not hand the removal of " + program_ + " over to a copy: " + error.what());
      fail(program_ + " (the copy that removes it could not be staged: " + error.what() + ")");
      return std::nullopt;
    }
  }

  void callOff(const Handover& handover) {
    if (CallOffHandover(platform_, handover)) {
      write("Called off the removal of " + program_ + ": it stays, to be run again");
    } else {
      write("Could not call off the removal of " + program_ + " by " + handover.folder);
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
    return finish(product::exitcode::RunFailed);
  }

  int refuse(const std::string& message, int code = product::exitcode::Refused) {
    write("Refused: " + message);
    if (!switches_.silent) conversation_.warn(message);
    return finish(code);
  }

  int finish(int code) {
    write(product::exitcode::LogLine(code));
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
  const std::optional<product::StartMenuGroup> group_;
  std::vector<std::string> failed_;
  std::vector<std::string> left_;
};

}  // namespace

int Uninstall(platform::Platform& platform, const Switches& switches, bool sessionLockHeld,
              Conversation& conversation, platform::LogFile* log) {
  return Uninstallation(platform, switches, conversation, log).run(sessionLockHeld);
}

}  // namespace vorpane::uninstaller
