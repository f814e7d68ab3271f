// Holds a Wine session's desktop for as long as the session lasts, showing
// nothing. Wine closes the desktop about a second after the last program that
// uses it has ended, and the next program then waits for a new one; a start
// that raced the closing desktop once hung inside CoInitializeEx. The tests'
// harness and the benchmarks start this program once, before anything else
// that uses the desktop, and end it with the session.
//
//   desktop_keeper.exe <file>    writes <file> once it holds the desktop

#include <windows.h>

#include <fstream>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR readyFile, int) {
  // Asking for the desktop window connects this program to the desktop and
  // waits until Wine has it up, so the file tells the truth.
  if (GetDesktopWindow() == nullptr) return 1;
  if (readyFile != nullptr && readyFile[0] != '\0') {
    std::ofstream ready(readyFile);
    ready << "ready\n";
    if (!ready.flush()) return 2;
  }
  // Nothing ever posts to this thread: it waits until the session ends it.
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
  }
  return 0;
}
