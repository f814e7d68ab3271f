#include "payload/ImageWriter.h"

#include <algorithm>
#include <stdexcept>

namespace vorpane::payload {

void ImageWriter::beginWrite(platform::Platform& platform, const std::string& path, Placement placement,
                             BusyTargetWait busyTargetWait) {
  abandon();
  platform_ = &platform;
  busyTargetWait_ = std::move(busyTargetWait);
  chunkIndex_ = 0;
  bytesWritten_ = 0;
  const std::string temporary = temporaryPathFor(path);
  // Errors name the program being written: the file beside it is the
  // writer's own business.
  file_ = platform::NamingFile(path, [&] { return platform_->createFile(temporary); });
  target_ = path;
  temporary_ = temporary;
  placement_ = placement;
}

void ImageWriter::writeNextChunk() {
  if (!file_) throw platform::IoError(platform::io::FileNotOpen);
  ++chunkIndex_;
  try {
    platform::NamingFile(target_, [this] {
      const std::int64_t count = std::min(kChunkSize, size() - bytesWritten_);
      if (count > 0) {
        file_->write(image_.data() + bytesWritten_, static_cast<std::size_t>(count));
        bytesWritten_ += count;
      }
      if (count < kChunkSize) complete();
    });
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
      if (!heldByAnotherProgram(error.code())) throw platform::IoError(error.code(), target_);
      // Whatever the system called it, the target is held by a program.
      if (!busyTargetWait_ || !busyTargetWait_())
        throw platform::IoError(platform::io::SharingViolation, target_);
    }
  }
}

// "Access denied" also answers a read-only target, which no waiting changes.
bool ImageWriter::heldByAnotherProgram(int ioCode) {
  if (ioCode == platform::io::SharingViolation) return true;
  return ioCode == platform::io::AccessDenied && platform_->fileInUse(target_);
}

void ImageWriter::abandon() noexcept {
  file_.reset();  // closes the handle first: an open file cannot be removed everywhere
  if (!temporary_.empty() && platform_ != nullptr) platform_->removeFile(temporary_);
  temporary_.clear();
  // The wait belongs to one extraction and may refer to its caller's state.
  busyTargetWait_ = nullptr;
}

}  // namespace vorpane::payload
