// Checks the Windows platform against the real system calls, under Wine.
// test_platform.py maps the drives first: E: a hard disk to work on, D: a CD-ROM,
// N: a network drive, R: a floppy, M: a CD-ROM drive without a medium, L: only
// another name for the folder C:\Linked; Z: is not mapped. On E: it leaves a
// tree for the finder (see checkFinder). Prints one line per failed check and
// exits with 1 when any failed.

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <sddl.h>
#include <shlobj.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "finder/LIB_FindFiles.h"
#include "platform/Folders.h"
#include "platform/Win32Handles.h"
#include "platform/Win32Platform.h"
#include "platform/WindowsPath.h"

using namespace vorpane::platform;
using vorpane::handles::ComPtr;

namespace {

int failures = 0;

void check(bool ok, const char* what, int line) {
  if (ok) return;
  std::printf("FAIL line %d: %s\n", line, what);
  ++failures;
}
#define CHECK(expr) check((expr), #expr, __LINE__)

// The I/O error code an action raised, 0 when it raised none.
int ioErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const IoError& error) {
    return error.code();
  }
  return 0;
}

std::vector<std::uint8_t> pattern(std::size_t size, unsigned seed) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 31 + seed) % 251);
  return bytes;
}

std::vector<std::uint8_t> readAll(Win32Platform& platform, const std::string& path) {
  auto file = platform.openFile(path);
  std::vector<std::uint8_t> content;
  std::uint8_t piece[3000];
  while (std::size_t got = file->read(piece, sizeof piece)) content.insert(content.end(), piece, piece + got);
  return content;
}

void writeText(Win32Platform& platform, const std::string& path, const std::string& text) {
  auto file = platform.createFile(path);
  file->write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  file->close();
}

std::string readText(Win32Platform& platform, const std::string& path) {
  auto bytes = readAll(platform, path);
  return std::string(bytes.begin(), bytes.end());
}

void checkDrivesAndFolders(Win32Platform& platform) {
  CHECK(platform.driveType("C:\\") == DriveType::Fixed);
  CHECK(platform.driveType("E:\\") == DriveType::Fixed);
  CHECK(platform.driveType("D:\\") == DriveType::CdRom);
  CHECK(platform.driveType("N:\\") == DriveType::Remote);
  CHECK(platform.driveType("R:\\") == DriveType::Removable);
  CHECK(platform.driveType("Z:\\") == DriveType::NoRootDir);

  auto programFiles = platform.shellFolder(ShellFolder::ProgramFiles);
  CHECK(programFiles && *programFiles == "C:\\Program Files");
  for (ShellFolder folder : {ShellFolder::Programs, ShellFolder::DesktopDirectory}) {
    auto path = platform.shellFolder(folder);
    CHECK(path && path->rfind("C:\\", 0) == 0 && path->back() != '\\');
  }

  std::string current = platform.currentDirectory();
  CHECK(current.size() >= 3 && current[1] == ':' && platform.directoryExists(current));
}

void checkDirectories(Win32Platform& platform) {
  platform.createDirectory("E:\\made");
  CHECK(platform.directoryExists("E:\\made"));
  CHECK(!platform.fileExists("E:\\made"));
  CHECK(ioErrorOf([&] { platform.createDirectory("E:\\made"); }) == ERROR_ALREADY_EXISTS);
  CHECK(ioErrorOf([&] { platform.createDirectory("E:\\missing\\child"); }) == io::InvalidFilename);
  CHECK(!platform.directoryExists("E:\\missing\\child"));

  writeText(platform, "E:\\made\\a.txt", "a");
  writeText(platform, "E:\\made\\B.TXT", "b");
  writeText(platform, "E:\\made\\hidden.dat", "h");
  SetFileAttributesA("E:\\made\\hidden.dat", FILE_ATTRIBUTE_HIDDEN);
  platform.createDirectory("E:\\made\\sub");

  std::set<std::string> names;
  bool hiddenSeen = false, subIsDirectory = false;
  for (const DirEntry& entry : platform.listDirectory("E:\\made\\*.*")) {
    names.insert(entry.name);
    if (entry.name == "hidden.dat") hiddenSeen = entry.isHidden();
    if (entry.name == "sub") subIsDirectory = entry.isDirectory();
  }
  CHECK((names == std::set<std::string>{".", "..", "a.txt", "B.TXT", "hidden.dat", "sub"}));
  CHECK(hiddenSeen);
  CHECK(subIsDirectory);
  CHECK(platform.listDirectory("E:\\made\\*.txt").size() == 2);
  CHECK(platform.listDirectory("E:\\missing\\*.*").empty());
  CHECK(platform.listDirectory("E:\\made\\none.*").empty());
}

