#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "datafile/DataFileDecoder.h"
#include "datafile/DateTime.h"
#include "datafile/InitialDataFile.h"
#include "datafile/SeedHosts.h"
#include "product/Product.h"
#include "tests/datafile/DataFileTestSupport.h"

namespace vorpane::datafile {
namespace {

namespace fs = std::filesystem;
using test::ScratchDrive;
using test::TestPlatform;

constexpr const char* kInstallDir = "C:\\Program Files\\Vorpane\\";
const platform::LocalDateTime kNow{2024, 5, 6, 13, 14, 15, 500};
const platform::Guid kGuid{0xA1B2C3D4, 0x1234, 0x4ABC, {0x81, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08}};

std::string web(const char* path) { return std::string(product::kWebHost) + path; }
std::string provider(const char* path) { return std::string(product::kProviderHost) + path; }

// One header field as "kind:value", booleans by their meaning only.
std::string render(const HeaderField& f) {
  switch (f.kind) {
    case FieldKind::Byte:
      return "byte:" + std::to_string(f.integer);
    case FieldKind::PlainString:
      return "plain";
    case FieldKind::String:
      return "string:" + f.text;
    case FieldKind::Integer:
      return "int:" + f.text;
    case FieldKind::WholeDays:
      return "days:" + f.text;
    case FieldKind::DateTime:
      return "date:" + FormatGeneralReal(f.real);
    case FieldKind::Boolean:
      return f.boolean ? "bool:true" : "bool:false";
    case FieldKind::Guid:
      return "guid:" + f.text;
  }
  return "?";
}

template <typename Records>
std::map<unsigned, int> portCounts(const Records& records) {
  std::map<unsigned, int> counts;
  for (const auto& r : records) ++counts[r.address.port];
  return counts;
}

class InitialDataFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(drive.folder() / "Program Files" / "Vorpane");
    platform.mapDrive('C', drive.folder());
    platform.setNow(kNow);
    platform.setGuid(kGuid);
    platform.seedRandom(20240506);
  }

  std::string writeAndRead() {
    WriteInitialDataFile(platform, kInstallDir, [this](int percent) { progress.push_back(percent); });
    return readHostFile();
  }

