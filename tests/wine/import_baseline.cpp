// A program that does nothing but import the same system libraries as the
// installer: what it loads is loaded by the system and its own libraries
// before any program code runs, which no program can prevent. The planting
// test holds the installer and the uninstaller against it.

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  // Never true when the test starts it; the calls only make the imports.
  if (commandLine != nullptr && commandLine[0] == '!') {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key);
    GetStockObject(0);
    MessageBeep(0);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DragAcceptFiles(nullptr, FALSE);
  }
  return 0;
}
