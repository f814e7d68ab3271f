#include "platform/Win32Platform.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "platform/Win32Handles.h"

// The headers declare the registry's 64-bit view flag only for Windows 10
// targets; the build targets Windows 7 for everything else it calls.
#ifndef RRF_SUBKEY_WOW6464KEY
#define RRF_SUBKEY_WOW6464KEY 0x00010000
#endif

namespace vorpane::platform {

namespace {

using handles::ComPtr;
using handles::FileHandle;

#ifndef FIND_FIRST_EX_LARGE_FETCH
#define FIND_FIRST_EX_LARGE_FETCH 2
#endif

// Opens a directory enumeration. It asks for the cheapest form the system has:
// names and attributes without the short names, read in large batches; a system
// that refuses that form gets the classic enumeration.
handles::FindHandle openEnumeration(const std::string& pattern, WIN32_FIND_DATAA& data) {
  HANDLE handle = FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
  if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER) {
    handle = FindFirstFileA(pattern.c_str(), &data);
  }
  return handles::FindHandle(handle);
}

std::string hresultText(HRESULT result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
  return text;
}

// Text in the ANSI code page as the wide text COM file names take.
std::wstring widen(const std::string& text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

// Text in the ANSI code page, as paths cross the platform, from the system's
// wide text; nothing when a character has no form there, as such a path could
// not be handed back to the system.
std::optional<std::string> narrowed(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  // The UTF-8 code page has a form for every character and takes no question about them.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL lost = FALSE;
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, utf8 ? nullptr : &lost);
  if (length <= 0 || lost) return std::nullopt;
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

// Calls a system function that fills a wide buffer and returns the length it
// wrote, or the size it needs when the buffer is too small, or 0 on failure.
template <class Fill>
std::optional<std::wstring> wideAnswer(Fill fill) {
  std::wstring text(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = fill(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return std::nullopt;
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length);
  }
}

// A directory's path as the system answers it for an open handle, from
// "\\?\X:\..." the drive path; nothing when the answer is no drive path.
std::optional<std::wstring> finalDrivePath(HANDLE directory) {
  const auto answer = wideAnswer([&](wchar_t* buffer, DWORD size) {
    return GetFinalPathNameByHandleW(directory, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  });
  constexpr std::wstring_view kLocalPrefix = L"\\\\?\\";
  if (!answer || answer->compare(0, kLocalPrefix.size(), kLocalPrefix) != 0) return std::nullopt;
  std::wstring drivePath = answer->substr(kLocalPrefix.size());
  // "\\?\UNC\server\share" and "\\?\Volume{...}" fail here.
  const bool driveRooted =
      drivePath.size() >= 3 && drivePath[1] == L':' && drivePath[2] == L'\\' &&
      ((drivePath[0] >= L'A' && drivePath[0] <= L'Z') || (drivePath[0] >= L'a' && drivePath[0] <= L'z'));
  if (!driveRooted) return std::nullopt;
  return drivePath;
}

// The largest piece one ReadFile or WriteFile call can take.
DWORD pieceSize(std::size_t remaining) {
  return static_cast<DWORD>(std::min<std::size_t>(remaining, std::numeric_limits<DWORD>::max()));
}

// Writes collect in a buffer so that the many small writes of the data file
// and the extraction's chunks cost few system calls.
class Win32OutputFile : public OutputFile {
 public:
  static constexpr std::size_t kBufferSize = 64 * 1024;

  explicit Win32OutputFile(FileHandle handle) : handle_(std::move(handle)) { buffer_.reserve(kBufferSize); }

  void write(const std::uint8_t* data, std::size_t size) override {
    if (!handle_.valid()) throw IoError(io::FileNotOpen);
    if (buffer_.size() + size > kBufferSize) flushBuffer();
    if (size >= kBufferSize) {
      writeThrough(data, size);
    } else {
      buffer_.insert(buffer_.end(), data, data + size);
    }
  }

  void flush() override {
    if (handle_.valid()) flushBuffer();
  }

  void close() override {
    if (!handle_.valid()) return;
    // The handle goes whatever fails below; an error is still reported.
    FileHandle handle = std::move(handle_);
    std::vector<std::uint8_t> pending = std::exchange(buffer_, {});
    writeAll(handle.get(), pending.data(), pending.size());
    if (!FlushFileBuffers(handle.get())) Win32Platform::raiseLastError();
    if (!handle.close()) Win32Platform::raiseLastError();
  }

 private:
  void flushBuffer() {
    writeThrough(buffer_.data(), buffer_.size());
    buffer_.clear();
  }

  void writeThrough(const std::uint8_t* data, std::size_t size) { writeAll(handle_.get(), data, size); }

  static void writeAll(HANDLE handle, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
      DWORD piece = pieceSize(size);
      DWORD written = 0;
      if (!WriteFile(handle, data, piece, &written, nullptr)) Win32Platform::raiseLastError();
      // A write that takes less than it was given has run out of room.
      if (written < piece) throw IoError(io::DiskFull);
      data += written;
      size -= written;
    }
  }

  FileHandle handle_;
  std::vector<std::uint8_t> buffer_;
};

class Win32InputFile : public InputFile {
 public:
  explicit Win32InputFile(FileHandle handle) : handle_(std::move(handle)) {}

  std::size_t read(std::uint8_t* data, std::size_t size) override {
    DWORD received = 0;
    if (!ReadFile(handle_.get(), data, pieceSize(size), &received, nullptr)) Win32Platform::raiseLastError();
    return received;
  }

 private:
  FileHandle handle_;
};

std::uint32_t entropySeed() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  std::seed_seq seed{static_cast<std::uint32_t>(counter.LowPart),
                     static_cast<std::uint32_t>(counter.HighPart), static_cast<std::uint32_t>(GetTickCount()),
                     static_cast<std::uint32_t>(GetCurrentProcessId())};
  std::uint32_t value = 0;
  seed.generate(&value, &value + 1);
  return value;
}

}  // namespace

