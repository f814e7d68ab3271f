// Writes the two images exactly as the program embeds them to the two files
// given, so that the build can record their digests where it has no other way
// to get at those bytes (a generated array, as with MSVC).

#include <cstdio>
#include <span>

#include "payload/EmbeddedImages.h"

namespace {

bool write(const char* path, std::span<const std::uint8_t> bytes) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vorpane::payload;
  if (argc != 3) {
    std::fprintf(stderr, "usage: write_embedded_images <uninstaller file> <client file>\n");
    return 2;
  }
  if (!write(argv[1], uninstallerImage()) || !write(argv[2], clientImage())) {
    std::perror("write_embedded_images");
    return 1;
  }
  return 0;
}
