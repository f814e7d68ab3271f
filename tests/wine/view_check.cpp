// Checks the Win32 view under Wine (or Windows): the real windows built from
// the install form, driven through their messages, against the model. A
// GoogleTest program; exit code 0 when every expectation held.
//
//   view_check [GoogleTest's options] [dpi]
//
// dpi: the screen's dots per inch as the session set them; the view must take
// them and the window's client area must be the form's at that scale (without
// it, at the scale the view found).
//
// The tests share one form, built once for all of them (ViewCheck), and run in
// the order they are written, each going on from where the one before left
// the form, as a person's session would: some look at pages no test before
// them has shown, one at what many changes of page left behind. Run them
// whole, not one by one.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <exception>
#include <memory>
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

// The dpi the command line says the screen has, 0 when it says none.
int expectedDpi = 0;

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

// The install form with its windows, without the wizard behind it.
struct Form {
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

// One form for all the checks, built once: under Wine a shown window takes
// about two seconds to be destroyed. Each check shows the pages it uses
// itself, so any one of them also runs alone (--gtest_filter).
class ViewCheck : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    auto built = std::make_unique<Form>();
    built->model.setExceptionHandler(
        [](const std::exception& e) { ADD_FAILURE() << "a handler threw: " << e.what(); });
    built->view.setFailureHandler(
        [](const std::exception& e) { ADD_FAILURE() << "the view failed: " << e.what(); });
    built->view.create();
    built->loop.setMainWindow(built->view.window());
    built->model.setActivePage("Tab01Welcome");
    built->view.showCentred();
    built->pump(100);
    form_ = std::move(built);
  }
  static void TearDownTestSuite() { form_.reset(); }

  // GoogleTest skips the tests when the form could not be built.
  Form& f = *form_;

 private:
  static std::unique_ptr<Form> form_;
};

std::unique_ptr<Form> ViewCheck::form_;

TEST_F(ViewCheck, WindowFrameSizeAndCaption) {
  HWND w = f.view.window();
  const LONG style = GetWindowLongA(w, GWL_STYLE);
  const LONG exStyle = GetWindowLongA(w, GWL_EXSTYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION) << "the window has a caption";
  EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0)
      << "no system menu, caption buttons or sizing border";
  EXPECT_NE(exStyle & WS_EX_TOOLWINDOW, 0) << "tool window";

  // The client area 804 x 529, scaled to the screen's dpi.
  const int dpi = expectedDpi != 0 ? expectedDpi : f.view.dpi();
  if (expectedDpi != 0) {
    EXPECT_EQ(f.view.dpi(), expectedDpi) << "the view takes the screen's dpi";
  }
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, MulDiv(804, dpi, 96)) << "client width at " << dpi << " dpi";
  EXPECT_EQ(client.bottom, MulDiv(529, dpi, 96)) << "client height at " << dpi << " dpi";

  SendMessageA(w, WM_CLOSE, 0, 0);
  SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(w) && IsWindowVisible(w)) << "close requests are refused";

  f.model.setCaption("Installation Vorpane 3.31");
  EXPECT_EQ(textOf(w), "Installation Vorpane 3.31") << "the caption follows the model";
}

TEST_F(ViewCheck, PagesShowAndButtonsClick) {
  f.recorder.clear();
  EXPECT_EQ(f["BtnInstall"], nullptr) << "a page not yet shown has no windows";
  f.model.setActivePage("Tab03Choose");
  ASSERT_NE(f["BtnInstall"], nullptr) << "a page's windows are made when it first shows";
  int visible = 0;
  for (const auto& page : f.model.description().pages) visible += IsWindowVisible(f[page]) ? 1 : 0;
  EXPECT_EQ(visible, 1) << "only the active page is visible";
  EXPECT_TRUE(IsWindowVisible(f["Tab03Choose"])) << "the active page is visible";
  EXPECT_TRUE(f.recorder.saw("Tab03ChooseShow(Tab03Choose)")) << "activating a page runs its show handler";
  SendMessageA(f["BtnInstall"], BM_CLICK, 0, 0);
  EXPECT_TRUE(f.recorder.saw("BtnInstallClick(BtnInstall)")) << "a button click raises the bound handler";
  EXPECT_EQ(f.recorder.count("Button1Click(Button5)"), 0) << "no other button reacted";
}

