// The view's painting: the containers, labels and pictures it draws itself,
// the colours of system controls, and the owner-drawn directory and drive rows.
#include "ui/Win32View.h"

#include <commctrl.h>

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <tuple>

#include "ui/Win32Glyphs.h"
#include "ui/Win32ViewParts.h"

namespace vorpane::ui {

using namespace win32view;

using handles::Selection;

void Win32View::paintContainer(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  const Control* control = window == window_ ? nullptr : find(window);
  const COLORREF background =
      control != nullptr ? control->background : colourOf(model_.description().colour);
  FillRect(dc, &client, brushFor(background));
  if (control == nullptr) return;

  const ControlDescription& d = *control->description;
  if (d.kind == ControlKind::PageControl) DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
  if (d.kind != ControlKind::Panel) return;
  if (d.raisedBevel) DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
  const std::string& caption = model_.text(d.name);
  if (caption.empty()) return;
  Selection font(dc, control->font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colourOf(d.font.colour));
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &client,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Win32View::paintLabel(const Control& control, HDC dc) {
  RECT client;
  GetClientRect(control.window, &client);
  FillRect(dc, &client, brushFor(control.background));
  const std::string& text = model_.text(control.description->name);
  Selection font(dc, control.font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colourOf(control.description->font.colour));
  if (control.description->wordWrap) {
    paintWrappedText(control, dc, client);
    return;
  }
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

// Whole lines only, as many as the box holds, centred in it; a text with more
// lines ends in "..." on the last one shown, so no line is cut in half.
void Win32View::paintWrappedText(const Control& control, HDC dc, RECT box) {
  const std::string& text = model_.text(control.description->name);
  constexpr UINT kFormat = DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS | DT_NOPREFIX;
  RECT needed = box;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &needed, kFormat | DT_CALCRECT);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const LONG line = std::max<LONG>(1, metrics.tmHeight);
  const LONG room = (box.bottom - box.top) / line * line;
  box.top += (box.bottom - box.top - std::min(needed.bottom - needed.top, room)) / 2;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box, kFormat);
}

void Win32View::paintImage(const Control& control, HDC dc) {
  RECT client;
  GetClientRect(control.window, &client);
  FillRect(dc, &client, brushFor(control.background));
  if (!control.picture) return;
  const handles::MemoryDc memory(CreateCompatibleDC(dc));
  Selection picture(memory.get(), control.picture.bitmap.get());
  BitBlt(dc, 0, 0, control.picture.width, control.picture.height, memory.get(), 0, 0, SRCCOPY);
}

LRESULT Win32View::controlColour(HDC dc, HWND child) {
  const Control* control = find(child);
  if (control == nullptr) return 0;
  const ControlDescription& d = *control->description;
  switch (d.kind) {
    case ControlKind::Button: {
      // Only the corners around a push button show this colour: the parent's.
      const ControlDescription* parent = model_.description().find(d.parent);
      return reinterpret_cast<LRESULT>(
          brushFor(parent != nullptr ? backgroundOf(*parent) : colourOf(model_.description().colour)));
    }
    case ControlKind::Memo:
    case ControlKind::Edit:
    case ControlKind::StaticText:
    case ControlKind::CheckBox:
      SetTextColor(dc, colourOf(d.font.colour));
      SetBkColor(dc, control->background);
      return reinterpret_cast<LRESULT>(brushFor(control->background));
    default:
      return 0;
  }
}

void Win32View::measureItem(MEASUREITEMSTRUCT& item) {
  const Control* control = findById(static_cast<int>(item.CtlID));
  item.itemHeight = static_cast<UINT>(scale(kRowHeight));
  // The closed drop-down list keeps the height the form gives it.
  if (control != nullptr && control->description->kind == ControlKind::DriveSelector &&
      item.itemID == UINT(-1))
    item.itemHeight = static_cast<UINT>(std::max(1, scale(control->description->bounds.h) - kComboFrame));
}

void Win32View::drawItem(const DRAWITEMSTRUCT& item) {
  const Control* control = findById(static_cast<int>(item.CtlID));
  if (control == nullptr || item.itemID == UINT(-1)) return;
  if (control->description->kind == ControlKind::DirectoryList) drawDirectoryRow(*control, item);
  if (control->description->kind == ControlKind::DriveSelector) drawDriveRow(*control, item);
}

namespace {

// The background, glyph box and text of one owner-drawn row.
struct RowLayout {
  RECT glyph;
  RECT text;
};

RowLayout layRow(const RECT& row, int left, int glyphSize, int gap) {
  const int height = row.bottom - row.top;
  const int size = std::min(glyphSize, height);
  const int top = row.top + (height - size) / 2;
  return {{left, top, left + size, top + size}, {left + size + gap, row.top, row.right, row.bottom}};
}

void paintRowText(HDC dc, const DRAWITEMSTRUCT& item, const RowLayout& layout, const std::string& text) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT textBox = layout.text;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textBox,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &item.rcItem);
}

}  // namespace

void Win32View::drawDirectoryRow(const Control& control, const DRAWITEMSTRUCT& item) {
  if (item.itemID >= control.rows.size()) return;
  const DirectoryRow& row = control.rows[item.itemID];
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const int left = static_cast<int>(item.rcItem.left) + scale(2) + row.indent * scale(kIndentStep);
  const RowLayout layout = layRow(item.rcItem, left, scale(kGlyphSize), scale(4));
  win32::drawFolderGlyph(dc, layout.glyph, row.glyph);
  Selection font(dc, control.font);
  paintRowText(dc, item, layout, row.name);
}

void Win32View::drawDriveRow(const Control& control, const DRAWITEMSTRUCT& item) {
  if (item.itemID >= control.drives.size()) return;
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const RowLayout layout =
      layRow(item.rcItem, static_cast<int>(item.rcItem.left) + scale(2), scale(kGlyphSize), scale(4));
  win32::drawDriveGlyph(dc, layout.glyph, control.drives[item.itemID].type);
  Selection font(dc, control.font);
  paintRowText(dc, item, layout, control.driveTexts[item.itemID]);
}

COLORREF Win32View::colourOf(Colour colour) const {
  if (colour == colours::ButtonFace) return GetSysColor(COLOR_BTNFACE);
  if (colour == colours::WindowText) return GetSysColor(COLOR_WINDOWTEXT);
  if (colours::isSystem(colour)) return GetSysColor(COLOR_WINDOW);
  return RGB((colour.value >> 16) & 0xFF, (colour.value >> 8) & 0xFF, colour.value & 0xFF);
}

COLORREF Win32View::backgroundOf(const ControlDescription& description) const {
  if (!description.parentColour) return colourOf(description.colour);
  const ControlDescription* parent = model_.description().find(description.parent);
  return parent != nullptr ? backgroundOf(*parent) : colourOf(model_.description().colour);
}

HBRUSH Win32View::brushFor(COLORREF colour) {
  auto& slot = brushes_[colour];
  if (!slot) {
    slot.reset(CreateSolidBrush(colour));
    if (!slot) throw std::runtime_error("cannot create a brush");
  }
  return slot.get();
}

}  // namespace vorpane::ui
