// The uninstaller's removal on the platform double: a whole installation as the
// installer leaves it, with the user's own things around it.

#include "uninstaller/Uninstall.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "product/Product.h"
#include "product/Registration.h"
#include "tests/support/FakePlatform.h"
#include "uninstaller/Handover.h"

namespace vorpane::uninstaller {
namespace {

namespace fs = std::filesystem;

constexpr char kDir[] = "C:\\Program Files\\Vorpane\\";
constexpr char kPrograms[] = "C:\\Users\\Ann\\Start Menu\\Programs";
constexpr char kGroup[] = "C:\\Users\\Ann\\Start Menu\\Programs\\Vorpane";
constexpr char kDesktop[] = "C:\\Users\\Ann\\Desktop";
constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vorpane";

class Answers final : public Conversation {
 public:
  bool confirm(const std::string& question) override {
    questions.push_back(question);
    return yes;
  }
  void inform(const std::string& message) override { informed.push_back(message); }
  void warn(const std::string& message) override { warned.push_back(message); }

  bool yes = true;
  std::vector<std::string> questions, informed, warned;
};

// The platform double with what these tests need beyond it: program starts
// refused, and a file held for a few waits only, as the system holds a
// program's file for a moment after its process has ended.
class TestHost final : public platform::FakePlatform {
 public:
  bool refuseStarts = false;
  std::function<void()> whileWaiting = [] {};
  void holdBriefly(const std::string& path, int waits) {
    holdFile(path);
    briefHold_ = {path, waits};
  }
  bool startInFolder(const std::string& commandLine, const std::string& workingDirectory) override {
    return !refuseStarts && FakePlatform::startInFolder(commandLine, workingDirectory);
  }
  bool waitForProcessEnd(std::uint32_t processId, int timeoutMilliseconds) override {
    whileWaiting();
    return FakePlatform::waitForProcessEnd(processId, timeoutMilliseconds);
  }
  void sleep(int milliseconds) override {
    FakePlatform::sleep(milliseconds);
    if (briefHold_.second > 0 && --briefHold_.second == 0) holdFile(briefHold_.first, false);
  }

 private:
  std::pair<std::string, int> briefHold_;
};

class UninstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("vorpane-uninstall-" + std::to_string(std::random_device{}()));
    fs::create_directories(root_);
    host_.mapDrive('C', root_);
    host_.setShellFolder(platform::ShellFolder::Programs, kPrograms);
    host_.setShellFolder(platform::ShellFolder::DesktopDirectory, kDesktop);
    host_.setTemporaryFolder("C:\\Temp");
    host_.setOwnProgramPath(std::string(kDir) + "Uninstall_Vorpane.Exe");
    for (const char* folder : {"Program Files\\Vorpane", "Users\\Ann\\Start Menu\\Programs\\Vorpane",
                               "Users\\Ann\\Desktop", "Temp", "Users\\Ann\\Downloads", "Vorpane Cache"})
      fs::create_directories(host_.hostPath(std::string("C:\\") + folder));
    for (const char* file : {"Vorpane.Exe", "Vorpane.Dat", "Uninstall_Vorpane.Exe"})
      make(std::string(kDir) + file, std::string("bytes of ") + file);
    link(std::string(kGroup) + "\\Vorpane.Lnk", std::string(kDir) + "Vorpane.Exe");
    link(std::string(kGroup) + "\\Uninstall Vorpane.Lnk", std::string(kDir) + "Uninstall_Vorpane.Exe");
    link(std::string(kDesktop) + "\\Vorpane.Lnk", std::string(kDir) + "Vorpane.Exe");
    host_.writeRegistryValues(
        kKey, {{"DisplayName", "Vorpane", {}}, {"InstallLocation", "C:\\program files\\VORPANE", {}}});
    make("C:\\Users\\Ann\\Downloads\\song.ogg", "downloaded");
    make("C:\\Vorpane Cache\\part.tmp", "cached");
    log_ = std::make_unique<platform::LogFile>(host_, "C:\\Temp\\uninstall.log");
  }
  void TearDown() override {
    log_.reset();
    fs::remove_all(root_);
  }

