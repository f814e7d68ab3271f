#pragma once
// The small pictures of the directory and drive choosers, drawn with GDI
// shapes on a 16 x 16 grid that is scaled to the box they are given, so they
// stay sharp at every screen resolution.

#include <windows.h>

#include "platform/Platform.h"
#include "ui/DirectoryRows.h"

namespace vorpane::ui::win32 {

// A closed folder, an open one (the ancestors) or an open one with a sheet
// in it (the current directory).
void drawFolderGlyph(HDC dc, const RECT& box, FolderGlyph glyph);

// Floppy, hard disk, network, CD-ROM or RAM disk; a hard disk for the rest.
void drawDriveGlyph(HDC dc, const RECT& box, platform::DriveType type);

}  // namespace vorpane::ui::win32
