#pragma once
// A test whose drive C: is a scratch folder of its own on the host, removed
// after the test, over the host file system or the platform double.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/IoError.h"

namespace vorpane::platform::testing {

template <class HostPlatform>
class ScratchDrive : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ =
        std::filesystem::temp_directory_path() / ("vorpane-drive-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(root_);
    host_.mapDrive('C', root_);
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  void makeFile(const std::filesystem::path& relative, const std::string& content = "x") {
    std::filesystem::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary) << content;
  }
  std::string readFile(const std::filesystem::path& relative) {
    std::ifstream in(root_ / relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> names(const std::string& pattern) {
    std::vector<std::string> result;
    for (const DirEntry& entry : host_.listDirectory(pattern)) result.push_back(entry.name);
    return result;
  }
  // The I/O code the action raised; 0 when it raised none.
  static int ioCodeOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const IoError& error) {
      return error.code();
    }
    return 0;
  }

  std::filesystem::path root_;
  HostPlatform host_;
};

}  // namespace vorpane::platform::testing
