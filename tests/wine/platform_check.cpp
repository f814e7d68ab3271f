// Checks the Windows platform against the real system calls, under Wine.
// test_platform.py maps the drives first: E: a hard disk to work on, D: a CD-ROM,
// N: a network drive, R: a floppy, M: a CD-ROM drive without a medium, L: only
// another name for the folder C:\Linked; Z: is not mapped. On E: it leaves a
// tree for the finder (see PlatformCheck.Finder). A GoogleTest program; exit
// code 0 when every expectation held.
//
// The tests of PlatformCheck share one platform and run in the order they are
// written: later ones use what earlier ones made on E: (E:\made, E:\Vorpane).

#include <windows.h>

#include <gtest/gtest.h>

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

// The Windows platform over the session's drives, one for all the tests. Each
// test makes the files and folders it uses, so any one of them also runs alone
// (--gtest_filter) in a fresh session.
class PlatformCheck : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform_ = new Win32Platform; }
  static void TearDownTestSuite() {
    delete platform_;
    platform_ = nullptr;
  }

  Win32Platform& platform = *platform_;

 private:
  static Win32Platform* platform_;
};

Win32Platform* PlatformCheck::platform_ = nullptr;

TEST_F(PlatformCheck, DrivesAndShellFolders) {
  EXPECT_EQ(platform.driveType("C:\\"), DriveType::Fixed);
  EXPECT_EQ(platform.driveType("E:\\"), DriveType::Fixed);
  EXPECT_EQ(platform.driveType("D:\\"), DriveType::CdRom);
  EXPECT_EQ(platform.driveType("N:\\"), DriveType::Remote);
  EXPECT_EQ(platform.driveType("R:\\"), DriveType::Removable);
  EXPECT_EQ(platform.driveType("Z:\\"), DriveType::NoRootDir);

  auto programFiles = platform.shellFolder(ShellFolder::ProgramFiles);
  EXPECT_TRUE(programFiles && *programFiles == "C:\\Program Files");
  for (ShellFolder folder : {ShellFolder::Programs, ShellFolder::DesktopDirectory}) {
    auto path = platform.shellFolder(folder);
    EXPECT_TRUE(path && path->rfind("C:\\", 0) == 0 && path->back() != '\\');
  }

  std::string current = platform.currentDirectory();
  EXPECT_TRUE(current.size() >= 3 && current[1] == ':' && platform.directoryExists(current));
}

