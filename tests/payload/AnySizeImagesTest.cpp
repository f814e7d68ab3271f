// Images whose sizes no section alignment divides, embedded as given files:
// the program must hold them byte for byte, and the build must record the
// digest of exactly those bytes, or the installer would refuse itself as damaged.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/EmbeddedImages.h"
#include "payload/ImageCheck.h"
#include "payload/ImageDigests.h"

#ifdef _WIN32
#include "platform/Win32Sha256.h"
#else
#include "PayloadTestSupport.h"
#endif

namespace vorpane::payload {
namespace {

std::string hex(const platform::Sha256Digest& digest) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t byte : digest) {
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}

TEST(AnySizeImages, KeepTheSizesTheyWereGiven) {
  EXPECT_EQ(uninstallerImage().size(), VORPANE_ANY_SIZE_UNINSTALLER_BYTES);
  EXPECT_EQ(clientImage().size(), VORPANE_ANY_SIZE_CLIENT_BYTES);
}

TEST(AnySizeImages, DigestsRecordedAreThoseOfTheGivenFiles) {
  EXPECT_EQ(hex(kUninstallerImageDigest), VORPANE_ANY_SIZE_UNINSTALLER_SHA256);
  EXPECT_EQ(hex(kClientImageDigest), VORPANE_ANY_SIZE_CLIENT_SHA256);
}

#ifdef VORPANE_ANY_SIZE_CLIENT_FILE
TEST(AnySizeImages, AreEmbeddedByteForByte) {
  const auto uninstaller = testing::readBytes(VORPANE_ANY_SIZE_UNINSTALLER_FILE);
  const auto client = testing::readBytes(VORPANE_ANY_SIZE_CLIENT_FILE);
  EXPECT_TRUE(std::equal(uninstaller.begin(), uninstaller.end(), uninstallerImage().begin(),
                         uninstallerImage().end()));
  EXPECT_TRUE(std::equal(client.begin(), client.end(), clientImage().begin(), clientImage().end()));
}
#endif

#ifdef _WIN32
TEST(AnySizeImages, PassTheStartUpSelfCheck) {
  platform::Win32Sha256 sha256;
  EXPECT_EQ(DamagedImages(sha256, EmbeddedImages()), std::vector<std::string>{});
}
#endif

}  // namespace
}  // namespace vorpane::payload
