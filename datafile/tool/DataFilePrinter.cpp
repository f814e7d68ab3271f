#include "datafile/tool/DataFilePrinter.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "datafile/DateTime.h"

namespace vorpane::datafile::tool {

namespace {

// A quoted string in which quotes and backslashes are escaped and every other
// byte outside printable ASCII goes through escapeByte.
template <typename EscapeByte>
std::string quotedWith(const std::string& text, EscapeByte escapeByte) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 32 || byte >= 127) {
      out += escapeByte(byte);
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// Every byte outside printable ASCII spelt as an escape, so a carriage return
// inside a value stays visible.
std::string quoted(const std::string& text) {
  return quotedWith(text, [](unsigned char byte) -> std::string {
    if (byte == '\r') return "\\r";
    if (byte == '\n') return "\\n";
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02X", byte);
    return hex;
  });
}

// JSON strings carry the file's bytes as code points 0..255.
std::string jsonString(const std::string& text) {
  return quotedWith(text, [](unsigned char byte) -> std::string {
    char escape[7];
    std::snprintf(escape, sizeof escape, "\\u%04X", byte);
    return escape;
  });
}

std::string jsonReal(double value) { return std::isfinite(value) ? FormatGeneralReal(value) : "null"; }

std::string calendarText(double dateTime) {
  if (!std::isfinite(dateTime) || std::fabs(dateTime) > 3e6) return "out of range";
  const platform::LocalDateTime t = DecodeDateTime(dateTime);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour,
                t.minute, t.second, t.millisecond);
  return text;
}

std::string realWithDate(double dateTime) {
  return FormatGeneralReal(dateTime) + " (" + calendarText(dateTime) + ")";
}

const char* boolText(bool value) { return value ? "true" : "false"; }

std::string fieldText(const HeaderField& field) {
  switch (field.kind) {
    case FieldKind::Byte:
      return std::to_string(field.integer);
    case FieldKind::PlainString:
      return std::to_string(field.text.size()) + " characters";
    case FieldKind::String:
    case FieldKind::Guid:
      return quoted(field.text);
    case FieldKind::Integer:
      return field.text;
    case FieldKind::WholeDays:
      return field.text + " (" + calendarText(static_cast<double>(field.integer)).substr(0, 10) + ")";
    case FieldKind::DateTime:
      return realWithDate(field.real);
    case FieldKind::Boolean:
      return std::string(boolText(field.boolean)) + " (byte " + std::to_string(field.stored) + ")";
  }
  return {};
}

const char* kindName(FieldKind kind) {
  switch (kind) {
    case FieldKind::Byte:
      return "byte";
    case FieldKind::PlainString:
      return "plain string";
    case FieldKind::String:
      return "string";
    case FieldKind::Integer:
      return "integer";
    case FieldKind::WholeDays:
      return "whole days";
    case FieldKind::DateTime:
      return "date-time";
    case FieldKind::Boolean:
      return "boolean";
    case FieldKind::Guid:
      return "guid";
  }
  return "";
}

template <typename Records>
std::map<unsigned, std::size_t> portCounts(const Records& records) {
  std::map<unsigned, std::size_t> counts;
  for (const auto& record : records) ++counts[record.address.port];
  return counts;
}

template <typename Records>
void printPortSummary(std::ostream& out, const Records& records) {
  out << "  ports:";
  std::size_t singles = 0;
  for (const auto& [port, count] : portCounts(records)) {
    if (count == 1) {
      ++singles;
    } else {
      out << ' ' << port << " x" << count;
    }
  }
  out << ", " << singles << " single ports\n";
}

std::string keyTableHex(const KeyTable& key) {
  std::string hex;
  char pair[3];
  for (std::uint8_t byte : key) {
    std::snprintf(pair, sizeof pair, "%02X", byte);
    hex += pair;
  }
  return hex;
}

}  // namespace

