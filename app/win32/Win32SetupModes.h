#pragma once
// The Windows side of the installer's modes: the wizard's window, /SILENT's
// progress page, /VERYSILENT without any window, the list of switches and the
// refusal of a bad command line. WinMain has made the program safe, taken the
// setup lock, opened the log and set up COM before any of them runs.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Switches.h"
#include "platform/LogFile.h"
#include "platform/Win32Platform.h"

namespace vorpane::app {

// What the program knows of its run from the start, so that even an error no
// part of it expected is reported as the switches ask.
struct SetupRun {
  platform::Win32Platform platform;
  std::vector<std::string> arguments;
  Switches switches;
  std::unique_ptr<platform::LogFile> log;  // after the platform: it writes through it to the end

  void writeLog(const std::string& text) {
    if (log) log->write(text);
  }
};

// Ends the program before the wizard or a run began: the message in a box
// unless the switches silence boxes, the client of an automatic upgrade
// brought back unless another setup program holds it, and the exit code as
// the log's last line.
int EndBeforeStart(SetupRun& run, const std::string& message, int code);
// Refuses to go on, saying why in the log too, before anything has been done.
int Refuse(SetupRun& run, const std::string& message, int code);

// The verdict on the program's own images: the exit code of the refusal when
// one is damaged, nothing when both are intact. Nothing shows and nothing is
// written before it is given.
using ImageVerdict = std::function<std::optional<int>()>;

// Answers the command line in the mode its switches ask for; the exit code.
int RunSetupMode(HINSTANCE instance, SetupRun& run, const ImageVerdict& verdict);

}  // namespace vorpane::app
