#pragma once
// Test doubles for the data file: files in memory, a platform whose random
// draws can be scripted and whose files can be made to fail, and a scratch
// folder mapped as drive C:.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/FakePlatform.h"

namespace vorpane::datafile::test {

class MemoryOutputFile : public platform::OutputFile {
 public:
  void write(const std::uint8_t* data, std::size_t size) override {
    bytes.append(reinterpret_cast<const char*>(data), size);
  }
  void close() override { closed = true; }

  std::string bytes;
  bool closed = false;
};

// The bytes as unsigned values, for comparisons with brace lists.
inline std::vector<int> valuesOf(const std::string& bytes) {
  std::vector<int> values;
  for (char c : bytes) values.push_back(static_cast<unsigned char>(c));
  return values;
}

class MemoryInputFile : public platform::InputFile {
 public:
  explicit MemoryInputFile(std::string bytes) : bytes_(std::move(bytes)) {}
  std::size_t read(std::uint8_t* data, std::size_t size) override {
    const std::size_t n = std::min(size, bytes_.size() - position_);
    std::copy_n(bytes_.data() + position_, n, data);
    position_ += n;
    return n;
  }

 private:
  std::string bytes_;
  std::size_t position_ = 0;
};

// Passes writes through until a byte budget is spent, then fails as a full disk.
class FailingOutputFile : public platform::OutputFile {
 public:
  FailingOutputFile(std::unique_ptr<platform::OutputFile> target, std::size_t budget)
      : target_(std::move(target)), budget_(budget) {}
  void write(const std::uint8_t* data, std::size_t size) override {
    if (size > budget_) throw platform::IoError(platform::io::DiskFull);
    budget_ -= size;
    target_->write(data, size);
  }
  void close() override { target_->close(); }

 private:
  std::unique_ptr<platform::OutputFile> target_;
  std::size_t budget_;
};

class TestPlatform : public platform::FakePlatform {
 public:
  // Values handed out by random() before the seeded generator takes over.
  std::deque<std::uint32_t> scriptedDraws;
  // When set, files created afterwards fail once this many bytes were written.
  std::optional<std::size_t> writeBudget;
  std::vector<std::string> removedFiles;

  std::uint32_t random(std::uint32_t range) override {
    if (scriptedDraws.empty()) return FakePlatform::random(range);
    const std::uint32_t draw = scriptedDraws.front();
    scriptedDraws.pop_front();
    EXPECT_LT(draw, range) << "scripted draw outside the requested range";
    return draw;
  }
  std::unique_ptr<platform::OutputFile> createFile(const std::string& path) override {
    auto file = FakePlatform::createFile(path);
    if (!writeBudget) return file;
    return std::make_unique<FailingOutputFile>(std::move(file), *writeBudget);
  }
  bool removeFile(const std::string& path) noexcept override {
    removedFiles.push_back(path);
    return FakePlatform::removeFile(path);
  }
};

// A fresh host folder, mapped as drive C: of a test platform, removed afterwards.
class ScratchDrive {
 public:
  ScratchDrive() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorpane-datafile-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
    folder_ = pattern;
  }
  ~ScratchDrive() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  ScratchDrive(const ScratchDrive&) = delete;
  ScratchDrive& operator=(const ScratchDrive&) = delete;

  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
};

}  // namespace vorpane::datafile::test
