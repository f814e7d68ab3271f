#pragma once
// The form's pictures travel inside the program as RCDATA resources named
// after their files ("welcome.jpg"); Windows' own imaging component decodes
// them when the form is created. COM must be initialised on the thread.

#include <wincodec.h>
#include <windows.h>

#include <string>

#include "platform/Win32Handles.h"

namespace vorpane::ui::win32 {

using handles::ComPtr;
using handles::GdiObject;

// A picture rendered for one box: a device-independent bitmap of the box's
// pixel size, already composed over the background of the box.
struct RenderedPicture {
  GdiObject<HBITMAP> bitmap;
  int width = 0;
  int height = 0;
  explicit operator bool() const { return bitmap.valid(); }
};

// Renders the embedded pictures, all with one imaging factory, made when the
// first picture is wanted.
class PictureDecoder {
 public:
  // Decodes the embedded picture and scales it to width x height, laying any
  // transparent parts over the background. Returns an empty picture when the
  // resource is missing or cannot be decoded: the pictures are decoration, and
  // a box without one must not keep the installer from running.
  RenderedPicture render(HINSTANCE instance, const std::string& name, int width, int height,
                         COLORREF background);

 private:
  ComPtr<IWICImagingFactory> factory_;
};

}  // namespace vorpane::ui::win32
