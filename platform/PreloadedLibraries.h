#pragma once
// The system libraries that system libraries themselves load later by name:
// the common controls pull in the theme and composition libraries, the shell
// and COM the property system, profiles, version resources, link tracking and
// network shares, the imaging component its codecs. Such a load searches as
// the system's default order goes, which under some systems still reaches the
// program's folder (a downloads folder, a temporary folder). Loaded from the
// system directory before the first window and kept, these are found loaded
// when asked for by name, and no file of the same name beside the program is
// ever read. A name the system lacks is simply skipped.

#include <array>

namespace vorpane::platform {

inline constexpr auto kPreloadedSystemLibraries = std::to_array<const char*>({
    "uxtheme.dll",  "dwmapi.dll",        "version.dll",         "cryptbase.dll",      "cryptsp.dll",
    "propsys.dll",  "windowscodecs.dll", "profapi.dll",         "userenv.dll",        "oleacc.dll",
    "msimg32.dll",  "textshaping.dll",   "wtsapi32.dll",        "sspicli.dll",        "ntmarta.dll",
    "linkinfo.dll", "ntshrui.dll",       "srvcli.dll",          "cscapi.dll",         "netutils.dll",
    "mpr.dll",      "edputil.dll",       "windows.storage.dll", "kernel.appcore.dll", "wldp.dll",
});

}  // namespace vorpane::platform
