#include "ui/Win32View.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <tuple>
#include <utility>

#include "ui/Win32CommonControls.h"
#include "ui/Win32ViewParts.h"

namespace vorpane::ui {

using handles::GdiObject;
using handles::PaintContext;
using handles::Selection;
using handles::WindowContext;
using namespace win32view;

namespace {

std::string windowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

// Sets a flag for one scope and restores the earlier value, so nested
// updates leave it as they found it.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = previous_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

}  // namespace

// --- construction ----------------------------------------------------------------------

Win32View::Win32View(FormModel& model, platform::Platform& platform, HINSTANCE instance)
    : model_(model), platform_(platform), instance_(instance) {
  const auto& controls = model_.description().controls;
  controls_.resize(controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    controls_[i].description = &controls[i];
    controls_[i].id = kFirstControlId + static_cast<int>(i);
    byName_.emplace(controls[i].name, i);
  }
}

Win32View::~Win32View() {
  model_.removeView(this);
  if (window_ != nullptr) DestroyWindow(window_);
}

void Win32View::fail(const std::exception& error) {
  if (failureHandler_) {
    failureHandler_(error);
    return;
  }
  MessageBoxA(window_, error.what(), model_.caption().c_str(), MB_OK | MB_ICONERROR);
}

// --- creation ----------------------------------------------------------------------------

void Win32View::create() {
  if (window_ != nullptr) return;
  registerClasses();
  {
    WindowContext screen(nullptr);
    dpi_ = GetDeviceCaps(screen.dc(), LOGPIXELSY);
  }
  if (dpi_ <= 0) dpi_ = 96;
  createMainWindow();
  createChildren(model_.description().name, window_);
  model_.addView(this);
}

HWND Win32View::controlWindow(const std::string& name) const {
  const Control* control = find(name);
  return control != nullptr ? control->window : nullptr;
}

HFONT Win32View::controlFont(const std::string& name) const {
  const Control* control = find(name);
  return control != nullptr ? control->font : nullptr;
}

// --- window procedures ---------------------------------------------------------------------

LRESULT CALLBACK Win32View::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* view = reinterpret_cast<Win32View*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (view == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  // Exceptions must not unwind through the system's code that called us.
  try {
    return view->handle(window, message, wParam, lParam);
  } catch (const std::exception& error) {
    view->fail(error);
    return 0;
  }
}

LRESULT CALLBACK Win32View::controlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR data) {
  auto* view = reinterpret_cast<Win32View*>(data);
  try {
    return view->handleControl(window, message, wParam, lParam);
  } catch (const std::exception& error) {
    view->fail(error);
    return 0;
  }
}

