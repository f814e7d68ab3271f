#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/datafile/DataFileTestSupport.h"

namespace vorpane::datafile {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int exitCode = -1;
  std::string output;  // standard output and error together
};

ToolRun runTool(const std::string& arguments) {
  const std::string command = std::string("'") + VORPANE_DAT + "' " + arguments + " 2>&1";
  ToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, got);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ToolTest : public ::testing::Test {
 protected:
  // Quoted for the shell.
  std::string path(const char* name) const {
    std::string quoted(1, '\'');
    quoted += (drive.folder() / name).string();
    quoted += '\'';
    return quoted;
  }
  test::ScratchDrive drive;
};

TEST_F(ToolTest, WritesReproducibleFilesAndPrintsThem) {
  const std::string options = "write --seed 3 --now '2024-01-02 03:04:05' 'C:\\Program Files\\Vorpane\\' ";
  ASSERT_EQ(runTool(options + path("a.dat")).exitCode, 0);
  ASSERT_EQ(runTool(options + path("b.dat")).exitCode, 0);
  EXPECT_EQ(readFile(drive.folder() / "a.dat"), readFile(drive.folder() / "b.dat"));

  const ToolRun text = runTool(path("a.dat"));
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_NE(text.output.find("installation path           \"C:\\\\Program Files\\\\Vorpane\\\\\""),
            std::string::npos);
  EXPECT_NE(text.output.find("Seed host table: 3500 records"), std::string::npos);
  EXPECT_NE(text.output.find("PP\\rT*N"), std::string::npos);

  const ToolRun json = runTool("--json " + path("a.dat"));
  EXPECT_EQ(json.exitCode, 0);
  EXPECT_EQ(json.output.front(), '{');
  EXPECT_NE(json.output.find("PP\\u000DT*N"), std::string::npos);
}

TEST_F(ToolTest, ReportsBadInputAndBadUsageClearly) {
  const ToolRun directory = runTool(path(""));
  EXPECT_EQ(directory.exitCode, 1);
  EXPECT_NE(directory.output.find("is a directory"), std::string::npos);

  std::ofstream(drive.folder() / "empty.dat").flush();
  const ToolRun empty = runTool(path("empty.dat"));
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_NE(empty.output.find("the file is empty"), std::string::npos);

  EXPECT_EQ(runTool(path("missing.dat")).exitCode, 1);
  EXPECT_EQ(runTool("").exitCode, 2);
  EXPECT_EQ(runTool("write --now yesterday 'C:\\V\\' " + path("x.dat")).exitCode, 2);
  EXPECT_FALSE(fs::exists(drive.folder() / "x.dat"));
}

}  // namespace
}  // namespace vorpane::datafile
