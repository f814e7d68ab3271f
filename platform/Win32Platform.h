#pragma once
// The platform of the shipped program: every operation is the Windows call that
// does it, with failures turned into the runtime's I/O errors. COM must already
// be initialised on the calling thread for shortcuts and GUIDs; the program does
// that once as it starts.

#include <random>

#include "platform/Platform.h"

namespace vorpane::platform {

class Win32Platform : public Platform {
 public:
  Win32Platform();

  std::optional<std::string> shellFolder(ShellFolder folder) override;
  DriveType driveType(const std::string& root) override;
  std::string currentDirectory() override;
  // GetFullPathNameW.
  std::string fullPath(const std::string& path) override;
  // GetFinalPathNameByHandleW on the directory opened for its attributes; a
  // path the program cannot use (a volume's GUID path, a share) leaves the full
  // path as it was given. Wine 8 names a folder by the drive whose root lies
  // nearest to it: "C:\Sub\x" and "S:\x" are both "S:\x" when S: is C:\Sub.
  std::optional<std::string> canonicalDirectory(const std::string& path) override;
  bool directoryExists(const std::string& path) override;
  bool fileExists(const std::string& path) override;
  void createDirectory(const std::string& path) override;
  std::vector<DirEntry> listDirectory(const std::string& pattern) override;
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
  std::string ownProgramPath() override;
  std::uint32_t processId() override;
  std::optional<std::string> temporaryFolder() override;
  bool startInFolder(const std::string& commandLine, const std::string& workingDirectory) override;
  bool waitForProcessEnd(std::uint32_t processId, int timeoutMilliseconds) override;
  bool fileInUse(const std::string& path) override;
  bool removeFileAtRestart(const std::string& path) noexcept override;
  bool createStagingFolder(const std::string& path) override;
  std::unique_ptr<FileHold> writeHeldFile(const std::string& path,
                                          const std::vector<std::uint8_t>& bytes) override;
  bool runsElevated() override;
  bool startWindowedAsDesktopUser(const std::string& commandLine, int showMode) override;
  std::unique_ptr<OutputFile> appendFile(const std::string& path) override;
  void writeRegistryValues(const std::string& key, const std::vector<RegistryValue>& values) override;
  std::optional<std::string> readRegistryText(const std::string& key, const std::string& name) override;
  bool removeRegistryKey(const std::string& key) noexcept override;
  std::uint64_t tickCount() override;
  void sleep(int milliseconds) override;
  Guid createGuid() override;
  LocalDateTime now() override;
  std::uint32_t random(std::uint32_t range) override;
  int compareTextInsensitive(const std::string& a, const std::string& b) override;
  std::string systemErrorText(int ioCode) override;

  // The owner and access list of a staging folder made while elevated, in the
  // system's text form: administrators and the system may change it, no one else.
  static const char* stagingFolderSecurity();

  // The runtime's I/O error code for a Windows error code.
  static int ioCodeFor(unsigned long windowsError);
  // Raises IoError for the calling thread's last Windows error.
  [[noreturn]] static void raiseLastError();

 private:
  std::mt19937 random_;
};

}  // namespace vorpane::platform
