// The view's fonts: the form's faces at the screen's scale, with scalable
// stand-ins where a bitmap face lacks a size, and the fitting of texts to them.
#include "ui/Win32View.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>

#include "ui/Win32ViewParts.h"

namespace vorpane::ui {

using namespace win32view;

using handles::Selection;
using handles::WindowContext;

// The text's single-line extent in a font, its height at least one line.
SIZE Win32View::textExtent(HFONT font, const std::string& text) const {
  WindowContext screen(nullptr);
  Selection selected(screen.dc(), font);
  SIZE extent{0, 0};
  GetTextExtentPoint32A(screen.dc(), text.c_str(), static_cast<int>(text.size()), &extent);
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen.dc(), &metrics);
  extent.cy = std::max<LONG>(extent.cy, metrics.tmHeight);
  return extent;
}

// An auto-sized label takes the size of its text. A label of stored size
// grows when its text is wider, as the fonts of other systems may be: a label
// is one line, and a cut-off word would be lost to the reader.
void Win32View::fitLabel(Control& control) {
  const ControlDescription& d = *control.description;
  const SIZE extent = textExtent(control.font, model_.text(d.name));
  const RECT box = scaled(d.bounds);
  const int width = d.autoSize ? extent.cx : std::max<int>(box.right - box.left, extent.cx);
  const int height = d.autoSize ? extent.cy : box.bottom - box.top;
  RECT current{};
  GetClientRect(control.window, &current);
  if (current.right == width && current.bottom == height) return;  // a percentage of the same width
  SetWindowPos(control.window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A static text box only one line high widens rather than wrap its last
// words below its bottom edge, where nobody would see them.
void Win32View::fitStaticText(Control& control) {
  const ControlDescription& d = *control.description;
  const SIZE extent = textExtent(control.font, model_.text(d.name));
  const RECT box = scaled(d.bounds);
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  if (height >= 2 * extent.cy) return;
  SetWindowPos(control.window, nullptr, 0, 0, std::max<int>(width, extent.cx), height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// Faces tried when the form's face cannot be drawn at a size: the scalable
// twin of the form's bitmap face, then a face every system has.
constexpr const char* kScalableFaces[] = {"Microsoft Sans Serif", "Tahoma"};

handles::GdiObject<HFONT> createFont(const std::string& face, int pixelHeight, const Font& font) {
  // A negative height asks for the character height, which is what the
  // form's pixel heights (11 for 8 point) measure.
  return handles::GdiObject<HFONT>(CreateFontA(-pixelHeight, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                                               font.italic, font.underline, FALSE, DEFAULT_CHARSET,
                                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                               DEFAULT_PITCH | FF_SWISS, face.c_str()));
}

// Whether the system draws the font in the face asked for rather than in a
// substitute.
bool realisedInFace(HFONT font, const std::string& face) {
  WindowContext screen(nullptr);
  Selection selected(screen.dc(), font);
  char realised[LF_FACESIZE] = {};
  GetTextFaceA(screen.dc(), LF_FACESIZE, realised);
  return lstrcmpiA(realised, face.c_str()) == 0;
}

struct SizeQuery {
  int characterHeight;
  bool available = false;
};

int CALLBACK checkFontSize(const LOGFONTA*, const TEXTMETRICA* metrics, DWORD type, LPARAM data) {
  auto& query = *reinterpret_cast<SizeQuery*>(data);
  if ((type & RASTER_FONTTYPE) == 0 ||
      std::abs(metrics->tmHeight - metrics->tmInternalLeading - query.characterHeight) <= 1) {
    query.available = true;
    return 0;
  }
  return 1;
}

// Whether a face can be drawn crisply at a character height: scalable faces
// always can, bitmap faces only in the sizes they come in. Asked for another,
// a bitmap face gives a smaller size or a coarse enlargement.
bool faceHasSize(const std::string& face, int characterHeight) {
  WindowContext screen(nullptr);
  SizeQuery query{characterHeight};
  EnumFontFamiliesA(screen.dc(), face.c_str(), &checkFontSize, reinterpret_cast<LPARAM>(&query));
  return query.available;
}

}  // namespace

HFONT Win32View::fontFor(const Font& font) {
  const std::string key = font.face + '|' + std::to_string(font.height) + '|' + (font.bold ? 'b' : '-') +
                          (font.italic ? 'i' : '-') + (font.underline ? 'u' : '-');
  auto& slot = fonts_[key];
  if (slot) return slot.get();

  const int height = scale(font.height);
  if (faceHasSize(font.face, height)) slot = createFont(font.face, height, font);
  for (const char* face : kScalableFaces) {
    if (slot) break;
    if (auto other = createFont(face, height, font); other && realisedInFace(other.get(), face))
      slot = std::move(other);
  }
  // Without any of them the system's own choice for the face is still text.
  if (!slot) slot = createFont(font.face, height, font);
  if (!slot) throw std::runtime_error("cannot create the font " + font.face);
  return slot.get();
}

}  // namespace vorpane::ui
