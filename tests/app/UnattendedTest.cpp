// The installer without questions: its switches, the directories it chooses,
// its exit codes and its log.

#include <fstream>
#include <map>

#include "WizardTestSupport.h"
#include "app/RunLog.h"
#include "app/SetupModes.h"
#include "app/Switches.h"
#include "app/UnattendedSetup.h"
#include "platform/CommandLine.h"
#include "product/Product.h"
#include "product/Registration.h"

namespace vorpane::testing {
namespace {

namespace fs = std::filesystem;
using app::ParseSwitches;
using Args = std::vector<std::string>;

TEST(Switches, LeadingSwitchesInEitherSpellingAndCase) {
  const auto s = ParseSwitches({"/silent", "/SuppressMsgBoxes", "/NOSHORTCUT", "/Dir=C:\\My Apps\\Vorpane",
                                "/downloaddir=D:\\Down", "/CACHEDIR=D:\\Cache", "/LOG=C:\\setup.log"});
  EXPECT_TRUE(s.error.empty()) << s.error;
  EXPECT_TRUE(s.silent && s.suppressMessageBoxes && s.noShortcut && !s.verySilent);
  EXPECT_EQ(s.installDir, "C:\\My Apps\\Vorpane");
  EXPECT_EQ(s.downloadDir, "D:\\Down");
  EXPECT_EQ(s.cacheDir, "D:\\Cache");
  EXPECT_EQ(s.logFile, "C:\\setup.log");
  EXPECT_FALSE(s.showsMessages());

  EXPECT_TRUE(ParseSwitches({"/S"}).verySilent);
  EXPECT_TRUE(ParseSwitches({"/VERYSILENT"}).verySilent);
  EXPECT_TRUE(ParseSwitches({"/?"}).help);
  EXPECT_TRUE(ParseSwitches({"/help"}).help);
  EXPECT_EQ(ParseSwitches({"/S", "/UPGRADE=E:\\Vorpane"}).upgradeDir, "E:\\Vorpane");
  // As a script quotes them on the raw command line.
  EXPECT_EQ(
      ParseSwitches(platform::SplitCommandLine(R"(setup.exe /S /DIR="C:\My Apps\Vorpane\")")).installDir,
      "C:\\My Apps\\Vorpane\\");
  // /D= is last and takes the rest of the line, blanks included.
  EXPECT_EQ(ParseSwitches({"/S", "/D=C:\\Program", "Files\\My", "Vorpane"}).installDir,
            "C:\\Program Files\\My Vorpane");
}

TEST(Switches, TheWizardsOwnCommandLinesStayTheWizards) {
  const Args automatic{"/autoupdate", "C:\\Program Files\\Vorpane\\"};
  auto s = ParseSwitches(automatic);
  EXPECT_TRUE(s.error.empty());
  EXPECT_FALSE(s.unattended());
  EXPECT_EQ(s.wizardArguments, automatic);
  s = ParseSwitches({"/LOG=C:\\x.log", "/autoupdate", "C:\\V"});
  EXPECT_TRUE(s.error.empty());
  EXPECT_EQ(s.wizardArguments, (Args{"/autoupdate", "C:\\V"}));
  EXPECT_EQ(ParseSwitches({"anything", "/SILENT"}).wizardArguments, (Args{"anything", "/SILENT"}));
}

TEST(Switches, LinesThatCannotBeFollowedAreErrors) {
  EXPECT_EQ(ParseSwitches({"/SILENT", "/FOO"}).error, "Unknown switch /FOO");
  EXPECT_EQ(ParseSwitches({"/S", "/autoupdate", "C:\\V"}).error, "Unknown switch /autoupdate");
  EXPECT_EQ(ParseSwitches({"/S", "/DIR="}).error, "The switch /DIR= names no path");
  EXPECT_EQ(ParseSwitches({"/DIR=C:\\V"}).error, "These switches need /SILENT or /VERYSILENT");
  EXPECT_FALSE(ParseSwitches({"/S", "/UPGRADE=C:\\V", "/DIR=C:\\W"}).error.empty());
}

// Every argument that begins with "/" is a switch, the client's /autoupdate or
// a refusal of the whole line (exit code 1): a typo never opens the wizard.
TEST(Switches, EverySlashArgumentIsKnownOrRefusesTheLine) {
  const std::string needSilence = "These switches need /SILENT or /VERYSILENT";
  const std::string notWithUpgrade =
      "/UPGRADE= cannot be combined with /DIR=, /D=, /DOWNLOADDIR= or /CACHEDIR=";
  const struct {
    Args arguments;
    std::string error;
    app::SetupMode mode;
  } lines[] = {
      {{"/SP-", "/VERYSILENT", "/SUPPRESSMSGBOXES", "/NORESTART", "/DIR=C:\\V"},
       "",
       app::SetupMode::VerySilent},
      {{"/NoCancel", "/SILENT", "/UPGRADE=C:\\V", "/NOSHORTCUT", "/LOG=C:\\x.log"},
       "",
       app::SetupMode::Silent},
      {{"/sp-", "/norestart", "/nocancel"}, "", app::SetupMode::Wizard},
      {{"/SP-", "/LOG=C:\\x.log", "/AutoUpdate", "C:\\V", "/QUIET"}, "", app::SetupMode::Wizard},
      {{"plain", "words"}, "", app::SetupMode::Wizard},
      {{"/QUIET"}, "Unknown switch /QUIET", app::SetupMode::BadCommandLine},
      {{"/VERYSILNT", "/D=C:\\X"}, "Unknown switch /VERYSILNT", app::SetupMode::BadCommandLine},
      {{"/S", "/LOG=C:\\x.log", "/QUIET"}, "Unknown switch /QUIET", app::SetupMode::BadCommandLine},
      {{"plain", "/QUIET"}, "Unknown switch /QUIET", app::SetupMode::BadCommandLine},
      {{"/QUIET", "/autoupdate", "C:\\V"}, "Unknown switch /QUIET", app::SetupMode::BadCommandLine},
      {{"/NOSHORTCUT", "/autoupdate", "C:\\V"}, "Unknown switch /autoupdate", app::SetupMode::BadCommandLine},
      {{"plain", "/autoupdate", "C:\\V"}, "Unknown switch /autoupdate", app::SetupMode::BadCommandLine},
      {{"/S", "/DIR=C:\\Program", "Files\\V"},
       "Unexpected argument Files\\V",
       app::SetupMode::BadCommandLine},
      {{"/S", "/LOG="}, "The switch /LOG= names no path", app::SetupMode::BadCommandLine},
      {{"/NOSHORTCUT"}, needSilence, app::SetupMode::BadCommandLine},
      {{"/SP-", "/D=C:\\V"}, needSilence, app::SetupMode::BadCommandLine},
      {{"/DOWNLOADDIR=C:\\D"}, needSilence, app::SetupMode::BadCommandLine},
      {{"/CACHEDIR=C:\\C", "/SUPPRESSMSGBOXES"}, needSilence, app::SetupMode::BadCommandLine},
      {{"/S", "/UPGRADE=C:\\V", "/DOWNLOADDIR=C:\\D"}, notWithUpgrade, app::SetupMode::BadCommandLine},
      {{"/S", "/UPGRADE=C:\\V", "/CACHEDIR=C:\\C"}, notWithUpgrade, app::SetupMode::BadCommandLine},
      {{"/S", "/UPGRADE=C:\\V", "/D=C:\\W"}, notWithUpgrade, app::SetupMode::BadCommandLine},
  };
  for (const auto& line : lines) {
    const auto s = ParseSwitches(line.arguments);
    EXPECT_EQ(s.error, line.error) << ::testing::PrintToString(line.arguments);
    EXPECT_EQ(app::ModeOf(s), line.mode) << ::testing::PrintToString(line.arguments);
  }
  // Plain words and /autoupdate with all after it are the wizard's.
  EXPECT_EQ(ParseSwitches({"/SP-", "/autoupdate", "C:\\My", "V"}).wizardArguments,
            (Args{"/autoupdate", "C:\\My", "V"}));
  EXPECT_EQ(ParseSwitches({"/LOG=C:\\x.log", "plain"}).wizardArguments, Args{"plain"});
  // A refusal keeps the log and the silence asked for, also when misspelt.
  EXPECT_EQ(ParseSwitches({"/QUIET", "/LOG=C:\\x.log"}).logFile, "C:\\x.log");
  EXPECT_FALSE(ParseSwitches({"/QUIET", "/S"}).showsMessages());
  for (const char* misspelt : {"/VERYSILNT", "/VerySlient", "/SUPRESSMSGBOXES"})
    EXPECT_FALSE(ParseSwitches({misspelt}).showsMessages()) << misspelt;
  EXPECT_TRUE(ParseSwitches({"/QUIET"}).showsMessages());
  EXPECT_TRUE(ParseSwitches({"/SILNT"}).showsMessages());
}

// A box's font is proportional: the list has no columns, one switch a line.
TEST(Switches, TheListHasOneSwitchALine) {
  const std::string help = app::SwitchesHelpText();
  EXPECT_EQ(help.find('\t'), std::string::npos);
  for (const char* line : {"\r/SILENT: install without questions, showing only the progress\r",
                           "\r/SP-, /NORESTART, /NOCANCEL: ", "\r/VERYSILENT or /S: "})
    EXPECT_NE(help.find(line), std::string::npos) << line;
}

class UnattendedSetupTest : public WizardTest {
 protected:
  UnattendedSetupTest() {
    platform.setShellFolder(platform::ShellFolder::DesktopDirectory, "C:\\Desktop");
    platform.setShellFolder(platform::ShellFolder::Programs, "C:\\Menu");
    makeDirectory("C:\\Desktop");
    makeDirectory("C:\\Menu");
    platform.setNow({2026, 12, 8, 9, 30, 0, 5});
  }
  int run(Args arguments) {
    arguments.insert(arguments.begin(), {"/VERYSILENT", "/LOG=C:\\setup.log"});
    switches = ParseSwitches(arguments);
    auto log = std::make_unique<platform::LogFile>(platform, "C:\\setup.log");
    app::UnattendedSetup setup(platform, nowhere, log.get());
    const int code = setup.run(switches);
    message = setup.message();
    return code;
  }
  std::vector<std::string> logLines() const {
    std::ifstream in(host("C:\\setup.log"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line.substr(25, line.size() - 26));
    return lines;
  }
  app::SilentProgress nowhere;
  app::Switches switches;
  std::string message;
};

TEST_F(UnattendedSetupTest, InstallsWhereThePagesWouldAndLogsEveryStep) {
  EXPECT_EQ(run({"/NOSHORTCUT"}), 0);
  EXPECT_EQ(
      logLines(),
      (std::vector<std::string>{
          "Installation directory C:\\Program Files\\Vorpane\\ (proposed)",
          "Download directory C:\\Downloads\\ (proposed)",
          "Cache directory C:\\Vorpane_Cache\\ (proposed)",
          "Created directory C:\\Program Files\\Vorpane\\",
          "Created directory C:\\Downloads\\",
          "Created directory C:\\Vorpane_Cache\\",
          "Wrote C:\\Program Files\\Vorpane\\Vorpane.Exe (2188800 bytes)",
          "Wrote C:\\Program Files\\Vorpane\\Uninstall_Vorpane.Exe (778240 bytes)",
          "Created directory C:\\Menu\\Vorpane",
          "Created shortcut C:\\Menu\\Vorpane\\Uninstall Vorpane.Lnk to C:\\Program "
          "Files\\Vorpane\\Uninstall_Vorpane.Exe",
          "Created shortcut C:\\Menu\\Vorpane\\Vorpane.Lnk to C:\\Program Files\\Vorpane\\Vorpane.Exe",
          "Wrote C:\\Program Files\\Vorpane\\Vorpane.Dat (" +
              std::to_string(fs::file_size(host("C:\\Program Files\\Vorpane\\Vorpane.Dat"))) + " bytes)",
          "Created registry entry Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vorpane",
          "Installed Vorpane in C:\\Program Files\\Vorpane\\",
          "Exit code 0",
      }));
  std::ifstream in(host("C:\\setup.log"));
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first.substr(0, 25), "2026-12-08 09:30:00.005  ");
}

TEST_F(UnattendedSetupTest, ARefusedDirectoryMakesNothingAndExitsWithTwo) {
  mapDrive('D', platform::DriveType::CdRom);
  EXPECT_EQ(run({"/DIR=C:\\Apps\\Vorpane", "/CACHEDIR=D:\\Cache"}), 2);
  EXPECT_EQ(message, "D: is not a harddisk\rThe Cachedirectory must be on a (local) harddisk.");
  EXPECT_FALSE(fs::exists(host("C:\\Apps")));
  EXPECT_EQ(logLines().back(), "Exit code 2");

  makeDirectory("C:\\Old");
  std::ofstream(host("C:\\Old\\Vorpane.Dat")) << "installed";
  EXPECT_EQ(run({"/DIR=C:\\Old"}), 2);
  EXPECT_EQ(message,
            "C:\\Old\\ already holds an installation of Vorpane; use /UPGRADE=\"C:\\Old\" to upgrade it");
  EXPECT_EQ(run({"/UPGRADE=C:\\Nowhere"}), 2);
  EXPECT_EQ(message, "No Vorpane installation that this version can upgrade was found in C:\\Nowhere\\");
}

TEST_F(UnattendedSetupTest, DirectoriesAreStoredFullAndOnTheDriveThatHoldsThem) {
  makeDirectory("C:\\Sub\\Old");
  platform.mapDrive('S', host("C:\\Sub"));
  EXPECT_EQ(run({"/DIR=S:\\New\\..\\VP.", "/DOWNLOADDIR=C:\\\\Down"}), 0) << message;
  EXPECT_EQ(platform.readRegistryText(product::kInstalledProgramsKey, "InstallLocation"), "C:\\Sub\\VP");
  EXPECT_EQ(platform.shortcuts().at(0).target, "C:\\Sub\\VP\\Uninstall_Vorpane.Exe");
  EXPECT_EQ(logLines().at(1), "Download directory C:\\Down\\ (from the command line)");

  std::ofstream(host("C:\\Sub\\Old\\Vorpane.Dat"), std::ios::binary) << "\x1f"
                                                                     << "Zdata";  // version 6
  EXPECT_EQ(run({"/UPGRADE=S:\\Old\\"}), 0) << message;
  // Listed beside C:\Sub\VP under a key of its own, one however the folder is spelled.
  EXPECT_EQ(platform.readRegistryText(product::OwnEntryKey(platform, "s:\\old"), "InstallLocation"),
            "C:\\Sub\\Old");

  for (const std::string relative : {"/DIR=VP", "/D=C:VP", "/CACHEDIR=\\VP", "/UPGRADE=..\\VP"}) {
    EXPECT_EQ(run({relative}), 2) << relative;
    EXPECT_EQ(message, relative.substr(relative.find('=') + 1) + " is not a full path");
    EXPECT_EQ(logLines().at(logLines().size() - 2), "Refused: " + message);
  }
  EXPECT_EQ(run({"/DOWNLOADDIR=\\\\server\\share"}), 2);
  EXPECT_EQ(message, "\\: is not a harddisk\rThe downloaddirectory must be on a (local) harddisk.");
  EXPECT_FALSE(fs::exists(host("C:\\Program Files\\Vorpane")));
}

TEST_F(UnattendedSetupTest, AFailedRunExitsWithThreeAndLogsTheError) {
  platform.fillDiskAt("C:\\V\\Uninstall_Vorpane.Exe.new", 5000);
  EXPECT_EQ(run({"/D=C:\\V"}), 3);
  EXPECT_EQ(message, "Disk full: C:\\V\\Uninstall_Vorpane.Exe");
  const auto lines = logLines();
  const auto failed = std::find(lines.begin(), lines.end(), "Failed: " + message);
  ASSERT_NE(failed, lines.end());
  EXPECT_EQ(*std::next(failed), "Taking back what was changed");
  EXPECT_NE(std::find(failed, lines.end(), "Removed directory C:\\V\\"), lines.end());
  EXPECT_EQ(lines.back(), "Exit code 3");
  EXPECT_FALSE(fs::exists(host("C:\\V")));
}

// Every file and folder under the test's drives with its content, and the
// installed-programs entry: what a failed installation must leave as it was.
std::map<std::string, std::string> machine(const fs::path& root, platform::FakePlatform& platform) {
  std::map<std::string, std::string> state;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.path().filename() == "setup.log") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    state[fs::relative(entry.path(), root).string()] =
        entry.is_directory() ? "<dir>" : std::string(std::istreambuf_iterator<char>(in), {});
  }
  if (platform.registryKeyExists(product::kInstalledProgramsKey)) state["<entry>"] = "";
  return state;
}