void Win32Platform::raiseLastError() { throw IoError(ioCodeFor(GetLastError())); }

int Win32Platform::ioCodeFor(unsigned long windowsError) {
  switch (windowsError) {
    case ERROR_FILE_NOT_FOUND:
      return io::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
      return io::InvalidFilename;
    case ERROR_TOO_MANY_OPEN_FILES:
      return io::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
      return io::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return io::DiskFull;
    default:
      return static_cast<int>(windowsError);
  }
}

Win32Platform::Win32Platform() : random_(entropySeed()) {}

std::optional<std::string> Win32Platform::shellFolder(ShellFolder folder) {
  char path[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, static_cast<int>(folder), nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) {
    return std::nullopt;
  }
  std::string result = path;
  // A drive root keeps its backslash: "C:" alone would mean that drive's current directory.
  if (result.size() > 3 && result.back() == '\\') result.pop_back();
  return result;
}

DriveType Win32Platform::driveType(const std::string& root) {
  return static_cast<DriveType>(GetDriveTypeA(root.c_str()));
}

std::string Win32Platform::currentDirectory() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(path.size()), path.data());
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(length);  // too small: length is the size needed
  }
}

std::string Win32Platform::fullPath(const std::string& path) {
  const std::wstring wide = widen(path);
  SetLastError(ERROR_SUCCESS);
  const auto full = wideAnswer(
      [&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(wide.c_str(), size, buffer, nullptr); });
  if (!full) {
    // Wine fails an empty path without saying why.
    const DWORD error = GetLastError();
    throw IoError(ioCodeFor(error != ERROR_SUCCESS ? error : ERROR_INVALID_NAME));
  }
  auto text = narrowed(*full);
  if (!text) throw IoError(ERROR_INVALID_NAME);
  return *text;
}

