#pragma once
// The running program as the wizard sees it on Windows: the message loop,
// message boxes titled with the application title, and the two ways to end.

#include <windows.h>

#include <string>
#include <vector>

#include "app/MessageLoop.h"

namespace vorpane::app {

class Win32MessageLoop final : public MessageLoop {
 public:
  // The window whose keyboard interface (Tab, Alt+letter, Space) the loop
  // drives with the dialog manager; also the owner of the message boxes.
  void setMainWindow(HWND window) { mainWindow_ = window; }

  // Runs the message loop until terminate(); returns the exit code it was given.
  int run();

  void processMessages() override;
  void showMessage(const std::string& text) override;
  void showError(const std::string& text) override;
  bool askRetry(const std::string& text) override;
  [[noreturn]] void halt(int exitCode) override;
  void terminate(int exitCode) override;

 private:
  void dispatch(MSG& message);

  static constexpr ULONGLONG kPumpIntervalMs = 15;

  HWND mainWindow_ = nullptr;
  ULONGLONG lastPump_ = 0;
};

}  // namespace vorpane::app
