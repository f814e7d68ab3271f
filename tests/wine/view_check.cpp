// Checks the Win32 view under Wine (or Windows): the real windows built from
// the install form, driven through their messages, against the model.
// Prints one line per check and ends with exit code 0 when all passed, 1 when
// any failed, 2 when the form could not even be built.
//
//   view_check

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "app/win32/Win32MessageLoop.h"
#include "platform/Win32ComApartment.h"
#include "platform/Win32Platform.h"
#include "ui/DirectoryRows.h"
#include "ui/FormDescription.h"
#include "ui/FormModel.h"
#include "ui/Win32Pictures.h"
#include "ui/Win32View.h"

namespace {

using namespace vorpane;

int failures = 0;

void check(bool passed, const std::string& what) {
  std::printf("%s %s\n", passed ? "ok  " : "FAIL", what.c_str());
  if (!passed) ++failures;
}

std::string textOf(HWND window) {
  char text[4096] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Every handler of the form, recorded as "Handler(sender)" when it runs.
class Recorder {
 public:
  explicit Recorder(ui::FormModel& model) {
    std::vector<std::string> names;
    for (const auto& b : model.description().bindings) names.push_back(b.handler);
    for (const auto& c : model.description().controls)
      for (const auto& b : c.bindings) names.push_back(b.handler);
    for (const auto& name : names)
      model.bindHandler(
          name, [this, name](const std::string& sender) { calls_.push_back(name + "(" + sender + ")"); });
  }
  bool saw(const std::string& call) const {
    for (const auto& c : calls_)
      if (c == call) return true;
    return false;
  }
  int count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls_) n += c == call;
    return n;
  }
  void clear() { calls_.clear(); }

 private:
  std::vector<std::string> calls_;
};

struct Fixture {
  platform::Win32Platform platform;
  ui::FormModel model{ui::installFormDescription()};
  Recorder recorder{model};
  app::Win32MessageLoop loop;
  ui::Win32View view{model, platform, GetModuleHandleA(nullptr)};

  HWND operator[](const std::string& name) const { return view.controlWindow(name); }
  int px(int designPixels) const { return MulDiv(designPixels, view.dpi(), 96); }
  // Lets posted messages and timers run for a while.
  void pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (GetTickCount() < end) {
      loop.processMessages();
      Sleep(10);
    }
  }
  // What a control's parent hears when the user acts on the control.
  void notifyParent(const std::string& name, int code) {
    HWND control = (*this)[name];
    SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
  }
};

