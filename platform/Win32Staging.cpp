// Staging a program to run from, so that no other program can put its own in
// its place: a folder only administrators may change (when elevated), a file
// written anew and held, with its folder, against writing, removal and
// renaming from the moment its bytes are checked until the hold ends.

#include <windows.h>
// After windows.h, on which it builds.
#include <sddl.h>

#include <algorithm>
#include <stdexcept>

#include "platform/Win32Handles.h"
#include "platform/Win32Platform.h"

namespace vorpane::platform {

namespace {

using handles::FileHandle;

// Administrators and the system may do anything, other users only read and
// start what is there; nothing is inherited from the temporary folder, whose
// list lets the user's own programs write. The owner is Administrators, so
// the user keeps no implicit right to change the list either.
constexpr char kAdministratorsOnly[] = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;GRGX;;;BU)";

std::string folderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

// Others may read and list, but neither remove nor rename the folder while
// the handle is open.
FileHandle holdFolder(const std::string& folder) {
  FileHandle handle(CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.valid()) Win32Platform::raiseLastError();
  return handle;
}

// No one else may even read the file while it is written: it is not yet what
// it is meant to be.
void writeNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  FileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) Win32Platform::raiseLastError();
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    if (!WriteFile(file.get(), bytes.data() + done, piece, &written, nullptr) || written == 0)
      Win32Platform::raiseLastError();
    done += written;
  }
  if (!FlushFileBuffers(file.get())) Win32Platform::raiseLastError();
  if (!file.close()) Win32Platform::raiseLastError();
}

// Opened for reading, starting and its one rename, shared for nothing but
// reading: no one else can write, remove or rename it while the handle is
// open. A program that opened it for writing since it was written makes this
// fail.
FileHandle openDenyingChanges(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) Win32Platform::raiseLastError();
  return file;
}

// Through the held handle itself, so the file is never unheld under its final
// name; never over a file that is there.
void renameHeld(HANDLE file, const std::string& target) {
  const int length = MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, nullptr, 0);
  if (length <= 0) Win32Platform::raiseLastError();
  std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFO) +
                                   sizeof(wchar_t) * static_cast<std::size_t>(length));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = FALSE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(sizeof(wchar_t) * static_cast<std::size_t>(length - 1));
  MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, rename->FileName, length);
  if (!SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())))
    Win32Platform::raiseLastError();
}

bool readsBackAs(HANDLE file, const std::vector<std::uint8_t>& bytes) {
  std::vector<std::uint8_t> read(bytes.size() + 1);
  std::size_t done = 0;
  for (;;) {
    DWORD got = 0;
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(read.size() - done, 1u << 20));
    if (!ReadFile(file, read.data() + done, piece, &got, nullptr)) return false;
    if (got == 0 || (done += got) == read.size()) break;
  }
  return done == bytes.size() && std::equal(bytes.begin(), bytes.end(), read.begin());
}

class Win32FileHold final : public FileHold {
 public:
  Win32FileHold(FileHandle folder, FileHandle file) : folder_(std::move(folder)), file_(std::move(file)) {}

 private:
  FileHandle folder_;
  FileHandle file_;
};

}  // namespace

const char* Win32Platform::stagingFolderSecurity() { return kAdministratorsOnly; }

bool Win32Platform::createStagingFolder(const std::string& path) {
  if (!runsElevated()) return CreateDirectoryA(path.c_str(), nullptr) != 0;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kAdministratorsOnly, SDDL_REVISION_1, &descriptor,
                                                            nullptr))
    return false;
  const handles::LocalMemory owned(descriptor);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  return CreateDirectoryA(path.c_str(), &attributes) != 0;
}

// The file takes its name only once it is held and checked: a program that
// watches for new programs by their names never sees it unheld. Between
// writing and holding, another program may still have had a moment with the
// file under its first name; reading it back catches that.
std::unique_ptr<FileHold> Win32Platform::writeHeldFile(const std::string& path,
                                                       const std::vector<std::uint8_t>& bytes) {
  FileHandle folder = holdFolder(folderOf(path));
  const std::string written = path + ".partial";
  writeNewFile(written, bytes);
  FileHandle file = openDenyingChanges(written);
  if (!readsBackAs(file.get(), bytes)) {
    file.reset();
    DeleteFileA(written.c_str());
    throw std::runtime_error("The file " + written + " was changed by another program as it was written");
  }
  renameHeld(file.get(), path);
  return std::make_unique<Win32FileHold>(std::move(folder), std::move(file));
}

}  // namespace vorpane::platform
