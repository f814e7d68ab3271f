#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <set>

#include "datafile/DataFileDecoder.h"
#include "datafile/DateTime.h"
#include "datafile/LIB_Data1_ReadWrite.h"
#include "tests/datafile/DataFileTestSupport.h"
#include "tests/datafile/RealTextSweep.h"

namespace vorpane::datafile {
namespace {

using test::valuesOf;

KeyTable identityKey() {
  KeyTable key;
  std::iota(key.begin(), key.end(), 0);
  return key;
}

// The key table starts as 0, 1, ... 255, so key position p (1-based) holds p - 1.
class RecordFormatTest : public ::testing::Test {
 protected:
  void SetUp() override { GlobalKeyTable() = identityKey(); }

  // The string key b that the next WriteString draws.
  void nextStringKey(std::uint32_t b) { platform.scriptedDraws.push_back(b - 1); }

  // What one scrambled value reads back as, with the key table it was written with.
  template <typename Write>
  std::string readBack(Write write) {
    const KeyTable key = GlobalKeyTable();
    f.bytes.clear();
    write();
    TypedRecordReader reader(f.bytes);
    reader.setKeyTable(key);
    return reader.ReadString("value");
  }

  test::TestPlatform platform;
  TLibData1_ReadWrite w{platform};
  test::MemoryOutputFile f;
};

TEST_F(RecordFormatTest, BytesBelow32AreEscapedAndReadBack) {
  for (int v : {31, 0, 13, 32, 255}) w.WriteByte(f, static_cast<std::uint8_t>(v));
  EXPECT_EQ(valuesOf(f.bytes), (std::vector<int>{31, 115, 31, 84, 31, 97, 32, 255}));

  f.bytes.clear();
  for (int v = 0; v < 256; ++v) w.WriteByte(f, static_cast<std::uint8_t>(v));
  test::MemoryInputFile in(f.bytes);
  for (int v = 0; v < 256; ++v) ASSERT_EQ(TLibData1_ReadWrite::ReadByte(in), v);
  try {
    TLibData1_ReadWrite::ReadByte(in);
    FAIL() << "read beyond the end";
  } catch (const platform::IoError& e) {
    EXPECT_EQ(e.code(), platform::io::ReadBeyondEnd);
  }
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
  // b, length 2, 0, then 'A' + key[41] and 'B' + key[42]
  EXPECT_EQ(valuesOf(f.bytes), (std::vector<int>{40, 31, 86, 31, 84, 65 + 40, 66 + 41}));
}

TEST_F(RecordFormatTest, KeyPositionsWrapAroundAndB254SwapsNothing) {
  nextStringKey(254);
  w.WriteString(f, "xxx");
  EXPECT_EQ(valuesOf(f.bytes), (std::vector<int>{254, 31, 87, 31, 84, 120 - 2, 120 - 1, 120}));
  EXPECT_EQ(GlobalKeyTable(), identityKey());
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
  test::MemoryOutputFile second;
  w.WritePlainString2(second, text);
  EXPECT_EQ(f.bytes, second.bytes);
  EXPECT_EQ(f.bytes.substr(0, 3), std::string("\x2C\x1F\x55", 3));  // 44, then 1 escaped
  EXPECT_EQ(f.bytes.substr(3), text);
}

TEST_F(RecordFormatTest, NumbersTravelAsDecimalText) {
  nextStringKey(5);
  w.WriteInteger(f, 6346);
  // b = 5, length 4 and 0 (all three escaped), then the four digits
  EXPECT_EQ(valuesOf(f.bytes),
            (std::vector<int>{31, 89, 31, 88, 31, 84, '6' + 5, '3' + 6, '4' + 7, '6' + 8}));

  EXPECT_EQ(readBack([&] { w.WriteInt64(f, -1); }), "4294967295");
  EXPECT_EQ(readBack([&] { w.WriteInteger(f, std::numeric_limits<std::int32_t>::min()); }), "-2147483648");
  EXPECT_EQ(readBack([&] { w.WriteDateTimeTrunc(f, 45417.99); }), "45417");
  EXPECT_EQ(readBack([&] { w.WriteDateTimeTrunc(f, -1.5); }), "-1");
  EXPECT_EQ(readBack([&] { w.WriteDateTime(f, 45417.5); }), "45417.5");
}

TEST_F(RecordFormatTest, EachRealReadsBackAsItselfWhateverCameBefore) {
  for (const auto& [value, text] : {std::pair{0.0, "0"},
                                    {45417.5, "45417.5"},
                                    {45417.5, "45417.5"},
                                    {-1.25, "-1.25"},
                                    {0.0, "0"},
                                    {1.5e-7, "1.5E-7"}})
    EXPECT_EQ(readBack([&] { w.WriteReal(f, value); }), text);
}

TEST(GeneralRealFormat, MatchesTheRuntimeGeneralFormat) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  // clang-format off
  const std::pair<double, const char*> cases[] = {
      {0.0, "0"}, {-0.0, "0"}, {1.0, "1"}, {-2.5, "-2.5"}, {45417.5515625, "45417.5515625"},
      {0.1 + 0.2, "0.3"}, {1.0 / 3.0, "0.333333333333333"}, {2.0 / 3.0, "0.666666666666667"},
      {999999999999999.0, "999999999999999"}, {1e15, "1E15"}, {1234567890123456.0, "1.23456789012346E15"},
      {0.0001, "0.0001"}, {0.00001, "1E-5"}, {1.5e-7, "1.5E-7"}, {1e100, "1E100"}, {-1e-100, "-1E-100"},
      {nan, "NAN"}, {inf, "INF"}, {-inf, "-INF"}};
  // clang-format on
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatGeneralReal(value), text) << value;
}

