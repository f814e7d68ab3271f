#pragma once
// The two program images as the build linked them into the installer's
// initialised data: one contiguous block, the uninstaller first and the client
// directly after it, used as they are (no unpacking step).

#include <cstdint>
#include <span>

#include "payload/ImageSizes.h"

namespace vorpane::payload {

std::span<const std::uint8_t> uninstallerImage();
std::span<const std::uint8_t> clientImage();

}  // namespace vorpane::payload
