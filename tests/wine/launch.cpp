// Starts a program the way a client starts the installer: with a raw command
// line handed to CreateProcess as it is, never re-quoted by a shell or by Wine's
// own argument handling. Optionally holds a file open meanwhile, as a client
// that has not ended yet holds its own program.
//
//   launch <file with the command line> [<file to hold> <milliseconds>]
//
// Waits for the started program and ends with its exit code (255 when it
// could not be started).

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: launch <command line file> [<file to hold> <milliseconds>]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::string commandLine{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  while (!commandLine.empty() && (commandLine.back() == '\n' || commandLine.back() == '\r'))
    commandLine.pop_back();

  HANDLE held = INVALID_HANDLE_VALUE;
  if (argc == 4)
    held = CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "cannot start: %s (error %lu)\n", commandLine.c_str(), GetLastError());
    return 255;
  }
  if (held != INVALID_HANDLE_VALUE) {
    Sleep(static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
    CloseHandle(held);
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 255;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}