LRESULT Win32View::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Control* control = window == window_ ? nullptr : find(window);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painting covers the whole client area
    case WM_PAINT: {
      PaintContext paint(window);
      if (control != nullptr && control->description->kind == ControlKind::Label)
        paintLabel(*control, paint.dc());
      else if (control != nullptr && control->description->kind == ControlKind::Image)
        paintImage(*control, paint.dc());
      else
        paintContainer(window, paint.dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      // Themed controls ask their parent for the background behind them.
      paintContainer(window, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
      const LRESULT brush = controlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      if (brush != 0) return brush;
      break;
    }
    case WM_COMMAND:
      command(wParam, lParam);
      return 0;
    case DM_GETDEFID:
      // The dialog manager asks which button Enter presses.
      if (window == window_) return defaultButtonId();
      break;
    case WM_MEASUREITEM:
      measureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_NCHITTEST:
      // Labels and pictures let the mouse through to their parent, except
      // labels that do something when clicked.
      if (control != nullptr && liesBeneath(control->description->kind) && !control->description->link &&
          control->description->handlerFor(Event::Click) == nullptr)
        return HTTRANSPARENT;
      break;
    case WM_SETCURSOR:
      if (control != nullptr && control->description->link) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      if (control != nullptr && control->description->kind == ControlKind::Label) SetCapture(window);
      return 0;
    case WM_LBUTTONUP:
      if (control != nullptr && control->description->kind == ControlKind::Label && GetCapture() == window) {
        ReleaseCapture();
        RECT client;
        GetClientRect(window, &client);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (PtInRect(&client, at)) labelClicked(*control);
      }
      return 0;
    case WM_TIMER:
      if (window == window_ && wParam == kProgressTimerId) {
        showPendingProgress();
        return 0;
      }
      if (window == window_) {
        Control* timer = findById(static_cast<int>(wParam));
        if (timer != nullptr && model_.timerEnabled(timer->description->name))
          model_.raise(timer->description->name, Event::Timer);
        return 0;
      }
      break;
    case WM_CLOSE:
      // Alt+F4 and the task list ask the window to close; the wizard decides
      // itself when it ends, so the request is refused.
      if (window == window_) return 0;
      break;
    case WM_SYSCOMMAND:
      if (window == window_ && (wParam & 0xFFF0) == SC_CLOSE) return 0;
      break;
    case WM_ACTIVATE:
      if (window == window_) activated(wParam);
      break;
    case WM_SETFOCUS:
      if (window == window_) {
        restoreFocus();
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT Win32View::handleControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Control* control = find(window);
  const ControlKind kind = control != nullptr ? control->description->kind : ControlKind::Panel;
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = commonControls().defSubclassProc(window, message, wParam, lParam);
      // A read-only memo has no use for Tab and Enter: they move on as in the
      // rest of the form instead of being swallowed.
      if (kind == ControlKind::Memo) code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
      // Enter opens the selected directory, as a double click does.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (kind == ControlKind::DirectoryList && msg != nullptr && msg->message == WM_KEYDOWN &&
          msg->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case BM_SETSTYLE:
      // The dialog manager moves the default look to the focused push button
      // and takes it from the others as the focus moves, but knows nothing of
      // the page's forward button; the view alone decides which looks so.
      if (kind == ControlKind::Button)
        wParam = (wParam & ~WPARAM{BS_TYPEMASK}) |
                 (window == defaultShown_ ? WPARAM{BS_DEFPUSHBUTTON} : WPARAM{BS_PUSHBUTTON});
      break;
    case WM_KEYDOWN:
      if (kind == ControlKind::DirectoryList && wParam == VK_RETURN) {
        enterSelectedDirectory(*control);
        return 0;
      }
      break;
    case WM_SETFOCUS: {
      const LRESULT result = commonControls().defSubclassProc(window, message, wParam, lParam);
      // The model follows the user's focus, so that a handler focusing a
      // control again is not taken for a repetition and ignored.
      if (control != nullptr) model_.setFocus(control->description->name);
      showDefaultButton();
      return result;
    }
    case WM_LBUTTONUP: {
      const LRESULT result = commonControls().defSubclassProc(window, message, wParam, lParam);
      if (kind == ControlKind::Memo) model_.raise(control->description->name, Event::Click);
      return result;
    }
    case WM_NCDESTROY:
      commonControls().removeWindowSubclass(window, &Win32View::controlProcedure, kSubclassId);
      break;
    default:
      break;
  }
  return commonControls().defSubclassProc(window, message, wParam, lParam);
}

// --- user input ------------------------------------------------------------------------------

void Win32View::command(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  const HWND from = reinterpret_cast<HWND>(lParam);
  // Enter comes as the default button's click; without one (a page with no
  // forward button and the focus on no button) the dialog manager sends IDOK,
  // which names no control and does nothing.
  Control* control = from != nullptr ? find(from) : findById(id);
  if (control == nullptr || control->window == nullptr) return;
  const std::string& name = control->description->name;
  switch (control->description->kind) {
    case ControlKind::Button:
      if (code == BN_CLICKED) model_.raise(name, Event::Click);
      break;
    case ControlKind::CheckBox:
      if (code == BN_CLICKED)
        model_.setChecked(name, SendMessageA(control->window, BM_GETCHECK, 0, 0) == BST_CHECKED);
      break;
    case ControlKind::Edit:
      if (code == EN_CHANGE && !updatingWindow_) model_.setText(name, windowText(control->window));
      break;
    case ControlKind::ComboBox:
      if (code == CBN_SELCHANGE && !updatingWindow_)
        model_.setItemIndex(name, static_cast<int>(SendMessageA(control->window, CB_GETCURSEL, 0, 0)));
      break;
    case ControlKind::DirectoryList:
      if (code == LBN_DBLCLK) enterSelectedDirectory(*control);
      break;
    case ControlKind::DriveSelector:
      // While the list is open the user is still choosing; the choice counts
      // when it closes, or at once when the arrow keys move a closed one.
      if (updatingWindow_) break;
      if (code == CBN_CLOSEUP ||
          (code == CBN_SELCHANGE && !SendMessageA(control->window, CB_GETDROPPEDSTATE, 0, 0)))
        pickSelectedDrive(*control);
      break;
    default:
      break;
  }
}

LRESULT Win32View::defaultButtonId() const {
  const Control* button = find(model_.defaultButton());
  return button != nullptr ? MAKELRESULT(button->id, DC_HASDEFID) : 0;
}

void Win32View::enterSelectedDirectory(const Control& control) {
  const LRESULT selected = SendMessageA(control.window, LB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<std::size_t>(selected) >= control.rows.size()) return;
  // A copy: entering the directory rebuilds the rows.
  const std::string path = control.rows[static_cast<std::size_t>(selected)].path;
  model_.setDirectory(control.description->name, path);
}

void Win32View::pickSelectedDrive(const Control& control) {
  const LRESULT selected = SendMessageA(control.window, CB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<std::size_t>(selected) >= control.drives.size()) return;
  const char letter = control.drives[static_cast<std::size_t>(selected)].letter;
  if (letter != model_.drive(control.description->name)) model_.setDrive(control.description->name, letter);
}

void Win32View::labelClicked(const Control& control) {
  model_.raise(control.description->name, Event::Click);
}

void Win32View::activated(WPARAM wParam) {
  // Windows gives the focus to the main window when it is activated again;
  // keep the control that had it to hand it back.
  if (LOWORD(wParam) != WA_INACTIVE) return;
  const HWND focused = GetFocus();
  if (focused != nullptr && IsChild(window_, focused)) savedFocus_ = focused;
}

void Win32View::restoreFocus() {
  const auto usable = [&](HWND w) {
    return w != nullptr && IsWindow(w) && IsChild(window_, w) && IsWindowVisible(w) && IsWindowEnabled(w);
  };
  HWND target = savedFocus_;
  if (!usable(target)) target = controlWindow(model_.focus());
  if (!usable(target)) target = GetNextDlgTabItem(window_, nullptr, FALSE);
  if (usable(target)) SetFocus(target);
}

// --- model to windows ---------------------------------------------------------------------

void Win32View::modelChanged(const std::string& name, Property property) {
  if (window_ == nullptr) return;
  if (name.empty()) {
    if (property == Property::Caption) SetWindowTextA(window_, model_.caption().c_str());
    return;
  }
  Control* control = find(name);
  if (control == nullptr) return;
  if (control->window == nullptr && control->description->kind != ControlKind::Timer) return;
  switch (property) {
    case Property::Caption:
    case Property::Text:
      showText(*control);
      break;
    case Property::Checked:
      SendMessageA(control->window, BM_SETCHECK, model_.checked(name) ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Property::Position:
    case Property::Maximum:
      showProgress(*control);
      break;
    case Property::Items:
      showItems(*control);
      break;
    case Property::ItemIndex: {
      FlagScope updating(updatingWindow_);
      SendMessageA(control->window, CB_SETCURSEL, static_cast<WPARAM>(model_.itemIndex(name)), 0);
      break;
    }
    case Property::Directory:
      showDirectory(*control);
      break;
    case Property::Drive:
      showDrive(*control);
      break;
    case Property::Timer:
      showTimer(*control);
      break;
    case Property::Visible:
      showVisibility(*control);
      break;
    case Property::Selection:
      showSelection(*control);
      break;
  }
}

void Win32View::activePageChanged(const std::string& page) {
  if (window_ == nullptr) return;
  Control* shown = find(page);
  if (shown == nullptr) return;
  createPageOnFirstShow(*shown);
  // Show the new page before hiding the old, so the container never shows empty.
  ShowWindow(shown->window, SW_SHOW);
  for (const std::string& other : model_.description().pages)
    if (other != page)
      if (const Control* hidden = find(other); hidden != nullptr && hidden->window != nullptr)
        ShowWindow(hidden->window, SW_HIDE);

  showDefaultButton();
  // A focus left on the hidden page would take keys nobody sees.
  const HWND focused = GetFocus();
  if (focused != nullptr && IsChild(window_, focused) && IsWindowVisible(focused)) return;
  savedFocus_ = nullptr;
  if (IsWindowVisible(window_) && GetActiveWindow() == window_) focusFirstControlOf(shown->window);
}

void Win32View::focusChanged(const std::string& name) {
  if (window_ == nullptr || name.empty()) return;
  showDefaultButton();
  const HWND target = controlWindow(name);
  if (target == nullptr || GetFocus() == target) return;
  // The window gives the focus back to this control whenever it is activated
  // again, also when a message box just closing activates it only later.
  savedFocus_ = target;
  // Focusing a control of an inactive window would pull it to the front;
  // the control gets the focus when the window is activated.
  if (!IsWindowVisible(window_) || GetActiveWindow() != window_) return;
  SetFocus(target);
}

void Win32View::showText(Control& control) {
  const ControlDescription& d = *control.description;
  switch (d.kind) {
    case ControlKind::Label:
      // The label paints the model's text; its window text follows too, so that
      // screen readers and other programs read what the user sees.
      if (windowText(control.window) != model_.text(d.name))
        SetWindowTextA(control.window, model_.text(d.name).c_str());
      fitLabel(control);
      InvalidateRect(control.window, nullptr, TRUE);
      break;
    case ControlKind::Panel:
      InvalidateRect(control.window, nullptr, TRUE);
      break;
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::StaticText:
    case ControlKind::Edit:
    case ControlKind::Memo: {
      const std::string text =
          multiLine(d.kind) ? withWindowsLineBreaks(model_.text(d.name)) : model_.text(d.name);
      if (windowText(control.window) == text) break;
      FlagScope updating(updatingWindow_);
      SetWindowTextA(control.window, text.c_str());
      if (d.kind == ControlKind::StaticText) fitStaticText(control);
      break;
    }
    default:
      break;  // a select-only box shows its selected item
  }
}

// A run moves its bar thousands of times a second, and every position a bar
// is given is painted at once (under Wine a round trip to the display too).
// The bar is given a new position at most once per frame of the display;
// positions in between wait for a short timer, so the last one always shows.
void Win32View::showProgress(Control& control) {
  const int maximum = model_.maximum(control.description->name);
  const int position = model_.position(control.description->name);
  HWND bar = control.window;
  const bool newRange = control.shownMaximum != maximum;
  const ULONGLONG now = GetTickCount64();
  if (!newRange && position != 0 && position != maximum && now - control.shownAt < kProgressFrameMs) {
    if (!control.progressPending) {
      control.progressPending = true;
      SetTimer(window_, kProgressTimerId, static_cast<UINT>(kProgressFrameMs), nullptr);
    }
    return;
  }
  control.shownAt = now;
  control.progressPending = false;
  if (newRange) {
    SendMessageA(bar, PBM_SETRANGE32, 0, maximum);
    control.shownMaximum = maximum;
  }
  // A themed bar glides towards a higher position but jumps to a lower one;
  // stepping one past and back makes every update show at once, which a run
  // that pumps messages between chunks relies on.
  if (position < maximum) {
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position + 1), 0);
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  } else {
    SendMessageA(bar, PBM_SETRANGE32, 0, maximum + 1);
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(maximum + 1), 0);
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(maximum), 0);
    SendMessageA(bar, PBM_SETRANGE32, 0, maximum);
  }
}

