#include "platform/base/Cp1252.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Cp1252, UmlautsAndEuroBothWays)
{
    const std::string utf8 = "Sch\xC3\xA4" "ltzeit \xE2\x82\xAC \xC3\x9F\xC3\x96";  // Schältzeit € ßÖ
    const std::string bytes = "Sch\xE4ltzeit \x80 \xDF\xD6";
    EXPECT_EQ(Utf8ToCp1252(utf8).value(), bytes);
    EXPECT_EQ(Cp1252ToUtf8(bytes), utf8);
}

TEST(Cp1252, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    auto back = Utf8ToCp1252(Cp1252ToUtf8(all));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1252, CharacterWithoutFormIsRefusedOrMarked)
{
    const std::string cyrillic = "a\xD0\x96z";  // aЖz
    EXPECT_FALSE(Utf8ToCp1252(cyrillic).has_value());
    EXPECT_FALSE(IsCp1252Representable(cyrillic));
    bool lossy = false;
    EXPECT_EQ(Utf8ToCp1252Lossy(cyrillic, &lossy), "a?z");
    EXPECT_TRUE(lossy);
    EXPECT_TRUE(IsCp1252Representable("\xE2\x80\x9E" "Zitat\xE2\x80\x9C"));  // „Zitat“
}

TEST(Cp1252, MalformedUtf8IsMarkedNotCopied)
{
    bool lossy = false;
    EXPECT_EQ(Utf8ToCp1252Lossy("a\xC3", &lossy), "a?");
    EXPECT_TRUE(lossy);
    EXPECT_EQ(Utf8ToCp1252Lossy("\xC0\xAF", &lossy), "??");  // overlong '/'
    EXPECT_EQ(Utf8ToCp1252Lossy("\xED\xA0\x80", &lossy), "???");  // surrogate
}

TEST(Cp1252, Utf16ToUtf8HandlesPairsAndStraySurrogates)
{
    EXPECT_EQ(Utf16ToUtf8(u"\u00e4\u20ac"), "\xC3\xA4\xE2\x82\xAC");
    EXPECT_EQ(Utf16ToUtf8(std::u16string {0xD83D, 0xDE00}), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8(std::u16string {0xD83D, u'x'}), "\xEF\xBF\xBDx");
}

TEST(Cp1252, AppendingAndInPlaceFormsGiveTheBytesOfTheCopyingOne)
{
    const std::string texts[] = {
        "",
        "plain ASCII longer than one word of eight bytes, and more",
        "Sch\xC3\xA4ltzeit \xE2\x82\xAC \xC3\x9F\xC3\x96 Gruppenadresse 12 mit l\xC3\xA4ngerem Namen",
        "a\xD0\x96z\nline two \xF0\x9F\x98\x80 end",
        "a\xC3",
        "\xC0\xAF\xED\xA0\x80 x",
        "12345678\xC3\xA4" "12345678\xE2\x82",
        "\xC3\n\xE2\x82\n\xF0\x9F\x98\n",
    };
    for (const std::string& text : texts) {
        bool lossy = false;
        const std::string expected = Utf8ToCp1252Lossy(text, &lossy);

        std::string appended = "prefix";
        EXPECT_EQ(AppendUtf8AsCp1252Lossy(appended, text), lossy) << text;
        EXPECT_EQ(appended, "prefix" + expected) << text;

        std::string inPlace = text;
        EXPECT_EQ(ConvertUtf8ToCp1252LossyInPlace(inPlace), lossy) << text;
        EXPECT_EQ(inPlace, expected) << text;
    }
}

TEST(Cp1252, EveryByteBecomesItsOwnCodePoint)
{
    // Byte by byte, as the conversion was first written, against the form
    // that copies ASCII runs whole.
    std::string all = "runs of ASCII ";
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
        all += "ab";
    }
    std::string expected;
    for (char c : all)
        expected += Cp1252ToUtf8(std::string(1, c));
    EXPECT_EQ(Cp1252ToUtf8(all), expected);
}
