#include "model/GaMap.h"
#include "model/GroupDataAddress.h"
#include "tests/model/GroupAddressLogCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

void MakeMappedAddress(CGroupDataAddress& address, LONG nAddress, LONG nReference, int nType, bool bInvalid = false)
{
    address.SetAddress(nAddress);
    address.SetReference(nReference);
    address.SetType({nType, 1});
    address.SetInvalid(bInvalid);
}

std::string Identities(const void* pOld, const void* pNew)
{
    char szText[64];
    std::snprintf(szText, sizeof szText, "%p | %p", pOld, pNew);
    return szText;
}

}  // namespace

TEST(GaMapTest, EqualEntriesAreKeptOnce)
{
    CGroupDataAddress oldAddress, newAddress;
    CGaMap map;
    map.AddEntry(&oldAddress, &newAddress, 5, -1);
    map.AddEntry(&oldAddress, &newAddress, 5, -1);
    EXPECT_EQ(map.GetCount(), 1);
    map.AddEntry(&oldAddress, &newAddress, 6, -1);
    map.AddEntry(&oldAddress, &newAddress, 6, 2);
    EXPECT_EQ(map.GetCount(), 3);

    EXPECT_EQ(map.GetOldGroupAddress(1), &oldAddress);
    EXPECT_EQ(map.GetNewGroupAddress(2), &newAddress);
    EXPECT_EQ(map.GetId(1), 6);
    EXPECT_EQ(map.GetQuantityNumber(2), 2);
    EXPECT_EQ(map.GetOldGroupAddress(3), nullptr);
    EXPECT_EQ(map.GetNewGroupAddress(-1), nullptr);
    EXPECT_EQ(map.GetId(3), -1);
    EXPECT_EQ(map.GetQuantityNumber(3), -1);
}

TEST(GaMapTest, LookupWithClearEmptiesTheEntryButKeepsIt)
{
    CGroupDataAddress oldAddress, newAddress, otherAddress;
    CGaMap map;
    map.AddEntry(&oldAddress, &newAddress, 5, 3);
    map.AddEntry(&oldAddress, &otherAddress, 6, 4);

    LONG nQuantity = 99;
    EXPECT_EQ(map.Lookup(&newAddress, nQuantity, false), nullptr);
    EXPECT_EQ(nQuantity, 99);
    EXPECT_EQ(map.Lookup(&oldAddress, nQuantity, false), &newAddress);
    EXPECT_EQ(nQuantity, 3);

    EXPECT_EQ(map.Lookup(&oldAddress, nQuantity, true), &newAddress);
    EXPECT_EQ(map.GetCount(), 2);
    EXPECT_EQ(map.GetOldGroupAddress(0), nullptr);
    EXPECT_EQ(map.GetId(0), 0);
    // The next entry of the same old address comes next.
    EXPECT_EQ(map.Lookup(&oldAddress, nQuantity, true), &otherAddress);
    EXPECT_EQ(nQuantity, 4);
    EXPECT_EQ(map.Lookup(&oldAddress, nQuantity, true), nullptr);
    EXPECT_EQ(map.GetCount(), 2);
}

TEST(GaMapTest, FindNewGroupAddressByReferenceAndFlag)
{
    CGroupDataAddress oldAddress, validNew, invalidNew, noneNew;
    MakeMappedAddress(validNew, 0x1203, 42, 1);
    MakeMappedAddress(invalidNew, 0x1203, 42, 1, true);
    MakeMappedAddress(noneNew, 0x1203, -1, 1);
    CGaMap map;
    map.AddEntry(&oldAddress, nullptr, 42, -1);
    map.AddEntry(&oldAddress, &noneNew, -1, -1);
    map.AddEntry(&oldAddress, &invalidNew, 42, -1);
    map.AddEntry(&oldAddress, &validNew, 42, -1);

    EXPECT_EQ(map.FindNewGroupAddress(42, true), &invalidNew);
    EXPECT_EQ(map.FindNewGroupAddress(42, false), &validNew);
    EXPECT_EQ(map.FindNewGroupAddress(-1, false), nullptr);
    EXPECT_EQ(map.FindNewGroupAddress(43, false), nullptr);
}

TEST(GaMapTest, DumpColumns)
{
    CGroupAddressLogCapture capture;
    g_bDebugMode = false;
    CGroupDataAddress oldAddress, sameContent, otherType;
    MakeMappedAddress(oldAddress, 0x1203, 42, 1);
    MakeMappedAddress(sameContent, 0x1203, 42, 1);
    MakeMappedAddress(otherType, 0x1203, 42, 9);
    CGaMap map;
    map.AddEntry(&oldAddress, &sameContent, 42, -1);
    map.AddEntry(&oldAddress, &otherType, 1234567, 7);
    map.AddEntry(&oldAddress, &oldAddress, -1, -1);
    map.AddEntry(&oldAddress, nullptr, 5, 12);
    map.AddEntry(nullptr, &sameContent, 5, -1);
    map.Dump();

    ASSERT_EQ(capture.Lines().size(), 8u);
    for (const auto& line : capture.Lines())
        EXPECT_EQ(line.nLevel, LOG_LEVEL_DETAIL);
    EXPECT_EQ(capture.TextOf(0), "Dump of Ga map with 5 entries.");
    EXPECT_EQ(capture.TextOf(1), ". index | cont | address    | id     | QuanNr | OldRef    | NewRef");
    EXPECT_EQ(capture.TextOf(2), "--------+------+------------+--------+--------+-----------+-----------");
    EXPECT_EQ(capture.TextOf(3),
              ". #000  | OK   | 01/02/0003 | 000042 | undef. | " + Identities(&oldAddress, &sameContent));
    EXPECT_EQ(capture.TextOf(4),
              ". #001  | ERR  | 01/02/0003 | 234567 | 007    | " + Identities(&oldAddress, &otherType));
    // The same object on both sides is no replacement.
    EXPECT_EQ(capture.TextOf(5),
              ". #002  | ERR  | 01/02/0003 | -000001 | undef. | " + Identities(&oldAddress, &oldAddress));
    // Without a new address there is no status column.
    EXPECT_EQ(capture.TextOf(6), ". #003  | 01/02/0003 | 000005 | 012    | " + Identities(&oldAddress, nullptr));
    EXPECT_EQ(capture.TextOf(7), ". #004  | not def.   | 000005 | undef. | " + Identities(nullptr, &sameContent));
}

TEST(GaMapTest, DumpPadsShortAddressTexts)
{
    CGroupAddressLogCapture capture;
    g_bDebugMode = false;
    CGroupDataAddress oldAddress;
    oldAddress.SetLevels(2);
    oldAddress.SetAddress(0x1203);
    CGaMap map;
    map.AddEntry(&oldAddress, nullptr, 0, 0);
    map.Dump();
    ASSERT_EQ(capture.Lines().size(), 4u);
    EXPECT_EQ(capture.TextOf(3).substr(0, 31), ". #000  | 01/0515    | 000000 |");
}
