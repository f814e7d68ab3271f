#include "ui/Win32View.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <tuple>

#include "ui/Win32Glyphs.h"

namespace vorpane::ui {

using handles::GdiObject;
using handles::PaintContext;
using handles::Selection;
using handles::WindowContext;

namespace {

constexpr const char* kFormClass = "VorpaneForm";
constexpr const char* kContainerClass = "VorpaneContainer";
constexpr const char* kLabelClass = "VorpaneLabel";
constexpr const char* kImageClass = "VorpaneImage";

// Control identifiers start above the ones the dialog manager reserves
// (IDOK, IDCANCEL, ...), so its own commands never reach a control.
constexpr int kFirstControlId = 100;
// Below the controls' ids, which their timers use.
constexpr UINT_PTR kProgressTimerId = 1;
constexpr ULONGLONG kProgressFrameMs = 15;
constexpr UINT_PTR kSubclassId = 1;

constexpr int kRowHeight = 16;        // directory and drive rows
constexpr int kGlyphSize = 16;        // folder and drive glyphs
constexpr int kIndentStep = 8;        // per directory level
constexpr int kDropDownHeight = 200;  // the open list of a combo box
// A drop-down list is its selection field plus a 3-pixel frame above and below.
constexpr int kComboFrame = 6;

bool isContainer(ControlKind kind) {
  return kind == ControlKind::Panel || kind == ControlKind::PageControl || kind == ControlKind::Page;
}

bool takesFocus(ControlKind kind) {
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
bool liesBeneath(ControlKind kind) { return kind == ControlKind::Label || kind == ControlKind::Image; }

// Siblings are created in tab order, which makes it the dialog manager's
// order too; those without one follow in the order the form lists them.
auto creationKey(const ControlDescription& c, std::size_t index) {
  const int tab = c.tabOrder < 0 ? std::numeric_limits<int>::max() : c.tabOrder;
  return std::make_tuple(liesBeneath(c.kind), tab, index);
}

std::string windowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

// Multi-line edit controls break lines only at "\r\n", and static texts wrap
// their words reliably only between such breaks; the wizard's texts break at a
// bare "\r" or "\n".
std::string withWindowsLineBreaks(const std::string& text) {
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

bool multiLine(ControlKind kind) { return kind == ControlKind::Memo || kind == ControlKind::StaticText; }

std::string driveText(const DriveEntry& drive) {
  std::string text{static_cast<char>(drive.letter - 'A' + 'a'), ':'};
  // Only fixed and RAM disks are asked for their label: a floppy or CD drive
  // without a medium, or an unreachable share, would make the query wait.
  if (drive.type != platform::DriveType::Fixed && drive.type != platform::DriveType::RamDisk) return text;
  char label[MAX_PATH + 1] = {};
  if (GetVolumeInformationA(drive.root().c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr,
                            0) &&
      label[0] != '\0')
    text += std::string(" [") + label + "]";
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

void Win32View::registerClasses() {
  const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&common);

  struct ClassRecipe {
    const char* name;
    LPCSTR cursor;
    HICON icon;
  };
  const ClassRecipe classes[] = {
      {kFormClass, IDC_ARROW, LoadIconA(instance_, MAKEINTRESOURCEA(kIconResource))},
      {kContainerClass, IDC_ARROW, nullptr},
      {kLabelClass, IDC_ARROW, nullptr},
      {kImageClass, IDC_ARROW, nullptr},
  };
  for (const ClassRecipe& recipe : classes) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance_, recipe.name, &existing)) continue;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32View::windowProcedure;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorA(nullptr, recipe.cursor);
    wc.hIcon = recipe.icon;
    wc.lpszClassName = recipe.name;
    if (RegisterClassExA(&wc) == 0)
      throw std::runtime_error(std::string("cannot register the window class ") + recipe.name);
  }
}

void Win32View::createMainWindow() {
  // A tool window with a caption and nothing on it: no system menu, hence no
  // close, minimise or maximise button, and no sizing border. The wizard is
  // left through its own buttons only. Tool windows get no taskbar button of
  // their own, so the window asks for one.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  const FormDescription& form = model_.description();
  RECT frame{0, 0, scale(form.clientWidth), scale(form.clientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  window_ = CreateWindowExA(exStyle, kFormClass, model_.caption().c_str(), style, scale(form.designBounds.x),
                            scale(form.designBounds.y), frame.right - frame.left, frame.bottom - frame.top,
                            nullptr, nullptr, instance_, this);
  if (window_ == nullptr) throw std::runtime_error("cannot create the installer's window");

  // Frame metrics differ between systems and themes; the client area is what
  // the layout needs, so correct the outer size until it matches.
  RECT client;
  GetClientRect(window_, &client);
  const int dx = scale(form.clientWidth) - client.right;
  const int dy = scale(form.clientHeight) - client.bottom;
  if (dx != 0 || dy != 0)
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + dx, frame.bottom - frame.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32View::createChildren(const std::string& parent, HWND parentWindow) {
  std::vector<std::size_t> children;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const ControlDescription& d = *controls_[i].description;
    if (d.parent == parent && d.kind != ControlKind::Timer) children.push_back(i);
  }
  std::sort(children.begin(), children.end(), [&](std::size_t a, std::size_t b) {
    return creationKey(*controls_[a].description, a) < creationKey(*controls_[b].description, b);
  });
  for (std::size_t i : children) {
    createControl(controls_[i], parentWindow);
    if (isContainer(controls_[i].description->kind))
      createChildren(controls_[i].description->name, controls_[i].window);
  }
}

namespace {

// The window class and styles that realise a kind of control.
struct WindowRecipe {
  const char* windowClass = nullptr;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  bool ownClass = false;   // drawn by the view itself rather than a system control
  int dropDownHeight = 0;  // combo boxes: the open list below the box
};

WindowRecipe windowRecipeFor(const ControlDescription& d) {
  WindowRecipe recipe;
  switch (d.kind) {
    case ControlKind::Page:
    case ControlKind::Panel:
    case ControlKind::PageControl:
      recipe.windowClass = kContainerClass;
      recipe.ownClass = true;
      recipe.style |= WS_CLIPCHILDREN;
      recipe.exStyle |= WS_EX_CONTROLPARENT;
      // Only the active page shows.
      if (d.kind == ControlKind::Page) recipe.style &= ~WS_VISIBLE;
      break;
    case ControlKind::Label:
      recipe.windowClass = kLabelClass;
      recipe.ownClass = true;
      break;
    case ControlKind::Image:
      recipe.windowClass = kImageClass;
      recipe.ownClass = true;
      break;
    case ControlKind::Button:
      recipe.windowClass = "BUTTON";
      recipe.style |= BS_PUSHBUTTON;
      break;
    case ControlKind::CheckBox:
      recipe.windowClass = "BUTTON";
      recipe.style |= BS_AUTOCHECKBOX;
      break;
    case ControlKind::StaticText:
      recipe.windowClass = "STATIC";
      recipe.style |= SS_LEFT | SS_NOPREFIX;
      break;
    case ControlKind::Memo:
      recipe.windowClass = "EDIT";
      recipe.style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | (d.readOnly ? ES_READONLY : 0);
      recipe.exStyle |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Edit:
      recipe.windowClass = "EDIT";
      recipe.style |= ES_AUTOHSCROLL | (d.upperCase ? ES_UPPERCASE : 0);
      recipe.exStyle |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ComboBox:
      recipe.windowClass = "COMBOBOX";
      recipe.style |= CBS_DROPDOWNLIST | WS_VSCROLL;
      recipe.dropDownHeight = kDropDownHeight;
      break;
    case ControlKind::DriveSelector:
      recipe.windowClass = "COMBOBOX";
      recipe.style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL;
      recipe.dropDownHeight = kDropDownHeight;
      break;
    case ControlKind::DirectoryList:
      recipe.windowClass = "LISTBOX";
      recipe.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
      recipe.exStyle |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ProgressBar:
      recipe.windowClass = PROGRESS_CLASSA;
      recipe.style |= PBS_SMOOTH;
      break;
    case ControlKind::Timer:
      break;
  }
  if (takesFocus(d.kind)) recipe.style |= WS_TABSTOP;
  return recipe;
}

}  // namespace

void Win32View::createControl(Control& control, HWND parentWindow) {
  const ControlDescription& d = *control.description;
  const WindowRecipe recipe = windowRecipeFor(d);
  if (recipe.windowClass == nullptr) return;
  const RECT box = scaled(d.bounds);
  int width = box.right - box.left;
  int height = box.bottom - box.top + scale(recipe.dropDownHeight);
  if (d.kind == ControlKind::Image && d.autoSize) {
    width = scale(d.pictureSize.w);
    height = scale(d.pictureSize.h);
  }

  const std::string text =
      multiLine(d.kind) ? withWindowsLineBreaks(model_.text(d.name)) : model_.text(d.name);
  control.font = fontFor(d.font);
  control.background = backgroundOf(d);
  const DWORD style = model_.visible(d.name) ? recipe.style : recipe.style & ~WS_VISIBLE;
  control.window = CreateWindowExA(
      recipe.exStyle, recipe.windowClass, text.c_str(), style, box.left, box.top, width, height, parentWindow,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance_, this);
  if (control.window == nullptr) throw std::runtime_error("cannot create the window of " + d.name);
  byWindow_[control.window] = static_cast<std::size_t>(control.id - kFirstControlId);
  SendMessageA(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(control.font), FALSE);

  // System controls are watched for focus, clicks and keys.
  if (!recipe.ownClass)
    SetWindowSubclass(control.window, &Win32View::controlProcedure, kSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
  if (d.kind == ControlKind::Image) createPicture(control);
  showModelState(control);
}

void Win32View::createPicture(Control& control) {
  const ControlDescription& d = *control.description;
  if (d.picture.empty()) return;
  int width = scale(d.pictureSize.w);
  int height = scale(d.pictureSize.h);
  if (d.stretch) {
    RECT box;
    GetClientRect(control.window, &box);
    width = box.right;
    height = box.bottom;
  }
  control.picture = win32::renderPicture(instance_, d.picture, width, height, control.background);
}

// A fresh window shows what the model holds now, which may differ from the
// description when handlers ran before the view existed.
void Win32View::showModelState(Control& control) {
  switch (control.description->kind) {
    case ControlKind::Label:
      fitLabel(control);
      break;
    case ControlKind::StaticText:
      fitStaticText(control);
      break;
    case ControlKind::CheckBox:
      SendMessageA(control.window, BM_SETCHECK,
                   model_.checked(control.description->name) ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case ControlKind::ProgressBar:
      showProgress(control);
      break;
    case ControlKind::ComboBox:
      showItems(control);
      break;
    case ControlKind::DirectoryList:
      SendMessageA(control.window, LB_SETITEMHEIGHT, 0, scale(kRowHeight));
      showDirectory(control);
      break;
    case ControlKind::DriveSelector:
      fitClosedHeight(control);
      control.drives = machineDrives(platform_);
      control.driveTexts.clear();
      for (const DriveEntry& drive : control.drives) {
        control.driveTexts.push_back(driveText(drive));
        SendMessageA(control.window, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(control.driveTexts.back().c_str()));
      }
      showDrive(control);
      break;
    default:
      break;
  }
}

// The frame around a drop-down list's selection field differs between
// systems and themes; the field is sized so the closed box has the form's
// height, but never lower than its text.
void Win32View::fitClosedHeight(const Control& control) {
  RECT closed;
  GetWindowRect(control.window, &closed);
  const int excess = (closed.bottom - closed.top) - scale(control.description->bounds.h);
  const auto field = static_cast<int>(SendMessageA(control.window, CB_GETITEMHEIGHT, WPARAM(-1), 0));
  const int wanted = std::max<int>(field - excess, textExtent(control.font, "c:").cy);
  if (excess != 0 && wanted != field) SendMessageA(control.window, CB_SETITEMHEIGHT, WPARAM(-1), wanted);
}

void Win32View::showCentred() {
  RECT frame;
  GetWindowRect(window_, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
}

HWND Win32View::controlWindow(const std::string& name) const {
  const Control* control = find(name);
  return control != nullptr ? control->window : nullptr;
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
      LRESULT code = DefSubclassProc(window, message, wParam, lParam);
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
    case WM_KEYDOWN:
      if (kind == ControlKind::DirectoryList && wParam == VK_RETURN) {
        enterSelectedDirectory(*control);
        return 0;
      }
      break;
    case WM_SETFOCUS: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      // The model follows the user's focus, so that a handler focusing a
      // control again is not taken for a repetition and ignored.
      if (control != nullptr) model_.setFocus(control->description->name);
      return result;
    }
    case WM_LBUTTONUP: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (kind == ControlKind::Memo) model_.raise(control->description->name, Event::Click);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, &Win32View::controlProcedure, kSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// --- painting -----------------------------------------------------------------------------

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
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
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

// --- user input ------------------------------------------------------------------------------

void Win32View::command(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  const HWND from = reinterpret_cast<HWND>(lParam);
  Control* control = from != nullptr ? find(from) : findById(id);
  if (control == nullptr && id == IDOK) {
    // The dialog manager turns Enter into IDOK when no button is the
    // default; the form has none, so Enter presses the focused button.
    pressFocusedButton();
    return;
  }
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

void Win32View::pressFocusedButton() {
  const Control* focused = find(GetFocus());
  if (focused != nullptr && focused->description->kind == ControlKind::Button)
    model_.raise(focused->description->name, Event::Click);
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
  }
}

void Win32View::activePageChanged(const std::string& page) {
  if (window_ == nullptr) return;
  const Control* shown = find(page);
  if (shown == nullptr) return;
  // Show the new page before hiding the old, so the container never shows empty.
  ShowWindow(shown->window, SW_SHOW);
  for (const std::string& other : model_.description().pages)
    if (other != page)
      if (const Control* hidden = find(other); hidden != nullptr) ShowWindow(hidden->window, SW_HIDE);

  // A focus left on the hidden page would take keys nobody sees.
  const HWND focused = GetFocus();
  if (focused != nullptr && IsChild(window_, focused) && IsWindowVisible(focused)) return;
  savedFocus_ = nullptr;
  if (IsWindowVisible(window_) && GetActiveWindow() == window_) focusFirstControlOf(shown->window);
}

void Win32View::focusChanged(const std::string& name) {
  if (window_ == nullptr || name.empty()) return;
  const HWND target = controlWindow(name);
  if (target == nullptr || GetFocus() == target) return;
  // Focusing a control of an inactive window would pull it to the front;
  // the control gets the focus when the window is activated.
  if (!IsWindowVisible(window_) || GetActiveWindow() != window_) {
    savedFocus_ = target;
    return;
  }
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

HBRUSH Win32View::brushFor(COLORREF colour) {
  auto& slot = brushes_[colour];
  if (!slot) {
    slot.reset(CreateSolidBrush(colour));
    if (!slot) throw std::runtime_error("cannot create a brush");
  }
  return slot.get();
}

}  // namespace vorpane::ui
