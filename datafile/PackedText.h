#pragma once
// The packed text of the settings section: common substrings become two-character
// codes, then every character is spelt in 6-bit groups, frequent characters in
// one group and the rest behind one to four zero groups that select a further
// code page. docs/datafile.md lists the dictionary and the code pages.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorpane::datafile {

inline constexpr std::size_t kPackDictionarySize = 62;
// Starts a dictionary code; followed by a space it stands for itself.
inline constexpr char kPackCodeLead = 'Q';

struct PackDictionaryEntry {
  char code;
  std::string_view text;
};

// In replacement order: longer texts come before the texts they contain.
const std::array<PackDictionaryEntry, kPackDictionarySize>& PackDictionary();

// Text -> packed bytes, and back. Unpacking returns nothing when the bytes are
// not a packing (an unknown code, a group outside every code page).
std::string PackText(std::string_view text);
std::optional<std::string> UnpackText(std::string_view packed);

}  // namespace vorpane::datafile
