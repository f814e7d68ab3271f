// Writes a deterministic stand-in image for the native build: "MZP" followed by
// pseudo-random bytes, so that a copy placed at the wrong offset cannot pass for
// the right one.
//
//   vorpane_make_test_image <output> <size> <seed>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s <output> <size> <seed>\n", argv[0]);
    return 2;
  }
  const std::size_t size = std::strtoull(argv[2], nullptr, 10);
  std::uint64_t state = std::strtoull(argv[3], nullptr, 10) * 0x9E3779B97F4A7C15ull + 1;
  std::vector<unsigned char> image(size);
  for (std::size_t i = 0; i < size; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    image[i] = static_cast<unsigned char>(state >> 24);
  }
  const char header[] = {'M', 'Z', 'P'};
  for (std::size_t i = 0; i < sizeof header && i < size; ++i)
    image[i] = static_cast<unsigned char>(header[i]);

  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(image.data(), 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
