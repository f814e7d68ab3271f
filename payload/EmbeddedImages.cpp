#include "payload/EmbeddedImages.h"

// Defined by the generated images object: the uninstaller's bytes followed by
// the client's, kUninstallerImageSize + kClientImageSize in all. The build checks
// that the sizes agree with the images it embedded.
extern "C" const std::uint8_t vorpane_payload_images[];

namespace vorpane::payload {

std::span<const std::uint8_t> uninstallerImage() {
  return {vorpane_payload_images, static_cast<std::size_t>(kUninstallerImageSize)};
}

std::span<const std::uint8_t> clientImage() {
  return {vorpane_payload_images + kUninstallerImageSize, static_cast<std::size_t>(kClientImageSize)};
}

}  // namespace vorpane::payload
