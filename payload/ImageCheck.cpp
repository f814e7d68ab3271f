#include "payload/ImageCheck.h"

#include "payload/EmbeddedImages.h"
#include "payload/ImageDigests.h"
#include "product/InstalledFiles.h"

namespace vorpane::payload {

std::vector<std::string> DamagedImages(platform::Sha256& sha256, std::span<const RecordedImage> images) {
  std::vector<std::string> damaged;
  for (const RecordedImage& image : images)
    if (sha256.digestOf(image.bytes) != image.recorded) damaged.push_back(image.name);
  return damaged;
}

std::vector<RecordedImage> EmbeddedImages() {
  return {{product::kClientFileName, clientImage(), kClientImageDigest},
          {product::kUninstallerFileName, uninstallerImage(), kUninstallerImageDigest}};
}

}  // namespace vorpane::payload
