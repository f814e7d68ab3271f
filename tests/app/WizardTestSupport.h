#pragma once
// A wizard on the platform double, driven through the headless view, with a
// shell that records message boxes, halts and the end of the message loop.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/ErrorDisplay.h"
#include "app/FrmInstall.h"
#include "app/WizardAssembly.h"
#include "tests/support/FakePlatform.h"
#include "ui/FormDescription.h"
#include "ui/FormModel.h"
#include "ui/HeadlessView.h"

namespace vorpane::testing {

class RecordingMessageLoop : public app::MessageLoop {
 public:
  void processMessages() override { ++pumps; }
  void showMessage(const std::string& text) override { messages.push_back(text); }
  void showError(const std::string& text) override { errors.push_back(text); }
  bool askRetry(const std::string& text) override {
    questions.push_back(text);
    return answer && answer();
  }
  void halt(int exitCode) override { haltCode = exitCode; }
  void terminate(int exitCode) override {
    terminated = true;
    terminateCode = exitCode;
  }

  int pumps = 0;
  std::vector<std::string> messages;
  std::vector<std::string> errors;
  std::vector<std::string> questions;
  std::function<bool()> answer;  // true for Retry; Cancel when unset
  std::optional<int> haltCode;
  bool terminated = false;
  int terminateCode = -1;
};

class WizardTest : public ::testing::Test {
 protected:
  WizardTest();
  ~WizardTest() override;

  // Starts the wizard with the program's arguments 1..N.
  void start(std::vector<std::string> arguments = {});
  // A folder on the host behind drive C: (or another mapped drive).
  std::filesystem::path host(const std::string& windowsPath) const { return platform.hostPath(windowsPath); }
  void makeDirectory(const std::string& windowsPath) {
    std::filesystem::create_directories(host(windowsPath));
  }
  std::filesystem::path mapDrive(char letter, platform::DriveType type = platform::DriveType::Fixed);

  const std::string& page() const { return model.activePage(); }
  // Walks from the welcome page through the disclaimer to the choice page.
  void walkToChoice();
  // Walks on from the choice page to the summary with the proposed defaults.
  void walkToSummaryWithDefaults();

  std::filesystem::path scratch;
  platform::FakePlatform platform;
  ui::FormModel model{ui::installFormDescription()};
  ui::HeadlessView view{model};
  RecordingMessageLoop loop;
  std::unique_ptr<app::WizardAssembly> installer;
  app::TFrmInstallVorpane* wizard = nullptr;
};

}  // namespace vorpane::testing
