#include "platform/IoError.h"

namespace vorpane::platform {

bool hasOwnMessage(int code) { return ioErrorMessage(code).rfind("I/O error ", 0) != 0; }

std::string ioErrorMessage(int code) {
  switch (code) {
    case io::FileNotFound:
      return "File not found";
    case io::InvalidFilename:
      return "Invalid filename";
    case io::TooManyOpenFiles:
      return "Too many open files";
    case io::AccessDenied:
      return "File access denied";
    case io::ReadBeyondEnd:
      return "Read beyond end of file";
    case io::DiskFull:
      return "Disk full";
    case io::SharingViolation:
      return "File in use";
    case io::InvalidNumericInput:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

}  // namespace vorpane::platform
