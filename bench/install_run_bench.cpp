// What a fresh installation costs on Windows, and how much of it is writing:
// the installer's own form, windows, wizard and platform, walked to the summary
// and installed into a new directory per round. Measured per round:
//   - run: from "&Install" to the finish page, less the finish timer's 100 ms;
//   - writing: the part of it spent creating, writing, closing and putting in
//     place files;
//   - plain: the same number of bytes written by one plain write into one file.
//
//   install_run_bench <directory> [rounds]     prints the medians and ratios
//
// A console program: it runs under Wine in the tests' sessions
// (bench/install_run_wine.py) or on Windows as it is.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/WizardAssembly.h"
#include "app/win32/Win32MessageLoop.h"
#include "bench/BenchTiming.h"
#include "platform/Win32ComApartment.h"
#include "platform/Win32Platform.h"
#include "ui/FormDescription.h"
#include "ui/FormModel.h"
#include "ui/Win32View.h"

namespace {

using namespace vorpane;
using bench::Clock;
using bench::median;
using bench::millisecondsSince;

// The Windows platform with a stopwatch on everything that writes files.
class TimedPlatform final : public platform::Win32Platform {
 public:
  double writingMs = 0;
  std::size_t bytesWritten = 0;

  std::unique_ptr<platform::OutputFile> createFile(const std::string& path) override {
    const auto start = Clock::now();
    auto file = std::make_unique<TimedFile>(*this, Win32Platform::createFile(path));
    writingMs += millisecondsSince(start);
    return file;
  }
  void replaceFile(const std::string& source, const std::string& target) override {
    const auto start = Clock::now();
    Win32Platform::replaceFile(source, target);
    writingMs += millisecondsSince(start);
  }

 private:
  class TimedFile final : public platform::OutputFile {
   public:
    TimedFile(TimedPlatform& owner, std::unique_ptr<platform::OutputFile> file)
        : owner_(owner), file_(std::move(file)) {}
    void write(const std::uint8_t* data, std::size_t size) override {
      const auto start = Clock::now();
      file_->write(data, size);
      owner_.writingMs += millisecondsSince(start);
      owner_.bytesWritten += size;
    }
    void close() override {
      const auto start = Clock::now();
      file_->close();
      owner_.writingMs += millisecondsSince(start);
    }

   private:
    TimedPlatform& owner_;
    std::unique_ptr<platform::OutputFile> file_;
  };
};

struct Round {
  double runMs = 0;
  double writingMs = 0;
  double plainMs = 0;
};

// The cheapest way to put the same bytes on disk: one file, one write.
double plainWriteMs(const std::string& path, std::size_t bytes) {
  const std::vector<char> data(bytes, 'x');
  const auto start = Clock::now();
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  DWORD written = 0;
  WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(file);
  return millisecondsSince(start);
}

// Lets the window's messages run until the wizard shows the page.
void runUntilPage(app::Win32MessageLoop& loop, ui::FormModel& model, const std::string& page) {
  while (model.activePage() != page) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    loop.processMessages();
  }
}

Round installOnce(ui::FormModel& model, app::Win32MessageLoop& loop, TimedPlatform& platform,
                  const std::string& directory) {
  model.setActivePage("Tab03Choose");
  model.raise("BtnInstall", ui::Event::Click);
  model.setText("Edit1", directory);
  for (const char* next : {"Button8", "Button11", "Button14"}) model.raise(next, ui::Event::Click);
  if (model.activePage() != "Tab13InstallNow") {
    std::fprintf(stderr, "the directory pages refused %s\n", directory.c_str());
    std::exit(1);
  }
  runUntilPage(loop, model, "Tab13InstallNow");  // painted, as a user sees it

  platform.writingMs = 0;
  platform.bytesWritten = 0;
  Round round;
  const auto start = Clock::now();
  model.raise("Button17", ui::Event::Click);
  runUntilPage(loop, model, "Tab15InstallReady");
  round.runMs = millisecondsSince(start) - 100;
  round.writingMs = platform.writingMs;
  round.plainMs = plainWriteMs(directory + "plain.bin", platform.bytesWritten);
  return round;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: install_run_bench <directory> [rounds]\n");
    return 2;
  }
  const std::string base = std::string(argv[1]) + (std::string(argv[1]).ends_with("\\") ? "" : "\\");
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

  platform::Win32ComApartment com;
  TimedPlatform platform;
  ui::FormModel model(ui::installFormDescription());
  app::Win32MessageLoop loop;
  app::WizardAssembly assembly(model, platform, loop, {});
  // A failure would wait in a message box for somebody to answer it.
  model.setExceptionHandler([](const std::exception& error) {
    std::fprintf(stderr, "the wizard failed: %s\n", error.what());
    std::fflush(stderr);
    ExitProcess(1);
  });
  CreateDirectoryA(base.c_str(), nullptr);
  ui::Win32View view(model, platform, GetModuleHandleA(nullptr));
  view.create();
  loop.setMainWindow(view.window());
  assembly.start();
  view.showCentred();
  model.raise("BtnNext1", ui::Event::Click);
  model.setText("EdAgree", "YES");
  model.raise("Button3", ui::Event::Click);

  std::vector<double> run, writing, plain;
  for (int i = 0; i < rounds; ++i) {
    const Round round = installOnce(model, loop, platform, base + "Round" + std::to_string(i) + "\\");
    std::printf("round %d: run %.1f ms, writing %.1f ms, plain write %.1f ms\n", i + 1, round.runMs,
                round.writingMs, round.plainMs);
    run.push_back(round.runMs);
    writing.push_back(round.writingMs);
    plain.push_back(round.plainMs);
  }
  const double runMs = median(run), writingMs = median(writing), plainMs = median(plain);
  std::printf("median of %d: run %.1f ms, writing %.1f ms, plain write %.1f ms\n", rounds, runMs, writingMs,
              plainMs);
  std::printf("run / plain write: %.2f; writing / plain write: %.2f; writing share of the run: %.0f%%\n",
              runMs / plainMs, writingMs / plainMs, 100 * writingMs / runMs);
  std::fflush(stdout);
  ExitProcess(0);  // the wizard's windows need no orderly end here
}
