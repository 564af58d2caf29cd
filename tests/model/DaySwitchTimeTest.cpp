#include "tests/model/SwitchProgramTestSupport.h"

#include "model/Utils.h"
#include "platform/archive/Archive.h"

#include <gtest/gtest.h>

using switchtest::Bytes;
using switchtest::CSchemaGuard;
using switchtest::SwitchProgramTest;

namespace {

class DaySwitchTimeTest : public SwitchProgramTest {
protected:
    void SetUp() override
    {
        SwitchProgramTest::SetUp();
        m_pRoutine = Routines().CreateDayRoutine();
        ASSERT_NE(m_pRoutine, nullptr);
    }

    // The 5-byte device slot of a switching time, prefilled with 0x11.
    static Bytes Slot(const CDaySwitchTime& time)
    {
        Bytes arrSlot(5, 0x11);
        EXPECT_TRUE(time.ToBuffer(arrSlot.data(), 5));
        return arrSlot;
    }

    CDayRoutine* m_pRoutine = nullptr;
};

}  // namespace

// ------------------------------------------------------------ time word, parameter record, device slot

TEST_F(DaySwitchTimeTest, LastMinuteOfTheDayWithFlagInRoutine15)
{
    m_pRoutine->SetNumber(15);
    CDaySwitchTime* pTime = AddTime(m_pRoutine, 23, 59, nullptr, 0, 1);
    EXPECT_EQ(pTime->GetTimeWord(15), 0xFBF7);
    EXPECT_EQ(pTime->ToHexString(15), "fbf7ffffffff00030000");
    const Bytes arrSlot = Slot(*pTime);
    // Without a group address the slot is FF FF FF and the value bytes stay.
    EXPECT_EQ(arrSlot, (Bytes {0xFF, 0xFF, 0xFF, 0x11, 0x11}));

    CGroupDataAddress* pAddress = AddAddress(1, 0x1203, 1, 2, 0x20);
    pTime->SetGroupAddress(pAddress);
    EXPECT_EQ(Slot(*pTime), (Bytes {0xF7, 0xFB, 0x20, 0x00, 0x00}));
}

TEST_F(DaySwitchTimeTest, ValueBytesFollowTheObjectType)
{
    m_pRoutine->SetNumber(3);
    CGroupDataAddress* pByte = AddAddress(0x00120034, 0x1203, 5, 10, 5);
    CDaySwitchTime* pTime = AddTime(m_pRoutine, 7, 30, pByte, 0x2A);
    EXPECT_EQ(pTime->ToHexString(3), "33bc0034001200032a00");
    EXPECT_EQ(Slot(*pTime), (Bytes {0xBC, 0x33, 0x05, 0x2A, 0x00}));

    // The 2-byte float: low byte first in both forms.
    CGroupDataAddress* pFloat = AddAddress(7, 0x1204, 9, 0, 0x107);
    pTime->SetGroupAddress(pFloat);
    pTime->SetValue(SwitchTimeValue {0x0C1A});
    pTime->SetExponent(5);
    EXPECT_EQ(pTime->ToHexString(3), "33bc0007000000051a0c");
    EXPECT_EQ(Slot(*pTime), (Bytes {0xBC, 0x33, 0x07, 0x1A, 0x0C}));

    // A type without a device form leaves the value bytes alone.
    CGroupDataAddress* pDate = AddAddress(8, 0x1205, 11, 0, 9);
    pTime->SetGroupAddress(pDate);
    EXPECT_EQ(Slot(*pTime), (Bytes {0xBC, 0x33, 0x09, 0x11, 0x11}));
}

TEST_F(DaySwitchTimeTest, InvalidListAddressIsNamedInTheTextButNotSentByTheDevice)
{
    CGroupDataAddress* pInvalid = AddAddress(0x00120034, 0x1203, 1, 2, 4, true);
    CDaySwitchTime* pTime = AddTime(m_pRoutine, 0, 0, pInvalid, 1);
    EXPECT_EQ(pTime->ToHexString(1).substr(4, 10), "0034001201");
    EXPECT_EQ(Slot(*pTime), (Bytes {0xFF, 0xFF, 0xFF, 0x11, 0x11}));
}