void checkWindow(Fixture& f) {
  HWND w = f.view.window();
  const LONG style = GetWindowLongA(w, GWL_STYLE);
  const LONG exStyle = GetWindowLongA(w, GWL_EXSTYLE);
  check((style & WS_CAPTION) == WS_CAPTION, "the window has a caption");
  check((style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0,
        "no system menu, caption buttons or sizing border");
  check((exStyle & WS_EX_TOOLWINDOW) != 0, "tool window");
  RECT client;
  GetClientRect(w, &client);
  std::printf("     client %ldx%ld at %d dpi\n", client.right, client.bottom, f.view.dpi());
  check(client.right == f.px(804) && client.bottom == f.px(529), "client area 804 x 529 scaled");

  SendMessageA(w, WM_CLOSE, 0, 0);
  SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  check(IsWindow(w) && IsWindowVisible(w), "close requests are refused");

  f.model.setCaption("Installation Vorpane 3.31");
  check(textOf(w) == "Installation Vorpane 3.31", "caption follows the model");
}

void checkPages(Fixture& f) {
  f.recorder.clear();
  check(f["BtnInstall"] == nullptr, "a page not yet shown has no windows");
  f.model.setActivePage("Tab03Choose");
  check(f["BtnInstall"] != nullptr, "a page's windows are made when it first shows");
  int visible = 0;
  for (const auto& page : f.model.description().pages) visible += IsWindowVisible(f[page]) ? 1 : 0;
  check(visible == 1 && IsWindowVisible(f["Tab03Choose"]), "only the active page is visible");
  check(f.recorder.saw("Tab03ChooseShow(Tab03Choose)"), "activating a page runs its show handler");
  SendMessageA(f["BtnInstall"], BM_CLICK, 0, 0);
  check(f.recorder.saw("BtnInstallClick(BtnInstall)"), "a button click raises the bound handler");
  check(f.recorder.count("Button1Click(Button5)") == 0, "no other button reacted");
}

void checkEdits(Fixture& f) {
  f.model.setActivePage("Tab02Disclaimer");
  f.recorder.clear();
  HWND agree = f["EdAgree"];
  SetFocus(agree);
  for (char c : std::string("yes")) SendMessageA(agree, WM_CHAR, static_cast<WPARAM>(c), 0);
  check(f.model.text("EdAgree") == "YES", "typed lower case arrives upper case in the model");
  check(f.recorder.count("EdAgreeChange(EdAgree)") == 3, "every typed letter raises Change once");
  check(f.model.focus() == "EdAgree", "the model follows the user's focus");

  // Given before its page has windows, shown once they are made.
  f.model.setText("Edit1", "C:\\Program Files\\Vorpane\\");
  f.model.setActivePage("Tab10ChooseInstallDir");
  check(textOf(f["Edit1"]) == "C:\\Program Files\\Vorpane\\", "an entry shows the model's text");
  f.model.setActivePage("Tab02Disclaimer");
  const std::string memo = textOf(f["Memo2"]);
  check(!memo.empty() && memo == f.model.text("Memo2"), "the memo shows the legal statement");
  check((GetWindowLongA(f["Memo2"], GWL_STYLE) & (ES_READONLY | WS_TABSTOP)) == ES_READONLY,
        "the memo is read-only and no tab stop");
}

void checkCheckBoxAndProgress(Fixture& f) {
  f.model.setActivePage("Tab13InstallNow");
  HWND box = f["cbShortcut"];
  check(SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED, "the shortcut box starts ticked");
  SendMessageA(box, BM_CLICK, 0, 0);
  check(!f.model.checked("cbShortcut"), "clicking the box clears it in the model");
  f.model.setChecked("cbShortcut", true);
  check(SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED, "the box follows the model");

  f.model.setActivePage("Tab14Installing");
  HWND bar = f["pbInstall"];
  f.model.setMaximum("pbInstall", 3000);
  // A run's burst of positions reaches the bar within a frame, the last one included.
  for (int position = 1; position <= 1234; ++position) f.model.setPosition("pbInstall", position);
  f.pump(50);
  check(SendMessageA(bar, PBM_GETPOS, 0, 0) == 1234 && SendMessageA(bar, PBM_GETRANGE, FALSE, 0) == 3000,
        "the bar shows position and maximum");
  f.model.setPosition("pbInstall", 3000);
  check(SendMessageA(bar, PBM_GETPOS, 0, 0) == 3000 && SendMessageA(bar, PBM_GETRANGE, FALSE, 0) == 3000,
        "a full bar keeps its range");
}

void checkComboBox(Fixture& f) {
  f.model.setActivePage("Tab21StartUpgrade");
  HWND combo = f["ComboBoxUpgrade"];
  f.model.addItem("ComboBoxUpgrade", "C:\\One\\");
  f.model.addItem("ComboBoxUpgrade", "D:\\Two\\");
  f.model.setItemIndex("ComboBoxUpgrade", 1);
  check(SendMessageA(combo, CB_GETCOUNT, 0, 0) == 2 && SendMessageA(combo, CB_GETCURSEL, 0, 0) == 1,
        "the drop-down list shows the model's items and selection");
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  f.notifyParent("ComboBoxUpgrade", CBN_SELCHANGE);
  check(f.model.itemIndex("ComboBoxUpgrade") == 0 && f.model.text("ComboBoxUpgrade") == "C:\\One\\",
        "picking an item selects it in the model");
  f.model.clearItems("ComboBoxUpgrade");
  check(SendMessageA(combo, CB_GETCOUNT, 0, 0) == 0, "clearing the items empties the list");
}

void checkDirectoryChoosers(Fixture& f) {
  f.model.setActivePage("Tab10ChooseInstallDir");
  HWND list = f["DirectoryListBox1"];
  f.model.setDirectory("DirectoryListBox1", "C:\\windows");
  const auto rows = ui::directoryRows(f.platform, "C:\\windows");
  check(SendMessageA(list, LB_GETCOUNT, 0, 0) == static_cast<LRESULT>(rows.size()) && rows.size() > 2,
        "the directory list shows the rows of its directory");
  check(SendMessageA(list, LB_GETCURSEL, 0, 0) == 1, "the current directory's row is selected");
  check(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0) == f.px(16), "rows are 16 pixels high, scaled");

  f.recorder.clear();
  SendMessageA(list, LB_SETCURSEL, 2, 0);
  f.notifyParent("DirectoryListBox1", LBN_DBLCLK);
  check(f.model.directory("DirectoryListBox1") == rows[2].path, "a double click enters the directory");
  check(f.recorder.saw("DirectoryListBox1Change(DirectoryListBox1)"), "entering raises the list's Change");

  HWND drives = f["DriveComboBox1"];
  const auto machine = ui::machineDrives(f.platform);
  check(SendMessageA(drives, CB_GETCOUNT, 0, 0) == static_cast<LRESULT>(machine.size()),
        "every drive is listed");
  char text[64] = {};
  const LRESULT selected = SendMessageA(drives, CB_GETCURSEL, 0, 0);
  SendMessageA(drives, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
  check(std::string(text).rfind("c:", 0) == 0, "the selector shows drive c: for the list on C:");

  RECT closed;
  GetWindowRect(drives, &closed);
  std::printf("     drive selector %ld pixels high\n", closed.bottom - closed.top);
  // Exact where the system's frame leaves room for the text, else as low as the text allows.
  check(closed.bottom - closed.top >= f.px(19) && closed.bottom - closed.top <= f.px(19) + 2,
        "the closed drive selector keeps the form's height");

  const std::size_t last = machine.size() - 1;
  if (machine[last].letter != 'C') {
    SendMessageA(drives, CB_SETCURSEL, last, 0);
    f.notifyParent("DriveComboBox1", CBN_SELCHANGE);
    check(f.model.directory("DirectoryListBox1") == machine[last].root(),
          "picking a drive moves the list to its root");
  }
}

// What a window answers when the mouse is over its top left corner.
LRESULT hitTest(HWND window) {
  POINT corner{1, 1};
  ClientToScreen(window, &corner);
  return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y));
}

