#pragma once
// The uninstaller as the installer carries it, and the one process-wide writer that
// puts it on disk. The install and the upgrade runs share the writer, so only
// one extraction of this image may be under way at a time.
//
// Protocol: BeginWrite(path), then WriteNextChunk() until WriteDone(), showing
// progress from BytesWritten() in between. The file at path is replaced only
// when the image is complete; see ImageWriter.

#include <cstdint>
#include <span>
#include <string>

#include "payload/ImageSizes.h"
#include "payload/ImageWriter.h"
#include "platform/Platform.h"

namespace vorpane::payload::Uninstall_Vorpane_Exe {

// The image's size in bytes, for the progress bar's maximum.
inline constexpr std::int64_t kSize = kUninstallerImageSize;

std::int64_t size();
std::span<const std::uint8_t> image();

// The platform to write through; set once at program start, before BeginWrite.
// It must outlive the extraction.
void SetPlatform(platform::Platform& platform);
// What to do while another program holds the target; see ImageWriter.
void SetBusyTargetWait(ImageWriter::BusyTargetWait wait);

void BeginWrite(const std::string& path);
// The same, but the complete image waits beside the target until PlaceWritten()
// (or DiscardWritten()), so that both programs can be replaced together.
void BeginHeldWrite(const std::string& path);
void PlaceWritten();
void DiscardWritten();
void WriteNextChunk();
bool WriteDone();
std::int64_t BytesWritten();
std::int32_t ChunkIndex();

}  // namespace vorpane::payload::Uninstall_Vorpane_Exe
