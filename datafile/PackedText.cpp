#include "datafile/PackedText.h"

#include <vector>

namespace vorpane::datafile {

namespace {

// Code characters are the characters of the common code page, in order, less
// the code lead itself.
constexpr std::array<PackDictionaryEntry, kPackDictionarySize> kDictionary{{
    {'a', "http://www."},
    {'b', "http://"},
    {'c', "www."},
    {'d', "/~vorpane/"},
    {'e', "Install_Vorpane.exe"},
    {'f', "home."},
    {'g', "vorpane-provider"},
    {'h', "vorpane"},
    {'i', "provider"},
    {'j', "mirror"},
    {'k', "update"},
    {'l', "server"},
    {'m', "/REMSET/"},
    {'n', "/TEL/"},
    {'o', "Audio"},
    {'p', "Blocked"},
    {'q', "Cnt"},
    {'r', "Delay"},
    {'s', "Download"},
    {'t', "Document"},
    {'u', "Dangerous"},
    {'v', "Expired"},
    {'w', "File"},
    {'x', "GEBRUIK"},
    {'y', "INSTALL"},
    {'z', "Interval"},
    {'A', "Image"},
    {'B', "Latest"},
    {'C', "Location"},
    {'D', "Node"},
    {'E', "Path"},
    {'F', "REMSET"},
    {'G', "Retry"},
    {'H', "Setting"},
    {'I', "Suspended"},
    {'J', "Software"},
    {'K', "Treshold"},
    {'L', "Type"},
    {'M', "Upgrade"},
    {'N', "Use"},
    {'O', "Version"},
    {'P', "Video"},
    {'R', "Vorpane"},
    {'S', "6346"},
    {'T', ".net"},
    {'U', ".com"},
    {'V', ".org"},
    {'W', ".exe"},
    {'X', ".rms"},
    {'Y', ".dat"},
    {'Z', ".html"},
    {'0', ".htm"},
    {'1', ".zip"},
    {'2', ".txt"},
    {'3', "/pages/"},
    {'4', "/download/"},
    {'5', "/update/"},
    {'6', "/files/"},
    {'7', "/settings/"},
    {'8', "/index"},
    {'9', "://"},
    {'.', "/~"},
}};

// Replacing the dictionary texts one after another stays reversible only when a
// later text can never swallow part of an earlier code: no text contains the
// code lead, and none starts with a space or with an earlier entry's code.
constexpr bool dictionaryIsReversible() {
  for (std::size_t k = 0; k < kDictionary.size(); ++k) {
    const std::string_view text = kDictionary[k].text;
    if (text.empty() || text.front() == ' ' || text.find(kPackCodeLead) != std::string_view::npos)
      return false;
    for (std::size_t j = 0; j < k; ++j) {
      if (kDictionary[j].code == text.front() || kDictionary[j].code == kDictionary[k].code) return false;
    }
    if (kDictionary[k].code == kPackCodeLead || kDictionary[k].code == ' ') return false;
  }
  return true;
}
static_assert(dictionaryIsReversible());

constexpr unsigned kGroupBits = 6;
constexpr unsigned kGroupsPerPage = 63;  // group values 1..63; 0 selects the next page
constexpr unsigned kFurtherPages = 4;

// Where a byte value lives: page 0 is the common set, pages 1..4 the rest.
struct CodePosition {
  std::uint8_t page = 0;
  std::uint8_t group = 0;
};

struct CodePages {
  std::array<CodePosition, 256> positionOf{};
  // [page][group], group 1..63; 0 marks a free slot (only page 4 has them).
  std::array<std::array<int, kGroupsPerPage + 1>, kFurtherPages + 1> byteAt{};
};

bool inCommonPage(int c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
}

// Common page: a-z, A-Z, 0-9, "." as groups 1..63. Further pages: the other
// printable characters, then the control characters, then 127..255, 63 a page.
CodePages buildCodePages() {
  std::vector<int> common, further;
  for (int c = 'a'; c <= 'z'; ++c) common.push_back(c);
  for (int c = 'A'; c <= 'Z'; ++c) common.push_back(c);
  for (int c = '0'; c <= '9'; ++c) common.push_back(c);
  common.push_back('.');
  for (int c = 32; c <= 126; ++c)
    if (!inCommonPage(c)) further.push_back(c);
  for (int c = 0; c < 32; ++c) further.push_back(c);
  for (int c = 127; c <= 255; ++c) further.push_back(c);

  CodePages pages;
  for (auto& page : pages.byteAt) page.fill(-1);
  auto place = [&pages](int byte, std::size_t page, std::size_t group) {
    pages.positionOf[byte] = {static_cast<std::uint8_t>(page), static_cast<std::uint8_t>(group)};
    pages.byteAt[page][group] = byte;
  };
  for (std::size_t i = 0; i < common.size(); ++i) place(common[i], 0, i + 1);
  for (std::size_t i = 0; i < further.size(); ++i)
    place(further[i], 1 + i / kGroupsPerPage, 1 + i % kGroupsPerPage);
  return pages;
}

const CodePages& codePages() {
  static const CodePages pages = buildCodePages();
  return pages;
}

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, from)) {
    out.append(text.substr(from, at - from));
    out.append(with);
    from = at + what.size();
  }
  out.append(text.substr(from));
  return out;
}

