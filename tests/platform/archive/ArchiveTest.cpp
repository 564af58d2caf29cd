#include "platform/archive/Archive.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Prefix(const std::vector<std::uint8_t>& bytes, std::size_t n)
{
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(n, bytes.size()))};
}

std::vector<std::uint8_t> StoredString(std::size_t length)
{
    CArchive ar;
    ar << std::string(length, 'x');
    return ar.GetBuffer();
}

}  // namespace

TEST(Archive, IntegersAreLittleEndian)
{
    CArchive ar;
    ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<DWORD>(0x00020000u)
       << static_cast<LONG>(-2) << static_cast<SHORT>(-3);
    const std::vector<std::uint8_t> golden = {0x12, 0x56, 0x34, 0x00, 0x00, 0x02, 0x00,
                                              0xFE, 0xFF, 0xFF, 0xFF, 0xFD, 0xFF};
    EXPECT_EQ(ar.GetBuffer(), golden);

    CArchive in(golden);
    BYTE b;
    WORD w;
    DWORD d;
    LONG l;
    SHORT s;
    in >> b >> w >> d >> l >> s;
    EXPECT_EQ(b, 0x12);
    EXPECT_EQ(w, 0x3456);
    EXPECT_EQ(d, 0x20000u);
    EXPECT_EQ(l, -2);
    EXPECT_EQ(s, -3);
    EXPECT_TRUE(in.AtEnd());
}

TEST(Archive, StringPrefixesAtEveryBoundary)
{
    struct Case {
        std::size_t length;
        std::vector<std::uint8_t> prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        auto bytes = StoredString(c.length);
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Prefix(bytes, c.prefix.size()), c.prefix) << c.length;
        CArchive in(bytes);
        std::string back;
        in >> back;
        EXPECT_EQ(back, std::string(c.length, 'x'));
        EXPECT_TRUE(in.AtEnd());
    }
}

TEST(Archive, StringsAreWindows1252Bytes)
{
    CArchive ar;
    ar << std::string("Tagesabl\xC3\xA4ufe \xE2\x82\xAC");  // Tagesabläufe €
    const std::vector<std::uint8_t> golden = {14, 'T', 'a', 'g', 'e', 's', 'a', 'b', 'l', 0xE4, 'u', 'f', 'e', ' ', 0x80};
    EXPECT_EQ(ar.GetBuffer(), golden);
    CArchive in(golden);
    EXPECT_EQ(in.ReadString(), "Tagesabl\xC3\xA4ufe \xE2\x82\xAC");

    // A character without a Windows-1252 form is stored as '?', never as
    // stray UTF-8 bytes.
    CArchive odd;
    odd << std::string("\xD0\x96");
    EXPECT_EQ(odd.GetBuffer(), (std::vector<std::uint8_t> {1, '?'}));
}

TEST(Archive, ReadsTheWideForm)
{
    // 0xFF, WORD 0xFFFE, then a byte prefix counting UTF-16 units.
    const std::vector<std::uint8_t> wide = {0xFF, 0xFE, 0xFF, 0x03, 'A', 0x00, 0xE4, 0x00, 0xAC, 0x20};
    CArchive in(wide);
    EXPECT_EQ(in.ReadString(), "A\xC3\xA4\xE2\x82\xAC");
    EXPECT_TRUE(in.AtEnd());

    // Wide with a WORD length.
    std::vector<std::uint8_t> longWide = {0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01};
    for (int i = 0; i < 256; ++i) {
        longWide.push_back('z');
        longWide.push_back(0);
    }
    CArchive in2(longWide);
    EXPECT_EQ(in2.ReadString(), std::string(256, 'z'));
}

TEST(Archive, TruncationAtEveryByteFailsCleanly)
{
    CArchive ar;
    ar << static_cast<DWORD>(0x20000) << static_cast<DWORD>(0x1101) << std::string("Device") << std::string(300, 'n')
       << static_cast<BYTE>(15) << static_cast<WORD>(7);
    const auto full = ar.GetBuffer();
    for (std::size_t n = 0; n < full.size(); ++n) {
        CArchive in(Prefix(full, n));
        DWORD schema, address;
        std::string name, longName;
        BYTE delay;
        WORD w;
        EXPECT_THROW(in >> schema >> address >> name >> longName >> delay >> w, CArchiveException) << n;
    }
    CArchive in(full);
    DWORD schema, address;
    std::string name, longName;
    BYTE delay;
    WORD w;
    EXPECT_NO_THROW(in >> schema >> address >> name >> longName >> delay >> w);
    EXPECT_EQ(longName.size(), 300u);
}

TEST(Archive, GarbageLengthsFailWithoutHugeAllocations)
{
    // A DWORD length of 4 GiB and a wide length past the end.
    const std::vector<std::uint8_t> huge = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'};
    CArchive in(huge);
    try {
        in.ReadString();
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::endOfFile);
    }
    const std::vector<std::uint8_t> doubleMarker = {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF};
    CArchive in2(doubleMarker);
    EXPECT_THROW(in2.ReadString(), CArchiveException);
}

TEST(Archive, WrongDirectionIsRefused)
{
    CArchive out;
    BYTE b;
    EXPECT_TRUE(out.IsStoring());
    EXPECT_THROW(out >> b, CArchiveException);
    CArchive in(std::vector<std::uint8_t> {1});
    EXPECT_TRUE(in.IsLoading());
    EXPECT_THROW(in << static_cast<BYTE>(1), CArchiveException);
}
