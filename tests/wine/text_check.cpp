// Checks that every text of every page is shown whole: each label, static
// text, check box, button and panel caption is measured with DrawText in the
// font the view draws it with, at the width of its window and with its
// wrapping, and must fit its window; the window must lie inside its parent
// and a label or static text, which may have grown, must not overlap a
// windowed sibling. A GoogleTest program: one test per page (and one for the
// frame around the pages), one expectation per text; exit code 0 when all fit.
// Writes a picture of each page as <folder>\<index>-<page>.bmp.
//
//   text_check [GoogleTest's options] <folder> [dpi]
//
// dpi: the screen's dots per inch as the session set them, which the view
// must take. Prints what each text needs and has.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/win32/Win32MessageLoop.h"
#include "platform/Win32ComApartment.h"
#include "platform/Win32Platform.h"
#include "product/ProductTexts.h"
#include "ui/FormDescription.h"
#include "ui/FormModel.h"
#include "ui/Win32View.h"

namespace {

using namespace vorpane;
using ui::ControlKind;

// From the command line: where the pictures go, and the dpi the screen has (0: not said).
std::string pictureFolder = ".";
int expectedDpi = 0;

// The install form with its windows, without the wizard behind it.
struct Form {
  platform::Win32Platform platform;
  ui::FormModel model{ui::installFormDescription()};
  app::Win32MessageLoop loop;
  ui::Win32View view{model, platform, GetModuleHandleA(nullptr)};

  void pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (GetTickCount() < end) {
      loop.processMessages();
      Sleep(10);
    }
  }
};

// The texts the wizard puts on its pages as they are shown, with directories
// as long as the proposed ones, and the widest percentage.
void showWizardTexts(ui::FormModel& model) {
  model.setText("StaticText1", product::kInstallDirExplanation);
  model.setText("StaticText2", product::kDownloadDirExplanation);
  model.setText("StaticText3", product::kCacheDirExplanation);
  model.setText("StaticText4", product::kSearchExplanation);
  model.setText("Label6", "Install directory = C:\\Program Files\\Vorpane\\");
  model.setText("Label7", "Download directory = C:\\Documents and Settings\\Owner\\Downloads\\");
  model.setText("Label8", "Cache directory = C:\\Program Files\\Vorpane\\Vorpane_Cache\\");
  for (const auto& c : model.description().controls)
    if (c.kind == ControlKind::Label && model.text(c.name) == "0% complete")
      model.setText(c.name, "100% complete");
  // Failed runs: the Exit button and, beside it, what failed, in two lines.
  const std::pair<const char*, const char*> failures[] = {{"BtnInstallExit", "LblInstallFailure"},
                                                          {"BtnUpgradeExit", "LblUpgradeFailure"}};
  for (const auto& [exit, failure] : failures) {
    model.setVisible(exit, true);
    model.setVisible(failure, true);
    model.setText(failure,
                  "Disk full: C:\\Program Files\\Vorpane\\Uninstall_Vorpane.Exe. These could not be removed: "
                  "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Vorpane\\Vorpane.Lnk");
  }
}

bool measured(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
    case ControlKind::StaticText:
    case ControlKind::CheckBox:
    case ControlKind::Button:
    case ControlKind::Panel:
      return true;
    default:
      return false;
  }
}

// The page a control is on, or "" for the frame around the pages.
std::string pageOf(const ui::FormDescription& form, const ui::ControlDescription& control) {
  const ui::ControlDescription* c = &control;
  while (c != nullptr && c->kind != ControlKind::Page) c = form.find(c->parent);
  return c != nullptr ? c->name : "";
}

// The part of a control's client area its text may take, and how it is drawn.
struct TextArea {
  RECT box;
  UINT format;
};

TextArea textAreaOf(HWND window, ControlKind kind) {
  RECT client;
  GetClientRect(window, &client);
  switch (kind) {
    case ControlKind::StaticText:
      return {client, DT_WORDBREAK | DT_NOPREFIX};
    case ControlKind::CheckBox:
      // The box and the gap before the text.
      client.left += GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
      return {client, DT_SINGLELINE};
    case ControlKind::Button:
      InflateRect(&client, -2 * GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
      return {client, DT_SINGLELINE};
    default:
      return {client, DT_SINGLELINE | DT_NOPREFIX};
  }
}

std::string displayed(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool bare = (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) ||
                      (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'));
    out += bare ? std::string("\r\n") : std::string(1, text[i]);
  }
  return out;
}

// The face and line height a font is drawn in, for the report.
std::string faceOf(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, font);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, LF_FACESIZE, face);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  return std::string(face) + " " + std::to_string(metrics.tmHeight);
}

SIZE measure(HFONT font, const std::string& text, const TextArea& area) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, font);
  RECT box{0, 0, area.box.right - area.box.left, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box, area.format | DT_CALCRECT);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  return {box.right, box.bottom};
}

