#pragma once
// The platform as the tests see it: the host file system with Windows drives
// (platform/HostFileSystem), and on top of it what a test sets and looks at.
// Shell folders, the running program, elevation and the desktop shell are set
// per test; failures are injected (a refused replacement, a failing shell
// link, a full disk at a given file, the n-th change refused, a file held as a
// running program holds its own); process starts, link openings, shortcuts,
// waits, removals at restart and staging folders are recorded, and the
// registry is kept in memory. Not part of the product: native tests and
// benchmarks only.

#include <map>
#include <set>

#include "platform/HostFileSystem.h"

namespace vorpane::platform {

class FakePlatform : public HostFileSystem {
 public:
  struct WindowedStart {
    std::string commandLine;
    int showMode = 0;
    bool asDesktopUser = false;  // through the desktop shell, with the desktop user's rights
  };
  struct StagingFolder {
    std::string path;
    bool restricted = false;  // made while elevated: only administrators may change it
  };

  // --- configuration -------------------------------------------------------------
  void setShellFolder(ShellFolder folder, std::optional<std::string> path);
  // replaceFile() onto this target fails with the code, as Windows refuses to
  // replace a running program; after the given number of refusals it works again.
  void refuseReplace(const std::string& target, int ioCode = io::AccessDenied, int times = -1);
  // A file created at this path takes this many bytes; the write that would
  // go beyond raises "Disk full", as a disk that fills up does.
  void fillDiskAt(const std::string& windowsPath, std::size_t bytes);
  // createShortcut() raises as if the shell-link object could not be had.
  void failShortcuts(bool fail);
  // What the system says of any error code from now on; nothing by default.
  void setSystemErrorText(std::string text) { systemErrorText_ = std::move(text); }
  // The number-th change from now on (a directory, file, replacement, shortcut
  // or registry key made, a file, directory or registry key removed, a program
  // started) is refused with "Access denied", as a disk or registry that turns
  // read-only would refuse it (a removal then reports false); 0 refuses none.
  void refuseChange(int number);
  // The changes counted since the last refuseChange().
  int changesCounted() const { return changesCounted_; }
  // The running program's file, process id and temporary folder as the
  // program sees them.
  void setOwnProgramPath(const std::string& windowsPath) { ownProgramPath_ = windowsPath; }
  void setProcessId(std::uint32_t id) { processId_ = id; }
  void setTemporaryFolder(std::optional<std::string> windowsPath) {
    temporaryFolder_ = std::move(windowsPath);
  }
  // The file is held as a running program holds its own: fileInUse() says so,
  // and it can be neither replaced nor removed.
  void holdFile(const std::string& windowsPath, bool held = true);
  // Whether the program runs elevated, and whether a desktop shell is there to
  // start programs as the desktop user.
  void setElevated(bool elevated) { elevated_ = elevated; }
  void setDesktopShell(bool present) { desktopShell_ = present; }
  // listDirectory() reports the file or directory with the hidden attribute; the
  // host has no such attribute, so tests mark what Windows would show as hidden.
  void setHidden(const std::string& windowsPath, bool hidden = true);

  // --- what the program did ------------------------------------------------------
  const std::vector<WindowedStart>& windowedStarts() const { return windowedStarts_; }
  const std::vector<std::string>& openedLinks() const { return openedLinks_; }
  const std::vector<ShortcutSpec>& shortcuts() const { return shortcuts_; }
  // startInFolder() calls: the command line and the working directory.
  const std::vector<std::pair<std::string, std::string>>& startsInFolder() const { return startsInFolder_; }
  const std::vector<std::uint32_t>& waitedProcesses() const { return waitedProcesses_; }
  const std::vector<std::string>& removalsAtRestart() const { return removalsAtRestart_; }
  const std::vector<StagingFolder>& stagingFolders() const { return stagingFolders_; }
  // The values under a registry key, in the order they were first written;
  // empty when the key is missing.
  std::vector<RegistryValue> registryValues(const std::string& key) const;
  bool registryKeyExists(const std::string& key) const;

