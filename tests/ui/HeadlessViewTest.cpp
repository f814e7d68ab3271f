#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include <unistd.h>

#include "tests/support/FakePlatform.h"
#include "ui/HeadlessView.h"

namespace vorpane::ui {
namespace {

namespace fs = std::filesystem;

class HeadlessViewTest : public ::testing::Test {
 protected:
  HeadlessViewTest() {
    root = fs::temp_directory_path() / ("vorpane_view_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "c" / "Program Files" / "Vorpane");
    fs::create_directories(root / "d" / "Downloads");
    host.mapDrive('C', root / "c");
    host.mapDrive('D', root / "d");
  }
  ~HeadlessViewTest() override { fs::remove_all(root); }

  // Counts runs of a handler and remembers the text of EdAgree at each.
  void count(const std::string& handler) {
    model.bindHandler(handler, [this](const std::string& sender) {
      ++runs;
      seen.push_back(model.description().find(sender)->kind == ControlKind::Edit ? model.text(sender)
                                                                                 : sender);
    });
  }

  fs::path root;
  platform::FakePlatform host;
  FormModel model{installFormDescription()};
  HeadlessView view{model, host};
  int runs = 0;
  std::vector<std::string> seen;
};

TEST_F(HeadlessViewTest, TypingUpperCasesAndRaisesChangePerKeystroke) {
  model.setActivePage("Tab02Disclaimer");
  count("EdAgreeChange");
  view.type("EdAgree", "yes");
  EXPECT_EQ(model.text("EdAgree"), "YES");
  EXPECT_EQ(seen, (std::vector<std::string>{"Y", "YE", "YES"}));
  EXPECT_EQ(model.focus(), "EdAgree");
  view.clearText("EdAgree");
  EXPECT_EQ(model.text("EdAgree"), "");
  EXPECT_EQ(runs, 4);

  model.setActivePage("Tab10ChooseInstallDir");
  view.clearText("Edit1");
  view.type("Edit1", "d:\\Tools");
  EXPECT_EQ(model.text("Edit1"), "d:\\Tools") << "an ordinary edit keeps the case";
}

TEST_F(HeadlessViewTest, OnlyTheActivePageCanBeReached) {
  EXPECT_THROW(view.click("BtnNext1"), std::logic_error) << "no page shown yet";
  model.setActivePage("Tab01Welcome");
  count("BtnNext1Click");
  view.click("BtnNext1");
  EXPECT_EQ(runs, 1);
  EXPECT_THROW(view.click("Button3"), std::logic_error);
  EXPECT_THROW(view.type("Button1", "x"), std::logic_error);
}

TEST_F(HeadlessViewTest, ClickingACheckBoxTogglesIt) {
  model.setActivePage("Tab13InstallNow");
  view.click("cbShortcut");
  EXPECT_FALSE(model.checked("cbShortcut"));
  view.click("cbShortcut");
  EXPECT_TRUE(model.checked("cbShortcut"));
}

TEST_F(HeadlessViewTest, PickedDriveMovesItsListAndRaisesChange) {
  model.setActivePage("Tab11ChooseDownloadDir");
  count("DirectoryListBox2Change");
  view.pickDrive("DriveComboBox2", 'd');
  EXPECT_EQ(model.directory("DirectoryListBox2"), "D:\\");
  EXPECT_EQ(model.drive("DriveComboBox2"), 'D');
  EXPECT_EQ(runs, 1);
  EXPECT_THROW(view.pickDrive("DriveComboBox2", 'Q'), std::logic_error) << "not offered";
  ASSERT_EQ(view.drives().size(), 2u);
}

TEST_F(HeadlessViewTest, OpeningRowsWalksTheTree) {
  model.setActivePage("Tab10ChooseInstallDir");
  model.setDirectory("DirectoryListBox1", "C:\\");
  count("DirectoryListBox1Change");
  view.openRow("DirectoryListBox1", "program files");
  view.openRow("DirectoryListBox1", "Vorpane");
  EXPECT_EQ(model.directory("DirectoryListBox1"), "C:\\Program Files\\Vorpane");
  view.openRow("DirectoryListBox1", "Vorpane");  // the current row: nothing changes
  EXPECT_EQ(runs, 2);
  view.openRow("DirectoryListBox1", "C:\\");
  EXPECT_EQ(model.directory("DirectoryListBox1"), "C:\\");
  EXPECT_THROW(view.openRow("DirectoryListBox1", "Windows"), std::logic_error);
}

TEST_F(HeadlessViewTest, SelfDisablingTimerFiresOncePerEnabling) {
  model.bindHandler("Timer1Timer", [this](const std::string&) {
    ++runs;
    model.setTimerEnabled("Timer1", false);
  });
  EXPECT_FALSE(view.fireTimer("Timer1"));
  model.setTimerEnabled("Timer1", true);
  EXPECT_TRUE(view.fireTimer("Timer1"));
  EXPECT_FALSE(view.fireTimer("Timer1"));
  model.setTimerEnabled("Timer1", true);
  EXPECT_TRUE(view.fireTimer("Timer1"));
  EXPECT_EQ(runs, 2);
}

TEST_F(HeadlessViewTest, PickingAnItemSelectsIt) {
  model.setActivePage("Tab21StartUpgrade");
  model.addItem("ComboBoxUpgrade", "C:\\Vorpane\\");
  model.addItem("ComboBoxUpgrade", "D:\\Vorpane\\");
  view.pickItem("ComboBoxUpgrade", 1);
  EXPECT_EQ(model.text("ComboBoxUpgrade"), "D:\\Vorpane\\");
  EXPECT_THROW(view.pickItem("ComboBoxUpgrade", 2), std::logic_error);
}

TEST_F(HeadlessViewTest, RecordsWhatTheModelTellsAndShowsEveryControl) {
  model.setActivePage("Tab14Installing");
  model.setMaximum("pbInstall", 3263744);
  model.setPosition("pbInstall", 2188800);
  model.setText("LblInstallComplete", "67% complete");
  model.setFocus("Button1");
  using C = HeadlessView::Change;
  EXPECT_EQ(view.changes(), (std::vector<C>{{"pbInstall", Property::Maximum},
                                            {"pbInstall", Property::Position},
                                            {"LblInstallComplete", Property::Text}}));
  EXPECT_EQ(view.pageActivations(), (std::vector<std::string>{"Tab14Installing"}));
  EXPECT_EQ(view.focusChanges(), (std::vector<std::string>{"Button1"}));

  const auto bar = view.snapshot("pbInstall");
  EXPECT_EQ(bar.position, 2188800);
  EXPECT_EQ(bar.maximum, 3263744);
  EXPECT_EQ(view.snapshotAll().size(), model.description().controls.size());
  view.clearRecords();
  EXPECT_TRUE(view.changes().empty());
}

}  // namespace
}  // namespace vorpane::ui