TEST_F(ViewCheck, EntriesAndMemo) {
  f.model.setActivePage("Tab02Disclaimer");
  f.recorder.clear();
  HWND agree = f["EdAgree"];
  SetFocus(agree);
  for (char c : std::string("yes")) SendMessageA(agree, WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_EQ(f.model.text("EdAgree"), "YES") << "typed lower case arrives upper case in the model";
  EXPECT_EQ(f.recorder.count("EdAgreeChange(EdAgree)"), 3) << "every typed letter raises Change once";
  EXPECT_EQ(f.model.focus(), "EdAgree") << "the model follows the user's focus";

  // Given before its page has windows, shown once they are made.
  f.model.setText("Edit1", "C:\\Program Files\\Vorpane\\");
  f.model.setActivePage("Tab10ChooseInstallDir");
  EXPECT_EQ(textOf(f["Edit1"]), "C:\\Program Files\\Vorpane\\") << "an entry shows the model's text";
  f.model.setActivePage("Tab02Disclaimer");
  const std::string memo = textOf(f["Memo2"]);
  EXPECT_FALSE(memo.empty()) << "the memo shows the legal statement";
  EXPECT_EQ(memo, f.model.text("Memo2")) << "the memo shows the legal statement";
  EXPECT_EQ(GetWindowLongA(f["Memo2"], GWL_STYLE) & (ES_READONLY | WS_TABSTOP), ES_READONLY)
      << "the memo is read-only and no tab stop";
}

TEST_F(ViewCheck, CheckBoxAndProgressBar) {
  f.model.setActivePage("Tab13InstallNow");
  HWND box = f["cbShortcut"];
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED) << "the shortcut box starts ticked";
  SendMessageA(box, BM_CLICK, 0, 0);
  EXPECT_FALSE(f.model.checked("cbShortcut")) << "clicking the box clears it in the model";
  f.model.setChecked("cbShortcut", true);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED) << "the box follows the model";

  f.model.setActivePage("Tab14Installing");
  HWND bar = f["pbInstall"];
  f.model.setMaximum("pbInstall", 3000);
  // A run's burst of positions reaches the bar within a frame, the last one included.
  for (int position = 1; position <= 1234; ++position) f.model.setPosition("pbInstall", position);
  f.pump(50);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 1234) << "the bar shows the position";
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 3000) << "the bar shows the maximum";
  f.model.setPosition("pbInstall", 3000);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 3000) << "a full bar";
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 3000) << "a full bar keeps its range";
}

TEST_F(ViewCheck, DropDownList) {
  f.model.setActivePage("Tab21StartUpgrade");
  HWND combo = f["ComboBoxUpgrade"];
  f.model.addItem("ComboBoxUpgrade", "C:\\One\\");
  f.model.addItem("ComboBoxUpgrade", "D:\\Two\\");
  f.model.setItemIndex("ComboBoxUpgrade", 1);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2) << "the drop-down list shows the model's items";
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1) << "the drop-down list shows the model's selection";
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  f.notifyParent("ComboBoxUpgrade", CBN_SELCHANGE);
  EXPECT_EQ(f.model.itemIndex("ComboBoxUpgrade"), 0) << "picking an item selects it in the model";
  EXPECT_EQ(f.model.text("ComboBoxUpgrade"), "C:\\One\\") << "picking an item selects it in the model";
  f.model.clearItems("ComboBoxUpgrade");
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0) << "clearing the items empties the list";
}

