#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "tests/support/FakePlatform.h"
#include "ui/DirectoryRows.h"

namespace vorpane::ui {
namespace {

namespace fs = std::filesystem;
using platform::DriveType;

// Lists entries in reverse, so the rows cannot lean on the file system's order.
class ReversedPlatform : public platform::FakePlatform {
 public:
  std::vector<platform::DirEntry> listDirectory(const std::string& pattern) override {
    auto entries = FakePlatform::listDirectory(pattern);
    std::reverse(entries.begin(), entries.end());
    return entries;
  }
};

class DirectoryRowsTest : public ::testing::Test {
 protected:
  DirectoryRowsTest() {
    // Unique per process: other builds may run these tests at the same time.
    root = fs::temp_directory_path() / ("vorpane_rows_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    for (const char* dir : {"Program Files/Vorpane", "Program Files/alpha", "Program Files/Beta", "Windows"})
      fs::create_directories(root / dir);
    std::ofstream(root / "Program Files" / "readme.txt") << "not a folder";
    host.mapDrive('C', root);
  }
  ~DirectoryRowsTest() override { fs::remove_all(root); }

  fs::path root;
  ReversedPlatform host;
};

TEST_F(DirectoryRowsTest, AncestorsOpenCurrentThenSortedSubdirectories) {
  const std::vector<DirectoryRow> expected = {
      {"C:\\", "C:\\", FolderGlyph::Open, 0},
      {"Program Files", "C:\\Program Files", FolderGlyph::Current, 1},
      {"alpha", "C:\\Program Files\\alpha", FolderGlyph::Closed, 2},
      {"Beta", "C:\\Program Files\\Beta", FolderGlyph::Closed, 2},
      {"Vorpane", "C:\\Program Files\\Vorpane", FolderGlyph::Closed, 2},
  };
  EXPECT_EQ(directoryRows(host, "C:\\Program Files"), expected);
  EXPECT_EQ(directoryRows(host, "C:\\Program Files\\"), expected);
}

TEST_F(DirectoryRowsTest, DriveRootIsCurrentItself) {
  const auto rows = directoryRows(host, "C:\\");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (DirectoryRow{"C:\\", "C:\\", FolderGlyph::Current, 0}));
  EXPECT_EQ(rows[1], (DirectoryRow{"Program Files", "C:\\Program Files", FolderGlyph::Closed, 1}));
  EXPECT_EQ(rows[2].name, "Windows");
}

TEST_F(DirectoryRowsTest, MissingOrEmptyDirectoryShowsOnlyItsPath) {
  EXPECT_TRUE(directoryRows(host, "").empty());
  const auto rows = directoryRows(host, "C:\\Vorpane\\New");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2], (DirectoryRow{"New", "C:\\Vorpane\\New", FolderGlyph::Current, 2}));
}

TEST_F(DirectoryRowsTest, DrivesAreTheLettersThatExist) {
  host.mapDrive('E', root / "Windows", DriveType::CdRom);
  host.mapDrive('A', root / "Windows", DriveType::Removable);
  const std::vector<DriveEntry> expected = {
      {'A', DriveType::Removable}, {'C', DriveType::Fixed}, {'E', DriveType::CdRom}};
  EXPECT_EQ(machineDrives(host), expected);
  EXPECT_EQ(expected[2].root(), "E:\\");
}

}  // namespace
}  // namespace vorpane::ui