TEST_F(DaySwitchTimeTest, SlotRefusesShortBuffersAndTimesWithoutRoutine)
{
    CDaySwitchTime* pTime = AddTime(m_pRoutine, 1, 2, nullptr);
    BYTE arrSlot[5] = {0x11, 0x11, 0x11, 0x11, 0x11};
    EXPECT_FALSE(pTime->ToBuffer(nullptr, 5));
    EXPECT_FALSE(pTime->ToBuffer(arrSlot, 4));
    CDaySwitchTime orphan;
    EXPECT_FALSE(orphan.ToBuffer(arrSlot, 5));
    EXPECT_EQ(arrSlot[0], 0x11);
    EXPECT_EQ(m_log.Count(LOG_LEVEL_ERROR, "invalid buffer"), 3);
}

TEST_F(DaySwitchTimeTest, NewSwitchTimeDefaults)
{
    CDaySwitchTime time;
    EXPECT_EQ(time.GetHour(), 0);
    EXPECT_EQ(time.GetMinute(), 0);
    EXPECT_EQ(time.GetGroupAddress(), nullptr);
    EXPECT_EQ(time.GetValue().dwValue, 0u);
    EXPECT_EQ(time.GetExponent(), 3);
    EXPECT_EQ(time.GetSendOnChange(), 0);
    EXPECT_EQ(time.GetDayRoutine(), nullptr);
    time.SetSendOnChange(7);
    EXPECT_EQ(time.GetSendOnChange(), 1);
    EXPECT_EQ(GetObjectKindFlag(&time), OKF_DAYSWITCHTIME);
}

// ------------------------------------------------------------ uses of the group address

TEST_F(DaySwitchTimeTest, SetGroupAddressMovesTheUse)
{
    CGroupDataAddress* pA = AddAddress(1, 0x1001, 1, 2);
    CGroupDataAddress* pB = AddAddress(2, 0x1002, 1, 2);
    CDaySwitchTime* pTime = AddTime(m_pRoutine, 6, 0, pA);
    CDaySwitchTime* pOther = AddTime(m_pRoutine, 7, 0, pA);
    EXPECT_EQ(pA->GetUseCount(GASM_SWITCHTIME), 2);
    pTime->SetGroupAddress(pB);
    EXPECT_EQ(pA->GetUseCount(GASM_SWITCHTIME), 1);
    EXPECT_EQ(pB->GetUseCount(GASM_SWITCHTIME), 1);
    pOther->SetGroupAddress(nullptr);
    EXPECT_FALSE(pA->HasUsage(GAU_SWITCHTIME));
}

TEST_F(DaySwitchTimeTest, ClipboardCopyHoldsNoUse)
{
    CGroupDataAddress* pA = AddAddress(1, 0x1001, 5, 10);
    CGroupDataAddress* pB = AddAddress(2, 0x1002, 5, 10);
    CDaySwitchTime* pTime = AddTime(m_pRoutine, 6, 15, pA, 0x40, 1);
    pTime->SetExponent(7);

    CDaySwitchTime copy(*pTime);
    EXPECT_EQ(copy.GetGroupAddress(), pA);
    EXPECT_FALSE(copy.HoldsGroupAddressUse());
    EXPECT_EQ(pA->GetUseCount(GASM_SWITCHTIME), 1);

    // Pasting registers a use of its own.
    CDaySwitchTime* pPasted = m_pRoutine->AddSwitchTime(&copy);
    ASSERT_NE(pPasted, nullptr);
    EXPECT_EQ(pPasted->GetGroupAddress(), pA);
    EXPECT_EQ(pPasted->GetDayRoutine(), m_pRoutine);
    EXPECT_EQ(pPasted->ToHexString(1), pTime->ToHexString(1));
    EXPECT_EQ(pA->GetUseCount(GASM_SWITCHTIME), 2);

    // Re-pointing the copy takes nothing from the address it never used.
    copy.SetGroupAddress(pB);
    EXPECT_EQ(pA->GetUseCount(GASM_SWITCHTIME), 2);
    copy.SetGroupAddress(nullptr);
    EXPECT_EQ(pB->GetUseCount(GASM_SWITCHTIME), 0);
}

