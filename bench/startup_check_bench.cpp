// What the installer's check of itself costs at start-up: both embedded images
// digested by the system's SHA-256 (library loading included), against a
// plain read of the same bytes. Each figure is taken in a fresh process, where
// the images' pages are touched for the first time, as at a real start.
//
//   startup_check_bench check    prints "check <ms> opening <ms> warm <ms>"
//   startup_check_bench read     prints "read <ms>", one cold pass
//
// Run many times, alternating, by bench/startup_check_wine.py under Wine.

#include <cstdio>
#include <cstring>
#include <memory>

#include "bench/BenchTiming.h"
#include "payload/EmbeddedImages.h"
#include "payload/ImageCheck.h"
#include "platform/Win32Sha256.h"

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

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "check") == 0) {
    printCheck();
  } else if (argc == 2 && std::strcmp(argv[1], "read") == 0) {
    std::printf("read %.3f\n", readMilliseconds());
  } else {
    std::fprintf(stderr, "usage: startup_check_bench check|read\n");
    return 2;
  }
  return 0;
}
