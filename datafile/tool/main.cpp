// vorpane-dat: looks inside the client's data files and writes fresh ones.
//
//   vorpane-dat [--json] <data file>
//   vorpane-dat write [--seed N] [--now "YYYY-MM-DD hh:mm:ss"] <installation directory> <output file>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "datafile/DataFileDecoder.h"
#include "datafile/InitialDataFile.h"
#include "datafile/tool/DataFilePrinter.h"
#include "platform/HostFileSystem.h"

namespace fs = std::filesystem;
using namespace vorpane;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage:\n"
    "  vorpane-dat [--json] <data file>\n"
    "      prints the data file's contents (as JSON with --json)\n"
    "  vorpane-dat write [--seed N] [--now \"YYYY-MM-DD hh:mm:ss\"] <installation directory> <output file>\n"
    "      writes a fresh initial data file for a Windows installation directory\n"
    "      (e.g. \"C:\\Program Files\\Vorpane\\\"), as the installer does;\n"
    "      --seed and --now make the output reproducible\n";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string readHostFile(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) throw std::runtime_error(path.string() + ": no such file");
  if (fs::is_directory(status)) throw std::runtime_error(path.string() + ": is a directory, not a data file");
  const auto size = fs::file_size(path, ec);
  if (!ec && size > datafile::kMaxDataFileSize) {
    throw std::runtime_error(path.string() + ": too large to be a data file");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot be opened");
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error(path.string() + ": cannot be read");
  return bytes;
}

int show(const std::vector<std::string>& args) {
  bool json = false;
  std::string path;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      json = true;
    } else if (path.empty() && (arg.empty() || arg[0] != '-' || arg == "-")) {
      path = arg;
    } else {
      throw UsageError("unexpected argument: " + arg);
    }
  }
  if (path.empty()) throw UsageError("no data file given");
  const std::string bytes = readHostFile(path);
  try {
    const datafile::DecodedDataFile file = datafile::DecodeDataFile(bytes);
    if (json) {
      datafile::tool::PrintJson(std::cout, file);
    } else {
      datafile::tool::PrintText(std::cout, file);
    }
  } catch (const datafile::DataFileError& e) {
    throw std::runtime_error(path + ": " + e.what());
  }
  return 0;
}

platform::LocalDateTime parseNow(const std::string& text) {
  platform::LocalDateTime t;
  char tail = 0;
  const int fields = std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &t.year, &t.month, &t.day, &t.hour,
                                 &t.minute, &t.second, &tail);
  const bool valid = fields == 6 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 &&
                     t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 &&
                     t.second < 60;
  if (!valid) throw UsageError("--now wants \"YYYY-MM-DD hh:mm:ss\", not \"" + text + "\"");
  return t;
}

std::uint32_t parseSeed(const std::string& text) {
  std::size_t used = 0;
  unsigned long value = 0;
  try {
    value = std::stoul(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size() || value > 0xFFFFFFFFul) throw UsageError("--seed wants a number");
  return static_cast<std::uint32_t>(value);
}

platform::Guid guidFromSeed(std::uint32_t seed) {
  std::mt19937 random(seed);
  platform::Guid guid;
  guid.data1 = random();
  guid.data2 = static_cast<std::uint16_t>(random());
  guid.data3 = static_cast<std::uint16_t>((random() & 0x0FFF) | 0x4000);
  for (auto& byte : guid.data4) byte = static_cast<std::uint8_t>(random());
  guid.data4[0] = static_cast<std::uint8_t>((guid.data4[0] & 0x3F) | 0x80);
  return guid;
}

int write(const std::vector<std::string>& args) {
  platform::HostFileSystem host;
  host.seedRandom(std::random_device{}());
  std::vector<std::string> operands;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if ((arg == "--seed" || arg == "--now") && i + 1 == args.size()) throw UsageError(arg + " wants a value");
    if (arg == "--seed") {
      const std::uint32_t seed = parseSeed(args[++i]);
      host.seedRandom(seed);
      host.setGuid(guidFromSeed(seed));
    } else if (arg == "--now") {
      host.setNow(parseNow(args[++i]));
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.size() != 2) throw UsageError("write wants an installation directory and an output file");

  // The wizard holds directories with their trailing backslash.
  std::string installDir = operands[0];
  if (installDir.empty()) throw UsageError("the installation directory is empty");
  if (installDir.back() != '\\') installDir += '\\';

  const fs::path output = fs::absolute(operands[1]);
  std::error_code ec;
  if (!fs::is_directory(output.parent_path(), ec)) {
    throw std::runtime_error(output.parent_path().string() + ": no such directory");
  }
  if (fs::is_directory(output, ec)) throw std::runtime_error(output.string() + ": is a directory");
  host.mapDrive('Z', output.parent_path());
  datafile::WriteInitialDataFileAt(host, "Z:\\" + output.filename().string(), installDir);
  std::cout << "wrote " << output.string() << " for " << installDir << '\n';
  return 0;
}

int run(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("nothing to do");
  if (args[0] == "--help" || args[0] == "-h") {
    std::cout << kUsage;
    return 0;
  }
  if (args[0] == "write") return write(std::vector<std::string>(args.begin() + 1, args.end()));
  return show(args);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& e) {
    std::cerr << "vorpane-dat: " << e.what() << "\n" << kUsage;
    return kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << "vorpane-dat: " << e.what() << '\n';
    return kExitFailure;
  }
}
