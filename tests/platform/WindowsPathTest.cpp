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

TEST(WindowsPathTest, FullPathsAreMadeAsTheSystemMakesThem) {
  const auto full = [](std::string_view path) { return fullPathIn(path, "C:\\Setup").value_or("(none)"); };
  EXPECT_EQ(full("C:\\Program Files\\..\\VP"), "C:\\VP");
  EXPECT_EQ(full("C:\\a\\.\\b\\..\\..\\..\\c\\"), "C:\\c\\");  // never above the root
  EXPECT_EQ(full("C:\\\\VP2//x/"), "C:\\VP2\\x\\");
  // The last name loses every dot and blank it ends with; a name before a
  // separator loses one dot, and "..." is a name.
  EXPECT_EQ(full("C:\\dot. . "), "C:\\dot");
  EXPECT_EQ(full("C:\\a..\\b.\\"), "C:\\a.\\b\\");
  EXPECT_EQ(full("C:\\a. \\...\\b"), "C:\\a. \\..\\b");
  EXPECT_EQ(full("C:\\"), "C:\\");
  EXPECT_EQ(full("c:\\.."), "c:\\");
  EXPECT_EQ(full("C:\\a\\."), "C:\\a");
  // Relative to the current directory, its drive's root, or another drive's root.
  EXPECT_EQ(full("C:"), "C:\\Setup");
  EXPECT_EQ(full("c:foo"), "C:\\Setup\\foo");
  EXPECT_EQ(full("D:foo"), "D:\\foo");
  EXPECT_EQ(full("\\foo"), "C:\\foo");
  EXPECT_EQ(full("..\\x"), "C:\\x");
  EXPECT_EQ(full("x"), "C:\\Setup\\x");
  // Shares and devices keep their first two names as their root.
  EXPECT_EQ(full("\\\\server\\share\\a\\..\\..\\b"), "\\\\server\\share\\b");
  EXPECT_EQ(full("//server/share"), "\\\\server\\share");
  EXPECT_EQ(full("\\\\.\\C:\\a\\..\\b"), "\\\\.\\C:\\b");
  EXPECT_EQ(full("\\\\?\\C:\\a\\..\\b"), "\\\\?\\C:\\a\\..\\b");
  EXPECT_EQ(fullPathIn("\\x", "\\\\server\\share\\dir"), "\\\\server\\share\\x");
  EXPECT_EQ(fullPathIn("", "C:\\Setup"), std::nullopt);
}

TEST(WindowsPathTest, ListsKeepTheirNonEmptyTrimmedPiecesInOrder) {
  EXPECT_EQ(splitList(" *.dat ; ;\tC:\\a b\\;D:\\;"),
            (std::vector<std::string>{"*.dat", "C:\\a b\\", "D:\\"}));
  EXPECT_TRUE(splitList(" ; ;").empty());
  EXPECT_TRUE(splitList("").empty());
}

}  // namespace
}  // namespace vorpane::platform::path
