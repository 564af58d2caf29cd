#include "model/QuantityMember.h"
#include "model/Utils.h"
#include "tests/model/QuantityTestSupport.h"

#include <gtest/gtest.h>

using namespace quantitytest;

namespace {

class QuantityMemberTest : public QuantityTestBase {
protected:
    // Quantity 30 (the 30th created) and quantity 1.
    void MakeQuantities()
    {
        for (int i = 0; i < 30; ++i)
            AddQuantity(9, 0);
        m_pFirst = Quantities().GetQuantity(1);
        m_pLast = Quantities().GetQuantity(30);
    }

    CQuantity* m_pFirst = nullptr;
    CQuantity* m_pLast = nullptr;
};

}  // namespace

TEST_F(QuantityMemberTest, FlagsByteAndParameterRecord)
{
    MakeQuantities();
    CGroupDataAddress* pFloat = AddAddress(0x1203, 9, 0, 0x00120034);
    CQuantityMember* pMember = AddMember(m_pLast, pFloat, 0x0C1A, 1, true);
    EXPECT_EQ(pMember->GetFlagsByte(), 0xDD);
    EXPECT_EQ(pMember->GetParameterString(), "dd" "0034" "0012" "00" "1a0c" "03");

    CQuantityMember* pPlain = AddMember(m_pFirst, nullptr, 0);
    EXPECT_EQ(pPlain->GetFlagsByte(), 0x00);
    EXPECT_EQ(pPlain->GetParameterString(), "00" "ffffffff00" "0000" "03");

    CQuantityMember orphan;
    EXPECT_EQ(orphan.GetParameterString().substr(0, 2), "ff");
}

TEST_F(QuantityMemberTest, DeviceSlotByTypeAndList)
{
    MakeQuantities();
    CGroupDataAddress* pTwoBit = AddAddress(0x1001, 2, 1, 1);
    pTwoBit->SetObjectNumber(7);
    CGroupDataAddress* pFloat = AddAddress(0x1002, 9, 0, 2);
    pFloat->SetObjectNumber(8);
    CGroupDataAddress* pInvalid = AddAddress(0x1003, 9, 0, 3, true);
    CGroupDataAddress* pTime = AddAddress(0x1004, 10, 1, 4);
    pTime->SetObjectNumber(9);

    BYTE arrSlot[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    ASSERT_TRUE(AddMember(m_pFirst, pTwoBit, 3)->FillDataBuffer(arrSlot, 4));
    EXPECT_EQ(Hex(arrSlot, 4), "00 07 03 00");
    ASSERT_TRUE(AddMember(m_pLast, pFloat, 0x0C1A, 1, true)->FillDataBuffer(arrSlot, 4));
    EXPECT_EQ(Hex(arrSlot, 4), "DD 08 1A 0C");

    // An address of the invalid list has no place in the device, but the
    // host record keeps it with value and flags.
    CQuantityMember* pInvalidMember = AddMember(m_pFirst, pInvalid, 0x0C1A, 1);
    ASSERT_TRUE(pInvalidMember->FillDataBuffer(arrSlot, 4));
    EXPECT_EQ(Hex(arrSlot, 4), "FF FF FF FF");
    EXPECT_EQ(pInvalidMember->GetParameterString(), "80" "0003" "0000" "01" "1a0c" "03");

    // A type without value bytes leaves them as they were.
    BYTE arrOther[4] = {0x11, 0x22, 0x33, 0x44};
    ASSERT_TRUE(AddMember(m_pFirst, pTime, 0x0C1A)->FillDataBuffer(arrOther, 4));
    EXPECT_EQ(Hex(arrOther, 4), "00 09 33 44");

    CQuantityMember orphan;
    EXPECT_FALSE(orphan.FillDataBuffer(arrSlot, 4));
    EXPECT_FALSE(AddMember(m_pFirst, nullptr, 0)->FillDataBuffer(arrSlot, 3));
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "invalid buffer"));
}

