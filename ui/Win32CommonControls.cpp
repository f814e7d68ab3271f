#include "ui/Win32CommonControls.h"

#include "platform/Win32SafeLoading.h"

namespace vorpane::ui::win32view {

namespace {

struct LoadedCommonControls {
  platform::SystemLibrary library{L"comctl32.dll"};
  CommonControls functions{
      library.function<decltype(&InitCommonControlsEx)>("InitCommonControlsEx"),
      library.function<decltype(&SetWindowSubclass)>("SetWindowSubclass"),
      library.function<decltype(&DefSubclassProc)>("DefSubclassProc"),
      library.function<decltype(&RemoveWindowSubclass)>("RemoveWindowSubclass"),
  };
};

}  // namespace

const CommonControls& commonControls() {
  static const LoadedCommonControls loaded;
  return loaded.functions;
}

}  // namespace vorpane::ui::win32view