std::optional<std::string> Win32Platform::canonicalDirectory(const std::string& path) {
  // Opening for attributes alone needs no right to the directory's contents;
  // the backup flag is what lets a directory be opened at all.
  const FileHandle directory(CreateFileW(widen(path).c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!directory.valid()) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(directory.get(), &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return std::nullopt;
  if (const auto drivePath = finalDrivePath(directory.get())) {
    if (auto text = narrowed(*drivePath)) return text;
  }
  std::string full = fullPath(path);
  if (full.size() > 3 && full.back() == '\\') full.pop_back();
  return full;
}

bool Win32Platform::directoryExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Platform::fileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32Platform::createDirectory(const std::string& path) {
  if (!CreateDirectoryA(path.c_str(), nullptr)) raiseLastError();
}

std::vector<DirEntry> Win32Platform::listDirectory(const std::string& pattern) {
  std::vector<DirEntry> entries;
  forEachEntry(pattern, [&](const EntryView& entry) {
    entries.push_back(DirEntry{std::string(entry.name), entry.attributes});
  });
  return entries;
}

// Attribute bits pass through as the system reports them, the reparse-point bit
// of junctions and links included.
void Win32Platform::forEachEntry(const std::string& pattern, const EntryVisitor& visit) {
  WIN32_FIND_DATAA data{};
  const handles::FindHandle find = openEnumeration(pattern, data);
  if (!find.valid()) return;
  do {
    visit(EntryView{data.cFileName, static_cast<std::uint32_t>(data.dwFileAttributes)});
  } while (FindNextFileA(find.get(), &data) != 0);
}

std::unique_ptr<OutputFile> Win32Platform::createFile(const std::string& path) {
  FileHandle handle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.valid()) raiseLastError();
  return std::make_unique<Win32OutputFile>(std::move(handle));
}

std::unique_ptr<InputFile> Win32Platform::openFile(const std::string& path) {
  // Reading keeps no one from changing or removing the file, so it opens also
  // what is held for its rename, such as a staged program and its key.
  FileHandle handle(CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.valid()) raiseLastError();
  return std::make_unique<Win32InputFile>(std::move(handle));
}

void Win32Platform::replaceFile(const std::string& source, const std::string& target) {
  if (!MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    raiseLastError();
  }
}

bool Win32Platform::removeFile(const std::string& path) noexcept { return DeleteFileA(path.c_str()) != 0; }

bool Win32Platform::removeDirectory(const std::string& path) noexcept {
  return RemoveDirectoryA(path.c_str()) != 0;
}

std::optional<std::uint64_t> Win32Platform::fileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void Win32Platform::startWindowed(const std::string& commandLine, int showMode) {
  WinExec(commandLine.c_str(), static_cast<UINT>(showMode));
}

void Win32Platform::openLink(const std::string& target) {
  ShellExecuteA(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Platform::createShortcut(const ShortcutSpec& shortcut) {
  ComPtr<IShellLinkA> link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(link.put()));
  if (FAILED(result)) {
    throw std::runtime_error("The shell link object for the shortcut " + shortcut.linkPath +
                             " could not be created (error " + hresultText(result) + ")");
  }
  ComPtr<IPersistFile> file;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()));
  if (FAILED(result)) {
    throw std::runtime_error("The shortcut " + shortcut.linkPath +
                             " cannot be saved: the shell link object " + "has no file interface (error " +
                             hresultText(result) + ")");
  }
  // A shortcut that cannot be written is not worth stopping the installation for.
  link->SetArguments(shortcut.arguments.c_str());
  link->SetDescription(shortcut.description.c_str());
  link->SetPath(shortcut.target.c_str());
  file->Save(widen(shortcut.linkPath).c_str(), FALSE);
}

std::optional<std::string> Win32Platform::shortcutTarget(const std::string& linkPath) {
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(link.put()))))
    return std::nullopt;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))))
    return std::nullopt;
  if (FAILED(file->Load(widen(linkPath).c_str(), STGM_READ))) return std::nullopt;
  char target[MAX_PATH] = {};
  // The raw path as saved: resolving it could search the disk for a moved target.
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return std::nullopt;
  return std::string(target);
}

std::string Win32Platform::ownProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    // A path that fills the buffer may have been cut off: try a larger one.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::uint32_t Win32Platform::processId() { return GetCurrentProcessId(); }

std::optional<std::string> Win32Platform::temporaryFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof path, path);
  if (length == 0 || length > MAX_PATH) return std::nullopt;
  std::string result(path, length);
  if (result.size() > 3 && result.back() == '\\') result.pop_back();
  return result;
}

bool Win32Platform::startInFolder(const std::string& commandLine, const std::string& workingDirectory) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string line = commandLine;  // CreateProcess may write into it
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, workingDirectory.c_str(),
                      &startup, &process))
    return false;
  const handles::KernelHandle thread(process.hThread), started(process.hProcess);
  return true;
}