std::map<std::string, std::uint32_t> attributesIn(Win32Platform& platform, const std::string& pattern) {
  std::map<std::string, std::uint32_t> attributes;
  platform.forEachEntry(
      pattern, [&](const EntryView& entry) { attributes[std::string(entry.name)] = entry.attributes; });
  return attributes;
}

void checkEnumeration(Win32Platform& platform) {
  platform.createDirectory("E:\\attrs");
  writeText(platform, "E:\\attrs\\hidden.txt", "h");
  writeText(platform, "E:\\attrs\\system.txt", "s");
  platform.createDirectory("E:\\attrs\\Private");
  SetFileAttributesA("E:\\attrs\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA("E:\\attrs\\system.txt", FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesA("E:\\attrs\\Private", FILE_ATTRIBUTE_HIDDEN);

  auto attributes = attributesIn(platform, "E:\\attrs\\*.*");
  CHECK((attributes["hidden.txt"] & (attr::Hidden | attr::Directory)) == attr::Hidden);
  CHECK((attributes["system.txt"] & (attr::System | attr::Directory)) == attr::System);
  CHECK((attributes["Private"] & (attr::Hidden | attr::Directory)) == (attr::Hidden | attr::Directory));

  // The listing is the same enumeration, collected.
  std::vector<std::string> visited, listed;
  platform.forEachEntry("E:\\attrs\\*.*", [&](const EntryView& entry) { visited.emplace_back(entry.name); });
  for (const DirEntry& entry : platform.listDirectory("E:\\attrs\\*.*")) listed.push_back(entry.name);
  CHECK(visited == listed && visited.size() == 5);

  // A folder linked on the host is a reparse point to Windows programs.
  CHECK(attributesIn(platform, "E:\\tree\\Loop")["Loop"] == (attr::Directory | attr::ReparsePoint));

  // A drive without a medium lists nothing and raises nothing.
  CHECK(attributesIn(platform, "M:\\*.*").empty());
  CHECK(attributesIn(platform, "E:\\missing\\*.*").empty());
}

// E:\tree holds inner\Vorpane.Dat, Loop (a host link back to the tree), a
// hidden folder with another Vorpane.Dat and a chain of folders that goes past
// the length a path may have; M: is a drive that is not ready.
void checkFinder(Win32Platform& platform) {
  std::vector<int> percentages;
  auto found = vorpane::finder::FindFiles(platform, "Vorpane.Dat;Loop", 3, "E:\\tree;M:\\",
                                          [&](std::uint8_t p) { percentages.push_back(p); }, {});
  std::vector<std::string> expected = {"E:\\tree\\inner\\Vorpane.Dat", "E:\\tree\\Loop"};
  std::vector<std::string> withoutDriveC;
  for (const std::string& path : found) {
    if (path.rfind("C:", 0) != 0) withoutDriveC.push_back(path);
  }
  CHECK(withoutDriveC == expected);
  CHECK(percentages.size() >= 3 && percentages.back() == 100);
}

void checkWritingAndReading(Win32Platform& platform) {
  // Small writes across several buffer fills, then one larger than the buffer:
  // everything must arrive in order.
  std::vector<std::uint8_t> small = pattern(200 * 1024, 1), large = pattern(150 * 1024, 7);
  auto file = platform.createFile("E:\\data.bin");
  for (std::size_t at = 0; at < small.size(); at += 1000) {
    file->write(small.data() + at, std::min<std::size_t>(1000, small.size() - at));
  }
  // A reader may look at the file while it is being written.
  CHECK(platform.openFile("E:\\data.bin") != nullptr);
  file->write(large.data(), large.size());
  file->close();
  CHECK(ioErrorOf([&] { file->write(small.data(), 1); }) == io::FileNotOpen);

  std::vector<std::uint8_t> expected = small;
  expected.insert(expected.end(), large.begin(), large.end());
  CHECK(readAll(platform, "E:\\data.bin") == expected);

  // An unclosed file counts for nothing, but its handle goes with it.
  platform.createFile("E:\\abandoned.bin")->write(small.data(), 10);
  CHECK(platform.removeFile("E:\\abandoned.bin"));

  CHECK(ioErrorOf([&] { platform.createFile("E:\\missing\\x.bin"); }) == io::InvalidFilename);
  CHECK(ioErrorOf([&] { platform.createFile("E:\\made"); }) == io::AccessDenied);
  CHECK(ioErrorOf([&] { platform.openFile("E:\\absent.bin"); }) == io::FileNotFound);
}

void checkReplacingAndRemoving(Win32Platform& platform) {
  writeText(platform, "E:\\new.exe", "new");
  writeText(platform, "E:\\old.exe", "old");
  platform.replaceFile("E:\\new.exe", "E:\\old.exe");
  CHECK(readText(platform, "E:\\old.exe") == "new");
  CHECK(!platform.fileExists("E:\\new.exe"));

  // A target held open without sharing, as a running program is, stays as it was.
  writeText(platform, "E:\\new.exe", "newer");
  HANDLE running = CreateFileA("E:\\old.exe", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  CHECK(ioErrorOf([&] { platform.replaceFile("E:\\new.exe", "E:\\old.exe"); }) != 0);
  CloseHandle(running);
  CHECK(readText(platform, "E:\\old.exe") == "new");
  CHECK(platform.fileExists("E:\\new.exe"));

  CHECK(platform.removeFile("E:\\new.exe"));
  CHECK(!platform.removeFile("E:\\new.exe"));
}

// Whether another program could open the file for writing, remove it or move
// it aside, or remove or rename its folder.
bool othersCanChange(const std::string& file, const std::string& folder) {
  HANDLE writer =
      CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (writer != INVALID_HANDLE_VALUE) {
    CloseHandle(writer);
    return true;
  }
  return DeleteFileA(file.c_str()) || MoveFileA(file.c_str(), (file + ".aside").c_str()) ||
         MoveFileA(folder.c_str(), (folder + ".aside").c_str());
}

void checkStaging(Win32Platform& platform) {
  CHECK(platform.createStagingFolder("E:\\stage"));
  CHECK(!platform.createStagingFolder("E:\\stage"));
  const std::vector<std::uint8_t> bytes = pattern(300000, 7);
  {
    const auto hold = platform.writeHeldFile("E:\\stage\\copy.exe", bytes);
    CHECK(!othersCanChange("E:\\stage\\copy.exe", "E:\\stage"));
    CHECK(readAll(platform, "E:\\stage\\copy.exe") == bytes);
  }
  CHECK(platform.removeFile("E:\\stage\\copy.exe"));
  // Never over a file that is there, whoever put it there.
  writeText(platform, "E:\\stage\\planted.exe", "planted");
  CHECK(ioErrorOf([&] { platform.writeHeldFile("E:\\stage\\planted.exe", bytes); }) != 0);
  CHECK(readText(platform, "E:\\stage\\planted.exe") == "planted");
}

// The folder's list as the system reads it: a protected list owned by
// Administrators, in which no one but Administrators and the system may
// write, remove or change the list.
void checkStagingFolderSecurity() {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  CHECK(ConvertStringSecurityDescriptorToSecurityDescriptorA(Win32Platform::stagingFolderSecurity(),
                                                             SDDL_REVISION_1, &descriptor, nullptr));
  if (descriptor == nullptr) return;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  CHECK(GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED));
  PSID owner = nullptr, administrators = nullptr, system = nullptr;
  BOOL defaulted = FALSE, present = FALSE;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                           &administrators);
  AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system);
  CHECK(GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) && owner &&
        EqualSid(owner, administrators));
  PACL list = nullptr;
  CHECK(GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted) && present && list);
  const DWORD changing = GENERIC_ALL | GENERIC_WRITE | FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                         FILE_WRITE_ATTRIBUTES | FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;
  int writers = 0, readers = 0;
  for (DWORD i = 0; list && i < list->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    if (!GetAce(list, i, reinterpret_cast<void**>(&ace)) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
      continue;
    PSID who = &ace->SidStart;
    const bool trusted = EqualSid(who, administrators) || EqualSid(who, system);
    if (ace->Mask & changing) {
      CHECK(trusted);
      ++writers;
    } else {
      ++readers;
    }
  }
  CHECK(writers == 2 && readers == 1);
  FreeSid(administrators);
  FreeSid(system);
  LocalFree(descriptor);
}

