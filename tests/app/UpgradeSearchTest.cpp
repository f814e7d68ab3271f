// The upgrade search: which data files are offered, the choice list, and the
// way back when nothing is found.

#include <fstream>

#include "WizardTestSupport.h"

namespace vorpane::testing {
namespace {

namespace fs = std::filesystem;

class UpgradeSearchTest : public WizardTest {
 protected:
  // A data file as the installer writes it starts with its version byte, escaped.
  void plant(const std::string& directory, int version) {
    makeDirectory(directory);
    std::ofstream(host(directory + "\\Vorpane.Dat"), std::ios::binary)
        << static_cast<char>(31) << static_cast<char>(version + 84) << "data";
  }
  void search() {
    walkToChoice();
    view.click("BtnUpgrade");
  }
};

TEST_F(UpgradeSearchTest, OffersOnlyReadableDataFilesOfCompatibleVersionsOnFixedDisks) {
  mapDrive('E');
  mapDrive('D', platform::DriveType::CdRom);
  plant("C:\\Vorpane", 5);
  plant("E:\\Newest", 14);
  plant("E:\\Oldest", 4);
  plant("E:\\TooOld", 3);
  plant("E:\\TooNew", 15);
  plant("D:\\OnCd", 5);
  makeDirectory("E:\\Folder\\Vorpane.Dat");
  makeDirectory("E:\\Empty");
  std::ofstream(host("E:\\Empty\\Vorpane.Dat")).flush();
  search();
  EXPECT_EQ(page(), "Tab20SearchDirectory");
  EXPECT_EQ(model.text("StaticText4"),
            "Now searching for installed Vorpane versions on your hard disks.\rThis can take a few moments.");
  EXPECT_EQ(model.text("Label12"), "100% complete");
  EXPECT_EQ(model.position("ProgressBar1"), 100);
  EXPECT_TRUE(loop.messages.empty());
  ASSERT_TRUE(model.timerEnabled("Timer2"));
  view.fireTimer("Timer2");

  EXPECT_EQ(page(), "Tab21StartUpgrade");
  EXPECT_EQ(model.items("ComboBoxUpgrade"),
            (std::vector<std::string>{"C:\\Vorpane\\", "E:\\Newest\\", "E:\\Oldest\\"}));
  EXPECT_EQ(model.text("ComboBoxUpgrade"), "C:\\Vorpane\\");
  EXPECT_EQ(model.focus(), "ComboBoxUpgrade");
  view.pickItem("ComboBoxUpgrade", 2);
  view.click("CheckBoxUpgradeShortcut");
  view.click("Button23");
  EXPECT_EQ(wizard->upgradeDir(), "E:\\Oldest\\");
  EXPECT_EQ(page(), "Tab22Upgrading");
  EXPECT_TRUE(fs::exists(host("E:\\Oldest\\Uninstall_Vorpane.Exe")));
  EXPECT_TRUE(platform.shortcuts().empty());
}

TEST_F(UpgradeSearchTest, NothingFoundSaysSoAndReturnsToTheChoice) {
  plant("C:\\Vorpane", 15);
  search();
  EXPECT_EQ(loop.messages,
            std::vector<std::string>{
                "No installed Vorpane versions could be found.\rOr the found Vorpane versions are "
                "newer than\rthe one in this installation. An upgrade is\rnot possible."});
  view.fireTimer("Timer2");
  EXPECT_EQ(page(), "Tab03Choose");
}

}  // namespace
}  // namespace vorpane::testing
