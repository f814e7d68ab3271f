#include "app/win32/Win32MessageLoop.h"

#include <objbase.h>

#include <stdexcept>

namespace vorpane::app {

int Win32MessageLoop::run() {
  MSG message;
  for (;;) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);  // WM_QUIT
    if (got == -1) return 1;
    dispatch(message);
  }
}

// A run lets the queue run after each of its thousands of steps, mostly within
// the same millisecond. Looking into the queue is a call into the system each
// time (under Wine a round trip to its server), so it is looked into at most
// once per frame of the display: the window repaints and answers just as
// smoothly, and the steps in between cost nothing.
void Win32MessageLoop::processMessages() {
  const ULONGLONG now = GetTickCount64();
  if (now - lastPump_ < kPumpIntervalMs) return;
  lastPump_ = now;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The end was asked for while a handler runs: leave it for the main
      // loop, which ends once the handler returns.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    dispatch(message);
  }
}

void Win32MessageLoop::dispatch(MSG& message) {
  if (mainWindow_ != nullptr && IsDialogMessageA(mainWindow_, &message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

void Win32MessageLoop::showMessage(const std::string& text) {
  MessageBoxA(mainWindow_, text.c_str(), kApplicationTitle, MB_OK);
}

void Win32MessageLoop::showError(const std::string& text) {
  MessageBoxA(mainWindow_, text.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
}

bool Win32MessageLoop::askRetry(const std::string& text) {
  return MessageBoxA(mainWindow_, text.c_str(), kApplicationTitle, MB_RETRYCANCEL | MB_ICONWARNING) ==
         IDRETRY;
}

void Win32MessageLoop::halt(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

void Win32MessageLoop::terminate(int exitCode) { PostQuitMessage(exitCode); }

}  // namespace vorpane::app
