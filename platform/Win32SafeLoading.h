#pragma once
// Where the program's libraries come from. An installer is often started from
// a downloads folder in which anyone may have left a library named like one of
// the system's; after RestrictLibraryLoading only the system directory is
// searched, and libraries that are not loaded at start-up by the system itself
// come through SystemLibrary, from the system directory alone.

#include <windows.h>

#include <vector>

#include "platform/Win32Handles.h"

namespace vorpane::platform {

// The program's first act: libraries only from the system directory (where the
// system can be told so), and no system dialog for a drive without a medium.
void RestrictLibraryLoading();

// The libraries of kPreloadedSystemLibraries (platform/PreloadedLibraries.h),
// loaded from the system directory before the first window and kept while
// this object lives, which is the program's whole run: later loads of the
// same names by system libraries find them loaded. Those the system lacks are
// skipped.
class PreloadedSystemLibraries {
 public:
  PreloadedSystemLibraries();
  PreloadedSystemLibraries(const PreloadedSystemLibraries&) = delete;
  PreloadedSystemLibraries& operator=(const PreloadedSystemLibraries&) = delete;

 private:
  std::vector<handles::Library> libraries_;
};

// A library of the system directory, loaded for as long as this object lives.
class SystemLibrary {
 public:
  // Throws std::runtime_error, naming the library, when it cannot be loaded.
  explicit SystemLibrary(const wchar_t* name);

  // The exported function of that name; throws std::runtime_error when absent.
  template <typename Function>
  Function function(const char* name) const {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address(name)));
  }

 private:
  FARPROC address(const char* name) const;

  handles::Library module_;
};

}  // namespace vorpane::platform
