// Install_Vorpane: the program around the wizard. It sets up COM and the
// platform, builds the form's model and windows, lets the wizard create the
// form (which picks the first page before anything shows), shows the window
// centred and runs the message loop until the wizard ends it.

#include <windows.h>

#include <exception>

#include "app/Application.h"
#include "app/Installer.h"
#include "app/win32/Win32Application.h"
#include "platform/Win32Platform.h"
#include "ui/FormDescription.h"
#include "ui/FormModel.h"
#include "ui/Win32View.h"

namespace {

int runInstaller(HINSTANCE instance) {
  using namespace vorpane;
  app::ComApartment com;
  platform::Win32Platform platform;
  ui::FormModel model(ui::installFormDescription());
  app::Win32Application application;
  app::Installer installer(model, platform, application, app::commandLineArguments());

  ui::Win32View view(model, platform, instance);
  view.setFailureHandler(
      [&application](const std::exception& error) { app::showException(application, error); });
  view.create();
  application.setMainWindow(view.window());
  installer.start();
  view.showCentred();
  return application.run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    return runInstaller(instance);
  } catch (const std::exception& error) {
    // Only a program that could not even build its window ends up here.
    MessageBoxA(nullptr, vorpane::app::withClosingPeriod(error.what()).c_str(),
                vorpane::app::kApplicationTitle, MB_OK | MB_ICONERROR);
    return 1;
  }
}
