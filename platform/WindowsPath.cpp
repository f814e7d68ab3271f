#include "platform/WindowsPath.h"

#include <algorithm>

namespace vorpane::platform::path {

namespace {

constexpr bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool startsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// How much of a full path (with backslashes only) is the root that ".." never
// leaves: "X:\", or "\\server\share" and "\\.\device".
std::size_t rootLength(std::string_view path) {
  if (!startsWith(path, "\\\\")) return startsAtDriveRoot(path) ? 3 : 0;
  const std::size_t server = path.find('\\', 2);
  const std::size_t share = server == std::string_view::npos ? server : path.find('\\', server + 1);
  return std::min(share, path.size());
}

// A path whose root is known, with its names collapsed as the system does.
std::string collapsed(std::string_view path) {
  const std::size_t root = rootLength(path);
  std::vector<std::string> names;
  std::string_view rest = path.substr(root);
  const bool endsInSeparator = !rest.empty() && rest.back() == '\\';
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\\'), rest.size());
    std::string name(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    // One dot at a name's end goes; the last name loses all its dots and
    // blanks below, unless a separator follows it.
    if (name.back() == '.') name.pop_back();
    names.push_back(std::move(name));
  }
  std::string full(path.substr(0, root));
  for (const std::string& name : names) {
    if (!full.empty() && full.back() != '\\') full += '\\';
    full += name;
  }
  if (endsInSeparator && (full.empty() || full.back() != '\\')) full += '\\';
  while (!endsInSeparator && full.size() > root && (full.back() == '.' || full.back() == ' '))
    full.pop_back();
  return full;
}

}  // namespace

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string withTrailingBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::string withoutTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

std::string folderOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('\\');
  return std::string(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1));
}

std::string nameOf(std::string_view path) { return std::string(path.substr(path.find_last_of('\\') + 1)); }

bool hasDriveLetter(std::string_view path) {
  return path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':';
}

bool startsAtDriveRoot(std::string_view path) {
  return hasDriveLetter(path) && path.size() >= 3 && path[2] == '\\';
}

std::string driveRootOf(std::string_view path) { return std::string(path.substr(0, 3)); }

std::string lowerAscii(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return lowerAscii(c); });
  return lower;
}

bool sameName(std::string_view a, std::string_view b) { return lowerAscii(a) == lowerAscii(b); }

std::optional<std::string> fullPathIn(std::string_view path, std::string_view currentDirectory) {
  if (path.empty()) return std::nullopt;
  std::string text(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  if (startsWith(text, "\\\\?\\")) return std::string(path);
  const std::string current(currentDirectory);
  if (startsWith(text, "\\\\") || startsAtDriveRoot(text)) return collapsed(text);
  if (hasDriveLetter(text)) {
    // Each drive keeps a current directory of its own; this program knows only
    // its own drive's, and the system starts every other drive at its root.
    const bool onCurrentDrive = hasDriveLetter(current) && lowerAscii(current[0]) == lowerAscii(text[0]);
    const std::string base = onCurrentDrive ? current : text.substr(0, 2) + "\\";
    return collapsed(text.size() == 2 ? base : base + "\\" + text.substr(2));
  }
  if (text.front() == '\\') return collapsed(current.substr(0, rootLength(current)) + text);
  return collapsed(current + "\\" + text);
}

std::vector<std::string> splitList(std::string_view text) {
  std::vector<std::string> pieces;
  text = trimmed(text);
  while (!text.empty()) {
    const std::size_t end = std::min(text.find(';'), text.size());
    const std::string_view piece = trimmed(text.substr(0, end));
    if (!piece.empty()) pieces.emplace_back(piece);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return pieces;
}

}  // namespace vorpane::platform::path
