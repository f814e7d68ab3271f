// The log two setup programs share: the one at work starts it afresh, and a
// second one refused meanwhile adds its lines without overwriting any.

#include "platform/LogFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "tests/support/FakePlatform.h"

namespace vorpane::platform {
namespace {

namespace fs = std::filesystem;

class LogFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("vorpane-log-" + std::to_string(std::random_device{}()));
    fs::create_directories(root_);
    host_.mapDrive('C', root_);
    host_.setNow({2026, 12, 9, 10, 0, 0, 0});
    std::ofstream(root_ / "setup.log") << "a run of yesterday\r\n";
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string log() const {
    std::ifstream in(root_ / "setup.log", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path root_;
  FakePlatform host_;
};

TEST_F(LogFileTest, AFreshLogReplacesTheOldOneAndARefusedProgramAddsToIt) {
  LogFile first(host_, "C:\\setup.log");
  first.write("first: started");
  {
    LogFile second(host_, "C:\\setup.log", LogStart::Appended);
    second.write("second: refused");
  }
  first.write("first: done");
  EXPECT_EQ(log(),
            "2026-12-09 10:00:00.000  first: started\r\n"
            "2026-12-09 10:00:00.000  second: refused\r\n"
            "2026-12-09 10:00:00.000  first: done\r\n");
}

TEST_F(LogFileTest, AnAppendedLogKeepsWhatTheFileHeld) {
  { LogFile(host_, "C:\\setup.log", LogStart::Appended).write("refused"); }
  EXPECT_EQ(log(), "a run of yesterday\r\n2026-12-09 10:00:00.000  refused\r\n");
  EXPECT_THROW(LogFile(host_, "C:\\Missing\\setup.log", LogStart::Appended), IoError);
}

}  // namespace
}  // namespace vorpane::platform
