#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "datafile/DataFileDecoder.h"
#include "datafile/InitialDataFile.h"
#include "tests/datafile/DataFileTestSupport.h"

namespace vorpane::datafile {
namespace {

using test::MemoryInputFile;
using test::MemoryOutputFile;
using test::ScratchDrive;
using test::TestPlatform;

// One valid file, written once for all tests here.
const std::string& validFile() {
  static const std::string bytes = [] {
    TestPlatform platform;
    platform.setNow({2023, 11, 2, 8, 0, 0, 0});
    MemoryOutputFile file;
    WriteInitialDataFileContents(platform, file, "D:\\Apps\\Vorpane\\");
    return file.bytes;
  }();
  return bytes;
}

std::string errorOf(const std::string& bytes) {
  try {
    DecodeDataFile(bytes);
  } catch (const DataFileError& e) {
    return e.what();
  }
  return "";
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(DataFileDecoder, ReadsAFileFromAnInputFile) {
  MemoryInputFile in(validFile());
  const DecodedDataFile file = DecodeDataFile(in);
  EXPECT_EQ(file.size, validFile().size());
  EXPECT_EQ(file.install.installPath, "D:\\Apps\\Vorpane");
}

TEST(DataFileDecoder, NamesWhatIsWrongWithInputThatIsNoDataFile) {
  EXPECT_TRUE(contains(errorOf(""), "the file is empty"));
  EXPECT_TRUE(contains(errorOf("<html>hello</html>"), "not a Vorpane data file"));
  EXPECT_TRUE(contains(errorOf("\x1F\x58" + validFile().substr(2)), "only the layout of version 5"));
  EXPECT_TRUE(contains(errorOf("\x1F\x59\x01"), "unescaped control byte"));
  EXPECT_TRUE(contains(errorOf(validFile() + "x"), "unexpected data after the end"));

  std::string badEnd = validFile();
  badEnd.back() = static_cast<char>(badEnd.back() + 1 == 32 ? 33 : badEnd.back() + 1);
  EXPECT_TRUE(contains(errorOf(badEnd), "expected marker 0"));
}

TEST(DataFileDecoder, EveryTruncationIsReportedAsAnEarlyEnd) {
  const std::string& bytes = validFile();
  for (std::size_t length = 1; length < bytes.size(); length += 997) {
    const std::string error = errorOf(bytes.substr(0, length));
    ASSERT_TRUE(contains(error, "file ends")) << length << ": " << error;
  }
}

TEST(DataFileDecoder, ADirectoryIsAnErrorNotACrash) {
  ScratchDrive drive;
  TestPlatform platform;
  platform.mapDrive('C', drive.folder());
  std::filesystem::create_directory(drive.folder() / "Vorpane.Dat");
  try {
    auto file = platform.openFile("C:\\Vorpane.Dat");
    DecodeDataFile(*file);
    FAIL() << "a directory decoded";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()), "");
  }
}

// Bad input must end in DataFileError, never in a crash or another exception.
void decodeAnything(const std::string& bytes) {
  try {
    DecodeDataFile(bytes);
  } catch (const DataFileError&) {
  }
}

TEST(DataFileDecoder, SurvivesRandomAndMutatedInput) {
  std::mt19937 random(424242);
  const std::string& valid = validFile();
  for (int i = 0; i < 3000; ++i) {
    std::string bytes(random() % 64, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    if (!bytes.empty() && i % 2 == 0) bytes[0] = 5;
    // Keep the real header start now and then, so the noise reaches the later readers.
    if (i % 3 == 0) bytes = valid.substr(0, random() % valid.size()) + bytes;
    ASSERT_NO_THROW(decodeAnything(bytes));
  }
  for (int i = 0; i < 200; ++i) {
    std::string bytes = valid;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % bytes.size();
      switch (random() % 3) {
        case 0:
          bytes[at] = static_cast<char>(random());
          break;
        case 1:
          bytes.erase(at, 1 + random() % 8);
          break;
        default:
          bytes.insert(at, 1, static_cast<char>(random()));
      }
    }
    ASSERT_NO_THROW(decodeAnything(bytes));
  }
}

}  // namespace
}  // namespace vorpane::datafile
