// How long the finder takes over a whole synthetic drive against GNU find with
// the same name test, in the same run: the drive (bench/synthetic_drive.py) is
// mapped as C:, its folders starting with "." are marked hidden as Windows
// would show them, and find passes over them likewise.
//
//   finder_bench <drive folder> [rounds]     prints the median of each and their ratio

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "finder/LIB_FindFiles.h"
#include "product/InstalledFiles.h"
#include "tests/support/FakePlatform.h"

namespace {

namespace fs = std::filesystem;
using namespace vorpane;
using bench::median;
using bench::millisecondsOf;

// The Windows path of every folder whose name starts with ".", as the host's
// own "hidden" folders.
void markDotFoldersHidden(platform::FakePlatform& host, const fs::path& drive) {
  for (auto it = fs::recursive_directory_iterator(drive); it != fs::recursive_directory_iterator(); ++it) {
    if (!it->is_directory() || it->path().filename().string().front() != '.') continue;
    std::string windowsPath = "C:";
    for (const auto& part : fs::relative(it->path(), drive)) windowsPath.append("\\").append(part.string());
    host.setHidden(windowsPath);
    it.disable_recursion_pending();
  }
}

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted.append("'\\''");
    } else {
      quoted.push_back(c);
    }
  }
  quoted.push_back('\'');
  return quoted;
}

// Runs find and counts the lines it prints.
std::size_t runFind(const std::string& command) {
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    std::perror("popen");
    std::exit(1);
  }
  std::size_t lines = 0;
  for (int c; (c = std::fgetc(pipe)) != EOF;) lines += c == '\n';
  if (pclose(pipe) != 0) {
    std::fprintf(stderr, "find failed: %s\n", command.c_str());
    std::exit(1);
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: finder_bench <drive folder> [rounds]\n");
    return 2;
  }
  const fs::path drive = fs::absolute(argv[1]);
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 11;
  platform::FakePlatform host;
  host.mapDrive('C', drive);
  markDotFoldersHidden(host, drive);
  const std::string find =
      "find " + shellQuoted(drive.string()) + " -name '.*' -prune -o -iname Vorpane.Dat -print";

  std::vector<double> finderTimes, findTimes;
  std::size_t found = 0, foundByFind = 0, progressCalls = 0;
  for (int round = 0; round < rounds; ++round) {
    finderTimes.push_back(millisecondsOf([&] {
      progressCalls = 0;
      found =
          finder::FindFiles(host, product::kDataFileName, 1, "", [&](std::uint8_t) { ++progressCalls; }, {})
              .size();
    }));
    findTimes.push_back(millisecondsOf([&] { foundByFind = runFind(find); }));
  }
  const double finderMs = median(finderTimes), findMs = median(findTimes);
  std::printf("drive %s, %d rounds (median)\n", drive.string().c_str(), rounds);
  std::printf("finder:    %8.1f ms  (%zu found, %zu progress reports)\n", finderMs, found, progressCalls);
  std::printf("GNU find:  %8.1f ms  (%zu found)\n", findMs, foundByFind);
  std::printf("ratio:     %8.2f x\n", finderMs / findMs);
  return found == foundByFind ? 0 : 1;
}
