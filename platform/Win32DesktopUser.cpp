// Rights and the desktop user: whether this program runs elevated, and starting
// a program with the desktop user's rights instead of this program's; and logs
// that two setup programs append to together.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Win32Handles.h"
#include "platform/Win32Platform.h"

namespace vorpane::platform {

namespace {

using handles::FileHandle;
using handles::KernelHandle;

// A file opened for appending only: the system puts every write at the end
// of the file as it is then, so two programs appending lines never overwrite
// each other's. Unbuffered: each line reaches the system as it is written.
class Win32AppendingFile final : public OutputFile {
 public:
  explicit Win32AppendingFile(FileHandle handle) : handle_(std::move(handle)) {}

  void write(const std::uint8_t* data, std::size_t size) override {
    if (!handle_.valid()) throw IoError(io::FileNotOpen);
    while (size > 0) {
      const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
      DWORD written = 0;
      if (!WriteFile(handle_.get(), data, piece, &written, nullptr)) Win32Platform::raiseLastError();
      // A write that takes less than it was given has run out of room.
      if (written < piece) throw IoError(io::DiskFull);
      data += written;
      size -= written;
    }
  }

  void close() override {
    if (!handle_.valid()) return;
    FileHandle handle = std::move(handle_);
    if (!FlushFileBuffers(handle.get())) Win32Platform::raiseLastError();
    if (!handle.close()) Win32Platform::raiseLastError();
  }

 private:
  FileHandle handle_;
};

// The attribute list of a process start, given back however the start ends.
class ProcThreadAttributes {
 public:
  explicit ProcThreadAttributes(DWORD count) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, count, 0, &size);
    storage_.resize(size);
    if (size != 0 && InitializeProcThreadAttributeList(list(), count, 0, &size)) initialised_ = true;
  }
  ~ProcThreadAttributes() {
    if (initialised_) DeleteProcThreadAttributeList(list());
  }
  ProcThreadAttributes(const ProcThreadAttributes&) = delete;
  ProcThreadAttributes& operator=(const ProcThreadAttributes&) = delete;

  bool valid() const { return initialised_; }
  LPPROC_THREAD_ATTRIBUTE_LIST list() {
    return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
  }

 private:
  std::vector<std::byte> storage_;
  bool initialised_ = false;
};

// The process of the desktop shell, opened so that programs can be started as
// its children; empty when there is no shell window or it may not be opened.
KernelHandle openDesktopShell() {
  HWND shellWindow = GetShellWindow();
  if (shellWindow == nullptr) return {};
  DWORD processId = 0;
  GetWindowThreadProcessId(shellWindow, &processId);
  if (processId == 0) return {};
  return KernelHandle(OpenProcess(PROCESS_CREATE_PROCESS, FALSE, processId));
}

}  // namespace

bool Win32Platform::runsElevated() {
  KernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size)) return false;
  return elevation.TokenIsElevated != 0;
}

// A child of the shell's process takes its token from that process, which is
// the desktop user's own, not from this program.
bool Win32Platform::startWindowedAsDesktopUser(const std::string& commandLine, int showMode) {
  const KernelHandle shell = openDesktopShell();
  if (!shell) return false;
  ProcThreadAttributes attributes(1);
  if (!attributes.valid()) return false;
  HANDLE parent = shell.get();
  if (!UpdateProcThreadAttribute(attributes.list(), 0, PROC_THREAD_ATTRIBUTE_PARENT_PROCESS, &parent,
                                 sizeof parent, nullptr, nullptr))
    return false;

  STARTUPINFOEXA startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = static_cast<WORD>(showMode);
  startup.lpAttributeList = attributes.list();
  std::string line = commandLine;  // CreateProcess may write into it
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, EXTENDED_STARTUPINFO_PRESENT, nullptr,
                      nullptr, &startup.StartupInfo, &started))
    return false;
  const KernelHandle process(started.hProcess);
  const KernelHandle thread(started.hThread);
  return true;
}

std::unique_ptr<OutputFile> Win32Platform::appendFile(const std::string& path) {
  FileHandle handle(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.valid()) Win32Platform::raiseLastError();
  return std::make_unique<Win32AppendingFile>(std::move(handle));
}

}  // namespace vorpane::platform