TEST(GeneralRealFormat, EveryRealOfTheDataFileKeepsItsText) {
  std::uint64_t differing = 0;
  std::string first;
  const test::RealSweep sweep = test::DataFileRealSweep().run([&](double value) {
    const std::string text = FormatGeneralReal(value);
    if (text != test::ToCharsRealText(value) && differing++ == 0)
      first = text + " for " + test::ToCharsRealText(value);
  });
  EXPECT_EQ(differing, 0u) << "first: " << first;
  EXPECT_GT(sweep.values, 1'000'000u);
  EXPECT_GT(sweep.exponentForms, 1'000u);
}

TEST_F(RecordFormatTest, BooleansAreRandomBytesInTheirRanges) {
  std::set<int> stored[2];
  for (int i = 0; i < 4000; ++i) {
    f.bytes.clear();
    w.WriteBoolean(f, i % 2 == 1);
    stored[i % 2].insert(static_cast<unsigned char>(f.bytes.at(0)));
  }
  EXPECT_EQ(stored[0].size(), 30u);
  EXPECT_EQ(*stored[0].begin(), kFalseLow);
  EXPECT_EQ(*stored[0].rbegin(), kFalseHigh);
  EXPECT_EQ(stored[1].size(), 30u);
  EXPECT_EQ(*stored[1].begin(), kTrueLow);
  EXPECT_EQ(*stored[1].rbegin(), kTrueHigh);
}

TEST_F(RecordFormatTest, GuidsAreBracedUpperCaseText) {
  const platform::Guid guid{0x0123ABCD, 0x89AB, 0x0DEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
  EXPECT_EQ(readBack([&] { w.WriteGuid(f, guid); }), "{0123ABCD-89AB-0DEF-0123-456789ABCDEF}");
}

TEST(AddressRecord, IsBuiltFromDottedQuadText) {
  // Memory order: second octet, fourth, port, first, third.
  EXPECT_EQ(MakeAddressRecord("82.103.45.7", 6346), (TAddressRecord{103, 7, 6346, 82, 45}));
  // Bad parts give 0, numbers keep their low 8 bits, unreached octets are 0.
  EXPECT_EQ(MakeAddressRecord("256.x.-1.300", 1), (TAddressRecord{0, 44, 1, 0, 255}));
  EXPECT_EQ(MakeAddressRecord("1.2", 0), (TAddressRecord{2, 0, 0, 1, 0}));
  EXPECT_EQ(MakeAddressRecord("", 0), (TAddressRecord{}));
  EXPECT_EQ(MakeAddressRecord("1.2.3.4.5", 0), (TAddressRecord{2, 0, 0, 1, 3}));
}

TEST_F(RecordFormatTest, AddressesAreSixMarkersInTheirOwnOrder) {
  GlobalKeyTable()[16] = 1;
  w.WriteAddress(f, MakeAddressRecord("82.103.45.70", 0x18CA));
  // fourth, second, port high, port low, first, third, each plus key[17]
  EXPECT_EQ(valuesOf(f.bytes), (std::vector<int>{71, 104, 31, 109, 0xCB, 83, 46}));
  TypedRecordReader reader(f.bytes);
  reader.setKeyTable(GlobalKeyTable());
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

  std::string longSeed(1200, 'a');
  longSeed[1200 - 1] = 'b';
  longSeed[1200 - 5 * 150 - 1] = 'c';  // the 151st fifth position is not taken
  const KeyTable longKey = DeriveKeyTable(longSeed);
  EXPECT_EQ(longKey[0], 'b');
  EXPECT_EQ(std::count(longKey.begin(), longKey.end(), 'c'), 0);
  const KeyTable blank = DeriveKeyTable("");  // padded with spaces
  EXPECT_EQ(std::count(blank.begin(), blank.end(), ' '), 256);
}

TEST_F(RecordFormatTest, BeginKeyTableDrawsASeedInRangeAndUsesIt) {
  for (int i = 0; i < 20; ++i) {
    const std::string seed = w.BeginKeyTable();
    ASSERT_GE(seed.size(), kSeedMinLength);
    ASSERT_LT(seed.size(), kSeedMinLength + kSeedLengthSpread);
    for (char c : seed)
      ASSERT_TRUE(static_cast<unsigned char>(c) >= 14 && static_cast<unsigned char>(c) <= 253);
    ASSERT_EQ(GlobalKeyTable(), DeriveKeyTable(seed));
  }
}

TEST(DateTime, CountsDaysFrom1899December30WithTheTimeAsFraction) {
  EXPECT_EQ(EncodeDate({2000, 1, 1, 23, 59}), 36526.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({2000, 1, 1, 6, 0}), 36526.25);
  EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 29, 6, 0}), -1.25);
}

}  // namespace
}  // namespace vorpane::datafile
