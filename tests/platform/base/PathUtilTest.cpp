#include "platform/base/PathUtil.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(PathUtil, SplitsOnBothSeparators)
{
    EXPECT_EQ(PathDirectory("C:\\dir\\file.ext"), "C:\\dir");
    EXPECT_EQ(PathFileName("C:\\dir\\file.ext"), "file.ext");
    EXPECT_EQ(PathDirectory("/usr/lib/Vek_ZR02.so"), "/usr/lib");
    EXPECT_EQ(PathFileName("/usr/lib\\mixed/name.tar.gz"), "name.tar.gz");
    EXPECT_EQ(PathExtension("/usr/lib\\mixed/name.tar.gz"), "gz");
    EXPECT_EQ(PathStem("/usr/lib\\mixed/name.tar.gz"), "name.tar");
    EXPECT_EQ(PathDirectory("plain"), "");
    EXPECT_EQ(PathFileName("plain"), "plain");
}

TEST(PathUtil, DotInFolderIsNotAnExtension)
{
    EXPECT_EQ(PathExtension("/home/a.b/noext"), "");
    EXPECT_EQ(PathStem("/home/a.b/noext"), "noext");
}

TEST(PathUtil, JoinsWithoutDoubling)
{
    EXPECT_EQ(PathJoinSlash("/a/b", "c.loc"), "/a/b/c.loc");
    EXPECT_EQ(PathJoinSlash("/a/b/", "c.loc"), "/a/b/c.loc");
    EXPECT_EQ(PathJoinSlash("C:\\x\\", "c.loc"), "C:\\x\\c.loc");
    EXPECT_EQ(PathJoinSlash("", "c.loc"), "c.loc");
}

TEST(PathUtil, ATextBecomesOneFileName)
{
    EXPECT_EQ(MakeFileName("ORV/X2.1 - ORV/X2.1 Zeitprogramme", 255), "ORV_X2.1 - ORV_X2.1 Zeitprogramme");
    EXPECT_EQ(MakeFileName("a\\b\tc\x7f", 255), "a_b_c_");
    EXPECT_EQ(MakeFileName("..", 255), "_.");
    // Cut before a character that would not fit whole ("ü" is two bytes).
    EXPECT_EQ(MakeFileName("Tür", 2), "T");
    EXPECT_EQ(MakeFileName("Tür", 3), "Tü");
}

static void LocalFunction() {}

TEST(PathUtil, ProgramAndModulePaths)
{
    std::string program = GetProgramPath();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.front(), '/');
    // The test is linked statically, so this function lives in the program.
    EXPECT_EQ(GetModulePathOf(reinterpret_cast<const void*>(&LocalFunction)), program);
    EXPECT_EQ(GetModulePathOf(nullptr), "");
}