  // --- Platform --------------------------------------------------------------------
  std::optional<std::string> shellFolder(ShellFolder folder) override;
  std::string systemErrorText(int /*ioCode*/) override { return systemErrorText_; }
  // Counted as changes before the host makes them.
  void createDirectory(const std::string& path) override;
  std::unique_ptr<OutputFile> createFile(const std::string& path) override;
  std::unique_ptr<OutputFile> appendFile(const std::string& path) override;
  void replaceFile(const std::string& source, const std::string& target) override;
  bool removeFile(const std::string& path) noexcept override;
  bool removeDirectory(const std::string& path) noexcept override;
  // The host's entries with the hidden marks set here.
  std::vector<DirEntry> listDirectory(const std::string& pattern) override;
  void forEachEntry(const std::string& pattern, const EntryVisitor& visit) override;
  // Recorded.
  void startWindowed(const std::string& commandLine, int showMode) override;
  void openLink(const std::string& target) override;
  // Recorded and also left on disk as a small text file, so that a test can
  // look at the folder as a user would; shortcutTarget() reads that file back.
  void createShortcut(const ShortcutSpec& shortcut) override;
  std::optional<std::string> shortcutTarget(const std::string& linkPath) override;
  std::string ownProgramPath() override { return ownProgramPath_; }
  std::uint32_t processId() override { return processId_; }
  std::optional<std::string> temporaryFolder() override { return temporaryFolder_; }
  // Recorded; counts as a change, so a refused change can keep a program from starting.
  bool startInFolder(const std::string& commandLine, const std::string& workingDirectory) override;
  // Recorded; every process has already ended.
  bool waitForProcessEnd(std::uint32_t processId, int timeoutMilliseconds) override;
  bool fileInUse(const std::string& path) override;
  // Recorded.
  bool removeFileAtRestart(const std::string& path) noexcept override;
  // Made as createDirectory() makes one, and recorded with whether it was restricted.
  bool createStagingFolder(const std::string& path) override;
  // The file and its folder are held (as holdFile() holds one) until the hold ends.
  std::unique_ptr<FileHold> writeHeldFile(const std::string& path,
                                          const std::vector<std::uint8_t>& bytes) override;
  bool runsElevated() override { return elevated_; }
  // Recorded in windowedStarts() as the desktop user's; false without a desktop shell.
  bool startWindowedAsDesktopUser(const std::string& commandLine, int showMode) override;
  void writeRegistryValues(const std::string& key, const std::vector<RegistryValue>& values) override;
  std::optional<std::string> readRegistryText(const std::string& key, const std::string& name) override;
  bool removeRegistryKey(const std::string& key) noexcept override;
  // A clock of its own that only sleep() moves, so waits take no real time.
  std::uint64_t tickCount() override { return ticks_; }
  void sleep(int milliseconds) override { ticks_ += static_cast<std::uint64_t>(milliseconds); }

 private:
  // Counts a change: raises, or answers false, when it is the one to refuse.
  void countChange();
  bool changeAllowed() noexcept;
  // The hidden attribute on the entries of a listing of the pattern.
  void markHidden(const std::string& pattern, std::vector<DirEntry>& entries);
  // The key of the folder a pattern lists, with a backslash for the entry's name.
  std::string entryKeyPrefix(const std::string& pattern);

  std::map<ShellFolder, std::optional<std::string>> shellFolders_;
  struct Refusal {
    int ioCode = 0;
    int remaining = -1;  // -1: for ever
  };
  std::map<std::string, Refusal> refusedReplacements_;  // keyed by pathKey(target)
  std::uint64_t ticks_ = 0;
  std::set<std::string> hidden_;                  // keyed by pathKey(path)
  std::map<std::string, std::size_t> diskSpace_;  // keyed by pathKey(path)
  bool failShortcuts_ = false;
  std::vector<WindowedStart> windowedStarts_;
  std::vector<std::string> openedLinks_;
  std::vector<ShortcutSpec> shortcuts_;
  std::vector<std::pair<std::string, std::string>> startsInFolder_;
  std::vector<std::uint32_t> waitedProcesses_;
  std::vector<std::string> removalsAtRestart_;
  std::string ownProgramPath_ = "C:\\Program.exe";
  std::uint32_t processId_ = 4242;
  std::optional<std::string> temporaryFolder_;
  std::set<std::string> heldFiles_;  // keyed by pathKey(path)
  std::string systemErrorText_;
  std::vector<StagingFolder> stagingFolders_;
  bool elevated_ = false;
  bool desktopShell_ = true;
  int changesCounted_ = 0;
  int refusedChange_ = 0;
  std::map<std::string, std::vector<RegistryValue>> registry_;  // keyed by the lower-cased key
};

}  // namespace vorpane::platform
