#include "ui/Win32Glyphs.h"

#include <initializer_list>
#include <vector>

#include "platform/Win32Handles.h"

namespace vorpane::ui::win32 {

using handles::GdiObject;
using handles::Selection;

namespace {

constexpr int kGrid = 16;

constexpr COLORREF kFolderBack = RGB(0xD8, 0xA8, 0x30);
constexpr COLORREF kFolderFront = RGB(0xF8, 0xD8, 0x68);
constexpr COLORREF kFolderEdge = RGB(0x80, 0x60, 0x10);
constexpr COLORREF kSheet = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kSheetEdge = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kMetal = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kDark = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kFloppy = RGB(0x28, 0x38, 0x70);
constexpr COLORREF kLamp = RGB(0x20, 0xC0, 0x40);
constexpr COLORREF kCable = RGB(0x20, 0x40, 0xA0);
constexpr COLORREF kDisc = RGB(0xD8, 0xE0, 0xF0);
constexpr COLORREF kDiscShine = RGB(0xA0, 0xC8, 0xFF);
constexpr COLORREF kBoard = RGB(0x20, 0x80, 0x40);
constexpr COLORREF kChip = RGB(0x18, 0x18, 0x18);
constexpr COLORREF kPins = RGB(0xD0, 0xA0, 0x20);

// Draws shapes given on the 16 x 16 grid into the box.
class Grid {
 public:
  Grid(HDC dc, const RECT& box) : dc_(dc), box_(box) {}

  void polygon(std::initializer_list<POINT> points, COLORREF fill, COLORREF edge) const {
    std::vector<POINT> scaled;
    for (const POINT& p : points) scaled.push_back(at(p.x, p.y));
    Painting painting(dc_, fill, edge);
    Polygon(dc_, scaled.data(), static_cast<int>(scaled.size()));
  }
  // A rectangle from x0,y0 to x1,y1 inclusive on the grid.
  void rectangle(int x0, int y0, int x1, int y1, COLORREF fill, COLORREF edge) const {
    polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, fill, edge);
  }
  void ellipse(int x0, int y0, int x1, int y1, COLORREF fill, COLORREF edge) const {
    const POINT a = at(x0, y0), b = at(x1, y1);
    Painting painting(dc_, fill, edge);
    Ellipse(dc_, a.x, a.y, b.x + 1, b.y + 1);
  }
  void line(int x0, int y0, int x1, int y1, COLORREF colour) const {
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, penWidth(), colour));
    Selection selected(dc_, pen.get());
    const POINT a = at(x0, y0), b = at(x1, y1);
    MoveToEx(dc_, a.x, a.y, nullptr);
    LineTo(dc_, b.x, b.y);
  }

 private:
  // A fill and an outline selected for one shape.
  class Painting {
   public:
    Painting(HDC dc, COLORREF fill, COLORREF edge)
        : brush_(CreateSolidBrush(fill)),
          pen_(CreatePen(PS_SOLID, 1, edge)),
          brushSelection_(dc, brush_.get()),
          penSelection_(dc, pen_.get()) {}

   private:
    GdiObject<HBRUSH> brush_;
    GdiObject<HPEN> pen_;
    Selection brushSelection_;
    Selection penSelection_;
  };

  POINT at(int x, int y) const {
    return {box_.left + MulDiv(x, box_.right - box_.left, kGrid),
            box_.top + MulDiv(y, box_.bottom - box_.top, kGrid)};
  }
  int penWidth() const { return (box_.right - box_.left + kGrid - 1) / kGrid; }

  HDC dc_;
  RECT box_;
};

void closedFolder(const Grid& g) {
  g.polygon({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}}, kFolderBack, kFolderEdge);
  g.rectangle(1, 6, 14, 13, kFolderFront, kFolderEdge);
}

void openFolder(const Grid& g, bool withSheet) {
  g.polygon({{1, 3}, {6, 3}, {7, 5}, {13, 5}, {13, 13}, {1, 13}}, kFolderBack, kFolderEdge);
  if (withSheet) g.rectangle(4, 2, 12, 9, kSheet, kSheetEdge);
  g.polygon({{4, 7}, {15, 7}, {12, 13}, {1, 13}}, kFolderFront, kFolderEdge);
}

void floppy(const Grid& g) {
  g.polygon({{2, 1}, {13, 1}, {14, 2}, {14, 14}, {2, 14}}, kFloppy, kDark);
  g.rectangle(5, 1, 11, 5, kMetal, kDark);
  g.rectangle(4, 8, 12, 14, kSheet, kDark);
}

void hardDisk(const Grid& g) {
  g.polygon({{3, 5}, {13, 5}, {15, 8}, {1, 8}}, kMetal, kDark);
  g.rectangle(1, 8, 15, 12, kMetal, kDark);
  g.rectangle(12, 10, 13, 10, kLamp, kLamp);
}

void networkDrive(const Grid& g) {
  g.polygon({{3, 2}, {13, 2}, {15, 5}, {1, 5}}, kMetal, kDark);
  g.rectangle(1, 5, 15, 9, kMetal, kDark);
  g.rectangle(12, 7, 13, 7, kLamp, kLamp);
  g.line(8, 9, 8, 14, kCable);
  g.line(2, 14, 14, 14, kCable);
}

void cdRom(const Grid& g) {
  g.ellipse(1, 1, 14, 14, kDisc, kDark);
  g.ellipse(3, 3, 8, 8, kDiscShine, kDiscShine);
  g.ellipse(6, 6, 9, 9, kSheet, kDark);
}

void ramDisk(const Grid& g) {
  g.rectangle(0, 4, 15, 11, kBoard, kDark);
  for (int x : {2, 6, 10}) g.rectangle(x, 5, x + 2, 9, kChip, kChip);
  g.rectangle(1, 11, 14, 13, kPins, kDark);
}

}  // namespace

void drawFolderGlyph(HDC dc, const RECT& box, FolderGlyph glyph) {
  const Grid g(dc, box);
  switch (glyph) {
    case FolderGlyph::Closed:
      closedFolder(g);
      break;
    case FolderGlyph::Open:
      openFolder(g, false);
      break;
    case FolderGlyph::Current:
      openFolder(g, true);
      break;
  }
}

void drawDriveGlyph(HDC dc, const RECT& box, platform::DriveType type) {
  const Grid g(dc, box);
  switch (type) {
    case platform::DriveType::Removable:
      floppy(g);
      break;
    case platform::DriveType::Remote:
      networkDrive(g);
      break;
    case platform::DriveType::CdRom:
      cdRom(g);
      break;
    case platform::DriveType::RamDisk:
      ramDisk(g);
      break;
    default:
      hardDisk(g);
      break;
  }
}

}  // namespace vorpane::ui::win32
