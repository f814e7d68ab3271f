// The tests' platform double: what it adds to the host file system (set shell
// folders, hidden marks, refused replacements, recorded processes, links and
// shortcuts). Its other faults are exercised by the tests of the runs that use
// them (tests/app, tests/uninstaller).

#include "tests/support/FakePlatform.h"
#include "tests/support/ScratchDrive.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <sstream>

namespace vorpane::platform {
namespace {

namespace fs = std::filesystem;

using FakePlatformTest = testing::ScratchDrive<FakePlatform>;

TEST_F(FakePlatformTest, ReportsTheShellFoldersSet) {
  EXPECT_EQ(host_.shellFolder(ShellFolder::Programs), std::nullopt);
  host_.setShellFolder(ShellFolder::Programs, "C:\\Start");
  EXPECT_EQ(host_.shellFolder(ShellFolder::Programs), "C:\\Start");
}

TEST_F(FakePlatformTest, ListsWhatATestHidesAsHidden) {
  makeFile("d/plain.txt");
  fs::create_directories(root_ / "d/Secret");
  host_.setHidden("c:\\D\\secret");

  std::map<std::string, std::uint32_t> attributes;
  for (const DirEntry& entry : host_.listDirectory("C:\\d\\*.*")) attributes[entry.name] = entry.attributes;
  EXPECT_EQ(attributes["plain.txt"], attr::Archive);
  EXPECT_EQ(attributes["Secret"], attr::Directory | attr::Hidden);
  EXPECT_EQ(attributes["."], attr::Directory);

  // Entry by entry too, and in the current directory.
  std::map<std::string, std::uint32_t> visited;
  host_.forEachEntry("C:\\d\\*.*",
                     [&](const EntryView& entry) { visited[std::string(entry.name)] = entry.attributes; });
  EXPECT_EQ(visited["Secret"], attr::Directory | attr::Hidden);
  EXPECT_EQ(visited["plain.txt"], attr::Archive);
  host_.setCurrentDirectory("C:\\D");
  EXPECT_TRUE(host_.listDirectory("SECRET")[0].isHidden());

  host_.setHidden("C:\\d\\Secret", false);
  EXPECT_FALSE(host_.listDirectory("C:\\d\\secret")[0].isHidden());
}

TEST_F(FakePlatformTest, RefusesReplacementsAsTold) {
  makeFile("d/new", "newer");
  makeFile("d/target", "new");
  host_.refuseReplace("c:\\d\\Target");
  EXPECT_EQ(ioCodeOf([&] { host_.replaceFile("C:\\d\\new", "C:\\d\\target"); }), io::AccessDenied);
  EXPECT_EQ(readFile("d/target"), "new");
  host_.refuseReplace("C:\\d\\other", 32);
  EXPECT_EQ(ioCodeOf([&] { host_.replaceFile("C:\\d\\new", "C:\\d\\other"); }), 32);
}

TEST_F(FakePlatformTest, RecordsProcessesLinksAndShortcuts) {
  host_.startWindowed("C:\\Vorpane\\Vorpane.Exe", 3);
  host_.openLink("mailto:someone");
  ASSERT_EQ(host_.windowedStarts().size(), 1u);
  EXPECT_EQ(host_.windowedStarts()[0].commandLine, "C:\\Vorpane\\Vorpane.Exe");
  EXPECT_EQ(host_.windowedStarts()[0].showMode, 3);
  EXPECT_EQ(host_.openedLinks(), std::vector<std::string>{"mailto:someone"});

  fs::create_directories(root_ / "Start");
  host_.createShortcut({"C:\\V\\Vorpane.Exe", "C:\\start\\Vorpane.Lnk", "Vorpane", ""});
  ASSERT_EQ(host_.shortcuts().size(), 1u);
  EXPECT_EQ(host_.shortcuts()[0].description, "Vorpane");
  EXPECT_NE(readFile("Start/Vorpane.Lnk").find("Target=C:\\V\\Vorpane.Exe"), std::string::npos);
  EXPECT_EQ(host_.shortcutTarget("C:\\Start\\VORPANE.lnk"), "C:\\V\\Vorpane.Exe");
  // Saving into a missing folder stays silent.
  EXPECT_NO_THROW(host_.createShortcut({"C:\\V\\Vorpane.Exe", "C:\\none\\Vorpane.Lnk", "Vorpane", ""}));

  host_.failShortcuts(true);
  EXPECT_THROW(host_.createShortcut({"C:\\x", "C:\\start\\x.Lnk", "", ""}), std::runtime_error);
  EXPECT_EQ(host_.shortcuts().size(), 2u);
}

}  // namespace
}  // namespace vorpane::platform
