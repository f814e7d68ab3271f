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

// The height a text takes when its words wrap at a width, as a static text
// control draws it.
int Win32View::wrappedHeight(HFONT font, const std::string& text, int width) const {
  WindowContext screen(nullptr);
  Selection selected(screen.dc(), font);
  const std::string shown = withWindowsLineBreaks(text);
  RECT box{0, 0, width, 0};
  DrawTextA(screen.dc(), shown.c_str(), static_cast<int>(shown.size()), &box,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  return box.bottom;
}

// How far a text's box may grow to the right and downwards: up to the nearest
// control of the same parent beside or below it, and never out of the parent,
// so a grown text covers nothing else.
POINT Win32View::growthLimit(const Control& control) const {
  const ControlDescription& d = *control.description;
  RECT parent{};
  GetClientRect(GetParent(control.window), &parent);
  POINT limit{parent.right, parent.bottom};
  const Rect& box = d.bounds;
  for (const Control& other : controls_) {
    const ControlDescription& o = *other.description;
    if (&other == &control || o.parent != d.parent || o.kind == ControlKind::Timer) continue;
    const Rect& s = o.bounds;
    const bool sameRows = s.y < box.y + box.h && s.y + s.h > box.y;
    const bool sameColumns = s.x < box.x + box.w && s.x + s.w > box.x;
    if (sameRows && s.x >= box.x + box.w) limit.x = std::min<LONG>(limit.x, scale(s.x));
    if (sameColumns && s.y >= box.y + box.h) limit.y = std::min<LONG>(limit.y, scale(s.y));
  }
  return limit;
}

// A size grown to what a text needs, within the free space beside and below
// the box, and never smaller than the box.
SIZE Win32View::grownSize(const Control& control, SIZE needed) const {
  const RECT box = scaled(control.description->bounds);
  const POINT limit = growthLimit(control);
  const LONG width = box.right - box.left;
  const LONG height = box.bottom - box.top;
  return {std::max(width, std::min(needed.cx, limit.x - box.left)),
          std::max(height, std::min(needed.cy, limit.y - box.top))};
}

void Win32View::resizeTo(const Control& control, SIZE size) {
  RECT current{};
  GetClientRect(control.window, &current);
  if (current.right == size.cx && current.bottom == size.cy) return;  // a percentage of the same width
  SetWindowPos(control.window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// An auto-sized label takes the size of its text. A label of stored size
// grows into free space when its text is wider or taller, as the fonts of
// other systems and resolutions may be: a label is one line, and a cut-off
// word would be lost to the reader.
void Win32View::fitLabel(Control& control) {
  const ControlDescription& d = *control.description;
  if (d.wordWrap) return;  // its lines break within the stored box
  const SIZE extent = textExtent(control.font, model_.text(d.name));
  resizeTo(control, d.autoSize ? extent : grownSize(control, extent));
}

// A static text box only one line high widens rather than wrap its last
// words below its bottom edge, where nobody would see them; a taller box
// grows downwards when its wrapped lines need more room.
void Win32View::fitStaticText(Control& control) {
  const ControlDescription& d = *control.description;
  const std::string& text = model_.text(d.name);
  const SIZE extent = textExtent(control.font, text);
  const RECT box = scaled(d.bounds);
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  if (height < 2 * extent.cy) {
    resizeTo(control, grownSize(control, extent));
    return;
  }
  resizeTo(control, grownSize(control, {width, wrappedHeight(control.font, text, width)}));
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
