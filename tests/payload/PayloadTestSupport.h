#pragma once
// A scratch folder mapped as drive C: of the platform double, and file helpers.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "tests/support/FakePlatform.h"

namespace vorpane::payload::testing {

namespace fs = std::filesystem;

inline fs::path makeScratchFolder(const std::string& purpose) {
  fs::path folder =
      fs::temp_directory_path() / ("vorpane-" + purpose + "-" + std::to_string(std::random_device{}()));
  fs::create_directories(folder);
  return folder;
}

inline std::vector<std::uint8_t> readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

inline bool equalsImage(const fs::path& path, std::span<const std::uint8_t> image) {
  const std::vector<std::uint8_t> bytes = readBytes(path);
  return bytes.size() == image.size() && std::equal(bytes.begin(), bytes.end(), image.begin());
}

// The I/O code an action raised, 0 when it raised none.
inline int ioCodeOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::IoError& error) {
    return error.code();
  }
  return 0;
}

}  // namespace vorpane::payload::testing
