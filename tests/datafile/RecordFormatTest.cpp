#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <set>

#include "datafile/DataFileDecoder.h"
#include "datafile/DateTime.h"
#include "datafile/LIB_Data1_ReadWrite.h"
#include "tests/datafile/DataFileTestSupport.h"

namespace vorpane::datafile {
namespace {

using test::MemoryInputFile;
using test::MemoryOutputFile;
using test::TestPlatform;
using test::valuesOf;

KeyTable identityKey() {
  KeyTable key;
  std::iota(key.begin(), key.end(), 0);
  return key;
}

class RecordFormatTest : public ::testing::Test {
 protected:
  void SetUp() override { GlobalKeyTable() = identityKey(); }

  // The string key b that the next WriteString draws.
  void nextStringKey(std::uint32_t b) { platform.scriptedDraws.push_back(b - 1); }

  // Reads back one scrambled string with a reader holding the same key table.
  std::string readString(const std::string& bytes, const KeyTable& key) {
    return readerOver(bytes, key).ReadString("value");
  }

  TypedRecordReader readerOver(const std::string& bytes, const KeyTable& key) {
    stored_ = bytes;
    TypedRecordReader reader(stored_);
    reader.setKeyTable(key);
    return reader;
  }

  TestPlatform platform;
  TLibData1_ReadWrite w{platform};
  MemoryOutputFile f;

