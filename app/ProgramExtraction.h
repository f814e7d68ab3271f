#pragma once
// Puts the two programs the installer carries into a directory, chunk by chunk,
// moving a progress bar that counts bytes: the client first (positions 0 up to
// its size), then the uninstaller after it. The install and the upgrade runs
// both do this with the same loop.

#include <cstdint>
#include <string>

#include "app/RunProgress.h"
#include "app/SetupTransaction.h"
#include "product/InstalledFiles.h"

namespace vorpane::app {

// The bar's maximum while both programs are written: their sizes added up.
std::int64_t ProgramsSize();
// The maximum a run sets: the programs plus a tenth for the steps after them.
int RunProgressMaximum();

// Sets the bar's position to 0 and its maximum to the programs' size, then to
// the run's maximum, as the runs begin.
void BeginRunProgress(RunProgress& progress);

// Writes directory + "Vorpane.Exe", then directory + "Uninstall_Vorpane.Exe"
// (directory ends in a backslash), each beside its target first; only when
// both are complete do they replace the old programs, the client first, each
// old one kept aside by the transaction, so that a failure at any later point
// of the setup puts both old programs back. After every chunk: the bar to the
// bytes written, the percentage, one run of the message queue. A program that
// another program still holds (the client that started an upgrade, on its way
// out) is given up to kBusyProgramPatienceMs to end, with the window kept alive
// and the progress saying what it waits for (kWaitingForClientText); when the
// time runs out a person watching is asked whether to wait again
// (kStillRunningQuestion). A target that cannot be written for any other
// reason is reported at once. Raises the writers' IoError, naming the file
// ("File in use: ..." for a program still held), with nothing left beside the
// targets.
void ExtractPrograms(SetupTransaction& transaction, const std::string& directory, RunProgress& progress);

inline constexpr std::uint64_t kBusyProgramPatienceMs = 15000;
inline constexpr const char* kWaitingForClientText = "Waiting for Vorpane to close...";
inline constexpr const char* kStillRunningQuestion =
    "Vorpane is still running. Please close it and press Retry.";

}  // namespace vorpane::app
