#include "model/ArchiveSchema.h"
#include "model/GroupDataAddress.h"
#include "model/Utils.h"
#include "platform/archive/Archive.h"
#include "tests/model/GroupAddressLogCapture.h"
#include "tests/model/SchemaGuard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void MakeAddress(CGroupDataAddress& address, const std::string& strName, LONG nAddress, int nType, int nSubType)
{
    address.SetName(strName);
    address.SetAddress(nAddress);
    address.SetType({nType, nSubType});
}

std::string Repeat(const std::string& str, int n)
{
    std::string strResult;
    for (int i = 0; i < n; ++i)
        strResult += str;
    return strResult;
}

}  // namespace

TEST(FormatGroupAddressTest, ThreeAndTwoLevels)
{
    CGroupAddressLogCapture capture;
    g_bDebugMode = false;
    EXPECT_EQ(FormatGroupAddress(3, 0x1203, -1, nullptr, false), "01/02/0003");
    EXPECT_EQ(FormatGroupAddress(2, 0x1203, -1, nullptr, false), "01/0515");
    EXPECT_EQ(FormatGroupAddress(3, 0x0000, -1, nullptr, false), "00/00/0000");
    EXPECT_EQ(FormatGroupAddress(3, 0xF7FF, -1, nullptr, false), "15/07/0255");
    EXPECT_EQ(FormatGroupAddress(2, 0xF7FF, -1, nullptr, false), "15/2047");
    // Any level count other than 2 reads as three levels.
    EXPECT_EQ(FormatGroupAddress(0, 0x1203, -1, nullptr, false), "01/02/0003");
}

TEST(FormatGroupAddressTest, NoneAndInvalidReadKeineAtEveryLevelCount)
{
    CGroupAddressLogCapture capture;
    g_bDebugMode = false;
    for (int nLevels : {2, 3}) {
        EXPECT_EQ(FormatGroupAddress(nLevels, -1, -1, nullptr, false), "\"keine\"");
        EXPECT_EQ(FormatGroupAddress(nLevels, 0x1203, 5, nullptr, true), "\"keine\"");
    }
}

TEST(FormatGroupAddressTest, DebugSuffixForms)
{
    CGroupAddressLogCapture capture;
    g_bDebugMode = true;
    const std::vector<WORD> arrTwo = {0x01, 0x02};
    const std::vector<WORD> arrOne = {0x03};
    const std::vector<WORD> arrNone;
    EXPECT_EQ(FormatGroupAddress(3, 0x1203, 0x0B, &arrTwo, false), "01/02/0003 (KO: 0x0B, 0x01, 0x02)");
    EXPECT_EQ(FormatGroupAddress(3, 0x1203, -1, nullptr, false), "01/02/0003 (KO: kein)");
    EXPECT_EQ(FormatGroupAddress(3, 0x1203, -1, &arrNone, false), "01/02/0003 (KO: kein)");
    EXPECT_EQ(FormatGroupAddress(3, 0x1203, -1, &arrOne, false), "01/02/0003 (KO: 0x03)");
    EXPECT_EQ(FormatGroupAddress(3, 0x1203, 0x0B, nullptr, false), "01/02/0003 (KO: 0x0B)");
    EXPECT_EQ(FormatGroupAddress(3, 0x1203, 0x0B, &arrNone, false), "01/02/0003 (KO: 0x0B)");
    // Numbers of 256 and above are no object number.
    EXPECT_EQ(FormatGroupAddress(3, 0x1203, 300, nullptr, false), "01/02/0003 (KO: kein)");
    // The suffix follows the text of no address, too.
    EXPECT_EQ(FormatGroupAddress(2, -1, 0xFA, nullptr, false), "\"keine\" (KO: 0xFA)");
}