  std::string readHostFile() const {
    std::ifstream in(dataFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  fs::path dataFile() const { return drive.folder() / "Program Files" / "Vorpane" / "Vorpane.Dat"; }

  ScratchDrive drive;
  TestPlatform platform;
  std::vector<int> progress;
};

TEST_F(InitialDataFileTest, HeaderHoldsEveryFieldInOrder) {
  const DecodedDataFile file = DecodeDataFile(writeAndRead());
  const double date = EncodeDate(kNow);
  const double now = EncodeDateTime(kNow);
  auto day = [](double d) { return FormatGeneralReal(d); };
  // clang-format off
  const std::vector<std::string> expected = {
      /*  1 */ "byte:5", "plain", "string:3.31", std::string("string:") + kInstallDir, "int:3",
      /*  6 */ "int:3", "int:6346", "string:", "int:1", "int:100",
      /* 11 */ "string:", "string:", "string:", "int:0", "date:" + day(date + 25),
      /* 16 */ "bool:true", "guid:{A1B2C3D4-1234-4ABC-8102-030405060708}", "bool:false", "date:" + day(date - 7),
      /* 20 */ "date:" + day(date - 7), "date:" + day(date - 7), "int:0", "int:0", "bool:false", "bool:false",
      /* 26 */ "days:" + day(date + 100), "int:9", "int:9", "days:" + day(date + 900),
      /* 30 */ "string:" + web("/TEL/GEBRUIK/"), "string:" + web("/TEL/INSTALL/"), "int:120", "bool:true",
      /* 34 */ "string:" + provider("/~vorpane/REMSET/"), "string:" + web("/REMSET/"), "string:",
      /* 37 */ "int:27", "int:10080", "int:15",
      /* 40 */ "string:" + web("/Install_Vorpane.exe"), "string:" + provider("/~vorpane/Install_Vorpane.exe"),
      /* 42 */ "string:", "string:", "string:", "string:",
      /* 46 */ "days:" + day(std::trunc(now - 100)), "bool:false", "bool:false", "bool:false"};
  // clang-format on
  ASSERT_EQ(file.header.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(render(file.header[i]), expected[i]) << "field " << i + 1;

  EXPECT_EQ(date, 45418);  // 2024-05-06
  const std::string& seed = file.header[1].text;
  EXPECT_GE(seed.size(), 879u);
  EXPECT_LE(seed.size(), 977u);
}

TEST_F(InitialDataFileTest, SectionsFollowTheHeaderWithTheirRecords) {
  const DecodedDataFile file = DecodeDataFile(writeAndRead());
  EXPECT_EQ(file.install.count, 1);
  EXPECT_EQ(file.install.installPath, "C:\\Program Files\\Vorpane");
  EXPECT_TRUE(file.install.flags[0]);
  EXPECT_TRUE(file.install.flags[1]);

  const std::string lastSeen = FormatGeneralReal(EncodeDateTime(kNow) - 1);
  ASSERT_EQ(file.seedHosts.size(), kSeedHostCount);
  for (std::size_t i = 0; i < kSeedHostCount; ++i) {
    const SeedHostRecord& h = file.seedHosts[i];
    const SeedHost& source = kSeedHosts[i];
    ASSERT_EQ(AddressText(h.address), DottedQuad(source) + ":" + std::to_string(source.port)) << i;
    for (double seen : h.seen) ASSERT_EQ(FormatGeneralReal(seen), lastSeen);
    ASSERT_EQ(h.count, 0);
    for (double r : h.reals) ASSERT_EQ(r, 0.0);
    ASSERT_EQ(h.totals[0], 0);
    ASSERT_EQ(h.totals[1], 0);
    ASSERT_EQ(h.innerMarker, 0);
  }

  ASSERT_EQ(file.addressList.size(), kAddressListCount);
  for (std::size_t i = 0; i < kAddressListCount; ++i) {
    const SeedHost& source = kAddressList[i];
    ASSERT_EQ(AddressText(file.addressList[i].address),
              DottedQuad(source) + ":" + std::to_string(source.port));
    ASSERT_EQ(FormatGeneralReal(file.addressList[i].seen), lastSeen);
  }
}

TEST_F(InitialDataFileTest, SeedHostPortsHaveTheirDistribution) {
  const DecodedDataFile file = DecodeDataFile(writeAndRead());
  std::map<unsigned, int> counts = portCounts(file.seedHosts);
  const std::map<unsigned, int> frequent = {{6346, 2239}, {6348, 803}, {6349, 181}, {6350, 53},
                                            {6351, 8},    {6352, 8},   {6353, 3}};
  for (const auto& [port, count] : frequent) {
    EXPECT_EQ(counts[port], count) << port;
    counts.erase(port);
  }
  EXPECT_EQ(counts.size(), 3500u - 3295u);
  for (const auto& [port, count] : counts) {
    EXPECT_EQ(count, 1) << port;
    EXPECT_LE(port, 59999u);
  }

  EXPECT_EQ(
      portCounts(file.addressList),
      (std::map<unsigned, int>{
          {2865, 1}, {6300, 1}, {6346, 174}, {6350, 1}, {6881, 1}, {14800, 1}, {40094, 1}, {61165, 1}}));
}

TEST(SeedHosts, AreDistinctPublicUnicastAddresses) {
  std::set<std::string> seen;
  auto check = [&seen](const SeedHost& h) {
    const int a = h.octets[0], b = h.octets[1];
    const bool special = a == 0 || a == 10 || a == 127 || a >= 224 || (a == 100 && b >= 64 && b < 128) ||
                         (a == 169 && b == 254) || (a == 172 && b >= 16 && b < 32) ||
                         (a == 192 && b == 168) ||
                         (a == 192 && b == 0 && (h.octets[2] == 0 || h.octets[2] == 2)) ||
                         (a == 198 && (b == 18 || b == 19)) || (a == 198 && b == 51 && h.octets[2] == 100) ||
                         (a == 203 && b == 0 && h.octets[2] == 113);
    EXPECT_FALSE(special) << DottedQuad(h);
    EXPECT_TRUE(seen.insert(DottedQuad(h)).second) << DottedQuad(h);
  };
  for (const auto& h : kSeedHosts) check(h);
  for (const auto& h : kAddressList) check(h);
  for (const auto& h : kGnuNodes) check(h);
  for (const auto& h : kZeppNodes) check(h);
}

TEST_F(InitialDataFileTest, SettingsSectionHoldsItsPackedStringsAndEntries) {
  const DecodedDataFile file = DecodeDataFile(writeAndRead());
  const SettingsSection& s = file.settings;
  EXPECT_EQ(s.packedStrings,
            (std::array<std::string, 4>{provider("/~vorpane/REMSET/"), web("/REMSET/"), "", "vorpane.rms"}));
  EXPECT_EQ(s.integers[0], 10);
  EXPECT_EQ(s.integers[1], 7200);
  EXPECT_EQ(s.integers[2], 15);
  EXPECT_EQ(s.reals[0], 0.0);
  EXPECT_EQ(s.reals[1], 0.0);
  EXPECT_EQ(s.integers[3], 10);

  const std::vector<std::pair<std::string, std::string>> first = {
      {"CntInstallPath", web("/TEL/INSTALL/CNTINST")},
      {"CntSuspendedTill", "01/01/1900"},
      {"CntUsePath", web("/TEL/GEBRUIK/CNTUSE")},
      {"CntUseTreshold", "120"},
      {"PathDownloadLocation1", web("/Install_Vorpane.exe")},
      {"PathDownloadLocation2", provider("/~vorpane/Install_Vorpane.exe")},
      {"RemSetDelay", "10"},
      {"RemSetFile", "vorpane.rms"},
      {"RemSetInterval", "7200"},
      {"RemSetPath1", provider("/~vorpane/REMSET/")},
      {"RemSetPath2", web("/REMSET/")},
      {"RemSetPath3", ""},
      {"RemSetRetryInterval", "15"},
      {"RemSetSuspendedTill", "01/01/1900"},
      {"VerLatestExpired", "3.17"},
      {"ZFileType", "001~Audio~0~0~2~MP3;WMA*Y"},
  };
  ASSERT_EQ(s.entries.size(), 15u + 15u + 3u + 50u + 19u);
  for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(s.entries[i], first[i]) << i;
  for (std::size_t i = 15; i < 30; ++i) EXPECT_EQ(s.entries[i].first, "ZFileType");
  EXPECT_EQ(s.entries[28].second, "014~CD Image~35~800~2~ISO*Y");

  const std::string& dangerous = s.entries[29].second;
  EXPECT_EQ(dangerous.rfind("998~Dangerous~0~0~0~ADE*N#ADP*N#", 0), 0u);
  EXPECT_NE(dangerous.find("#PIF*N#PP\rT*N#RAR*N#"), std::string::npos);
  EXPECT_EQ(dangerous.substr(dangerous.size() - 10), "#Z*N#ZIP*N");
  EXPECT_EQ(std::count(dangerous.begin(), dangerous.end(), '#'), 62);

  EXPECT_EQ(s.entries[30].first, "ZNodeBlockedIP");
  EXPECT_TRUE(std::regex_match(s.entries[30].second, std::regex(R"(\d+\.\d+\.\d+\.\d+/\d+)")));
  EXPECT_EQ(s.entries[31].first, "ZNodeIP");
  EXPECT_TRUE(std::regex_match(s.entries[31].second, std::regex(R"(\d+\.\d+\.\d+\.\d+:6346)")));
  EXPECT_EQ(s.entries[32], (std::pair<std::string, std::string>{"VerLatestVersion", "3.30"}));

  // Nodes: every octet with three digits, then the port.
  std::multiset<std::string> gnuPorts;
  const std::regex padded(R"(\d{3}\.\d{3}\.\d{3}\.\d{3}:(\d+))");
  for (std::size_t i = 33; i < s.entries.size(); ++i) {
    const bool gnu = i < 83;
    EXPECT_EQ(s.entries[i].first, gnu ? "ZNodeGnu" : "ZNodeZepp");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(s.entries[i].second, m, padded)) << s.entries[i].second;
    if (gnu) {
      gnuPorts.insert(m[1]);
    } else {
      EXPECT_EQ(m[1], "6346");
    }
  }
  EXPECT_EQ(gnuPorts.count("27536"), 1u);
  EXPECT_EQ(std::set<std::string>(gnuPorts.begin(), gnuPorts.end()),
            (std::set<std::string>{"6346", "6348", "6349", "27536"}));
}

TEST_F(InitialDataFileTest, StoredBytesAreEscapedProgressIsReportedAndTheKeyTablesAgree) {
  const std::string bytes = writeAndRead();
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.substr(0, 2), "\x1F\x59");  // the version byte 5 is escaped like any other
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte >= 32) continue;
    ASSERT_EQ(byte, 31) << "at " << i;
    ASSERT_LT(i + 1, bytes.size());
    const auto escaped = static_cast<unsigned char>(bytes[++i]);
    ASSERT_TRUE(escaped >= 84 && escaped <= 115) << "at " << i;
  }
  const DecodedDataFile file = DecodeDataFile(bytes);
  EXPECT_EQ(file.keyTableAtEnd, GlobalKeyTable());
  EXPECT_NE(file.keyTableAtEnd, DeriveKeyTable(file.header[1].text));  // strings permuted it
  EXPECT_EQ(CurrentWriter(), nullptr);
  EXPECT_EQ(progress, (std::vector<int>{94, 95, 96, 97, 98, 99}));
}

