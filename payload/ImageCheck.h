#pragma once
// The installer's check of itself: every embedded image against the digest the
// build recorded for it. A download cut short or altered on its way gives a
// program that would install broken files; it must refuse instead.

#include <span>
#include <string>
#include <vector>

#include "platform/Sha256.h"

namespace vorpane::payload {

struct RecordedImage {
  std::string name;  // the file the image is installed as
  std::span<const std::uint8_t> bytes;
  platform::Sha256Digest recorded;
};

// The names of the images whose digest is not the recorded one, in order.
std::vector<std::string> DamagedImages(platform::Sha256& sha256, std::span<const RecordedImage> images);

// The two images this program carries, with the digests its build recorded.
std::vector<RecordedImage> EmbeddedImages();

}  // namespace vorpane::payload