TEST(GroupDataAddressTest, FreshAddressDefaults)
{
    CGroupDataAddress address;
    EXPECT_EQ(address.GetName(), "");
    EXPECT_EQ(address.GetAddress(), -1);
    EXPECT_EQ(address.GetObjectType(), 0);
    EXPECT_EQ(address.GetUsageFlags(), 0u);
    EXPECT_EQ(address.GetLevels(), 3);
    EXPECT_EQ(address.GetReference(), -1);
    EXPECT_EQ(address.GetObjectNumber(), -1);
    EXPECT_EQ(address.GetAddressTableIndex(), -1);
    EXPECT_FALSE(address.IsInvalid());
    EXPECT_EQ(address.GetOwner(), nullptr);
    EXPECT_EQ(GetObjectKindFlag(&address), 256);
}

TEST(GroupDataAddressTest, UsesAreCountedPerKindWithTheirLogLines)
{
    CGroupAddressLogCapture capture;
    g_bDebugMode = false;
    CGroupDataAddress address;
    MakeAddress(address, "Licht", 0x1203, 1, 1);

    address.AddUse(GAU_SWITCHTIME | GAU_QUANTITY_TRIGGER | GAU_QUANTITY_MEMBER);
    address.AddUse(GAU_SWITCHTIME);
    address.AddUse(GAU_QUANTITY_MEMBER);
    address.AddUse(GAU_QUANTITY_MEMBER);
    EXPECT_EQ(address.GetUsageFlags(), 14u);
    EXPECT_EQ(address.GetUseCount(GAU_SWITCHTIME), 2);
    EXPECT_EQ(address.GetUseCount(0x80), 1);
    EXPECT_EQ(address.GetUseCount(0x40), 3);
    EXPECT_EQ(address.GetUseCount(511), 6);
    // No day routine exists yet, so none has it as its trigger.
    EXPECT_EQ(address.GetUseCount(1), 0);

    ASSERT_GE(capture.Lines().size(), 3u);
    EXPECT_EQ(capture.TextOf(0), "Adding GDA ( Licht: 01/02/0003 ) as day switch time");
    EXPECT_EQ(capture.TextOf(1), "Adding GDA ( Licht: 01/02/0003 ) as trigger for quantity");
    EXPECT_EQ(capture.TextOf(2), "Adding GDA ( Licht: 01/02/0003 ) as quantity member");
    EXPECT_EQ(capture.CountLevel(LOG_LEVEL_INFO), 6);
}

TEST(GroupDataAddressTest, SecondDayRoutineTriggerIsRefused)
{
    CGroupAddressLogCapture capture;
    CGroupDataAddress address;
    MakeAddress(address, "Taster", 0x0101, 1, 1);
    address.AddUse(GAU_DAYROUTINE_TRIGGER);
    EXPECT_EQ(address.GetUsageFlags(), 1u);
    EXPECT_TRUE(capture.Has(LOG_LEVEL_INFO, "Adding GDA ( Taster: 00/01/0001 ) as trigger for day routine"));

    address.AddUse(GAU_DAYROUTINE_TRIGGER | GAU_SWITCHTIME);
    EXPECT_TRUE(capture.Has(LOG_LEVEL_ERROR, "?? "));
    EXPECT_TRUE(capture.Has(LOG_LEVEL_ERROR, "Error: Trying to use GDA as trigger for multiple day routines"));
    // The other kinds of the same request still count.
    EXPECT_EQ(address.GetUsageFlags(), 3u);
    EXPECT_EQ(address.GetUseCount(GAU_SWITCHTIME), 1);
}