TEST_F(PlatformCheck, Directories) {
  platform.createDirectory("E:\\made");
  EXPECT_TRUE(platform.directoryExists("E:\\made"));
  EXPECT_FALSE(platform.fileExists("E:\\made"));
  EXPECT_EQ(ioErrorOf([&] { platform.createDirectory("E:\\made"); }), static_cast<int>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(ioErrorOf([&] { platform.createDirectory("E:\\missing\\child"); }), io::InvalidFilename);
  EXPECT_FALSE(platform.directoryExists("E:\\missing\\child"));

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
  EXPECT_EQ(names, (std::set<std::string>{".", "..", "a.txt", "B.TXT", "hidden.dat", "sub"}));
  EXPECT_TRUE(hiddenSeen);
  EXPECT_TRUE(subIsDirectory);
  EXPECT_EQ(platform.listDirectory("E:\\made\\*.txt").size(), 2u);
  EXPECT_TRUE(platform.listDirectory("E:\\missing\\*.*").empty());
  EXPECT_TRUE(platform.listDirectory("E:\\made\\none.*").empty());
}

std::map<std::string, std::uint32_t> attributesIn(Win32Platform& platform, const std::string& pattern) {
  std::map<std::string, std::uint32_t> attributes;
  platform.forEachEntry(
      pattern, [&](const EntryView& entry) { attributes[std::string(entry.name)] = entry.attributes; });
  return attributes;
}

TEST_F(PlatformCheck, Enumeration) {
  platform.createDirectory("E:\\attrs");
  writeText(platform, "E:\\attrs\\hidden.txt", "h");
  writeText(platform, "E:\\attrs\\system.txt", "s");
  platform.createDirectory("E:\\attrs\\Private");
  SetFileAttributesA("E:\\attrs\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA("E:\\attrs\\system.txt", FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesA("E:\\attrs\\Private", FILE_ATTRIBUTE_HIDDEN);

  auto attributes = attributesIn(platform, "E:\\attrs\\*.*");
  EXPECT_EQ((attributes["hidden.txt"] & (attr::Hidden | attr::Directory)), attr::Hidden);
  EXPECT_EQ((attributes["system.txt"] & (attr::System | attr::Directory)), attr::System);
  EXPECT_TRUE((attributes["Private"] & (attr::Hidden | attr::Directory)) == (attr::Hidden | attr::Directory));

  // The listing is the same enumeration, collected.
  std::vector<std::string> visited, listed;
  platform.forEachEntry("E:\\attrs\\*.*", [&](const EntryView& entry) { visited.emplace_back(entry.name); });
  for (const DirEntry& entry : platform.listDirectory("E:\\attrs\\*.*")) listed.push_back(entry.name);
  EXPECT_TRUE(visited == listed && visited.size() == 5);

  // A folder linked on the host is a reparse point to Windows programs.
  EXPECT_EQ(attributesIn(platform, "E:\\tree\\Loop")["Loop"], (attr::Directory | attr::ReparsePoint));

  // A drive without a medium lists nothing and raises nothing.
  EXPECT_TRUE(attributesIn(platform, "M:\\*.*").empty());
  EXPECT_TRUE(attributesIn(platform, "E:\\missing\\*.*").empty());
}

// E:\tree holds inner\Vorpane.Dat, Loop (a host link back to the tree), a
// hidden folder with another Vorpane.Dat and a chain of folders that goes past
// the length a path may have; M: is a drive that is not ready.
TEST_F(PlatformCheck, Finder) {
  std::vector<int> percentages;
  auto found = vorpane::finder::FindFiles(platform, "Vorpane.Dat;Loop", 3, "E:\\tree;M:\\",
                                          [&](std::uint8_t p) { percentages.push_back(p); }, {});
  std::vector<std::string> expected = {"E:\\tree\\inner\\Vorpane.Dat", "E:\\tree\\Loop"};
  std::vector<std::string> withoutDriveC;
  for (const std::string& path : found) {
    if (path.rfind("C:", 0) != 0) withoutDriveC.push_back(path);
  }
  EXPECT_EQ(withoutDriveC, expected);
  EXPECT_TRUE(percentages.size() >= 3 && percentages.back() == 100);
}

TEST_F(PlatformCheck, WritingAndReading) {
  // Small writes across several buffer fills, then one larger than the buffer:
  // everything must arrive in order.
  std::vector<std::uint8_t> small = pattern(200 * 1024, 1), large = pattern(150 * 1024, 7);
  auto file = platform.createFile("E:\\data.bin");
  for (std::size_t at = 0; at < small.size(); at += 1000) {
    file->write(small.data() + at, std::min<std::size_t>(1000, small.size() - at));
  }
  // A reader may look at the file while it is being written.
  EXPECT_NE(platform.openFile("E:\\data.bin"), nullptr);
  file->write(large.data(), large.size());
  file->close();
  EXPECT_EQ(ioErrorOf([&] { file->write(small.data(), 1); }), io::FileNotOpen);

  std::vector<std::uint8_t> expected = small;
  expected.insert(expected.end(), large.begin(), large.end());
  EXPECT_EQ(readAll(platform, "E:\\data.bin"), expected);

  // An unclosed file counts for nothing, but its handle goes with it.
  platform.createFile("E:\\abandoned.bin")->write(small.data(), 10);
  EXPECT_TRUE(platform.removeFile("E:\\abandoned.bin"));

  EXPECT_EQ(ioErrorOf([&] { platform.createFile("E:\\missing\\x.bin"); }), io::InvalidFilename);
  platform.createDirectory("E:\\folder");
  EXPECT_EQ(ioErrorOf([&] { platform.createFile("E:\\folder"); }), io::AccessDenied);
  EXPECT_EQ(ioErrorOf([&] { platform.openFile("E:\\absent.bin"); }), io::FileNotFound);
}

TEST_F(PlatformCheck, ReplacingAndRemoving) {
  writeText(platform, "E:\\new.exe", "new");
  writeText(platform, "E:\\old.exe", "old");
  platform.replaceFile("E:\\new.exe", "E:\\old.exe");
  EXPECT_EQ(readText(platform, "E:\\old.exe"), "new");
  EXPECT_FALSE(platform.fileExists("E:\\new.exe"));

  // A target held open without sharing, as a running program is, stays as it was.
  writeText(platform, "E:\\new.exe", "newer");
  HANDLE running = CreateFileA("E:\\old.exe", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(ioErrorOf([&] { platform.replaceFile("E:\\new.exe", "E:\\old.exe"); }), 0);
  CloseHandle(running);
  EXPECT_EQ(readText(platform, "E:\\old.exe"), "new");
  EXPECT_TRUE(platform.fileExists("E:\\new.exe"));

  EXPECT_TRUE(platform.removeFile("E:\\new.exe"));
  EXPECT_FALSE(platform.removeFile("E:\\new.exe"));
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

TEST_F(PlatformCheck, Staging) {
  EXPECT_TRUE(platform.createStagingFolder("E:\\stage"));
  EXPECT_FALSE(platform.createStagingFolder("E:\\stage"));
  const std::vector<std::uint8_t> bytes = pattern(300000, 7);
  {
    const auto hold = platform.writeHeldFile("E:\\stage\\copy.exe", bytes);
    EXPECT_FALSE(othersCanChange("E:\\stage\\copy.exe", "E:\\stage"));
    EXPECT_EQ(readAll(platform, "E:\\stage\\copy.exe"), bytes);
  }
  EXPECT_TRUE(platform.removeFile("E:\\stage\\copy.exe"));
  // Never over a file that is there, whoever put it there.
  writeText(platform, "E:\\stage\\planted.exe", "planted");
  EXPECT_NE(ioErrorOf([&] { platform.writeHeldFile("E:\\stage\\planted.exe", bytes); }), 0);
  EXPECT_EQ(readText(platform, "E:\\stage\\planted.exe"), "planted");
}

// The folder's list as the system reads it: a protected list owned by
// Administrators, in which no one but Administrators and the system may
// write, remove or change the list.
TEST(StagingFolderSecurity, OnlyAdministratorsAndSystemChangeAnything) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(Win32Platform::stagingFolderSecurity(),
                                                                   SDDL_REVISION_1, &descriptor, nullptr));
  ASSERT_NE(descriptor, nullptr);
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  EXPECT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED));
  PSID owner = nullptr, administrators = nullptr, system = nullptr;
  BOOL defaulted = FALSE, present = FALSE;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                           &administrators);
  AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system);
  EXPECT_TRUE(GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) && owner &&
              EqualSid(owner, administrators));
  PACL list = nullptr;
  EXPECT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted) && present && list);
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
      EXPECT_TRUE(trusted);
      ++writers;
    } else {
      ++readers;
    }
  }
  EXPECT_TRUE(writers == 2 && readers == 1);
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

