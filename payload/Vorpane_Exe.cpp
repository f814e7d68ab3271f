#include "payload/Vorpane_Exe.h"

#include "payload/EmbeddedImages.h"
#include "payload/ImageWriter.h"

namespace vorpane::payload::Vorpane_Exe {

namespace {

ImageWriter& writer() {
  static ImageWriter instance(clientImage());
  return instance;
}

}  // namespace

std::int64_t size() { return writer().size(); }
std::span<const std::uint8_t> image() { return writer().image(); }
void SetPlatform(platform::Platform& platform) { writer().setPlatform(platform); }
void SetBusyTargetWait(ImageWriter::BusyTargetWait wait) { writer().setBusyTargetWait(std::move(wait)); }
void BeginWrite(const std::string& path) { writer().beginWrite(path); }
void BeginHeldWrite(const std::string& path) { writer().beginWrite(path, ImageWriter::Placement::Held); }
void PlaceWritten() { writer().placeHeldImage(); }
void DiscardWritten() { writer().discardHeldImage(); }
void WriteNextChunk() { writer().writeNextChunk(); }
bool WriteDone() { return writer().writeDone(); }
std::int64_t BytesWritten() { return writer().bytesWritten(); }
std::int32_t ChunkIndex() { return writer().chunkIndex(); }

}  // namespace vorpane::payload::Vorpane_Exe
