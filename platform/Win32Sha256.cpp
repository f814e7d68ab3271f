#include "platform/Win32Sha256.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace vorpane::platform {

namespace {

void check(NTSTATUS status, const char* step) {
  if (status >= 0) return;
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
  throw std::runtime_error(std::string("The system cannot compute a SHA-256 digest (") + step + ": " + code +
                           ")");
}

}  // namespace

Win32Sha256::Win32Sha256()
    : openAlgorithmProvider_(
          library_.function<decltype(openAlgorithmProvider_)>("BCryptOpenAlgorithmProvider")),
      closeAlgorithmProvider_(
          library_.function<decltype(closeAlgorithmProvider_)>("BCryptCloseAlgorithmProvider")),
      createHash_(library_.function<decltype(createHash_)>("BCryptCreateHash")),
      hashData_(library_.function<decltype(hashData_)>("BCryptHashData")),
      finishHash_(library_.function<decltype(finishHash_)>("BCryptFinishHash")),
      destroyHash_(library_.function<decltype(destroyHash_)>("BCryptDestroyHash")) {
  check(openAlgorithmProvider_(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0), "open");
}

Win32Sha256::~Win32Sha256() { closeAlgorithmProvider_(algorithm_, 0); }

Sha256Digest Win32Sha256::digestOf(std::span<const std::uint8_t> bytes) {
  BCRYPT_HASH_HANDLE hash = nullptr;
  // The system allocates the hash object itself (Windows 7 and later).
  check(createHash_(algorithm_, &hash, nullptr, 0, nullptr, 0, 0), "create");
  struct Destroy {
    decltype(&BCryptDestroyHash) destroy;
    BCRYPT_HASH_HANDLE hash;
    ~Destroy() { destroy(hash); }
  } destroyAtEnd{destroyHash_, hash};
  // The data goes in pieces a ULONG can count.
  constexpr std::size_t kPiece = 1u << 30;
  for (std::size_t offset = 0; offset < bytes.size(); offset += kPiece) {
    const std::size_t length = std::min(kPiece, bytes.size() - offset);
    check(hashData_(hash, const_cast<PUCHAR>(bytes.data() + offset), static_cast<ULONG>(length), 0), "hash");
  }
  Sha256Digest digest{};
  check(finishHash_(hash, digest.data(), static_cast<ULONG>(digest.size()), 0), "finish");
  return digest;
}

}  // namespace vorpane::platform