TEST_F(DaySwitchTimeTest, PastingACopyWhoseAddressWasDeletedTakesNone)
{
    CGroupDataAddress* pA = AddAddress(1, 0x1001, 1, 2);
    CDaySwitchTime* pTime = AddTime(m_pRoutine, 6, 15, pA);
    CDaySwitchTime copy(*pTime);
    m_pRoutine->RemoveSwitchTime(pTime);
    delete pTime;
    ASSERT_TRUE(Lists().Remove(pA, false));
    delete pA;

    CDaySwitchTime* pPasted = m_pRoutine->AddSwitchTime(&copy);
    ASSERT_NE(pPasted, nullptr);
    EXPECT_EQ(pPasted->GetGroupAddress(), nullptr);
    EXPECT_EQ(pPasted->GetHour(), 6);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_WARNING, "switching time copied without its group address"));
}

// ------------------------------------------------------------ data file

TEST_F(DaySwitchTimeTest, ArchiveRecordAsWritten)
{
    CGroupDataAddress* pAddress = AddAddress(0x00120034, 0x1203, 5, 10, 5, true);
    CDaySwitchTime* pTime = AddTime(m_pRoutine, 7, 30, pAddress, 0x1234, 1);
    CArchive ar;
    pTime->StoreToArchive(ar);
    EXPECT_EQ(ar.GetBuffer(), (Bytes {0x07, 0x00, 0x1E, 0x00, 0x01, 0x00, 0x34, 0x00, 0x12, 0x00, 0x01, 0x00, 0x03,
                                      0x34, 0x12, 0x01, 0x00}));

    CDaySwitchTime* pNone = AddTime(m_pRoutine, 0, 1, nullptr);
    CArchive arNone;
    pNone->StoreToArchive(arNone);
    EXPECT_EQ(arNone.GetBuffer(), (Bytes {0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00}));

    // A loading archive writes nothing.
    CArchive loading(Bytes {});
    pTime->StoreToArchive(loading);
    EXPECT_TRUE(loading.GetBuffer().empty());
}

