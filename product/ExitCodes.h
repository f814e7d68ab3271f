#pragma once
// The exit codes of the installer and the uninstaller: one set of numbers, so
// that a deployment script reads both programs the same way.

#include <string>

namespace vorpane::product::exitcode {

inline constexpr int Done = 0;
inline constexpr int BadCommandLine = 1;
// Refused by a check before anything was changed (or, for the uninstaller,
// the client is running or the user said No).
inline constexpr int Refused = 2;
// The run failed; what was made is taken back, what stays is logged.
inline constexpr int RunFailed = 3;
// The program's own images do not match the digests recorded when it was built.
inline constexpr int Damaged = 4;
// Another installer (or uninstaller) is already at work in this session.
inline constexpr int AlreadyRunning = 5;

// The last line of every log, whichever way a program ends.
inline std::string LogLine(int code) { return "Exit code " + std::to_string(code); }

}  // namespace vorpane::product::exitcode
