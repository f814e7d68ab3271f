#include "datafile/DataFileDecoder.h"

#include <cctype>
#include <charconv>
#include <system_error>

#include "datafile/InitialDataFile.h"
#include "datafile/PackedText.h"
#include "datafile/SeedHosts.h"

namespace vorpane::datafile {

DataFileError::DataFileError(std::size_t offset, const std::string& message)
    : std::runtime_error("offset " + std::to_string(offset) + ": " + message), offset_(offset) {}

// --- record reader ---------------------------------------------------------------

void TypedRecordReader::fail(std::size_t offset, const std::string& message) const {
  throw DataFileError(offset, message);
}

std::uint8_t TypedRecordReader::next(const char* what) {
  const std::size_t start = position_;
  if (position_ >= bytes_.size()) fail(start, std::string("the file ends while reading ") + what);
  const auto byte = static_cast<std::uint8_t>(bytes_[position_++]);
  if (byte >= 32) return byte;
  if (byte != kEscapeByte) fail(start, std::string("unescaped control byte in ") + what);
  if (position_ >= bytes_.size()) fail(start, std::string("the file ends inside an escaped byte of ") + what);
  const auto escaped = static_cast<std::uint8_t>(bytes_[position_++]);
  if (escaped < kEscapeOffset || escaped >= kEscapeOffset + 32)
    fail(start, std::string("bad escape in ") + what);
  return static_cast<std::uint8_t>(escaped - kEscapeOffset);
}

std::size_t TypedRecordReader::readLength(const char* what) {
  const std::size_t low = next(what);
  const std::size_t high = next(what);
  return low | high << 8;
}

std::uint8_t TypedRecordReader::ReadByte(const char* what) { return next(what); }

std::uint8_t TypedRecordReader::ReadMarker(const char* what) {
  return static_cast<std::uint8_t>(next(what) - key_[kMarkerKeyIndex]);
}

std::string TypedRecordReader::ReadString(const char* what) {
  const std::uint8_t b = next(what);
  if (b == 0 || b == 255) fail(position_ - 1, std::string("bad string key in ") + what);
  const std::size_t length = readLength(what);
  std::string s(length, '\0');
  for (std::size_t i = 1; i <= length; ++i) {
    s[i - 1] = static_cast<char>(next(what) - key_[(b + i - 1) % kKeyTableSize]);
  }
  PermuteKeyTable(key_, b);
  return s;
}

std::string TypedRecordReader::ReadPlainString(const char* what) {
  const std::size_t length = readLength(what);
  std::string s(length, '\0');
  for (char& c : s) c = static_cast<char>(next(what));
  return s;
}

namespace {

template <typename Number>
bool parseWhole(const std::string& text, Number& value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool isUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool isGuidText(const std::string& text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    const bool hyphen = i == 9 || i == 14 || i == 19 || i == 24;
    if (hyphen ? text[i] != '-' : !isUpperHex(text[i])) return false;
  }
  return true;
}

}  // namespace

std::int32_t TypedRecordReader::ReadInteger(const char* what) {
  const std::size_t start = position_;
  const std::string text = ReadString(what);
  std::int32_t value = 0;
  if (!parseWhole(text, value)) fail(start, std::string(what) + " is not an integer: \"" + text + "\"");
  return value;
}

std::int64_t TypedRecordReader::ReadInt64(const char* what) {
  const std::size_t start = position_;
  const std::string text = ReadString(what);
  std::int64_t value = 0;
  if (!parseWhole(text, value)) fail(start, std::string(what) + " is not a 64-bit integer: \"" + text + "\"");
  return value;
}

double TypedRecordReader::ReadReal(const char* what) {
  const std::size_t start = position_;
  const std::string text = ReadString(what);
  double value = 0;
  const bool plainNumber = !text.empty() && (std::isdigit(static_cast<unsigned char>(text.back())) ||
                                             text == "NAN" || text == "INF" || text == "-INF");
  if (!plainNumber || !parseWhole(text, value)) {
    fail(start, std::string(what) + " is not a real number: \"" + text + "\"");
  }
  return value;
}

bool TypedRecordReader::ReadBoolean(const char* what, std::uint8_t* stored) {
  const std::size_t start = position_;
  const std::uint8_t byte = next(what);
  if (stored != nullptr) *stored = byte;
  if (byte >= kTrueLow && byte <= kTrueHigh) return true;
  if (byte >= kFalseLow && byte <= kFalseHigh) return false;
  fail(start, std::string(what) + " is not a boolean (byte " + std::to_string(byte) + ")");
}

std::string TypedRecordReader::ReadGuid(const char* what) {
  const std::size_t start = position_;
  std::string text = ReadString(what);
  if (!isGuidText(text)) fail(start, std::string(what) + " is not a GUID: \"" + text + "\"");
  return text;
}

TAddressRecord TypedRecordReader::ReadAddress(const char* what) {
  TAddressRecord address;
  address.octet4 = ReadMarker(what);
  address.octet2 = ReadMarker(what);
  const std::uint8_t portHigh = ReadMarker(what);
  const std::uint8_t portLow = ReadMarker(what);
  address.port = static_cast<std::uint16_t>(portHigh << 8 | portLow);
  address.octet1 = ReadMarker(what);
  address.octet3 = ReadMarker(what);
  return address;
}

// --- layout ----------------------------------------------------------------------

const std::array<HeaderFieldLayout, kHeaderFieldCount>& HeaderLayout() {
  using K = FieldKind;
  static const std::array<HeaderFieldLayout, kHeaderFieldCount> layout{{
      {K::Byte, "file version"},
      {K::PlainString, "key seed"},
      {K::String, "installer version"},
      {K::String, "installation path"},
      {K::Integer, "integer"},
      {K::Integer, "integer"},
      {K::Integer, "port"},
      {K::String, "string"},
      {K::Integer, "integer"},
      {K::Integer, "integer"},
      {K::String, "string"},
      {K::String, "string"},
      {K::String, "string"},
      {K::Integer, "integer"},
      {K::DateTime, "date (written + 25 days)"},
      {K::Boolean, "flag"},
      {K::Guid, "installation GUID"},
      {K::Boolean, "flag"},
      {K::DateTime, "date (written - 7 days)"},
      {K::DateTime, "date (written - 7 days)"},
      {K::DateTime, "date (written - 7 days)"},
      {K::Integer, "integer"},
      {K::Integer, "integer"},
      {K::Boolean, "flag"},
      {K::Boolean, "flag"},
      {K::WholeDays, "day (written + 100)"},
      {K::Integer, "integer"},
      {K::Integer, "integer"},
      {K::WholeDays, "day (written + 900)"},
      {K::String, "usage counter URL"},
      {K::String, "install counter URL"},
      {K::Integer, "usage threshold"},
      {K::Boolean, "flag"},
      {K::String, "remote settings URL 1"},
      {K::String, "remote settings URL 2"},
      {K::String, "remote settings URL 3"},
      {K::Integer, "integer"},
      {K::Integer, "integer"},
      {K::Integer, "integer"},
      {K::String, "installer download URL 1"},
      {K::String, "installer download URL 2"},
      {K::String, "string"},
      {K::String, "string"},
      {K::String, "string"},
      {K::String, "string"},
      {K::WholeDays, "day (written - 100)"},
      {K::Boolean, "flag"},
      {K::Boolean, "flag"},
      {K::Boolean, "flag"},
  }};
  return layout;
}

namespace {

class InitialLayoutDecoder {
 public:
  explicit InitialLayoutDecoder(std::string_view bytes) : r_(bytes) { file_.size = bytes.size(); }

