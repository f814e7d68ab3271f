#include "datafile/LIB_Data1_ReadWrite.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <system_error>

namespace vorpane::datafile {

namespace {

KeyTable gKeyTable{};
TLibData1_ReadWrite* gCurrentWriter = nullptr;

// The runtime's string-to-integer conversion: the whole text must be a decimal
// number (optional sign), anything else gives 0.
std::int32_t textToIntOrZero(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return 0;
  return value;
}

// "e+15" -> "E15", "e-05" -> "E-5": the runtime writes no plus sign and no
// leading zeros in the exponent.
std::string runtimeExponent(std::string_view exponent) {
  std::string out = "E";
  std::size_t i = 1;
  if (i < exponent.size() && (exponent[i] == '+' || exponent[i] == '-')) {
    if (exponent[i] == '-') out += '-';
    ++i;
  }
  while (i + 1 < exponent.size() && exponent[i] == '0') ++i;
  out.append(exponent.substr(i));
  return out;
}

// printf writes the C locale's decimal separator (one character or several);
// the data file always holds ".".
std::string withPointSeparator(std::string_view printed) {
  std::string text;
  bool inSeparator = false;
  for (char c : printed) {
    const bool partOfNumber = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'e';
    if (partOfNumber) {
      text += c;
    } else if (!inSeparator) {
      text += '.';
    }
    inSeparator = !partOfNumber;
  }
  return text;
}

}  // namespace

TAddressRecord MakeAddressRecord(std::string_view dottedQuad, std::uint16_t port) {
  std::uint8_t octets[4] = {};
  std::string_view rest = dottedQuad;
  bool moreParts = true;
  for (int i = 0; i < 4 && moreParts; ++i) {
    std::string_view part = rest;
    const std::size_t dot = i < 3 ? rest.find('.') : std::string_view::npos;
    if (dot != std::string_view::npos) {
      part = rest.substr(0, dot);
      rest = rest.substr(dot + 1);
    } else {
      moreParts = false;
    }
    octets[i] = static_cast<std::uint8_t>(textToIntOrZero(part) & 0xFF);
  }
  TAddressRecord record;
  record.octet1 = octets[0];
  record.octet2 = octets[1];
  record.octet3 = octets[2];
  record.octet4 = octets[3];
  record.port = port;
  return record;
}

KeyTable& GlobalKeyTable() { return gKeyTable; }

KeyTable DeriveKeyTable(std::string_view seed) {
  std::string working(seed);
  if (working.size() < 300) working.resize(300, ' ');
  const std::size_t n = working.size();
  // Positions below are 1-based, as the table is defined.
  auto at = [&working](std::size_t position) { return static_cast<std::uint8_t>(working[position - 1]); };

  KeyTable key{};
  std::size_t length = 0;
  for (std::size_t p = n; p >= 250; --p) {
    if (p % 5 == 0 && length < 150) key[length++] = at(p);
  }
  for (std::size_t p = 2; p <= n && length < kKeyTableSize; p += 2) key[length++] = at(p);
  while (length < kKeyTableSize) {
    key[length] = at(length);
    ++length;
  }
  return key;
}

void PermuteKeyTable(KeyTable& key, std::uint8_t b) {
  const auto other = static_cast<std::uint8_t>(b + 2);
  if (b == 0 || other == 0) return;
  std::swap(key[b - 1], key[other - 1]);
}

std::string FormatGeneralReal(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  // printf's general format rounds correctly to 15 digits and switches to the
  // exponent form exactly where the runtime does (on Windows it is the
  // toolchain's own printf, linked in, not the system's); std::to_chars gives
  // the same text but brings its conversion tables, a sixth of the installer.
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  const std::string text = withPointSeparator(buffer);
  const std::size_t e = text.find('e');
  if (e == std::string::npos) return text;
  return text.substr(0, e) + runtimeExponent(std::string_view(text).substr(e));
}

std::string FormatGuid(const platform::Guid& guid) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.data1), static_cast<unsigned>(guid.data2),
                static_cast<unsigned>(guid.data3), guid.data4[0], guid.data4[1], guid.data4[2], guid.data4[3],
                guid.data4[4], guid.data4[5], guid.data4[6], guid.data4[7]);
  return text;
}

void AppendEscaped(std::string& out, std::uint8_t value) {
  if (value < 32) {
    out += static_cast<char>(kEscapeByte);
    out += static_cast<char>(value + kEscapeOffset);
  } else {
    out += static_cast<char>(value);
  }
}

// --- writer --------------------------------------------------------------------

void TLibData1_ReadWrite::writeEscaped(platform::OutputFile& f, std::string_view bytes) {
  // One value is collected and handed over in one piece; the file buffers
  // across values.
  std::string stored;
  stored.reserve(bytes.size() + 8);
  for (char c : bytes) AppendEscaped(stored, static_cast<std::uint8_t>(c));
  f.write(reinterpret_cast<const std::uint8_t*>(stored.data()), stored.size());
}

std::uint8_t TLibData1_ReadWrite::marker(std::uint8_t value) const {
  return static_cast<std::uint8_t>(value + gKeyTable[kMarkerKeyIndex]);
}

void TLibData1_ReadWrite::WriteByte(platform::OutputFile& f, std::uint8_t value) {
  const char byte = static_cast<char>(value);
  writeEscaped(f, std::string_view(&byte, 1));
}

