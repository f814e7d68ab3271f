#pragma once
// The host's file system seen through Windows drives: Windows paths mapped onto
// host folders the way Wine's drive table maps them (C: onto a folder of one's
// own), with the host's clock and a settable one, randomness and GUIDs. For the
// native tools; the tests use a double built on it (tests/support/FakePlatform).
// Symbolic links in the host folders are listed as reparse points, as Windows
// lists junctions and links.
//
// What a plain host has no sense of (a registry, Windows programs to start,
// shell links, rights, a desktop shell) is answered plainly: with the
// interface's own answer for "there is none" where it has one (no shell
// folder, no elevation, no registry value), else with an error saying so.

#include <filesystem>
#include <map>
#include <random>

#include "platform/Platform.h"

namespace vorpane::platform {

// The runtime's I/O code for a host error number (errno), as the same failure
// would be reported on Windows: ENOENT -> 3, EACCES -> 5, ENOSPC -> 101, ...
int ioCodeFromErrno(int error);

class HostFileSystem : public Platform {
 public:
  // With no drives mapped; the drives needed are mapped one by one.
  HostFileSystem();

  // --- configuration -------------------------------------------------------------
  void mapDrive(char letter, const std::filesystem::path& hostFolder, DriveType type = DriveType::Fixed);
  void unmapDrive(char letter);
  // A letter that is not mapped becomes a drive of that type without a medium.
  void setDriveType(char letter, DriveType type);
  // "C:\" until set.
  void setCurrentDirectory(const std::string& path);
  // now() answers this from now on instead of the host's clock.
  void setNow(const LocalDateTime& now);
  void seedRandom(std::uint32_t seed);
  // Every later createGuid() returns this one.
  void setGuid(const Guid& guid);

  // The host path behind a Windows path; empty when its drive is not mapped.
  std::filesystem::path hostPath(const std::string& windowsPath) const;

  // --- Platform: drives, directories and files -------------------------------------
  // None: the host has no shell folders.
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
  // The host's rename: the target is the old file or the new one, never a mixture.
  void replaceFile(const std::string& source, const std::string& target) override;
  bool removeFile(const std::string& path) noexcept override;
  bool removeDirectory(const std::string& path) noexcept override;
  std::optional<std::uint64_t> fileSize(const std::string& path) override;
  // Appended to as any host file; nothing keeps others from writing it meanwhile.
  std::unique_ptr<OutputFile> appendFile(const std::string& path) override;
  // Made as createDirectory() makes one: the host never runs elevated.
  bool createStagingFolder(const std::string& path) override;

  // --- Platform: what the host has no sense of ---------------------------------------
  // Raise std::runtime_error: no Windows program, link or shell link here.
  void startWindowed(const std::string& commandLine, int showMode) override;
  void openLink(const std::string& target) override;
  void createShortcut(const ShortcutSpec& shortcut) override;
  // None: no shell link can be read.
  std::optional<std::string> shortcutTarget(const std::string& linkPath) override;
  // Raise std::runtime_error: the host tool is not a Windows program.
  std::string ownProgramPath() override;
  std::uint32_t processId() override;
  // None: the host names no temporary folder on a Windows drive.
  std::optional<std::string> temporaryFolder() override;
  // false: nothing is started.
  bool startInFolder(const std::string& commandLine, const std::string& workingDirectory) override;
  // true at once: there is no Windows process to wait for.
  bool waitForProcessEnd(std::uint32_t processId, int timeoutMilliseconds) override;
  // false: no program holds a file the way Windows holds a running program's.
  bool fileInUse(const std::string& path) override;
  // false: the host has no removal at the next start.
  bool removeFileAtRestart(const std::string& path) noexcept override;
  // Raises std::runtime_error: the host cannot hold a file against other programs.
  std::unique_ptr<FileHold> writeHeldFile(const std::string& path,
                                          const std::vector<std::uint8_t>& bytes) override;
  bool runsElevated() override;
  // false: there is no desktop shell.
  bool startWindowedAsDesktopUser(const std::string& commandLine, int showMode) override;
  // Raises std::runtime_error: the host has no registry. Reading finds no value,
  // removing finds no key (true).
  void writeRegistryValues(const std::string& key, const std::vector<RegistryValue>& values) override;
  std::optional<std::string> readRegistryText(const std::string& key, const std::string& name) override;
  bool removeRegistryKey(const std::string& key) noexcept override;

  // --- Platform: identity, time, randomness, text -------------------------------------
  // The host's steady clock, and a real sleep.
  std::uint64_t tickCount() override;
  void sleep(int milliseconds) override;
  Guid createGuid() override;
  LocalDateTime now() override;
  std::uint32_t random(std::uint32_t range) override;
  int compareTextInsensitive(const std::string& a, const std::string& b) override;

 protected:
  // The form a Windows path takes as the key of a per-path setting: the drive
  // letter and the components, lower-cased, with "." and ".." applied and a
  // relative path taken in the current directory ("c:\dir\file").
  std::string pathKey(const std::string& windowsPath) const;

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
  // Opens the file with fopen's mode.
  std::unique_ptr<OutputFile> openOutput(const std::string& path, const char* mode);
  std::filesystem::path hostPath(const WindowsPath& path) const;
  std::vector<DirEntry> listing(const std::string& pattern, bool readOnlyBit) const;
  bool readFolder(const WindowsPath& path, std::string_view pattern, bool readOnlyBit,
                  std::vector<DirEntry>& entries) const;
  std::map<char, Drive> drives_;
  std::string currentDirectory_ = "C:\\";
  std::optional<LocalDateTime> now_;
  std::optional<Guid> guid_;
  std::mt19937 random_{20061208u};
  std::mt19937_64 guidRandom_;
};

}  // namespace vorpane::platform
