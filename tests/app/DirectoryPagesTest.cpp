// The three directory pages: proposed defaults, the normalised entry, the
// checks on "&Next" with their messages, and the summary.

#include <fstream>

#include "WizardTestSupport.h"

namespace vorpane::testing {
namespace {

namespace fs = std::filesystem;
using platform::DriveType;

class DirectoryPagesTest : public WizardTest {
 protected:
  void SetUp() override { walkToChoice(); }
  void openInstallPage() {
    view.click("BtnInstall");
    ASSERT_EQ(page(), "Tab10ChooseInstallDir");
  }
  // Types a path into a page's entry as a user would.
  void enter(const std::string& edit, const std::string& path) {
    view.clearText(edit);
    view.type(edit, path);
  }
};

TEST_F(DirectoryPagesTest, DefaultsFollowProgramFilesDownloadsAndTheDownloadDrive) {
  openInstallPage();
  EXPECT_EQ(model.text("Edit1"), "C:\\Program Files\\Vorpane\\");
  EXPECT_EQ(model.focus(), "Button8");
  EXPECT_NE(model.text("StaticText1").find("The installation directory is the directory\ron your harddisk"),
            std::string::npos);
  view.click("Button8");
  EXPECT_TRUE(fs::is_directory(host("C:\\Program Files\\Vorpane")));
  EXPECT_EQ(wizard->installDir(), "C:\\Program Files\\Vorpane\\");

  EXPECT_EQ(model.text("Edit2"), "C:\\Downloads");
  view.click("Button11");
  EXPECT_EQ(wizard->downloadDir(), "C:\\Downloads\\");

  EXPECT_EQ(model.text("Edit3"), "C:\\Vorpane_Cache");
  view.click("Button14");
  EXPECT_EQ(wizard->cacheDir(), "C:\\Vorpane_Cache\\");

  EXPECT_EQ(page(), "Tab13InstallNow");
  EXPECT_EQ(model.text("Label6"), "Install directory = C:\\Program Files\\Vorpane\\");
  EXPECT_EQ(model.text("Label7"), "Download directory = C:\\Downloads\\");
  EXPECT_EQ(model.text("Label8"), "Cache directory = C:\\Vorpane_Cache\\");
  EXPECT_EQ(model.focus(), "Button17");
  EXPECT_TRUE(model.checked("cbShortcut"));
}

TEST_F(DirectoryPagesTest, UnknownProgramFilesFolderProposesVorpaneOnC) {
  platform.setShellFolder(platform::ShellFolder::ProgramFiles, std::nullopt);
  openInstallPage();
  EXPECT_EQ(model.text("Edit1"), "C:\\Vorpane\\");
}

TEST_F(DirectoryPagesTest, ProductNameIsAddedUnlessThePathAlreadyNamesIt) {
  mapDrive('D');
  makeDirectory("D:\\Tools");
  makeDirectory("D:\\MyVORPANE");
  openInstallPage();
  model.setDirectory("DirectoryListBox1", "D:\\Tools");
  EXPECT_EQ(model.text("Edit1"), "D:\\Tools\\Vorpane\\");
  model.setDirectory("DirectoryListBox1", "D:\\MyVORPANE");
  EXPECT_EQ(model.text("Edit1"), "D:\\MyVORPANE\\");
}

TEST_F(DirectoryPagesTest, DownloadsOnCWinsOverDAndE) {
  mapDrive('D');
  mapDrive('E');
  makeDirectory("E:\\Downloads");
  makeDirectory("D:\\Downloads");
  openInstallPage();
  view.click("Button8");
  EXPECT_EQ(model.text("Edit2"), "D:\\Downloads");
  view.click("Button12");
  makeDirectory("C:\\Downloads");
  view.click("Button8");
  EXPECT_EQ(model.text("Edit2"), "C:\\Downloads");
}

TEST_F(DirectoryPagesTest, DownloadsOnADriveThatIsNoHardDiskIsPassedOver) {
  mapDrive('D', DriveType::CdRom);
  makeDirectory("D:\\Downloads");
  openInstallPage();
  view.click("Button8");
  EXPECT_EQ(model.text("Edit2"), "C:\\Downloads");
}

TEST_F(DirectoryPagesTest, CacheIsProposedOnTheDownloadDrive) {
  mapDrive('E');
  makeDirectory("E:\\Downloads");
  openInstallPage();
  view.click("Button8");
  view.click("Button11");
  EXPECT_EQ(model.text("Edit3"), "E:\\Vorpane_Cache");
}

TEST_F(DirectoryPagesTest, DriveThatIsNoHardDiskIsRefusedOnEveryPage) {
  mapDrive('D', DriveType::CdRom);
  makeDirectory("D:\\Vorpane");
  openInstallPage();
  enter("Edit1", "D:\\Vorpane");
  view.click("Button8");
  EXPECT_EQ(page(), "Tab10ChooseInstallDir");
  ASSERT_EQ(loop.errors.size(), 1u);
  EXPECT_EQ(loop.errors[0], "D: is not a harddisk\rVorpane must be installed on a (local) harddisk.");
  EXPECT_EQ(wizard->installDir(), "D:\\Vorpane\\") << "the field keeps the normalised value";

  enter("Edit1", "C:\\Vorpane");
  view.click("Button8");
  platform.setDriveType('D', DriveType::Remote);
  enter("Edit2", "D:\\Downloads");
  view.click("Button11");
  EXPECT_EQ(loop.errors.back(), "D: is not a harddisk\rThe downloaddirectory must be on a (local) harddisk.");
  EXPECT_EQ(model.focus(), "Edit2");
  EXPECT_TRUE(model.allSelected("Edit2"));

  enter("Edit2", "C:\\Downloads");
  view.click("Button11");
  platform.setDriveType('D', DriveType::Removable);
  enter("Edit3", "D:\\Cache");
  view.click("Button14");
  EXPECT_EQ(loop.errors.back(), "D: is not a harddisk\rThe Cachedirectory must be on a (local) harddisk.");
  EXPECT_EQ(page(), "Tab12ChooseCacheDirectory");
  EXPECT_EQ(model.focus(), "Edit3");
  EXPECT_TRUE(model.allSelected("Edit3"));
}

TEST_F(DirectoryPagesTest, EntryThatStartsAtNoDriveRootIsRefused) {
  openInstallPage();
  const std::string disk = "\rVorpane must be installed on a (local) harddisk.";
  const std::vector<std::pair<std::string, std::string>> refusals{
      {"", "\\: is not a harddisk" + disk},
      {"\\\\server\\share", "\\: is not a harddisk" + disk},
      {"//server/share", "/: is not a harddisk" + disk},
      {" Vorpane ", "Vorpane is not a full path."},
      {"C:Vorpane", "C:Vorpane is not a full path."},
  };
  for (const auto& [entry, refusal] : refusals) {
    enter("Edit1", entry);
    view.click("Button8");
    EXPECT_EQ(page(), "Tab10ChooseInstallDir") << entry;
    ASSERT_FALSE(loop.errors.empty());
    EXPECT_EQ(loop.errors.back(), refusal);
    EXPECT_EQ(model.text("Edit1"), entry) << "the entry keeps what was typed";
  }
  EXPECT_EQ(loop.errors.size(), refusals.size());
  EXPECT_FALSE(fs::exists(host("C:\\Vorpane")));
}

TEST_F(DirectoryPagesTest, DirectoriesAreStoredFullAndOnTheDriveThatHoldsThem) {
  makeDirectory("C:\\Sub");
  platform.mapDrive('S', host("C:\\Sub"));
  openInstallPage();
  enter("Edit1", "C:\\Program Files\\..\\VP");
  view.click("Button8");
  EXPECT_EQ(wizard->installDir(), "C:\\VP\\");
  EXPECT_EQ(model.text("Edit1"), "C:\\Program Files\\..\\VP");
  EXPECT_TRUE(fs::is_directory(host("C:\\VP")));

  enter("Edit2", "S:\\Down. ");
  view.click("Button11");
  EXPECT_EQ(wizard->downloadDir(), "C:\\Sub\\Down\\");
}

TEST_F(DirectoryPagesTest, OnlyOneLevelIsCreated) {
  openInstallPage();
  enter("Edit1", "C:\\Missing\\Vorpane");
  view.click("Button8");
  EXPECT_EQ(page(), "Tab10ChooseInstallDir");
  ASSERT_EQ(loop.errors.size(), 1u);
  EXPECT_EQ(loop.errors[0], "Could not create directory C:\\Missing\\Vorpane\\.");
  EXPECT_FALSE(fs::exists(host("C:\\Missing")));
  // The refused entry has the focus, all selected: what is typed replaces it.
  EXPECT_EQ(model.focus(), "Edit1");
  view.type("Edit1", "C:\\Vorpane");
  view.click("Button8");
  EXPECT_EQ(page(), "Tab11ChooseDownloadDir");
  EXPECT_TRUE(fs::is_directory(host("C:\\Vorpane")));
}

TEST_F(DirectoryPagesTest, ExistingDataFileRefusesAFreshInstall) {
  makeDirectory("C:\\Program Files\\Vorpane");
  std::ofstream(host("C:\\Program Files\\Vorpane\\Vorpane.Dat")) << "x";
  openInstallPage();
  view.click("Button8");
  EXPECT_EQ(page(), "Tab10ChooseInstallDir");
  ASSERT_EQ(loop.errors.size(), 1u);
  EXPECT_EQ(loop.errors[0],
            "Cannot install Vorpane in C:\\Program Files\\Vorpane\\\rbecause it already exists there. You "
            "can:\r- Delete it or uninstall it first, \r- Go back and choose upgrade instead of install.");
  EXPECT_EQ(model.focus(), "Edit1") << "not the \"&Next\" that was pressed";
  EXPECT_TRUE(model.allSelected("Edit1"));
}

TEST_F(DirectoryPagesTest, ReenteringAPageProposesTheDefaultsAgain) {
  openInstallPage();
  enter("Edit1", "C:\\Elsewhere");
  view.click("Button9");
  view.click("BtnInstall");
  EXPECT_EQ(model.text("Edit1"), "C:\\Program Files\\Vorpane\\");

  view.click("Button8");
  view.click("Button11");
  enter("Edit3", "C:\\OtherCache");
  view.click("Button15");
  view.click("Button11");
  EXPECT_EQ(model.text("Edit3"), "C:\\Vorpane_Cache");
}

}  // namespace
}  // namespace vorpane::testing