TEST_F(ViewCheck, DirectoryListAndDriveSelector) {
  f.model.setActivePage("Tab10ChooseInstallDir");
  HWND list = f["DirectoryListBox1"];
  f.model.setDirectory("DirectoryListBox1", "C:\\windows");
  const auto rows = ui::directoryRows(f.platform, "C:\\windows");
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(rows.size()))
      << "the directory list shows the rows of its directory";
  ASSERT_GT(rows.size(), 2u) << "C:\\windows has ancestors, itself and subdirectories";
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1) << "the current directory's row is selected";
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), f.px(16)) << "rows are 16 pixels high, scaled";

  f.recorder.clear();
  SendMessageA(list, LB_SETCURSEL, 2, 0);
  f.notifyParent("DirectoryListBox1", LBN_DBLCLK);
  EXPECT_EQ(f.model.directory("DirectoryListBox1"), rows[2].path) << "a double click enters the directory";
  EXPECT_TRUE(f.recorder.saw("DirectoryListBox1Change(DirectoryListBox1)"))
      << "entering raises the list's Change";

  HWND drives = f["DriveComboBox1"];
  const auto machine = ui::machineDrives(f.platform);
  EXPECT_EQ(SendMessageA(drives, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(machine.size()))
      << "every drive is listed";
  char text[64] = {};
  const LRESULT selected = SendMessageA(drives, CB_GETCURSEL, 0, 0);
  SendMessageA(drives, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::string(text).rfind("c:", 0), 0u)
      << "the selector shows drive c: for the list on C:, not " << text;

  RECT closed;
  GetWindowRect(drives, &closed);
  // Exact where the system's frame leaves room for the text, else as low as the text allows.
  EXPECT_GE(closed.bottom - closed.top, f.px(19)) << "the closed drive selector keeps the form's height";
  EXPECT_LE(closed.bottom - closed.top, f.px(19) + 2) << "the closed drive selector keeps the form's height";

  ASSERT_FALSE(machine.empty());
  const std::size_t last = machine.size() - 1;
  if (machine[last].letter != 'C') {
    SendMessageA(drives, CB_SETCURSEL, last, 0);
    f.notifyParent("DriveComboBox1", CBN_SELCHANGE);
    EXPECT_EQ(f.model.directory("DirectoryListBox1"), machine[last].root())
        << "picking a drive moves the list to its root";
  }
}

// What a window answers when the mouse is over its top left corner.
LRESULT hitTest(HWND window) {
  POINT corner{1, 1};
  ClientToScreen(window, &corner);
  return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y));
}

