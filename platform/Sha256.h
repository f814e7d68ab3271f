#pragma once
// SHA-256 digests of bytes, computed by whoever offers them: on Windows the
// system's own cryptography (Win32Sha256). The program computes none itself.

#include <array>
#include <cstdint>
#include <span>

namespace vorpane::platform {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
 public:
  virtual ~Sha256() = default;
  virtual Sha256Digest digestOf(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace vorpane::platform
