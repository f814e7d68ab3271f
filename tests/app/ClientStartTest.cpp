// How the client is started: with the desktop user's rights when the installer
// runs elevated, directly otherwise, and always with what the log says of it;
// and when a refused automatic upgrade brings it back.

#include <fstream>

#include "WizardTestSupport.h"
#include "app/ClientStart.h"
#include "app/Switches.h"

namespace vorpane::testing {
namespace {

using Args = std::vector<std::string>;

const std::string kClient = "\"C:\\Program Files\\Vorpane\\Vorpane.Exe\"";
const std::string kRestart = "\"D:\\Apps\\Vorpane\\Vorpane.Exe\" /upgraded3.31";
const Args kAutomatic = {"/autoupdate", "D:\\Apps\\Vorpane"};

class ClientStartTest : public WizardTest {
 protected:
  ClientStartTest() { log = std::make_unique<platform::LogFile>(platform, "C:\\setup.log"); }

  // The log's lines without their time stamps.
  std::vector<std::string> logLines() const {
    std::ifstream in(host("C:\\setup.log"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line.substr(25, line.size() - 26));
    return lines;
  }
  // The one start recorded: its command line, show mode and whether it went
  // through the desktop shell.
  void expectOneStart(const std::string& commandLine, bool asDesktopUser) {
    ASSERT_EQ(platform.windowedStarts().size(), 1u);
    EXPECT_EQ(platform.windowedStarts()[0].commandLine, commandLine);
    EXPECT_EQ(platform.windowedStarts()[0].showMode, 3);
    EXPECT_EQ(platform.windowedStarts()[0].asDesktopUser, asDesktopUser);
  }
  void refuse(const Args& arguments, int exitCode) {
    app::RestartClientAfterRefusal(platform, app::ParseSwitches(arguments), exitCode, log.get());
  }

  std::unique_ptr<platform::LogFile> log;
};

TEST_F(ClientStartTest, AnElevatedInstallerStartsItThroughTheDesktopShell) {
  platform.setElevated(true);
  app::StartClient(platform, kClient, log.get());
  expectOneStart(kClient, true);
  EXPECT_EQ(logLines(),
            Args{"Started the client as the desktop user, through the desktop shell: " + kClient});
}

TEST_F(ClientStartTest, WithoutADesktopShellAnElevatedInstallerStartsItDirectlyAndLogsWhy) {
  platform.setElevated(true);
  platform.setDesktopShell(false);
  app::StartClient(platform, kClient, log.get());
  expectOneStart(kClient, false);
  EXPECT_EQ(logLines(), Args{"Started the client with this program's administrator rights: no desktop shell "
                             "could start it as the desktop user: " +
                             kClient});
}

TEST_F(ClientStartTest, AnInstallerThatIsNotElevatedStartsItDirectlyAndLogsWhy) {
  app::StartClient(platform, kClient, log.get());
  expectOneStart(kClient, false);
  EXPECT_EQ(logLines(),
            Args{"Started the client with this program's rights, which are the desktop user's: " + kClient});
  app::StartClient(platform, kClient, nullptr);  // without a log it still starts
  EXPECT_EQ(platform.windowedStarts().size(), 2u);
}

// The finish pages' start buttons and the automatic restart all go the same way.
TEST_F(ClientStartTest, TheWizardStartsTheClientThroughTheDesktopShellWhenElevated) {
  platform.setElevated(true);
  walkToChoice();
  wizard->setLog(log.get());
  walkToSummaryWithDefaults();
  model.setActivePage("Tab15InstallReady");
  view.click("Button20");
  expectOneStart(kClient, true);

  start(kAutomatic);
  wizard->setLog(log.get());
  model.setActivePage("Tab23UpgradeReady");
  view.click("Button25");
  ASSERT_EQ(platform.windowedStarts().size(), 3u);
  EXPECT_EQ(platform.windowedStarts()[1].commandLine, "\"D:\\Apps\\Vorpane\\Vorpane.Exe\"");
  EXPECT_EQ(platform.windowedStarts()[2].commandLine, kRestart);
  EXPECT_TRUE(platform.windowedStarts()[1].asDesktopUser);
  EXPECT_TRUE(platform.windowedStarts()[2].asDesktopUser);
  const auto lines = logLines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) {
                            return line.rfind("Started the client as the desktop user", 0) == 0;
                          }),
            3);
}

TEST_F(ClientStartTest, ARefusedAutomaticUpgradeBringsTheClientBackUnlessAnotherSetupHoldsIt) {
  platform.setElevated(true);
  refuse(kAutomatic, product::exitcode::Damaged);
  expectOneStart(kRestart, true);
  refuse({"/LOG=C:\\Missing\\setup.log", "/autoupdate", "D:\\Apps\\Vorpane"},
         product::exitcode::BadCommandLine);
  ASSERT_EQ(platform.windowedStarts().size(), 2u);
  EXPECT_EQ(platform.windowedStarts()[1].commandLine, kRestart);
  refuse(kAutomatic, product::exitcode::AlreadyRunning);
  EXPECT_EQ(platform.windowedStarts().size(), 2u);
  EXPECT_EQ(logLines().size(), 2u);
}

TEST_F(ClientStartTest, OnlyTheClientsOwnRequestIsAnAutomaticUpgrade) {
  for (const Args& arguments : {Args{}, Args{"/autoupdate"}, Args{"/S", "/autoupdate", "D:\\Apps\\Vorpane"},
                                Args{"/SILENT", "/LOG=C:\\x.log", "/autoupdate", "D:\\Apps"},
                                Args{"/upgrade", "D:\\Apps\\Vorpane"}}) {
    refuse(arguments, product::exitcode::Damaged);
    refuse(arguments, product::exitcode::BadCommandLine);
  }
  EXPECT_TRUE(platform.windowedStarts().empty());

  // A log that names no path is a bad command line, and still the client's request.
  const app::Switches emptyLog = app::ParseSwitches({"/LOG=", "/AutoUpdate", " D:\\Apps\\My", "Vorpane "});
  EXPECT_FALSE(emptyLog.error.empty());
  EXPECT_EQ(app::AutomaticUpgradeDirectory(emptyLog), "D:\\Apps\\My Vorpane\\");
}

// The wizard's log tells an administrator what the pages made, what leaving
// took back and how the program ended.
using WizardLogTest = ClientStartTest;

TEST_F(WizardLogTest, NamesTheDirectoriesThePagesMadeWhatExitTookBackAndTheExitCode) {
  walkToChoice();
  wizard->setLog(log.get());
  walkToSummaryWithDefaults();
  view.click("Button16");  // the summary's Exit, before the run
  EXPECT_EQ(loop.haltCode, 0);
  const auto lines = logLines();
  for (const std::string made : {"C:\\Program Files\\Vorpane\\", "C:\\Downloads\\", "C:\\Vorpane_Cache\\"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Created directory " + made), lines.end()) << made;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Removed directory " + made), lines.end()) << made;
  }
  EXPECT_EQ(lines.back(), "Exit code 0");

  start(kAutomatic);
  wizard->setLog(log.get());
  view.type("EdAgree", "NO");
  EXPECT_EQ(logLines().back(), "Exit code 0");
}

}  // namespace
}  // namespace vorpane::testing