TEST_F(ViewCheck, LabelsSizeAndTakeTheMouse) {
  f.model.setActivePage("Tab03Choose");  // the mail link's page
  f.model.setActivePage("Tab13InstallNow");
  HWND label = f["Label6"];
  RECT before;
  GetClientRect(label, &before);
  f.model.setText("Label6", "Install directory: C:\\Program Files\\Vorpane\\ and some more words");
  RECT after;
  GetClientRect(label, &after);
  EXPECT_GT(after.right, before.right) << "an auto-sized label fits its new text";
  EXPECT_GT(after.bottom, 0) << "an auto-sized label fits its new text";
  EXPECT_EQ(hitTest(f["Label18"]), HTCLIENT) << "a label with a click binding takes the mouse";
  EXPECT_EQ(hitTest(f["Label2"]), HTTRANSPARENT) << "a label without one lets it through";
  f.recorder.clear();
  SendMessageA(f["Label18"], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(f["Label18"], WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(f.recorder.saw("Label18Click(Label18)")) << "clicking the mail link raises its handler";
}

TEST_F(ViewCheck, TabOrderFocusAndZOrder) {
  f.model.setActivePage("Tab10ChooseInstallDir");
  f.model.setFocus("Edit1");
  f.pump(50);
  EXPECT_EQ(GetFocus(), f["Edit1"]) << "focusing a control in the model focuses its window";
  const char* expected[] = {"DirectoryListBox1", "DriveComboBox1", "Button6", "Button9", "Button8", "Edit1"};
  HWND at = f["Edit1"];
  for (const char* name : expected) {
    at = GetNextDlgTabItem(f.view.window(), at, FALSE);
    EXPECT_EQ(at, f[name]) << "Tab walks the page's controls in tab order and stays on the page: " << name;
  }

  f.model.setActivePage("Tab13InstallNow");
  f.model.setFocus("Button17");
  f.model.setActivePage("Tab14Installing");
  const HWND focused = GetFocus();
  EXPECT_TRUE(focused == f.view.window() || (focused != nullptr && IsWindowVisible(focused)))
      << "leaving a page for one without controls leaves no focus behind on it";

  // Focus given to a control of a page that has no windows yet is kept for it.
  f.model.setFocus("DirectoryListBox2");
  f.model.setActivePage("Tab11ChooseDownloadDir");
  EXPECT_EQ(GetFocus(), f["DirectoryListBox2"])
      << "a page first shown after its control was focused gives it the focus";

  f.model.setActivePage("Tab15InstallReady");
  HWND panel = f["Panel45"];
  bool panelFirst = false;
  for (HWND w = GetWindow(GetParent(panel), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == f["Image8"]) break;
    if (w == panel) panelFirst = true;
  }
  EXPECT_TRUE(panelFirst) << "the notice panel lies above the finish picture";
}

bool looksDefault(HWND button) {
  return (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

// A key as the message loop hands it to the dialog manager.
void pressKey(Form& f, WPARAM key) {
  MSG message{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
  IsDialogMessageA(f.view.window(), &message);
}

TEST_F(ViewCheck, DefaultButtonEnterAndSelection) {
  f.model.setActivePage("Tab10ChooseInstallDir");
  f.model.setFocus("Edit1");
  f.pump(50);
  const LRESULT answer = SendMessageA(f.view.window(), DM_GETDEFID, 0, 0);
  EXPECT_EQ(HIWORD(answer), DC_HASDEFID) << "the page has a default push button";
  EXPECT_EQ(LOWORD(answer), GetDlgCtrlID(f["Button8"])) << "the page's \"&Next\" is the default push button";
  EXPECT_TRUE(looksDefault(f["Button8"])) << "\"&Next\" looks the default";
  EXPECT_FALSE(looksDefault(f["Button9"])) << "\"&Back\" does not look the default";
  SetFocus(f["Button9"]);
  EXPECT_TRUE(looksDefault(f["Button9"])) << "a focused button takes the default look";
  EXPECT_FALSE(looksDefault(f["Button8"])) << "a focused button takes the default look from \"&Next\"";
  pressKey(f, VK_TAB);
  pressKey(f, VK_TAB);
  EXPECT_EQ(GetFocus(), f["Edit1"]) << "Tab, Tab from \"&Back\" reaches the entry";
  EXPECT_TRUE(looksDefault(f["Button8"])) << "tabbing on to the entry gives the look back to \"&Next\"";
  EXPECT_FALSE(looksDefault(f["Button9"])) << "tabbing on to the entry takes it from \"&Back\"";
  f.recorder.clear();
  pressKey(f, VK_RETURN);
  EXPECT_TRUE(f.recorder.saw("Button8Click(Button8)")) << "Enter in the entry presses \"&Next\"";

  f.model.selectAll("Edit1");
  DWORD from = 1, to = 0;
  SendMessageA(f["Edit1"], EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(GetFocus(), f["Edit1"]) << "selecting an entry's text focuses it";
  EXPECT_EQ(from, 0u) << "selecting an entry's text selects all of it";
  EXPECT_EQ(to, f.model.text("Edit1").size()) << "selecting an entry's text selects all of it";

  f.model.setActivePage("Tab14Installing");
  f.recorder.clear();
  pressKey(f, VK_RETURN);
  EXPECT_EQ(SendMessageA(f.view.window(), DM_GETDEFID, 0, 0), 0) << "a progress page has no default button";
  EXPECT_EQ(f.recorder.count("Button8Click(Button8)"), 0) << "a progress page ignores Enter";
}

// After many changes of page: each page shown has one window, and one shows.
TEST_F(ViewCheck, OneWindowPerPageShown) {
  HWND container = GetParent(f[f.model.activePage()]);
  int windows = 0, visible = 0, shown = 0;
  for (HWND w = GetWindow(container, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    ++windows;
    visible += IsWindowVisible(w) ? 1 : 0;
  }
  for (const auto& page : f.model.description().pages) shown += f[page] != nullptr ? 1 : 0;
  EXPECT_EQ(windows, shown) << "each page shown has one window";
  EXPECT_EQ(visible, 1) << "only the active page shows";
}

TEST_F(ViewCheck, Timers) {
  f.recorder.clear();
  f.model.setTimerEnabled("Timer3", true);
  f.pump(700);
  EXPECT_GE(f.recorder.count("Timer3Timer(Timer3)"), 1) << "an enabled timer fires";
  f.model.setTimerEnabled("Timer3", false);
  f.recorder.clear();
  f.pump(500);
  EXPECT_EQ(f.recorder.count("Timer3Timer(Timer3)"), 0) << "a disabled timer stays quiet";
}

TEST_F(ViewCheck, EveryPictureDecodes) {
  ui::win32::PictureDecoder pictures;
  for (const auto& c : f.model.description().controls) {
    if (c.kind != ui::ControlKind::Image) continue;
    const auto picture =
        pictures.render(GetModuleHandleA(nullptr), c.picture, c.pictureSize.w, c.pictureSize.h, RGB(0, 0, 0));
    EXPECT_TRUE(static_cast<bool>(picture)) << "the picture " << c.picture << " of " << c.name << " decodes";
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) expectedDpi = std::atoi(argv[1]);
  platform::Win32ComApartment com;
  return RUN_ALL_TESTS();
}
