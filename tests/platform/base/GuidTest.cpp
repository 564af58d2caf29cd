#include "platform/base/Guid.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Guid, ParsesMixedCaseAndFormatsUpperCase)
{
    auto g = ParseGuid("{6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22F}");
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->Data1, 0x6D6A4DFCu);
    EXPECT_EQ(g->Data2, 0x4D63);
    EXPECT_EQ(g->Data3, 0x4EA7);
    EXPECT_EQ(g->Data4[0], 0x8F);
    EXPECT_EQ(g->Data4[7], 0x2F);
    EXPECT_EQ(FormatGuid(*g), "{6D6A4DFC-4D63-4EA7-8FAE-893D8BB6E22F}");
    EXPECT_EQ(ParseGuid(FormatGuid(*g)), g);
}

TEST(Guid, RejectsMalformedText)
{
    for (const char* bad : {"", "{}", "6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22F", "{6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22}",
                            "{6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22G}", "{6D6A4DFC+4D63-4ea7-8FAE-893D8BB6E22F}",
                            "{6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22F} "})
        EXPECT_FALSE(ParseGuid(bad).has_value()) << bad;
}

TEST(Guid, NullAndOrdering)
{
    EXPECT_TRUE(IsNullGuid(GUID_NULL));
    EXPECT_EQ(FormatGuid(GUID_NULL), "{00000000-0000-0000-0000-000000000000}");
    GUID a = GuidFromString("{7525BFB6-F4C1-11D3-B29A-00104B091E6B}");
    GUID b = GuidFromString("7525BFB5-F4C1-11D3-B29A-00104B091E6B");
    EXPECT_FALSE(IsNullGuid(a));
    EXPECT_NE(a, b);
    EXPECT_LT(b, a);
    EXPECT_THROW(GuidFromString("nonsense"), std::invalid_argument);
}
