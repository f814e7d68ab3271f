// Looks at the windows of another program from inside the same Wine session,
// where the X server only sees outer frames: the Windows client size, styles
// and the texts of message boxes.
//
//   winprobe window <title> [timeout ms]  waits for a visible top-level window
//                                         with that title and its idle message
//                                         loop, then prints its facts
//   winprobe boxes <title>                lists visible message boxes with that title
//   winprobe texts <title>                lists the texts of the window's visible
//                                         controls and names the focused one
//   winprobe shortcut <file.lnk>          reads a shell link through the shell and
//                                         prints its target, description and arguments
//   winprobe mutex <name>                 whether a mutex of that name exists
//   winprobe parent <program.exe>         the program that started a running one
//                                         (by its file name), as the system records it
//   winprobe desktop                      the process holding the desktop window
//
// A title ending in "*" matches every title that starts with the rest.
//
// Output is "key value" lines; texts have CR and LF written as \r and \n.
// Exit code 0 on success, 1 when nothing was found, 2 on a usage error.

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>
// after windows.h
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The static control that carries a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out += c;
    }
  }
  return out;
}

std::string windowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

std::string className(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct Search {
  std::string title;
  bool messageBoxesOnly = false;
  std::vector<HWND> found;
};

bool titleMatches(const std::string& title, const std::string& wanted) {
  if (!wanted.empty() && wanted.back() == '*')
    return title.rfind(wanted.substr(0, wanted.size() - 1), 0) == 0;
  return title == wanted;
}

BOOL CALLBACK collect(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (!IsWindowVisible(window) || !titleMatches(windowText(window), search->title)) return TRUE;
  if (search->messageBoxesOnly && className(window) != "#32770") return TRUE;
  search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> findWindows(const std::string& title, bool messageBoxesOnly) {
  Search search{title, messageBoxesOnly, {}};
  EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits until the window's program has handled its pending input, so that the
// window is painted when the caller looks at it.
void waitUntilIdle(HWND window, DWORD timeoutMs) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
  if (process == nullptr) return;
  WaitForInputIdle(process, timeoutMs);
  CloseHandle(process);
}

int describeWindow(const std::string& title, DWORD timeoutMs) {
  DWORD started = GetTickCount();
  std::vector<HWND> windows;
  while ((windows = findWindows(title, false)).empty()) {
    if (GetTickCount() - started > timeoutMs) return 1;
    Sleep(50);
  }
  HWND window = windows.front();
  waitUntilIdle(window, timeoutMs);
  RECT client{}, outer{};
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  std::printf("title %s\n", escaped(windowText(window)).c_str());
  std::printf("class %s\n", className(window).c_str());
  std::printf("client %ld %ld\n", client.right - client.left, client.bottom - client.top);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::printf("origin %ld %ld\n", origin.x, origin.y);
  std::printf("window %ld %ld %ld %ld\n", outer.left, outer.top, outer.right - outer.left,
              outer.bottom - outer.top);
  std::printf("style 0x%08lX\n", static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)));
  std::printf("exstyle 0x%08lX\n", static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
  HDC screen = GetDC(nullptr);
  std::printf("dpi %d\n", GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  return 0;
}

int listMessageBoxes(const std::string& title) {
  std::vector<HWND> boxes = findWindows(title, true);
  for (HWND box : boxes) {
    char text[4096] = {};
    GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof text);
    std::printf("box %s\n", escaped(text).c_str());
  }
  return boxes.empty() ? 1 : 0;
}

// The text a control holds; unlike GetWindowText, WM_GETTEXT reaches the
// contents of another process's edit fields.
std::string controlText(HWND control) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return text;
}

BOOL CALLBACK printVisibleText(HWND control, LPARAM) {
  if (!IsWindowVisible(control)) return TRUE;
  const std::string text = controlText(control);
  if (!text.empty()) std::printf("text %s\n", escaped(text).c_str());
  return TRUE;
}

// Every visible control's text, in creation order, and the control holding the
// keyboard focus in the window's thread.
int listTexts(const std::string& title) {
  std::vector<HWND> windows = findWindows(title, false);
  if (windows.empty()) return 1;
  HWND window = windows.front();
  waitUntilIdle(window, 5000);
  EnumChildWindows(window, printVisibleText, 0);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus != nullptr)
    std::printf("focus %s %s\n", className(info.hwndFocus).c_str(),
                escaped(controlText(info.hwndFocus)).c_str());
  return 0;
}

}  // namespace

int describeShortcut(const char* linkPath) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  int result = 1;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t wide[MAX_PATH] = {};
      MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wide, MAX_PATH);
      if (SUCCEEDED(file->Load(wide, STGM_READ))) {
        char text[MAX_PATH] = {};
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        std::printf("target %s\n", escaped(text).c_str());
        text[0] = '\0';
        link->GetDescription(text, MAX_PATH);
        std::printf("description %s\n", escaped(text).c_str());
        text[0] = '\0';
        link->GetArguments(text, MAX_PATH);
        std::printf("arguments %s\n", escaped(text).c_str());
        result = 0;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return result;
}

// Exit code 0 when a mutex of that name exists (and prints "mutex held"), 1 when not.
int probeMutex(const char* name) {
  HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, name);
  if (mutex == nullptr) {
    std::printf("mutex none (error %lu)\n", GetLastError());
    return 1;
  }
  CloseHandle(mutex);
  std::printf("mutex held\n");
  return 0;
}

// Prints "parent <file name of the parent>" for the first running process with
// that file name (any letter case); exit code 1 when there is none.
int describeParent(const char* program) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 1;
  std::vector<PROCESSENTRY32> processes;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    processes.push_back(entry);
  CloseHandle(snapshot);
  for (const auto& child : processes) {
    if (lstrcmpiA(child.szExeFile, program) != 0) continue;
    std::string parent = "(ended)";
    for (const auto& candidate : processes)
      if (candidate.th32ProcessID == child.th32ParentProcessID) parent = candidate.szExeFile;
    std::printf("parent %s\n", parent.c_str());
    return 0;
  }
  return 1;
}

// Prints "desktop <process id>" of the process that holds the desktop window:
// another one after a while means the desktop was closed and made anew.
int describeDesktop() {
  DWORD owner = 0;
  GetWindowThreadProcessId(GetDesktopWindow(), &owner);
  std::printf("desktop %lu\n", owner);
  return owner == 0 ? 1 : 0;
}

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "window") {
    DWORD timeoutMs = argc >= 4 ? static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)) : 10000;
    return describeWindow(argv[2], timeoutMs);
  }
  if (argc == 3 && std::string(argv[1]) == "boxes") return listMessageBoxes(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "texts") return listTexts(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "shortcut") return describeShortcut(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "mutex") return probeMutex(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "parent") return describeParent(argv[2]);
  if (argc == 2 && std::string(argv[1]) == "desktop") return describeDesktop();
  std::fprintf(
      stderr,
      "usage: winprobe window <title> [timeout ms] | boxes <title> | texts <title> | shortcut <file> | "
      "mutex <name> | parent <program.exe> | desktop\n");
  return 2;
}