TEST_F(PlatformCheck, Shortcuts) {
  platform.createDirectory("E:\\Vorpane");
  writeText(platform, "E:\\Vorpane\\Vorpane.Exe", "MZ");
  platform.createDirectory("E:\\Links");
  platform.createShortcut({"E:\\Vorpane\\Vorpane.Exe", "E:\\Links\\Vorpane.Lnk", "Vorpane", ""});
  std::string target, description;
  EXPECT_TRUE(readShortcut("E:\\Links\\Vorpane.Lnk", target, description));
  EXPECT_EQ(target, "E:\\Vorpane\\Vorpane.Exe");
  EXPECT_EQ(description, "Vorpane");

  // Saving into a folder that is not there is silent and writes nothing.
  platform.createShortcut({"E:\\Vorpane\\Vorpane.Exe", "E:\\missing\\Vorpane.Lnk", "Vorpane", ""});
  EXPECT_FALSE(platform.fileExists("E:\\missing\\Vorpane.Lnk"));
}

// The system's full paths are what the portable rules make of the same path in
// the same current directory, which the host platform and the tests rely on.
TEST_F(PlatformCheck, FullPaths) {
  const std::string current = platform.currentDirectory();
  for (const char* path :
       {"C:\\Program Files\\..\\VP", "C:\\\\VP2", "C:\\dot.", "C:\\dot. . ", "C:\\a..\\b.\\",
        "C:\\a. \\...\\b", "C:/a//b/", "C:\\..\\..", "C:\\", "c:foo", "L:foo", "\\foo", "..", "foo\\.\\bar",
        "\\\\server\\share\\a\\..\\..\\b", "//server/share", "\\\\.\\C:\\a\\..\\b"}) {
    EXPECT_EQ(platform.fullPath(path), path::fullPathIn(path, current)) << "the full path of " << path;
  }
  EXPECT_EQ(platform.fullPath("C:\\Program Files\\..\\VP"), "C:\\VP");
  EXPECT_NE(ioErrorOf([&] { platform.fullPath(""); }), 0);
}

