#pragma once
// How the installer answers its command line, decided from the switches alone:
// the wizard, the unattended modes, the list of switches or a refusal of a bad
// line. The program around it builds what the mode needs.

#include "app/Switches.h"

namespace vorpane::app {

enum class SetupMode { BadCommandLine, Help, VerySilent, Silent, Wizard };

SetupMode ModeOf(const Switches& switches);

// Whether the mode shows a window, which is built while the program's images
// are checked; every other mode waits for the check first.
bool BuildsWindow(SetupMode mode);

// The one page /SILENT shows: the run's progress page, its bar and its label.
struct ProgressPage {
  const char* page;
  const char* bar;
  const char* label;
};
ProgressPage SilentProgressPage(const Switches& switches);

}  // namespace vorpane::app
