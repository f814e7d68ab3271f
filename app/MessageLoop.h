#pragma once
// What the running program gives the wizard besides its form: the message
// loop, its message boxes and the two ways to end it. Win32MessageLoop
// (app/win32) is the shipped program's; tests use a recording one.

#include <string>

namespace vorpane::app {

class MessageLoop {
 public:
  virtual ~MessageLoop() = default;
  // Lets pending window messages run once (repaint, input), then returns.
  virtual void processMessages() = 0;
  // A plain message box titled with the application title.
  virtual void showMessage(const std::string& text) = 0;
  // A message box titled with the application title and an error icon.
  virtual void showError(const std::string& text) = 0;
  // A question with Retry and Cancel; true for Retry.
  virtual bool askRetry(const std::string& text) = 0;
  // Ends the process at once with the exit code; no close handler runs.
  // Returns only in tests, which record it.
  virtual void halt(int exitCode) = 0;
  // Asks the message loop to end after the current event (the main form has
  // closed); the program then ends with the exit code.
  virtual void terminate(int exitCode) = 0;
};

// The title of every message box of the installer.
inline constexpr const char* kApplicationTitle = "Install_Vorpane";

}  // namespace vorpane::app
