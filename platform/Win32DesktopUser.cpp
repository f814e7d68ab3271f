// Rights, the desktop user and shared logs: placeholders until the desktop start lands.
#include <windows.h>

#include "platform/Win32Handles.h"
#include "platform/Win32Platform.h"

namespace vorpane::platform {

bool Win32Platform::runsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  const handles::KernelHandle owned(token);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
         elevation.TokenIsElevated != 0;
}

bool Win32Platform::startProcessAsDesktopUser(const std::string&, int) { return false; }

std::unique_ptr<OutputFile> Win32Platform::appendFile(const std::string& path) { return createFile(path); }

}  // namespace vorpane::platform