void TLibData1_ReadWrite::WriteMarker(platform::OutputFile& f, std::uint8_t value) {
  WriteByte(f, marker(value));
}

void TLibData1_ReadWrite::WriteMarkerWord(platform::OutputFile& f, std::uint16_t value) {
  const char bytes[2] = {static_cast<char>(marker(static_cast<std::uint8_t>(value >> 8))),
                         static_cast<char>(marker(static_cast<std::uint8_t>(value & 0xFF)))};
  writeEscaped(f, std::string_view(bytes, 2));
}

void TLibData1_ReadWrite::WriteString(platform::OutputFile& f, std::string_view s) {
  // Longer strings would wrap the length bytes and corrupt everything after them.
  if (s.size() > kMaxStringLength) throw std::length_error("string too long for the data file");
  const auto b = static_cast<std::uint8_t>(platform_.random(254) + 1);
  std::string raw;
  raw.reserve(s.size() + 3);
  raw += static_cast<char>(b);
  raw += static_cast<char>(s.size() & 0xFF);
  raw += static_cast<char>(s.size() >> 8);
  for (std::size_t i = 1; i <= s.size(); ++i) {
    const std::uint8_t k = gKeyTable[(b + i - 1) % kKeyTableSize];
    raw += static_cast<char>(static_cast<std::uint8_t>(s[i - 1]) + k);
  }
  writeEscaped(f, raw);
  PermuteKeyTable(gKeyTable, b);
}

void TLibData1_ReadWrite::writeLengthPrefixed(platform::OutputFile& f, std::string_view s) {
  if (s.size() > kMaxStringLength) throw std::length_error("string too long for the data file");
  std::string raw;
  raw.reserve(s.size() + 2);
  raw += static_cast<char>(s.size() & 0xFF);
  raw += static_cast<char>(s.size() >> 8);
  raw.append(s);
  writeEscaped(f, raw);
}

void TLibData1_ReadWrite::WritePlainString(platform::OutputFile& f, std::string_view s) {
  writeLengthPrefixed(f, s);
}

void TLibData1_ReadWrite::WritePlainString2(platform::OutputFile& f, std::string_view s) {
  writeLengthPrefixed(f, s);
}

void TLibData1_ReadWrite::WriteInteger(platform::OutputFile& f, std::int32_t value) {
  WriteString(f, std::to_string(value));
}

void TLibData1_ReadWrite::WriteInt64(platform::OutputFile& f, std::int32_t value) {
  const std::uint64_t widened = static_cast<std::uint32_t>(value);
  WriteString(f, std::to_string(widened));
}

void TLibData1_ReadWrite::WriteReal(platform::OutputFile& f, double value) {
  if (value != lastReal_) {  // also for every not-a-number
    lastRealText_ = FormatGeneralReal(value);
    lastReal_ = value;
  }
  WriteString(f, lastRealText_);
}

void TLibData1_ReadWrite::WriteDateTime(platform::OutputFile& f, double dateTime) { WriteReal(f, dateTime); }

void TLibData1_ReadWrite::WriteDateTimeTrunc(platform::OutputFile& f, double dateTime) {
  WriteInteger(f, static_cast<std::int32_t>(std::trunc(dateTime)));
}

void TLibData1_ReadWrite::WriteBoolean(platform::OutputFile& f, bool value) {
  const std::uint8_t low = value ? kTrueLow : kFalseLow;
  WriteByte(f, static_cast<std::uint8_t>(low + platform_.random(30)));
}

void TLibData1_ReadWrite::WriteGuid(platform::OutputFile& f, const platform::Guid& guid) {
  WriteString(f, FormatGuid(guid));
}

void TLibData1_ReadWrite::WriteAddress(platform::OutputFile& f, const TAddressRecord& address) {
  const char markers[6] = {static_cast<char>(marker(address.octet4)),
                           static_cast<char>(marker(address.octet2)),
                           static_cast<char>(marker(static_cast<std::uint8_t>(address.port >> 8))),
                           static_cast<char>(marker(static_cast<std::uint8_t>(address.port & 0xFF))),
                           static_cast<char>(marker(address.octet1)),
                           static_cast<char>(marker(address.octet3))};
  writeEscaped(f, std::string_view(markers, 6));
}

std::string TLibData1_ReadWrite::BeginKeyTable() {
  const std::uint32_t length = platform_.random(kSeedLengthSpread) + kSeedMinLength;
  std::string seed(length, '\0');
  for (char& c : seed) c = static_cast<char>(platform_.random(kSeedCharSpread) + kSeedMinChar);
  gKeyTable = DeriveKeyTable(seed);
  return seed;
}

std::uint8_t TLibData1_ReadWrite::ReadByte(platform::InputFile& f) {
  auto next = [&f]() {
    std::uint8_t byte = 0;
    if (f.read(&byte, 1) != 1) throw platform::IoError(platform::io::ReadBeyondEnd);
    return byte;
  };
  const std::uint8_t first = next();
  if (first != kEscapeByte) return first;
  return static_cast<std::uint8_t>(next() - kEscapeOffset);
}

// --- current writer --------------------------------------------------------------

TLibData1_ReadWrite* CurrentWriter() { return gCurrentWriter; }

CurrentWriterScope::CurrentWriterScope(TLibData1_ReadWrite& writer) : previous_(gCurrentWriter) {
  gCurrentWriter = &writer;
}

CurrentWriterScope::~CurrentWriterScope() { gCurrentWriter = previous_; }

}  // namespace vorpane::datafile
