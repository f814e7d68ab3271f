#pragma once
// SHA-256 by the system's cryptography (CNG), loaded from the system directory.

#include <windows.h>

#include <bcrypt.h>

#include "platform/Sha256.h"
#include "platform/Win32SafeLoading.h"

namespace vorpane::platform {

class Win32Sha256 final : public Sha256 {
 public:
  // Throws std::runtime_error when the system offers no SHA-256.
  Win32Sha256();
  ~Win32Sha256() override;
  Win32Sha256(const Win32Sha256&) = delete;
  Win32Sha256& operator=(const Win32Sha256&) = delete;

  Sha256Digest digestOf(std::span<const std::uint8_t> bytes) override;

 private:
  SystemLibrary library_{L"bcrypt.dll"};
  decltype(&BCryptOpenAlgorithmProvider) openAlgorithmProvider_;
  decltype(&BCryptCloseAlgorithmProvider) closeAlgorithmProvider_;
  decltype(&BCryptCreateHash) createHash_;
  decltype(&BCryptHashData) hashData_;
  decltype(&BCryptFinishHash) finishHash_;
  decltype(&BCryptDestroyHash) destroyHash_;
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
};

}  // namespace vorpane::platform
