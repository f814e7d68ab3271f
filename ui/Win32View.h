#pragma once
// The wizard form as real windows. The view creates one window per control of
// the form description, shows what the model holds and keeps the two in step
// both ways: model changes update the windows, and what the user does in the
// windows goes to the model's setters and events, which run the handlers.
//
// Geometry, fonts and pictures are described at 96 dpi and scaled to the
// screen's resolution, so the form keeps its layout at 100, 125 or 150 %.

#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Platform.h"
#include "platform/Win32Handles.h"
#include "ui/DirectoryRows.h"
#include "ui/FormModel.h"
#include "ui/Win32Pictures.h"

namespace vorpane::ui {

class Win32View final : public FormView {
 public:
  // What the view does with an exception it caught in a window procedure,
  // where it must not travel further.
  using FailureHandler = std::function<void(const std::exception&)>;

  // The program's icon group resource, also shown in the window's icon.
  static constexpr int kIconResource = 1;

  // platform lists the directories and drives the choosers show; instance
  // holds the pictures and the icon.
  Win32View(FormModel& model, platform::Platform& platform, HINSTANCE instance);
  ~Win32View() override;
  Win32View(const Win32View&) = delete;
  Win32View& operator=(const Win32View&) = delete;

  void setFailureHandler(FailureHandler handler) { failureHandler_ = std::move(handler); }

  // Creates the main window, hidden, with the controls outside the pages and
  // the active page, showing the model's present state. Any other page and its
  // controls are created when it is first shown: most pages are never seen by
  // a run, and the first page shows sooner. Throws std::runtime_error when
  // Windows refuses a window.
  void create();
  // Shows the main window centred on the screen and activates it.
  void showCentred();

  HWND window() const { return window_; }
  // The window of a control, or nullptr for names without one.
  HWND controlWindow(const std::string& name) const;
  // The font a control's text is drawn in, or nullptr for names without one.
  HFONT controlFont(const std::string& name) const;
  // The screen resolution the form is laid out for, in dots per inch.
  int dpi() const { return dpi_; }

  // --- FormView ----------------------------------------------------------------------
  void modelChanged(const std::string& control, Property property) override;
  void activePageChanged(const std::string& page) override;
  void focusChanged(const std::string& control) override;

 private:
  struct Control {
    const ControlDescription* description = nullptr;
    HWND window = nullptr;
    int id = 0;
    HFONT font = nullptr;  // owned by the font cache
    COLORREF background = 0;
    std::vector<DirectoryRow> rows;       // directory lists
    std::vector<DriveEntry> drives;       // drive selectors
    std::vector<std::string> driveTexts;  // drive selectors, "c: [label]"
    win32::RenderedPicture picture;       // images
    int shownMaximum = -1;                // progress bars: the range the window has
    ULONGLONG shownAt = 0;                // progress bars: when the window was given a position
    bool progressPending = false;         // progress bars: a newer position waits for the timer
  };

  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK controlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR subclass, DWORD_PTR data);
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void fail(const std::exception& error);

  // --- creation ---------------------------------------------------------------------
  void registerClasses();
  void createMainWindow();
  void createChildren(const std::string& parent, HWND parentWindow);
  void createPageOnFirstShow(Control& page);
  void createControl(Control& control, HWND parentWindow);
  void showModelState(Control& control);
  void createPicture(Control& control);
  void fitClosedHeight(const Control& control);

  // --- painting ---------------------------------------------------------------------
  void paintContainer(HWND window, HDC dc);
  void paintLabel(const Control& control, HDC dc);
  void paintWrappedText(const Control& control, HDC dc, RECT box);
  void paintImage(const Control& control, HDC dc);
  LRESULT controlColour(HDC dc, HWND child);
  void measureItem(MEASUREITEMSTRUCT& item);
  void drawItem(const DRAWITEMSTRUCT& item);
  void drawDirectoryRow(const Control& control, const DRAWITEMSTRUCT& item);
  void drawDriveRow(const Control& control, const DRAWITEMSTRUCT& item);

  // --- user input -------------------------------------------------------------------
  void command(WPARAM wParam, LPARAM lParam);
  LRESULT defaultButtonId() const;
  void enterSelectedDirectory(const Control& control);
  void pickSelectedDrive(const Control& control);
  void activated(WPARAM wParam);
  void restoreFocus();
  void labelClicked(const Control& control);

  // --- model to windows -------------------------------------------------------------
  void showText(Control& control);
  void showProgress(Control& control);
  void showVisibility(const Control& control);
  void showDefaultButton();
  void showSelection(const Control& control);
  void showPendingProgress();
  void showItems(const Control& control);
  void showDirectory(Control& control);
  void showDrive(const Control& control);
  void showTimer(const Control& control);
  void fitLabel(Control& control);
  void fitStaticText(Control& control);
  SIZE textExtent(HFONT font, const std::string& text) const;
  int wrappedHeight(HFONT font, const std::string& text, int width) const;
  POINT growthLimit(const Control& control) const;
  SIZE grownSize(const Control& control, SIZE needed) const;
  void resizeTo(const Control& control, SIZE size);
  void focusFirstControlOf(HWND container);

  // --- lookups and scaling ----------------------------------------------------------
  Control* find(const std::string& name);
  const Control* find(const std::string& name) const;
  Control* find(HWND window);
  Control* findById(int id);
  int scale(int designPixels) const { return MulDiv(designPixels, dpi_, 96); }
  RECT scaled(const Rect& bounds) const;
  COLORREF colourOf(Colour colour) const;
  COLORREF backgroundOf(const ControlDescription& description) const;
  HFONT fontFor(const Font& font);
  HBRUSH brushFor(COLORREF colour);

  FormModel& model_;
  platform::Platform& platform_;
  HINSTANCE instance_;
  FailureHandler failureHandler_;
  int dpi_ = 96;
  HWND window_ = nullptr;
  std::vector<Control> controls_;
  std::unordered_map<std::string, std::size_t> byName_;
  std::unordered_map<HWND, std::size_t> byWindow_;
  std::map<std::string, handles::GdiObject<HFONT>> fonts_;
  std::map<COLORREF, handles::GdiObject<HBRUSH>> brushes_;
  win32::PictureDecoder pictures_;
  HWND savedFocus_ = nullptr;
  // The button drawn as the default push button, the one Enter presses.
  HWND defaultShown_ = nullptr;
  // Set while the view itself writes into a window, so the change it causes
  // is not taken for the user's.
  bool updatingWindow_ = false;
};

}  // namespace vorpane::ui
