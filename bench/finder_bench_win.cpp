// How long the finder takes over a whole drive under Windows (or Wine) against
// the system's own recursive listing of the same drive, in the same session:
//
//   finder_bench_win <drive root> [rounds]
//
// The finder searches the drive for "Vorpane.Dat" as the upgrade search does:
// its filter opens each match and reads the version byte, and its progress
// callback shows the percentage in a window's label and bar when it changes and
// lets pending messages run at every call. For comparison the same search also
// runs with messages let run at most every 10 ms, and without a progress
// callback at all. The reference is "cmd /c dir /s /b <root>Vorpane.Dat", its
// output read through a pipe ("cmd /c rem" tells how much of that is the start
// of cmd itself). Prints the median of each and the ratios to the reference.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "finder/LIB_FindFiles.h"
#include "platform/Win32Platform.h"
#include "product/InstalledFiles.h"

namespace {

using vorpane::platform::Win32Platform;

double nowMilliseconds() {
  static const double ticksPerMillisecond = [] {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / ticksPerMillisecond;
}

using vorpane::bench::median;

// Closes a kernel handle with its owner.
class Handle {
 public:
  explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
  ~Handle() {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  HANDLE* put() { return &handle_; }
  void reset() {
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_;
};

// A window with a percentage label and a bar, as the search page shows them.
class ProgressWindow {
 public:
  ProgressWindow() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "VorpaneFinderBench";
    RegisterClassA(&windowClass);
    window_ = CreateWindowA("VorpaneFinderBench", "Finder benchmark", WS_OVERLAPPEDWINDOW, 100, 100, 420, 140,
                            nullptr, nullptr, windowClass.hInstance, nullptr);
    label_ = CreateWindowA("STATIC", "0% complete", WS_CHILD | WS_VISIBLE, 16, 16, 200, 20, window_, nullptr,
                           windowClass.hInstance, nullptr);
    bar_ = CreateWindowA(PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 16, 48, 370, 20, window_, nullptr,
                         windowClass.hInstance, nullptr);
    SendMessageA(bar_, PBM_SETRANGE32, 0, 100);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    pumpMessages();
  }
  ~ProgressWindow() { DestroyWindow(window_); }
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Shows the percentage when it changes and lets pending messages run: at
  // every report as the search page does, or at most every ten milliseconds.
  void show(std::uint8_t percent, bool throttled) {
    ++calls_;
    if (percent != shown_) {
      shown_ = percent;
      SetWindowTextA(label_, (std::to_string(percent) + "% complete").c_str());
      SendMessageA(bar_, PBM_SETPOS, percent, 0);
    }
    if (throttled) {
      const double now = nowMilliseconds();
      if (now - lastPump_ < 10.0) return;
      lastPump_ = now;
    }
    pumpMessages();
  }

  std::size_t calls() const { return calls_; }
  void restart() {
    calls_ = 0;
    shown_ = 255;
  }

 private:
  static void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  HWND window_ = nullptr;
  HWND label_ = nullptr;
  HWND bar_ = nullptr;
  std::uint8_t shown_ = 255;
  std::size_t calls_ = 0;
  double lastPump_ = 0;
};

// Runs a command line to its end, reading its output; returns the number of
// lines it wrote.
std::size_t runCommand(const std::string& commandLine) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  Handle readEnd, writeEnd;
  if (!CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0)) std::exit(3);
  SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd.get();
  startup.hStdError = writeEnd.get();
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &process)) {
    std::printf("cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
    std::exit(3);
  }
  Handle processHandle(process.hProcess), threadHandle(process.hThread);
  writeEnd.reset();
  std::size_t lines = 0;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(readEnd.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    lines += static_cast<std::size_t>(std::count(buffer, buffer + got, '\n'));
  }
  WaitForSingleObject(processHandle.get(), INFINITE);
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: finder_bench_win <drive root> [rounds]\n");
    return 2;
  }
  std::string root = argv[1];
  if (root.back() != '\\') root.push_back('\\');
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  Win32Platform platform;
  ProgressWindow window;

  auto versionFilter = [&](const std::string& path) {
    std::uint8_t version = 0;
    try {
      platform.openFile(path)->read(&version, 1);
    } catch (const std::exception&) {
      return false;
    }
    return version >= 4 && version <= 14;
  };
  auto pumpEveryReport = [&](std::uint8_t percent) { window.show(percent, false); };
  auto pumpThrottled = [&](std::uint8_t percent) { window.show(percent, true); };
  const std::string listing = "cmd /c dir /s /b " + root + vorpane::product::kDataFileName;
  auto timeFinder = [&](const vorpane::finder::ProgressCallback& progress, std::size_t& found) {
    window.restart();
    const double start = nowMilliseconds();
    found = vorpane::finder::FindFiles(platform, vorpane::product::kDataFileName, 4, root, progress,
                                       versionFilter)
                .size();
    return nowMilliseconds() - start;
  };
  auto timeCommand = [&](const std::string& commandLine, std::size_t& lines) {
    const double start = nowMilliseconds();
    lines = runCommand(commandLine);
    return nowMilliseconds() - start;
  };

  std::vector<double> pumping, walking, throttled, listings, cmdStarts;
  std::size_t found = 0, listed = 0, ignored = 0;
  for (int round = 0; round <= rounds; ++round) {  // round 0 warms the caches
    const double pumpingMs = timeFinder(pumpEveryReport, found);
    const double listingMs = timeCommand(listing, listed);
    const double walkingMs = timeFinder({}, ignored);
    const double throttledMs = timeFinder(pumpThrottled, ignored);
    const double cmdStartMs = timeCommand("cmd /c rem", ignored);
    if (round == 0) continue;
    pumping.push_back(pumpingMs);
    listings.push_back(listingMs);
    walking.push_back(walkingMs);
    throttled.push_back(throttledMs);
    cmdStarts.push_back(cmdStartMs);
  }
  const double listingMs = median(listings), cmdStartMs = median(cmdStarts);
  std::printf("drive %s, %d rounds (median)\n", root.c_str(), rounds);
  std::printf("%s:          %8.1f ms  (%zu lines; cmd /c rem takes %.1f ms)\n", listing.c_str(), listingMs,
              listed, cmdStartMs);
  const auto line = [&](const char* what, const std::vector<double>& times) {
    std::printf("finder, %-40s %8.1f ms  ratio %5.2f x\n", what, median(times), median(times) / listingMs);
  };
  line("pumping messages at every report:", pumping);
  line("pumping at most every 10 ms:", throttled);
  line("without progress callback:", walking);
  std::printf("(%zu found, %zu progress reports)\n", found, window.calls());
  std::fflush(stdout);
  return 0;
}
