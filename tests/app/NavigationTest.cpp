// The wizard's start, its command line, the disclaimer, the page graph and the
// three ways the program ends.

#include <tuple>

#include "WizardTestSupport.h"

namespace vorpane::testing {
namespace {

const std::string kClientRestart = "\"D:\\Apps\\Vorpane\\Vorpane.Exe\" /upgraded3.31";

class CommandLineTest : public WizardTest {};

TEST_F(CommandLineTest, WithoutArgumentsOpensOnTheWelcomePage) {
  start();
  EXPECT_EQ(model.caption(), "Installation Vorpane 3.31");
  EXPECT_EQ(page(), "Tab01Welcome");
  EXPECT_EQ(model.focus(), "BtnNext1");
  EXPECT_FALSE(wizard->autoUpdate());
}

TEST_F(CommandLineTest, AutoUpdateSwitchAloneDoesNotStartAutomaticMode) {
  start({"/autoupdate"});
  EXPECT_EQ(page(), "Tab01Welcome");
  EXPECT_FALSE(wizard->autoUpdate());
}

TEST_F(CommandLineTest, AutoUpdateKeepsTheDirectorysCaseAndAddsABackslash) {
  start({"/AutoUpdate", "D:\\Apps\\Vorpane"});
  EXPECT_EQ(page(), "Tab02Disclaimer");
  EXPECT_TRUE(wizard->autoUpdate());
  EXPECT_EQ(wizard->upgradeDir(), "D:\\Apps\\Vorpane\\");
}

TEST_F(CommandLineTest, ArgumentsAreJoinedWithBlanksAndTrimmed) {
  start({"  /autoupdate", "C:\\My", "Programs\\Vorpane\\  "});
  EXPECT_TRUE(wizard->autoUpdate());
  EXPECT_EQ(wizard->upgradeDir(), "C:\\My Programs\\Vorpane\\");
}

TEST_F(CommandLineTest, OtherArgumentsOpenOnTheWelcomePage) {
  start({"/upgrade", "D:\\Apps"});
  EXPECT_EQ(page(), "Tab01Welcome");
  EXPECT_FALSE(wizard->autoUpdate());
}

class DisclaimerTest : public WizardTest {
 protected:
  void openDisclaimer(std::vector<std::string> arguments = {}) {
    start(std::move(arguments));
    if (page() == "Tab01Welcome") view.click("BtnNext1");
    ASSERT_EQ(page(), "Tab02Disclaimer");
  }
};

TEST_F(DisclaimerTest, ShowEmptiesAndFocusesTheAnswer) {
  openDisclaimer();
  model.setText("EdAgree", "MAYBE");
  view.click("Button4");
  view.click("BtnNext1");
  EXPECT_EQ(model.text("EdAgree"), "");
  EXPECT_EQ(model.focus(), "EdAgree");
}

TEST_F(DisclaimerTest, OnlyAnExactNoRefuses) {
  openDisclaimer();
  for (const char* answer : {"No", "no", "NO ", " NO", "NON"}) {
    model.setText("EdAgree", answer);
    EXPECT_TRUE(loop.messages.empty()) << answer;
    EXPECT_FALSE(loop.terminated) << answer;
  }
  model.setText("EdAgree", "NO");
  ASSERT_EQ(loop.messages.size(), 1u);
  EXPECT_EQ(
      loop.messages[0],
      "You disagree with the disclaimer\rVorpane cannot be installed.\rWe hope you understand our needs "
      "for\rcovering our ass.\r\rHave a nice day!");
  EXPECT_TRUE(loop.terminated);
  EXPECT_FALSE(loop.haltCode);
  EXPECT_TRUE(platform.windowedStarts().empty());
}

TEST_F(DisclaimerTest, TypedLettersTurnUpperCaseSoTypingNoRefuses) {
  openDisclaimer();
  view.type("EdAgree", "no");
  EXPECT_EQ(model.text("EdAgree"), "NO");
  EXPECT_TRUE(loop.terminated);
}

TEST_F(DisclaimerTest, RefusalInAutomaticModeStillRestartsTheClient) {
  openDisclaimer({"/autoupdate", "D:\\Apps\\Vorpane"});
  view.type("EdAgree", "NO");
  ASSERT_EQ(platform.windowedStarts().size(), 1u);
  EXPECT_EQ(platform.windowedStarts()[0].commandLine, kClientRestart);
  EXPECT_EQ(platform.windowedStarts()[0].showMode, 3);
}

TEST_F(DisclaimerTest, YesWithBlanksIsAcceptedAndLowerCaseIsNot) {
  openDisclaimer();
  model.setText("EdAgree", "yes");
  model.setFocus("Button3");
  view.click("Button3");
  EXPECT_EQ(page(), "Tab02Disclaimer");
  EXPECT_EQ(loop.messages, std::vector<std::string>{"Type either YES or NO"});
  EXPECT_EQ(model.focus(), "EdAgree");

  model.setText("EdAgree", " YES ");
  view.click("Button3");
  EXPECT_EQ(page(), "Tab03Choose");
  EXPECT_EQ(model.focus(), "BtnInstall");
  EXPECT_FALSE(model.text("MemoVersion").empty());
}

TEST_F(DisclaimerTest, YesInAutomaticModeGoesStraightToTheUpgrade) {
  openDisclaimer({"/autoupdate", "D:\\Apps\\Vorpane"});
  view.type("EdAgree", "YES");
  view.click("Button3");
  EXPECT_EQ(page(), "Tab22Upgrading");
}

// Enter presses the focused button, or else the page's forward button; the
// progress pages have none and ignore it.
class EnterTest : public WizardTest {};

TEST_F(EnterTest, EnterGoesOnThroughEachPageUnlessAnotherButtonHasTheFocus) {
  start();
  view.pressEnter();
  ASSERT_EQ(page(), "Tab02Disclaimer");
  model.setText("EdAgree", "yes");
  view.pressEnter();
  EXPECT_EQ(loop.messages, std::vector<std::string>{"Type either YES or NO"});
  EXPECT_EQ(model.focus(), "EdAgree");
  model.setText("EdAgree", " YES ");
  view.pressEnter();
  ASSERT_EQ(page(), "Tab03Choose");
  view.pressEnter();  // the focused "Install Vorpane on this computer"
  ASSERT_EQ(page(), "Tab10ChooseInstallDir");
  model.setFocus("Edit1");
  view.pressEnter();
  ASSERT_EQ(page(), "Tab11ChooseDownloadDir");
  model.setFocus("Button12");
  view.pressEnter();
  ASSERT_EQ(page(), "Tab10ChooseInstallDir") << "the focused \"&Back\"";
  for (int directoryPage = 0; directoryPage < 3; ++directoryPage) view.pressEnter();
  ASSERT_EQ(page(), "Tab13InstallNow");
  model.setFocus("cbShortcut");
  EXPECT_EQ(model.defaultButton(), "Button17");
  model.setFocus("Button17");
  view.pressEnter();
  ASSERT_EQ(page(), "Tab14Installing");
  ASSERT_TRUE(loop.errors.empty()) << loop.errors.front();
  view.pressEnter();  // the focus left behind on the summary's "&Install" is out of reach
  EXPECT_EQ(page(), "Tab14Installing");
  EXPECT_TRUE(model.timerEnabled("Timer1"));
}

class EndingTest : public WizardTest {};

TEST_F(EndingTest, EveryExitButtonHaltsWithoutRestartingTheClient) {
  const std::vector<std::pair<std::string, std::string>> exits = {{"Tab01Welcome", "Button1"},
                                                                  {"Tab02Disclaimer", "Button2"},
                                                                  {"Tab03Choose", "Button5"},
                                                                  {"Tab10ChooseInstallDir", "Button6"},
                                                                  {"Tab11ChooseDownloadDir", "Button10"},
                                                                  {"Tab12ChooseCacheDirectory", "Button13"},
                                                                  {"Tab13InstallNow", "Button16"},
                                                                  {"Tab21StartUpgrade", "Button21"}};
  start({"/autoupdate", "D:\\Apps\\Vorpane"});
  for (const auto& [pageName, button] : exits) {
    loop.haltCode.reset();
    model.setActivePage(pageName);
    view.click(button);
    EXPECT_EQ(loop.haltCode, 0) << button;
  }
  EXPECT_FALSE(loop.terminated);
  EXPECT_TRUE(platform.windowedStarts().empty());
}

TEST_F(EndingTest, FinishPageExitClosesAndRestartsOnlyInAutomaticMode) {
  start();
  model.setActivePage("Tab15InstallReady");
  view.click("Button19");
  EXPECT_TRUE(loop.terminated);
  EXPECT_TRUE(platform.windowedStarts().empty());

  loop.terminated = false;
  start({"/autoupdate", "D:\\Apps\\Vorpane"});
  model.setActivePage("Tab23UpgradeReady");
  view.click("Button24");
  EXPECT_TRUE(loop.terminated);
  ASSERT_EQ(platform.windowedStarts().size(), 1u);
  EXPECT_EQ(platform.windowedStarts()[0].commandLine, kClientRestart);
}

TEST_F(EndingTest, StartButtonsRunTheQuotedClientMaximisedAndClose) {
  walkToChoice();
  walkToSummaryWithDefaults();
  model.setActivePage("Tab15InstallReady");
  EXPECT_EQ(model.focus(), "Button20");
  view.click("Button20");
  ASSERT_EQ(platform.windowedStarts().size(), 1u);
  EXPECT_EQ(platform.windowedStarts()[0].commandLine, "\"C:\\Program Files\\Vorpane\\Vorpane.Exe\"");
  EXPECT_EQ(platform.windowedStarts()[0].showMode, 3);
  EXPECT_TRUE(loop.terminated);
}

TEST_F(EndingTest, AutomaticUpgradeClosesAfterItsTimer) {
  start({"/autoupdate", "D:\\Apps\\Vorpane"});
  model.setTimerEnabled("Timer3", true);
  view.fireTimer("Timer3");
  EXPECT_FALSE(model.timerEnabled("Timer3"));
  EXPECT_TRUE(loop.terminated);
  ASSERT_EQ(platform.windowedStarts().size(), 1u);
  EXPECT_EQ(platform.windowedStarts()[0].commandLine, kClientRestart);
}

TEST_F(EndingTest, LinkLabelsOpenTheSupportMailAndTheManual) {
  walkToChoice();
  view.click("Label18");
  view.click("Label20");
  ASSERT_EQ(platform.openedLinks().size(), 2u);
  EXPECT_EQ(platform.openedLinks()[0].rfind("mailto:", 0), 0u);
  EXPECT_NE(platform.openedLinks()[0].find('@'), std::string::npos);
  EXPECT_NE(platform.openedLinks()[1].find("/pages/manual_installation.htm"), std::string::npos);
}

// Page, control clicked, page that follows: the rows that hold unconditionally.
using Row = std::tuple<const char*, const char*, const char*>;
class TransitionTest : public WizardTest, public ::testing::WithParamInterface<Row> {};

TEST_P(TransitionTest, ControlLeadsToItsPage) {
  const auto [from, control, to] = GetParam();
  start();
  model.setActivePage(from);
  view.click(control);
  EXPECT_EQ(page(), to);
  EXPECT_TRUE(loop.errors.empty()) << loop.errors.front();
}

INSTANTIATE_TEST_SUITE_P(Table, TransitionTest,
                         ::testing::Values(Row{"Tab01Welcome", "BtnNext1", "Tab02Disclaimer"},
                                           Row{"Tab02Disclaimer", "Button4", "Tab01Welcome"},
                                           Row{"Tab03Choose", "Button7", "Tab02Disclaimer"},
                                           Row{"Tab03Choose", "BtnInstall", "Tab10ChooseInstallDir"},
                                           Row{"Tab03Choose", "BtnUpgrade", "Tab20SearchDirectory"},
                                           Row{"Tab10ChooseInstallDir", "Button9", "Tab03Choose"},
                                           Row{"Tab10ChooseInstallDir", "Button8", "Tab11ChooseDownloadDir"},
                                           Row{"Tab11ChooseDownloadDir", "Button12", "Tab10ChooseInstallDir"},
                                           Row{"Tab12ChooseCacheDirectory", "Button15",
                                               "Tab11ChooseDownloadDir"},
                                           Row{"Tab13InstallNow", "Button18", "Tab12ChooseCacheDirectory"},
                                           Row{"Tab13InstallNow", "Button17", "Tab14Installing"},
                                           Row{"Tab21StartUpgrade", "Button22", "Tab03Choose"}),
                         [](const ::testing::TestParamInfo<Row>& info) {
                           return std::string(std::get<0>(info.param)) + "_" + std::get<1>(info.param);
                         });

class TimerTransitionTest : public WizardTest {};

TEST_F(TimerTransitionTest, TimersFireOncePerEnablingAndMoveOn) {
  start();
  model.setActivePage("Tab13InstallNow");
  view.fireTimer("Timer1");
  EXPECT_EQ(page(), "Tab13InstallNow") << "a disabled timer does not fire";
  model.setTimerEnabled("Timer1", true);
  view.fireTimer("Timer1");
  EXPECT_EQ(page(), "Tab15InstallReady");
  EXPECT_FALSE(model.timerEnabled("Timer1"));

  model.setActivePage("Tab20SearchDirectory");
  model.setTimerEnabled("Timer2", true);
  view.fireTimer("Timer2");
  EXPECT_EQ(page(), "Tab03Choose") << "nothing found leads back to the choice";

  model.setActivePage("Tab22Upgrading");
  model.setTimerEnabled("Timer3", true);
  view.fireTimer("Timer3");
  EXPECT_EQ(page(), "Tab23UpgradeReady");
  EXPECT_EQ(model.focus(), "Button25");
  EXPECT_FALSE(loop.terminated);
}

}  // namespace
}  // namespace vorpane::testing
