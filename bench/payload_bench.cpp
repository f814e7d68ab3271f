// How much the chunked extraction costs against the cheapest way to put the
// same bytes on disk: both images through the writers' protocol (1024-byte
// chunks, temporary file, replacement) versus one plain write of each image.
//
//   payload_bench [rounds]      prints the median time of each and their ratio

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "payload/Uninstall_Vorpane_Exe.h"
#include "payload/Vorpane_Exe.h"
#include "product/InstalledFiles.h"
#include "tests/support/FakePlatform.h"

namespace {

namespace fs = std::filesystem;
using namespace vorpane;
using bench::median;
using bench::millisecondsOf;

void extractBoth(platform::Platform& platform) {
  payload::Vorpane_Exe::BeginWrite(platform, std::string("C:\\") + product::kClientFileName);
  while (!payload::Vorpane_Exe::WriteDone()) payload::Vorpane_Exe::WriteNextChunk();
  payload::Uninstall_Vorpane_Exe::BeginWrite(platform, std::string("C:\\") + product::kUninstallerFileName);
  while (!payload::Uninstall_Vorpane_Exe::WriteDone()) payload::Uninstall_Vorpane_Exe::WriteNextChunk();
}

void writePlain(const fs::path& path, std::span<const std::uint8_t> bytes) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
      std::fclose(file) != 0) {
    std::perror(path.string().c_str());
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
  const fs::path folder =
      fs::temp_directory_path() / ("vorpane-bench-" + std::to_string(std::random_device{}()));
  fs::create_directories(folder);
  platform::FakePlatform host;
  host.mapDrive('C', folder);

  std::vector<double> chunked, plain;
  for (int round = 0; round < rounds; ++round) {
    chunked.push_back(millisecondsOf([&] { extractBoth(host); }));
    plain.push_back(millisecondsOf([&] {
      writePlain(folder / "plain-client", payload::Vorpane_Exe::image());
      writePlain(folder / "plain-uninstaller", payload::Uninstall_Vorpane_Exe::image());
    }));
  }
  fs::remove_all(folder);

  const double chunkedMs = median(chunked), plainMs = median(plain);
  std::printf("images: %lld + %lld bytes, %d rounds (median)\n",
              static_cast<long long>(payload::Vorpane_Exe::size()),
              static_cast<long long>(payload::Uninstall_Vorpane_Exe::size()), rounds);
  std::printf("chunked extraction: %8.3f ms\n", chunkedMs);
  std::printf("plain write:        %8.3f ms\n", plainMs);
  std::printf("ratio:              %8.2f x\n", chunkedMs / plainMs);
  return 0;
}
