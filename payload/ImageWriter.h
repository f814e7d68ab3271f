#pragma once
// Writes one embedded program image to disk in 1024-byte chunks, so that the
// caller can show progress and keep its window alive between chunks.
//
// The image goes to a temporary file beside the target ("<target>.new") and
// takes the target's place only once it is complete, flushed and closed: an
// upgrade that fails midway (disk full, program still running) leaves the
// installed program as it was.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/Platform.h"

namespace vorpane::payload {

class ImageWriter {
 public:
  static constexpr std::int64_t kChunkSize = 1024;

  explicit ImageWriter(std::span<const std::uint8_t> image) : image_(image) {}
  ~ImageWriter() = default;
  ImageWriter(const ImageWriter&) = delete;
  ImageWriter& operator=(const ImageWriter&) = delete;

  // Asked when the complete image cannot take the target's place because
  // another program holds the target (the client still ending after it started
  // an upgrade); true means try again. Without it the refusal is reported at once,
  // as is a target that nobody holds but that cannot be written (read-only).
  using BusyTargetWait = std::function<bool()>;

  // When a complete image takes the target's place: at once, or only when
  // placeHeldImage() is called, so that a caller can write several images
  // before replacing any of them.
  enum class Placement { OnCompletion, Held };

  // Starts over: counters to 0 and a fresh temporary file beside the target,
  // written through the platform, which must stay alive until the image is
  // placed or discarded. Raises platform::IoError when the file cannot be
  // created (nothing written).
  void beginWrite(platform::Platform& platform, const std::string& path,
                  Placement placement = Placement::OnCompletion, BusyTargetWait busyTargetWait = {});

  // A held image, complete and closed beside its target, takes the target's
  // place (waiting for a busy target as above); raises platform::IoError naming
  // the target, untouched, after which the image is still held.
  void placeHeldImage();
  // Removes a held image, or an unfinished one, leaving the target as it was.
  void discardHeldImage() noexcept { abandon(); }

  // Writes the next chunk of up to 1024 bytes. The call that finds the image
  // exhausted closes the file and puts it in the target's place. Raises
  // platform::IoError on any failure, after removing the temporary file, and
  // with code 103 when no extraction is under way (also after the last call).
  void writeNextChunk();

  // True after the call that completed the target.
  bool writeDone() const { return bytesWritten_ > size(); }

  // The bytes written so far; size + 1 once the target is complete.
  std::int64_t bytesWritten() const { return bytesWritten_; }
  // The calls of writeNextChunk() since beginWrite().
  std::int32_t chunkIndex() const { return chunkIndex_; }
  std::int64_t size() const { return static_cast<std::int64_t>(image_.size()); }
  std::span<const std::uint8_t> image() const { return image_; }

  static std::string temporaryPathFor(const std::string& target) { return target + ".new"; }

 private:
  void complete();
  void abandon() noexcept;

  void replaceTarget();
  bool heldByAnotherProgram(int ioCode);

  std::span<const std::uint8_t> image_;
  platform::Platform* platform_ = nullptr;
  BusyTargetWait busyTargetWait_;
  std::unique_ptr<platform::OutputFile> file_;  // open only while an extraction is under way
  std::string target_;
  std::string temporary_;
  Placement placement_ = Placement::OnCompletion;
  std::int64_t bytesWritten_ = 0;
  std::int32_t chunkIndex_ = 0;
};

}  // namespace vorpane::payload
