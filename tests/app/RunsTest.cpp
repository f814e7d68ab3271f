// The install and upgrade runs: their progress sequences, the files and
// shortcuts they leave, and what the wizard shows when a step fails.

#include <fstream>

#include "WizardTestSupport.h"
#include "app/InstallRun.h"
#include "app/PageProgress.h"
#include "app/ProgramExtraction.h"
#include "app/UpgradeRun.h"
#include "datafile/DataFileDecoder.h"
#include "payload/Uninstall_Vorpane_Exe.h"
#include "payload/Vorpane_Exe.h"
#include "product/Product.h"
#include "product/Registration.h"

namespace vorpane::testing {
namespace {

namespace fs = std::filesystem;

// One thing a run told its progress sink.
struct Step {
  char what;  // 'M' maximum, 'P' position, '%' percentage, 'Q' message queue, 'W' a wait shown
  int value;
  friend bool operator==(const Step&, const Step&) = default;
};

class RecordingProgress : public app::RunProgress {
 public:
  void setMaximum(int maximum) override { steps.push_back({'M', maximum}); }
  void setPosition(int position) override { steps.push_back({'P', position}); }
  void setPercent(int percent) override { steps.push_back({'%', percent}); }
  void processMessages() override { steps.push_back({'Q', 0}); }
  void showWaiting(const std::string&) override { steps.push_back({'W', 0}); }
  void waitOver() override {}
  bool waitAgain(const std::string&) override { return false; }
  std::vector<Step> steps;
};

// The percentage as exact integers: 100 × position / maximum, halves to even.
int exactPercent(std::int64_t position, std::int64_t maximum) {
  const std::int64_t quotient = 100 * position / maximum;
  const std::int64_t twiceRest = 2 * (100 * position % maximum);
  if (twiceRest > maximum || (twiceRest == maximum && quotient % 2 == 1))
    return static_cast<int>(quotient + 1);
  return static_cast<int>(quotient);
}

// Each chunk: the bar at the bytes written (one more once complete), the
// percentage of that, one run of the message queue.
void expectChunks(std::vector<Step>& expected, std::int64_t size, std::int64_t offset, int maximum) {
  for (std::int64_t written = 0;;) {
    const bool last = written + 1024 > size;
    written = last ? size + 1 : written + 1024;
    const auto position = static_cast<int>(offset + written);
    expected.insert(expected.end(), {{'P', position}, {'%', exactPercent(position, maximum)}, {'Q', 0}});
    if (last) return;
  }
}

TEST(RunPercentage, EveryPositionRoundsToNearestWithHalvesToEvenAndNoChunkShowsAHundred) {
  const int maximum = app::RunProgressMaximum();
  for (int position = 0; position <= maximum; ++position)
    ASSERT_EQ(app::PercentOf(position, maximum), exactPercent(position, maximum)) << position;
  EXPECT_EQ(app::PercentOf(app::ProgramsSize() + 1, maximum), 91);
  EXPECT_EQ(app::PercentOf(1, 8), 12);  // 12.5
  EXPECT_EQ(app::PercentOf(3, 8), 38);  // 37.5
  EXPECT_EQ(app::PercentOf(5, 0), 0);
  EXPECT_EQ(app::PositionAtPercent(3263744, 92), 3002644);
  EXPECT_EQ(app::PositionAtPercent(3263744, 99), 3231107);
}

class InstallRunTest : public WizardTest {
 protected:
  InstallRunTest() {
    platform.setShellFolder(platform::ShellFolder::Programs, "C:\\Menu\\Programs");
    platform.setShellFolder(platform::ShellFolder::DesktopDirectory, "C:\\Desktop");
    makeDirectory("C:\\Menu\\Programs");
    makeDirectory("C:\\Desktop");
    makeDirectory("C:\\Vorpane");
  }
  void install(const app::InstallPlan& plan, app::RunProgress& progress) {
    app::SetupTransaction transaction(platform, nullptr);
    app::InstallRun(transaction, progress).run(plan);
    transaction.commit();
  }
  app::InstallPlan plan(bool desktop = true) const {
    return {"C:\\Vorpane\\", "C:\\Downloads\\", "C:\\Cache\\", desktop};
  }
  std::vector<std::uint8_t> bytesOf(const std::string& windowsPath) const {
    std::ifstream in(host(windowsPath), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  bool holdsImage(const std::string& windowsPath, std::span<const std::uint8_t> image) const {
    const auto bytes = bytesOf(windowsPath);
    return std::equal(bytes.begin(), bytes.end(), image.begin(), image.end());
  }
};

TEST_F(InstallRunTest, TellsEveryStepOfTheBarInOrderAndLeavesTheWholeInstallation) {
  RecordingProgress progress;
  install(plan(), progress);

  const int maximum = 3263744;
  std::vector<Step> expected{{'P', 0}, {'M', 2967040}, {'M', maximum}};
  expectChunks(expected, 2188800, 0, maximum);
  expectChunks(expected, 778240, 2188800, maximum);
  expected.insert(expected.end(), {{'P', 3002644}, {'Q', 0}, {'P', 3035282}});
  for (int percent = 94; percent <= 99; ++percent)
    expected.insert(expected.end(),
                    {{'P', app::PositionAtPercent(maximum, percent)}, {'%', percent}, {'Q', 0}});
  ASSERT_EQ(progress.steps.size(), expected.size());
  EXPECT_TRUE(progress.steps == expected);
  EXPECT_EQ(std::count(progress.steps.begin(), progress.steps.end(), Step{'%', 100}), 0);

  EXPECT_TRUE(holdsImage("C:\\Vorpane\\Vorpane.Exe", payload::Vorpane_Exe::image()));
  EXPECT_TRUE(holdsImage("C:\\Vorpane\\Uninstall_Vorpane.Exe", payload::Uninstall_Vorpane_Exe::image()));
  const auto data = bytesOf("C:\\Vorpane\\Vorpane.Dat");
  const auto decoded =
      datafile::DecodeDataFile(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
  EXPECT_EQ(decoded.header.at(3).text, "C:\\Vorpane\\");

  using S = platform::ShortcutSpec;
  EXPECT_TRUE(fs::is_directory(host("C:\\Menu\\Programs\\Vorpane")));
  EXPECT_EQ(
      platform.shortcuts(),
      (std::vector<S>{{"C:\\Vorpane\\Uninstall_Vorpane.Exe",
                       "C:\\Menu\\Programs\\Vorpane\\Uninstall Vorpane.Lnk", "Unistall Vorpane", ""},
                      {"C:\\Vorpane\\Vorpane.Exe", "C:\\Menu\\Programs\\Vorpane\\Vorpane.Lnk", "Vorpane", ""},
                      {"C:\\Vorpane\\Vorpane.Exe", "C:\\Desktop\\Vorpane.Lnk", "Vorpane", ""}}));
}

TEST_F(InstallRunTest, ShortcutsFollowTheDesktopChoiceAndTheFoldersTheShellKnows) {
  RecordingProgress progress;
  makeDirectory("C:\\Menu\\Programs\\Vorpane");  // an earlier installation's group
  install(plan(false), progress);
  ASSERT_EQ(platform.shortcuts().size(), 2u);
  EXPECT_EQ(platform.shortcuts()[1].linkPath, "C:\\Menu\\Programs\\Vorpane\\Vorpane.Lnk");

  platform.setShellFolder(platform::ShellFolder::Programs, std::nullopt);
  fs::remove(host("C:\\Vorpane\\Vorpane.Dat"));
  install(plan(true), progress);
  ASSERT_EQ(platform.shortcuts().size(), 3u);
  EXPECT_EQ(platform.shortcuts()[2].linkPath, "C:\\Desktop\\Vorpane.Lnk");

  platform.setShellFolder(platform::ShellFolder::DesktopDirectory, std::nullopt);
  install(plan(true), progress);
  EXPECT_EQ(platform.shortcuts().size(), 3u);
  EXPECT_TRUE(fs::exists(host("C:\\Vorpane\\Vorpane.Dat")));
}

// Each installation is listed with its whole size on disk in KiB, a second
// one under a key of its own; an upgrade counts the data file it keeps.
TEST_F(InstallRunTest, EachInstallationIsListedWithItsWholeSize) {
  const auto estimatedSize = [&](const std::string& key) {
    for (const auto& value : platform.registryValues(key))
      if (value.name == "EstimatedSize") return value.number.value_or(0);
    return 0u;
  };
  RecordingProgress progress;
  install(plan(), progress);
  const auto bytes = 2967040 + fs::file_size(host("C:\\Vorpane\\Vorpane.Dat"));
  EXPECT_EQ(estimatedSize(product::kInstalledProgramsKey), (bytes + 1023) / 1024);

  makeDirectory("C:\\Old Vorpane");
  std::ofstream(host("C:\\Old Vorpane\\Vorpane.Dat")) << std::string(600, 'd');
  app::SetupTransaction upgrade(platform, nullptr);
  app::UpgradeRun(upgrade, progress).run({"C:\\Old Vorpane\\", false});
  upgrade.commit();
  const std::string own = product::OwnEntryKey(platform, "C:\\Old Vorpane\\");
  EXPECT_EQ(platform.readRegistryText(own, "DisplayName"), "Vorpane (C:\\Old Vorpane)");
  EXPECT_EQ(estimatedSize(own), 2899u);  // 2,967,640 bytes
  EXPECT_EQ(platform.readRegistryText(product::kInstalledProgramsKey, "InstallLocation"), "C:\\Vorpane");
}

class FailedInstallTest : public WizardTest {
 protected:
  void SetUp() override {
    platform.setShellFolder(platform::ShellFolder::Programs, "C:\\Menu");
    makeDirectory("C:\\Menu");
    walkToChoice();
    walkToSummaryWithDefaults();
    // What was there before the run must stay so whatever fails.
    std::ofstream(host(kDir + "Vorpane.Exe")) << "old client";
    std::ofstream(host(kDir + "notes.txt")) << "mine";
  }
  // Runs the installation from the summary page and checks what a failed run
  // shows: the error in its box and, when everything was taken back, beside Exit.
  void installAndExpectFailure(const std::string& message, bool allTakenBack = true) {
    view.click("Button17");
    EXPECT_EQ(page(), "Tab14Installing");
    ASSERT_EQ(loop.errors, std::vector<std::string>{message});
    EXPECT_TRUE(model.visible("LblInstallFailure"));
    if (allTakenBack) {
      EXPECT_EQ(model.text("LblInstallFailure"), message + " Nothing was changed.");
    }
    EXPECT_FALSE(model.timerEnabled("Timer1"));
    EXPECT_TRUE(model.visible("BtnInstallExit"));
    EXPECT_EQ(model.focus(), "BtnInstallExit");
    EXPECT_TRUE(readFile(kDir + "notes.txt") == "mine");
    view.click("BtnInstallExit");
    EXPECT_TRUE(loop.terminated);
    EXPECT_EQ(loop.terminateCode, 1);
    EXPECT_FALSE(loop.haltCode.has_value());
  }
  std::string readFile(const std::string& windowsPath) const {
    std::ifstream in(host(windowsPath));
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  const std::string kDir = "C:\\Program Files\\Vorpane\\";
};

TEST_F(FailedInstallTest, TheExitButtonIsHiddenUntilARunFails) {
  EXPECT_FALSE(model.visible("BtnInstallExit"));
  EXPECT_THROW(view.click("BtnInstallExit"), std::logic_error);
  fs::remove(host(kDir + "Vorpane.Exe"));
  view.click("Button17");
  EXPECT_TRUE(loop.errors.empty());
  EXPECT_TRUE(model.timerEnabled("Timer1"));
  EXPECT_EQ(model.text("LblInstallComplete"), "99% complete");
  EXPECT_EQ(loop.pumps, 2138 + 761 + 1 + 6);
  EXPECT_FALSE(model.visible("BtnInstallExit"));
  EXPECT_FALSE(model.visible("LblInstallFailure"));
}

TEST_F(FailedInstallTest, ShortcutObjectRefused) {
  platform.failShortcuts(true);
  installAndExpectFailure("The shell link object could not be created.");
  EXPECT_FALSE(fs::exists(host(kDir + "Vorpane.Dat")));
  // Taken back: the group the run made, the downloads folder the pages made.
  EXPECT_FALSE(fs::exists(host("C:\\Menu\\Vorpane")));
  EXPECT_FALSE(fs::exists(host(wizard->downloadDir())));
  // A program that was there before is not removed.
  EXPECT_TRUE(fs::exists(host(kDir + "Vorpane.Exe")));
}

TEST_F(WizardTest, LeavingBeforeTheRunRemovesTheDirectoriesThePagesMadeWhileEmpty) {
  makeDirectory("C:\\Downloads");
  walkToChoice();
  walkToSummaryWithDefaults();
  std::ofstream(host(wizard->cacheDir() + "kept.txt")) << "put there meanwhile";
  view.click("Button16");
  EXPECT_EQ(loop.haltCode, 0);
  EXPECT_FALSE(fs::exists(host(wizard->installDir())));
  EXPECT_TRUE(fs::exists(host("C:\\Downloads")));
  EXPECT_TRUE(fs::exists(host(wizard->cacheDir() + "kept.txt")));
}

TEST_F(FailedInstallTest, DataFileRefused) {
  fs::create_directories(host(kDir + "Vorpane.Dat"));  // a folder where the file belongs
  installAndExpectFailure("File access denied: " + kDir + "Vorpane.Dat.");
}

TEST_F(FailedInstallTest, WhatTheRollbackCouldNotRemoveIsNamedBesideExit) {
  fs::create_directories(host(kDir + "Vorpane.Dat"));
  platform.holdFile("C:\\Menu\\Vorpane\\Vorpane.Lnk");
  platform.holdFile("C:\\Menu\\Vorpane\\Uninstall Vorpane.Lnk");
  installAndExpectFailure("File access denied: " + kDir + "Vorpane.Dat.", false);
  EXPECT_EQ(model.text("LblInstallFailure"),
            "File access denied: " + kDir +
                "Vorpane.Dat. These could not be removed: C:\\Menu\\Vorpane\\Vorpane.Lnk, "
                "C:\\Menu\\Vorpane\\Uninstall Vorpane.Lnk");
}

class FullDiskInstallTest : public FailedInstallTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FullDiskInstallTest, SaysDiskFullAndKeepsTheOldProgram) {
  const std::string program = GetParam();
  platform.fillDiskAt(kDir + program + ".new", 100000);
  installAndExpectFailure("Disk full: " + kDir + program + ".");
  EXPECT_FALSE(fs::exists(host(kDir + program + ".new")));
  if (program == "Vorpane.Exe") {
    EXPECT_TRUE(readFile(kDir + program) == "old client");
  }
  EXPECT_FALSE(fs::exists(host(kDir + "Vorpane.Dat")));
}

INSTANTIATE_TEST_SUITE_P(EitherProgram, FullDiskInstallTest,
                         ::testing::Values("Vorpane.Exe", "Uninstall_Vorpane.Exe"));

}  // namespace
}  // namespace vorpane::testing

namespace vorpane::testing {
namespace {

class UpgradeRunTest : public WizardTest {
 protected:
  UpgradeRunTest() {
    platform.setShellFolder(platform::ShellFolder::Programs, "C:\\Menu");
    platform.setShellFolder(platform::ShellFolder::DesktopDirectory, "C:\\Desktop");
    makeDirectory("C:\\Desktop");
    makeDirectory("C:\\Old Vorpane");
    std::ofstream(host(kDir + "Vorpane.Exe")) << "old client";
    std::ofstream(host(kDir + "Vorpane.Dat")) << "the user's data";
  }
  void startAutomatic() { start({"/autoupdate", kDir}); }
  void acceptDisclaimer() {
    view.type("EdAgree", "YES");
    view.click("Button3");
  }
  std::string readFile(const std::string& windowsPath) const {
    std::ifstream in(host(windowsPath), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  const std::string kDir = "C:\\Old Vorpane\\";
};

TEST_F(UpgradeRunTest, TellsTheProgramsAndNinetyThreePercentAndTouchesNothingElse) {
  RecordingProgress progress;
  app::SetupTransaction transaction(platform, nullptr);
  app::UpgradeRun(transaction, progress).run({kDir, false});
  const int maximum = 3263744;
  std::vector<Step> expected{{'P', 0}, {'M', 2967040}, {'M', maximum}};
  expectChunks(expected, 2188800, 0, maximum);
  expectChunks(expected, 778240, 2188800, maximum);
  expected.insert(expected.end(), {{'Q', 0}, {'P', app::PositionAtPercent(maximum, 93)}});
  EXPECT_TRUE(progress.steps == expected);
  EXPECT_EQ(readFile(kDir + "Vorpane.Dat"), "the user's data");
  EXPECT_TRUE(platform.shortcuts().empty());
  EXPECT_FALSE(fs::exists(host("C:\\Menu")));
  EXPECT_EQ(platform.readRegistryText(product::kInstalledProgramsKey, "DisplayVersion"), "3.31");
  EXPECT_EQ(platform.readRegistryText(product::kInstalledProgramsKey, "InstallLocation"), "C:\\Old Vorpane");

  app::UpgradeRun(transaction, progress).run({kDir, true});
  transaction.commit();
  EXPECT_EQ(platform.shortcuts(), (std::vector<platform::ShortcutSpec>{
                                      {kDir + "Vorpane.Exe", "C:\\Desktop\\Vorpane.Lnk", "Vorpane", ""}}));
}

// The client that started the upgrade may still be ending when its program is replaced.
TEST_F(UpgradeRunTest, AClientStillEndingIsWaitedForWithTheWindowAlive) {
  platform.refuseReplace(kDir + "Vorpane.Exe", platform::io::SharingViolation, 20);
  startAutomatic();
  acceptDisclaimer();
  EXPECT_TRUE(loop.errors.empty());
  EXPECT_EQ(readFile(kDir + "Vorpane.Exe").size(), 2188800u);
  EXPECT_EQ(readFile(kDir + "Vorpane.Dat"), "the user's data");
  EXPECT_GE(loop.pumps, 2138 + 761 + 1 + 20);
  EXPECT_LT(platform.tickCount(), 15000u);
  EXPECT_EQ(model.text("lblUpgrade"), "91% complete");
  ASSERT_TRUE(model.timerEnabled("Timer3"));
  view.fireTimer("Timer3");
  EXPECT_TRUE(loop.terminated);
  ASSERT_EQ(platform.windowedStarts().size(), 1u);
  EXPECT_EQ(platform.windowedStarts()[0].commandLine, "\"C:\\Old Vorpane\\Vorpane.Exe\" /upgraded3.31");
}

// The label says what the run waits for; when the wait runs out the person is
// asked, and Retry waits as long again.
TEST_F(UpgradeRunTest, AClientStillRunningAfterTheWaitIsAskedForAndRetryWaitsAgain) {
  platform.refuseReplace(kDir + "Vorpane.Exe", platform::io::SharingViolation, 200);
  std::vector<std::string> labels;
  loop.answer = [&] {
    labels.push_back(model.text("lblUpgrade"));
    return true;
  };
  startAutomatic();
  acceptDisclaimer();
  EXPECT_EQ(loop.questions,
            std::vector<std::string>{"Vorpane is still running. Please close it and press Retry."});
  EXPECT_EQ(labels, std::vector<std::string>{"Waiting for Vorpane to close..."});
  EXPECT_TRUE(loop.errors.empty());
  EXPECT_EQ(readFile(kDir + "Vorpane.Exe").size(), 2188800u);
  EXPECT_EQ(model.text("lblUpgrade"), "91% complete");
  EXPECT_TRUE(model.timerEnabled("Timer3"));
}

// /SILENT shows its progress page, but nobody is there to answer.
TEST_F(UpgradeRunTest, AProgressPageOfAnUnattendedRunAsksNothing) {
  app::PageProgress silent(model, loop, "pbUpgrade", "lblUpgrade", app::PageProgress::Questions::NotAsked);
  loop.answer = [] { return true; };
  EXPECT_FALSE(silent.waitAgain("Vorpane is still running."));
  EXPECT_TRUE(loop.questions.empty());
}

TEST_F(UpgradeRunTest, AClientThatNeverEndsFailsAfterTheWaitAndExitStillRestartsIt) {
  platform.refuseReplace(kDir + "Vorpane.Exe", platform::io::SharingViolation);
  startAutomatic();
  acceptDisclaimer();
  EXPECT_EQ(loop.errors, std::vector<std::string>{"File in use: C:\\Old Vorpane\\Vorpane.Exe."});
  EXPECT_EQ(loop.questions.size(), 1u);  // answered Cancel
  EXPECT_EQ(model.text("lblUpgrade"), "91% complete");
  EXPECT_EQ(model.text("LblUpgradeFailure"),
            "File in use: C:\\Old Vorpane\\Vorpane.Exe. Nothing was changed.");
  EXPECT_TRUE(model.visible("LblUpgradeFailure"));
  EXPECT_GE(platform.tickCount(), 15000u);
  EXPECT_FALSE(model.timerEnabled("Timer3"));
  EXPECT_EQ(readFile(kDir + "Vorpane.Exe"), "old client");
  EXPECT_FALSE(fs::exists(host(kDir + "Vorpane.Exe.new")));
  view.click("BtnUpgradeExit");
  EXPECT_EQ(loop.terminateCode, 1);
  ASSERT_EQ(platform.windowedStarts().size(), 1u);
  EXPECT_EQ(platform.windowedStarts()[0].commandLine, "\"C:\\Old Vorpane\\Vorpane.Exe\" /upgraded3.31");
}

TEST_F(UpgradeRunTest, AFailureBeforeBothProgramsAreWrittenKeepsBothOldOnesAndTheOldEntry) {
  std::ofstream(host(kDir + "Uninstall_Vorpane.Exe")) << "old uninstaller";
  platform.writeRegistryValues(product::kInstalledProgramsKey, {{"DisplayVersion", "3.20", {}}});
  platform.fillDiskAt(kDir + "Uninstall_Vorpane.Exe.new", 5000);
  startAutomatic();
  acceptDisclaimer();
  EXPECT_EQ(loop.errors, std::vector<std::string>{"Disk full: " + kDir + "Uninstall_Vorpane.Exe."});
  EXPECT_EQ(readFile(kDir + "Vorpane.Exe"), "old client");
  EXPECT_EQ(readFile(kDir + "Uninstall_Vorpane.Exe"), "old uninstaller");
  EXPECT_FALSE(fs::exists(host(kDir + "Vorpane.Exe.new")));
  EXPECT_EQ(platform.readRegistryText(product::kInstalledProgramsKey, "DisplayVersion"), "3.20");
}

// A read-only client says "access denied" as a running one does, but no
// waiting makes it writable.
TEST_F(UpgradeRunTest, APermanentRefusalOtherThanInUseIsReportedAtOnceWithTheFile) {
  platform.refuseReplace(kDir + "Vorpane.Exe", platform::io::AccessDenied);
  startAutomatic();
  acceptDisclaimer();
  EXPECT_EQ(loop.errors, std::vector<std::string>{"File access denied: C:\\Old Vorpane\\Vorpane.Exe."});
  EXPECT_EQ(platform.tickCount(), 0u);
  EXPECT_EQ(readFile(kDir + "Vorpane.Exe"), "old client");
  // The uninstaller, complete and waiting beside its target, goes too.
  EXPECT_FALSE(fs::exists(host(kDir + "Uninstall_Vorpane.Exe.new")));
  EXPECT_FALSE(fs::exists(host(kDir + "Uninstall_Vorpane.Exe")));

  // An error the installer has no words for shows the system's.
  platform.setSystemErrorText("the system's words");
  platform.refuseReplace(kDir + "Vorpane.Exe", 1392);
  loop.errors.clear();
  startAutomatic();
  acceptDisclaimer();
  EXPECT_EQ(loop.errors,
            std::vector<std::string>{"I/O error 1392: C:\\Old Vorpane\\Vorpane.Exe (the system's words)"});
}

}  // namespace
}  // namespace vorpane::testing
