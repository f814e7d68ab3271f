#pragma once
// Directories compared as folders, not as text: two names of one folder are
// the same folder, whatever drive letter, letter case, "." and ".." or trailing
// backslash they were written with, and a folder is never the same as one
// inside it. Portable, over the platform's full and canonical paths.

#include <string>

#include "platform/Platform.h"

namespace vorpane::platform {

// The one name of a directory, with one trailing backslash: its canonical
// directory when it exists; when it does not (yet), its nearest existing
// folder's canonical directory with the rest of its full path; its full path
// when no folder of it exists. Raises IoError when the system cannot make the
// path full.
std::string normalizedDirectory(Platform& platform, const std::string& path);

// Whether two directories are the same folder: their normalised directories
// are equal without regard to the case of A to Z. A path the system cannot make
// full is no folder at all.
bool sameFolder(Platform& platform, const std::string& a, const std::string& b);

}  // namespace vorpane::platform
