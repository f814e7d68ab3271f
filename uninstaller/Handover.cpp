#include "uninstaller/Handover.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "platform/WindowsPath.h"
#include "product/InstalledFiles.h"
#include "uninstaller/Uninstall.h"

namespace vorpane::uninstaller {

namespace {

using platform::path::folderOf;
using platform::path::lowerAscii;
using platform::path::nameOf;
using platform::path::sameName;
using platform::path::withoutTrailingBackslash;
using platform::path::withTrailingBackslash;

// A staging folder or key that cannot be made is tried again under new names
// a few times: another program may be racing for the same folder.
constexpr int kStagingAttempts = 3;
constexpr std::size_t kTokenDigits = 32;

// 128 bits from the system's identifier generator, whose identifiers come
// from its cryptographic random source: a name and a key nobody can guess.
std::string unguessableToken(platform::Platform& platform) {
  const platform::Guid guid = platform.createGuid();
  char text[kTokenDigits + 1] = {};
  std::snprintf(text, sizeof text, "%08X%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X", guid.data1, guid.data2,
                guid.data3, guid.data4[0], guid.data4[1], guid.data4[2], guid.data4[3], guid.data4[4],
                guid.data4[5], guid.data4[6], guid.data4[7]);
  return text;
}

std::vector<std::uint8_t> readWhole(platform::Platform& platform, const std::string& path) {
  const auto input = platform.openFile(path);
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[64 * 1024];
  while (const std::size_t size = input->read(buffer, sizeof buffer))
    bytes.insert(bytes.end(), buffer, buffer + size);
  return bytes;
}

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

void removeStaging(platform::Platform& platform, const std::string& folder) {
  platform.removeFile(folder + "\\" + kHandoverKeyFile);
  platform.removeFile(folder + "\\" + product::kUninstallerFileName);
  platform.removeDirectory(folder);
}

// One attempt in a new folder: the key and the copy written and held, and the
// copy started while both are held. Returns the command line, or nothing when
// the folder could not be made.
std::optional<std::string> stageAndStart(platform::Platform& platform, const std::string& folder,
                                         const std::vector<std::uint8_t>& program,
                                         const std::string& original, bool silent) {
  if (!platform.createStagingFolder(folder)) return std::nullopt;
  try {
    const std::string key = unguessableToken(platform);
    const std::string copy = folder + "\\" + product::kUninstallerFileName;
    const auto keyHold = platform.writeHeldFile(folder + "\\" + kHandoverKeyFile, bytesOf(key));
    const auto copyHold = platform.writeHeldFile(copy, program);
    const std::string command = FinishingCommandLine(copy, platform.processId(), key, original, silent);
    // Its working directory is the staging folder: no process holds the
    // installation directory, and no one else may put a library there.
    if (!platform.startInFolder(command, folder))
      throw std::runtime_error("the copy " + copy + " did not start");
    return command;
  } catch (...) {
    removeStaging(platform, folder);
    throw;
  }
}

// The copy's own folder is a staging folder: directly under the temporary
// folder, named as the uninstaller names them, holding the copy itself.
bool runsFromStagingFolder(platform::Platform& platform, const std::string& ownProgram) {
  const auto temporary = platform.temporaryFolder();
  const std::string folder = withoutTrailingBackslash(folderOf(ownProgram));
  const std::string name = nameOf(folder);
  const std::string prefix = lowerAscii(kStagingPrefix);
  return temporary && sameName(folderOf(folder), withTrailingBackslash(*temporary)) &&
         name.size() == prefix.size() + kTokenDigits && lowerAscii(name).rfind(prefix, 0) == 0 &&
         sameName(nameOf(ownProgram), product::kUninstallerFileName);
}

bool keyMatches(platform::Platform& platform, const std::string& folder, const std::string& key) {
  try {
    return readWhole(platform, folder + kHandoverKeyFile) == bytesOf(key);
  } catch (const std::exception&) {
    return false;
  }
}

// A full path to a file named as the uninstaller: "X:\...\Uninstall_Vorpane.Exe".
bool namesAnUninstaller(const std::string& path) {
  return path.size() > 3 && path[1] == ':' && path[2] == '\\' &&
         sameName(nameOf(path), product::kUninstallerFileName);
}

// The copy cannot remove itself while it runs: the system removes it and its
// folder when it next starts.
void goAtRestart(platform::Platform& platform, const std::string& ownProgram) {
  platform.removeFileAtRestart(ownProgram);
  platform.removeFileAtRestart(withoutTrailingBackslash(folderOf(ownProgram)));
}

}  // namespace

Handover HandOverOwnRemoval(platform::Platform& platform, const std::string& program, bool silent) {
  const auto temporary = platform.temporaryFolder();
  if (!temporary) throw std::runtime_error("the system names no temporary folder");
  const std::vector<std::uint8_t> bytes = readWhole(platform, program);
  std::string lastFolder;
  for (int attempt = 0; attempt < kStagingAttempts; ++attempt) {
    lastFolder = withTrailingBackslash(*temporary) + kStagingPrefix + unguessableToken(platform);
    try {
      if (const auto command = stageAndStart(platform, lastFolder, bytes, program, silent))
        return {lastFolder, *command};
    } catch (const std::exception& error) {
      if (attempt + 1 == kStagingAttempts) throw std::runtime_error(error.what());
    }
  }
  throw std::runtime_error("the folder " + lastFolder + " could not be made");
}

bool CallOffHandover(platform::Platform& platform, const Handover& handover) {
  const std::string key = handover.folder + "\\" + kHandoverKeyFile;
  return platform.removeFile(key) || !platform.fileExists(key);
}

int FinishRemoval(platform::Platform& platform, const Switches& switches, Conversation& conversation) {
  const std::string own = platform.ownProgramPath();
  const std::string folder = folderOf(own);
  const std::string& original = switches.originalProgram;
  // Started by hand, the private switch does nothing at all.
  if (!runsFromStagingFolder(platform, own) || !keyMatches(platform, folder, switches.handoverKey) ||
      !namesAnUninstaller(original)) {
    if (!switches.silent)
      conversation.warn(
          "This copy of the uninstaller removes nothing: only the uninstaller itself can start it.");
    return product::exitcode::BadCommandLine;
  }
  platform.waitForProcessEnd(*switches.finishAfter, -1);
  // An uninstaller that had to stay, to be run again, took its key back.
  if (!keyMatches(platform, folder, switches.handoverKey)) {
    goAtRestart(platform, own);
    return product::exitcode::Refused;
  }
  // The system may hold the file for a moment after its process has ended.
  bool removed = platform.removeFile(original);
  for (int attempt = 0; attempt < 50 && !removed && platform.fileExists(original); ++attempt) {
    platform.sleep(100);
    removed = platform.removeFile(original);
  }
  platform.removeDirectory(withoutTrailingBackslash(folderOf(original)));
  platform.removeFile(folder + kHandoverKeyFile);
  goAtRestart(platform, own);
  if (removed || !platform.fileExists(original)) return product::exitcode::Done;
  if (!switches.silent) conversation.warn(original + " could not be removed. Please delete it yourself.");
  return product::exitcode::RunFailed;
}

}  // namespace vorpane::uninstaller
