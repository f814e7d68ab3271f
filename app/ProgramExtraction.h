#pragma once
// Puts the two programs the installer carries into a directory, chunk by chunk,
// moving a progress bar that counts bytes: the client first (positions 0 up to
// its size), then the uninstaller after it. The install and the upgrade runs
// both do this with the same loop.

#include <cstdint>
#include <string>

#include "app/RunProgress.h"
#include "platform/Platform.h"
#include "product/InstalledFiles.h"

namespace vorpane::app {

using product::kClientFileName;
using product::kUninstallerFileName;

// The bar's maximum while both programs are written: their sizes added up.
std::int64_t ProgramsSize();
// The maximum a run sets: the programs plus a tenth for the steps after them.
int RunProgressMaximum();

// Sets the bar's position to 0 and its maximum to the programs' size, then to
// the run's maximum, as the runs begin.
void BeginRunProgress(RunProgress& progress);

// Writes directory + "Vorpane.Exe", then directory + "Uninstall_Vorpane.Exe"
// (directory ends in a backslash), each beside its target first; only when
// both are complete do they replace the old programs, the client first. After
// every chunk: the bar to the bytes written, the percentage, one run of the
// message queue. A program that is still running (the client that started an
// upgrade, on its way out) is given up to kBusyProgramPatienceMs to end, with
// the window kept alive meanwhile. Raises the writers' IoError, with nothing
// left beside the targets; a failure before the client is replaced leaves both
// old programs as they were.
void ExtractPrograms(platform::Platform& platform, const std::string& directory, RunProgress& progress);

inline constexpr std::uint64_t kBusyProgramPatienceMs = 15000;

}  // namespace vorpane::app
