#include "platform/Folders.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/HostPlatform.h"

namespace vorpane::platform {
namespace {

namespace fs = std::filesystem;

// C: on a folder of the test's own, S: on C:\Sub as a drive that is only
// another name for a folder.
class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("vorpane-folders-" + std::to_string(std::random_device{}()));
    fs::create_directories(root_ / "Tools/Vorpane-test");
    fs::create_directories(root_ / "Sub/VP");
    host_.mapDrive('C', root_);
    host_.mapDrive('S', root_ / "Sub");
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path root_;
  HostPlatform host_;
};

TEST_F(FoldersTest, NamesOfOneFolderAreTheSameFolderAndNestedFoldersAreNot) {
  EXPECT_TRUE(sameFolder(host_, "C:\\Tools", "c:\\TOOLS\\"));
  EXPECT_TRUE(sameFolder(host_, "C:\\Tools\\Vorpane-test\\..", "C:\\\\Tools."));
  EXPECT_FALSE(sameFolder(host_, "C:\\Tools", "C:\\Tools\\Vorpane-test"));
  EXPECT_FALSE(sameFolder(host_, "C:\\Tools\\Vorpane-test", "C:\\Tools"));
  EXPECT_FALSE(sameFolder(host_, "C:\\Tools\\Vorpane", "C:\\Tools\\Vorpane-test"));
  EXPECT_TRUE(sameFolder(host_, "S:\\VP", "C:\\Sub\\vp\\"));
  EXPECT_TRUE(sameFolder(host_, "S:\\", "C:\\Sub"));
  // Gone, or not made yet: still one folder under both names.
  EXPECT_TRUE(sameFolder(host_, "S:\\Gone\\Deeper", "C:\\Sub\\Gone\\Deeper\\"));
  EXPECT_FALSE(sameFolder(host_, "S:\\Gone", "C:\\Gone"));
  EXPECT_FALSE(sameFolder(host_, "", "C:\\"));
}

TEST_F(FoldersTest, NormalisedDirectoriesAreFullCanonicalAndEndInOneBackslash) {
  EXPECT_EQ(normalizedDirectory(host_, "c:\\tools\\"), "C:\\Tools\\");
  EXPECT_EQ(normalizedDirectory(host_, "C:\\"), "C:\\");
  EXPECT_EQ(normalizedDirectory(host_, "S:\\VP"), "C:\\Sub\\VP\\");
  EXPECT_EQ(normalizedDirectory(host_, "S:\\New.\\Dir..\\"), "C:\\Sub\\New\\Dir\\");
  EXPECT_EQ(normalizedDirectory(host_, "Q:\\x\\y"), "Q:\\x\\y\\");
  EXPECT_EQ(normalizedDirectory(host_, "\\\\server\\share\\x\\..\\y"), "\\\\server\\share\\y\\");
}

}  // namespace
}  // namespace vorpane::platform
