// The page gallery: the installer's form with its real windows but without
// the wizard behind it, showing one page chosen on the command line, so that
// each page can be looked at and screenshot.
//
//   page_gallery <page> [--seconds N]
//
// <page> is the page's index (0..12) or name ("Tab10ChooseInstallDir").
// The program prints the page and the window's measured client size, then
// runs until N seconds have passed (without --seconds: until it is killed;
// like the installer, the window refuses to be closed).
// Exit codes: 0 after the timeout, 2 for a wrong command line.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/win32/Win32CommandLine.h"
#include "app/win32/Win32MessageLoop.h"
#include "platform/Win32ComApartment.h"
#include "platform/Win32Platform.h"
#include "ui/FormDescription.h"
#include "ui/FormModel.h"
#include "ui/Win32View.h"

namespace {

using namespace vorpane;

constexpr UINT_PTR kTimeoutTimer = 1;

struct Options {
  std::string page;
  int seconds = 0;
};

bool parse(const std::vector<std::string>& arguments, Options& options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--seconds" && i + 1 < arguments.size()) {
      options.seconds = std::atoi(arguments[++i].c_str());
      if (options.seconds <= 0) return false;
    } else if (options.page.empty()) {
      options.page = arguments[i];
    } else {
      return false;
    }
  }
  return !options.page.empty();
}

// The page's name for an index or a name; empty when there is no such page.
std::string pageNamed(const ui::FormDescription& form, const std::string& wanted) {
  const auto& pages = form.pages;
  if (!wanted.empty() && wanted.find_first_not_of("0123456789") == std::string::npos) {
    const std::size_t index = std::stoul(wanted);
    return index < pages.size() ? pages[index] : std::string();
  }
  for (const auto& page : pages)
    if (page == wanted) return page;
  return {};
}

int usage(const ui::FormDescription& form) {
  std::fprintf(stderr, "usage: page_gallery <page index or name> [--seconds N]\npages:\n");
  for (std::size_t i = 0; i < form.pages.size(); ++i)
    std::fprintf(stderr, "  %2zu %s\n", i, form.pages[i].c_str());
  return 2;
}

void CALLBACK endGallery(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

// The directory choosers show the system drive's root, as they would before
// a page proposes its directory.
void pointDirectoryLists(ui::FormModel& model) {
  for (const auto& control : model.description().controls)
    if (control.kind == ui::ControlKind::DirectoryList) model.setDirectory(control.name, "C:\\");
}

int runGallery(const Options& options, const std::string& page) {
  platform::Win32ComApartment com;
  platform::Win32Platform platform;
  ui::FormModel model(ui::installFormDescription());
  app::Win32MessageLoop loop;
  model.setExceptionHandler([&loop](const std::exception& e) { loop.showError(e.what()); });

  ui::Win32View view(model, platform, GetModuleHandleA(nullptr));
  view.create();
  loop.setMainWindow(view.window());
  pointDirectoryLists(model);
  model.setActivePage(page);
  view.showCentred();

  RECT client;
  GetClientRect(view.window(), &client);
  std::printf("page %d %s\nclient %ldx%ld dpi %d\n", model.activePageIndex(), page.c_str(), client.right,
              client.bottom, view.dpi());
  std::fflush(stdout);

  if (options.seconds > 0)
    SetTimer(nullptr, kTimeoutTimer, static_cast<UINT>(options.seconds) * 1000u, &endGallery);
  return loop.run();
}

}  // namespace

int main() {
  const ui::FormDescription& form = ui::installFormDescription();
  Options options;
  if (!parse(app::commandLineArguments(), options)) return usage(form);
  const std::string page = pageNamed(form, options.page);
  if (page.empty()) return usage(form);
  try {
    return runGallery(options, page);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "page_gallery: %s\n", error.what());
    return 1;
  }
}