  DecodedDataFile decode() {
    if (r_.atEnd()) r_.fail(0, "the file is empty");
    decodeHeader();
    decodeInstallSection();
    decodeHostSection();
    decodeAddressSection();
    decodeSettingsSection();
    expectMarker(kEndMarker, "end of file");
    expectMarker(kEndMarker, "end of file");
    if (!r_.atEnd()) r_.fail(r_.offset(), "unexpected data after the end of the file");
    file_.keyTableAtEnd = r_.keyTable();
    return std::move(file_);
  }

 private:
  void expectMarker(std::uint8_t expected, const char* what) {
    const std::size_t start = r_.offset();
    const std::uint8_t found = r_.ReadMarker(what);
    if (found != expected) {
      r_.fail(start, std::string("expected marker ") + std::to_string(expected) + " (" + what + "), found " +
                         std::to_string(found));
    }
  }

  void checkVersion(std::uint8_t version) {
    if (version == kDataFileVersion) return;
    if (IsCompatibleDataFileVersion(version)) {
      r_.fail(0, "data file version " + std::to_string(version) + "; only the layout of version " +
                     std::to_string(kDataFileVersion) + " can be decoded");
    }
    r_.fail(0, "not a Vorpane data file (version byte " + std::to_string(version) + ")");
  }

  HeaderField decodeField(const HeaderFieldLayout& layout) {
    HeaderField field;
    field.kind = layout.kind;
    switch (layout.kind) {
      case FieldKind::Byte:
        field.stored = r_.ReadByte(layout.label);
        field.integer = field.stored;
        break;
      case FieldKind::PlainString:
        field.text = r_.ReadPlainString(layout.label);
        break;
      case FieldKind::String:
        field.text = r_.ReadString(layout.label);
        break;
      case FieldKind::Integer:
      case FieldKind::WholeDays:
        field.integer = r_.ReadInteger(layout.label);
        field.text = std::to_string(field.integer);
        break;
      case FieldKind::DateTime:
        field.real = r_.ReadReal(layout.label);
        field.text = FormatGeneralReal(field.real);
        break;
      case FieldKind::Boolean:
        field.boolean = r_.ReadBoolean(layout.label, &field.stored);
        break;
      case FieldKind::Guid:
        field.text = r_.ReadGuid(layout.label);
        break;
    }
    return field;
  }

