#include "payload/ImageWriter.h"

#include <algorithm>
#include <stdexcept>

namespace vorpane::payload {

void ImageWriter::setPlatform(platform::Platform& platform) {
  if (platform_ != &platform) abandon();
  platform_ = &platform;
}

void ImageWriter::beginWrite(const std::string& path, Placement placement) {
  if (platform_ == nullptr) throw std::logic_error("The image writer has no platform to write with");
  abandon();
  chunkIndex_ = 0;
  bytesWritten_ = 0;
  const std::string temporary = temporaryPathFor(path);
  file_ = platform_->createFile(temporary);
  target_ = path;
  temporary_ = temporary;
  placement_ = placement;
}

void ImageWriter::writeNextChunk() {
  if (!file_) throw platform::IoError(platform::io::FileNotOpen);
  ++chunkIndex_;
  try {
    const std::int64_t count = std::min(kChunkSize, size() - bytesWritten_);
    if (count > 0) {
      file_->write(image_.data() + bytesWritten_, static_cast<std::size_t>(count));
      bytesWritten_ += count;
    }
    if (count < kChunkSize) complete();
  } catch (...) {
    abandon();
    throw;
  }
}

// Only a file that is whole and closed may replace the target; until then the
// old program stays in place.
void ImageWriter::complete() {
  file_->close();
  file_.reset();
  if (placement_ == Placement::OnCompletion) {
    replaceTarget();
    temporary_.clear();
  }
  bytesWritten_ = size() + 1;
}

void ImageWriter::placeHeldImage() {
  if (file_ || temporary_.empty()) throw platform::IoError(platform::io::FileNotOpen);
  replaceTarget();
  temporary_.clear();
}

void ImageWriter::replaceTarget() {
  for (;;) {
    try {
      platform_->replaceFile(temporary_, target_);
      return;
    } catch (const platform::IoError& error) {
      if (!platform::isInUse(error.code()) || !busyTargetWait_ || !busyTargetWait_()) throw;
    }
  }
}

void ImageWriter::abandon() noexcept {
  file_.reset();  // closes the handle first: an open file cannot be removed everywhere
  if (!temporary_.empty() && platform_ != nullptr) platform_->removeFile(temporary_);
  temporary_.clear();
}

}  // namespace vorpane::payload