bool Win32Platform::waitForProcessEnd(std::uint32_t processId, int timeoutMilliseconds) {
  const handles::KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  // No process to open: it has ended already.
  if (!process.valid()) return true;
  const DWORD timeout = timeoutMilliseconds < 0 ? INFINITE : static_cast<DWORD>(timeoutMilliseconds);
  return WaitForSingleObject(process.get(), timeout) == WAIT_OBJECT_0;
}

bool Win32Platform::fileInUse(const std::string& path) {
  // A running program's file cannot be opened for writing by anyone, nor can
  // a file another program holds without sharing it.
  const FileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !file.valid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

bool Win32Platform::removeFileAtRestart(const std::string& path) noexcept {
  return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

namespace {

// The 64-bit registry view also from a 32-bit build, where the system lists
// the programs installed for the whole machine.
constexpr REGSAM kNativeView = KEY_WOW64_64KEY;

}  // namespace

void Win32Platform::writeRegistryValues(const std::string& key, const std::vector<RegistryValue>& values) {
  HKEY opened = nullptr;
  LSTATUS status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE | kNativeView, nullptr, &opened, nullptr);
  if (status != ERROR_SUCCESS) throw IoError(ioCodeFor(static_cast<unsigned long>(status)));
  const handles::RegistryKey keyHandle(opened);
  for (const RegistryValue& value : values) {
    if (value.number) {
      const DWORD number = *value.number;
      status = RegSetValueExA(opened, value.name.c_str(), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&number), sizeof number);
    } else {
      status = RegSetValueExA(opened, value.name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.text.c_str()),
                              static_cast<DWORD>(value.text.size() + 1));
    }
    if (status != ERROR_SUCCESS) throw IoError(ioCodeFor(static_cast<unsigned long>(status)));
  }
}

std::optional<std::string> Win32Platform::readRegistryText(const std::string& key, const std::string& name) {
  DWORD size = 0;
  const DWORD flags = RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), flags, nullptr, nullptr, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  std::string text(size, '\0');
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), flags, nullptr, text.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  // The size counts the terminating zero; the text ends at the first one.
  text.resize(std::min<std::size_t>(size, text.find('\0')));
  return text;
}

bool Win32Platform::removeRegistryKey(const std::string& key) noexcept {
  HKEY opened = nullptr;
  LSTATUS status =
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0,
                    DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE | kNativeView, &opened);
  if (status == ERROR_FILE_NOT_FOUND) return true;
  if (status != ERROR_SUCCESS) return false;
  {
    const handles::RegistryKey keyHandle(opened);
    if (RegDeleteTreeA(opened, nullptr) != ERROR_SUCCESS) return false;
  }
  return RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), kNativeView, 0) == ERROR_SUCCESS;
}

std::uint64_t Win32Platform::tickCount() { return GetTickCount64(); }

std::string Win32Platform::systemErrorText(int ioCode) {
  // The runtime's codes are the system's, except its own disk-full code.
  const DWORD error = ioCode == io::DiskFull ? ERROR_DISK_FULL : static_cast<DWORD>(ioCode);
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      error, 0, text, sizeof text, nullptr);
  std::string result(text, length);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
    result.pop_back();
  return result;
}

void Win32Platform::sleep(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

Guid Win32Platform::createGuid() {
  GUID created{};
  HRESULT result = CoCreateGuid(&created);
  if (FAILED(result)) throw std::runtime_error("Could not create a GUID (error " + hresultText(result) + ")");
  Guid guid;
  guid.data1 = created.Data1;
  guid.data2 = created.Data2;
  guid.data3 = created.Data3;
  std::copy(std::begin(created.Data4), std::end(created.Data4), std::begin(guid.data4));
  return guid;
}

LocalDateTime Win32Platform::now() {
  SYSTEMTIME time{};
  GetLocalTime(&time);
  return LocalDateTime{time.wYear,   time.wMonth,  time.wDay,         time.wHour,
                       time.wMinute, time.wSecond, time.wMilliseconds};
}

std::uint32_t Win32Platform::random(std::uint32_t range) {
  if (range == 0) return 0;
  return std::uniform_int_distribution<std::uint32_t>(0, range - 1)(random_);
}

int Win32Platform::compareTextInsensitive(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) -
         2;
}

}  // namespace vorpane::platform
