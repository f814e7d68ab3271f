#pragma once
// The one place where the wizard's parts are connected: the form's failures to
// the application's error display, and the wizard to the form. The shipped
// program and the tests start the wizard through it, so both run the same wiring.

#include <string>
#include <vector>

#include "app/FrmInstall.h"
#include "app/MessageLoop.h"
#include "platform/Platform.h"
#include "ui/FormModel.h"

namespace vorpane::app {

class WizardAssembly {
 public:
  // arguments: the program's arguments 1..N, quoting already removed.
  WizardAssembly(ui::FormModel& form, platform::Platform& platform, MessageLoop& loop,
                 std::vector<std::string> arguments);

  TFrmInstallVorpane& wizard() { return wizard_; }
  // Creates the form, which picks the first page from the command line.
  void start() { wizard_.create(); }

 private:
  TFrmInstallVorpane wizard_;
};

}  // namespace vorpane::app
