#include "app/FrmInstall.h"

#include <cctype>
#include <stdexcept>
#include <utility>

#include "app/ClientStart.h"
#include "app/DirectoryChoices.h"
#include "app/ErrorDisplay.h"
#include "app/InstallRun.h"
#include "app/PageProgress.h"
#include "app/UpgradeRun.h"
#include "datafile/InitialDataFile.h"
#include "finder/LIB_FindFiles.h"
#include "platform/WindowsPath.h"
#include "product/ExitCodes.h"
#include "product/InstalledFiles.h"
#include "product/Product.h"
#include "product/ProductTexts.h"

namespace vorpane::app {

namespace {

using platform::path::driveRootOf;
using platform::path::withTrailingBackslash;
using ui::Event;

const char* const kRefusal =
    "You disagree with the disclaimer\rVorpane cannot be installed.\rWe hope you understand our needs "
    "for\rcovering our ass.\r\rHave a nice day!";
const char* const kAnswerRequired = "Type either YES or NO";

const char* const kNothingFound =
    "No installed Vorpane versions could be found.\rOr the found Vorpane versions are newer than\rthe one in "
    "this installation. An upgrade is\rnot possible.";
constexpr std::uint8_t kLocalHardDisks = 1;

// Leading and trailing blanks and control characters go, as the runtime's trim does.
std::string trimmed(const std::string& text) { return std::string(platform::path::trimmed(text)); }

}  // namespace

TFrmInstallVorpane::TFrmInstallVorpane(ui::FormModel& form, platform::Platform& platform, MessageLoop& loop,
                                       std::vector<std::string> arguments)
    : form_(form), platform_(platform), loop_(loop), arguments_(std::move(arguments)) {
  bindHandlers();
}

void TFrmInstallVorpane::bindHandlers() {
  const std::pair<const char*, void (TFrmInstallVorpane::*)()> handlers[] = {
      {"FormCreate", &TFrmInstallVorpane::FormCreate},
      {"FormClose", &TFrmInstallVorpane::FormClose},
      {"Button1Click", &TFrmInstallVorpane::Button1Click},
      {"BtnNext1Click", &TFrmInstallVorpane::BtnNext1Click},
      {"Button3Click", &TFrmInstallVorpane::Button3Click},
      {"Button4Click", &TFrmInstallVorpane::Button4Click},
      {"EdAgreeChange", &TFrmInstallVorpane::EdAgreeChange},
      {"Memo1Click", &TFrmInstallVorpane::Memo1Click},
      {"Button7Click", &TFrmInstallVorpane::Button7Click},
      {"BtnInstallClick", &TFrmInstallVorpane::BtnInstallClick},
      {"BtnUpgradeClick", &TFrmInstallVorpane::BtnUpgradeClick},
      {"Label18Click", &TFrmInstallVorpane::Label18Click},
      {"Label20Click", &TFrmInstallVorpane::Label20Click},
      {"Button8Click", &TFrmInstallVorpane::Button8Click},
      {"Button9Click", &TFrmInstallVorpane::Button9Click},
      {"Button11Click", &TFrmInstallVorpane::Button11Click},
      {"Button12Click", &TFrmInstallVorpane::Button12Click},
      {"Button14Click", &TFrmInstallVorpane::Button14Click},
      {"Button15Click", &TFrmInstallVorpane::Button15Click},
      {"Button17Click", &TFrmInstallVorpane::Button17Click},
      {"Button18Click", &TFrmInstallVorpane::Button18Click},
      {"Button19Click", &TFrmInstallVorpane::Button19Click},
      {"Button20Click", &TFrmInstallVorpane::Button20Click},
      {"Button22Click", &TFrmInstallVorpane::Button22Click},
      {"Button23Click", &TFrmInstallVorpane::Button23Click},
      {"Button25Click", &TFrmInstallVorpane::Button25Click},
      {"BtnFailedRunExitClick", &TFrmInstallVorpane::BtnFailedRunExitClick},
      {"DirectoryListBox1Change", &TFrmInstallVorpane::DirectoryListBox1Change},
      {"DirectoryListBox2Change", &TFrmInstallVorpane::DirectoryListBox2Change},
      {"DirectoryListBox3Change", &TFrmInstallVorpane::DirectoryListBox3Change},
      {"Timer1Timer", &TFrmInstallVorpane::Timer1Timer},
      {"Timer2Timer", &TFrmInstallVorpane::Timer2Timer},
      {"Timer3Timer", &TFrmInstallVorpane::Timer3Timer},
      {"Tab01WelcomeShow", &TFrmInstallVorpane::Tab01WelcomeShow},
      {"Tab02DisclaimerShow", &TFrmInstallVorpane::Tab02DisclaimerShow},
      {"Tab03ChooseShow", &TFrmInstallVorpane::Tab03ChooseShow},
      {"Tab10ChooseInstallDirShow", &TFrmInstallVorpane::Tab10ChooseInstallDirShow},
      {"Tab11ChooseDownloadDirShow", &TFrmInstallVorpane::Tab11ChooseDownloadDirShow},
      {"Tab12ChooseCacheDirectoryShow", &TFrmInstallVorpane::Tab12ChooseCacheDirectoryShow},
      {"Tab13InstallNowShow", &TFrmInstallVorpane::Tab13InstallNowShow},
      {"Tab14InstallingShow", &TFrmInstallVorpane::Tab14InstallingShow},
      {"Tab15InstallReadyShow", &TFrmInstallVorpane::Tab15InstallReadyShow},
      {"Tab20SearchDirectoryShow", &TFrmInstallVorpane::Tab20SearchDirectoryShow},
      {"Tab21StartUpgradeShow", &TFrmInstallVorpane::Tab21StartUpgradeShow},
      {"Tab22UpgradingShow", &TFrmInstallVorpane::Tab22UpgradingShow},
      {"Tab23UpgradeReadyShow", &TFrmInstallVorpane::Tab23UpgradeReadyShow},
  };
  for (const auto& [name, method] : handlers)
    form_.bindHandler(name, [this, method](const std::string&) { (this->*method)(); });
}

void TFrmInstallVorpane::create() { form_.raise(form_.description().name, Event::Create); }

void TFrmInstallVorpane::close(int exitCode) {
  form_.raise(form_.description().name, Event::Close);
  writeLog(product::exitcode::LogLine(exitCode));
  loop_.terminate(exitCode);
}

// --- start and end ------------------------------------------------------------------

std::string TFrmInstallVorpane::Caption() { return std::string("Installation Vorpane ") + product::kVersion; }

void TFrmInstallVorpane::FormCreate() {
  form_.setCaption(Caption());

  if (const auto directory = AutomaticUpgradeDirectory(arguments_)) {
    UpgradeDir = *directory;
    AutoUpdate = true;
    form_.setActivePage("Tab02Disclaimer");
  } else {
    AutoUpdate = false;
    form_.setActivePage("Tab01Welcome");
  }
}

void TFrmInstallVorpane::FormClose() {
  // Closing before the run (the disclaimer refused after the directory pages)
  // takes back what the pages made.
  takeBack();
  if (AutoUpdate) StartClient(platform_, ClientRestartCommandLine(UpgradeDir), log_);
}

// Leaving before the installation ran takes back the directories the pages made.
void TFrmInstallVorpane::Button1Click() {
  takeBack();
  writeLog(product::exitcode::LogLine(product::exitcode::Done));
  loop_.halt(0);
}

void TFrmInstallVorpane::Button19Click() { close(); }

void TFrmInstallVorpane::Button20Click() {
  StartClient(platform_, ClientCommandLine(InstallDir), log_);
  close();
}

void TFrmInstallVorpane::Button25Click() {
  StartClient(platform_, ClientCommandLine(UpgradeDir), log_);
  close();
}

// --- welcome, disclaimer, choice ---------------------------------------------------

void TFrmInstallVorpane::Tab01WelcomeShow() { form_.setFocus("BtnNext1"); }

void TFrmInstallVorpane::BtnNext1Click() { form_.setActivePage("Tab02Disclaimer"); }

void TFrmInstallVorpane::Tab02DisclaimerShow() {
  form_.setText("EdAgree", "");
  form_.setFocus("EdAgree");
}

void TFrmInstallVorpane::EdAgreeChange() {
  if (form_.text("EdAgree") == "NO") {
    loop_.showMessage(kRefusal);
    close();
  }
}

void TFrmInstallVorpane::Button3Click() {
  if (trimmed(form_.text("EdAgree")) != "YES") {
    loop_.showMessage(kAnswerRequired);
    form_.setFocus("EdAgree");
    return;
  }
  form_.setActivePage(AutoUpdate ? "Tab22Upgrading" : "Tab03Choose");
}

void TFrmInstallVorpane::Button4Click() { form_.setActivePage("Tab01Welcome"); }

void TFrmInstallVorpane::Memo1Click() {}

void TFrmInstallVorpane::Tab03ChooseShow() {
  form_.setText("MemoVersion", product::kVersionNotice);
  form_.setFocus("BtnInstall");
}

void TFrmInstallVorpane::Button7Click() { form_.setActivePage("Tab02Disclaimer"); }

void TFrmInstallVorpane::BtnInstallClick() { form_.setActivePage("Tab10ChooseInstallDir"); }

void TFrmInstallVorpane::BtnUpgradeClick() { form_.setActivePage("Tab20SearchDirectory"); }

void TFrmInstallVorpane::Label18Click() {
  platform_.openLink(std::string("mailto:") + product::kSupportMail);
}

void TFrmInstallVorpane::Label20Click() {
  platform_.openLink(std::string(product::kWebHost) + product::kManualPath);
}

// --- the directory pages ------------------------------------------------------------

void TFrmInstallVorpane::Tab10ChooseInstallDirShow() {
  form_.setText("StaticText1", product::kInstallDirExplanation);
  form_.setFocus("Button8");
  form_.setDirectory("DirectoryListBox1", ProposedInstallFolder(platform_));
}

void TFrmInstallVorpane::DirectoryListBox1Change() {
  form_.setText("Edit1", InstallDirIn(form_.directory("DirectoryListBox1")));
}

void TFrmInstallVorpane::Tab11ChooseDownloadDirShow() {
  form_.setText("StaticText2", product::kDownloadDirExplanation);
  form_.setDirectory("DirectoryListBox2", ProposedDownloadFolder(platform_, InstallDir));
  form_.setText("Edit2", form_.directory("DirectoryListBox2"));
  form_.setFocus("Button11");
}

void TFrmInstallVorpane::DirectoryListBox2Change() {
  form_.setText("Edit2", withTrailingBackslash(form_.directory("DirectoryListBox2")));
}

void TFrmInstallVorpane::Tab12ChooseCacheDirectoryShow() {
  form_.setText("StaticText3", product::kCacheDirExplanation);
  form_.setDirectory("DirectoryListBox3", driveRootOf(DownloadDir));
  form_.setText("Edit3", withTrailingBackslash(form_.directory("DirectoryListBox3")) + "Vorpane_Cache");
  form_.setFocus("Button14");
}

void TFrmInstallVorpane::DirectoryListBox3Change() {
  form_.setText("Edit3", withTrailingBackslash(form_.directory("DirectoryListBox3")));
}

void TFrmInstallVorpane::acceptDirectory(const std::string& edit, std::string& field, const char* diskLine) {
  field = FullDirectory(platform_, form_.text(edit), diskLine);
  if (AcceptDirectory(platform_, field, diskLine)) transaction_.directoryCreated(field);
}

bool TFrmInstallVorpane::passesDirectoryCheck(const char* edit, const std::function<void()>& check) {
  try {
    check();
    return true;
  } catch (const std::exception& error) {
    showException(loop_, error);
    form_.selectAll(edit);
    return false;
  }
}

void TFrmInstallVorpane::Button8Click() {
  const bool accepted = passesDirectoryCheck("Edit1", [this] {
    acceptDirectory("Edit1", InstallDir, kInstallDiskLine);
    RefuseExistingInstallation(platform_, InstallDir);
  });
  if (accepted) form_.setActivePage("Tab11ChooseDownloadDir");
}

void TFrmInstallVorpane::Button9Click() { form_.setActivePage("Tab03Choose"); }

void TFrmInstallVorpane::Button11Click() {
  if (passesDirectoryCheck("Edit2", [this] { acceptDirectory("Edit2", DownloadDir, kDownloadDiskLine); }))
    form_.setActivePage("Tab12ChooseCacheDirectory");
}

void TFrmInstallVorpane::Button12Click() { form_.setActivePage("Tab10ChooseInstallDir"); }

void TFrmInstallVorpane::Button14Click() {
  if (passesDirectoryCheck("Edit3", [this] { acceptDirectory("Edit3", CacheDir, kCacheDiskLine); }))
    form_.setActivePage("Tab13InstallNow");
}

void TFrmInstallVorpane::Button15Click() { form_.setActivePage("Tab11ChooseDownloadDir"); }

// --- summary, install, finish --------------------------------------------------------

void TFrmInstallVorpane::Tab13InstallNowShow() {
  form_.setText("Label6", "Install directory = " + InstallDir);
  form_.setText("Label7", "Download directory = " + DownloadDir);
  form_.setText("Label8", "Cache directory = " + CacheDir);
  form_.setFocus("Button17");
}

void TFrmInstallVorpane::Button17Click() { form_.setActivePage("Tab14Installing"); }

void TFrmInstallVorpane::Button18Click() { form_.setActivePage("Tab12ChooseCacheDirectory"); }

void TFrmInstallVorpane::Tab14InstallingShow() {
  writeLog("Installing into " + InstallDir + ", downloads " + DownloadDir + ", cache " + CacheDir);
  const InstallPlan plan{InstallDir, DownloadDir, CacheDir, form_.checked("cbShortcut")};
  if (!runOnPage({"pbInstall",
                  "LblInstallComplete",
                  "BtnInstallExit",
                  "LblInstallFailure",
                  "Installed Vorpane in " + InstallDir,
                  {InstallDir, DownloadDir, CacheDir}},
                 [&](RunProgress& progress) { InstallRun(transaction_, progress).run(plan); }))
    return;
  form_.setTimerEnabled("Timer1", true);
}

void TFrmInstallVorpane::writeLog(const std::string& text) { transaction_.log(text); }

bool TFrmInstallVorpane::runOnPage(const PageRun& page, const std::function<void(RunProgress&)>& run) {
  PageProgress progress(form_, loop_, page.bar, page.label);
  try {
    run(progress);
  } catch (const std::exception& error) {
    transaction_.abandon(SetupOutcome::Failed, error);
    // The transaction's message: the error with the system's words where the
    // installer has none of its own.
    loop_.showError(withClosingPeriod(transaction_.message()));
    showLeftBehind();
    form_.setText(page.failureLabel, transaction_.failureSummary());
    form_.setVisible(page.failureLabel, true);
    form_.setVisible(page.exitButton, true);
    form_.setFocus(page.exitButton);
    return false;
  }
  writeLog(page.doneLine);
  transaction_.commit(page.directoriesInUse);
  return true;
}

void TFrmInstallVorpane::takeBack() {
  if (!transaction_.holdsChanges()) return;
  transaction_.rollBack();
  showLeftBehind();
}

void TFrmInstallVorpane::showLeftBehind() {
  const std::vector<std::string>& left = transaction_.leftBehind();
  if (left.empty()) return;
  std::string list;
  for (const auto& path : left) list += "\r" + path;
  loop_.showMessage("These could not be removed:" + list);
}

// A failed run ends the program as unsuccessful; in automatic mode the close
// handler still starts the client again, which is all the user has left.
void TFrmInstallVorpane::BtnFailedRunExitClick() { close(1); }

void TFrmInstallVorpane::Timer1Timer() {
  form_.setTimerEnabled("Timer1", false);
  form_.setActivePage("Tab15InstallReady");
}

void TFrmInstallVorpane::Tab15InstallReadyShow() { form_.setFocus("Button20"); }

// --- upgrade -------------------------------------------------------------------------

void TFrmInstallVorpane::Tab20SearchDirectoryShow() {
  form_.setText("StaticText4", product::kSearchExplanation);
  PageProgress progress(form_, loop_, "ProgressBar1", "Label12");
  const auto showProgress = [&progress](std::uint8_t percent) {
    progress.setPercent(percent);
    progress.setPosition(percent);
    progress.processMessages();
  };
  FoundDataFiles = finder::FindFiles(platform_, product::kDataFileName, kLocalHardDisks, "", showProgress,
                                     [this](const std::string& path) { return isUpgradeable(path); });
  if (FoundDataFiles.empty()) loop_.showMessage(kNothingFound);
  form_.setTimerEnabled("Timer2", true);
}

// Only data files the upgraded programs can read are offered; a file that
// cannot be opened or read is passed over without a word.
bool TFrmInstallVorpane::isUpgradeable(const std::string& dataFile) {
  const auto version = datafile::ReadDataFileVersion(platform_, dataFile);
  return version && datafile::IsCompatibleDataFileVersion(*version);
}

void TFrmInstallVorpane::Timer2Timer() {
  form_.setTimerEnabled("Timer2", false);
  form_.setActivePage(FoundDataFiles.empty() ? "Tab03Choose" : "Tab21StartUpgrade");
}

void TFrmInstallVorpane::Tab21StartUpgradeShow() {
  form_.clearItems("ComboBoxUpgrade");
  for (const auto& path : FoundDataFiles)
    form_.addItem("ComboBoxUpgrade", path.substr(0, path.rfind('\\') + 1));
  form_.setItemIndex("ComboBoxUpgrade", 0);
  form_.setFocus("ComboBoxUpgrade");
}

void TFrmInstallVorpane::Button22Click() { form_.setActivePage("Tab03Choose"); }

void TFrmInstallVorpane::Button23Click() {
  const auto& items = form_.items("ComboBoxUpgrade");
  const int index = form_.itemIndex("ComboBoxUpgrade");
  UpgradeDir = index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
  form_.setActivePage("Tab22Upgrading");
}

void TFrmInstallVorpane::Tab22UpgradingShow() {
  writeLog("Upgrading " + UpgradeDir);
  const UpgradePlan plan{UpgradeDir, form_.checked("CheckBoxUpgradeShortcut")};
  if (!runOnPage({"pbUpgrade",
                  "lblUpgrade",
                  "BtnUpgradeExit",
                  "LblUpgradeFailure",
                  "Upgraded Vorpane in " + UpgradeDir,
                  {}},
                 [&](RunProgress& progress) { UpgradeRun(transaction_, progress).run(plan); }))
    return;
  form_.setTimerEnabled("Timer3", true);
}

void TFrmInstallVorpane::Timer3Timer() {
  form_.setTimerEnabled("Timer3", false);
  if (AutoUpdate)
    close();
  else
    form_.setActivePage("Tab23UpgradeReady");
}

void TFrmInstallVorpane::Tab23UpgradeReadyShow() { form_.setFocus("Button25"); }

}  // namespace vorpane::app
