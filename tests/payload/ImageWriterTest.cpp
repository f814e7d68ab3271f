#include "payload/ImageWriter.h"

#include <sys/mount.h>

#include "PayloadTestSupport.h"

namespace vorpane::payload {
namespace {

using namespace testing;
using platform::io::AccessDenied;
using platform::io::FileNotOpen;
using platform::io::InvalidFilename;

std::vector<std::uint8_t> numberedBytes(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return bytes;
}

class ImageWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = makeScratchFolder("writer");
    host_.mapDrive('C', folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Calls writeNextChunk() until done; the number of calls it took.
  static int writeAll(ImageWriter& writer) {
    int calls = 0;
    while (!writer.writeDone() && calls < 100000) {
      writer.writeNextChunk();
      ++calls;
    }
    return calls;
  }

  fs::path folder_;
  platform::FakePlatform host_;
};

TEST_F(ImageWriterTest, TakesOneCallPerWholeChunkPlusTheClosingOne) {
  for (std::size_t size : {0, 1, 1023, 1024, 1025, 4096, 5000}) {
    SCOPED_TRACE(size);
    const auto image = numberedBytes(size);
    ImageWriter writer(image);
    writer.beginWrite(host_, "C:\\out.bin");
    const int calls = writeAll(writer);
    EXPECT_EQ(calls, static_cast<int>(size / 1024 + 1));
    EXPECT_EQ(writer.chunkIndex(), calls);
    EXPECT_EQ(writer.bytesWritten(), static_cast<std::int64_t>(size) + 1);
    EXPECT_TRUE(equalsImage(folder_ / "out.bin", image));
    EXPECT_FALSE(fs::exists(folder_ / "out.bin.new"));
  }
}

TEST_F(ImageWriterTest, ReportsFileNotOpenOutsideAnExtraction) {
  const auto image = numberedBytes(1500);
  ImageWriter writer(image);
  EXPECT_EQ(ioCodeOf([&] { writer.writeNextChunk(); }), FileNotOpen);

  writer.beginWrite(host_, "C:\\out.bin");
  writeAll(writer);
  try {
    writer.writeNextChunk();
    FAIL() << "a call after the last one must fail";
  } catch (const platform::IoError& error) {
    EXPECT_EQ(error.code(), FileNotOpen);
    EXPECT_STREQ(error.what(), "I/O error 103");
  }
  EXPECT_TRUE(writer.writeDone());
  EXPECT_TRUE(equalsImage(folder_ / "out.bin", image));
}

TEST_F(ImageWriterTest, LeavesTheOldFileInPlaceUntilTheNewOneIsComplete) {
  const std::string old(5000, 'o');
  writeBytes(folder_ / "Prog.exe", old);
  const auto image = numberedBytes(3000);
  ImageWriter writer(image);
  writer.beginWrite(host_, "C:\\PROG.EXE");
  writer.writeNextChunk();
  writer.writeNextChunk();
  EXPECT_EQ(readBytes(folder_ / "Prog.exe"), std::vector<std::uint8_t>(old.begin(), old.end()));
  writer.writeNextChunk();
  EXPECT_TRUE(writer.writeDone());
  EXPECT_TRUE(equalsImage(folder_ / "Prog.exe", image));  // the longer old file is gone entirely
}

TEST_F(ImageWriterTest, KeepsTheOldFileWhenItCannotBeReplaced) {
  writeBytes(folder_ / "prog.exe", "old program");
  host_.refuseReplace("C:\\prog.exe");
  const auto image = numberedBytes(2500);
  ImageWriter writer(image);
  writer.beginWrite(host_, "C:\\prog.exe");
  writer.writeNextChunk();
  writer.writeNextChunk();
  EXPECT_EQ(ioCodeOf([&] { writer.writeNextChunk(); }), AccessDenied);
  EXPECT_FALSE(writer.writeDone());
  EXPECT_EQ(readBytes(folder_ / "prog.exe"),
            std::vector<std::uint8_t>({'o', 'l', 'd', ' ', 'p', 'r', 'o', 'g', 'r', 'a', 'm'}));
  EXPECT_FALSE(fs::exists(folder_ / "prog.exe.new"));
  EXPECT_EQ(ioCodeOf([&] { writer.writeNextChunk(); }), FileNotOpen);
}

TEST_F(ImageWriterTest, RaisesForAMissingDirectoryAndWritesNothing) {
  const auto image = numberedBytes(100);
  ImageWriter writer(image);
  EXPECT_EQ(ioCodeOf([&] { writer.beginWrite(host_, "C:\\missing\\prog.exe"); }), InvalidFilename);
  try {
    writer.beginWrite(host_, "C:\\missing\\prog.exe");
  } catch (const platform::IoError& error) {
    EXPECT_EQ(error.path(), "C:\\missing\\prog.exe");  // the program, not the file beside it
  }
  EXPECT_TRUE(fs::is_empty(folder_));
  EXPECT_EQ(ioCodeOf([&] { writer.writeNextChunk(); }), FileNotOpen);
}

TEST_F(ImageWriterTest, BeginningAgainDropsAnUnfinishedFileAndWritesAFreshCopy) {
  const auto image = numberedBytes(2048);
  ImageWriter writer(image);
  writer.beginWrite(host_, "C:\\first.exe");
  writer.writeNextChunk();
  writer.beginWrite(host_, "C:\\second.exe");
  EXPECT_FALSE(fs::exists(folder_ / "first.exe.new"));
  EXPECT_FALSE(fs::exists(folder_ / "first.exe"));
  EXPECT_EQ(writer.bytesWritten(), 0);
  EXPECT_EQ(writeAll(writer), 3);

  writeBytes(folder_ / "second.exe", "damaged");
  writer.beginWrite(host_, "C:\\second.exe");
  EXPECT_EQ(writeAll(writer), 3);
  EXPECT_TRUE(equalsImage(folder_ / "second.exe", image));
}

// A drive on a small memory file system that the test mounts for itself.
class FullDiskTest : public ImageWriterTest {
 protected:
  void SetUp() override {
    ImageWriterTest::SetUp();
    disk_ = folder_ / "disk";
    fs::create_directories(disk_);
    if (::mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=512k") != 0) {
      GTEST_SKIP() << "mounting a small file system is not permitted here";
    }
    mounted_ = true;
    host_.mapDrive('D', disk_);
  }
  void TearDown() override {
    if (mounted_) ::umount(disk_.c_str());
    ImageWriterTest::TearDown();
  }

  fs::path disk_;
  bool mounted_ = false;
};

TEST_F(FullDiskTest, AnUpgradeThatRunsOutOfSpaceLeavesTheInstalledClientAlone) {
  fs::create_directories(disk_ / "Vorpane");
  const std::string installed(100000, 'i');
  writeBytes(disk_ / "Vorpane" / "Vorpane.Exe", installed);
  const auto freeBefore = fs::space(disk_).available;

  const auto image = numberedBytes(1 << 20);
  ImageWriter writer(image);
  writer.beginWrite(host_, "D:\\Vorpane\\Vorpane.Exe");
  int code = 0;
  while (code == 0 && !writer.writeDone()) code = ioCodeOf([&] { writer.writeNextChunk(); });
  EXPECT_EQ(code, platform::io::DiskFull);
  EXPECT_FALSE(writer.writeDone());
  EXPECT_EQ(readBytes(disk_ / "Vorpane" / "Vorpane.Exe"),
            std::vector<std::uint8_t>(installed.begin(), installed.end()));
  EXPECT_FALSE(fs::exists(disk_ / "Vorpane" / "Vorpane.Exe.new"));
  EXPECT_EQ(fs::space(disk_).available, freeBefore);
}

}  // namespace
}  // namespace vorpane::payload
