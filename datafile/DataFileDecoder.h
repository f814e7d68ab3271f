#pragma once
// Reads a data file back: the record reader reverses the escaping, the string
// scrambling (with its own copy of the key table, so decoding never disturbs a
// file being written) and the boolean ranges; the decoder walks the initial
// data file's layout and fills a structure. Bad input of any kind ends in a
// DataFileError naming the offset and what was expected.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "datafile/LIB_Data1_ReadWrite.h"
#include "platform/Platform.h"

namespace vorpane::datafile {

class DataFileError : public std::runtime_error {
 public:
  DataFileError(std::size_t offset, const std::string& message);
  // Where in the file the problem was found.
  std::size_t offset() const { return offset_; }

 private:
  std::size_t offset_;
};

class TypedRecordReader {
 public:
  explicit TypedRecordReader(std::string_view bytes) : bytes_(bytes) {}

  // Each names what it reads, for the error message.
  std::uint8_t ReadByte(const char* what);
  std::uint8_t ReadMarker(const char* what);
  std::string ReadString(const char* what);
  std::string ReadPlainString(const char* what);
  std::int32_t ReadInteger(const char* what);
  std::int64_t ReadInt64(const char* what);
  double ReadReal(const char* what);
  // The stored byte decides: 140..169 true, 100..129 false, anything else is an error.
  bool ReadBoolean(const char* what, std::uint8_t* stored = nullptr);
  std::string ReadGuid(const char* what);
  TAddressRecord ReadAddress(const char* what);

  // Makes the key table the one derived from a key seed.
  void BeginKeyTable(std::string_view seed) { key_ = DeriveKeyTable(seed); }
  // For reading from the middle of a stream whose table is known.
  void setKeyTable(const KeyTable& key) { key_ = key; }
  const KeyTable& keyTable() const { return key_; }

  std::size_t offset() const { return position_; }
  bool atEnd() const { return position_ >= bytes_.size(); }
  [[noreturn]] void fail(std::size_t offset, const std::string& message) const;

 private:
  std::uint8_t next(const char* what);
  std::size_t readLength(const char* what);

  std::string_view bytes_;
  std::size_t position_ = 0;
  KeyTable key_{};
};

enum class FieldKind { Byte, PlainString, String, Integer, DateTime, WholeDays, Boolean, Guid };

struct HeaderFieldLayout {
  FieldKind kind;
  const char* label;
};

inline constexpr std::size_t kHeaderFieldCount = 49;
// Field n (1-based) of the header is entry n-1.
const std::array<HeaderFieldLayout, kHeaderFieldCount>& HeaderLayout();

struct HeaderField {
  FieldKind kind = FieldKind::Byte;
  std::string text;          // strings and GUIDs; numbers in their stored text
  std::int64_t integer = 0;  // bytes, integers, whole days
  double real = 0;           // date-times
  bool boolean = false;
  std::uint8_t stored = 0;  // the byte behind a byte or a boolean
};

struct InstallSection {
  std::int32_t count = 0;
  std::string installPath;
  bool flags[2] = {};
};

struct SeedHostRecord {
  TAddressRecord address;
  double seen[3] = {};  // the three date-times
  std::int32_t count = 0;
  double reals[4] = {};
  std::int64_t totals[2] = {};
  std::uint8_t innerMarker = 0;
};

struct AddressListRecord {
  TAddressRecord address;
  double seen = 0;
};

struct SettingsSection {
  std::array<std::string, 4> packedStrings;  // unpacked
  std::int32_t integers[4] = {};             // 10, 7200, 15 and the one after the reals
  double reals[2] = {};
  std::vector<std::pair<std::string, std::string>> entries;
};

struct DecodedDataFile {
  std::vector<HeaderField> header;  // fields 1..49
  InstallSection install;
  std::vector<SeedHostRecord> seedHosts;
  std::vector<AddressListRecord> addressList;
  SettingsSection settings;
  KeyTable keyTableAtEnd{};
  std::size_t size = 0;
};

// Files larger than this are not data files the installer could have written.
inline constexpr std::size_t kMaxDataFileSize = 64u << 20;

DecodedDataFile DecodeDataFile(std::string_view bytes);
// Reads the whole file first; raises DataFileError for one beyond the limit.
DecodedDataFile DecodeDataFile(platform::InputFile& file);

// "82.103.45.7:6346"
std::string AddressText(const TAddressRecord& address);

}  // namespace vorpane::datafile