TEST(GroupDataAddressTest, RemovingUsesCountsDownAndStopsAtTheFirstUnregisteredKind)
{
    CGroupAddressLogCapture capture;
    CGroupDataAddress address;
    MakeAddress(address, "Licht", 0x1203, 1, 1);
    address.AddUse(GAU_SWITCHTIME);
    address.AddUse(GAU_SWITCHTIME);
    capture.Clear();

    address.RemoveUse(GAU_SWITCHTIME);
    EXPECT_EQ(address.GetUseCount(GAU_SWITCHTIME), 1);
    EXPECT_TRUE(address.HasUsage(GAU_SWITCHTIME));
    EXPECT_EQ(capture.TextOf(0), "Removing GDA ( Licht: 01/02/0003 ) as day switch time");

    address.RemoveUse(GAU_SWITCHTIME);
    EXPECT_FALSE(address.HasUsage(GAU_SWITCHTIME));
    EXPECT_FALSE(address.HasUsage(GAU_ANY));

    capture.Clear();
    address.RemoveUse(GAU_SWITCHTIME);
    EXPECT_EQ(capture.CountLevel(LOG_LEVEL_ERROR), 1);
    EXPECT_TRUE(capture.Has(LOG_LEVEL_ERROR,
                            "Error: Trying to remove GDA ( Licht: 01/02/0003 ) as day switch time, which it isn't"));
    EXPECT_EQ(address.GetUseCount(GAU_SWITCHTIME), 0);

    // Kind 1 is handled first: its error ends the removal before kind 8.
    address.AddUse(GAU_QUANTITY_MEMBER);
    capture.Clear();
    address.RemoveUse(GAU_DAYROUTINE_TRIGGER | GAU_QUANTITY_MEMBER);
    EXPECT_TRUE(capture.Has(LOG_LEVEL_ERROR, "as trigger for day routine, which it isn't"));
    EXPECT_EQ(address.GetUseCount(0x40), 1);

    address.RemoveUse(GAU_QUANTITY_MEMBER);
    address.RemoveUse(GAU_QUANTITY_TRIGGER);
    EXPECT_TRUE(capture.Has(LOG_LEVEL_INFO, "Removing GDA ( Licht: 01/02/0003 ) as quantity member"));
    EXPECT_TRUE(capture.Has(LOG_LEVEL_ERROR, "as trigger for quantity, which it isn't"));
    EXPECT_EQ(address.GetUsageFlags(), 0u);
}

TEST(GroupDataAddressTest, CopyFromTakesIdentityButNotUsesOrNumbers)
{
    CGroupDataAddress source;
    MakeAddress(source, "Heizung", 0x2A05, 9, 0);
    source.SetLevels(2);
    source.SetReference(4711);
    source.SetObjectNumber(7);
    source.SetInvalid(true);
    source.AddUse(GAU_SWITCHTIME);

    CGroupDataAddress copy;
    copy.SetObjectNumber(3);
    copy.CopyFrom(source);
    EXPECT_EQ(copy.GetName(), "Heizung");
    EXPECT_EQ(copy.GetAddress(), 0x2A05);
    EXPECT_EQ(copy.GetObjectType(), 9);
    EXPECT_EQ(copy.GetLevels(), 2);
    EXPECT_EQ(copy.GetReference(), 4711);
    EXPECT_EQ(copy.GetObjectNumber(), 3);
    EXPECT_FALSE(copy.IsInvalid());
    EXPECT_EQ(copy.GetUsageFlags(), 0u);
}

TEST(GroupDataAddressTest, TypeTextAndNameAndAddress)
{
    CGroupAddressLogCapture capture;
    g_bDebugMode = false;
    CGroupDataAddress address;
    MakeAddress(address, "Temperatur", 0x1203, 9, 0);
    EXPECT_EQ(address.GetTypeText(), "2 Byte Gleitkommazahl");
    address.SetObjectType(11);
    EXPECT_EQ(address.GetTypeText(), "3 Byte Datum");
    address.SetObjectType(3);
    EXPECT_EQ(address.GetTypeText(), "ungültig");
    EXPECT_EQ(CGroupDataAddress::GetNameAndAddress(&address), "Temperatur - 01/02/0003");
    EXPECT_EQ(CGroupDataAddress::GetNameAndAddress(nullptr), "-");
}