  void make(const std::string& path, const std::string& content) {
    std::ofstream(host_.hostPath(path), std::ios::binary) << content;
  }
  void link(const std::string& path, const std::string& target) {
    host_.createShortcut({target, path, "", ""});
  }
  bool exists(const std::string& path) { return fs::exists(host_.hostPath(path)); }
  static std::string folder(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }
  std::string read(const std::string& path) {
    std::ifstream in(host_.hostPath(path), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  int uninstall(bool silent, bool lockHeld = true) {
    Switches switches;
    switches.silent = silent;
    return Uninstall(host_, switches, lockHeld, answers_, log_.get());
  }
  // Everything the installer made is still there.
  void expectInstallationUntouched() {
    for (const char* file : {"Vorpane.Exe", "Vorpane.Dat", "Uninstall_Vorpane.Exe"})
      EXPECT_TRUE(exists(std::string(kDir) + file)) << file;
    EXPECT_TRUE(exists(std::string(kGroup) + "\\Vorpane.Lnk"));
    EXPECT_TRUE(exists(std::string(kDesktop) + "\\Vorpane.Lnk"));
    EXPECT_TRUE(host_.registryKeyExists(kKey));
    EXPECT_TRUE(host_.startsInFolder().empty());
  }

  fs::path root_;
  TestHost host_;
  Answers answers_;
  std::unique_ptr<platform::LogFile> log_;
};

TEST_F(UninstallTest, RemovesTheWholeInstallationAndNothingElse) {
  make(std::string(kDir) + "my notes.txt", "mine");
  host_.createDirectory(std::string(kDir) + "Downloads");
  make(std::string(kGroup) + "\\Vorpane.Lnk", "a shortcut that cannot be read");  // still the group's

  EXPECT_EQ(uninstall(true), product::exitcode::Done);

  for (const char* file : {"Vorpane.Exe", "Vorpane.Dat"})
    EXPECT_FALSE(exists(std::string(kDir) + file)) << file;
  EXPECT_FALSE(exists(kGroup));
  EXPECT_TRUE(exists(kPrograms));
  EXPECT_FALSE(exists(std::string(kDesktop) + "\\Vorpane.Lnk"));
  EXPECT_FALSE(host_.registryKeyExists(kKey));
  EXPECT_EQ(read(std::string(kDir) + "my notes.txt"), "mine");
  EXPECT_EQ(read("C:\\Users\\Ann\\Downloads\\song.ogg"), "downloaded");
  EXPECT_EQ(read("C:\\Vorpane Cache\\part.tmp"), "cached");
  EXPECT_TRUE(answers_.questions.empty() && answers_.informed.empty() && answers_.warned.empty());

  // The uninstaller's own file goes through a copy that waits for this process,
  // staged in a folder of its own with a key beside it, and let go once started.
  ASSERT_EQ(host_.stagingFolders().size(), 1u);
  const std::string stage = host_.stagingFolders()[0].path;
  const std::string key = read(stage + "\\Handover.key");
  EXPECT_EQ(read(stage + "\\Uninstall_Vorpane.Exe"), "bytes of Uninstall_Vorpane.Exe");
  ASSERT_EQ(host_.startsInFolder().size(), 1u);
  EXPECT_EQ(host_.startsInFolder()[0].first, "\"" + stage +
                                                 "\\Uninstall_Vorpane.Exe\" /S /FINISH=4242:" + key +
                                                 " \"C:\\Program Files\\Vorpane\\Uninstall_Vorpane.Exe\"");
  EXPECT_EQ(host_.startsInFolder()[0].second, stage);
  EXPECT_FALSE(host_.fileInUse(stage + "\\Uninstall_Vorpane.Exe"));

  const std::string log = read("C:\\Temp\\uninstall.log");
  EXPECT_NE(log.find("Removed C:\\Program Files\\Vorpane\\Vorpane.Dat"), std::string::npos) << log;
  EXPECT_NE(log.find("Left C:\\Program Files\\Vorpane\\my notes.txt: not installed by Vorpane"),
            std::string::npos);
  EXPECT_NE(log.find("Left C:\\Program Files\\Vorpane\\Downloads\\: not installed"), std::string::npos);
  EXPECT_NE(log.find("Exit code 0\r\n"), std::string::npos);
}

TEST_F(UninstallTest, AsksFirstAndLeavesWhatBelongsToOthers) {
  make(std::string(kDir) + "my notes.txt", "mine");
  link(std::string(kDesktop) + "\\Vorpane.Lnk", "D:\\Elsewhere\\Vorpane.Exe");
  host_.writeRegistryValues(kKey, {{"InstallLocation", "D:\\Elsewhere\\", {}}});

  EXPECT_EQ(uninstall(false), product::exitcode::Done);

  EXPECT_EQ(answers_.questions,
            std::vector<std::string>{"Remove Vorpane 3.31 from C:\\Program Files\\Vorpane?"});
  EXPECT_TRUE(exists(std::string(kDesktop) + "\\Vorpane.Lnk"));
  EXPECT_TRUE(host_.registryKeyExists(kKey));
  EXPECT_FALSE(exists(std::string(kDir) + "Vorpane.Exe"));
  ASSERT_EQ(answers_.informed.size(), 1u);
  EXPECT_EQ(answers_.informed[0],
            "Vorpane 3.31 was removed from C:\\Program Files\\Vorpane.\r\rThese files were left in "
            "C:\\Program Files\\Vorpane because they were not installed by Vorpane:\r  my notes.txt");
  EXPECT_EQ(host_.startsInFolder().at(0).first.find(" /S "), std::string::npos);
}

TEST_F(UninstallTest, RefusesWithNothingRemoved) {
  answers_.yes = false;
  EXPECT_EQ(uninstall(false), product::exitcode::Refused);
  expectInstallationUntouched();

  host_.holdFile(std::string(kDir) + "Vorpane.Exe");
  EXPECT_EQ(uninstall(false), product::exitcode::Refused);
  EXPECT_EQ(answers_.warned, std::vector<std::string>{kClientRunning});
  EXPECT_EQ(answers_.questions.size(), 1u) << "a running client is found before the question";
  expectInstallationUntouched();

  EXPECT_EQ(uninstall(true, false), product::exitcode::AlreadyRunning);
  expectInstallationUntouched();
  EXPECT_NE(read("C:\\Temp\\uninstall.log").find(std::string("Refused: ") + kAnotherSetupRunning),
            std::string::npos);
}

TEST_F(UninstallTest, AnUninstallerOutsideAnInstallationRemovesNothing) {
  host_.setOwnProgramPath("C:\\Users\\Ann\\Downloads\\Uninstall_Vorpane.Exe");
  EXPECT_EQ(uninstall(true), product::exitcode::Refused);
  expectInstallationUntouched();
  EXPECT_TRUE(exists("C:\\Users\\Ann\\Downloads\\song.ogg"));
}

TEST_F(UninstallTest, ARefusedRemovalIsListedAndKeepsTheUninstallerToRunAgain) {
  host_.refuseChange(2);  // the client goes first, then the data file is refused
  EXPECT_EQ(uninstall(false), product::exitcode::RunFailed);

  EXPECT_FALSE(exists(std::string(kDir) + "Vorpane.Exe"));
  EXPECT_TRUE(exists(std::string(kDir) + "Vorpane.Dat"));
  EXPECT_TRUE(exists(std::string(kDir) + "Uninstall_Vorpane.Exe"));
  EXPECT_TRUE(exists(std::string(kGroup) + "\\Uninstall Vorpane.Lnk"));
  EXPECT_TRUE(host_.registryKeyExists(kKey));
  EXPECT_TRUE(host_.startsInFolder().empty());
  ASSERT_EQ(answers_.warned.size(), 1u);
  EXPECT_NE(answers_.warned[0].find("could not be removed:\r  C:\\Program Files\\Vorpane\\Vorpane.Dat\r"),
            std::string::npos)
      << answers_.warned[0];
  EXPECT_NE(read("C:\\Temp\\uninstall.log").find("Could not remove C:\\Program Files\\Vorpane\\Vorpane.Dat"),
            std::string::npos);

  // Once the cause is gone the same uninstaller finishes the removal.
  EXPECT_EQ(uninstall(true), product::exitcode::Done);
  EXPECT_FALSE(exists(std::string(kDir) + "Vorpane.Dat"));
  EXPECT_FALSE(host_.registryKeyExists(kKey));
}

// An installation inside another: each keeps the other's shortcuts and entry,
// though its path begins with the other's directory.
TEST_F(UninstallTest, NestedInstallationsTakeBackOnlyTheirOwn) {
  const std::string inner = std::string(kDir) + "Vorpane-test\\";
  fs::create_directories(host_.hostPath(inner));
  for (const char* file : {"Vorpane.Exe", "Vorpane.Dat", "Uninstall_Vorpane.Exe"})
    make(inner + file, "inner");
  // Installed last, so the group and the desktop start the inner one.
  link(std::string(kGroup) + "\\Vorpane.Lnk", inner + "Vorpane.Exe");
  link(std::string(kGroup) + "\\Uninstall Vorpane.Lnk", inner + "Uninstall_Vorpane.Exe");
  link(std::string(kDesktop) + "\\Vorpane.Lnk", inner + "Vorpane.Exe");
  const std::string ownKey = product::OwnEntryKey(host_, inner);
  host_.writeRegistryValues(ownKey, {{"InstallLocation", "C:\\Program Files\\Vorpane\\Vorpane-test", {}}});

  EXPECT_EQ(uninstall(true), product::exitcode::Done);
  EXPECT_FALSE(host_.registryKeyExists(kKey));
  EXPECT_TRUE(host_.registryKeyExists(ownKey));
  for (const std::string& link :
       {std::string(kGroup) + "\\Vorpane.Lnk", std::string(kGroup) + "\\Uninstall Vorpane.Lnk",
        std::string(kDesktop) + "\\Vorpane.Lnk"})
    EXPECT_TRUE(exists(link)) << link;
  EXPECT_EQ(read(inner + "Vorpane.Dat"), "inner");

  host_.setOwnProgramPath(inner + "Uninstall_Vorpane.Exe");
  EXPECT_EQ(uninstall(true), product::exitcode::Done);
  EXPECT_FALSE(host_.registryKeyExists(ownKey));
  EXPECT_FALSE(exists(kGroup));
  EXPECT_FALSE(exists(std::string(kDesktop) + "\\Vorpane.Lnk"));
}

// Whatever keeps the copy from being staged or started, the entry and the
// uninstaller's shortcut stay, nothing is left in the temporary folder, and
// the same uninstaller finishes once the cause is gone.
TEST_F(UninstallTest, AHandOverThatCannotBeMadeLeavesTheUninstallerToRunAgain) {
  const auto expectUninstallerStays = [&] {
    EXPECT_EQ(uninstall(false), product::exitcode::RunFailed);
    EXPECT_FALSE(exists(std::string(kDir) + "Vorpane.Exe"));
    EXPECT_TRUE(exists(std::string(kDir) + "Uninstall_Vorpane.Exe"));
    EXPECT_TRUE(exists(std::string(kGroup) + "\\Uninstall Vorpane.Lnk"));
    EXPECT_TRUE(host_.registryKeyExists(kKey));
    for (const auto& entry : fs::directory_iterator(host_.hostPath("C:\\Temp")))
      EXPECT_EQ(entry.path().filename(), "uninstall.log");
    EXPECT_NE(
        answers_.warned.back().find("Uninstall_Vorpane.Exe (the copy that removes it could not be staged"),
        std::string::npos);
  };
  host_.setTemporaryFolder("C:\\No Such Temp");
  expectUninstallerStays();
  host_.setTemporaryFolder("C:\\Temp");
  host_.refuseStarts = true;
  expectUninstallerStays();

  host_.refuseStarts = false;
  EXPECT_EQ(uninstall(true), product::exitcode::Done);
  EXPECT_FALSE(host_.registryKeyExists(kKey));
  EXPECT_FALSE(exists(kGroup));
}

// A step after the copy started fails: the copy is called off, and the
// uninstaller stays with its entry, to be run again.
TEST_F(UninstallTest, AHandOverCalledOffLeavesTheUninstaller) {
  const std::string uninstallerLink = std::string(kGroup) + "\\Uninstall Vorpane.Lnk";
  host_.holdFile(uninstallerLink);
  EXPECT_EQ(uninstall(true), product::exitcode::RunFailed);
  EXPECT_TRUE(host_.registryKeyExists(kKey));
  EXPECT_FALSE(exists(host_.stagingFolders().at(0).path + "\\Handover.key"));

  host_.holdFile(uninstallerLink, false);
  EXPECT_EQ(uninstall(true), product::exitcode::Done);
  EXPECT_FALSE(host_.registryKeyExists(kKey));
  EXPECT_FALSE(exists(uninstallerLink));
}

TEST_F(UninstallTest, TenFilesLeftAreAllNamed) {
  for (int i = 0; i < 10; ++i) make(std::string(kDir) + "mine " + std::to_string(i) + ".txt", "mine");
  EXPECT_EQ(uninstall(false), product::exitcode::Done);
  ASSERT_EQ(answers_.informed.size(), 1u);
  EXPECT_EQ(answers_.informed[0].find("more"), std::string::npos) << answers_.informed[0];
  EXPECT_NE(answers_.informed[0].find("\r  mine 9.txt"), std::string::npos);
}

// Names nobody can guess: a folder and a key that differ on every run and
// from each other, and a folder only administrators may change when elevated.
TEST_F(UninstallTest, EachHandOverIsStagedInANewFolderWithItsOwnKey) {
  host_.setElevated(true);
  std::vector<std::string> names;
  for (int run = 0; run < 2; ++run) {
    const std::string command =
        HandOverOwnRemoval(host_, std::string(kDir) + "Uninstall_Vorpane.Exe", true).command;
    const auto& staged = host_.stagingFolders().back();
    EXPECT_TRUE(staged.restricted);
    const std::string name = staged.path.substr(std::string("C:\\Temp\\").size());
    EXPECT_EQ(name.rfind("Vorpane-Uninstall-", 0), 0u) << name;
    EXPECT_EQ(name.size(), std::string("Vorpane-Uninstall-").size() + 32);
    const std::string key = read(staged.path + "\\Handover.key");
    EXPECT_EQ(key.size(), 32u);
    EXPECT_NE(command.find(":" + key + " "), std::string::npos) << command;
    names.push_back(name.substr(18));
    names.push_back(key);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
}

// Whatever step of the staging is refused (the folder, the key, the copy, its
// start), it is taken back and tried once more in a new folder.
TEST_F(UninstallTest, AFailedStagingLeavesNothingAndIsTriedAgain) {
  for (int refused = 1; refused <= 4; ++refused) {
    SCOPED_TRACE(refused);
    fs::remove_all(host_.hostPath("C:\\Temp"));
    fs::create_directories(host_.hostPath("C:\\Temp"));
    host_.refuseChange(refused);
    const std::string command =
        HandOverOwnRemoval(host_, std::string(kDir) + "Uninstall_Vorpane.Exe", true).command;
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(host_.hostPath("C:\\Temp")))
      left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[0], "Handover.key");
    EXPECT_EQ(left[1], "Uninstall_Vorpane.Exe");
    EXPECT_NE(command.find(left[2]), std::string::npos) << command;
  }
  host_.setTemporaryFolder(std::nullopt);
  EXPECT_THROW(HandOverOwnRemoval(host_, std::string(kDir) + "Uninstall_Vorpane.Exe", true),
               std::runtime_error);
}

class FinishingCopyTest : public UninstallTest {
 protected:
  static constexpr char kStage[] = "C:\\Temp\\Vorpane-Uninstall-0123456789ABCDEF0123456789ABCDEF";
  static constexpr char kKey[] = "FEDCBA9876543210FEDCBA9876543210";

