#pragma once
// The directories the wizard's pages propose and the checks they make before
// going on; the unattended setup proposes and checks the same way.
// Directories are Windows paths; the fields hold them with a trailing backslash.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vorpane::app {

inline constexpr const char* kInstallDiskLine = "Vorpane must be installed on a (local) harddisk.";
inline constexpr const char* kDownloadDiskLine = "The downloaddirectory must be on a (local) harddisk.";
inline constexpr const char* kCacheDiskLine = "The Cachedirectory must be on a (local) harddisk.";

// The folder the installation page's tree starts in: program files, or C:\Vorpane.
std::string ProposedInstallFolder(platform::Platform& platform);
// The installation directory for a folder chosen in the tree: the product's
// own folder inside it, unless the folder already names the product.
std::string InstallDirIn(const std::string& folder);
// The folder the download page's tree starts in: an existing Downloads folder
// on C:, else D:, else E: (fixed disks only), else Downloads on the
// installation's drive.
std::string ProposedDownloadFolder(platform::Platform& platform, const std::string& installDir);
// The cache directory proposed for a download directory: on the same drive.
std::string ProposedCacheDir(const std::string& downloadDir);

// The directory a page or a switch names, as the setup checks and stores it:
// the text trimmed, full, normalised and canonical (platform::normalizedDirectory),
// with one trailing backslash. A share or device path is refused as no hard
// disk (diskLine is the page's second line), a relative one as "... is not a
// full path": the setup's own current directory is nothing a person chose.
std::string FullDirectory(platform::Platform& platform, const std::string& text, const char* diskLine);

// Makes sure a directory entered on a page can be used: it starts at the root
// of a local hard disk, and it is there (one missing level is made). Raises the
// message to show otherwise; diskLine is the page's second line. True when the
// directory was made here.
bool AcceptDirectory(platform::Platform& platform, const std::string& directory, const char* diskLine);
// The two halves of the above, for a caller that checks everything before it
// makes anything.
void RefuseOtherThanHardDisk(platform::Platform& platform, const std::string& directory,
                             const char* diskLine);
bool MakeDirectoryIfMissing(platform::Platform& platform, const std::string& directory);
// Whether a directory holds an installation: its data file is there.
bool HoldsInstallation(platform::Platform& platform, const std::string& directory);
// Every level of the directories that is not there yet, outermost first, with
// its trailing backslash: what the unattended setup and the log make one by
// one, where a page makes one level only. A level that is a file cannot be
// made: it is refused with the pages' message before anything is.
std::vector<std::string> MissingLevels(platform::Platform& platform,
                                       const std::vector<std::string>& directories);
// A fresh installation never goes over an existing one: raises the message.
void RefuseExistingInstallation(platform::Platform& platform, const std::string& installDir);

}  // namespace vorpane::app
