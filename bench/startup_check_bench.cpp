// What the installer's check of itself costs at start-up: both embedded images
// digested by the system's SHA-256 (library loading included), against a
// plain read of the same bytes. Each figure is taken in a fresh process, where
// the images' pages are touched for the first time, as at a real start.
//
//   startup_check_bench check       prints "check <ms> opening <ms> warm <ms>"
//   startup_check_bench read        prints "read <ms>", one cold pass
//   startup_check_bench window      prints "window <ms>": the wizard's windows
//                                   built (not shown), as the program starts
//   startup_check_bench overlapped  prints "overlapped <ms> verdict <ms>": the
//                                   same with the check on its own thread, up
//                                   to its verdict, as the installer starts, and
//                                   how long the verdict was still waited for
//
// Run many times, alternating, by bench/startup_check_wine.py under Wine.

#include <cstdio>
#include <cstring>
#include <memory>

#include <windows.h>

#include <optional>

#include "app/win32/StartupImageCheck.h"
#include "app/win32/Win32MessageLoop.h"
#include "bench/BenchTiming.h"
#include "payload/EmbeddedImages.h"
#include "payload/ImageCheck.h"
#include "platform/Win32ComApartment.h"
#include "platform/Win32Platform.h"
#include "platform/Win32Sha256.h"
#include "ui/FormDescription.h"
#include "ui/FormModel.h"
#include "ui/Win32View.h"

namespace {

using namespace vorpane;

// The whole check, cold; then, for the record, what of it is opening the
// system's hashing and what a second, warm check costs.
void printCheck() {
  bool intact = false;
  double opening = 0;
  std::unique_ptr<platform::Win32Sha256> sha256;
  const double cold = bench::millisecondsOf([&] {
    opening = bench::millisecondsOf([&] { sha256 = std::make_unique<platform::Win32Sha256>(); });
    intact = payload::DamagedImages(*sha256, payload::EmbeddedImages()).empty();
  });
  const double warm =
      bench::millisecondsOf([&] { payload::DamagedImages(*sha256, payload::EmbeddedImages()); });
  if (!intact) std::fprintf(stderr, "the images do not match their digests\n");
  std::printf("check %.3f opening %.3f warm %.3f\n", cold, opening, warm);
}

// Every byte of both images read once, as plainly as it can be done.
double readMilliseconds() {
  volatile std::uint64_t sink = 0;
  const double ms = bench::millisecondsOf([&] {
    std::uint64_t sum = 0;
    for (const auto image : {payload::uninstallerImage(), payload::clientImage()})
      for (std::size_t i = 0; i < image.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, image.data() + i, std::min<std::size_t>(8, image.size() - i));
        sum += word;
      }
    sink = sum;
  });
  static_cast<void>(sink);
  return ms;
}

// The wizard's form and windows made as the program makes them before it
// shows the window, with the check alongside when asked for; also how long
// the verdict was then still waited for.
struct Start {
  double total = 0;
  double verdictWait = 0;
};

Start startWith(bool withCheck) {
  Start start;
  start.total = bench::millisecondsOf([&] {
    std::optional<app::StartupImageCheck> check;
    if (withCheck) check.emplace();
    platform::Win32ComApartment com;
    platform::Win32Platform platform;
    ui::FormModel model(ui::installFormDescription());
    ui::Win32View view(model, platform, GetModuleHandleA(nullptr));
    view.create();
    if (!check) return;
    start.verdictWait = bench::millisecondsOf([&] {
      if (!check->damagedImages().empty()) std::fprintf(stderr, "the images do not match their digests\n");
    });
  });
  return start;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "check") == 0) {
    printCheck();
  } else if (argc == 2 && std::strcmp(argv[1], "window") == 0) {
    std::printf("window %.3f\n", startWith(false).total);
  } else if (argc == 2 && std::strcmp(argv[1], "overlapped") == 0) {
    const Start start = startWith(true);
    std::printf("overlapped %.3f verdict %.3f\n", start.total, start.verdictWait);
  } else if (argc == 2 && std::strcmp(argv[1], "read") == 0) {
    std::printf("read %.3f\n", readMilliseconds());
  } else {
    std::fprintf(stderr, "usage: startup_check_bench check|read|window|overlapped\n");
    return 2;
  }
  return 0;
}
