#include "model/PathUtils.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

TEST(PathJoin, AddsOneSeparatorOnly)
{
    EXPECT_EQ(PathJoin("/usr/lib", "x.loc"), "/usr/lib/x.loc");
    EXPECT_EQ(PathJoin("/usr/lib/", "x.loc"), "/usr/lib/x.loc");
    EXPECT_EQ(PathJoin("C:\\dir\\", "x.loc"), "C:\\dir\\x.loc");
    EXPECT_EQ(PathJoin("", "x.loc"), "");
    EXPECT_EQ(PathJoin("/usr/lib", ""), "");
}

TEST(PathSplit, SplitsAtTheLastSeparatorOfEitherKind)
{
    std::string dir, name, ext;
    ASSERT_EQ(PathSplit("C:\\dir\\file.ext", dir, name, ext), 1);
    EXPECT_EQ(dir, "C:\\dir");
    EXPECT_EQ(name, "file");
    EXPECT_EQ(ext, "ext");

    ASSERT_EQ(PathSplit("/opt/ets\\sub/Vek_ZR02.x.so", dir, name, ext), 1);
    EXPECT_EQ(dir, "/opt/ets\\sub");
    EXPECT_EQ(name, "Vek_ZR02.x");
    EXPECT_EQ(ext, "so");
}

TEST(PathSplit, FailsWithoutTouchingTheOutputs)
{
    std::string dir = "d", name = "n", ext = "e";
    EXPECT_EQ(PathSplit("file.ext", dir, name, ext), 0);  // no separator
    EXPECT_EQ(PathSplit("/opt/file", dir, name, ext), 0);  // no dot
    EXPECT_EQ(PathSplit("", dir, name, ext), 0);
    // The only dot is in a folder name: the file has no extension.
    EXPECT_EQ(PathSplit("/opt/v1.2/file", dir, name, ext), 0);
    EXPECT_EQ(PathSplit("C:\\a.b\\file", dir, name, ext), 0);
    EXPECT_EQ(dir, "d");
    EXPECT_EQ(name, "n");
    EXPECT_EQ(ext, "e");
}

TEST(ParseNextInt, SkipsBlanksTabsAndCommas)
{
    std::string_view text = ", 640 ,480";
    EXPECT_EQ(ParseNextInt(text, -1), 640);
    EXPECT_EQ(ParseNextInt(text, -1), 480);
    EXPECT_EQ(text, "");
    EXPECT_EQ(ParseNextInt(text, -1), -1);

    std::string_view signs = "\t-12,+7";
    EXPECT_EQ(ParseNextInt(signs, 0), -12);
    EXPECT_EQ(ParseNextInt(signs, 0), 7);
}

TEST(ParseNextInt, LeavesTheCursorAtWhatIsNoNumber)
{
    std::string_view text = "x640";
    EXPECT_EQ(ParseNextInt(text, -1), -1);
    EXPECT_EQ(text, "x640");

    std::string_view afterBlanks = " , -x";
    EXPECT_EQ(ParseNextInt(afterBlanks, 5), 5);
    EXPECT_EQ(afterBlanks, "-x");
}

TEST(ParseNextInt, SaturatesBeyondThirtyTwoBits)
{
    std::string_view text = "99999999999 -99999999999 2147483647 -2147483648";
    EXPECT_EQ(ParseNextInt(text, 0), INT32_MAX);
    EXPECT_EQ(ParseNextInt(text, 0), INT32_MIN);
    EXPECT_EQ(ParseNextInt(text, 0), INT32_MAX);
    EXPECT_EQ(ParseNextInt(text, 0), INT32_MIN);
}

TEST(IntLists, FormatAndParseBack)
{
    const std::vector<LONG> values {1, -2, 3};
    EXPECT_EQ(FormatIntList(values), "1 -2 3");
    EXPECT_EQ(FormatIntList({}), "");
    EXPECT_EQ(ParseIntList("1 -2 3", 5), (std::vector<LONG> {1, -2, 3, 0, 0}));

    std::string buffer = "n=";
    EXPECT_EQ(AppendLong(buffer, INT32_MIN), 13u);
    EXPECT_EQ(buffer, "n=-2147483648");
}

TEST(ReplaceControlChars, BlanksEveryControlCharacter)
{
    std::string text = "a\tb\bc\rd\ne\ff\vg\x01";
    ReplaceControlChars(text);
    EXPECT_EQ(text, "a b c d e f g\x01");
}

TEST(ReplaceLastChars, NeverReachesBeforeTheText)
{
    EXPECT_EQ(ReplaceLastChars("/opt/Chronosets2.log", 3, "ini"), "/opt/Chronosets2.ini");
    EXPECT_EQ(ReplaceLastChars("ab", 3, "ini"), "ini");
    EXPECT_EQ(ReplaceLastChars("", 3, "ini"), "ini");
}

}  // namespace
