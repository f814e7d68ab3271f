#pragma once
// TLibData1_ReadWrite: the client's typed record format. Values are written one
// after another with no separators or names, so the order of the calls is the
// format. Every byte below 32 is escaped, strings are scrambled with a key table
// that is shared by the whole process and permuted after every scrambled string,
// and booleans are random bytes in two ranges. Only the first byte (the file
// version) is ever read back by the installer; the full reader lives in
// DataFileDecoder.
//
// Single-threaded by design: the key table and the current writer are
// process-wide, like the client's own.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace vorpane::datafile {

inline constexpr std::size_t kKeyTableSize = 256;
using KeyTable = std::array<std::uint8_t, kKeyTableSize>;

// The longest string whose length fits the two length bytes.
inline constexpr std::size_t kMaxStringLength = 0xFFFF;

// Bytes below this value never appear in the file as themselves.
inline constexpr std::uint8_t kEscapeByte = 31;
inline constexpr std::uint8_t kEscapeOffset = 84;

// The key position that offsets every marker (1-based position 17).
inline constexpr std::size_t kMarkerKeyIndex = 16;

// Boolean byte ranges, inclusive.
inline constexpr std::uint8_t kTrueLow = 140, kTrueHigh = 169;
inline constexpr std::uint8_t kFalseLow = 100, kFalseHigh = 129;

// Key seed length range and character range, inclusive.
inline constexpr std::uint32_t kSeedMinLength = 879, kSeedLengthSpread = 99;
inline constexpr std::uint32_t kSeedMinChar = 14, kSeedCharSpread = 240;

// A peer address as the file stores it, fields in the record's memory order.
struct TAddressRecord {
  std::uint8_t octet2 = 0;
  std::uint8_t octet4 = 0;
  std::uint16_t port = 0;
  std::uint8_t octet1 = 0;
  std::uint8_t octet3 = 0;

  bool operator==(const TAddressRecord&) const = default;
};

// Builds an address record from dotted-quad text. Each part goes through a
// string-to-integer conversion that gives 0 on any error and keeps the low 8
// bits; octets that the text does not reach are 0.
TAddressRecord MakeAddressRecord(std::string_view dottedQuad, std::uint16_t port);

// The process-wide key table. Writers and readers must hold identical tables at
// the same point of the stream.
KeyTable& GlobalKeyTable();

// Derives the 256-byte key table from a key seed.
KeyTable DeriveKeyTable(std::string_view seed);

// The permutation after every scrambled string: positions b and b+2 (1-based)
// trade places, except when b+2 is 256, which the byte-sized position turns
// into 0, meaning "no swap".
void PermuteKeyTable(KeyTable& key, std::uint8_t b);

// The real-number text of the client's runtime: general format with 15
// significant digits and "." as separator; fixed notation while the decimal
// exponent lies in -4..14, otherwise "1.5E-7" / "1E15" style; "0" for zero.
std::string FormatGeneralReal(double value);

// The standard braced, upper-case GUID text, 38 characters.
std::string FormatGuid(const platform::Guid& guid);

// Appends the stored form of one byte (escaped when below 32) to a buffer.
void AppendEscaped(std::string& out, std::uint8_t value);

class TLibData1_ReadWrite {
 public:
  // Randomness for string keys, booleans and the key seed comes from the platform.
  explicit TLibData1_ReadWrite(platform::Platform& platform) : platform_(platform) {}
  TLibData1_ReadWrite(const TLibData1_ReadWrite&) = delete;
  TLibData1_ReadWrite& operator=(const TLibData1_ReadWrite&) = delete;

  void WriteByte(platform::OutputFile& f, std::uint8_t value);
  void WriteMarker(platform::OutputFile& f, std::uint8_t value);
  void WriteMarkerWord(platform::OutputFile& f, std::uint16_t value);
  void WriteString(platform::OutputFile& f, std::string_view s);
  // Two entries with the same output: one stores the key seed, the other the
  // packed strings of the settings section.
  void WritePlainString(platform::OutputFile& f, std::string_view s);
  void WritePlainString2(platform::OutputFile& f, std::string_view s);
  void WriteInteger(platform::OutputFile& f, std::int32_t value);
  // The value travels as 32 bits widened with a zero high half, so -1 prints
  // as 4294967295.
  void WriteInt64(platform::OutputFile& f, std::int32_t value);
  void WriteReal(platform::OutputFile& f, double value);
  void WriteDateTime(platform::OutputFile& f, double dateTime);
  void WriteDateTimeTrunc(platform::OutputFile& f, double dateTime);
  void WriteBoolean(platform::OutputFile& f, bool value);
  void WriteGuid(platform::OutputFile& f, const platform::Guid& guid);
  void WriteAddress(platform::OutputFile& f, const TAddressRecord& address);

  // Draws a fresh key seed, makes its table the process-wide key table and
  // returns the seed, which the file stores in plain form.
  std::string BeginKeyTable();

  // Reads one value written by WriteByte; raises IoError at the end of the file.
  static std::uint8_t ReadByte(platform::InputFile& f);

 private:
  void writeEscaped(platform::OutputFile& f, std::string_view bytes);
  void writeLengthPrefixed(platform::OutputFile& f, std::string_view s);
  std::uint8_t marker(std::uint8_t value) const;

  platform::Platform& platform_;
  // The last real written and its text: a file repeats a few reals thousands
  // of times (every seed host's dates), and each text is made only once.
  double lastReal_ = 0;
  std::string lastRealText_ = "0";
};

// The writer that the section writers use; set by the data-file writer for the
// length of one file.
TLibData1_ReadWrite* CurrentWriter();

// Makes a writer the current one for its scope, restoring the previous one after.
class CurrentWriterScope {
 public:
  explicit CurrentWriterScope(TLibData1_ReadWrite& writer);
  ~CurrentWriterScope();
  CurrentWriterScope(const CurrentWriterScope&) = delete;
  CurrentWriterScope& operator=(const CurrentWriterScope&) = delete;

 private:
  TLibData1_ReadWrite* previous_;
};

}  // namespace vorpane::datafile
