#pragma once
// One setup, from the first directory a page makes to its end, as one
// transaction. Every change is recorded as it is made, and a file or shortcut
// that was there before is kept aside (copied beside itself) before anything
// replaces it. The setup then either commits, and the kept copies go, or is
// taken back newest first: what it made is removed, what it replaced is put
// back byte for byte. A user is left with a whole installation or with their
// disk as it was. The transaction also writes every change to the log and
// holds the setup's outcome: its exit code, its message and what could not be
// taken back. The wizard, /SILENT and /VERYSILENT all go through it.

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "platform/LogFile.h"
#include "platform/Platform.h"

namespace vorpane::app {

enum class SetupOutcome { Refused, Failed };

class SetupTransaction {
 public:
  // log may be absent.
  SetupTransaction(platform::Platform& platform, platform::LogFile* log) : platform_(platform), log_(log) {}
  // A transaction nobody ended is taken back, so that no path out of a setup
  // leaves half an installation.
  ~SetupTransaction();
  SetupTransaction(const SetupTransaction&) = delete;
  SetupTransaction& operator=(const SetupTransaction&) = delete;

  platform::Platform& platform() { return platform_; }
  // Where the changes are logged from now on; none when null.
  void setLog(platform::LogFile* log) { log_ = log; }
  // A line in the log, when there is one.
  void log(const std::string& text);

  // --- the changes, as the setup makes them ----------------------------------------
  void directoryCreated(const std::string& path);
  // Called before anything writes the file at path: a file there is copied
  // aside first, and from now on a rollback gives path back as it was (or
  // removes it when it was not there). Raises IoError naming the file when the
  // copy cannot be made; nothing has changed then.
  void aboutToWrite(const std::string& path);
  // The file at path is complete (new, or in the place of the one kept aside).
  void fileWritten(const std::string& path, std::uint64_t size);
  // The shortcut at linkPath, announced with aboutToWrite(), is saved.
  void shortcutCreated(const std::string& linkPath, const std::string& target);
  // The shell reported the shortcut saved, but it is not there: the run goes
  // on without it, and a shortcut kept aside for it goes back at once.
  void shortcutMissing(const std::string& linkPath);
  void registryEntryWritten(const std::string& key, bool isNew);
  // A step the setup goes on without, and why.
  void stepSkipped(const std::string& what, const std::exception& error);

  // --- the end ----------------------------------------------------------------------
  // The setup stands: the copies kept aside are removed, and of the directories
  // made, those not in use (left by the pages with "&Back") are removed when
  // still empty. Returns exit code 0.
  int commit(const std::vector<std::string>& directoriesInUse = {});
  // The setup was refused or failed: logged, then everything taken back. The
  // message is the error's; returns the exit code (2 refused, 3 failed).
  int abandon(SetupOutcome outcome, const std::exception& error);
  // Takes everything back without an error: the person left the wizard.
  void rollBack() noexcept;

  // Whether anything is recorded that a rollback would undo.
  bool holdsChanges() const { return !changes_.empty(); }
  int exitCode() const { return exitCode_; }
  const std::string& message() const { return message_; }
  // What the last rollback could not undo, each with the reason.
  const std::vector<std::string>& leftBehind() const { return leftBehind_; }
  // The failed setup in words, for the page that ran it: the error's message
  // with its closing period, then "Nothing was changed." or what stayed.
  std::string failureSummary() const;

 private:
  enum class Kind { Directory, File, RegistryKey };
  struct Change {
    Kind kind;
    std::string path;
    std::string keptCopy;  // a file that was there before, copied aside; empty when new
    bool written = false;  // the new file is complete in its place
  };

  // The newest record of a write to path, or null.
  Change* pendingWrite(const std::string& path);
  // Marks that write complete; true when it replaced a file kept aside.
  bool markWritten(const std::string& path);
  std::string keepAside(const std::string& path);
  bool undo(const Change& change) noexcept;
  bool putBack(const Change& change) noexcept;
  void note(const std::string& text) noexcept;

  platform::Platform& platform_;
  platform::LogFile* log_;
  std::vector<Change> changes_;
  int exitCode_ = 0;
  std::string message_;
  std::vector<std::string> leftBehind_;
};

}  // namespace vorpane::app
