// The view's windows: the classes it registers, the main window, and the
// recipe (window class and styles) that realises each kind of control, with
// the state a fresh window is given.
#include "ui/Win32View.h"

#include <commctrl.h>

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <tuple>

#include "ui/Win32CommonControls.h"
#include "ui/Win32ViewParts.h"

namespace vorpane::ui {

using namespace win32view;

namespace {

// Siblings are created in tab order, which makes it the dialog manager's
// order too; those without one follow in the order the form lists them.
auto creationKey(const ControlDescription& c, std::size_t index) {
  const int tab = c.tabOrder < 0 ? std::numeric_limits<int>::max() : c.tabOrder;
  return std::make_tuple(liesBeneath(c.kind), tab, index);
}

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

}  // namespace

void Win32View::registerClasses() {
  const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  commonControls().initCommonControlsEx(&common);

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
    Control& child = controls_[i];
    // Pages other than the active one wait for their first showing. Only one
    // page shows at a time, so the order in which they are made is unseen.
    if (child.description->kind == ControlKind::Page && child.description->name != model_.activePage())
      continue;
    createControl(child, parentWindow);
    if (isContainer(child.description->kind)) createChildren(child.description->name, child.window);
  }
}

void Win32View::createPageOnFirstShow(Control& page) {
  // A page's window is made together with its controls, never alone.
  if (page.window != nullptr) return;
  const Control* pageControl = find(page.description->parent);
  if (pageControl == nullptr || pageControl->window == nullptr) return;
  createControl(page, pageControl->window);
  createChildren(page.description->name, page.window);
  // A control of the page that was given the focus before the page had
  // windows takes it now, as it would have had its window existed then.
  const std::string& focus = model_.focus();
  const HWND focusWindow = controlWindow(focus);
  if (focusWindow != nullptr && IsChild(page.window, focusWindow)) focusChanged(focus);
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
    commonControls().setWindowSubclass(control.window, &Win32View::controlProcedure, kSubclassId,
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
  control.picture = pictures_.render(instance_, d.picture, width, height, control.background);
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

}  // namespace vorpane::ui
