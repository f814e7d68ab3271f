#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/FormModel.h"

namespace vorpane::ui {
namespace {

class FormModelTest : public ::testing::Test {
 protected:
  // Records every handler run as "Handler(sender)".
  void record(const std::string& handler) {
    model.bindHandler(handler, [this, handler](const std::string& sender) {
      runs.push_back(handler + "(" + sender + ")");
    });
  }

  FormModel model{installFormDescription()};
  std::vector<std::string> runs;
};

TEST_F(FormModelTest, StartsAsDescribed) {
  EXPECT_EQ(model.caption(), "Installation Vorpane nnnn");
  EXPECT_EQ(model.activePage(), "");
  EXPECT_EQ(model.activePageIndex(), -1);
  EXPECT_EQ(model.text("Edit1"), "Edit1");
  EXPECT_EQ(model.text("Button3"), "&Next");
  EXPECT_TRUE(model.checked("cbShortcut"));
  EXPECT_TRUE(model.checked("CheckBoxUpgradeShortcut"));
  EXPECT_EQ(model.maximum("pbInstall"), 100);
  EXPECT_EQ(model.position("pbInstall"), 0);
  for (const char* timer : {"Timer1", "Timer2", "Timer3"}) EXPECT_FALSE(model.timerEnabled(timer));
  EXPECT_EQ(model.itemIndex("ComboBoxUpgrade"), -1);
}

TEST_F(FormModelTest, ShowRunsOnEveryActivation) {
  record("Tab03ChooseShow");
  model.setActivePage("Tab03Choose");
  model.setActivePage("Tab03Choose");
  EXPECT_EQ(runs, (std::vector<std::string>{"Tab03ChooseShow(Tab03Choose)", "Tab03ChooseShow(Tab03Choose)"}));
  EXPECT_EQ(model.activePageIndex(), 2);
  // A page without code behind its show event still activates.
  model.setActivePage("Tab01Welcome");
  EXPECT_EQ(model.activePage(), "Tab01Welcome");
  EXPECT_THROW(model.setActivePage("Panel5"), std::logic_error);
}

TEST_F(FormModelTest, EditChangeOnlyWhenTheTextDiffers) {
  record("EdAgreeChange");
  model.setText("EdAgree", "NO");
  model.setText("EdAgree", "NO");
  model.setText("EdAgree", "");
  EXPECT_EQ(runs.size(), 2u);
  model.setText("Label6", "Install directory = C:\\");  // labels raise nothing
  EXPECT_EQ(model.text("Label6"), "Install directory = C:\\");
}

TEST_F(FormModelTest, RaiseRunsTheBoundHandlerAndRoutesExceptions) {
  EXPECT_FALSE(model.raise("Button1", Event::Click)) << "bound by name, no code yet";
  EXPECT_FALSE(model.raise("Label1", Event::Click)) << "nothing bound";
  record("Button1Click");
  EXPECT_TRUE(model.raise("Button5", Event::Click));
  EXPECT_EQ(runs.back(), "Button1Click(Button5)") << "shared handler sees its sender";
  record("FormCreate");
  EXPECT_TRUE(model.raise("FrmInstallVorpane", Event::Create));

  model.bindHandler("Button8Click",
                    [](const std::string&) { throw std::runtime_error("D: is not a harddisk"); });
  EXPECT_THROW(model.raise("Button8", Event::Click), std::runtime_error) << "no exception handler yet";
  std::string shown;
  model.setExceptionHandler([&](const std::exception& e) { shown = e.what(); });
  EXPECT_TRUE(model.raise("Button8", Event::Click));
  EXPECT_EQ(shown, "D: is not a harddisk");
}

TEST_F(FormModelTest, UnknownNamesAndWrongKindsAreProgrammingErrors) {
  EXPECT_THROW(model.raise("Button99", Event::Click), std::logic_error);
  EXPECT_THROW(model.text("Button99"), std::logic_error);
  EXPECT_THROW(model.setText("Button99", "x"), std::logic_error);
  EXPECT_THROW(model.setDirectory("Edit1", "C:\\"), std::logic_error);
  EXPECT_THROW(model.setPosition("Label12", 3), std::logic_error);
  EXPECT_THROW(model.setTimerEnabled("Button1", true), std::logic_error);
  EXPECT_THROW(model.setFocus("Nowhere"), std::logic_error);
}

TEST_F(FormModelTest, DirectoryKeepsABackslashOnlyOnRootsAndAlwaysRaisesChange) {
  record("DirectoryListBox1Change");
  model.setDirectory("DirectoryListBox1", "D:\\Program Files\\");
  EXPECT_EQ(model.directory("DirectoryListBox1"), "D:\\Program Files");
  EXPECT_EQ(model.drive("DriveComboBox1"), 'D') << "the linked selector follows";
  EXPECT_EQ(model.drive("DriveComboBox2"), 'C') << "other selectors stay";
  model.setDirectory("DirectoryListBox1", "D:\\Program Files");
  EXPECT_EQ(runs.size(), 2u) << "the same directory again is a change too";
  model.setDirectory("DirectoryListBox1", "e:");
  EXPECT_EQ(model.directory("DirectoryListBox1"), "e:\\");
  EXPECT_EQ(model.drive("DriveComboBox1"), 'E');
  model.setDirectory("DirectoryListBox1", "C:\\\\");
  EXPECT_EQ(model.directory("DirectoryListBox1"), "C:\\");
}

TEST_F(FormModelTest, PickingADriveMovesTheListToItsRoot) {
  record("DirectoryListBox2Change");
  model.setDirectory("DirectoryListBox2", "C:\\Downloads");
  runs.clear();
  model.setDrive("DriveComboBox2", 'd');
  EXPECT_EQ(model.drive("DriveComboBox2"), 'D');
  EXPECT_EQ(model.directory("DirectoryListBox2"), "D:\\");
  EXPECT_EQ(runs, (std::vector<std::string>{"DirectoryListBox2Change(DirectoryListBox2)"}));
  EXPECT_THROW(model.setDrive("DriveComboBox2", '1'), std::logic_error);
}

TEST_F(FormModelTest, ProgressIsClampedToItsRange) {
  model.setMaximum("pbInstall", 3263744);
  model.setPosition("pbInstall", 2967040);
  EXPECT_EQ(model.position("pbInstall"), 2967040);
  model.setPosition("pbInstall", 4000000);
  EXPECT_EQ(model.position("pbInstall"), 3263744);
  model.setPosition("pbInstall", -5);
  EXPECT_EQ(model.position("pbInstall"), 0);
  model.setPosition("pbInstall", 90);
  model.setMaximum("pbInstall", 50);
  EXPECT_EQ(model.position("pbInstall"), 50) << "a smaller maximum pulls the position along";
  EXPECT_THROW(model.setMaximum("pbInstall", -1), std::logic_error);
}

TEST_F(FormModelTest, DropDownTextIsTheSelectedItem) {
  model.addItem("ComboBoxUpgrade", "C:\\Vorpane\\");
  model.addItem("ComboBoxUpgrade", "D:\\Apps\\Vorpane\\");
  model.setItemIndex("ComboBoxUpgrade", 1);
  EXPECT_EQ(model.text("ComboBoxUpgrade"), "D:\\Apps\\Vorpane\\");
  model.setItemIndex("ComboBoxUpgrade", 2);
  EXPECT_EQ(model.itemIndex("ComboBoxUpgrade"), -1);
  EXPECT_EQ(model.text("ComboBoxUpgrade"), "");
  model.setItemIndex("ComboBoxUpgrade", 0);
  model.clearItems("ComboBoxUpgrade");
  EXPECT_TRUE(model.items("ComboBoxUpgrade").empty());
  EXPECT_EQ(model.itemIndex("ComboBoxUpgrade"), -1);
  EXPECT_EQ(model.text("ComboBoxUpgrade"), "");
}

class DetachingView : public FormView {
 public:
  explicit DetachingView(FormModel& model) : model_(model) {}
  void modelChanged(const std::string&, Property) override {
    ++told;
    model_.removeView(this);
  }
  void activePageChanged(const std::string&) override {}
  void focusChanged(const std::string&) override {}
  int told = 0;

 private:
  FormModel& model_;
};

TEST_F(FormModelTest, AViewMayDetachWhileBeingTold) {
  DetachingView first(model), second(model);
  model.addView(&first);
  model.addView(&second);
  model.setCaption("Installation Vorpane 3.31");
  model.setCaption("Installation Vorpane 3.32");
  EXPECT_EQ(first.told, 1);
  EXPECT_EQ(second.told, 1);
}

}  // namespace
}  // namespace vorpane::ui
