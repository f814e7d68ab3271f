#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "product/Product.h"
#include "product/ProductTexts.h"
#include "ui/FormDescription.h"

namespace vorpane::ui {
namespace {

using K = ControlKind;
constexpr int kAuto = -1;  // a label sized by its text

const FormDescription& form() { return installFormDescription(); }

const ControlDescription& control(const std::string& name) {
  const ControlDescription* c = form().find(name);
  if (c == nullptr) throw std::runtime_error("missing control " + name);
  return *c;
}

// The methods of TFrmInstallVorpane that events may be bound to.
const std::set<std::string> kHandlers = {"FormCreate",
                                         "FormClose",
                                         "Button1Click",
                                         "BtnNext1Click",
                                         "Button3Click",
                                         "Button4Click",
                                         "EdAgreeChange",
                                         "Memo1Click",
                                         "Button7Click",
                                         "BtnInstallClick",
                                         "BtnUpgradeClick",
                                         "Label18Click",
                                         "Label20Click",
                                         "Button8Click",
                                         "Button9Click",
                                         "Button11Click",
                                         "Button12Click",
                                         "Button14Click",
                                         "Button15Click",
                                         "Button17Click",
                                         "Button18Click",
                                         "Button19Click",
                                         "Button20Click",
                                         "Button22Click",
                                         "Button23Click",
                                         "Button25Click",
                                         "BtnFailedRunExitClick",
                                         "DirectoryListBox1Change",
                                         "DirectoryListBox2Change",
                                         "DirectoryListBox3Change",
                                         "Timer1Timer",
                                         "Timer2Timer",
                                         "Timer3Timer",
                                         "Tab01WelcomeShow",
                                         "Tab02DisclaimerShow",
                                         "Tab03ChooseShow",
                                         "Tab10ChooseInstallDirShow",
                                         "Tab11ChooseDownloadDirShow",
                                         "Tab12ChooseCacheDirectoryShow",
                                         "Tab13InstallNowShow",
                                         "Tab14InstallingShow",
                                         "Tab15InstallReadyShow",
                                         "Tab20SearchDirectoryShow",
                                         "Tab21StartUpgradeShow",
                                         "Tab22UpgradingShow",
                                         "Tab23UpgradeReadyShow"};

struct PageRow {
  const char* page;
  const char* title;
  const char* titlePanel;
  const char* body;
  const char* bar;
};
const PageRow kPages[] = {
    {"Tab01Welcome", "Welcome", "Panel5", "Panel7", "Panel6"},
    {"Tab02Disclaimer", "Disclaimer", "Panel9", "Panel10", "Panel8"},
    {"Tab03Choose", "Installation", "Panel13", "Panel12", "Panel11"},
    {"Tab10ChooseInstallDir", "Choose installation directory", "Panel14", "Panel15", "Panel16"},
    {"Tab11ChooseDownloadDir", "Choose download directory", "Panel19", "Panel18", "Panel17"},
    {"Tab12ChooseCacheDirectory", "Choose cache directory", "Panel22", "Panel20", "Panel21"},
    {"Tab13InstallNow", "Ready to install", "Panel23", "Panel25", "Panel24"},
    {"Tab14Installing", "Installing Vorpane", "Panel28", "Panel27", "Panel26"},
    {"Tab15InstallReady", "Vorpane installed succesfully", "Panel31", "Panel29", "Panel30"},
    {"Tab20SearchDirectory", "Searching Vorpane", "Panel34", "Panel33", "Panel32"},
    {"Tab21StartUpgrade", "Ready to upgrade", "Panel37", "Panel36", "Panel35"},
    {"Tab22Upgrading", "Upgrading Vorpane", "Panel40", "Panel39", "Panel38"},
    {"Tab23UpgradeReady", "Vorpane upgrade completed succesfully", "Panel43", "Panel42", "Panel41"},
};

// Every control within the pages' bodies and bars, and the frame's.
struct ControlRow {
  std::string name;
  ControlKind kind;
  std::string parent;
  Rect bounds;  // w == kAuto: x, y given, size from the text
  std::string text;
  int tab = -1;
};
const std::string kBoth = "&Create shortcut on the desktop";
const std::vector<ControlRow> kControls = {
    {"Panel1", K::Panel, "FrmInstallVorpane", {0, 0, 804, 40}, ""},
    {"Image1", K::Image, "Panel1", {7, 5, 105, 105}, ""},
    {"Panel2", K::Panel, "FrmInstallVorpane", {0, 40, 25, 468}, ""},
    {"Panel3", K::Panel, "FrmInstallVorpane", {0, 508, 804, 21}, ""},
    {"Panel4", K::Panel, "FrmInstallVorpane", {779, 40, 25, 468}, ""},
    {"PageControl1", K::PageControl, "FrmInstallVorpane", {25, 40, 754, 468}, "", 0},
    // welcome
    {"Button1", K::Button, "Panel6", {8, 8, 75, 25}, "&Exit", 0},
    {"BtnNext1", K::Button, "Panel6", {665, 8, 75, 25}, "&Next", 1},
    {"Image2", K::Image, "Panel7", {0, -1, 520, 390}, ""},
    {"Label1", K::Label, "Panel7", {541, 8, 159, 13}, "Thanks for installing Vorpane"},
    {"StaticText5",
     K::StaticText,
     "Panel7",
     {544, 32, 177, 65},
     "Vorpane is a modern p2p file sharing tool allowing you to share, search and download files over an "
     "encrypted network."},
    {"StaticText6",
     K::StaticText,
     "Panel7",
     {544, 96, 193, 65},
     "With this installation you install Vorpane and nothing else. We are not putting any crap on your PC, "
     "change no settings, put no DLL's, show no banners and install no spyware."},
    {"StaticText7",
     K::StaticText,
     "Panel7",
     {528, 334, 206, 17},
     "We wish you a lot of pleasure using Vorpane"},
    {"StaticText8", K::StaticText, "Panel7", {528, 350, 87, 17}, "The Vorpane team."},
    // disclaimer
    {"Button2", K::Button, "Panel8", {8, 8, 75, 25}, "&Exit", 0},
    {"Button4", K::Button, "Panel8", {586, 8, 75, 25}, "&Back", 1},
    {"Button3", K::Button, "Panel8", {665, 8, 75, 25}, "&Next", 2},
    {"Memo2", K::Memo, "Panel10", {12, 6, 445, 285}, product::kLegalStatement, 0},
    {"Image3", K::Image, "Panel10", {456, 8, 280, 283}, ""},
    {"Label3",
     K::Label,
     "Panel10",
     {16, 309, 437, 13},
     "Read the statement above and type YES in in case you fully agree, otherwise type NO or exit"},
    {"Label4", K::Label, "Panel10", {17, 333, 200, 13}, "I agree to the statement above (Yes/No) : "},
    {"EdAgree", K::Edit, "Panel10", {224, 330, 39, 21}, "", 1},
    // choice
    {"Button5", K::Button, "Panel11", {8, 8, 75, 25}, "&Exit", 0},
    {"Button7", K::Button, "Panel11", {586, 8, 75, 25}, "&Back", 1},
    {"MemoVersion", K::Memo, "Panel12", {380, 8, 325, 166}, "", 0},
    {"Label4a", K::Label, "Panel12", {503, 276, 120, 13}, "What do you want to do?"},
    {"BtnInstall", K::Button, "Panel12", {503, 301, 233, 25}, "Install Vorpane on this computer", 1},
    {"BtnUpgrade", K::Button, "Panel12", {503, 333, 233, 25}, "Upgrade an existing installation", 2},
    {"Panel44", K::Panel, "Panel12", {8, 8, 345, 329}, "", 3},
    {"Image4", K::Image, "Panel44", {8, 8, 225, 193}, ""},
    {"Label2",
     K::Label,
     "Panel44",
     {8, 208, kAuto},
     "We did a lot to make sure installation of Vorpane will work smoothly."},
    {"Label5",
     K::Label,
     "Panel44",
     {9, 228, kAuto},
     "In case you experience some problems anyway please let us know"},
    {"Label14", K::Label, "Panel44", {8, 248, kAuto}, "so we can try to help. You can reach us at :"},
    {"Label18", K::Label, "Panel44", {216, 248, 81, 13}, product::kSupportMail},
    {"Label19",
     K::Label,
     "Panel44",
     {11, 281, kAuto},
     "Just for any case an installation manual is availabe on our website: "},
    {"Label20",
     K::Label,
     "Panel44",
     {11, 299, 259, 13},
     std::string(product::kWebHost) + product::kManualPath},
    // directory pages
    {"Button6", K::Button, "Panel16", {8, 8, 75, 25}, "&Exit", 0},
    {"Button9", K::Button, "Panel16", {586, 8, 75, 25}, "&Back", 1},
    {"Button8", K::Button, "Panel16", {665, 8, 75, 25}, "&Next", 2},
    {"Edit1", K::Edit, "Panel15", {286, 7, 393, 21}, "Edit1", 0},
    {"DirectoryListBox1", K::DirectoryList, "Panel15", {286, 31, 393, 273}, "", 1},
    {"DriveComboBox1", K::DriveSelector, "Panel15", {286, 311, 393, 19}, "", 2},
    {"StaticText1", K::StaticText, "Panel15", {8, 128, 233, 225}, "StaticText1", 3},
    {"Image5", K::Image, "Panel15", {8, 8, 105, 105}, ""},
    {"Button10", K::Button, "Panel17", {8, 8, 75, 25}, "&Exit", 0},
    {"Button12", K::Button, "Panel17", {586, 8, 75, 25}, "&Back", 1},
    {"Button11", K::Button, "Panel17", {665, 8, 75, 25}, "&Next", 2},
    {"Edit2", K::Edit, "Panel18", {286, 8, 393, 21}, "Edit2", 0},
    {"DirectoryListBox2", K::DirectoryList, "Panel18", {286, 32, 393, 273}, "", 1},
    {"DriveComboBox2", K::DriveSelector, "Panel18", {286, 312, 393, 19}, "", 2},
    {"StaticText2", K::StaticText, "Panel18", {8, 120, 233, 201}, "StaticText2", 3},
    {"Image6", K::Image, "Panel18", {8, 8, 105, 105}, ""},
    {"Button13", K::Button, "Panel21", {8, 8, 75, 25}, "&Exit", 0},
    {"Button15", K::Button, "Panel21", {586, 8, 75, 25}, "&Back", 1},
    {"Button14", K::Button, "Panel21", {665, 8, 75, 25}, "&Next", 2},
    {"Edit3", K::Edit, "Panel20", {8, 16, 393, 21}, "Edit3", 0},
    {"DirectoryListBox3", K::DirectoryList, "Panel20", {8, 40, 393, 273}, "", 1},
    {"DriveComboBox3", K::DriveSelector, "Panel20", {8, 320, 393, 19}, "", 2},
    {"StaticText3", K::StaticText, "Panel20", {416, 16, 321, 329}, "StaticText3", 3},
    // summary
    {"Button16", K::Button, "Panel24", {8, 8, 75, 25}, "&Exit", 0},
    {"Button18", K::Button, "Panel24", {586, 8, 75, 25}, "&Back", 1},
    {"Image7", K::Image, "Panel25", {8, 8, 193, 164}, ""},
    {"Label6", K::Label, "Panel25", {210, 8, kAuto}, "Label6"},
    {"Label7", K::Label, "Panel25", {210, 32, kAuto}, "Label7"},
    {"Label8", K::Label, "Panel25", {210, 56, kAuto}, "Label8"},
    {"cbShortcut", K::CheckBox, "Panel25", {210, 80, 193, 17}, kBoth, 0},
    {"Button17", K::Button, "Panel25", {210, 112, 145, 25}, "&Install", 1},
    // progress, finish, search, upgrade
    {"LblInstallComplete", K::Label, "Panel27", {344, 128, kAuto}, "0% complete"},
    {"pbInstall", K::ProgressBar, "Panel27", {24, 152, 705, 25}, ""},
    {"BtnInstallExit", K::Button, "Panel26", {8, 8, 75, 25}, "&Exit", 0},
    {"LblInstallFailure", K::Label, "Panel26", {91, 4, 647, 33}, ""},
    {"Label9", K::Label, "Panel29", {8, 24, kAuto}, "The installation of Vorpane is completed succesfully."},
    {"Label10", K::Label, "Panel29", {8, 64, kAuto}, "What do you want to do now?"},
    {"Button20", K::Button, "Panel29", {8, 80, 145, 25}, "&Start Vorpane", 1},
    {"Button19", K::Button, "Panel29", {9, 109, 143, 25}, "&Exit", 0},
    {"Image8", K::Image, "Panel29", {304, 24, 383, 302}, ""},
    {"Panel45", K::Panel, "Panel29", {264, 16, 449, 233}, "", 2},
    {"Label21", K::Label, "Panel45", {41, 10, kAuto}, "During the first 30 to 60 minutes"},
    {"Label22", K::Label, "Panel45", {41, 26, kAuto}, "after installation Vorpane will not"},
    {"Label23", K::Label, "Panel45", {41, 42, kAuto}, "perform searches at its top capacity. "},
    {"Label24", K::Label, "Panel45", {41, 59, kAuto}, "This time is needed to get known"},
    {"Label25", K::Label, "Panel45", {41, 75, kAuto}, "as a new node. You can just start"},
    {"Label26", K::Label, "Panel45", {41, 92, kAuto}, "using Vorpane but have some patient"},
    {"Label27", K::Label, "Panel45", {41, 108, kAuto}, "during this initial warming up period."},
    {"Label28", K::Label, "Panel45", {41, 136, kAuto}, "This warming up is one time only after"},
    {"Label29", K::Label, "Panel45", {41, 152, kAuto}, "installation. It does not occur every time"},
    {"Label30", K::Label, "Panel45", {41, 169, kAuto}, "you start Vorpane!"},
    {"Label11", K::Label, "Panel29", {564, 336, 168, 24}, "Enjoy your Vorpane!"},
    {"Image9", K::Image, "Panel33", {0, 8, 160, 202}, ""},
    {"Label12", K::Label, "Panel33", {344, 200, kAuto}, "0% complete"},
    {"ProgressBar1", K::ProgressBar, "Panel33", {24, 224, 705, 26}, ""},
    {"StaticText4", K::StaticText, "Panel33", {416, 280, 313, 82}, "Explanation"},
    {"Button21", K::Button, "Panel35", {8, 8, 75, 25}, "&Exit", 0},
    {"Button22", K::Button, "Panel35", {586, 8, 75, 25}, "&Back", 1},
    {"Label13", K::Label, "Panel36", {16, 16, kAuto}, "Upgrade Vorpane installed in:"},
    {"ComboBoxUpgrade", K::ComboBox, "Panel36", {16, 32, 457, 21}, "", 0},
    {"CheckBoxUpgradeShortcut", K::CheckBox, "Panel36", {17, 72, 193, 17}, kBoth, 1},
    {"Button23", K::Button, "Panel36", {16, 109, 161, 25}, "&Upgrade", 2},
    {"lblUpgrade", K::Label, "Panel39", {344, 128, kAuto}, "0% complete"},
    {"pbUpgrade", K::ProgressBar, "Panel39", {24, 152, 705, 25}, ""},
    {"BtnUpgradeExit", K::Button, "Panel38", {8, 8, 75, 25}, "&Exit", 0},
    {"LblUpgradeFailure", K::Label, "Panel38", {91, 4, 647, 33}, ""},
    {"Label15", K::Label, "Panel42", {8, 24, kAuto}, "The upgrade of Vorpane is completed succesfully."},
    {"Label16", K::Label, "Panel42", {8, 64, kAuto}, "What do you want to do now?"},
    {"Button25", K::Button, "Panel42", {8, 80, 145, 25}, "&Start Vorpane", 1},
    {"Button24", K::Button, "Panel42", {9, 109, 143, 25}, "&Exit", 0},
    {"Label17", K::Label, "Panel42", {564, 336, 168, 24}, "Enjoy your Vorpane!"},
};

// Bindings other than the pages' Show events and the timers.
const std::map<std::string, std::pair<Event, std::string>> kBindings = {
    {"Button1", {Event::Click, "Button1Click"}},
    {"BtnInstallExit", {Event::Click, "BtnFailedRunExitClick"}},
    {"BtnUpgradeExit", {Event::Click, "BtnFailedRunExitClick"}},
    {"Button2", {Event::Click, "Button1Click"}},
    {"Button5", {Event::Click, "Button1Click"}},
    {"Button6", {Event::Click, "Button1Click"}},
    {"Button10", {Event::Click, "Button1Click"}},
    {"Button13", {Event::Click, "Button1Click"}},
    {"Button16", {Event::Click, "Button1Click"}},
    {"Button21", {Event::Click, "Button1Click"}},
    {"Button19", {Event::Click, "Button19Click"}},
    {"Button24", {Event::Click, "Button19Click"}},
    {"Memo2", {Event::Click, "Memo1Click"}},
    {"MemoVersion", {Event::Click, "Memo1Click"}},
    {"BtnNext1", {Event::Click, "BtnNext1Click"}},
    {"Button3", {Event::Click, "Button3Click"}},
    {"Button4", {Event::Click, "Button4Click"}},
    {"EdAgree", {Event::Change, "EdAgreeChange"}},
    {"Button7", {Event::Click, "Button7Click"}},
    {"BtnInstall", {Event::Click, "BtnInstallClick"}},
    {"BtnUpgrade", {Event::Click, "BtnUpgradeClick"}},
    {"Label18", {Event::Click, "Label18Click"}},
    {"Label20", {Event::Click, "Label20Click"}},
    {"Button8", {Event::Click, "Button8Click"}},
    {"Button9", {Event::Click, "Button9Click"}},
    {"Button11", {Event::Click, "Button11Click"}},
    {"Button12", {Event::Click, "Button12Click"}},
    {"Button14", {Event::Click, "Button14Click"}},
    {"Button15", {Event::Click, "Button15Click"}},
    {"Button17", {Event::Click, "Button17Click"}},
    {"Button18", {Event::Click, "Button18Click"}},
    {"Button20", {Event::Click, "Button20Click"}},
    {"Button22", {Event::Click, "Button22Click"}},
    {"Button23", {Event::Click, "Button23Click"}},
    {"Button25", {Event::Click, "Button25Click"}},
    {"DirectoryListBox1", {Event::Change, "DirectoryListBox1Change"}},
    {"DirectoryListBox2", {Event::Change, "DirectoryListBox2Change"}},
    {"DirectoryListBox3", {Event::Change, "DirectoryListBox3Change"}},
};

TEST(FormDescription, WindowAndFrame) {
  EXPECT_EQ(form().name, "FrmInstallVorpane");
  EXPECT_EQ(form().className, "TFrmInstallVorpane");
  EXPECT_EQ(form().caption, "Installation Vorpane nnnn");
  EXPECT_EQ(form().clientWidth, 804);
  EXPECT_EQ(form().clientHeight, 529);
  EXPECT_EQ(form().designBounds.x, 212);
  EXPECT_EQ(form().designBounds.y, 88);
  ASSERT_EQ(form().bindings.size(), 2u);
  EXPECT_EQ(form().bindings[0].handler, "FormCreate");
  EXPECT_EQ(form().bindings[1].handler, "FormClose");
  for (const char* bar : {"Panel1", "Panel2", "Panel3", "Panel4"}) {
    EXPECT_EQ(control(bar).colour, colours::Navy) << bar;
    EXPECT_FALSE(control(bar).raisedBevel) << bar;
  }
  EXPECT_EQ(control("Image1").picture, "icon.ico");
  EXPECT_EQ(control("Image1").pictureSize, (Rect{0, 0, 32, 32}));
  EXPECT_FALSE(control("Image1").stretch);
  EXPECT_EQ(form().pageControl, "PageControl1");
}

TEST(FormDescription, ThirteenPagesInOrderWithTheirBars) {
  ASSERT_EQ(form().pages.size(), std::size(kPages));
  for (std::size_t i = 0; i < std::size(kPages); ++i) {
    const PageRow& row = kPages[i];
    SCOPED_TRACE(row.page);
    EXPECT_EQ(form().pages[i], row.page);
    EXPECT_EQ(form().pageTitle(row.page), row.title);
    const auto& page = control(row.page);
    EXPECT_EQ(page.kind, K::Page);
    EXPECT_EQ(page.parent, "PageControl1");
    EXPECT_EQ(page.bounds.w, 746);
    EXPECT_EQ(page.bounds.h, 458);
    ASSERT_NE(page.handlerFor(Event::Show), nullptr);
    EXPECT_EQ(*page.handlerFor(Event::Show), std::string(row.page) + "Show");

    const auto& title = control(row.titlePanel);
    EXPECT_EQ(title.parent, row.page);
    EXPECT_EQ(title.bounds, (Rect{0, 0, 746, 41}));
    EXPECT_EQ(title.colour, colours::Blue);
    EXPECT_EQ(title.font.height, 21);
    EXPECT_EQ(title.font.colour, colours::White);
    EXPECT_FALSE(title.raisedBevel);
    const auto& body = control(row.body);
    EXPECT_EQ(body.parent, row.page);
    EXPECT_EQ(body.bounds, (Rect{0, 41, 746, 376}));
    EXPECT_EQ(body.colour, colours::SkyBlue);
    const auto& bar = control(row.bar);
    EXPECT_EQ(bar.parent, row.page);
    EXPECT_EQ(bar.bounds, (Rect{0, 417, 746, 41}));
    EXPECT_EQ(bar.colour, colours::White);
    EXPECT_TRUE(bar.raisedBevel);
  }
  EXPECT_EQ(form().pageTitle("Panel5"), "");
  EXPECT_EQ(form().pageOf("Label21"), "Tab15InstallReady");
  EXPECT_EQ(form().pageOf("Timer1"), "");
}

TEST(FormDescription, EveryControlWithItsPlaceAndText) {
  for (const auto& row : kControls) {
    SCOPED_TRACE(row.name);
    const ControlDescription* c = form().find(row.name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->kind, row.kind);
    EXPECT_EQ(c->parent, row.parent);
    EXPECT_EQ(c->text, row.text);
    EXPECT_EQ(c->tabOrder, row.tab);
    if (row.bounds.w == kAuto) {
      EXPECT_EQ(c->bounds.x, row.bounds.x);
      EXPECT_EQ(c->bounds.y, row.bounds.y);
      EXPECT_GT(c->bounds.w, 0);
      EXPECT_EQ(c->bounds.h, 13);
      EXPECT_TRUE(c->autoSize);
    } else {
      EXPECT_EQ(c->bounds, row.bounds);
    }
  }
  // Nothing more than the frame, the pages with their bars, the controls above and the timers.
  EXPECT_EQ(form().controls.size(), kControls.size() + std::size(kPages) * 4 + 3);
}

TEST(FormDescription, StatesFontsAndPictures) {
  const std::set<std::string> shownOnFailure = {"BtnInstallExit", "BtnUpgradeExit", "LblInstallFailure",
                                                "LblUpgradeFailure"};
  for (const auto& c : form().controls) EXPECT_EQ(c.visible, !shownOnFailure.count(c.name)) << c.name;
  EXPECT_TRUE(control("cbShortcut").checked);
  EXPECT_TRUE(control("CheckBoxUpgradeShortcut").checked);
  EXPECT_TRUE(control("EdAgree").upperCase);
  EXPECT_TRUE(control("Memo2").readOnly);
  EXPECT_TRUE(control("MemoVersion").readOnly);
  EXPECT_TRUE(control("Label1").font.bold);
  for (const char* link : {"Label18", "Label20"}) {
    EXPECT_TRUE(control(link).link) << link;
    EXPECT_TRUE(control(link).font.underline) << link;
    EXPECT_EQ(control(link).font.colour, colours::Blue) << link;
    EXPECT_EQ(control(link).font.height, 11) << link;
  }
  for (const char* slogan : {"Label11", "Label17"}) {
    EXPECT_EQ(control(slogan).font.height, 19) << slogan;
    EXPECT_TRUE(control(slogan).font.italic) << slogan;
    EXPECT_EQ(control(slogan).font.colour, colours::White) << slogan;
  }
  for (const char* white : {"LblInstallComplete", "Label12", "lblUpgrade", "StaticText6"})
    EXPECT_EQ(control(white).font.colour, colours::White) << white;
  for (const char* black : {"StaticText5", "StaticText7", "StaticText8"})
    EXPECT_EQ(control(black).font.colour, colours::Black) << black;
  EXPECT_EQ(control("Panel44").colour, colours::White);
  EXPECT_TRUE(control("Panel44").raisedBevel);
  EXPECT_EQ(control("Panel45").colour, colours::SkyBlue);

  // Image: picture, size, fit.
  const std::map<std::string, std::tuple<std::string, int, int, bool, bool>> pictures = {
      {"Image2", {"welcome.jpg", 800, 600, true, false}},
      {"Image3", {"disclaimer.jpg", 280, 283, true, false}},
      {"Image4", {"choose.jpg", 225, 193, false, true}},
      {"Image5", {"directory.jpg", 198, 161, true, false}},
      {"Image6", {"directory.jpg", 198, 161, true, false}},
      {"Image7", {"summary.jpg", 111, 100, true, false}},
      {"Image8", {"ready.jpg", 383, 302, false, true}},
      {"Image9", {"search.jpg", 160, 202, false, false}}};
  for (const auto& [name, expected] : pictures) {
    const auto& [picture, w, h, stretch, autoSize] = expected;
    EXPECT_EQ(control(name).picture, picture) << name;
    EXPECT_EQ(control(name).pictureSize, (Rect{0, 0, w, h})) << name;
    EXPECT_EQ(control(name).stretch, stretch) << name;
    EXPECT_EQ(control(name).autoSize, autoSize) << name;
  }
  for (int i = 1; i <= 3; ++i) {
    const std::string n = std::to_string(i);
    EXPECT_EQ(control("DriveComboBox" + n).linkedList, "DirectoryListBox" + n);
  }
}

TEST(FormDescription, EachPageNamesTheButtonEnterPresses) {
  const std::map<std::string, std::string> forward = {{"Tab01Welcome", "BtnNext1"},
                                                      {"Tab02Disclaimer", "Button3"},
                                                      {"Tab10ChooseInstallDir", "Button8"},
                                                      {"Tab11ChooseDownloadDir", "Button11"},
                                                      {"Tab12ChooseCacheDirectory", "Button14"},
                                                      {"Tab13InstallNow", "Button17"},
                                                      {"Tab15InstallReady", "Button20"},
                                                      {"Tab21StartUpgrade", "Button23"},
                                                      {"Tab23UpgradeReady", "Button25"}};
  for (const auto& page : form().pages) {
    const auto found = forward.find(page);
    EXPECT_EQ(form().forwardButtonOf(page), found == forward.end() ? "" : found->second) << page;
  }
}

TEST(FormDescription, TextsKeptWithTheProduct) {
  const std::string statement = product::kLegalStatement;
  std::size_t lines = 1;
  for (std::size_t at = statement.find("\r\n"); at != std::string::npos; at = statement.find("\r\n", at + 2))
    ++lines;
  EXPECT_EQ(lines, 21u);
  EXPECT_EQ(statement.find('\n', 0), statement.find("\r\n") + 1) << "lines end in CR LF";
  EXPECT_NE(std::string(product::kVersionNotice).find(std::string("Vorpane ") + product::kVersion),
            std::string::npos);
}

TEST(FormDescription, BindingsNameHandlersOfTheForm) {
  std::set<std::string> bound;
  for (const auto& b : form().bindings) bound.insert(b.handler);
  for (const auto& c : form().controls) {
    SCOPED_TRACE(c.name);
    for (const auto& b : c.bindings) {
      EXPECT_TRUE(kHandlers.count(b.handler)) << b.handler;
      bound.insert(b.handler);
    }
    const auto expected = kBindings.find(c.name);
    if (expected != kBindings.end()) {
      ASSERT_EQ(c.bindings.size(), 1u);
      EXPECT_EQ(c.bindings[0].event, expected->second.first);
      EXPECT_EQ(c.bindings[0].handler, expected->second.second);
    } else if (c.kind != K::Page && c.kind != K::Timer) {
      EXPECT_TRUE(c.bindings.empty());
    }
  }
  EXPECT_EQ(bound, kHandlers) << "every handler is bound somewhere";
  const std::map<std::string, std::pair<int, std::string>> timers = {
      {"Timer1", {100, "Timer1Timer"}}, {"Timer2", {100, "Timer2Timer"}}, {"Timer3", {200, "Timer3Timer"}}};
  for (const auto& [name, expected] : timers) {
    EXPECT_EQ(control(name).kind, K::Timer);
    EXPECT_EQ(control(name).interval, expected.first);
    ASSERT_NE(control(name).handlerFor(Event::Timer), nullptr);
    EXPECT_EQ(*control(name).handlerFor(Event::Timer), expected.second);
  }
}

TEST(FormDescription, ParentsComeFirstAndTabOrdersAreUnique) {
  std::set<std::string> seen{form().name};
  std::map<std::string, std::set<int>> tabs;
  for (const auto& c : form().controls) {
    EXPECT_TRUE(seen.count(c.parent)) << c.name << " comes before its parent " << c.parent;
    EXPECT_TRUE(seen.insert(c.name).second) << c.name << " is named twice";
    if (c.tabOrder >= 0) {
      EXPECT_TRUE(tabs[c.parent].insert(c.tabOrder).second) << c.name;
    }
  }
}

}  // namespace
}  // namespace vorpane::ui
