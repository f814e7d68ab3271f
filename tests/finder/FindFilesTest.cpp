#include "finder/LIB_FindFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "tests/support/FakePlatform.h"

namespace vorpane::finder {
namespace {

namespace fs = std::filesystem;
using platform::DriveType;
using Paths = std::vector<std::string>;
using Percentages = std::vector<int>;

TEST(FindFilesParsing, MasksAndDirectories) {
  EXPECT_EQ(ParseMasks(""), Paths{"*.*"});
  EXPECT_EQ(ParseMasks(" ; ;"), Paths{"*.*"});
  EXPECT_EQ(ParseMasks(" * "), Paths{"*.*"});
  EXPECT_EQ(ParseMasks("  Vorpane.Dat ; ;\t*.Bak ;"), (Paths{"Vorpane.Dat", "*.Bak"}));
  EXPECT_EQ(ParseDirectories(" C:\\a ;; D:\\b\\ ; "), (Paths{"C:\\a\\", "D:\\b\\"}));
  EXPECT_TRUE(ParseDirectories("  ").empty());
}

TEST(FindFilesDrives, EachSelectionTakesItsDriveTypes) {
  platform::FakePlatform host;
  host.setDriveType('A', DriveType::Removable);
  host.setDriveType('C', DriveType::Fixed);
  host.setDriveType('D', DriveType::CdRom);
  host.setDriveType('F', DriveType::RamDisk);
  host.setDriveType('G', DriveType::Unknown);
  host.setDriveType('N', DriveType::Remote);
  host.setDriveType('Z', DriveType::Fixed);
  EXPECT_EQ(SelectDrives(host, 1), (Paths{"C:\\", "Z:\\"}));
  EXPECT_EQ(SelectDrives(host, 2), (Paths{"A:\\", "C:\\", "F:\\", "Z:\\"}));
  EXPECT_EQ(SelectDrives(host, 3), (Paths{"A:\\", "C:\\", "D:\\", "F:\\", "N:\\", "Z:\\"}));
  EXPECT_TRUE(SelectDrives(host, 4).empty());
  EXPECT_TRUE(SelectDrives(host, 255).empty());
}

TEST(FindFilesRanges, RootsShareTheScaleAndManyRootsInvertIt) {
  EXPECT_EQ(RootRange(0, 1), (ProgressRange{1'000, 998'000}));
  EXPECT_EQ(RootRange(1, 3), (ProgressRange{333'667, 665'333}));
  // 31,187.5 x 3 = 93,562.5 rounds to the even 93,562.
  EXPECT_EQ(RootRange(3, 32), (ProgressRange{94'562, 124'750}));
  EXPECT_EQ(RootRange(0, 1'000), (ProgressRange{1'000, 998}));
  EXPECT_EQ(RootRange(999, 1'000), (ProgressRange{998'002, 998'000}));
}

TEST(FindFilesRanges, SubdirectoriesTakeAnEighthOfWhatIsLeft) {
  SubdirectoryShares shares({1'000, 998'000});
  EXPECT_EQ(shares.next(), (ProgressRange{1'000, 125'625}));
  EXPECT_EQ(shares.next(), (ProgressRange{125'625, 234'671}));

  // Beyond the end: ends clamp to it, shares truncate toward zero (-1313 / 8 = -164).
  SubdirectoryShares inverted({2'000, 500});
  EXPECT_EQ(inverted.next(), (ProgressRange{2'000, 500}));
  EXPECT_EQ(inverted.next(), (ProgressRange{500, 336}));
}

class FindFilesTest : public ::testing::Test {
 protected:
  FindFilesTest() {
    root_ = fs::temp_directory_path() / ("vorpane-finder-" + std::to_string(std::random_device{}()));
    fs::create_directories(root_ / "c");
    host_.mapDrive('C', root_ / "c");
  }
  ~FindFilesTest() override { fs::remove_all(root_); }

  void makeFile(const fs::path& relative) {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative) << "x";
  }

  Paths find(const std::string& masks, std::uint8_t drives, const std::string& directories = "",
             const FilterCallback& filter = {}) {
    percentages_.clear();
    return FindFiles(
        host_, masks, drives, directories, [&](std::uint8_t p) { percentages_.push_back(p); }, filter);
  }

  fs::path root_;
  platform::FakePlatform host_;
  Percentages percentages_;
};

TEST_F(FindFilesTest, CurrentDriveOnlyWithSelectionZero) {
  makeFile("c/Vorpane.Dat");
  makeFile("d/Vorpane.Dat");
  host_.mapDrive('D', root_ / "d", DriveType::Removable);
  host_.setCurrentDirectory("D:\\Somewhere\\Deep");
  EXPECT_EQ(find("Vorpane.Dat", 0), Paths{"D:\\Vorpane.Dat"});
  EXPECT_EQ(find("Vorpane.Dat", 1), Paths{"C:\\Vorpane.Dat"});
}

TEST_F(FindFilesTest, HiddenFoldersStayClosedButHiddenMatchesAndMatchingFoldersAreFound) {
  makeFile("c/Secret/Vorpane.Dat");
  makeFile("c/Old/Vorpane.Dat");
  makeFile("c/Old/Vorpane.Dat.bak");
  fs::create_directories(root_ / "c/Vorpane.Dat");
  host_.setHidden("C:\\Secret");
  host_.setHidden("C:\\Old\\Vorpane.Dat");
  EXPECT_EQ(find(" vorpane.dat ", 1), (Paths{"C:\\Old\\Vorpane.Dat", "C:\\Vorpane.Dat"}));
}

TEST_F(FindFilesTest, SameFileThroughTwoRootsIsKeptOnceAndResultsAreSorted) {
  makeFile("c/Data/Vorpane.Dat");
  makeFile("c/beta/Vorpane.Dat");
  makeFile("c/Alpha/Vorpane.Dat");
  EXPECT_EQ(find("Vorpane.Dat", 1, "c:\\data"),
            (Paths{"C:\\Alpha\\Vorpane.Dat", "C:\\beta\\Vorpane.Dat", "C:\\Data\\Vorpane.Dat"}));

  // A path turned down is asked about again when another root reaches it.
  Paths asked;
  auto refuseFirst = [&](const std::string& path) {
    asked.push_back(path);
    return asked.size() > 1;
  };
  EXPECT_EQ(find("Vorpane.Dat", 4, "C:\\Data;c:\\DATA\\;C:\\Data", refuseFirst),
            Paths{"c:\\DATA\\Vorpane.Dat"});
  EXPECT_EQ(asked, (Paths{"C:\\Data\\Vorpane.Dat", "c:\\DATA\\Vorpane.Dat"}));
}

TEST_F(FindFilesTest, ProgressFollowsTheWalkAndMayFallBack) {
  fs::create_directories(root_ / "c/a/a1/a11");
  fs::create_directories(root_ / "c/b");
  find("*", 1);
  // a11 ends at 2,947 (0 %), a1 at 16,578, a at 125,625, b at 234,671, the root at 998,000.
  EXPECT_EQ(percentages_, (Percentages{1, 0, 1, 12, 23, 99, 99, 100}));

  EXPECT_TRUE(find("*.*", 4).empty());
  EXPECT_EQ(percentages_, (Percentages{1, 99, 100}));
}

TEST_F(FindFilesTest, ExceptionsFromCallbacksEndTheSearch) {
  makeFile("c/a/Vorpane.Dat");
  makeFile("c/b/Vorpane.Dat");
  int asked = 0;
  auto failing = [&](const std::string&) -> bool {
    ++asked;
    throw std::runtime_error("cannot open");
  };
  EXPECT_THROW(find("Vorpane.Dat", 1, "", failing), std::runtime_error);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(percentages_, Percentages{1});

  auto progress = [](std::uint8_t percent) {
    if (percent == 99) throw std::logic_error("closed");
  };
  EXPECT_THROW(FindFiles(host_, "Vorpane.Dat", 1, "", progress, {}), std::logic_error);
}

TEST_F(FindFilesTest, LinksToFoldersAreOfferedButNotEntered) {
  makeFile("c/a/Vorpane.Dat");
  fs::create_directory_symlink(root_ / "c", root_ / "c/a/Back");
  fs::create_directory_symlink(root_ / "c/a", root_ / "c/Vorpane.Dat");
  EXPECT_EQ(find("*", 1), (Paths{"C:\\a", "C:\\a\\Back", "C:\\a\\Vorpane.Dat", "C:\\Vorpane.Dat"}));
  EXPECT_EQ(percentages_.size(), 5u);  // the start, a, the root, the end of the walk and of the sort
}

// Refuses to list one directory, as a system does for a folder without access.
class RefusingPlatform : public platform::FakePlatform {
 public:
  void forEachEntry(const std::string& pattern, const platform::EntryVisitor& visit) override {
    if (pattern.rfind("C:\\Locked\\", 0) != 0) FakePlatform::forEachEntry(pattern, visit);
  }
};

TEST_F(FindFilesTest, UnreadableFolderIsPassedOver) {
  RefusingPlatform refusing;
  refusing.mapDrive('C', root_ / "c");
  makeFile("c/Locked/Vorpane.Dat");
  makeFile("c/Locked/inner/Vorpane.Dat");
  makeFile("c/Open/Vorpane.Dat");
  percentages_.clear();
  auto results =
      FindFiles(refusing, "Vorpane.Dat", 1, "", [&](std::uint8_t p) { percentages_.push_back(p); }, {});
  EXPECT_EQ(results, Paths{"C:\\Open\\Vorpane.Dat"});
  EXPECT_EQ(percentages_, (Percentages{1, 12, 23, 99, 99, 100}));
}

}  // namespace
}  // namespace vorpane::finder
