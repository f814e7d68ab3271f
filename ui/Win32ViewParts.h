#pragma once
// What the files of the Win32 view share: its window classes, identifiers and
// row metrics, and what each kind of control is. Internal to the view.

#include <windows.h>

#include <string>

#include "ui/FormDescription.h"

namespace vorpane::ui::win32view {

inline constexpr const char* kFormClass = "VorpaneForm";
inline constexpr const char* kContainerClass = "VorpaneContainer";
inline constexpr const char* kLabelClass = "VorpaneLabel";
inline constexpr const char* kImageClass = "VorpaneImage";

// Control identifiers start above the ones the dialog manager reserves
// (IDOK, IDCANCEL, ...), so its own commands never reach a control.
inline constexpr int kFirstControlId = 100;
// Below the controls' ids, which their timers use.
inline constexpr UINT_PTR kProgressTimerId = 1;
inline constexpr ULONGLONG kProgressFrameMs = 15;
inline constexpr UINT_PTR kSubclassId = 1;

inline constexpr int kRowHeight = 16;        // directory and drive rows
inline constexpr int kGlyphSize = 16;        // folder and drive glyphs
inline constexpr int kIndentStep = 8;        // per directory level
inline constexpr int kDropDownHeight = 200;  // the open list of a combo box
// A drop-down list is its selection field plus a 3-pixel frame above and below.
inline constexpr int kComboFrame = 6;

inline bool isContainer(ControlKind kind) {
  return kind == ControlKind::Panel || kind == ControlKind::PageControl || kind == ControlKind::Page;
}

inline bool takesFocus(ControlKind kind) {
  switch (kind) {
    case ControlKind::Button:
    case ControlKind::Edit:
    case ControlKind::CheckBox:
    case ControlKind::ComboBox:
    case ControlKind::DirectoryList:
    case ControlKind::DriveSelector:
      return true;
    default:
      return false;
  }
}

// Labels and pictures are drawn on their parent rather than being controls of
// their own, so they lie beneath every windowed sibling.
inline bool liesBeneath(ControlKind kind) { return kind == ControlKind::Label || kind == ControlKind::Image; }

// Multi-line edit controls break lines only at "\r\n", and static texts wrap
// their words reliably only between such breaks; the wizard's texts break at a
// bare "\r" or "\n".
inline std::string withWindowsLineBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool bareReturn = text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n');
    const bool bareNewLine = text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
    if (bareReturn || bareNewLine) {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

inline bool multiLine(ControlKind kind) {
  return kind == ControlKind::Memo || kind == ControlKind::StaticText;
}

}  // namespace vorpane::ui::win32view