  void SetUp() override {
    UninstallTest::SetUp();
    for (const char* file : {"Vorpane.Exe", "Vorpane.Dat"}) host_.removeFile(std::string(kDir) + file);
    fs::create_directories(host_.hostPath(kStage));
    make(std::string(kStage) + "\\Uninstall_Vorpane.Exe", "the copy");
    make(std::string(kStage) + "\\Handover.key", kKey);
    host_.setOwnProgramPath(std::string(kStage) + "\\Uninstall_Vorpane.Exe");
  }
  int finish(const std::string& key,
             const std::string& original = std::string(kDir) + "Uninstall_Vorpane.Exe") {
    const Switches switches = ParseSwitches({"/S", "/finish=4242:" + key, original});
    EXPECT_TRUE(switches.error.empty()) << switches.error;
    return FinishRemoval(host_, switches, answers_);
  }
};

TEST_F(FinishingCopyTest, RemovesTheUninstallerAndTheEmptyDirectoryAndGoesAtRestart) {
  EXPECT_EQ(finish(kKey), product::exitcode::Done);

  EXPECT_EQ(host_.waitedProcesses(), std::vector<std::uint32_t>{4242});
  EXPECT_FALSE(exists("C:\\Program Files\\Vorpane"));
  EXPECT_FALSE(exists(std::string(kStage) + "\\Handover.key"));
  EXPECT_EQ(host_.removalsAtRestart(),
            (std::vector<std::string>{std::string(kStage) + "\\Uninstall_Vorpane.Exe", kStage}));
}

TEST_F(FinishingCopyTest, TriesAgainWhileTheSystemStillHoldsTheUninstaller) {
  host_.holdBriefly(std::string(kDir) + "Uninstall_Vorpane.Exe", 3);
  EXPECT_EQ(finish(kKey), product::exitcode::Done);
  EXPECT_FALSE(exists("C:\\Program Files\\Vorpane"));
}

// The uninstaller had to stay and took the key back while the copy waited.
TEST_F(FinishingCopyTest, CalledOffWhileWaitingRemovesNothing) {
  host_.whileWaiting = [&] { host_.removeFile(std::string(kStage) + "\\Handover.key"); };
  EXPECT_EQ(finish(kKey), product::exitcode::Refused);
  EXPECT_TRUE(exists(std::string(kDir) + "Uninstall_Vorpane.Exe"));
  EXPECT_EQ(host_.removalsAtRestart(),
            (std::vector<std::string>{std::string(kStage) + "\\Uninstall_Vorpane.Exe", kStage}));
}

// Started by hand, the private switch waits for nothing, removes nothing and
// schedules nothing.
TEST_F(FinishingCopyTest, DoesNothingWhenNotStartedByTheUninstaller) {
  const auto expectNothingDone = [&] {
    EXPECT_TRUE(exists(std::string(kDir) + "Uninstall_Vorpane.Exe"));
    EXPECT_TRUE(exists("C:\\Vorpane Cache\\part.tmp"));
    EXPECT_TRUE(host_.waitedProcesses().empty());
    EXPECT_TRUE(host_.removalsAtRestart().empty());
  };
  EXPECT_EQ(finish("00000000000000000000000000000000"), product::exitcode::BadCommandLine);
  EXPECT_EQ(finish(std::string(kKey).substr(1)), product::exitcode::BadCommandLine);
  EXPECT_EQ(finish(kKey, "C:\\Vorpane Cache\\part.tmp"), product::exitcode::BadCommandLine);
  EXPECT_EQ(finish(kKey, "Uninstall_Vorpane.Exe"), product::exitcode::BadCommandLine);
  expectNothingDone();

  // The right key, but the copy does not run from a staging folder.
  for (const std::string& own :
       {std::string(kDir) + "Uninstall_Vorpane.Exe",
        std::string("C:\\Vorpane-Uninstall-0123456789ABCDEF0123456789ABCDEF\\Uninstall_Vorpane.Exe"),
        std::string(kStage) + "\\Other.Exe",
        std::string("C:\\Temp\\Vorpane-Uninstall-0123\\Uninstall_Vorpane.Exe"),
        std::string("C:\\Temp\\Elsewhere-Uninstall-0123456789ABCDEF0123456789ABCD\\Uninstall_Vorpane.Exe")}) {
    fs::create_directories(host_.hostPath(folder(own)));
    make(folder(own) + "Handover.key", kKey);
    host_.setOwnProgramPath(own);
    EXPECT_EQ(finish(kKey), product::exitcode::BadCommandLine) << own;
  }
  expectNothingDone();
  EXPECT_TRUE(answers_.warned.empty()) << "silent";
}

TEST(UninstallSwitches, ReadsTheSwitchesInAnyCase) {
  const Switches s = ParseSwitches({"/verysilent", "/Log=C:\\My Logs\\u.log"});
  EXPECT_TRUE(s.silent && s.error.empty());
  EXPECT_EQ(s.logFile, "C:\\My Logs\\u.log");
  EXPECT_TRUE(ParseSwitches({"/s"}).silent);
  EXPECT_FALSE(ParseSwitches({}).silent);
  EXPECT_EQ(ParseSwitches({"/S", "/D=C:\\x"}).error, "Unknown switch /D=C:\\x");
  EXPECT_FALSE(ParseSwitches({"/LOG="}).error.empty());
  EXPECT_FALSE(ParseSwitches({"/FINISH=12x:ABC", "C:\\V\\Uninstall_Vorpane.Exe"}).error.empty());
  EXPECT_FALSE(ParseSwitches({"/FINISH=12", "C:\\V\\Uninstall_Vorpane.Exe"}).error.empty()) << "no key";
}

// What deployment tools pass to every setup program is accepted; the usage
// text is read in a box's proportional font, so it has no columns.
TEST(UninstallSwitches, AcceptsTheDeploymentToolsSwitchesAndListsThemLineByLine) {
  const Switches s = ParseSwitches({"/SP-", "/S", "/NoRestart", "/NOCANCEL"});
  EXPECT_TRUE(s.silent);
  EXPECT_EQ(s.error, "");
  EXPECT_EQ(UsageText().find('\t'), std::string::npos);
  EXPECT_NE(UsageText().find("\r/SP-, /NORESTART, /NOCANCEL: "), std::string::npos);
  // The first line is the command an administrator types.
  EXPECT_EQ(UsageText().rfind("Uninstall_Vorpane.Exe [/S | /VERYSILENT] [/LOG=\"file\"]\r\r", 0), 0u);
}

// A script that asked for silence never meets a box, not even about its own mistake.
TEST(UninstallSwitches, SilenceAfterABadSwitchStillCounts) {
  const Switches s = ParseSwitches({"/LOG=", "/BOGUS", "/VERYSILENT"});
  EXPECT_TRUE(s.silent);
  EXPECT_EQ(s.error, "/LOG= needs the name of the log file");
  EXPECT_TRUE(ParseSwitches({"/BOGUS", "/S"}).silent);
}

}  // namespace
}  // namespace vorpane::uninstaller