TEST_F(UnattendedSetupTest, EveryRefusedChangeAndFullDiskLeavesTheMachineAsItWas) {
  const auto before = machine(scratch, platform);
  const auto installWith = [&](auto&& fault) {
    platform.refuseChange(0);
    platform::LogFile log(platform, "C:\\setup.log");
    fault();
    return app::UnattendedSetup(platform, nowhere, &log).run(ParseSwitches({"/S", "/D=C:\\Vorpane"}));
  };
  const auto uninstall = [&] {
    for (const char* made : {"C:\\Vorpane", "C:\\Menu\\Vorpane", "C:\\Downloads", "C:\\Vorpane_Cache"})
      fs::remove_all(host(made));
    fs::remove(host("C:\\Desktop\\Vorpane.Lnk"));
    platform.removeRegistryKey(product::kInstalledProgramsKey);
  };
  ASSERT_EQ(installWith([&] { platform.refuseChange(0); }), 0);
  const int changes = platform.changesCounted();
  uninstall();
  int failures = 0;
  for (int refused = 1; refused <= changes; ++refused) {
    if (installWith([&] { platform.refuseChange(refused); }) == 0) {
      // The start-menu group (there from an earlier installation, as far as
      // the run can tell) and the entry are done without.
      if (refused == changes) {
        EXPECT_FALSE(platform.registryKeyExists(product::kInstalledProgramsKey));
        std::ifstream log(host("C:\\setup.log"));
        EXPECT_NE(std::string(std::istreambuf_iterator<char>(log), {})
                      .find("Skipped: the entry in the list of installed programs"),
                  std::string::npos);
      }
      uninstall();
      continue;
    }
    ++failures;
    ASSERT_EQ(machine(scratch, platform), before) << "change " << refused << " of " << changes << " refused";
  }
  EXPECT_EQ(failures, changes - 2);

  for (const char* full : {"Vorpane.Dat", "Uninstall_Vorpane.Exe.new", "Vorpane.Exe.new"}) {
    EXPECT_EQ(installWith([&] { platform.fillDiskAt(std::string("C:\\Vorpane\\") + full, 5000); }), 3);
    EXPECT_EQ(machine(scratch, platform), before) << full;
  }
}