// Reads a link back through the shell's own object.
bool readShortcut(const std::string& linkPath, std::string& target, std::string& description) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  IPersistFile* file = nullptr;
  bool loaded = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    std::wstring wide(linkPath.begin(), linkPath.end());
    if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
      char text[MAX_PATH] = {};
      link->GetPath(text, MAX_PATH, nullptr, 0);
      target = text;
      link->GetDescription(text, MAX_PATH);
      description = text;
      loaded = true;
    }
    file->Release();
  }
  link->Release();
  return loaded;
}

void checkShortcuts(Win32Platform& platform) {
  platform.createDirectory("E:\\Vorpane");
  writeText(platform, "E:\\Vorpane\\Vorpane.Exe", "MZ");
  platform.createShortcut({"E:\\Vorpane\\Vorpane.Exe", "E:\\made\\Vorpane.Lnk", "Vorpane", ""});
  std::string target, description;
  CHECK(readShortcut("E:\\made\\Vorpane.Lnk", target, description));
  CHECK(target == "E:\\Vorpane\\Vorpane.Exe");
  CHECK(description == "Vorpane");

  // Saving into a folder that is not there is silent and writes nothing.
  platform.createShortcut({"E:\\Vorpane\\Vorpane.Exe", "E:\\missing\\Vorpane.Lnk", "Vorpane", ""});
  CHECK(!platform.fileExists("E:\\missing\\Vorpane.Lnk"));
}

