#pragma once
// The client's initial data file, written at the end of a fresh installation:
// start-up settings, the seed host table, a second address list and a keyed
// settings section, all in the typed record format.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "product/InstalledFiles.h"

namespace vorpane::datafile {

inline constexpr std::uint8_t kDataFileVersion = 5;
// Data files of these versions can be upgraded in place.
inline constexpr std::uint8_t kOldestCompatibleVersion = 4;
inline constexpr std::uint8_t kNewestCompatibleVersion = 14;

// Structural markers of the file.
inline constexpr std::uint8_t kInstallSectionMarker = 8;
inline constexpr std::uint8_t kHostSectionMarker = 22;
inline constexpr std::uint8_t kHostTableMarker = 32;
inline constexpr std::uint8_t kAddressSectionMarker = 27;
inline constexpr std::uint8_t kSettingsMarker = 203;
inline constexpr std::uint8_t kEndMarker = 0;

// Called with 94..99 as the file progresses; the install run shows it.
using ProgressCallback = std::function<void(int percent)>;

// Writes installDir + "Vorpane.Dat" for an installation directory given as the
// wizard holds it (with its trailing backslash). The file is created anew; on
// any failure the partly written file is removed and the error (IoError for
// the file system) propagates. Returns the file's size in bytes.
std::uint64_t WriteInitialDataFile(platform::Platform& platform, const std::string& installDir,
                                   const ProgressCallback& progress = {});

// The same, to any path.
std::uint64_t WriteInitialDataFileAt(platform::Platform& platform, const std::string& path,
                                     const std::string& installDir, const ProgressCallback& progress = {});

// The file's contents, into a file already open. Begins a new key table.
void WriteInitialDataFileContents(platform::Platform& platform, platform::OutputFile& file,
                                  const std::string& installDir, const ProgressCallback& progress = {});

// The version byte of a data file, or nothing when it cannot be opened or read.
std::optional<std::uint8_t> ReadDataFileVersion(platform::Platform& platform, const std::string& path);

inline bool IsCompatibleDataFileVersion(std::uint8_t version) {
  return version >= kOldestCompatibleVersion && version <= kNewestCompatibleVersion;
}

}  // namespace vorpane::datafile
