#pragma once
// The platform as the tests and native tools see it: Windows paths mapped onto
// host folders the way Wine's drive table maps them (C: onto a folder of the
// test's own), with drive types, shell folders, time, randomness and failures
// set per test, and process starts, link openings and shortcuts recorded.
// Symbolic links in the host folders are listed as reparse points, as Windows
// lists junctions and links.

#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "platform/Platform.h"

namespace vorpane::platform {

// The runtime's I/O code for a host error number (errno), as the same failure
// would be reported on Windows: ENOENT -> 3, EACCES -> 5, ENOSPC -> 101, ...
int ioCodeFromErrno(int error);

class HostPlatform : public Platform {
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

  // With no drives mapped; tests map the drives they need.
  HostPlatform();

  // --- configuration -------------------------------------------------------------
  void mapDrive(char letter, const std::filesystem::path& hostFolder, DriveType type = DriveType::Fixed);
  void unmapDrive(char letter);
  void setDriveType(char letter, DriveType type);
  void setShellFolder(ShellFolder folder, std::optional<std::string> path);
  void setCurrentDirectory(const std::string& path);
  void setNow(const LocalDateTime& now);
  void seedRandom(std::uint32_t seed);
  // Every later createGuid() returns this one.
  void setGuid(const Guid& guid);
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
  std::string systemErrorText(int /*ioCode*/) override { return systemErrorText_; }
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

  // The host path behind a Windows path; empty when its drive is not mapped.
  std::filesystem::path hostPath(const std::string& windowsPath) const;

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
  DriveType driveType(const std::string& root) override;
  std::string currentDirectory() override;
  // Made in portable code from the current directory set here (path::fullPathIn).
  std::string fullPath(const std::string& path) override;
  // The host folder's real path mapped back through the drive table: a drive
  // mapped onto a folder inside another drive's folder gives the path on that
  // other drive. Of the drives whose folders hold it, the one with the shortest
  // folder wins, C: first when two have the same.
  std::optional<std::string> canonicalDirectory(const std::string& path) override;
  bool directoryExists(const std::string& path) override;
  bool fileExists(const std::string& path) override;
  void createDirectory(const std::string& path) override;
  std::vector<DirEntry> listDirectory(const std::string& pattern) override;
  // The folder's entries read and ordered as listDirectory() has them (the host
  // keeps no order of its own), without the read-only bit, which would take a
  // look at every entry.
  void forEachEntry(const std::string& pattern, const EntryVisitor& visit) override;
  std::unique_ptr<OutputFile> createFile(const std::string& path) override;
  std::unique_ptr<InputFile> openFile(const std::string& path) override;
  void replaceFile(const std::string& source, const std::string& target) override;
  bool removeFile(const std::string& path) noexcept override;
  bool removeDirectory(const std::string& path) noexcept override;
  std::optional<std::uint64_t> fileSize(const std::string& path) override;
  void startWindowed(const std::string& commandLine, int showMode) override;
  void openLink(const std::string& target) override;
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
  bool removeFileAtRestart(const std::string& path) noexcept override;
  // Made as createDirectory() makes one, and recorded with whether it was restricted.
  bool createStagingFolder(const std::string& path) override;
  // The file and its folder are held (as holdFile() holds one) until the hold ends.
  std::unique_ptr<FileHold> writeHeldFile(const std::string& path,
                                          const std::vector<std::uint8_t>& bytes) override;
  bool runsElevated() override { return elevated_; }
  // Recorded in windowedStarts() as the desktop user's; false without a desktop shell.
  bool startWindowedAsDesktopUser(const std::string& commandLine, int showMode) override;
  std::unique_ptr<OutputFile> appendFile(const std::string& path) override;
  void writeRegistryValues(const std::string& key, const std::vector<RegistryValue>& values) override;
  std::optional<std::string> readRegistryText(const std::string& key, const std::string& name) override;
  bool removeRegistryKey(const std::string& key) noexcept override;
  // A clock of its own that only sleep() moves, so waits take no real time.
  std::uint64_t tickCount() override { return ticks_; }
  void sleep(int milliseconds) override { ticks_ += static_cast<std::uint64_t>(milliseconds); }
  Guid createGuid() override;
  LocalDateTime now() override;
  std::uint32_t random(std::uint32_t range) override;
  int compareTextInsensitive(const std::string& a, const std::string& b) override;

 private:
  struct Drive {
    std::filesystem::path folder;  // empty: a drive without a medium
    DriveType type = DriveType::Fixed;
  };
  // A Windows path taken apart: its drive letter and its components, with "."
  // and ".." already applied.
  struct WindowsPath {
    char drive = 0;
    std::vector<std::string> components;
  };

  std::optional<WindowsPath> parse(const std::string& windowsPath) const;
  // Opens the file with fopen's mode, counted as a change.
  std::unique_ptr<OutputFile> openOutput(const std::string& path, const char* mode);
  std::filesystem::path hostPath(const WindowsPath& path) const;
  std::string key(const std::string& windowsPath) const;
  std::vector<DirEntry> listing(const std::string& pattern, bool readOnlyBit) const;
  bool readFolder(const WindowsPath& path, std::string_view pattern, bool readOnlyBit,
                  std::vector<DirEntry>& entries) const;
  void markHidden(const WindowsPath& folder, std::vector<DirEntry>& entries) const;
  std::map<char, Drive> drives_;
  std::map<ShellFolder, std::optional<std::string>> shellFolders_;
  std::string currentDirectory_ = "C:\\";
  std::optional<LocalDateTime> now_;
  std::optional<Guid> guid_;
  std::mt19937 random_{20061208u};
  std::mt19937_64 guidRandom_;
  struct Refusal {
    int ioCode = 0;
    int remaining = -1;  // -1: for ever
  };
  std::map<std::string, Refusal> refusedReplacements_;  // keyed by key(target)
  std::uint64_t ticks_ = 0;
  std::set<std::string> hidden_;                  // keyed by key(path)
  std::map<std::string, std::size_t> diskSpace_;  // keyed by key(path)
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
  std::set<std::string> heldFiles_;  // keyed by key(path)
  std::string systemErrorText_;
  std::vector<StagingFolder> stagingFolders_;
  bool elevated_ = false;
  bool desktopShell_ = true;
  // Counts a change: raises, or answers false, when it is the one to refuse.
  void countChange();
  bool changeAllowed() noexcept;
  int changesCounted_ = 0;
  int refusedChange_ = 0;
  std::map<std::string, std::vector<RegistryValue>> registry_;  // keyed by the lower-cased key
};

}  // namespace vorpane::platform
