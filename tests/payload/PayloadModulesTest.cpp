#include "PayloadTestSupport.h"
#include "payload/EmbeddedImages.h"
#include "payload/Uninstall_Vorpane_Exe.h"
#include "payload/Vorpane_Exe.h"

namespace vorpane::payload {
namespace {

using namespace testing;

constexpr bool kShippedSizes = Vorpane_Exe::kSize == 2188800 && Uninstall_Vorpane_Exe::kSize == 778240;

class PayloadModulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = makeScratchFolder("payload");
    host_.mapDrive('C', folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
  platform::FakePlatform host_;
};

TEST_F(PayloadModulesTest, ImagesLieBackToBackUninstallerFirst) {
  const auto uninstaller = Uninstall_Vorpane_Exe::image();
  const auto client = Vorpane_Exe::image();
  EXPECT_EQ(uninstaller.data() + uninstaller.size(), client.data());
  EXPECT_EQ(Vorpane_Exe::size(), Vorpane_Exe::kSize);
  EXPECT_EQ(Uninstall_Vorpane_Exe::size(), Uninstall_Vorpane_Exe::kSize);
  if (!kShippedSizes) GTEST_SKIP() << "built with other images";
  EXPECT_EQ(std::string(client.begin(), client.begin() + 3), "MZP");
  EXPECT_EQ(std::string(uninstaller.begin(), uninstaller.begin() + 3), "MZP");
  EXPECT_NE(std::vector<std::uint8_t>(client.begin(), client.begin() + 4096),
            std::vector<std::uint8_t>(uninstaller.begin(), uninstaller.begin() + 4096));
}

TEST_F(PayloadModulesTest, ClientImageClosesWithTheCallThatWritesTheLast512Bytes) {
  if (!kShippedSizes) GTEST_SKIP() << "built with other images";
  Vorpane_Exe::BeginWrite(host_, "C:\\Vorpane.Exe");
  for (int call = 0; call < 2137; ++call) Vorpane_Exe::WriteNextChunk();
  EXPECT_EQ(Vorpane_Exe::BytesWritten(), 2188288);
  EXPECT_FALSE(Vorpane_Exe::WriteDone());
  EXPECT_FALSE(fs::exists(folder_ / "Vorpane.Exe"));

  Vorpane_Exe::WriteNextChunk();
  EXPECT_EQ(Vorpane_Exe::ChunkIndex(), 2138);
  EXPECT_EQ(Vorpane_Exe::BytesWritten(), 2188801);
  EXPECT_TRUE(Vorpane_Exe::WriteDone());
  EXPECT_TRUE(equalsImage(folder_ / "Vorpane.Exe", Vorpane_Exe::image()));
  EXPECT_EQ(ioCodeOf([] { Vorpane_Exe::WriteNextChunk(); }), platform::io::FileNotOpen);
}

TEST_F(PayloadModulesTest, UninstallerImageNeedsAClosingCallAfterTheLastByte) {
  if (!kShippedSizes) GTEST_SKIP() << "built with other images";
  Uninstall_Vorpane_Exe::BeginWrite(host_, "C:\\Uninstall_Vorpane.Exe");
  for (int call = 0; call < 760; ++call) Uninstall_Vorpane_Exe::WriteNextChunk();
  EXPECT_EQ(Uninstall_Vorpane_Exe::BytesWritten(), 778240);
  EXPECT_FALSE(Uninstall_Vorpane_Exe::WriteDone());
  EXPECT_FALSE(fs::exists(folder_ / "Uninstall_Vorpane.Exe"));

  Uninstall_Vorpane_Exe::WriteNextChunk();
  EXPECT_EQ(Uninstall_Vorpane_Exe::ChunkIndex(), 761);
  EXPECT_EQ(Uninstall_Vorpane_Exe::BytesWritten(), 778241);
  EXPECT_TRUE(Uninstall_Vorpane_Exe::WriteDone());
  EXPECT_TRUE(equalsImage(folder_ / "Uninstall_Vorpane.Exe", Uninstall_Vorpane_Exe::image()));
}

}  // namespace
}  // namespace vorpane::payload
