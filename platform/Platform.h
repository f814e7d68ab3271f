#pragma once
// Everything the operating system gives the installer, behind one interface.
// The shipped program uses the Win32 implementation; native tools use the host
// file system (HostFileSystem), which maps drive letters onto host folders, and
// the tests a double built on it (tests/support/FakePlatform).
//
// Paths crossing this interface are always Windows paths ("C:\Vorpane\Vorpane.Exe"),
// in the system's ANSI code page, whatever the implementation.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IoError.h"

namespace vorpane::platform {

// Numbering as the operating system's drive-type query returns it.
enum class DriveType : int {
  Unknown = 0,
  NoRootDir = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6,
};

// Shell folder numbers as the shell's folder query takes them.
enum class ShellFolder : int {
  Programs = 2,           // the user's start-menu programs folder
  DesktopDirectory = 16,  // the user's desktop folder
  ProgramFiles = 38,      // the program-files folder
};

// File attribute bits, numbered as the operating system reports them.
namespace attr {
inline constexpr std::uint32_t ReadOnly = 0x01;
inline constexpr std::uint32_t Hidden = 0x02;
inline constexpr std::uint32_t System = 0x04;
inline constexpr std::uint32_t Directory = 0x10;
inline constexpr std::uint32_t Archive = 0x20;
// Junctions and symbolic links: a directory carrying it may lead back to one of
// its own ancestors.
inline constexpr std::uint32_t ReparsePoint = 0x400;
}  // namespace attr

struct DirEntry {
  std::string name;  // as the file system reports it, without the directory
  std::uint32_t attributes = 0;

  bool isDirectory() const { return (attributes & attr::Directory) != 0; }
  bool isHidden() const { return (attributes & attr::Hidden) != 0; }
  bool isReparsePoint() const { return (attributes & attr::ReparsePoint) != 0; }
};

// One entry of an enumeration in progress; the name is valid only during the
// call that receives it.
struct EntryView {
  std::string_view name;
  std::uint32_t attributes = 0;

  bool isDirectory() const { return (attributes & attr::Directory) != 0; }
  bool isHidden() const { return (attributes & attr::Hidden) != 0; }
  bool isReparsePoint() const { return (attributes & attr::ReparsePoint) != 0; }
};
using EntryVisitor = std::function<void(const EntryView&)>;

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::uint8_t data4[8] = {};
};

// A local calendar date and wall-clock time.
struct LocalDateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// One named value under a key of the machine's registry: text, or a 32-bit number.
struct RegistryValue {
  std::string name;
  std::string text;
  std::optional<std::uint32_t> number;  // set: a number value, and text is unused
  friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

struct ShortcutSpec {
  std::string target;       // the program the link starts
  std::string linkPath;     // the .Lnk file to write
  std::string description;  // shown as the link's comment
  std::string arguments;    // passed to the target
  friend bool operator==(const ShortcutSpec&, const ShortcutSpec&) = default;
};

// A file open for writing. Writes may be buffered; every failure raises IoError
// with the runtime's code. close() flushes and must be called for the data to count:
// destroying an unclosed file discards the handle without reporting errors.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual void write(const std::uint8_t* data, std::size_t size) = 0;
  // Hands what is buffered to the system, so it survives the program's end.
  virtual void flush() {}
  virtual void close() = 0;
};

// A file open for reading; read() returns how many bytes it delivered (0 at the end).
class InputFile {
 public:
  virtual ~InputFile() = default;
  virtual std::size_t read(std::uint8_t* data, std::size_t size) = 0;
};

// What keeps a file as it was written; ending it lets others change the file again.
class FileHold {
 public:
  virtual ~FileHold() = default;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- shell folders and drives -------------------------------------------------
  // The folder's path without a trailing backslash, or nothing when the shell
  // does not know it.
  virtual std::optional<std::string> shellFolder(ShellFolder folder) = 0;
  // The type of the drive whose root is given as "X:\".
  virtual DriveType driveType(const std::string& root) = 0;
  virtual std::string currentDirectory() = 0;

  // --- directories and files ---------------------------------------------------
  // The full path the system makes of a path (see path::fullPathIn): "." and
  // ".." applied, separators collapsed, the dots and blanks the system drops
  // dropped, a relative path taken in the current directory. Raises IoError
  // when the system cannot make one.
  virtual std::string fullPath(const std::string& path) = 0;
  // An existing directory's path as the file system knows it, whatever drive
  // it was reached through: through a drive that is only another name for a
  // folder, that folder's path on its own drive. No trailing backslash but a
  // root's. Nothing when there is no such directory or it cannot be opened.
  virtual std::optional<std::string> canonicalDirectory(const std::string& path) = 0;
  virtual bool directoryExists(const std::string& path) = 0;
  virtual bool fileExists(const std::string& path) = 0;
  // Creates one directory level; raises IoError when it cannot.
  virtual void createDirectory(const std::string& path) = 0;
  // The entries matching a pattern such as "C:\dir\*.*" or "C:\dir\Vorpane.Dat",
  // with every attribute; an empty list when the directory cannot be read.
  virtual std::vector<DirEntry> listDirectory(const std::string& pattern) = 0;
  // The same entries in the same order, handed to the visitor one by one as the
  // enumeration reads them, so that walking a whole drive keeps nothing per
  // entry. The directory, hidden and reparse-point bits are always there; an
  // implementation may leave out the read-only bit where it costs a look at
  // each entry (the host does). Nothing is visited when the directory cannot be
  // read; an exception from the visitor ends the enumeration and reaches the
  // caller.
  virtual void forEachEntry(const std::string& pattern, const EntryVisitor& visit) {
    for (const DirEntry& entry : listDirectory(pattern)) visit(EntryView{entry.name, entry.attributes});
  }
  // Creates (or truncates) a file for writing; others may read it meanwhile.
  virtual std::unique_ptr<OutputFile> createFile(const std::string& path) = 0;
  virtual std::unique_ptr<InputFile> openFile(const std::string& path) = 0;
  // Puts source in the place of target, replacing a file that is there; raises
  // IoError (target untouched) when the target cannot be replaced, for example
  // because it is a running program.
  virtual void replaceFile(const std::string& source, const std::string& target) = 0;
  // Removes a file; reports false instead of raising, for clean-up paths and
  // removals that list what they could not remove.
  virtual bool removeFile(const std::string& path) noexcept = 0;
  // Removes a directory only when it is empty; false when it is not removed.
  virtual bool removeDirectory(const std::string& path) noexcept = 0;
  // The size of a file in bytes; nothing when it is missing, is a directory or
  // cannot be read.
  virtual std::optional<std::uint64_t> fileSize(const std::string& path) = 0;