TEST_F(DaySwitchTimeTest, ArchiveRecordIsReadBySchema)
{
    CGroupDataAddress* pRaw = AddAddress(0x00120034, 0x1203, 5, 10);
    CGroupDataAddress* pInvalid = AddAddress(0x00120034, 0x1203, 5, 10, -1, true);

    struct Case {
        DWORD nSchema;
        Bytes arrAddressPart;
        CGroupDataAddress* pExpected;
    };
    const std::vector<Case> arrCases = {
        // Old files carry the raw address, looked up in the valid list.
        {0x10002, {0x03, 0x12}, pRaw},
        {0x10003, {0x03, 0x12}, pRaw},
        {0x10003, {0xFF, 0xFF}, nullptr},
        {0x10003, {0x04, 0x12}, nullptr},
        // Then the host reference, first in the valid list only.
        {0x10004, {0x34, 0x00, 0x12, 0x00}, pRaw},
        {0x10004, {0xFF, 0xFF, 0xFF, 0xFF}, nullptr},
        // Then with the list flag after a reference.
        {0x10005, {0x34, 0x00, 0x12, 0x00, 0x01, 0x00}, pInvalid},
        {0x10005, {0xFF, 0xFF, 0xFF, 0xFF}, nullptr},
        // Then the written form.
        {0x10006, {0x01, 0x00, 0x34, 0x00, 0x12, 0x00, 0x00, 0x00}, pRaw},
        {0x20000, {0x01, 0x00, 0x34, 0x00, 0x12, 0x00, 0x01, 0x00}, pInvalid},
        {0x20000, {0x00, 0x00}, nullptr},
        {0x20000, {0x01, 0x00, 0x99, 0x00, 0x00, 0x00, 0x00, 0x00}, nullptr},
    };
    for (const Case& c : arrCases) {
        CSchemaGuard schema(c.nSchema);
        Bytes arrBytes = {0x0C, 0x00, 0x2D, 0x00};
        arrBytes.insert(arrBytes.end(), c.arrAddressPart.begin(), c.arrAddressPart.end());
        arrBytes.insert(arrBytes.end(), {0x0F, 0xCD, 0xAB, 0x05, 0x00});
        CArchive ar(arrBytes);
        CDaySwitchTime* pTime = m_pRoutine->AddSwitchTime(nullptr);
        pTime->LoadFromArchive(ar);
        EXPECT_TRUE(ar.AtEnd()) << std::hex << c.nSchema;
        EXPECT_EQ(pTime->GetGroupAddress(), c.pExpected) << std::hex << c.nSchema;
        EXPECT_EQ(pTime->GetHour(), 12);
        EXPECT_EQ(pTime->GetMinute(), 45);
        EXPECT_EQ(pTime->GetExponent(), 15);
        EXPECT_EQ(pTime->GetValue().dwValue, 0xABCDu);
        EXPECT_EQ(pTime->GetSendOnChange(), 1);  // any non-zero word
    }
    // Every address found took a use through the switching time.
    EXPECT_EQ(pRaw->GetUseCount(GASM_SWITCHTIME), 4);
    EXPECT_EQ(pInvalid->GetUseCount(GASM_SWITCHTIME), 2);
}

// ------------------------------------------------------------ text export

TEST_F(DaySwitchTimeTest, ExportLine)
{
    CGroupDataAddress* pAddress = AddAddress(1, 0x1203, 5, 10, -1, false, "Licht Küche");
    CDaySwitchTime* pTime = AddTime(m_pRoutine, 7, 5, pAddress, 42, 1);
    std::string strFile;
    pTime->ExportCsv(strFile);
    EXPECT_EQ(strFile, "\"07:05\",\"Licht Küche\",\"01/02/0003\",\"1 Byte vorzeichenlos\",\"42\",\"Ja\"\n");

    strFile.clear();
    AddTime(m_pRoutine, 23, 0, nullptr)->ExportCsv(strFile);
    EXPECT_EQ(strFile, "\"23:00\",\"\",\"\",\"\",\"\",\"Nein\"\n");
}

TEST_F(DaySwitchTimeTest, TableTexts)
{
    CGroupDataAddress* pAddress = AddAddress(1, 0x1203, 9, 0, -1, false, "Temperatur");
    CDaySwitchTime* pTime = AddTime(m_pRoutine, 9, 3, pAddress, 0x0C1A);
    const std::vector<std::string> arrExpected = {"09:03", "Temperatur", GetDptTypeName(9), "01/02/0003", "21,00",
                                                  "Nein"};
    for (int nColumn = 0; nColumn < 6; ++nColumn)
        EXPECT_EQ(CDayRoutine::GetSwitchTimeText(pTime, nColumn), arrExpected[static_cast<std::size_t>(nColumn)]);
    EXPECT_EQ(CDayRoutine::GetSwitchTimeText(pTime, 6), "-");
    EXPECT_EQ(CDayRoutine::GetSwitchTimeText(nullptr, 0), "-");

    pTime->SetGroupAddress(nullptr);
    for (int nColumn = 1; nColumn <= 4; ++nColumn)
        EXPECT_EQ(CDayRoutine::GetSwitchTimeText(pTime, nColumn), "-");
    EXPECT_EQ(CDayRoutine::GetSwitchTimeText(pTime, 0), "09:03");
}
