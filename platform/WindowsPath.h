#pragma once
// Windows paths and text fields as the runtime treats them, in one place for
// every module: blanks trimmed away (spaces and every control character), the
// trailing backslash of a directory, drive roots ("C:\"), letter case of A to
// Z only (the file system's case folding of plain names), and ";"-separated
// lists of directories or masks. Portable: no Windows header involved.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorpane::platform::path {

// A blank is a space or any control character, as text fields are trimmed of.
constexpr bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
std::string_view trimmed(std::string_view text);

std::string withTrailingBackslash(std::string path);
// One trailing backslash less, if there is one.
std::string withoutTrailingBackslash(std::string path);

// The folder of a file's path with its trailing backslash ("C:\\Dir\\"), and
// the file's name ("File.Exe"); a path without a backslash is all name.
std::string folderOf(std::string_view path);
std::string nameOf(std::string_view path);

// "X:" with X a letter.
bool hasDriveLetter(std::string_view path);
// "X:\..." with X a letter: only such a path names a place on a given disk,
// as a bare "\" means the root of whichever drive is current.
bool startsAtDriveRoot(std::string_view path);
// The "X:\" a drive-rooted path starts with.
std::string driveRootOf(std::string_view path);

constexpr char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
std::string lowerAscii(std::string_view text);
// Whether two names are the same to the file system: A to Z in either case.
bool sameName(std::string_view a, std::string_view b);

// The full path the system makes of a path, as its full-path call does, for a
// program whose current directory is currentDirectory (itself full): "/" read
// as "\", runs of separators collapsed, "." and ".." applied (never above the
// root: "X:\", or "\\server\share" and "\\.\device"), one dot dropped from the
// end of a name that a separator follows, and every dot and blank ending the
// last name dropped. "\dir" is taken on the current directory's root, "X:dir" in
// the current directory when it is on X and at X's root otherwise, "dir" in the
// current directory. A "\\?\" path is the system's own and stays as it is.
// Nothing for an empty path, which names no place.
std::optional<std::string> fullPathIn(std::string_view path, std::string_view currentDirectory);

// The non-empty, trimmed pieces of a ";"-separated list, in their order.
std::vector<std::string> splitList(std::string_view text);

}  // namespace vorpane::platform::path
