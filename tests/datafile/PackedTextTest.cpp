#include <gtest/gtest.h>

#include <random>

#include "datafile/PackedText.h"
#include "tests/datafile/DataFileTestSupport.h"

namespace vorpane::datafile {
namespace {

using test::valuesOf;

TEST(PackedText, CommonCharactersTakeOneGroupAndTheLastByteIsZeroFilled) {
  // "z" is group 26: 011010 + 00
  EXPECT_EQ(valuesOf(PackText("z")), (std::vector<int>{0x68}));
  // "a.": groups 1 and 63: 000001 111111 + 0000
  EXPECT_EQ(valuesOf(PackText("a.")), (std::vector<int>{0x07, 0xF0}));
  EXPECT_TRUE(PackText("").empty());
}

TEST(PackedText, TheCodeLeadStandsForItselfWhenFollowedByASpace) {
  // "Q" -> "Q ": group 43, then the space as the first character of page 1 (0, 1), then fill.
  EXPECT_EQ(valuesOf(PackText("Q")), (std::vector<int>{0xAC, 0x00, 0x40}));
  EXPECT_EQ(UnpackText(PackText("Q")), "Q");
}

TEST(PackedText, DictionaryTextsBecomeTwoGroups) {
  // "http://www." -> "Qa": groups 43, 1
  EXPECT_EQ(valuesOf(PackText("http://www.")), (std::vector<int>{0xAC, 0x10}));
  const std::string url = "http://home.vorpane-provider.net/~vorpane/REMSET/";
  EXPECT_LT(PackText(url).size() * 4, url.size());
}

TEST(PackedText, EveryTextComesBackUnchanged) {
  const char* texts[] = {"http://home.vorpane-provider.net/~vorpane/REMSET/",
                         "http://www.vorpane.net/REMSET/",
                         "",
                         "vorpane.rms",
                         "QQQ Q",
                         "Qa is not a code here",
                         "/~vorpane/~/~~//REMSET/REMSETREMSET/",
                         "PP\rT\x01\xff\x80"};
  for (const char* text : texts) EXPECT_EQ(UnpackText(PackText(text)), text) << text;

  std::mt19937 random(99);
  for (int i = 0; i < 500; ++i) {
    std::string text(random() % 40, '\0');
    // Mostly dictionary material, with every byte value possible.
    for (char& c : text)
      c = static_cast<char>(random() % 3 == 0 ? random() % 256 : "QhtpvorneE/.~:wa"[random() % 16]);
    ASSERT_EQ(UnpackText(PackText(text)), text);
  }
}

TEST(PackedText, BytesThatAreNoPackingAreRefused) {
  EXPECT_FALSE(UnpackText(std::string("\x00\x00\x00\x00\x10", 5)));  // five zero groups select no page
  EXPECT_FALSE(UnpackText(std::string("\x00\x00\x00\x3C", 4)));      // page 4 has no group 15
  EXPECT_FALSE(UnpackText("\xAC"));                                  // a code lead with nothing after it
  EXPECT_FALSE(UnpackText("\xAE\xB0"));                              // "QQ": the lead is no code
}

}  // namespace
}  // namespace vorpane::datafile