// The system's full paths are what the portable rules make of the same path in
// the same current directory, which the host platform and the tests rely on.
void checkFullPaths(Win32Platform& platform) {
  const std::string current = platform.currentDirectory();
  for (const char* path :
       {"C:\\Program Files\\..\\VP", "C:\\\\VP2", "C:\\dot.", "C:\\dot. . ", "C:\\a..\\b.\\",
        "C:\\a. \\...\\b", "C:/a//b/", "C:\\..\\..", "C:\\", "c:foo", "L:foo", "\\foo", "..", "foo\\.\\bar",
        "\\\\server\\share\\a\\..\\..\\b", "//server/share", "\\\\.\\C:\\a\\..\\b"}) {
    const std::string full = platform.fullPath(path);
    if (full != path::fullPathIn(path, current))
      std::printf("  %s: the system made %s\n", path, full.c_str());
    CHECK(full == path::fullPathIn(path, current));
  }
  CHECK(platform.fullPath("C:\\Program Files\\..\\VP") == "C:\\VP");
  CHECK(ioErrorOf([&] { platform.fullPath(""); }) != 0);
}

// Wine 8 names a folder by the drive whose root lies nearest to it, so a folder
// of C:\Linked is named on L: however it is reached (Windows names it on C:):
// one name for one folder either way, which is what comparing folders needs.
void checkCanonicalDirectories(Win32Platform& platform) {
  platform.createDirectory("C:\\Linked\\Inner");
  writeText(platform, "C:\\Linked\\file.txt", "x");
  CHECK(platform.canonicalDirectory("c:\\program files\\") == "C:\\Program Files");
  CHECK(platform.canonicalDirectory("C:\\") == "C:\\");
  CHECK(platform.canonicalDirectory("C:\\Missing") == std::nullopt);
  CHECK(platform.canonicalDirectory("C:\\Linked\\file.txt") == std::nullopt);
  const auto throughL = platform.canonicalDirectory("l:\\inner\\");
  const auto throughC = platform.canonicalDirectory("C:\\Linked\\Inner");
  std::printf("  L:\\inner\\ is %s, C:\\Linked\\Inner is %s\n", throughL.value_or("nothing").c_str(),
              throughC.value_or("nothing").c_str());
  CHECK(throughL && throughL == throughC);
  CHECK(throughL == "C:\\Linked\\Inner" || throughL == "L:\\Inner");
  CHECK(sameFolder(platform, "L:\\Inner\\New", "C:\\Linked\\Inner\\New\\"));
  CHECK(!sameFolder(platform, "C:\\Linked", "C:\\Linked\\Inner"));
  CHECK(normalizedDirectory(platform, "L:\\Inner\\New\\") == *throughL + "\\New\\");
}

void checkIdentityTimeAndText(Win32Platform& platform) {
  Guid first = platform.createGuid(), second = platform.createGuid();
  CHECK(first.data1 != second.data1 || first.data2 != second.data2 || first.data3 != second.data3);
  CHECK((first.data3 >> 12) == 4);  // a random GUID

  LocalDateTime now = platform.now();
  CHECK(now.year >= 2020 && now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);

  CHECK(platform.random(0) == 0);
  CHECK(platform.random(1) == 0);
  std::set<std::uint32_t> seen;
  for (int i = 0; i < 1000; ++i) seen.insert(platform.random(10));
  CHECK(seen.size() == 10 && *seen.rbegin() == 9);

  CHECK(platform.compareTextInsensitive("C:\\Vorpane", "c:\\VORPANE") == 0);
  CHECK(platform.compareTextInsensitive("a", "B") < 0);
  CHECK(platform.compareTextInsensitive("b", "A") > 0);
  CHECK(platform.compareTextInsensitive("", "a") < 0);
}