TEST(GroupDataAddressTest, HexRecordGoldenForms)
{
    CGroupDataAddress address;
    MakeAddress(address, "Licht", 0x1203, 1, 1);
    EXPECT_EQ(address.ToHexString(), "ffffffff0001000105Licht");

    // Low half of the reference first; lowercase digits.
    address.SetReference(0x00AB12CD);
    address.SetType({9, 0});
    address.SetName("");
    EXPECT_EQ(address.ToHexString(), "12cd00ab0009000000");

    // The name's Windows-1252 bytes, counted as bytes.
    address.SetReference(-1);
    address.SetType({1, 1});
    address.SetName("Küche");
    EXPECT_EQ(address.ToHexString(), std::string("ffffffff0001000105K\xFC" "che"));

    // A character without a Windows-1252 form is stored as '?', and said so.
    CGroupAddressLogCapture capture;
    address.SetName("Ωmega");
    EXPECT_EQ(address.ToHexString(), "ffffffff0001000105?mega");
    EXPECT_TRUE(capture.Has(LOG_LEVEL_WARNING, "holds characters without a Windows-1252 form"));
}

TEST(GroupDataAddressTest, LongNamesAreCutTo255StoredBytesAtACharacterBoundary)
{
    CGroupDataAddress address;
    address.SetName(std::string(300, 'a'));
    EXPECT_EQ(address.GetName().size(), 255u);
    EXPECT_EQ(address.ToHexString(), "ffffffff00000000ff" + std::string(255, 'a'));

    // Two UTF-8 bytes each, one stored byte each: 255 characters stay.
    address.SetName(Repeat("ü", 300));
    EXPECT_EQ(address.GetName(), Repeat("ü", 255));
    EXPECT_EQ(address.ToHexString(), "ffffffff00000000ff" + std::string(255, '\xFC'));

    EXPECT_EQ(LimitGroupAddressName("kurz"), "kurz");
    EXPECT_EQ(LimitGroupAddressName(std::string(254, 'x') + "€€"), std::string(254, 'x') + "€");
}

TEST(GroupDataAddressTest, CsvLineWithAndWithoutUsageColumns)
{
    CGroupAddressLogCapture capture;
    g_bDebugMode = false;
    CGroupDataAddress address;
    MakeAddress(address, "Licht", 0x1203, 1, 1);
    EXPECT_EQ(address.ToCsvLine(false), "\"Licht\",\"01/02/0003\",\"1 Bit\"");
    EXPECT_EQ(address.ToCsvLine(true), "\"Licht\",\"01/02/0003\",\"1 Bit\",,,,");

    address.AddUse(GAU_SWITCHTIME | GAU_QUANTITY_MEMBER);
    EXPECT_EQ(address.ToCsvLine(true), "\"Licht\",\"01/02/0003\",\"1 Bit\",,\"X\",,\"X\"");

    std::string strFile = "x\n";
    address.WriteCsvLine(strFile, false);
    EXPECT_EQ(strFile, "x\n\"Licht\",\"01/02/0003\",\"1 Bit\"\n");
}

TEST(GroupDataAddressTest, ArchiveRecordGoldenBytes)
{
    CGroupDataAddress address;
    MakeAddress(address, "Licht", 0x1203, 1, 2);
    address.SetObjectNumber(0x0B);
    address.SetReference(0x00120034);
    address.SetInvalid(true);
    address.AddUse(GAU_SWITCHTIME);

    CArchive ar;
    address.StoreToArchive(ar);
    const Bytes expected = {0x05, 'L',  'i',  'c',  'h',  't',  0x03, 0x12, 0x00, 0x00, 0x01, 0x00,
                            0x02, 0x00, 0x0B, 0x00, 0x34, 0x00, 0x12, 0x00, 0x01, 0x00};
    EXPECT_EQ(ar.GetBuffer(), expected);

    CSchemaGuard schema(ARCHIVE_SCHEMA_CURRENT);
    CArchive in(ar.GetBuffer());
    CGroupDataAddress loaded;
    loaded.LoadFromArchive(in);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(loaded.GetName(), "Licht");
    EXPECT_EQ(loaded.GetAddress(), 0x1203);
    EXPECT_EQ(loaded.GetObjectType(), 1);
    EXPECT_EQ(loaded.GetSubType(), 2);
    EXPECT_EQ(loaded.GetObjectNumber(), 0x0B);
    EXPECT_EQ(loaded.GetReference(), 0x00120034);
    EXPECT_TRUE(loaded.IsInvalid());
    // Uses are not stored: their users register them again.
    EXPECT_EQ(loaded.GetUsageFlags(), 0u);
}

