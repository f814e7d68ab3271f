#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "payload/EmbeddedImages.h"
#include "payload/ImageCheck.h"

namespace vorpane::payload {
namespace {

// Stands in for the system's SHA-256: every byte counts, in its place.
class PositionalSum final : public platform::Sha256 {
 public:
  platform::Sha256Digest digestOf(std::span<const std::uint8_t> bytes) override {
    platform::Sha256Digest digest{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
      digest[i % digest.size()] += bytes[i] ^ (i / digest.size());
    return digest;
  }
};

TEST(ImageCheck, FindsEachImageWhoseBytesNoLongerMatchTheirRecord) {
  PositionalSum sum;
  std::vector<std::uint8_t> client(5000, 7), uninstaller(3000, 9);
  const std::vector<RecordedImage> recorded{
      {"Vorpane.Exe", client, sum.digestOf(client)},
      {"Uninstall_Vorpane.Exe", uninstaller, sum.digestOf(uninstaller)}};
  EXPECT_TRUE(DamagedImages(sum, recorded).empty());

  uninstaller[2999] ^= 1;  // one bit, at the very end
  EXPECT_EQ(DamagedImages(sum, recorded), std::vector<std::string>{"Uninstall_Vorpane.Exe"});
  client[0] = 'X';
  EXPECT_EQ(DamagedImages(sum, recorded), (std::vector<std::string>{"Vorpane.Exe", "Uninstall_Vorpane.Exe"}));
}

TEST(ImageCheck, ChecksBothEmbeddedImagesAgainstDigestsOfTheirOwn) {
  const std::vector<RecordedImage> images = EmbeddedImages();
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].name, "Vorpane.Exe");
  EXPECT_EQ(images[0].bytes.data(), clientImage().data());
  EXPECT_EQ(images[0].bytes.size(), clientImage().size());
  EXPECT_EQ(images[1].name, "Uninstall_Vorpane.Exe");
  EXPECT_EQ(images[1].bytes.data(), uninstallerImage().data());
  EXPECT_EQ(images[1].bytes.size(), uninstallerImage().size());
  EXPECT_NE(images[0].recorded, images[1].recorded);
  EXPECT_NE(images[0].recorded, platform::Sha256Digest{});
}

}  // namespace
}  // namespace vorpane::payload
