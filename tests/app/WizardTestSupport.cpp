#include "WizardTestSupport.h"

#include <atomic>
#include <random>
#include <string>

namespace vorpane::testing {

namespace fs = std::filesystem;

WizardTest::WizardTest() {
  static std::atomic<int> counter{0};
  scratch = fs::temp_directory_path() /
            ("vorpane-wizard-" + std::to_string(std::random_device{}()) + "-" + std::to_string(counter++));
  fs::remove_all(scratch);
  mapDrive('C');
  makeDirectory("C:\\Program Files");
  platform.setShellFolder(platform::ShellFolder::ProgramFiles, "C:\\Program Files");
}

WizardTest::~WizardTest() {
  std::error_code ignored;
  fs::remove_all(scratch, ignored);
}

fs::path WizardTest::mapDrive(char letter, platform::DriveType type) {
  const fs::path folder = scratch / std::string(1, static_cast<char>(letter - 'A' + 'a'));
  fs::create_directories(folder);
  platform.mapDrive(letter, folder, type);
  return folder;
}

void WizardTest::start(std::vector<std::string> arguments) {
  installer = std::make_unique<app::WizardAssembly>(model, platform, loop, std::move(arguments));
  wizard = &installer->wizard();
  installer->start();
}

void WizardTest::walkToChoice() {
  start();
  view.click("BtnNext1");
  view.type("EdAgree", "YES");
  view.click("Button3");
  ASSERT_EQ(page(), "Tab03Choose");
}

void WizardTest::walkToSummaryWithDefaults() {
  view.click("BtnInstall");
  view.click("Button8");
  view.click("Button11");
  view.click("Button14");
  ASSERT_EQ(page(), "Tab13InstallNow") << (loop.errors.empty() ? "" : loop.errors.back());
}

}  // namespace vorpane::testing
