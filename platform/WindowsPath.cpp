#include "platform/WindowsPath.h"

#include <algorithm>

namespace vorpane::platform::path {

namespace {

constexpr bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

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