RECT rectIn(HWND parent, HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool boxesMeet(const ui::Rect& a, const ui::Rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// A visible windowed sibling that a text's window overlaps, where their boxes
// in the form do not already touch: what a grown text would cover.
std::string coveringSibling(Form& f, const ui::ControlDescription& d, HWND window) {
  HWND parent = GetParent(window);
  const RECT mine = rectIn(parent, window);
  for (const auto& other : f.model.description().controls) {
    if (other.name == d.name || other.parent != d.parent || other.kind == ControlKind::Label ||
        other.kind == ControlKind::Image || boxesMeet(other.bounds, d.bounds))
      continue;
    HWND sibling = f.view.controlWindow(other.name);
    if (sibling == nullptr || !IsWindowVisible(sibling)) continue;
    RECT theirs = rectIn(parent, sibling);
    RECT overlap;
    if (IntersectRect(&overlap, &mine, &theirs)) return other.name;
  }
  return "";
}


// The window as it is on the screen, as a 24-bit bottom-up bitmap file.
void savePicture(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  const DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{0x4D42,
                        static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    std::fwrite(bits, 1, size, out);
    std::fclose(out);
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// One form for all the tests, built before the first with the wizard's texts
// on it and shown; GoogleTest runs no test when it could not be built.
std::unique_ptr<Form> theForm;

class FormEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    try {
      auto built = std::make_unique<Form>();
      built->view.create();
      built->loop.setMainWindow(built->view.window());
      showWizardTexts(built->model);
      built->view.showCentred();
      theForm = std::move(built);
    } catch (const std::exception& error) {
      FAIL() << "the form could not be built: " << error.what();
    }
  }
  void TearDown() override { theForm.reset(); }
};

void checkText(Form& f, const ui::ControlDescription& d) {
  HWND window = f.view.controlWindow(d.name);
  const std::string text = displayed(f.model.text(d.name));
  if (window == nullptr || text.empty()) return;
  TextArea area = textAreaOf(window, d.kind);
  if (d.wordWrap) area.format = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
  const SIZE need = measure(f.view.controlFont(d.name), text, area);
  const LONG width = area.box.right - area.box.left;
  const LONG height = area.box.bottom - area.box.top;
  char line[512];
  std::snprintf(line, sizeof line, "%s needs %ldx%ld in %ldx%ld [%s]", d.name.c_str(), need.cx, need.cy,
                width, height, faceOf(f.view.controlFont(d.name)).c_str());
  std::printf("     %s\n", line);
  EXPECT_TRUE(need.cx <= width && need.cy <= height) << line << ": the text does not fit its window";

  RECT parent;
  GetClientRect(GetParent(window), &parent);
  const RECT mine = rectIn(GetParent(window), window);
  EXPECT_TRUE(mine.left >= 0 && mine.top >= 0 && mine.right <= parent.right && mine.bottom <= parent.bottom)
      << line << ": reaches out of its parent";
  const bool grows = d.kind == ControlKind::Label || d.kind == ControlKind::StaticText;
  if (grows && f.model.visible(d.name)) {
    EXPECT_EQ(coveringSibling(f, d, window), "") << line << ": lies under a sibling";
  }
}

TEST(Screen, TheViewTakesTheScreensDpi) {
  std::printf("     dpi %d\n", theForm->view.dpi());
  if (expectedDpi != 0) {
    EXPECT_EQ(theForm->view.dpi(), expectedDpi) << "the view takes the screen's dpi";
  }
}

// The texts of one page, shown; and its picture.
class PageTexts : public ::testing::TestWithParam<std::size_t> {};

TEST_P(PageTexts, FitTheirWindows) {
  Form& f = *theForm;
  const auto& form = f.model.description();
  const std::size_t index = GetParam();
  const std::string& page = form.pages[index];
  f.model.setActivePage(page);
  f.pump(150);
  for (const auto& control : form.controls)
    if (measured(control.kind) && pageOf(form, control) == page) checkText(f, control);
  char name[64];
  std::snprintf(name, sizeof name, "%02zu-", index);
  savePicture(f.view.window(), pictureFolder + "\\" + name + page + ".bmp");
}

INSTANTIATE_TEST_SUITE_P(EveryPage, PageTexts,
                         ::testing::Range<std::size_t>(0, ui::installFormDescription().pages.size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                           return ui::installFormDescription().pages[info.param];
                         });

// The texts of the frame around the pages, with the last page shown.
TEST(FrameTexts, FitTheirWindows) {
  Form& f = *theForm;
  const auto& form = f.model.description();
  f.model.setActivePage(form.pages.back());
  f.pump(150);
  for (const auto& control : form.controls)
    if (measured(control.kind) && pageOf(form, control).empty()) checkText(f, control);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) pictureFolder = argv[1];
  if (argc > 2) expectedDpi = std::atoi(argv[2]);
  platform::Win32ComApartment com;
  ::testing::AddGlobalTestEnvironment(new FormEnvironment);
  return RUN_ALL_TESTS();
}
