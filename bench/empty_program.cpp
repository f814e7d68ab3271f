// The cheapest Windows programs: they start and end. The silent-install
// benchmark subtracts their start from the installer's. Built twice: with no
// imports beyond the runtime's, and (VORPANE_SAME_IMPORTS) importing the same
// system libraries as the installer, whose loading under Wine costs far more
// than the installation itself and is not the installation's cost.

#include <windows.h>

#if defined(VORPANE_SAME_IMPORTS)
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
#if defined(VORPANE_SAME_IMPORTS)
  // Never true when the benchmark starts it; the calls only make the imports.
  if (commandLine != nullptr && commandLine[0] == '!') {
    MessageBeep(0);
    GetStockObject(0);
    InitCommonControls();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DragAcceptFiles(nullptr, FALSE);
  }
#else
  (void)commandLine;
#endif
  return 0;
}