  // --- processes, links and shortcuts -------------------------------------------
  // Starts a program from a command line with a show mode (3 = maximised);
  // the result is not reported because the wizard never examines it.
  virtual void startWindowed(const std::string& commandLine, int showMode) = 0;
  // Opens a document or link (mailto:, http:) with the shell, show mode normal.
  virtual void openLink(const std::string& target) = 0;
  // Writes a shell link file; raises std::runtime_error when the shell-link
  // object or its interfaces cannot be had, stays silent when saving fails.
  virtual void createShortcut(const ShortcutSpec& shortcut) = 0;
  // The program a shortcut file starts, or nothing when it cannot be read.
  virtual std::optional<std::string> shortcutTarget(const std::string& linkPath) = 0;

  // --- rights and the desktop user --------------------------------------------------
  // Whether this program runs with administrator rights that the desktop
  // user's own programs do not have (an elevated token).
  virtual bool runsElevated() = 0;
  // Starts a program as a child of the desktop shell, so that it runs with the
  // desktop user's rights and not this program's, with a show mode as for
  // startWindowed(); false, with nothing started, when there is no desktop
  // shell or it cannot be asked.
  virtual bool startWindowedAsDesktopUser(const std::string& commandLine, int showMode) = 0;
  // Opens a file for appending, making it when it is missing; other programs
  // may read and append to it meanwhile, as two setup programs share one log.
  // Raises IoError when it cannot.
  virtual std::unique_ptr<OutputFile> appendFile(const std::string& path) = 0;

  // --- the running program --------------------------------------------------------
  // The full path of the running program's own file.
  virtual std::string ownProgramPath() = 0;
  virtual std::uint32_t processId() = 0;
  // The folder for temporary files, without a trailing backslash, or nothing
  // when the system names none.
  virtual std::optional<std::string> temporaryFolder() = 0;
  // Starts a program in the given working directory without waiting for it;
  // false when it could not be started.
  virtual bool startInFolder(const std::string& commandLine, const std::string& workingDirectory) = 0;
  // Waits until the process with that id has ended (at once when there is
  // none); false when it still runs after the time (negative: no limit).
  virtual bool waitForProcessEnd(std::uint32_t processId, int timeoutMilliseconds) = 0;
  // Whether another program holds the file so that it can be neither written
  // nor removed now, as a running program holds its own file.
  virtual bool fileInUse(const std::string& path) = 0;
  // Has the system remove the file when the machine next starts, as a running
  // program cannot remove itself; false when the system refuses.
  virtual bool removeFileAtRestart(const std::string& path) noexcept = 0;

  // --- staging a program to run from ----------------------------------------------
  // Makes a new folder (never one that is there already). When this program
  // runs elevated, only administrators and the system may change what is in
  // it; otherwise it is made as any folder. false when it cannot be made.
  virtual bool createStagingFolder(const std::string& path) = 0;
  // Writes a new file (never over one that is there) and holds it and its
  // folder until the hold ends: meanwhile no other program can write, remove or
  // rename either, though the file can be opened (openFile()) and started. The
  // file takes its name only once it is held; the hold is taken
  // only once the file reads back exactly as written. Raises IoError when the
  // file exists or cannot be written, std::runtime_error when it reads back otherwise.
  virtual std::unique_ptr<FileHold> writeHeldFile(const std::string& path,
                                                  const std::vector<std::uint8_t>& bytes) = 0;

  // --- the machine's registry ---------------------------------------------------
  // Keys are paths below the local machine's root ("Software\\Maker\\Product"),
  // in the native view of a 64-bit system.
  // Creates the key when it is missing and sets the values; raises IoError with
  // the system's code when it cannot.
  virtual void writeRegistryValues(const std::string& key, const std::vector<RegistryValue>& values) = 0;
  // A text value, or nothing when the key or the value is missing or not text.
  virtual std::optional<std::string> readRegistryText(const std::string& key, const std::string& name) = 0;
  // Removes the key with everything below it; true also when it was not there.
  virtual bool removeRegistryKey(const std::string& key) noexcept = 0;

  // --- identity, time, randomness, text -----------------------------------------
  // Milliseconds on a clock that only moves forward: for waiting, not for dates.
  virtual std::uint64_t tickCount() = 0;
  virtual void sleep(int milliseconds) = 0;
  virtual Guid createGuid() = 0;
  virtual LocalDateTime now() = 0;
  // A pseudo-random number 0..range-1 (0 when range is 0).
  virtual std::uint32_t random(std::uint32_t range) = 0;
  // The system's own words for the error behind a runtime I/O code, or nothing.
  virtual std::string systemErrorText(int /*ioCode*/) { return {}; }
  // Locale-aware, case-insensitive comparison: <0, 0, >0.
  virtual int compareTextInsensitive(const std::string& a, const std::string& b) = 0;
};

}  // namespace vorpane::platform