void checkErrorCodes() {
  CHECK(Win32Platform::ioCodeFor(ERROR_FILE_NOT_FOUND) == io::FileNotFound);
  CHECK(Win32Platform::ioCodeFor(ERROR_PATH_NOT_FOUND) == io::InvalidFilename);
  CHECK(Win32Platform::ioCodeFor(ERROR_TOO_MANY_OPEN_FILES) == io::TooManyOpenFiles);
  CHECK(Win32Platform::ioCodeFor(ERROR_ACCESS_DENIED) == io::AccessDenied);
  CHECK(Win32Platform::ioCodeFor(ERROR_DISK_FULL) == io::DiskFull);
  CHECK(Win32Platform::ioCodeFor(ERROR_HANDLE_DISK_FULL) == io::DiskFull);
  CHECK(Win32Platform::ioCodeFor(ERROR_SHARING_VIOLATION) == ERROR_SHARING_VIOLATION);
}

template <class Interface>
ComPtr<Interface> created(const CLSID& kind, const IID& asked) {
  ComPtr<Interface> object;
  CoCreateInstance(kind, nullptr, CLSCTX_INPROC_SERVER, asked, reinterpret_cast<void**>(object.put()));
  return object;
}

// The COM identifiers the programs define themselves (Win32ComIdentifiers)
// name what the system knows under them: a wrong one leaves an installation
// without shortcuts or the wizard without pictures. Wine converts to whatever
// pixel format it is asked for, and the formats' identifiers differ in their
// last byte only, so the imaging component is asked for the format's name.
void checkComIdentifiers() {
  const auto link = created<IShellLinkA>(CLSID_ShellLink, IID_IShellLinkA);
  ComPtr<IPersistFile> file;
  CHECK(link && SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))));
  CHECK(static_cast<bool>(created<IWICBitmapDecoder>(CLSID_WICJpegDecoder, IID_IWICBitmapDecoder)));
  CHECK(static_cast<bool>(created<IWICBitmapDecoder>(CLSID_WICIcoDecoder, IID_IWICBitmapDecoder)));
  const auto factory = created<IWICImagingFactory>(CLSID_WICImagingFactory, IID_IWICImagingFactory);
  CHECK(static_cast<bool>(factory));
  if (!factory) return;
  ComPtr<IWICComponentInfo> format;
  WCHAR name[64] = {};
  UINT length = 0;
  CHECK(SUCCEEDED(factory->CreateComponentInfo(GUID_WICPixelFormat32bppPBGRA, format.put())) &&
        SUCCEEDED(format->GetFriendlyName(64, name, &length)) && std::wstring(name) == L"32bpp PBGRA");
  ComPtr<IWICBitmap> bitmap;
  ComPtr<IWICBitmapSource> source;
  CHECK(SUCCEEDED(
            factory->CreateBitmap(1, 1, GUID_WICPixelFormat32bppPBGRA, WICBitmapCacheOnLoad, bitmap.put())) &&
        SUCCEEDED(bitmap->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(source.put()))));
}

void run(const char* name, const std::function<void()>& group) {
  int before = failures;
  try {
    group();
  } catch (const std::exception& error) {
    std::printf("FAIL %s raised: %s\n", name, error.what());
    ++failures;
  }
  std::printf("%s %s\n", failures == before ? "ok  " : "FAIL", name);
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  Win32Platform platform;
  run("drives and shell folders", [&] { checkDrivesAndFolders(platform); });
  run("directories", [&] { checkDirectories(platform); });
  run("enumeration", [&] { checkEnumeration(platform); });
  run("finder", [&] { checkFinder(platform); });
  run("writing and reading", [&] { checkWritingAndReading(platform); });
  run("replacing and removing", [&] { checkReplacingAndRemoving(platform); });
  run("shortcuts", [&] { checkShortcuts(platform); });
  run("staging", [&] { checkStaging(platform); });
  run("staging folder security", [] { checkStagingFolderSecurity(); });
  run("full paths", [&] { checkFullPaths(platform); });
  run("canonical directories", [&] { checkCanonicalDirectories(platform); });
  run("identity, time and text", [&] { checkIdentityTimeAndText(platform); });
  run("error codes", [] { checkErrorCodes(); });
  run("COM identifiers", [] { checkComIdentifiers(); });
  CoUninitialize();
  std::fflush(stdout);
  return failures == 0 ? 0 : 1;
}