std::string substituteDictionary(std::string_view text) {
  std::string coded = replaceAll(text, std::string(1, kPackCodeLead), std::string(1, kPackCodeLead) + ' ');
  for (const auto& entry : kDictionary) {
    coded = replaceAll(coded, entry.text, std::string{kPackCodeLead, entry.code});
  }
  return coded;
}

class BitWriter {
 public:
  void putGroup(unsigned group) {
    accumulator_ = (accumulator_ << kGroupBits) | group;
    bits_ += kGroupBits;
    while (bits_ >= 8) {
      bits_ -= 8;
      bytes_ += static_cast<char>((accumulator_ >> bits_) & 0xFF);
    }
  }
  std::string finish() {
    if (bits_ > 0) bytes_ += static_cast<char>((accumulator_ << (8 - bits_)) & 0xFF);
    bits_ = 0;
    return std::move(bytes_);
  }

 private:
  std::uint32_t accumulator_ = 0;
  unsigned bits_ = 0;
  std::string bytes_;
};

std::vector<unsigned> groupsOf(std::string_view packed) {
  std::vector<unsigned> groups;
  std::uint32_t accumulator = 0;
  unsigned bits = 0;
  for (char c : packed) {
    accumulator = (accumulator << 8) | static_cast<std::uint8_t>(c);
    bits += 8;
    while (bits >= kGroupBits) {
      bits -= kGroupBits;
      groups.push_back((accumulator >> bits) & 0x3F);
    }
  }
  return groups;  // leftover bits are the zero fill of the last byte
}

std::optional<std::string> spellGroups(const std::vector<unsigned>& groups) {
  const CodePages& pages = codePages();
  std::string text;
  for (std::size_t i = 0; i < groups.size();) {
    unsigned page = 0;
    while (i < groups.size() && groups[i] == 0) {
      ++page;
      ++i;
    }
    if (i == groups.size()) break;  // zero groups at the end are the last byte's fill
    if (page > kFurtherPages) return std::nullopt;
    const int byte = pages.byteAt[page][groups[i++]];
    if (byte < 0) return std::nullopt;
    text += static_cast<char>(byte);
  }
  return text;
}

std::optional<std::string> expandDictionary(std::string_view coded) {
  std::array<std::string_view, 256> textOfCode{};
  for (const auto& entry : kDictionary) textOfCode[static_cast<std::uint8_t>(entry.code)] = entry.text;
  std::string text;
  for (std::size_t i = 0; i < coded.size(); ++i) {
    if (coded[i] != kPackCodeLead) {
      text += coded[i];
      continue;
    }
    if (++i == coded.size()) return std::nullopt;
    if (coded[i] == ' ') {
      text += kPackCodeLead;
    } else {
      const std::string_view expansion = textOfCode[static_cast<std::uint8_t>(coded[i])];
      if (expansion.empty()) return std::nullopt;
      text.append(expansion);
    }
  }
  return text;
}

}  // namespace

const std::array<PackDictionaryEntry, kPackDictionarySize>& PackDictionary() { return kDictionary; }

std::string PackText(std::string_view text) {
  const CodePages& pages = codePages();
  BitWriter bits;
  for (char c : substituteDictionary(text)) {
    const CodePosition position = pages.positionOf[static_cast<std::uint8_t>(c)];
    for (unsigned zero = 0; zero < position.page; ++zero) bits.putGroup(0);
    bits.putGroup(position.group);
  }
  return bits.finish();
}

std::optional<std::string> UnpackText(std::string_view packed) {
  std::optional<std::string> coded = spellGroups(groupsOf(packed));
  if (!coded) return std::nullopt;
  return expandDictionary(*coded);
}

}  // namespace vorpane::datafile