void PrintText(std::ostream& out, const DecodedDataFile& file) {
  out << "Vorpane data file, " << file.size << " bytes\n\nHeader\n";
  const auto& layout = HeaderLayout();
  for (std::size_t i = 0; i < file.header.size(); ++i) {
    char label[64];
    std::snprintf(label, sizeof label, "%3zu %-28s", i + 1, layout[i].label);
    out << label << fieldText(file.header[i]) << '\n';
  }

  out << "\nInstallation section\n  count " << file.install.count << "\n  directory "
      << quoted(file.install.installPath) << "\n  flags " << boolText(file.install.flags[0]) << ' '
      << boolText(file.install.flags[1]) << '\n';

  out << "\nSeed host table: " << file.seedHosts.size() << " records\n";
  printPortSummary(out, file.seedHosts);
  for (const SeedHostRecord& h : file.seedHosts) {
    out << "  " << AddressText(h.address) << "  seen " << FormatGeneralReal(h.seen[0]) << ' '
        << FormatGeneralReal(h.seen[1]) << ' ' << FormatGeneralReal(h.seen[2]) << "  count " << h.count
        << "  values " << FormatGeneralReal(h.reals[0]) << ' ' << FormatGeneralReal(h.reals[1]) << ' '
        << FormatGeneralReal(h.reals[2]) << ' ' << FormatGeneralReal(h.reals[3]) << "  totals " << h.totals[0]
        << ' ' << h.totals[1] << "  marker " << static_cast<int>(h.innerMarker) << '\n';
  }

  out << "\nAddress list: " << file.addressList.size() << " records\n";
  printPortSummary(out, file.addressList);
  for (const AddressListRecord& a : file.addressList) {
    out << "  " << AddressText(a.address) << "  seen " << realWithDate(a.seen) << '\n';
  }

  const SettingsSection& s = file.settings;
  out << "\nSettings section\n";
  for (const std::string& text : s.packedStrings) out << "  packed " << quoted(text) << '\n';
  out << "  integers " << s.integers[0] << ' ' << s.integers[1] << ' ' << s.integers[2] << "  reals "
      << FormatGeneralReal(s.reals[0]) << ' ' << FormatGeneralReal(s.reals[1]) << "  integer "
      << s.integers[3] << '\n';
  out << "  " << s.entries.size() << " entries\n";
  for (const auto& [key, value] : s.entries) out << "  " << key << " = " << quoted(value) << '\n';

  out << "\nKey table at the end\n  " << keyTableHex(file.keyTableAtEnd) << '\n';
}

void PrintJson(std::ostream& out, const DecodedDataFile& file) {
  out << "{\n  \"size\": " << file.size << ",\n  \"header\": [\n";
  const auto& layout = HeaderLayout();
  for (std::size_t i = 0; i < file.header.size(); ++i) {
    const HeaderField& f = file.header[i];
    out << "    {\"field\": " << i + 1 << ", \"kind\": \"" << kindName(f.kind)
        << "\", \"label\": " << jsonString(layout[i].label) << ", \"value\": ";
    switch (f.kind) {
      case FieldKind::Byte:
      case FieldKind::Integer:
      case FieldKind::WholeDays:
        out << f.integer;
        break;
      case FieldKind::DateTime:
        out << jsonReal(f.real);
        break;
      case FieldKind::Boolean:
        out << boolText(f.boolean) << ", \"stored\": " << static_cast<int>(f.stored);
        break;
      default:
        out << jsonString(f.text);
    }
    out << '}' << (i + 1 < file.header.size() ? "," : "") << '\n';
  }
  out << "  ],\n  \"install\": {\"count\": " << file.install.count
      << ", \"directory\": " << jsonString(file.install.installPath) << ", \"flags\": ["
      << boolText(file.install.flags[0]) << ", " << boolText(file.install.flags[1]) << "]},\n";

  out << "  \"seedHosts\": [\n";
  for (std::size_t i = 0; i < file.seedHosts.size(); ++i) {
    const SeedHostRecord& h = file.seedHosts[i];
    out << "    {\"address\": " << jsonString(AddressText(h.address)) << ", \"seen\": ["
        << jsonReal(h.seen[0]) << ", " << jsonReal(h.seen[1]) << ", " << jsonReal(h.seen[2])
        << "], \"count\": " << h.count << ", \"values\": [" << jsonReal(h.reals[0]) << ", "
        << jsonReal(h.reals[1]) << ", " << jsonReal(h.reals[2]) << ", " << jsonReal(h.reals[3])
        << "], \"totals\": [" << h.totals[0] << ", " << h.totals[1]
        << "], \"marker\": " << static_cast<int>(h.innerMarker) << '}'
        << (i + 1 < file.seedHosts.size() ? "," : "") << '\n';
  }
  out << "  ],\n  \"addressList\": [\n";
  for (std::size_t i = 0; i < file.addressList.size(); ++i) {
    const AddressListRecord& a = file.addressList[i];
    out << "    {\"address\": " << jsonString(AddressText(a.address)) << ", \"seen\": " << jsonReal(a.seen)
        << '}' << (i + 1 < file.addressList.size() ? "," : "") << '\n';
  }
  const SettingsSection& s = file.settings;
  out << "  ],\n  \"settings\": {\n    \"packed\": [";
  for (std::size_t i = 0; i < s.packedStrings.size(); ++i)
    out << (i ? ", " : "") << jsonString(s.packedStrings[i]);
  out << "],\n    \"integers\": [" << s.integers[0] << ", " << s.integers[1] << ", " << s.integers[2] << ", "
      << s.integers[3] << "],\n    \"reals\": [" << jsonReal(s.reals[0]) << ", " << jsonReal(s.reals[1])
      << "],\n    \"entries\": [\n";
  for (std::size_t i = 0; i < s.entries.size(); ++i) {
    out << "      [" << jsonString(s.entries[i].first) << ", " << jsonString(s.entries[i].second) << ']'
        << (i + 1 < s.entries.size() ? "," : "") << '\n';
  }
  out << "    ]\n  },\n  \"keyTableAtEnd\": \"" << keyTableHex(file.keyTableAtEnd) << "\"\n}\n";
}

}  // namespace vorpane::datafile::tool
