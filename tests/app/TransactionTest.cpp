// A setup is one transaction: a failure at any step gives the machine back as
// it was, files and shortcuts the user had included, through the wizard as
// through the unattended setup; a success leaves nothing kept aside.

#include <fstream>
#include <map>

#include "WizardTestSupport.h"
#include "app/SetupTransaction.h"
#include "app/Switches.h"
#include "app/UnattendedSetup.h"
#include "product/Product.h"

namespace vorpane::testing {
namespace {

namespace fs = std::filesystem;

// Every file and folder under the test's drives with its content, and the
// installed-programs entry.
std::map<std::string, std::string> machine(const fs::path& root, platform::FakePlatform& platform) {
  std::map<std::string, std::string> state;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::ifstream in(entry.path(), std::ios::binary);
    state[fs::relative(entry.path(), root).string()] =
        entry.is_directory() ? "<dir>" : std::string(std::istreambuf_iterator<char>(in), {});
  }
  if (platform.registryKeyExists(product::kInstalledProgramsKey)) state["<entry>"] = "";
  return state;
}

bool leftSomethingAside(const std::map<std::string, std::string>& state) {
  for (const auto& [path, content] : state)
    if (path.ends_with(".kept") || path.ends_with(".new")) return true;
  return false;
}

// Records the order in which files take their places.
class PlacementRecorder : public platform::FakePlatform {
 public:
  void replaceFile(const std::string& source, const std::string& target) override {
    FakePlatform::replaceFile(source, target);
    placed.push_back(target);
  }
  std::vector<std::string> placed;
};

class TransactionTest : public WizardTest {
 protected:
  TransactionTest() {
    platform.setShellFolder(platform::ShellFolder::DesktopDirectory, "C:\\Desktop");
    platform.setShellFolder(platform::ShellFolder::Programs, "C:\\Menu");
    makeDirectory("C:\\Desktop");
    makeDirectory("C:\\Menu");
  }
  void write(const std::string& windowsPath, const std::string& content) {
    std::ofstream(host(windowsPath), std::ios::binary) << content;
  }
  // A user's own files wherever an installation into C:\Vorpane writes, but
  // no data file: the installer goes on over them.
  void plantUsersFiles() {
    makeDirectory("C:\\Vorpane");
    makeDirectory("C:\\Menu\\Vorpane");
    write("C:\\Vorpane\\Vorpane.Exe", "the user's own program");
    write("C:\\Vorpane\\Uninstall_Vorpane.Exe", "another of the user's programs");
    write("C:\\Menu\\Vorpane\\Vorpane.Lnk", "the user's menu shortcut");
    write("C:\\Menu\\Vorpane\\Uninstall Vorpane.Lnk", "the user's other menu shortcut");
    write("C:\\Desktop\\Vorpane.Lnk", "the user's desktop shortcut");
  }
  int runUnattended(const std::vector<std::string>& arguments) {
    app::SilentProgress nowhere;
    return app::UnattendedSetup(platform, nowhere, nullptr).run(app::ParseSwitches(arguments));
  }
  // Refuses each change of a successful run in turn: every run that fails must
  // give back the machine as it was. Returns how many failed.
  int sweep(const std::function<int()>& setup, const std::function<void()>& undoSuccess) {
    const auto before = machine(scratch, platform);
    platform.refuseChange(0);
    EXPECT_EQ(setup(), 0);
    EXPECT_FALSE(leftSomethingAside(machine(scratch, platform)));
    const int changes = platform.changesCounted();
    undoSuccess();
    int failures = 0;
    for (int refused = 1; refused <= changes; ++refused) {
      platform.refuseChange(refused);
      const int code = setup();
      platform.refuseChange(0);
      if (code == 0) {
        // A refused removal of a kept copy leaves it, which the log says.
        for (const auto& entry : fs::recursive_directory_iterator(scratch))
          if (entry.path().extension() == ".kept") fs::remove(entry.path());
        undoSuccess();
        continue;
      }
      ++failures;
      EXPECT_EQ(machine(scratch, platform), before)
          << "change " << refused << " of " << changes << " refused";
      if (HasFailure()) break;
    }
    return failures;
  }
};

TEST_F(TransactionTest, AFailedInstallGivesTheUsersFilesBackByteForByteAtEveryStep) {
  plantUsersFiles();
  const auto before = machine(scratch, platform);
  const auto undo = [&] {
    fs::remove_all(host("C:\\Vorpane"));
    fs::remove_all(host("C:\\Menu\\Vorpane"));
    fs::remove_all(host("C:\\Downloads"));
    fs::remove_all(host("C:\\Vorpane_Cache"));
    platform.removeRegistryKey(product::kInstalledProgramsKey);
    for (const auto& [path, content] : before)
      if (content != "<dir>" && path != "<entry>") {
        fs::create_directories((scratch / path).parent_path());
        std::ofstream(scratch / path, std::ios::binary) << content;
      }
  };
  const auto install = [&] { return runUnattended({"/S", "/D=C:\\Vorpane"}); };
  EXPECT_GT(sweep(install, undo), 10);

  for (const char* full : {"C:\\Vorpane\\Vorpane.Dat", "C:\\Vorpane\\Vorpane.Exe.kept"}) {
    platform.fillDiskAt(full, 5);
    EXPECT_EQ(install(), 3);
    EXPECT_EQ(machine(scratch, platform), before) << full;
  }
}

TEST_F(TransactionTest, AFailedUpgradePutsBothOldProgramsAndTheShortcutBack) {
  makeDirectory("C:\\Old");
  write("C:\\Old\\Vorpane.Exe", "old client");
  write("C:\\Old\\Uninstall_Vorpane.Exe", "old uninstaller");
  write("C:\\Old\\Vorpane.Dat", std::string("\x1f") + "Zdata");  // version 6
  write("C:\\Desktop\\Vorpane.Lnk", "old shortcut");
  platform.writeRegistryValues(product::kInstalledProgramsKey, {{"DisplayVersion", "3.20", {}}});
  const auto before = machine(scratch, platform);
  const auto upgrade = [&] { return runUnattended({"/S", "/UPGRADE=C:\\Old"}); };
  const auto undo = [&] {
    platform.writeRegistryValues(product::kInstalledProgramsKey, {{"DisplayVersion", "3.20", {}}});
    write("C:\\Old\\Vorpane.Exe", "old client");
    write("C:\\Old\\Uninstall_Vorpane.Exe", "old uninstaller");
    write("C:\\Desktop\\Vorpane.Lnk", "old shortcut");
  };
  EXPECT_GT(sweep(upgrade, undo), 4);

  // The uninstaller held (read-only, or a scanner with it open) after the
  // client took its place: the old client comes back, nothing .new stays.
  platform.refuseReplace("C:\\Old\\Uninstall_Vorpane.Exe", platform::io::AccessDenied);
  EXPECT_EQ(upgrade(), 3);
  EXPECT_EQ(machine(scratch, platform), before);
  EXPECT_EQ(platform.readRegistryText(product::kInstalledProgramsKey, "DisplayVersion"), "3.20");
}

TEST_F(TransactionTest, AFailureThroughTheWizardGivesBackTheMachineAndThePagesDirectories) {
  plantUsersFiles();
  makeDirectory("C:\\Downloads");
  const auto before = machine(scratch, platform);
  const auto undo = [&] {
    fs::remove_all(host("C:\\Program Files\\Vorpane"));
    fs::remove_all(host("C:\\Vorpane_Cache"));
    fs::remove(host("C:\\Menu\\Vorpane\\Vorpane.Lnk.kept"));
    platform.removeRegistryKey(product::kInstalledProgramsKey);
    write("C:\\Menu\\Vorpane\\Vorpane.Lnk", "the user's menu shortcut");
    write("C:\\Menu\\Vorpane\\Uninstall Vorpane.Lnk", "the user's other menu shortcut");
    write("C:\\Desktop\\Vorpane.Lnk", "the user's desktop shortcut");
  };
  const auto installThroughTheWizard = [&] {
    ui::FormModel form(ui::installFormDescription());
    ui::HeadlessView headless(form);
    RecordingMessageLoop recording;
    app::WizardAssembly wizardProgram(form, platform, recording, {});
    wizardProgram.start();
    headless.click("BtnNext1");
    headless.type("EdAgree", "YES");
    for (const char* button : {"Button3", "BtnInstall", "Button8", "Button11", "Button14", "Button17"}) {
      headless.click(button);
      // A page that refuses its directory stays; the person leaves with Exit.
      if (!recording.errors.empty() && form.activePage() != "Tab14Installing") {
        const std::map<std::string, const char*> exitOf{{"Tab10ChooseInstallDir", "Button6"},
                                                        {"Tab11ChooseDownloadDir", "Button10"},
                                                        {"Tab12ChooseCacheDirectory", "Button13"},
                                                        {"Tab13InstallNow", "Button16"}};
        headless.click(exitOf.at(form.activePage()));
        return 2;
      }
    }
    if (recording.errors.empty()) return 0;
    // Taken back before the error shows, not only when the wizard ends.
    EXPECT_EQ(machine(scratch, platform), before);
    return 3;
  };
  EXPECT_GT(sweep(installThroughTheWizard, undo), 10);

  platform.fillDiskAt("C:\\Program Files\\Vorpane\\Vorpane.Dat", 5000);
  EXPECT_EQ(installThroughTheWizard(), 3);
  EXPECT_EQ(machine(scratch, platform), before);
}

TEST_F(TransactionTest, TheClientTakesItsPlaceBeforeTheUninstaller) {
  PlacementRecorder recorder;
  recorder.mapDrive('C', scratch / "c");
  app::SilentProgress nowhere;
  makeDirectory("C:\\V");
  write("C:\\V\\Vorpane.Dat", std::string("\x1f") + "Zdata");
  EXPECT_EQ(
      app::UnattendedSetup(recorder, nowhere, nullptr).run(app::ParseSwitches({"/S", "/UPGRADE=C:\\V"})), 0);
  EXPECT_EQ(recorder.placed,
            (std::vector<std::string>{"C:\\V\\Vorpane.Exe", "C:\\V\\Uninstall_Vorpane.Exe"}));
}

TEST_F(TransactionTest, RollbackUndoesNewestFirstAndKeepsWhatItCannotUndo) {
  platform::LogFile log(platform, "C:\\setup.log");
  app::SetupTransaction transaction(platform, &log);
  for (const char* directory : {"C:\\A", "C:\\A\\B"}) {
    makeDirectory(directory);
    transaction.directoryCreated(directory);
  }
  transaction.aboutToWrite("C:\\A\\B\\new.txt");
  write("C:\\A\\B\\new.txt", "made");
  transaction.fileWritten("C:\\A\\B\\new.txt", 4);
  write("C:\\A\\mine.txt", "the user's");
  transaction.aboutToWrite("C:\\A\\mine.txt");
  write("C:\\A\\mine.txt", "replaced");
  transaction.fileWritten("C:\\A\\mine.txt", 8);
  platform.holdFile("C:\\A\\B\\new.txt");

  transaction.rollBack();
  std::ifstream mine(host("C:\\A\\mine.txt"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(mine), {}), "the user's");
  EXPECT_FALSE(fs::exists(host("C:\\A\\mine.txt.kept")));
  EXPECT_TRUE(fs::exists(host("C:\\A\\B\\new.txt")));
  EXPECT_EQ(transaction.leftBehind(), std::vector<std::string>{"C:\\A\\B\\new.txt"});
  std::ifstream logged(host("C:\\setup.log"));
  const std::string text(std::istreambuf_iterator<char>(logged), {});
  for (const char* line : {"Put back C:\\A\\mine.txt", "Could not take back C:\\A\\B\\new.txt",
                           "Kept directory C:\\A\\B: it holds what the setup did not put there"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;

  platform.holdFile("C:\\A\\B\\new.txt", false);
  fs::remove(host("C:\\A\\B\\new.txt"));
  for (const char* key : {"Software\\Old", "Software\\New"}) platform.writeRegistryValues(key, {});
  transaction.registryEntryWritten("Software\\Old", false);
  transaction.registryEntryWritten("Software\\New", true);
  transaction.directoryCreated("C:\\A\\B");
  transaction.aboutToWrite("C:\\A\\B\\new.txt");
  write("C:\\A\\B\\new.txt", "made again");
  transaction.rollBack();
  EXPECT_FALSE(fs::exists(host("C:\\A\\B")));  // the file went before its directory
  std::ifstream relogged(host("C:\\setup.log"));
  EXPECT_NE(std::string(std::istreambuf_iterator<char>(relogged), {}).find("Removed C:\\A\\B\\new.txt"),
            std::string::npos);
  EXPECT_FALSE(transaction.holdsChanges());
  EXPECT_TRUE(platform.registryKeyExists("Software\\Old"));  // only brought up to date
  EXPECT_FALSE(platform.registryKeyExists("Software\\New"));
}

TEST_F(TransactionTest, DirectoriesLeftWithBackGoWhenEmptyWhateverTheOutcome) {
  walkToChoice();
  view.click("BtnInstall");
  view.clearText("Edit1");
  view.type("Edit1", "C:\\First\\");
  view.click("Button8");
  view.click("Button12");  // back to the installation directory
  makeDirectory("C:\\Second");
  std::ofstream(host("C:\\Second\\keep.txt")) << "mine";
  view.clearText("Edit1");
  view.type("Edit1", "C:\\Second\\Vorpane\\");
  view.click("Button8");
  view.click("Button12");
  view.clearText("Edit1");
  view.type("Edit1", "C:\\Third\\");
  view.click("Button8");
  view.click("Button11");
  view.click("Button14");
  view.click("Button17");
  ASSERT_TRUE(loop.errors.empty()) << loop.errors[0];
  EXPECT_FALSE(fs::exists(host("C:\\First")));
  EXPECT_FALSE(fs::exists(host("C:\\Second\\Vorpane")));
  EXPECT_TRUE(fs::exists(host("C:\\Second\\keep.txt")));
  EXPECT_TRUE(fs::exists(host("C:\\Third\\Vorpane.Exe")));
  EXPECT_TRUE(fs::exists(host(wizard->downloadDir())));
}

// An error the runtime has no words for is told in the system's.
TEST_F(TransactionTest, AFailureWithoutWordsOfItsOwnGetsTheSystemsWords) {
  platform.setSystemErrorText("the system's words for 1392");
  app::SetupTransaction transaction(platform, nullptr);
  EXPECT_EQ(transaction.abandon(app::SetupOutcome::Failed, platform::IoError(1392, "C:\\V\\Vorpane.Exe")), 3);
  EXPECT_EQ(transaction.message(), "I/O error 1392: C:\\V\\Vorpane.Exe (the system's words for 1392)");
  transaction.abandon(app::SetupOutcome::Failed,
                      platform::IoError(platform::io::DiskFull, "C:\\V\\Vorpane.Exe"));
  EXPECT_EQ(transaction.message(), "Disk full: C:\\V\\Vorpane.Exe");
}

// A shell that reports the desktop shortcut saved while the save removed it.
class UnsavingShell : public platform::FakePlatform {
 public:
  void createShortcut(const platform::ShortcutSpec& shortcut) override {
    FakePlatform::createShortcut(shortcut);
    if (shortcut.linkPath.starts_with("C:\\Desktop\\")) fs::remove(hostPath(shortcut.linkPath));
  }
};

TEST_F(TransactionTest, AShortcutTheShellDidNotSaveIsSkippedAndTheUsersComesBack) {
  UnsavingShell loop;
  loop.mapDrive('C', scratch / "c");
  loop.setShellFolder(platform::ShellFolder::DesktopDirectory, "C:\\Desktop");
  write("C:\\Desktop\\Vorpane.Lnk", "the user's desktop shortcut");
  loop.fillDiskAt("C:\\V\\Vorpane.Dat", 10);  // a failure after the shortcut
  platform::LogFile log(loop, "C:\\setup.log");
  app::SilentProgress nowhere;
  EXPECT_EQ(app::UnattendedSetup(loop, nowhere, &log).run(app::ParseSwitches({"/S", "/D=C:\\V"})), 3);
  std::ifstream in(host("C:\\setup.log"));
  const std::string text(std::istreambuf_iterator<char>(in), {});
  EXPECT_NE(text.find("Skipped: the shortcut C:\\Desktop\\Vorpane.Lnk: the shell did not save it"),
            std::string::npos);
  EXPECT_EQ(text.find("Created shortcut C:\\Desktop"), std::string::npos);
  EXPECT_EQ(text.find("Could not take back"), std::string::npos) << text;
  std::ifstream link(host("C:\\Desktop\\Vorpane.Lnk"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(link), {}), "the user's desktop shortcut");
}

}  // namespace
}  // namespace vorpane::testing
