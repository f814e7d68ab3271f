#pragma once
// TFrmInstallVorpane: the wizard's behaviour behind the form. Its handlers are
// bound by name to the events of the form description; the state of the wizard
// (chosen directories, automatic mode, the installations found) lives here.

#include <functional>
#include <string>
#include <vector>

#include "app/MessageLoop.h"
#include "app/RunProgress.h"
#include "app/SetupTransaction.h"
#include "platform/LogFile.h"
#include "platform/Platform.h"
#include "ui/FormModel.h"

namespace vorpane::app {

class TFrmInstallVorpane {
 public:
  // arguments: the program's arguments 1..N, quoting already removed.
  TFrmInstallVorpane(ui::FormModel& form, platform::Platform& platform, MessageLoop& loop,
                     std::vector<std::string> arguments);
  TFrmInstallVorpane(const TFrmInstallVorpane&) = delete;
  TFrmInstallVorpane& operator=(const TFrmInstallVorpane&) = delete;

  // The window's caption while the installer runs.
  static std::string Caption();

  // Where the runs write what they did; none by default.
  void setLog(platform::LogFile* log) {
    log_ = log;
    transaction_.setLog(log);
  }

  // Creates the form as the program starts: raises its creation event.
  void create();
  // Closes the main form normally: the close handler runs, then the program
  // ends with the exit code.
  void close(int exitCode = 0);

  // The wizard's state, read by tests.
  const std::string& installDir() const { return InstallDir; }
  const std::string& downloadDir() const { return DownloadDir; }
  const std::string& cacheDir() const { return CacheDir; }
  const std::string& upgradeDir() const { return UpgradeDir; }
  bool autoUpdate() const { return AutoUpdate; }
  const std::vector<std::string>& foundDataFiles() const { return FoundDataFiles; }

 private:
  void bindHandlers();
  // Stores a directory page's entry in its field, normalised, and makes sure the
  // directory is there on a local hard disk; raises the message to show otherwise.
  void acceptDirectory(const std::string& edit, std::string& field, const char* diskLine);
  // Runs a directory page's check. One that fails shows its message; then the
  // page's entry has the focus with its text selected, so that what the user
  // types next replaces it. True when the check passed.
  bool passesDirectoryCheck(const char* edit, const std::function<void()>& check);
  // Whether a found data file belongs to an installation this version can upgrade.
  bool isUpgradeable(const std::string& dataFile);
  // Runs a run on a progress page as the end of the setup's transaction. When
  // it fails, everything the setup changed is taken back, then the error shows
  // and the page's Exit button is the way out. On success the directories
  // not in use are removed when still empty. True when the run succeeded.
  struct PageRun {
    const char* bar;
    const char* label;
    const char* exitButton;
    const char* failureLabel;  // beside the Exit button: what failed, in words
    std::string doneLine;      // for the log
    std::vector<std::string> directoriesInUse;
  };
  bool runOnPage(const PageRun& page, const std::function<void(RunProgress&)>& run);
  // Takes back what the setup changed before it ran (the pages' directories).
  void takeBack();
  // Tells the user what could not be taken back, if anything.
  void showLeftBehind();
  void writeLog(const std::string& text);

  // --- handlers, by their names on the form ---
  void FormCreate();
  void FormClose();
  void Button1Click();
  void BtnNext1Click();
  void Button3Click();
  void Button4Click();
  void EdAgreeChange();
  void Memo1Click();
  void Button7Click();
  void BtnInstallClick();
  void BtnUpgradeClick();
  void Label18Click();
  void Label20Click();
  void Button8Click();
  void Button9Click();
  void Button11Click();
  void Button12Click();
  void Button14Click();
  void Button15Click();
  void Button17Click();
  void Button18Click();
  void Button19Click();
  void Button20Click();
  void Button22Click();
  void Button23Click();
  void Button25Click();
  void BtnFailedRunExitClick();
  void DirectoryListBox1Change();
  void DirectoryListBox2Change();
  void DirectoryListBox3Change();
  void Timer1Timer();
  void Timer2Timer();
  void Timer3Timer();
  void Tab01WelcomeShow();
  void Tab02DisclaimerShow();
  void Tab03ChooseShow();
  void Tab10ChooseInstallDirShow();
  void Tab11ChooseDownloadDirShow();
  void Tab12ChooseCacheDirectoryShow();
  void Tab13InstallNowShow();
  void Tab14InstallingShow();
  void Tab15InstallReadyShow();
  void Tab20SearchDirectoryShow();
  void Tab21StartUpgradeShow();
  void Tab22UpgradingShow();
  void Tab23UpgradeReadyShow();

  ui::FormModel& form_;
  platform::Platform& platform_;
  MessageLoop& loop_;
  std::vector<std::string> arguments_;
  platform::LogFile* log_ = nullptr;
  // What the pages and the run change, from the first directory a page makes
  // until the setup ends.
  SetupTransaction transaction_{platform_, nullptr};

  std::string InstallDir;
  std::string DownloadDir;
  std::string CacheDir;
  std::vector<std::string> FoundDataFiles;
  std::string UpgradeDir;
  bool AutoUpdate = false;
};

}  // namespace vorpane::app
