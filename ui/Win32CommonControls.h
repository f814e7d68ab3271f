#pragma once
// The common controls the view uses, loaded from the system when first needed
// rather than imported, so that no library of that name beside the program is
// ever taken. The manifest's side-by-side choice (version 6, themed) still
// applies to the load.

#include <windows.h>

#include <commctrl.h>

namespace vorpane::ui::win32view {

struct CommonControls {
  decltype(&InitCommonControlsEx) initCommonControlsEx;
  decltype(&SetWindowSubclass) setWindowSubclass;
  decltype(&DefSubclassProc) defSubclassProc;
  decltype(&RemoveWindowSubclass) removeWindowSubclass;
};

// Loaded once and kept for the process's life; throws std::runtime_error when
// the system's common controls cannot be loaded.
const CommonControls& commonControls();

}  // namespace vorpane::ui::win32view