void checkLabels(Fixture& f) {
  f.model.setActivePage("Tab13InstallNow");
  HWND label = f["Label6"];
  RECT before;
  GetClientRect(label, &before);
  f.model.setText("Label6", "Install directory: C:\\Program Files\\Vorpane\\ and some more words");
  RECT after;
  GetClientRect(label, &after);
  check(after.right > before.right && after.bottom > 0, "an auto-sized label fits its new text");
  check(hitTest(f["Label18"]) == HTCLIENT && hitTest(f["Label2"]) == HTTRANSPARENT,
        "only labels with a click binding take the mouse");
  f.recorder.clear();
  SendMessageA(f["Label18"], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(f["Label18"], WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  check(f.recorder.saw("Label18Click(Label18)"), "clicking the mail link raises its handler");
}

void checkTabOrderAndFocus(Fixture& f) {
  f.model.setActivePage("Tab10ChooseInstallDir");
  f.model.setFocus("Edit1");
  f.pump(50);
  check(GetFocus() == f["Edit1"], "focusing a control in the model focuses its window");
  const char* expected[] = {"DirectoryListBox1", "DriveComboBox1", "Button6", "Button9", "Button8", "Edit1"};
  HWND at = f["Edit1"];
  bool inOrder = true;
  for (const char* name : expected) {
    at = GetNextDlgTabItem(f.view.window(), at, FALSE);
    inOrder = inOrder && at == f[name];
  }
  check(inOrder, "Tab walks the page's controls in tab order and stays on the page");

  f.model.setActivePage("Tab13InstallNow");
  f.model.setFocus("Button17");
  f.model.setActivePage("Tab14Installing");
  const HWND focused = GetFocus();
  check(focused == f.view.window() || (focused != nullptr && IsWindowVisible(focused)),
        "leaving a page for one without controls leaves no focus behind on it");

  // Focus given to a control of a page that has no windows yet is kept for it.
  f.model.setFocus("DirectoryListBox2");
  f.model.setActivePage("Tab11ChooseDownloadDir");
  check(GetFocus() == f["DirectoryListBox2"],
        "a page first shown after its control was focused gives it the focus");

  f.model.setActivePage("Tab15InstallReady");
  HWND panel = f["Panel45"];
  bool panelFirst = false;
  for (HWND w = GetWindow(GetParent(panel), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == f["Image8"]) break;
    if (w == panel) panelFirst = true;
  }
  check(panelFirst, "the notice panel lies above the finish picture");
}

bool looksDefault(HWND button) {
  return (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

// A key as the message loop hands it to the dialog manager.
void pressKey(Fixture& f, WPARAM key) {
  MSG message{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
  IsDialogMessageA(f.view.window(), &message);
}

void checkEnterAndSelection(Fixture& f) {
  f.model.setActivePage("Tab10ChooseInstallDir");
  f.model.setFocus("Edit1");
  f.pump(50);
  const LRESULT answer = SendMessageA(f.view.window(), DM_GETDEFID, 0, 0);
  check(HIWORD(answer) == DC_HASDEFID && LOWORD(answer) == GetDlgCtrlID(f["Button8"]) &&
            looksDefault(f["Button8"]) && !looksDefault(f["Button9"]),
        "the page's \"&Next\" is the default push button");
  SetFocus(f["Button9"]);
  check(looksDefault(f["Button9"]) && !looksDefault(f["Button8"]), "a focused button takes the default look");
  pressKey(f, VK_TAB);
  pressKey(f, VK_TAB);
  check(GetFocus() == f["Edit1"] && looksDefault(f["Button8"]) && !looksDefault(f["Button9"]),
        "tabbing on to the entry gives the look back to \"&Next\"");
  f.recorder.clear();
  pressKey(f, VK_RETURN);
  check(f.recorder.saw("Button8Click(Button8)"), "Enter in the entry presses \"&Next\"");

  f.model.selectAll("Edit1");
  DWORD from = 1, to = 0;
  SendMessageA(f["Edit1"], EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  check(GetFocus() == f["Edit1"] && from == 0 && to == f.model.text("Edit1").size(),
        "selecting an entry's text focuses it with all of it selected");

  f.model.setActivePage("Tab14Installing");
  f.recorder.clear();
  pressKey(f, VK_RETURN);
  check(
      SendMessageA(f.view.window(), DM_GETDEFID, 0, 0) == 0 && f.recorder.count("Button8Click(Button8)") == 0,
      "a progress page has no default button and ignores Enter");
}

// After many changes of page: each page shown has one window, and one shows.
void checkPageWindows(Fixture& f) {
  HWND container = GetParent(f[f.model.activePage()]);
  int windows = 0, visible = 0, shown = 0;
  for (HWND w = GetWindow(container, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    ++windows;
    visible += IsWindowVisible(w) ? 1 : 0;
  }
  for (const auto& page : f.model.description().pages) shown += f[page] != nullptr ? 1 : 0;
  check(windows == shown && visible == 1, "each page shown has one window, and only the active one shows");
}

void checkTimers(Fixture& f) {
  f.recorder.clear();
  f.model.setTimerEnabled("Timer3", true);
  f.pump(700);
  const int fired = f.recorder.count("Timer3Timer(Timer3)");
  check(fired >= 1, "an enabled timer fires");
  f.model.setTimerEnabled("Timer3", false);
  f.recorder.clear();
  f.pump(500);
  check(f.recorder.count("Timer3Timer(Timer3)") == 0, "a disabled timer stays quiet");
}

void checkPictures(Fixture& f) {
  ui::win32::PictureDecoder pictures;
  for (const auto& c : f.model.description().controls) {
    if (c.kind != ui::ControlKind::Image) continue;
    const auto picture =
        pictures.render(GetModuleHandleA(nullptr), c.picture, c.pictureSize.w, c.pictureSize.h, RGB(0, 0, 0));
    check(static_cast<bool>(picture), "the picture " + c.picture + " of " + c.name + " decodes");
  }
}

}  // namespace

int main() {
  try {
    platform::Win32ComApartment com;
    Fixture f;
    f.model.setExceptionHandler(
        [](const std::exception& e) { check(false, std::string("handler threw: ") + e.what()); });
    f.view.setFailureHandler(
        [](const std::exception& e) { check(false, std::string("view failed: ") + e.what()); });
    f.view.create();
    f.loop.setMainWindow(f.view.window());
    f.model.setActivePage("Tab01Welcome");
    f.view.showCentred();
    f.pump(100);

    checkWindow(f);
    checkPages(f);
    checkEdits(f);
    checkCheckBoxAndProgress(f);
    checkComboBox(f);
    checkDirectoryChoosers(f);
    checkLabels(f);
    checkTabOrderAndFocus(f);
    checkEnterAndSelection(f);
    checkPageWindows(f);
    checkTimers(f);
    checkPictures(f);
  } catch (const std::exception& error) {
    std::printf("FAIL the form could not be built: %s\n", error.what());
    return 2;
  }
  std::printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
