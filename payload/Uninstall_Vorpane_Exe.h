#pragma once
// The uninstaller as the installer carries it, and the one process-wide writer that
// puts it on disk. The install and the upgrade runs share the writer, so only
// one extraction of this image may be under way at a time.
//
// Protocol: BeginWrite(platform, path), then WriteNextChunk() until WriteDone(), showing
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

// The module's one writer of this image, for a caller that places the image
// itself (held writes) or waits for a busy target; see ImageWriter.
ImageWriter& Writer();

// The protocol over that writer: BeginWrite, then WriteNextChunk until
// WriteDone, with BytesWritten for progress. The platform is the one the file
// is written through; it must outlive the extraction.
void BeginWrite(platform::Platform& platform, const std::string& path);
void WriteNextChunk();
bool WriteDone();
std::int64_t BytesWritten();
std::int32_t ChunkIndex();

}  // namespace vorpane::payload::Uninstall_Vorpane_Exe
