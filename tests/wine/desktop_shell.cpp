// Stands in for the desktop shell, which a Wine session lacks: it makes a
// window, declares it the shell's window, and keeps it until the test ends it
// (Escape, or being stopped). A setup program that starts the client as the
// desktop user then starts it as a child of this program, which `winprobe
// parent` shows.

#include <windows.h>

// The system has it, the cross-compiler's headers do not declare it.
extern "C" __declspec(dllimport) BOOL WINAPI SetShellWindow(HWND window);

namespace {

constexpr char kClassName[] = "VorpaneTestDesktopShell";

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  if (RegisterClassA(&windowClass) == 0) return 1;
  HWND window = CreateWindowA(kClassName, "Test desktop shell", WS_OVERLAPPEDWINDOW, 0, 0, 200, 80, nullptr,
                              nullptr, instance, nullptr);
  if (window == nullptr || !SetShellWindow(window)) return 2;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