// Wine 8 names a folder by the drive whose root lies nearest to it, so a folder
// of C:\Linked is named on L: however it is reached (Windows names it on C:):
// one name for one folder either way, which is what comparing folders needs.
TEST_F(PlatformCheck, CanonicalDirectories) {
  platform.createDirectory("C:\\Linked\\Inner");
  writeText(platform, "C:\\Linked\\file.txt", "x");
  EXPECT_EQ(platform.canonicalDirectory("c:\\program files\\"), "C:\\Program Files");
  EXPECT_EQ(platform.canonicalDirectory("C:\\"), "C:\\");
  EXPECT_EQ(platform.canonicalDirectory("C:\\Missing"), std::nullopt);
  EXPECT_EQ(platform.canonicalDirectory("C:\\Linked\\file.txt"), std::nullopt);
  const auto throughL = platform.canonicalDirectory("l:\\inner\\");
  const auto throughC = platform.canonicalDirectory("C:\\Linked\\Inner");
  std::printf("  L:\\inner\\ is %s, C:\\Linked\\Inner is %s\n", throughL.value_or("nothing").c_str(),
              throughC.value_or("nothing").c_str());
  EXPECT_TRUE(throughL && throughL == throughC);
  EXPECT_TRUE(throughL == "C:\\Linked\\Inner" || throughL == "L:\\Inner");
  EXPECT_TRUE(sameFolder(platform, "L:\\Inner\\New", "C:\\Linked\\Inner\\New\\"));
  EXPECT_FALSE(sameFolder(platform, "C:\\Linked", "C:\\Linked\\Inner"));
  EXPECT_EQ(normalizedDirectory(platform, "L:\\Inner\\New\\"), *throughL + "\\New\\");
}

TEST_F(PlatformCheck, IdentityTimeAndText) {
  Guid first = platform.createGuid(), second = platform.createGuid();
  EXPECT_TRUE(first.data1 != second.data1 || first.data2 != second.data2 || first.data3 != second.data3);
  EXPECT_EQ((first.data3 >> 12), 4);  // a random GUID

  LocalDateTime now = platform.now();
  EXPECT_TRUE(now.year >= 2020 && now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);

  EXPECT_EQ(platform.random(0), 0u);
  EXPECT_EQ(platform.random(1), 0u);
  std::set<std::uint32_t> seen;
  for (int i = 0; i < 1000; ++i) seen.insert(platform.random(10));
  EXPECT_TRUE(seen.size() == 10 && *seen.rbegin() == 9);

  EXPECT_EQ(platform.compareTextInsensitive("C:\\Vorpane", "c:\\VORPANE"), 0);
  EXPECT_LT(platform.compareTextInsensitive("a", "B"), 0);
  EXPECT_GT(platform.compareTextInsensitive("b", "A"), 0);
  EXPECT_LT(platform.compareTextInsensitive("", "a"), 0);
}

TEST(ErrorCodes, SystemErrorsMapToTheRuntimesIoCodes) {
  EXPECT_EQ(Win32Platform::ioCodeFor(ERROR_FILE_NOT_FOUND), io::FileNotFound);
  EXPECT_EQ(Win32Platform::ioCodeFor(ERROR_PATH_NOT_FOUND), io::InvalidFilename);
  EXPECT_EQ(Win32Platform::ioCodeFor(ERROR_TOO_MANY_OPEN_FILES), io::TooManyOpenFiles);
  EXPECT_EQ(Win32Platform::ioCodeFor(ERROR_ACCESS_DENIED), io::AccessDenied);
  EXPECT_EQ(Win32Platform::ioCodeFor(ERROR_DISK_FULL), io::DiskFull);
  EXPECT_EQ(Win32Platform::ioCodeFor(ERROR_HANDLE_DISK_FULL), io::DiskFull);
  EXPECT_EQ(Win32Platform::ioCodeFor(ERROR_SHARING_VIOLATION), static_cast<int>(ERROR_SHARING_VIOLATION));
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
TEST(ComIdentifiers, NameWhatTheSystemKnows) {
  const auto link = created<IShellLinkA>(CLSID_ShellLink, IID_IShellLinkA);
  ComPtr<IPersistFile> file;
  EXPECT_TRUE(link &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))));
  EXPECT_TRUE(static_cast<bool>(created<IWICBitmapDecoder>(CLSID_WICJpegDecoder, IID_IWICBitmapDecoder)));
  EXPECT_TRUE(static_cast<bool>(created<IWICBitmapDecoder>(CLSID_WICIcoDecoder, IID_IWICBitmapDecoder)));
  const auto factory = created<IWICImagingFactory>(CLSID_WICImagingFactory, IID_IWICImagingFactory);
  ASSERT_TRUE(static_cast<bool>(factory));
  ComPtr<IWICComponentInfo> format;
  WCHAR name[64] = {};
  UINT length = 0;
  EXPECT_TRUE(SUCCEEDED(factory->CreateComponentInfo(GUID_WICPixelFormat32bppPBGRA, format.put())) &&
              SUCCEEDED(format->GetFriendlyName(64, name, &length)) && std::wstring(name) == L"32bpp PBGRA");
  ComPtr<IWICBitmap> bitmap;
  ComPtr<IWICBitmapSource> source;
  EXPECT_TRUE(
      SUCCEEDED(
          factory->CreateBitmap(1, 1, GUID_WICPixelFormat32bppPBGRA, WICBitmapCacheOnLoad, bitmap.put())) &&
      SUCCEEDED(bitmap->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(source.put()))));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  CoInitialize(nullptr);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