void Win32View::showPendingProgress() {
  KillTimer(window_, kProgressTimerId);
  for (Control& control : controls_) {
    if (!control.progressPending) continue;
    control.shownAt = 0;
    showProgress(control);
  }
}

void Win32View::showVisibility(const Control& control) {
  const bool visible = model_.visible(control.description->name);
  ShowWindow(control.window, visible ? SW_SHOWNA : SW_HIDE);
  if (!visible && GetFocus() == control.window) focusFirstControlOf(GetParent(control.window));
}

// The button Enter presses is drawn as the default push button, with the
// thicker frame, as a dialog shows it: the page's forward button, or the
// focused button.
void Win32View::showDefaultButton() {
  const HWND wanted = controlWindow(model_.defaultButton());
  if (wanted == defaultShown_) return;
  const HWND previous = std::exchange(defaultShown_, wanted);
  if (previous != nullptr) SendMessageA(previous, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  if (wanted != nullptr) SendMessageA(wanted, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void Win32View::showSelection(const Control& control) {
  if (model_.allSelected(control.description->name)) SendMessageA(control.window, EM_SETSEL, 0, -1);
}

void Win32View::showItems(const Control& control) {
  const std::string& name = control.description->name;
  FlagScope updating(updatingWindow_);
  SendMessageA(control.window, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : model_.items(name))
    SendMessageA(control.window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(control.window, CB_SETCURSEL, static_cast<WPARAM>(model_.itemIndex(name)), 0);
}

void Win32View::showDirectory(Control& control) {
  control.rows = directoryRows(platform_, model_.directory(control.description->name));
  HWND list = control.window;
  FlagScope updating(updatingWindow_);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  int current = -1;
  for (std::size_t i = 0; i < control.rows.size(); ++i) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(control.rows[i].name.c_str()));
    if (control.rows[i].glyph == FolderGlyph::Current) current = static_cast<int>(i);
  }
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void Win32View::showDrive(const Control& control) {
  const char letter = model_.drive(control.description->name);
  int index = -1;
  for (std::size_t i = 0; i < control.drives.size(); ++i)
    if (control.drives[i].letter == letter) index = static_cast<int>(i);
  FlagScope updating(updatingWindow_);
  SendMessageA(control.window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32View::showTimer(const Control& control) {
  const auto id = static_cast<UINT_PTR>(control.id);
  if (model_.timerEnabled(control.description->name))
    SetTimer(window_, id, static_cast<UINT>(std::max(1, control.description->interval)), nullptr);
  else
    KillTimer(window_, id);
}

void Win32View::focusFirstControlOf(HWND container) {
  // The dialog manager's first tab stop of the whole form is on the visible page.
  // A page without any (the progress pages) gives the focus to the form
  // itself, so no key reaches a control of the page that was left.
  HWND first = GetNextDlgTabItem(window_, nullptr, FALSE);
  const bool onPage = first != nullptr && IsChild(container, first) && IsWindowVisible(first);
  SetFocus(onPage ? first : window_);
}

// --- lookups and scaling -----------------------------------------------------------------

Win32View::Control* Win32View::find(const std::string& name) {
  const auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : &controls_[it->second];
}

const Win32View::Control* Win32View::find(const std::string& name) const {
  const auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : &controls_[it->second];
}

Win32View::Control* Win32View::find(HWND window) {
  const auto it = byWindow_.find(window);
  return it == byWindow_.end() ? nullptr : &controls_[it->second];
}

Win32View::Control* Win32View::findById(int id) {
  const int index = id - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
  return &controls_[static_cast<std::size_t>(index)];
}

// Edges are scaled rather than sizes, so controls that touch at 96 dpi still
// touch at every other resolution.
RECT Win32View::scaled(const Rect& bounds) const {
  return {scale(bounds.x), scale(bounds.y), scale(bounds.x + bounds.w), scale(bounds.y + bounds.h)};
}

}  // namespace vorpane::ui