  void decodeHeader() {
    const auto& layout = HeaderLayout();
    for (std::size_t i = 0; i < layout.size(); ++i) {
      file_.header.push_back(decodeField(layout[i]));
      if (i == 0) checkVersion(file_.header[0].stored);
      if (i == 1) r_.BeginKeyTable(file_.header[1].text);
    }
  }

  void decodeInstallSection() {
    InstallSection& s = file_.install;
    expectMarker(kInstallSectionMarker, "installation section");
    s.count = r_.ReadInteger("installation count");
    expectMarker(kInstallSectionMarker, "installation entry");
    s.installPath = r_.ReadString("installation directory");
    s.flags[0] = r_.ReadBoolean("installation flag");
    s.flags[1] = r_.ReadBoolean("installation flag");
    expectMarker(kEndMarker, "end of installation section");
  }

  // Records follow while the record marker repeats; the list's end marker stops them.
  bool nextRecord(std::uint8_t recordMarker, const char* what) {
    const std::size_t start = r_.offset();
    const std::uint8_t found = r_.ReadMarker(what);
    if (found == recordMarker) return true;
    if (found == kEndMarker) return false;
    r_.fail(start, std::string("expected marker ") + std::to_string(recordMarker) + " or 0 (" + what +
                       "), found " + std::to_string(found));
  }

  SeedHostRecord decodeSeedHost() {
    SeedHostRecord h;
    h.address = r_.ReadAddress("seed host address");
    h.seen[0] = r_.ReadReal("seed host date");
    h.seen[1] = r_.ReadReal("seed host date");
    h.count = r_.ReadInteger("seed host count");
    h.seen[2] = r_.ReadReal("seed host date");
    for (int i = 0; i < 3; ++i) h.reals[i] = r_.ReadReal("seed host value");
    h.totals[0] = r_.ReadInt64("seed host total");
    h.totals[1] = r_.ReadInt64("seed host total");
    h.innerMarker = r_.ReadMarker("seed host marker");
    h.reals[3] = r_.ReadReal("seed host value");
    return h;
  }

  void decodeHostSection() {
    expectMarker(kHostSectionMarker, "host section");
    expectMarker(kHostTableMarker, "host table");
    expectMarker(kSeedHostMarker, "seed host table");
    while (nextRecord(kSeedHostMarker, "seed host record")) file_.seedHosts.push_back(decodeSeedHost());
  }

  void decodeAddressSection() {
    expectMarker(kEndMarker, "end of host section");
    expectMarker(kAddressSectionMarker, "address section");
    expectMarker(kAddressListMarker, "address list");
    while (nextRecord(kAddressListMarker, "address list record")) {
      AddressListRecord a;
      a.address = r_.ReadAddress("address list address");
      a.seen = r_.ReadReal("address list date");
      file_.addressList.push_back(a);
    }
  }

  void decodeSettingsSection() {
    SettingsSection& s = file_.settings;
    expectMarker(kEndMarker, "end of address section");
    expectMarker(kSettingsMarker, "settings section");
    for (std::string& text : s.packedStrings) {
      const std::size_t start = r_.offset();
      std::optional<std::string> unpacked = UnpackText(r_.ReadPlainString("packed string"));
      if (!unpacked) r_.fail(start, "packed string cannot be unpacked");
      text = std::move(*unpacked);
    }
    for (int i = 0; i < 3; ++i) s.integers[i] = r_.ReadInteger("settings integer");
    s.reals[0] = r_.ReadReal("settings real");
    s.reals[1] = r_.ReadReal("settings real");
    s.integers[3] = r_.ReadInteger("settings integer");
    while (nextRecord(kSettingsMarker, "settings entry")) {
      std::string key = r_.ReadString("settings key");
      s.entries.emplace_back(std::move(key), r_.ReadString("settings value"));
    }
  }

  TypedRecordReader r_;
  DecodedDataFile file_;
};

}  // namespace

DecodedDataFile DecodeDataFile(std::string_view bytes) { return InitialLayoutDecoder(bytes).decode(); }

DecodedDataFile DecodeDataFile(platform::InputFile& file) {
  std::string bytes;
  std::uint8_t block[64 * 1024];
  for (std::size_t got; (got = file.read(block, sizeof block)) > 0;) {
    if (bytes.size() + got > kMaxDataFileSize) {
      throw DataFileError(bytes.size(), "the file is larger than any data file (" +
                                            std::to_string(kMaxDataFileSize >> 20) + " MiB)");
    }
    bytes.append(reinterpret_cast<const char*>(block), got);
  }
  return DecodeDataFile(bytes);
}

std::string AddressText(const TAddressRecord& a) {
  return std::to_string(a.octet1) + "." + std::to_string(a.octet2) + "." + std::to_string(a.octet3) + "." +
         std::to_string(a.octet4) + ":" + std::to_string(a.port);
}

}  // namespace vorpane::datafile
