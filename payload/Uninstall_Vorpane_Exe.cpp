#include "payload/Uninstall_Vorpane_Exe.h"

#include "payload/EmbeddedImages.h"
#include "payload/ImageWriter.h"

namespace vorpane::payload::Uninstall_Vorpane_Exe {

ImageWriter& Writer() {
  static ImageWriter instance(uninstallerImage());
  return instance;
}

std::int64_t size() { return Writer().size(); }
std::span<const std::uint8_t> image() { return Writer().image(); }
void BeginWrite(platform::Platform& platform, const std::string& path) {
  Writer().beginWrite(platform, path);
}
void WriteNextChunk() { Writer().writeNextChunk(); }
bool WriteDone() { return Writer().writeDone(); }
std::int64_t BytesWritten() { return Writer().bytesWritten(); }
std::int32_t ChunkIndex() { return Writer().chunkIndex(); }

}  // namespace vorpane::payload::Uninstall_Vorpane_Exe