// Deployment scripts name directories whose parents are missing too: every
// level is made, and a setup that does not stand takes each back again.
TEST_F(UnattendedSetupTest, EveryMissingLevelIsMadeAndTakenBackInnermostFirst) {
  const Args nested{"/S", "/CACHEDIR=C:\\Data\\Cache", "/DOWNLOADDIR=C:\\Data\\Down\\Here",
                    "/D=C:\\Other Place\\Deep\\Vorpane"};
  const auto installWith = [&](int refused) {
    platform.refuseChange(0);
    platform::LogFile log(platform, "C:\\setup.log");
    platform.refuseChange(refused);
    app::UnattendedSetup setup(platform, nowhere, &log);
    const int code = setup.run(ParseSwitches(nested));
    message = setup.message();
    return code;
  };
  std::ofstream(host("C:\\Data")) << "a file where a folder goes";
  EXPECT_EQ(installWith(0), 2);
  EXPECT_EQ(message, "Could not create directory C:\\Data\\");
  EXPECT_EQ(logLines().at(3), "Refused: " + message) << "checked before anything is made";
  fs::remove(host("C:\\Data"));

  const auto before = machine(scratch, platform);
  for (int refused = 1; refused <= 7; ++refused) {  // one level refused after those before it were made
    EXPECT_EQ(installWith(refused), 2) << refused;
    EXPECT_EQ(machine(scratch, platform), before) << refused;
  }
  EXPECT_EQ(installWith(0), 0);
  std::vector<std::string> created;
  for (const auto& line : logLines())
    if (line.starts_with("Created directory C:\\") && !line.starts_with("Created directory C:\\Menu"))
      created.push_back(line.substr(18));
  EXPECT_EQ(created, (Args{"C:\\Other Place\\", "C:\\Other Place\\Deep\\", "C:\\Other Place\\Deep\\Vorpane\\",
                           "C:\\Data\\", "C:\\Data\\Down\\", "C:\\Data\\Down\\Here\\", "C:\\Data\\Cache\\"}));
}

