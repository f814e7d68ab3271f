#include "platform/HostFileSystem.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/Folders.h"
#include "tests/support/ScratchDrive.h"

namespace vorpane::platform {
namespace {

namespace fs = std::filesystem;

using HostFileSystemTest = testing::ScratchDrive<HostFileSystem>;

TEST_F(HostFileSystemTest, MapsWindowsPathsOntoTheDriveFolderIgnoringLetterCase) {
  makeFile("Program Files/Vorpane/Vorpane.Dat");
  EXPECT_EQ(host_.hostPath("c:\\PROGRAM FILES\\vorpane\\VORPANE.DAT"),
            root_ / "Program Files/Vorpane/Vorpane.Dat");
  // Missing components keep their spelling, below an existing one found without case.
  EXPECT_EQ(host_.hostPath("C:\\program files\\New\\Sub"), root_ / "Program Files/New/Sub");
  EXPECT_EQ(host_.hostPath("C:/Program Files/./x/../Vorpane/"), root_ / "Program Files/Vorpane");
  EXPECT_EQ(host_.hostPath("C:\\..\\.."), root_);
  EXPECT_TRUE(host_.hostPath("D:\\x").empty());
  EXPECT_TRUE(host_.hostPath("\\\\server\\share\\x").empty());

  host_.setCurrentDirectory("C:\\Program Files");
  EXPECT_EQ(host_.hostPath("vorpane"), root_ / "Program Files/Vorpane");
  EXPECT_EQ(host_.hostPath("\\Top"), root_ / "Top");
}

TEST_F(HostFileSystemTest, MakesPathsFullInItsCurrentDirectory) {
  host_.setCurrentDirectory("C:\\Setup");
  EXPECT_EQ(host_.fullPath("new\\..\\x. "), "C:\\Setup\\x");
  EXPECT_EQ(ioCodeOf([&] { host_.fullPath(""); }), 123);
}

// S: and T: are only other names for C:\Sub and C:\Sub\Inner.
TEST_F(HostFileSystemTest, CanonicalDirectoriesLieOnTheDriveWhoseFolderHoldsThem) {
  fs::create_directories(root_ / "Sub/Inner");
  makeFile("Sub/file");
  host_.mapDrive('S', root_ / "Sub");
  host_.mapDrive('T', root_ / "Sub/Inner");
  host_.setCurrentDirectory("C:\\Sub");
  EXPECT_EQ(host_.canonicalDirectory("s:\\INNER\\"), "C:\\Sub\\Inner");
  EXPECT_EQ(host_.canonicalDirectory("T:\\"), "C:\\Sub\\Inner");
  EXPECT_EQ(host_.canonicalDirectory("inner\\.."), "C:\\Sub");
  EXPECT_EQ(host_.canonicalDirectory("C:\\"), "C:\\");
  EXPECT_EQ(host_.canonicalDirectory("S:\\Missing"), std::nullopt);
  EXPECT_EQ(host_.canonicalDirectory("S:\\file"), std::nullopt);

  // Not made yet, or gone: its nearest folder's canonical path and the rest.
  EXPECT_EQ(normalizedDirectory(host_, "S:\\New.\\Dir..\\"), "C:\\Sub\\New\\Dir\\");
  EXPECT_EQ(normalizedDirectory(host_, "Q:\\x\\y"), "Q:\\x\\y\\");
  EXPECT_EQ(normalizedDirectory(host_, "C:\\"), "C:\\") << "not the current directory of C:";
  EXPECT_TRUE(sameFolder(host_, "T:", "C:\\sub\\inner\\"));
  EXPECT_TRUE(sameFolder(host_, "S:\\Gone\\Deeper", "c:\\SUB\\gone\\deeper\\"));
  EXPECT_FALSE(sameFolder(host_, "S:\\Gone", "C:\\Gone"));
  EXPECT_FALSE(sameFolder(host_, "C:\\Sub", "C:\\Sub\\Inner"));
  EXPECT_FALSE(sameFolder(host_, "C:\\Sub\\Inn", "C:\\Sub\\Inner"));
  EXPECT_FALSE(sameFolder(host_, "", "S:\\"));

  // The same folder under two letters: C: first, then the alphabet.
  host_.mapDrive('B', root_);
  host_.mapDrive('D', root_);
  EXPECT_EQ(host_.canonicalDirectory("D:\\Sub"), "C:\\Sub");
  host_.unmapDrive('C');
  EXPECT_EQ(host_.canonicalDirectory("D:\\Sub"), "B:\\Sub");
}

TEST_F(HostFileSystemTest, ReportsDrivesAndNoShellFolders) {
  host_.mapDrive('e', root_, DriveType::Removable);
  host_.setDriveType('R', DriveType::CdRom);
  EXPECT_EQ(host_.driveType("C:\\"), DriveType::Fixed);
  EXPECT_EQ(host_.driveType("e:\\"), DriveType::Removable);
  EXPECT_EQ(host_.driveType("R:\\"), DriveType::CdRom);
  EXPECT_FALSE(host_.directoryExists("R:\\"));  // a drive without a medium
  EXPECT_EQ(host_.driveType("Q:\\"), DriveType::NoRootDir);
  host_.unmapDrive('E');
  EXPECT_EQ(host_.driveType("E:\\"), DriveType::NoRootDir);

  EXPECT_EQ(host_.shellFolder(ShellFolder::Programs), std::nullopt);
}

TEST_F(HostFileSystemTest, TellsFilesFromDirectoriesAndCreatesDirectories) {
  makeFile("dir/file.txt");
  EXPECT_TRUE(host_.directoryExists("C:\\"));
  EXPECT_TRUE(host_.directoryExists("C:\\DIR\\"));
  EXPECT_FALSE(host_.directoryExists("C:\\dir\\file.txt"));
  EXPECT_TRUE(host_.fileExists("C:\\dir\\FILE.TXT"));
  EXPECT_FALSE(host_.fileExists("C:\\dir"));
  EXPECT_FALSE(host_.fileExists("Z:\\dir\\file.txt"));

  host_.createDirectory("C:\\dir\\New");
  EXPECT_TRUE(fs::is_directory(root_ / "dir/New"));
  EXPECT_EQ(ioCodeOf([&] { host_.createDirectory("C:\\DIR\\new"); }), 183);
  EXPECT_EQ(ioCodeOf([&] { host_.createDirectory("C:\\missing\\new"); }), io::InvalidFilename);
  EXPECT_EQ(ioCodeOf([&] { host_.createDirectory("Z:\\new"); }), io::InvalidFilename);
}

TEST_F(HostFileSystemTest, ListsWithWindowsWildcards) {
  for (const char* name : {"Vorpane.Dat", "readme", "b.txt", "a.TXT", "ab.c"}) makeFile(fs::path("d") / name);
  fs::create_directories(root_ / "d/Sub");

  EXPECT_EQ(names("C:\\d\\*.*"),
            (std::vector<std::string>{".", "..", "a.TXT", "ab.c", "b.txt", "readme", "Sub", "Vorpane.Dat"}));
  EXPECT_EQ(names("C:\\d\\*"), names("C:\\d\\*.*"));
  EXPECT_EQ(names("C:\\d\\*."), (std::vector<std::string>{".", "..", "readme", "Sub"}));
  EXPECT_EQ(names("C:\\d\\*.txt"), (std::vector<std::string>{"a.TXT", "b.txt"}));
  EXPECT_EQ(names("C:\\d\\?.txt"), (std::vector<std::string>{"a.TXT", "b.txt"}));
  EXPECT_EQ(names("C:\\d\\a?.?"), (std::vector<std::string>{"ab.c"}));
  EXPECT_EQ(names("C:\\D\\vorpane.dat"), (std::vector<std::string>{"Vorpane.Dat"}));
  EXPECT_EQ(names("C:\\*.*"), (std::vector<std::string>{"d"}));  // no dot entries at a drive's root
  EXPECT_TRUE(names("C:\\missing\\*.*").empty());
  EXPECT_TRUE(names("C:\\d\\").empty());
  EXPECT_TRUE(names("Z:\\*.*").empty());
}

TEST_F(HostFileSystemTest, ReportsAttributes) {
  makeFile("d/plain.txt");
  makeFile("d/locked.txt");
  fs::permissions(root_ / "d/locked.txt",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  fs::create_directories(root_ / "d/Secret");

  std::map<std::string, std::uint32_t> attributes;
  for (const DirEntry& entry : host_.listDirectory("C:\\d\\*.*")) attributes[entry.name] = entry.attributes;
  EXPECT_EQ(attributes["plain.txt"], attr::Archive);
  EXPECT_EQ(attributes["locked.txt"], attr::Archive | attr::ReadOnly);
  EXPECT_EQ(attributes["Secret"], attr::Directory);
  EXPECT_EQ(attributes["."], attr::Directory);
}

TEST_F(HostFileSystemTest, ReportsLinksAsReparsePoints) {
  makeFile("d/target.txt");
  fs::create_directory_symlink(root_ / "d", root_ / "d/Loop");
  fs::create_symlink(root_ / "d/target.txt", root_ / "d/file-link");
  fs::create_symlink(root_ / "d/gone", root_ / "d/dangling");

  std::map<std::string, std::uint32_t> attributes;
  host_.forEachEntry("C:\\d\\*.*",
                     [&](const EntryView& entry) { attributes[std::string(entry.name)] = entry.attributes; });
  EXPECT_EQ(attributes["Loop"], attr::Directory | attr::ReparsePoint);
  EXPECT_EQ(attributes["file-link"], attr::Archive | attr::ReparsePoint);
  EXPECT_EQ(attributes["dangling"], attr::Archive | attr::ReparsePoint);
  EXPECT_EQ(attributes["target.txt"], attr::Archive);
}

TEST_F(HostFileSystemTest, WritesFilesAndReportsWhyItCannot) {
  makeFile("d/old.bin", "a much longer old content");
  auto file = host_.createFile("C:\\D\\OLD.bin");
  const std::uint8_t bytes[] = {'M', 'Z', 0, 0xFF};
  file->write(bytes, sizeof bytes);
  file->close();
  EXPECT_EQ(readFile("d/old.bin"), std::string("MZ\0\xFF", 4));
  EXPECT_EQ(ioCodeOf([&] { file->close(); }), io::FileNotOpen);
  EXPECT_EQ(ioCodeOf([&] { file->write(bytes, 1); }), io::FileNotOpen);

  // Small pieces and pieces larger than any buffer, in order.
  std::string expected;
  auto big = host_.createFile("C:\\d\\big.bin");
  for (std::size_t size : {10u, 1024u, 1u << 20, 7u, 300000u}) {
    const std::string piece(size, static_cast<char>('a' + size % 26));
    big->write(reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size());
    expected += piece;
  }
  big->close();
  EXPECT_TRUE(readFile("d/big.bin") == expected);

  EXPECT_EQ(ioCodeOf([&] { host_.createFile("C:\\missing\\f.bin"); }), io::InvalidFilename);
  EXPECT_EQ(ioCodeOf([&] { host_.createFile("C:\\d"); }), io::AccessDenied);
  EXPECT_EQ(ioCodeOf([&] { host_.createFile("Z:\\f.bin"); }), io::InvalidFilename);

  // An unclosed file is let go without complaint.
  EXPECT_NO_THROW(host_.createFile("C:\\d\\abandoned.bin"));
}

TEST_F(HostFileSystemTest, ReadsFiles) {
  makeFile("d/data.dat", "hello");
  auto file = host_.openFile("c:\\d\\DATA.dat");
  std::uint8_t buffer[16];
  EXPECT_EQ(file->read(buffer, sizeof buffer), 5u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 5), "hello");
  EXPECT_EQ(file->read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(ioCodeOf([&] { host_.openFile("C:\\d\\none.dat"); }), io::FileNotFound);
  EXPECT_EQ(ioCodeOf([&] { host_.openFile("C:\\none\\none.dat"); }), io::InvalidFilename);
}

TEST_F(HostFileSystemTest, ReplacesAndRemovesFiles) {
  makeFile("d/new", "new");
  makeFile("d/target", "old");
  host_.replaceFile("C:\\d\\new", "C:\\D\\TARGET");
  EXPECT_EQ(readFile("d/target"), "new");
  EXPECT_FALSE(fs::exists(root_ / "d/new"));
  EXPECT_EQ(ioCodeOf([&] { host_.replaceFile("C:\\d\\new", "C:\\d\\target"); }), io::FileNotFound);

  makeFile("d/new", "newer");
  EXPECT_TRUE(host_.removeFile("C:\\d\\NEW"));
  EXPECT_FALSE(host_.removeFile("C:\\d\\new"));
  EXPECT_FALSE(host_.removeFile("C:\\d"));
  EXPECT_FALSE(host_.removeFile("Z:\\x"));
}

TEST(IoCodeFromErrno, MapsHostErrorsOntoTheRuntimeCodes) {
  EXPECT_EQ(ioCodeFromErrno(ENOENT), io::InvalidFilename);
  EXPECT_EQ(ioCodeFromErrno(ENOTDIR), io::InvalidFilename);
  EXPECT_EQ(ioCodeFromErrno(EACCES), io::AccessDenied);
  EXPECT_EQ(ioCodeFromErrno(EISDIR), io::AccessDenied);
  EXPECT_EQ(ioCodeFromErrno(EROFS), io::AccessDenied);
  EXPECT_EQ(ioCodeFromErrno(ENOSPC), io::DiskFull);
  EXPECT_EQ(ioCodeFromErrno(EDQUOT), io::DiskFull);
  EXPECT_EQ(ioCodeFromErrno(EMFILE), io::TooManyOpenFiles);
  EXPECT_EQ(IoError(ioCodeFromErrno(EIO)).what(), std::string("I/O error 1117"));
  EXPECT_EQ(IoError(ioCodeFromErrno(0)).what(), std::string("I/O error 31"));
}

TEST_F(HostFileSystemTest, AppendsToFilesAndMakesStagingFoldersAsAnyFolder) {
  makeFile("d/setup.log", "old\n");
  auto log = host_.appendFile("C:\\D\\SETUP.LOG");
  const std::uint8_t line[] = {'n', 'e', 'w', '\n'};
  log->write(line, sizeof line);
  log->close();
  EXPECT_EQ(readFile("d/setup.log"), "old\nnew\n");
  EXPECT_EQ(ioCodeOf([&] { host_.appendFile("Z:\\setup.log"); }), io::InvalidFilename);

  EXPECT_FALSE(host_.runsElevated());
  EXPECT_TRUE(host_.createStagingFolder("C:\\d\\Stage"));
  EXPECT_TRUE(fs::is_directory(root_ / "d/Stage"));
  EXPECT_FALSE(host_.createStagingFolder("C:\\d\\Stage"));
  EXPECT_FALSE(host_.createStagingFolder("C:\\missing\\Stage"));
}

// No registry, no Windows programs to start or wait for, no shell links, no
// holds: the interface's own answer for "there is none" where it has one,
// else an error that says so, and nothing is left on the disk.
TEST_F(HostFileSystemTest, AnswersPlainlyWhatAHostHasNoSenseOf) {
  makeFile("Start/Old.Lnk", "Target=C:\\V\\Vorpane.Exe\r\n");
  makeFile("d/running.exe");
  EXPECT_THROW(host_.startWindowed("C:\\V\\Vorpane.Exe", 3), std::runtime_error);
  EXPECT_THROW(host_.openLink("mailto:someone"), std::runtime_error);
  EXPECT_THROW(host_.createShortcut({"C:\\V\\Vorpane.Exe", "C:\\Start\\Vorpane.Lnk", "Vorpane", ""}),
               std::runtime_error);
  EXPECT_FALSE(fs::exists(root_ / "Start/Vorpane.Lnk"));
  EXPECT_EQ(host_.shortcutTarget("C:\\Start\\Old.Lnk"), std::nullopt);
  EXPECT_THROW(host_.ownProgramPath(), std::runtime_error);
  EXPECT_THROW(host_.processId(), std::runtime_error);
  EXPECT_EQ(host_.temporaryFolder(), std::nullopt);
  EXPECT_FALSE(host_.startInFolder("C:\\V\\Vorpane.Exe", "C:\\V"));
  EXPECT_FALSE(host_.startWindowedAsDesktopUser("C:\\V\\Vorpane.Exe", 1));
  EXPECT_TRUE(host_.waitForProcessEnd(4242, -1));
  EXPECT_FALSE(host_.fileInUse("C:\\d\\running.exe"));
  EXPECT_FALSE(host_.removeFileAtRestart("C:\\d\\running.exe"));
  EXPECT_TRUE(fs::exists(root_ / "d/running.exe"));
  EXPECT_THROW(host_.writeHeldFile("C:\\d\\held.exe", {'M', 'Z'}), std::runtime_error);
  EXPECT_FALSE(fs::exists(root_ / "d/held.exe"));

  EXPECT_THROW(host_.writeRegistryValues("Software\\Vorpane", {{"DisplayName", "Vorpane", {}}}),
               std::runtime_error);
  EXPECT_EQ(host_.readRegistryText("Software\\Vorpane", "DisplayName"), std::nullopt);
  EXPECT_TRUE(host_.removeRegistryKey("Software\\Vorpane"));
  EXPECT_EQ(host_.systemErrorText(io::AccessDenied), "");
}

// The host's own clock: a sleep takes real time, and the clock never goes back.
TEST_F(HostFileSystemTest, SleepsOnTheHostsClock) {
  const std::uint64_t before = host_.tickCount();
  host_.sleep(20);
  const std::uint64_t after = host_.tickCount();
  EXPECT_GE(after, before + 20);
  EXPECT_LT(after, before + 20000);
}

TEST_F(HostFileSystemTest, GivesGuidsTimeAndRandomNumbers) {
  const Guid first = host_.createGuid(), second = host_.createGuid();
  EXPECT_NE(first.data1 ^ second.data1 ^ first.data2 ^ second.data2, 0u);
  EXPECT_EQ(first.data3 >> 12, 4);
  Guid fixed;
  fixed.data1 = 0x12345678;
  host_.setGuid(fixed);
  EXPECT_EQ(host_.createGuid().data1, 0x12345678u);

  EXPECT_GE(host_.now().year, 2024);
  host_.setNow({2006, 12, 8, 10, 11, 12, 13});
  EXPECT_EQ(host_.now().day, 8);
  EXPECT_EQ(host_.now().millisecond, 13);

  host_.seedRandom(7);
  std::vector<std::uint32_t> draws;
  for (int i = 0; i < 50; ++i) draws.push_back(host_.random(10));
  host_.seedRandom(7);
  for (std::uint32_t draw : draws) {
    EXPECT_EQ(host_.random(10), draw);
    EXPECT_LT(draw, 10u);
  }
  EXPECT_EQ(host_.random(0), 0u);
}

TEST_F(HostFileSystemTest, ComparesTextWithoutCase) {
  EXPECT_EQ(host_.compareTextInsensitive("C:\\Vorpane", "c:\\VORPANE"), 0);
  EXPECT_LT(host_.compareTextInsensitive("abc", "ABD"), 0);
  EXPECT_GT(host_.compareTextInsensitive("b", "A"), 0);
  EXPECT_LT(host_.compareTextInsensitive("ab", "AbC"), 0);
}

}  // namespace
}  // namespace vorpane::platform