TEST_F(InitialDataFileTest, AFailedWriteLeavesNoDataFileAndReportsTheError) {
  platform.writeBudget = 200'000;  // runs out inside the seed host table
  try {
    WriteInitialDataFile(platform, kInstallDir, [this](int percent) { progress.push_back(percent); });
    FAIL() << "the write reported success";
  } catch (const platform::IoError& e) {
    EXPECT_EQ(e.code(), platform::io::DiskFull);
  }
  EXPECT_EQ(progress, (std::vector<int>{94, 95}));
  EXPECT_FALSE(fs::exists(dataFile()));
  EXPECT_EQ(platform.removedFiles, (std::vector<std::string>{std::string(kInstallDir) + "Vorpane.Dat"}));
  EXPECT_EQ(CurrentWriter(), nullptr);
}

TEST_F(InitialDataFileTest, AFileThatCannotBeCreatedIsAnErrorAndNothingIsRemoved) {
  EXPECT_THROW(WriteInitialDataFile(platform, "C:\\Missing\\"), platform::IoError);
  EXPECT_TRUE(platform.removedFiles.empty());
}

TEST_F(InitialDataFileTest, TheVersionByteIsReadBackForTheUpgradeSearch) {
  writeAndRead();
  EXPECT_EQ(ReadDataFileVersion(platform, std::string(kInstallDir) + "Vorpane.Dat"), 5);
  EXPECT_EQ(ReadDataFileVersion(platform, "C:\\Program Files\\Nothing.Dat"), std::nullopt);

  std::ofstream(drive.folder() / "empty.dat", std::ios::binary).flush();
  EXPECT_EQ(ReadDataFileVersion(platform, "C:\\empty.dat"), std::nullopt);
  std::ofstream(drive.folder() / "escaped.dat", std::ios::binary) << "\x1FW";  // 31, 87: version 3
  EXPECT_EQ(ReadDataFileVersion(platform, "C:\\escaped.dat"), 3);

  EXPECT_FALSE(IsCompatibleDataFileVersion(3));
  EXPECT_TRUE(IsCompatibleDataFileVersion(4));
  EXPECT_TRUE(IsCompatibleDataFileVersion(14));
  EXPECT_FALSE(IsCompatibleDataFileVersion(15));
}

}  // namespace
}  // namespace vorpane::datafile