TEST_F(UnattendedSetupTest, AnUpgradeOfAnotherDataFileVersionIsRefusedAndTouchesNothing) {
  makeDirectory("C:\\V");
  for (const int version : {3, 15}) {
    std::ofstream(host("C:\\V\\Vorpane.Dat"), std::ios::binary) << "\x1f" << static_cast<char>(84 + version);
    const auto before = machine(scratch, platform);
    EXPECT_EQ(run({"/UPGRADE=C:\\V"}), 2) << version;
    EXPECT_EQ(machine(scratch, platform), before) << version;
  }
}

// A log is wanted after a failure too: the folders made for it stay.
TEST_F(UnattendedSetupTest, TheLogsMissingFoldersAreMade) {
  app::OpenRunLog(platform, "C:\\Logs\\New\\setup.log")->write("written");
  EXPECT_TRUE(fs::exists(host("C:\\Logs\\New\\setup.log")));
}

TEST_F(UnattendedSetupTest, UpgradesACompatibleInstallationAndKeepsItsData) {
  makeDirectory("C:\\V");
  std::ofstream(host("C:\\V\\Vorpane.Dat"), std::ios::binary) << "\x1f"
                                                              << "Zdata";  // version 6
  EXPECT_EQ(run({"/UPGRADE=C:\\V"}), 0);
  EXPECT_EQ(fs::file_size(host("C:\\V\\Vorpane.Exe")), 2188800u);
  EXPECT_EQ(fs::file_size(host("C:\\V\\Vorpane.Dat")), 6u);
  EXPECT_EQ(platform.shortcuts().size(), 1u);
}

// Nobody answers an unattended run: it waits once, then fails naming the program.
TEST_F(UnattendedSetupTest, AProgramHeldPastTheWaitFailsWithThreeAndSaysItIsInUse) {
  makeDirectory("C:\\V");
  std::ofstream(host("C:\\V\\Vorpane.Dat"), std::ios::binary) << "\x1f"
                                                              << "Zdata";
  std::ofstream(host("C:\\V\\Vorpane.Exe")) << "old client";
  platform.holdFile("C:\\V\\Vorpane.Exe");  // refused as access denied, as Wine does
  EXPECT_EQ(run({"/UPGRADE=C:\\V"}), 3);
  EXPECT_EQ(message, "File in use: C:\\V\\Vorpane.Exe");
  EXPECT_GE(platform.tickCount(), 15000u);
  EXPECT_LT(platform.tickCount(), 16000u);
  const auto lines = logLines();
  EXPECT_NE(
      std::find(lines.begin(), lines.end(), "Waiting for the program that holds C:\\V\\Vorpane.Exe to end"),
      lines.end());
  EXPECT_EQ(lines.back(), "Exit code 3");
}

}  // namespace
}  // namespace vorpane::testing
