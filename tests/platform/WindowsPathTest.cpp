#include "platform/WindowsPath.h"

#include <gtest/gtest.h>

namespace vorpane::platform::path {
namespace {

TEST(WindowsPathTest, TrimsSpacesAndEveryControlCharacterButNothingInside) {
  EXPECT_EQ(trimmed(" \t\r\n\x01"
                    "C:\\Program Files\\ \x1f"),
            "C:\\Program Files\\");
  EXPECT_EQ(trimmed("\x7f"
                    "a"),
            "\x7f"
            "a");  // DEL is above the blank range
  EXPECT_EQ(trimmed("\xa0"
                    "a"),
            "\xa0"
            "a");  // so is a code-page no-break space
  EXPECT_EQ(trimmed(" \t "), "");
}

TEST(WindowsPathTest, TrailingBackslashIsAddedOnceAndRemovedOnce) {
  EXPECT_EQ(withTrailingBackslash("C:\\Vorpane"), "C:\\Vorpane\\");
  EXPECT_EQ(withTrailingBackslash("C:\\Vorpane\\"), "C:\\Vorpane\\");
  EXPECT_EQ(withTrailingBackslash(""), "\\");
  EXPECT_EQ(withoutTrailingBackslash("C:\\Vorpane\\\\"), "C:\\Vorpane\\");
  EXPECT_EQ(withoutTrailingBackslash("C:\\Vorpane"), "C:\\Vorpane");
  EXPECT_EQ(withoutTrailingBackslash(""), "");
}

TEST(WindowsPathTest, DriveRootsNeedALetterAColonAndABackslash) {
  EXPECT_TRUE(startsAtDriveRoot("c:\\"));
  EXPECT_TRUE(startsAtDriveRoot("Z:\\dir"));
  EXPECT_FALSE(startsAtDriveRoot("C:dir"));
  EXPECT_FALSE(startsAtDriveRoot("\\dir"));
  EXPECT_FALSE(startsAtDriveRoot("1:\\"));
  EXPECT_FALSE(startsAtDriveRoot("\xc4:\\"));  // a letter of the code page is no drive
  EXPECT_TRUE(hasDriveLetter("C:"));
  EXPECT_FALSE(hasDriveLetter("C"));
  EXPECT_EQ(driveRootOf("D:\\Downloads\\x"), "D:\\");
}

TEST(WindowsPathTest, LowerCasingTouchesOnlyAToZ) {
  EXPECT_EQ(lowerAscii("C:\\VORPANE\\\xc4rger.DAT"), "c:\\vorpane\\\xc4rger.dat");
  EXPECT_EQ(lowerAscii('['), '[');
  EXPECT_EQ(lowerAscii('@'), '@');
}

TEST(WindowsPathTest, ListsKeepTheirNonEmptyTrimmedPiecesInOrder) {
  EXPECT_EQ(splitList(" *.dat ; ;\tC:\\a b\\;D:\\;"),
            (std::vector<std::string>{"*.dat", "C:\\a b\\", "D:\\"}));
  EXPECT_TRUE(splitList(" ; ;").empty());
  EXPECT_TRUE(splitList("").empty());
}

}  // namespace
}  // namespace vorpane::platform::path