TEST(GroupDataAddressTest, ArchiveRecordNoneValues)
{
    CGroupDataAddress address;
    CArchive ar;
    address.StoreToArchive(ar);
    const Bytes expected = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00,
                            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    EXPECT_EQ(ar.GetBuffer(), expected);

    CSchemaGuard schema(ARCHIVE_SCHEMA_CURRENT);
    CArchive in(ar.GetBuffer());
    CGroupDataAddress loaded;
    loaded.SetObjectNumber(4);
    loaded.LoadFromArchive(in);
    EXPECT_EQ(loaded.GetAddress(), -1);
    EXPECT_EQ(loaded.GetObjectNumber(), -1);
    EXPECT_EQ(loaded.GetReference(), -1);
}

TEST(GroupDataAddressTest, OlderSchemasReadFewerFields)
{
    // name "A", address, type, sub type, object number, then one more word.
    const Bytes record = {0x01, 'A', 0x03, 0x12, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x02, 0x00,
                          0x34, 0x00, 0x12, 0x00, 0x07, 0x00};
    {
        CSchemaGuard schema(0x10003);
        CArchive in(record);
        CGroupDataAddress loaded;
        loaded.SetReference(99);
        loaded.SetInvalid(true);
        loaded.LoadFromArchive(in);
        EXPECT_EQ(in.GetPosition(), 12u);
        EXPECT_EQ(loaded.GetReference(), -1);
        EXPECT_FALSE(loaded.IsInvalid());
        EXPECT_EQ(loaded.GetObjectNumber(), 2);
    }
    {
        CSchemaGuard schema(0x10004);
        CArchive in(record);
        CGroupDataAddress loaded;
        loaded.LoadFromArchive(in);
        EXPECT_EQ(in.GetPosition(), 16u);
        EXPECT_EQ(loaded.GetReference(), 0x00120034);
        EXPECT_FALSE(loaded.IsInvalid());
    }
    {
        // Any non-zero flag word reads as invalid.
        CSchemaGuard schema(0x10005);
        CArchive in(record);
        CGroupDataAddress loaded;
        loaded.LoadFromArchive(in);
        EXPECT_TRUE(in.AtEnd());
        EXPECT_TRUE(loaded.IsInvalid());
    }
}

TEST(GroupDataAddressTest, ArchiveOfTheOtherDirectionIsLeftAlone)
{
    CGroupDataAddress address;
    MakeAddress(address, "Licht", 0x1203, 1, 1);
    CArchive in(Bytes {0x01, 'A'});
    address.StoreToArchive(in);
    EXPECT_EQ(in.GetPosition(), 0u);

    CArchive out;
    address.LoadFromArchive(out);
    EXPECT_TRUE(out.GetBuffer().empty());
    EXPECT_EQ(address.GetName(), "Licht");
}

TEST(GroupDataAddressTest, LongStoredNamesAreCutOnLoad)
{
    CArchive ar;
    ar << std::string(300, 'n');
    ar << DWORD {0x1203} << WORD {1} << WORD {1} << WORD {0xFFFF} << DWORD {0xFFFFFFFF} << WORD {0};
    CSchemaGuard schema(ARCHIVE_SCHEMA_CURRENT);
    CArchive in(ar.GetBuffer());
    CGroupDataAddress loaded;
    loaded.LoadFromArchive(in);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(loaded.GetName(), std::string(255, 'n'));
    EXPECT_EQ(loaded.GetAddress(), 0x1203);
}