 private:
  std::string stored_;
};

TEST_F(RecordFormatTest, BytesBelow32AreEscapedAndNothingElseIs) {
  w.WriteByte(f, 31);
  w.WriteByte(f, 0);
  w.WriteByte(f, 13);
  w.WriteByte(f, 32);
  w.WriteByte(f, 255);
  EXPECT_EQ(valuesOf(f.bytes), (std::vector<int>{31, 115, 31, 84, 31, 97, 32, 255}));
}

TEST_F(RecordFormatTest, ReadByteReturnsEveryWrittenValue) {
  for (int v = 0; v < 256; ++v) w.WriteByte(f, static_cast<std::uint8_t>(v));
  MemoryInputFile in(f.bytes);
  for (int v = 0; v < 256; ++v) ASSERT_EQ(TLibData1_ReadWrite::ReadByte(in), v);
}

TEST_F(RecordFormatTest, ReadByteAtTheEndRaisesTheRuntimeError) {
  MemoryInputFile empty("");
  try {
    TLibData1_ReadWrite::ReadByte(empty);
    FAIL() << "no error";
  } catch (const platform::IoError& e) {
    EXPECT_EQ(e.code(), platform::io::ReadBeyondEnd);
  }
  MemoryInputFile danglingEscape(std::string(1, '\x1F'));
  EXPECT_THROW(TLibData1_ReadWrite::ReadByte(danglingEscape), platform::IoError);
}

TEST_F(RecordFormatTest, MarkersAreOffsetByKeyPosition17) {
  GlobalKeyTable()[16] = 250;
  w.WriteMarker(f, 10);          // 260 mod 256 = 4, escaped
  w.WriteMarkerWord(f, 0x1234);  // high byte first
  EXPECT_EQ(valuesOf(f.bytes), (std::vector<int>{31, 88, 31, 96, 46}));
}

TEST_F(RecordFormatTest, StringCharactersAreOffsetByTheKeyFromPositionB) {
  nextStringKey(40);
  w.WriteString(f, "AB");
  // b, length 2, 0, then 'A' + key[41] and 'B' + key[42] (1-based), key[p] = p - 1 here.
  EXPECT_EQ(valuesOf(f.bytes), (std::vector<int>{40, 31, 86, 31, 84, 65 + 40, 66 + 41}));
}

TEST_F(RecordFormatTest, StringKeyPositionsWrapAroundTheTable) {
  nextStringKey(254);
  w.WriteString(f, "xxx");
  EXPECT_EQ(valuesOf(f.bytes),
            (std::vector<int>{254, 31, 87, 31, 84, 120 + 254 - 256, 120 + 255 - 256, 120}));
}

TEST_F(RecordFormatTest, EveryStringSwapsKeyPositionsBAndBPlus2) {
  nextStringKey(7);
  w.WriteString(f, "");
  EXPECT_EQ(valuesOf(f.bytes), (std::vector<int>{31, 91, 31, 84, 31, 84}));  // b = 7, 0, 0
  KeyTable expected = identityKey();
  std::swap(expected[6], expected[8]);
  EXPECT_EQ(GlobalKeyTable(), expected);

  nextStringKey(253);  // positions 253 and 255 still swap
  w.WriteString(f, "");
  std::swap(expected[252], expected[254]);
  EXPECT_EQ(GlobalKeyTable(), expected);
}

TEST_F(RecordFormatTest, KeyB254LeavesTheTableAsItIs) {
  nextStringKey(254);
  w.WriteString(f, "");
  EXPECT_EQ(GlobalKeyTable(), identityKey());
}

TEST_F(RecordFormatTest, StringKeysStayWithin1To254) {
  std::set<int> keys;
  for (int i = 0; i < 3000; ++i) {
    f.bytes.clear();
    w.WriteString(f, "");
    keys.insert(static_cast<unsigned char>(f.bytes[0] == 31 ? f.bytes[1] - 84 : f.bytes[0]));
  }
  EXPECT_EQ(*keys.begin(), 1);
  EXPECT_EQ(*keys.rbegin(), 254);
}

TEST_F(RecordFormatTest, TooLongAStringIsRefusedBeforeAnythingIsWritten) {
  const std::string longest(kMaxStringLength, 'a');
  EXPECT_NO_THROW(w.WriteString(f, longest));
  f.bytes.clear();
  const KeyTable before = GlobalKeyTable();
  EXPECT_THROW(w.WriteString(f, longest + "a"), std::length_error);
  EXPECT_THROW(w.WritePlainString(f, longest + "a"), std::length_error);
  EXPECT_TRUE(f.bytes.empty());
  EXPECT_EQ(GlobalKeyTable(), before);
}

TEST_F(RecordFormatTest, PlainStringsStoreTheirLengthLowByteFirstAndTheTextAsIs) {
  const std::string text(300, 'z');
  w.WritePlainString(f, text);
  MemoryOutputFile second;
  w.WritePlainString2(second, text);
  EXPECT_EQ(f.bytes, second.bytes);
  EXPECT_EQ(f.bytes.substr(0, 3), std::string("\x2C\x1F\x55", 3));  // 44, then 1 escaped
  EXPECT_EQ(f.bytes.substr(3), text);
}

TEST_F(RecordFormatTest, NumbersTravelAsDecimalText) {
  const KeyTable key = GlobalKeyTable();
  nextStringKey(5);
  w.WriteInteger(f, 6346);
  // b = 5, length 4 and 0 (all three escaped), then the four digits
  EXPECT_EQ(valuesOf(f.bytes),
            (std::vector<int>{31, 89, 31, 88, 31, 84, '6' + 5, '3' + 6, '4' + 7, '6' + 8}));
  EXPECT_EQ(readString(f.bytes, key), "6346");

  f.bytes.clear();
  const KeyTable key2 = GlobalKeyTable();
  w.WriteInt64(f, -1);
  EXPECT_EQ(readString(f.bytes, key2), "4294967295");

  f.bytes.clear();
  const KeyTable key3 = GlobalKeyTable();
  w.WriteInteger(f, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(readString(f.bytes, key3), "-2147483648");
}

TEST_F(RecordFormatTest, WholeDaysAreTruncatedTowardZero) {
  const KeyTable key = GlobalKeyTable();
  w.WriteDateTimeTrunc(f, 45417.99);
  const KeyTable key2 = GlobalKeyTable();
  const std::size_t first = f.bytes.size();
  w.WriteDateTimeTrunc(f, -1.5);
  EXPECT_EQ(readString(f.bytes.substr(0, first), key), "45417");
  EXPECT_EQ(readString(f.bytes.substr(first), key2), "-1");
}

TEST(GeneralRealFormat, MatchesTheRuntimeGeneralFormat) {
  const std::pair<double, const char*> cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.0, "1"},
      {-2.5, "-2.5"},
      {45417.5515625, "45417.5515625"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E15"},
      {1234567890123456.0, "1.23456789012346E15"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {1.5e-7, "1.5E-7"},
      {1e100, "1E100"},
      {-1e-100, "-1E-100"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatGeneralReal(value), text) << value;
}

TEST_F(RecordFormatTest, BooleansAreRandomBytesInTheirRanges) {
  std::set<int> trues, falses;
  for (int i = 0; i < 2000; ++i) {
    f.bytes.clear();
    w.WriteBoolean(f, true);
    trues.insert(static_cast<unsigned char>(f.bytes.at(0)));
    f.bytes.clear();
    w.WriteBoolean(f, false);
    falses.insert(static_cast<unsigned char>(f.bytes.at(0)));
  }
  EXPECT_EQ(*trues.begin(), kTrueLow);
  EXPECT_EQ(*trues.rbegin(), kTrueHigh);
  EXPECT_EQ(*falses.begin(), kFalseLow);
  EXPECT_EQ(*falses.rbegin(), kFalseHigh);
  EXPECT_EQ(trues.size(), 30u);
  EXPECT_EQ(falses.size(), 30u);
}

TEST_F(RecordFormatTest, GuidsAreBracedUpperCaseText) {
  platform::Guid guid{0x0123ABCD, 0x89AB, 0x0DEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
  EXPECT_EQ(FormatGuid(guid), "{0123ABCD-89AB-0DEF-0123-456789ABCDEF}");
  const KeyTable key = GlobalKeyTable();
  w.WriteGuid(f, guid);
  EXPECT_EQ(readString(f.bytes, key), FormatGuid(guid));
}

TEST(AddressRecord, IsBuiltFromDottedQuadText) {
  const TAddressRecord full = MakeAddressRecord("82.103.45.7", 6346);
  EXPECT_EQ(full.octet1, 82);
  EXPECT_EQ(full.octet2, 103);
  EXPECT_EQ(full.octet3, 45);
  EXPECT_EQ(full.octet4, 7);
  EXPECT_EQ(full.port, 6346);

  // Bad parts give 0, numbers keep their low 8 bits, unreached octets are 0.
  const TAddressRecord odd = MakeAddressRecord("256.x.-1.300", 1);
  EXPECT_EQ(odd, (TAddressRecord{0, 44, 1, 0, 255}));
  EXPECT_EQ(MakeAddressRecord("1.2", 0), (TAddressRecord{2, 0, 0, 1, 0}));
  EXPECT_EQ(MakeAddressRecord("", 0), (TAddressRecord{}));
  EXPECT_EQ(MakeAddressRecord("1.2.3.4.5", 0), (TAddressRecord{2, 0, 0, 1, 3}));
}

TEST_F(RecordFormatTest, AddressesAreSixMarkersInTheirOwnOrder) {
  GlobalKeyTable()[16] = 1;
  w.WriteAddress(f, MakeAddressRecord("82.103.45.70", 0x18CA));
  // fourth, second, port high, port low, first, third, each plus key[17]
  EXPECT_EQ(valuesOf(f.bytes), (std::vector<int>{71, 104, 31, 109, 0xCB, 83, 46}));
  TypedRecordReader reader = readerOver(f.bytes, GlobalKeyTable());
  EXPECT_EQ(AddressText(reader.ReadAddress("address")), "82.103.45.70:6346");
}

TEST(KeyTable, IsTakenFromEveryFifthPositionDownwardsThenTheEvenPositions) {
  std::string seed(900, '\0');
  for (std::size_t p = 1; p <= seed.size(); ++p) seed[p - 1] = static_cast<char>(p * 7 % 251);
  const KeyTable key = DeriveKeyTable(seed);
  auto at = [&seed](std::size_t p) { return static_cast<std::uint8_t>(seed[p - 1]); };
  // 900, 895, ... 250 is 131 positions, then 2, 4, ... fill the other 125.
  for (std::size_t i = 0; i < 131; ++i) ASSERT_EQ(key[i], at(900 - 5 * i)) << i;
  for (std::size_t j = 0; j < 125; ++j) ASSERT_EQ(key[131 + j], at(2 + 2 * j)) << j;
}

TEST(KeyTable, LongSeedsStopAt150DownwardPositionsAndShortOnesArePadded) {
  std::string seed(1200, 'a');
  seed[1200 - 1] = 'b';
  seed[1200 - 5 * 150 - 1] = 'c';  // the 151st fifth position is not taken
  const KeyTable key = DeriveKeyTable(seed);
  EXPECT_EQ(key[0], 'b');
  EXPECT_EQ(std::count(key.begin(), key.end(), 'c'), 0);

  const KeyTable blank = DeriveKeyTable("");
  EXPECT_EQ(std::count(blank.begin(), blank.end(), ' '), 256);
}

TEST_F(RecordFormatTest, BeginKeyTableDrawsASeedInRangeAndUsesIt) {
  for (int i = 0; i < 20; ++i) {
    const std::string seed = w.BeginKeyTable();
    ASSERT_GE(seed.size(), kSeedMinLength);
    ASSERT_LT(seed.size(), kSeedMinLength + kSeedLengthSpread);
    for (char c : seed) {
      ASSERT_GE(static_cast<unsigned char>(c), 14);
      ASSERT_LE(static_cast<unsigned char>(c), 253);
    }
    ASSERT_EQ(GlobalKeyTable(), DeriveKeyTable(seed));
  }
}

TEST_F(RecordFormatTest, TheCurrentWriterLastsForItsScope) {
  EXPECT_EQ(CurrentWriter(), nullptr);
  {
    CurrentWriterScope scope(w);
    EXPECT_EQ(CurrentWriter(), &w);
  }
  EXPECT_EQ(CurrentWriter(), nullptr);
}

TEST(DateTime, CountsDaysFrom1899December30WithTheTimeAsFraction) {
  EXPECT_EQ(EncodeDate({1899, 12, 30}), 0.0);
  EXPECT_EQ(EncodeDate({2000, 1, 1, 23, 59}), 36526.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({2000, 1, 1, 6, 0}), 36526.25);
  EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 29, 6, 0}), -1.25);
  const platform::LocalDateTime back = DecodeDateTime(EncodeDateTime({2024, 2, 29, 13, 14, 15, 160}));
  EXPECT_EQ(back.year, 2024);
  EXPECT_EQ(back.month, 2);
  EXPECT_EQ(back.day, 29);
  EXPECT_EQ(back.hour * 3600000 + back.minute * 60000 + back.second * 1000 + back.millisecond, 47655160);
}

}  // namespace
}  // namespace vorpane::datafile
