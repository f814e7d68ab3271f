// Staging a program to run from: placeholders until the staging lands.
#include <windows.h>

#include "platform/Win32Platform.h"

namespace vorpane::platform {

bool Win32Platform::createStagingFolder(const std::string&) { return false; }

std::unique_ptr<FileHold> Win32Platform::writeHeldFile(const std::string&, const std::vector<std::uint8_t>&) {
  throw IoError(io::AccessDenied);
}

}  // namespace vorpane::platform