TEST_F(QuantityMemberTest, ParsesItsRecordAndFindsTheAddress)
{
    MakeQuantities();
    CGroupDataAddress* pFloat = AddAddress(0x1203, 9, 0, 0x00120034, true);
    // An address without host reference must not be taken for "none".
    AddAddress(0x1204, 9, 0, -1);

    CQuantityMember* pMember = m_pFirst->CreateMember();
    std::size_t pos = 2;
    ASSERT_EQ(pMember->ExtractParameterData("xx" "dd" "0034" "0012" "01" "1a0c" "05", pos), 1);
    EXPECT_EQ(pos, 20u);
    EXPECT_EQ(pMember->GetGroupAddress(), pFloat);
    EXPECT_EQ(pFloat->GetUseCount(0x40), 1);
    EXPECT_TRUE(pMember->GetSendOnChange());
    EXPECT_EQ(pMember->GetRange(), 1);
    EXPECT_EQ(pMember->GetRawValue(), 0x0C1A);
    EXPECT_EQ(pMember->GetExponent(), 5);

    CQuantityMember* pNone = m_pFirst->CreateMember();
    pos = 0;
    ASSERT_EQ(pNone->ExtractParameterData("00ffffffff0000000003", pos), 1);
    EXPECT_EQ(pNone->GetGroupAddress(), nullptr);

    // An unknown reference leaves the member without address, no failure.
    m_capture.Clear();
    pos = 0;
    ASSERT_EQ(pNone->ExtractParameterData("00" "9999" "0000" "00" "0100" "03", pos), 1);
    EXPECT_EQ(pNone->GetGroupAddress(), nullptr);
    EXPECT_EQ(m_capture.CountLevel(LOG_LEVEL_ERROR), 0);

    pos = 0;
    EXPECT_EQ(pNone->ExtractParameterData("00ffffffff000000", pos), 0);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "CQuantityMember::ExtractParameterData: empty data string"));

    CQuantityMember orphan;
    pos = 0;
    EXPECT_EQ(orphan.ExtractParameterData("00ffffffff0000000003", pos), 0);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "internal data error"));
}

TEST_F(QuantityMemberTest, ArchiveRecordByFileSchema)
{
    MakeQuantities();
    CGroupDataAddress* pFloat = AddAddress(0x1203, 9, 0, 0x00120034);
    CQuantityMember* pMember = AddMember(m_pFirst, pFloat, 0x0C1A, 1, true);

    CArchive store;
    pMember->StoreToArchive(store);
    EXPECT_EQ(store.GetBuffer(), (Bytes {0x01, 0x00, 0x34, 0x00, 0x12, 0x00, 0x00, 0x00, 0x1A, 0x0C, 0x01, 0x00,
                                         0x01, 0x00, 0x03}));

    struct Case {
        DWORD nSchema;
        Bytes bytes;
        bool bFound;
        BYTE nExponent;
    };
    const Case arrCases[] = {
        // Current layout.
        {0x20000, store.GetBuffer(), true, 3},
        // Reference and flag.
        {0x10005, {0x34, 0x00, 0x12, 0x00, 0x00, 0x00, 0x1A, 0x0C, 0x01, 0x00, 0x01, 0x00, 0x07}, true, 7},
        // Reference without flag.
        {0x10004, {0x34, 0x00, 0x12, 0x00, 0x1A, 0x0C, 0x01, 0x00, 0x01, 0x00, 0x07}, true, 7},
        // Raw address; no exponent before 0x10001.
        {0x10003, {0x03, 0x12, 0x1A, 0x0C, 0x01, 0x00, 0x01, 0x00, 0x07}, true, 7},
        {0x10000, {0x03, 0x12, 0x1A, 0x0C, 0x01, 0x00, 0x01, 0x00}, true, 3},
        {0x10000, {0xFF, 0xFF, 0x1A, 0x0C, 0x01, 0x00, 0x01, 0x00}, false, 3},
    };
    for (const Case& c : arrCases) {
        SCOPED_TRACE(c.nSchema);
        CSchemaGuard schema(c.nSchema);
        CQuantityMember* pLoaded = m_pLast->CreateMember();
        CArchive load(c.bytes);
        pLoaded->LoadFromArchive(load);
        EXPECT_TRUE(load.AtEnd());
        EXPECT_EQ(pLoaded->GetGroupAddress(), c.bFound ? pFloat : nullptr);
        EXPECT_EQ(pLoaded->GetRawValue(), 0x0C1A);
        EXPECT_TRUE(pLoaded->GetSendOnChange());
        EXPECT_EQ(pLoaded->GetRange(), 1);
        EXPECT_EQ(pLoaded->GetExponent(), c.nExponent);
    }
}

TEST_F(QuantityMemberTest, ExportLine)
{
    MakeQuantities();
    CGroupDataAddress* pFloat = AddAddress(0x1203, 9, 0, 1, false, "Temp \"innen\"");
    std::string strFile;
    AddMember(m_pFirst, pFloat, 0x0C1A, 1, true)->WriteCsvLine(strFile);
    AddMember(m_pFirst, nullptr, 0)->WriteCsvLine(strFile);
    EXPECT_EQ(strFile, pFloat->ToCsvLine(false) + ",\"" + FormatValue(9, 0, 0x0C1A, false) + "\",\"B\",\"Ja\"\n" +
                           "\"\",\"\",\"\",\"\",\"A\",\"Nein\"\n");
}
