#include "tests/model/SwitchProgramTestSupport.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "model/Utils.h"
#include "common/ProgressInfo.h"
#include "platform/archive/Archive.h"
#include "platform/host/HostObjects.h"
#include "platform/host/HostState.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using switchtest::Bytes;
using switchtest::CSchemaGuard;
using switchtest::SwitchProgramTest;

namespace {

class DayRoutinesTest : public SwitchProgramTest {
protected:
    // The routine numbers in list order.
    std::vector<int> Numbers()
    {
        std::vector<int> arrNumbers;
        DayRoutinePosition pos = Routines().GetHeadPosition();
        while (pos)
            arrNumbers.push_back(Routines().GetNext(pos)->GetNumber());
        return arrNumbers;
    }

    // n undefined-free switching-time records of routine nRoutine, minute i.
    static std::string Records(int nRoutine, int n)
    {
        std::string strText;
        for (int i = 0; i < n; ++i) {
            char szRecord[24];
            std::snprintf(szRecord, sizeof szRecord, "%04xffffffff0003%02x00",
                          static_cast<unsigned>(MakeSwitchTimeWord(0, static_cast<WORD>(i % 60), false, nRoutine)),
                          static_cast<unsigned>(i & 0xFF));
            strText += szRecord;
        }
        return strText;
    }
};

}  // namespace

// ------------------------------------------------------------ routines

TEST_F(DayRoutinesTest, CreatingTakesTheLowestFreeNumber)
{
    CDayRoutine* p1 = Routines().CreateDayRoutine();
    CDayRoutine* p2 = Routines().CreateDayRoutine();
    Routines().CreateDayRoutine();
    EXPECT_EQ(Numbers(), (std::vector<int> {1, 2, 3}));
    EXPECT_EQ(p1->GetDayRoutines(), &Routines());
    EXPECT_EQ(GetObjectKindFlag(p1), OKF_DAYROUTINE);

    Routines().DeleteDayRoutine(p2);
    delete p2;
    EXPECT_EQ(Numbers(), (std::vector<int> {1, 3}));
    EXPECT_EQ(Routines().CreateDayRoutine()->GetNumber(), 2);
    EXPECT_EQ(Numbers(), (std::vector<int> {1, 3, 2}));  // list order, not number order

    while (Routines().GetCount() < 15)
        ASSERT_NE(Routines().CreateDayRoutine(), nullptr);
    m_log.Clear();
    EXPECT_EQ(Routines().CreateDayRoutine(), nullptr);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_DETAIL, "Try to create more then 15 day routines"));
    EXPECT_EQ(Routines().FindDayRoutine(15)->GetNumber(), 15);
    EXPECT_EQ(Routines().FindDayRoutine(0), nullptr);
    EXPECT_EQ(Routines().FindDayRoutine(16), nullptr);
}

TEST_F(DayRoutinesTest, TheEightHundredAndFirstSwitchTimeIsRefusedWhicheverRoutineAsks)
{
    CDayRoutine* pFirst = Routines().CreateDayRoutine();
    CDayRoutine* pSecond = Routines().CreateDayRoutine();
    for (int i = 0; i < 800; ++i)
        ASSERT_NE((i % 2 ? pFirst : pSecond)->AddSwitchTime(nullptr), nullptr);
    EXPECT_EQ(Routines().GetSwitchTimeCount(), 800);
    EXPECT_EQ(pFirst->AddSwitchTime(nullptr), nullptr);
    EXPECT_EQ(Routines().CreateDayRoutine()->AddSwitchTime(nullptr), nullptr);
}

TEST_F(DayRoutinesTest, TriggerQueriesAndConflicts)
{
    CGroupDataAddress* pTrigger = AddAddress(1, 0x1001, 1, 2);
    CGroupDataAddress* pA = AddAddress(2, 0x1002, 1, 2);
    CGroupDataAddress* pB = AddAddress(3, 0x1003, 1, 2);
    CGroupDataAddress* pC = AddAddress(4, 0x1004, 1, 2);
    CDayRoutine* p1 = Routines().CreateDayRoutine();
    CDayRoutine* p2 = Routines().CreateDayRoutine();
    p2->SetTriggerGroupAddress(pTrigger);
    EXPECT_EQ(Routines().GetTriggeredDayRoutineNumber(pTrigger), 2);
    EXPECT_EQ(Routines().GetTriggeredDayRoutineNumber(pA), 0);
    EXPECT_EQ(Routines().GetTriggeredDayRoutineNumber(nullptr), 0);

    AddTime(p1, 6, 0, pA);
    AddTime(p1, 6, 0, pB);
    AddTime(p2, 7, 0, pC);
    AddTime(p1, 7, 0, pA);
    EXPECT_TRUE(p1->UsesGroupAddress(pA));
    EXPECT_FALSE(p2->UsesGroupAddress(pA));
    EXPECT_FALSE(p1->UsesGroupAddress(pTrigger));
    EXPECT_EQ(Routines().CheckSwitchTimeConflict(pA, pB), 0);
    EXPECT_EQ(Routines().CheckSwitchTimeConflict(pB, pA), 0);
    // Same time, but in different routines.
    EXPECT_EQ(Routines().CheckSwitchTimeConflict(pA, pC), 1);
    EXPECT_EQ(Routines().CheckSwitchTimeConflict(pA, nullptr), 1);
    EXPECT_EQ(Routines().CheckSwitchTimeConflict(pA, pTrigger), 1);

    EXPECT_EQ(Routines().GetColumnText(p2, 0), "");
    EXPECT_EQ(Routines().GetColumnText(p2, 1), "02");
    EXPECT_EQ(Routines().GetColumnText(p2, 2), "GA1");
    EXPECT_EQ(Routines().GetColumnText(p2, 3), "01/00/0001");
    EXPECT_EQ(Routines().GetColumnText(p1, 2), "*leer*");
    EXPECT_EQ(Routines().GetColumnText(p1, 3), "");
    EXPECT_EQ(Routines().GetColumnText(p1, 4), "-");
    EXPECT_EQ(Routines().GetColumnText(nullptr, 0), "-");
}

TEST_F(DayRoutinesTest, AnAddressTriggersOneRoutineOnly)
{
    CGroupDataAddress* pTrigger = AddAddress(1, 0x1001, 1, 2);
    CDayRoutine* p1 = Routines().CreateDayRoutine();
    CDayRoutine* p2 = Routines().CreateDayRoutine();
    p1->SetTriggerGroupAddress(pTrigger);
    p2->SetTriggerGroupAddress(pTrigger);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "Trying to use GDA as trigger for multiple day routines"));
    // Letting go of the second takes nothing from the first.
    p2->SetTriggerGroupAddress(nullptr);
    EXPECT_TRUE(pTrigger->HasUsage(GAU_DAYROUTINE_TRIGGER));
    p1->SetTriggerGroupAddress(nullptr);
    EXPECT_FALSE(pTrigger->HasUsage(GAU_DAYROUTINE_TRIGGER));
}

// ------------------------------------------------------------ removing and the uses of group addresses

TEST_F(DayRoutinesTest, RemovingTheLastUseOfAnInvalidAddressDeletesIt)
{
    CGroupDataAddress* pValid = AddAddress(1, 0x1001, 1, 2);
    CGroupDataAddress* pInvalid = AddAddress(2, 0x1002, 1, 2, -1, true);
    CDayRoutine* pRoutine = Routines().CreateDayRoutine();
    CDaySwitchTime* pOnValid = AddTime(pRoutine, 6, 0, pValid);
    CDaySwitchTime* pOnInvalid1 = AddTime(pRoutine, 7, 0, pInvalid);
    CDaySwitchTime* pOnInvalid2 = AddTime(pRoutine, 8, 0, pInvalid);

    // A switching time of another routine is not touched.
    Routines().CreateDayRoutine()->RemoveSwitchTime(pOnValid);
    EXPECT_EQ(pRoutine->GetSwitchTimeCount(), 3);

    pRoutine->RemoveSwitchTime(pOnValid);
    delete pOnValid;
    EXPECT_TRUE(Lists().IsInList(pValid));
    EXPECT_FALSE(pValid->HasUsage(GAU_ANY));

    pRoutine->RemoveSwitchTime(pOnInvalid1);
    delete pOnInvalid1;
    EXPECT_EQ(Lists().GetCount(true), 1);
    pRoutine->RemoveSwitchTime(pOnInvalid2);
    EXPECT_EQ(Lists().GetCount(true), 0);
    EXPECT_EQ(pOnInvalid2->GetGroupAddress(), nullptr);
    delete pOnInvalid2;
    EXPECT_EQ(pRoutine->GetSwitchTimeCount(), 0);
}

TEST_F(DayRoutinesTest, DeletingARoutineReleasesItsTrigger)
{
    CGroupDataAddress* pValid = AddAddress(1, 0x1001, 1, 2);
    CGroupDataAddress* pInvalid = AddAddress(2, 0x1002, 1, 2, -1, true);
    CDayRoutine* p1 = Routines().CreateDayRoutine();
    CDayRoutine* p2 = Routines().CreateDayRoutine();
    p1->SetTriggerGroupAddress(pValid);
    p2->SetTriggerGroupAddress(pInvalid);

    Routines().DeleteDayRoutineByNumber(1);
    EXPECT_FALSE(pValid->HasUsage(GAU_ANY));
    EXPECT_TRUE(Lists().IsInList(pValid));
    EXPECT_EQ(p1->GetTriggerGroupAddress(), pValid);
    delete p1;

    Routines().DeleteDayRoutine(p2);
    EXPECT_EQ(Lists().GetCount(true), 0);
    EXPECT_EQ(p2->GetTriggerGroupAddress(), nullptr);
    // Not listed any more: nothing happens.
    Routines().DeleteDayRoutine(p2);
    delete p2;
    EXPECT_EQ(Routines().GetCount(), 0);
}

TEST_F(DayRoutinesTest, RemoveAllAndTheDestructorGiveTheUsesBack)
{
    CGroupDataAddress* pTrigger = AddAddress(1, 0x1001, 1, 2);
    CGroupDataAddress* pTarget = AddAddress(2, 0x1002, 1, 2);
    CDayRoutine* pRoutine = Routines().CreateDayRoutine();
    pRoutine->SetTriggerGroupAddress(pTrigger);
    AddTime(pRoutine, 6, 0, pTarget);
    AddTime(pRoutine, 7, 0, pTarget);
    Routines().RemoveAll();
    EXPECT_EQ(Routines().GetCount(), 0);
    EXPECT_FALSE(AnyAddressUsed());

    // A collection of its own over the same lists.
    auto pOther = std::make_unique<CDayRoutines>();
    pOther->SetChronoset(&m_chronoset);
    CDayRoutine* pOtherRoutine = pOther->CreateDayRoutine();
    pOtherRoutine->SetTriggerGroupAddress(pTrigger);
    AddTime(pOtherRoutine, 6, 0, pTarget);
    EXPECT_EQ(pTarget->GetUseCount(GASM_SWITCHTIME), 1);
    pOther.reset();
    EXPECT_FALSE(AnyAddressUsed());
}

// ------------------------------------------------------------ host parameters: loading

TEST_F(DayRoutinesTest, DayRoutinesTextGivesNumbersNamesAndTriggers)
{
    CGroupDataAddress* pValid = AddAddress(0x00120034, 0x1203, 1, 2);
    CGroupDataAddress* pInvalid = AddAddress(0x00120035, 0x1204, 1, 2, -1, true);
    Routines().SetDayRoutineParameter(500, "010034001200" "00FFFFFFFF00" "010035001201");
    for (int i = 0; i < 15; ++i)
        Routines().AddDisplayNameParameter(600 + i, "Name" + std::to_string(i), i);
    Routines().AddSwitchTimeParameter(700, "", 0);

    CProgressInfo progress(0);
    progress.SetRange(0, 1000);
    ASSERT_EQ(Routines().LoadFromParameters(&progress), 0);
    EXPECT_EQ(Numbers(), (std::vector<int> {1, 3}));
    EXPECT_EQ(Routines().FindDayRoutine(1)->GetName(), "Name0");
    EXPECT_EQ(Routines().FindDayRoutine(3)->GetName(), "Name2");
    EXPECT_EQ(Routines().FindDayRoutine(1)->GetTriggerGroupAddress(), pValid);
    EXPECT_EQ(Routines().FindDayRoutine(3)->GetTriggerGroupAddress(), pInvalid);
    EXPECT_TRUE(pInvalid->HasUsage(GAU_DAYROUTINE_TRIGGER));
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_DETAIL, "Loading DayRoutine 1 - not selected"));
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_DETAIL, "Loading DayRoutine 2 - selected - assigned subgroup-id = 1179701"));
    // One step for the routines, one for the one switching-time parameter.
    EXPECT_EQ(progress.GetPosition(), 2u);
}

TEST_F(DayRoutinesTest, UnknownTriggerReferenceLoadsWithoutTrigger)
{
    AddAddress(0x00120034, 0x1203, 1, 2);
    // The reference is on the valid list, but the entry says invalid.
    Routines().SetDayRoutineParameter(500, "01003400120100FFFFFFFF00");
    Routines().AddSwitchTimeParameter(700, "", 0);
    ASSERT_EQ(Routines().LoadFromParameters(nullptr), 0);
    EXPECT_EQ(Routines().FindDayRoutine(1)->GetTriggerGroupAddress(), nullptr);
    EXPECT_EQ(Routines().FindDayRoutine(1)->GetName(), "");  // no display-name parameter
}

TEST_F(DayRoutinesTest, SwitchTimeRecordsGoToTheRoutineTheirNumberNames)
{
    CGroupDataAddress* pAddress = AddAddress(0x00120034, 0x1203, 5, 10);
    Routines().SetDayRoutineParameter(500, "01FFFFFFFF00" "00FFFFFFFF00" "01FFFFFFFF00");
    // Routine 3 at 07:30 on the address (upper-case digits), an undefined
    // record, a record of the missing routine 5, routine 1 at 23:59 with flag.
    Routines().AddSwitchTimeParameter(700,
                                      "33BC0034001200032A00"
                                      "ffff0000000000000000"
                                      "5000ffffffff00030000"
                                      "1bf7ffffffff00051a0c"
                                      "12",
                                      0);
    Routines().AddSwitchTimeParameter(701, "", 1);
    Routines().AddSwitchTimeParameter(702, "3000ffffffff00030000", 2);  // after the empty one: not read

    ASSERT_EQ(Routines().LoadFromParameters(nullptr), 0);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "Switchtime not assigned to dayroutine"));
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_DETAIL, "Loading SwitchTime 1 - not defined"));

    CDayRoutine* p3 = Routines().FindDayRoutine(3);
    ASSERT_EQ(p3->GetSwitchTimeCount(), 1);
    const CDaySwitchTime* pTime = p3->GetSwitchTimes().front();
    EXPECT_EQ(pTime->GetHour(), 7);
    EXPECT_EQ(pTime->GetMinute(), 30);
    EXPECT_EQ(pTime->GetSendOnChange(), 0);
    EXPECT_EQ(pTime->GetGroupAddress(), pAddress);
    EXPECT_EQ(pTime->GetValue().dwValue, 0x2Au);
    EXPECT_EQ(pAddress->GetUseCount(GASM_SWITCHTIME), 1);

    CDayRoutine* p1 = Routines().FindDayRoutine(1);
    ASSERT_EQ(p1->GetSwitchTimeCount(), 1);
    pTime = p1->GetSwitchTimes().front();
    EXPECT_EQ(pTime->GetHour(), 23);
    EXPECT_EQ(pTime->GetMinute(), 59);
    EXPECT_EQ(pTime->GetSendOnChange(), 1);
    EXPECT_EQ(pTime->GetGroupAddress(), nullptr);
    EXPECT_EQ(pTime->GetExponent(), 5);
    EXPECT_EQ(pTime->GetValue().dwValue, 0x0C1Au);
    EXPECT_EQ(pTime->ToHexString(1), "1bf7ffffffff00051a0c");
}

TEST_F(DayRoutinesTest, FailedLoadLeavesNoRoutineAndNoUse)
{
    CGroupDataAddress* pTrigger = AddAddress(0x00120034, 0x1203, 1, 2);

    // No "DayRoutines" text.
    EXPECT_EQ(Routines().LoadFromParameters(nullptr), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "no DayRoutines parameter data"));

    // No "SwitchTime" parameter at all.
    Routines().SetDayRoutineParameter(500, "010034001200");
    m_log.Clear();
    EXPECT_EQ(Routines().LoadFromParameters(nullptr), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "error inserting dayroutine objects"));
    EXPECT_EQ(Routines().GetCount(), 0);
    EXPECT_FALSE(pTrigger->HasUsage(GAU_ANY));

    // 801 records over two parameters: the last one finds no room.
    CGroupDataAddress* pTarget = AddAddress(0x00000007, 0x1204, 1, 2);
    std::string strFull;
    for (int i = 0; i < 800; ++i)
        strFull += "1000000700000003" "0100";
    Routines().AddSwitchTimeParameter(700, strFull, 0);
    Routines().AddSwitchTimeParameter(701, "1000000700000003" "0100", 1);
    m_log.Clear();
    EXPECT_EQ(Routines().LoadFromParameters(nullptr), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "unable to insert switchtime object"));
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "failed to insert switchtimes"));
    EXPECT_EQ(Routines().GetCount(), 0);
    EXPECT_FALSE(pTarget->HasUsage(GAU_ANY));
    EXPECT_FALSE(AnyAddressUsed());
}

// ------------------------------------------------------------ host parameters: saving

namespace {

using platform::host::CHostState;
using platform::host::HostFault;
using platform::host::HostParameter;

class DayRoutinesHostTest : public DayRoutinesTest {
protected:
    void TearDown() override
    {
        g_mapDeviceParameters.RemoveAll();
        DayRoutinesTest::TearDown();
    }

    void AddParameter(LONG nId, const std::string& strText)
    {
        auto pNode = std::make_shared<HostParameter>();
        pNode->nId = nId;
        pNode->value = strText;
        IEtsDeviceParameter* pView = nullptr;
        EXPECT_EQ(platform::host::CreateParameterView(m_pState, pNode, &pView), S_OK);
        g_mapDeviceParameters.SetAt(nId, pView);
        pView->Release();
        m_mapNodes[nId] = pNode;
    }
    std::string TextOf(LONG nId) { return std::get<std::string>(m_mapNodes.at(nId)->value); }

    // "DayRoutines" 500, display names 600.., switching times 700.. (count).
    void AddAllParameters(int nSwitchTimeParameters)
    {
        Routines().SetDayRoutineParameter(500, "");
        AddParameter(500, "old");
        for (int i = 0; i < 15; ++i) {
            Routines().AddDisplayNameParameter(600 + i, "old", i);
            AddParameter(600 + i, "old");
        }
        for (int i = 0; i < nSwitchTimeParameters; ++i) {
            Routines().AddSwitchTimeParameter(700 + i, "old", i);
            AddParameter(700 + i, "old");
        }
    }

    std::shared_ptr<CHostState> m_pState = std::make_shared<CHostState>();
    std::map<LONG, std::shared_ptr<HostParameter>> m_mapNodes;
    CEtsDataAccess m_access;
};

}  // namespace

TEST_F(DayRoutinesHostTest, DayRoutinesTextAndDisplayNames)
{
    AddAllParameters(80);
    CGroupDataAddress* pValid = AddAddress(0x00120034, 0x1203, 1, 2);
    CGroupDataAddress* pInvalid = AddAddress(0x0000abcd, 0x1204, 1, 2, -1, true);
    CDayRoutine* p1 = Routines().CreateDayRoutine();
    CDayRoutine* p2 = Routines().CreateDayRoutine();
    CDayRoutine* p3 = Routines().CreateDayRoutine();
    p1->SetName("Werktag");
    p1->SetTriggerGroupAddress(pValid);
    p3->SetName("Wochenende");
    p3->SetTriggerGroupAddress(pInvalid);
    p3->SetNumber(15);
    Routines().DeleteDayRoutine(p2);
    delete p2;

    CProgressInfo progress(0);
    progress.SetRange(0, 1000);
    ASSERT_EQ(Routines().SaveToEts(&progress, &m_access), 0);
    std::string strExpected = "010034001200" "00FFFFFFFF00";
    for (int i = 2; i < 14; ++i)
        strExpected += "00FFFFFFFF00";
    strExpected += "01abcd000001";
    EXPECT_EQ(TextOf(500), strExpected);
    EXPECT_EQ(TextOf(600), "Werktag");
    EXPECT_EQ(TextOf(601), "old");  // unused numbers keep the host's text
    EXPECT_EQ(TextOf(614), "Wochenende");
    // 1 + 15 display names + 80 emptied + 1 built + 80 written.
    EXPECT_EQ(progress.GetPosition(), 177u);

    p1->SetTriggerGroupAddress(nullptr);
    ASSERT_EQ(Routines().WriteDayRoutineParameter(nullptr, &m_access), 0);
    EXPECT_EQ(TextOf(500).substr(0, 12), "01FFFFFFFF00");

    // What was written loads back.
    CChronoset loaded;
    CDayRoutines& other = *loaded.GetDayRoutines();
    other.CopyParameters(Routines());
    EXPECT_EQ(other.GetDayRoutineParameterId(), 500);
    EXPECT_EQ(other.GetDayRoutineParameterText(), "");
    other.SetDayRoutineParameter(500, TextOf(500));
    for (int i = 0; i < 15; ++i)
        other.AddDisplayNameParameter(600 + i, TextOf(600 + i), i);
    ASSERT_EQ(other.LoadFromParameters(nullptr), 0);
    EXPECT_EQ(other.GetCount(), 2);
    EXPECT_EQ(other.FindDayRoutine(15)->GetName(), "Wochenende");
}

TEST_F(DayRoutinesHostTest, SwitchTimesFillTenRecordsPerParameter)
{
    AddAllParameters(80);
    CDayRoutine* p1 = Routines().CreateDayRoutine();
    CDayRoutine* p2 = Routines().CreateDayRoutine();
    for (int i = 0; i < 13; ++i)
        AddTime(p1, 1, static_cast<WORD>(i), nullptr, static_cast<DWORD>(i));
    for (int i = 0; i < 12; ++i)
        AddTime(p2, 2, static_cast<WORD>(i), nullptr, static_cast<DWORD>(i));

    ASSERT_EQ(Routines().SaveToEts(nullptr, &m_access), 0);
    EXPECT_EQ(TextOf(700), Routines().GetSwitchTimeParameters()[0]->GetText());
    ASSERT_EQ(TextOf(700).size(), 200u);
    ASSERT_EQ(TextOf(701).size(), 200u);
    ASSERT_EQ(TextOf(702).size(), 100u);
    for (int i = 703; i < 780; ++i)
        EXPECT_EQ(TextOf(i), "") << i;
    EXPECT_EQ(TextOf(700).substr(0, 20), "1080ffffffff00030000");
    EXPECT_EQ(TextOf(701).substr(0, 20), "1094ffffffff00030a00");  // routine 1, 01:10
    EXPECT_EQ(TextOf(701).substr(60, 20), "2100ffffffff00030000");  // routine 2, 02:00
    EXPECT_EQ(TextOf(702).substr(80, 20), "2116ffffffff00030b00");

    // And back.
    CChronoset loaded;
    CDayRoutines& other = *loaded.GetDayRoutines();
    other.SetDayRoutineParameter(500, TextOf(500));
    for (int i = 0; i < 80; ++i)
        other.AddSwitchTimeParameter(700 + i, TextOf(700 + i), i);
    ASSERT_EQ(other.LoadFromParameters(nullptr), 0);
    EXPECT_EQ(other.FindDayRoutine(1)->GetSwitchTimeCount(), 13);
    EXPECT_EQ(other.FindDayRoutine(2)->GetSwitchTimeCount(), 12);
    ASSERT_EQ(other.BuildSwitchTimeParameterStrings(nullptr), 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(other.GetSwitchTimeParameters()[static_cast<std::size_t>(i)]->GetText(), TextOf(700 + i));
}

TEST_F(DayRoutinesHostTest, WithoutEightySwitchTimeParametersNoneIsWritten)
{
    AddAllParameters(79);
    CDayRoutine* pRoutine = Routines().CreateDayRoutine();
    pRoutine->SetName("A");
    AddTime(pRoutine, 1, 0, nullptr);
    EXPECT_EQ(Routines().SaveToEts(nullptr, &m_access), 5);
    EXPECT_EQ(TextOf(500).substr(0, 12), "01FFFFFFFF00");
    EXPECT_EQ(TextOf(600), "A");
    for (int i = 0; i < 79; ++i)
        EXPECT_EQ(TextOf(700 + i), "old");
}

TEST_F(DayRoutinesHostTest, RefusedWritesEndTheSave)
{
    AddAllParameters(80);
    CDayRoutine* pRoutine = Routines().CreateDayRoutine();
    pRoutine->SetName("A");

    m_pState->m_faults.push_back(HostFault {"DeviceParameter:600", "put_Value", E_FAIL, 0, 0});
    EXPECT_EQ(Routines().SaveToEts(nullptr, &m_access), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "failed to set DayRoutineDisplayName-0 parameter to value A"));
    EXPECT_EQ(TextOf(700), "old");

    m_pState->m_faults.clear();
    m_pState->m_faults.push_back(HostFault {"DeviceParameter:701", "put_Value", E_FAIL, 0, 0});
    m_log.Clear();
    EXPECT_EQ(Routines().SaveToEts(nullptr, &m_access), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "failed to set switchtime parameter"));
    EXPECT_EQ(TextOf(700), "");
    EXPECT_EQ(TextOf(702), "old");

    m_pState->m_faults.clear();
    m_pState->m_faults.push_back(HostFault {"DeviceParameter:500", "put_Value", E_FAIL, 0, 0});
    m_log.Clear();
    EXPECT_EQ(Routines().SaveToEts(nullptr, &m_access), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "internal data error"));
    EXPECT_EQ(Routines().SaveToEts(nullptr, nullptr), 5);
}

// ------------------------------------------------------------ data file

TEST_F(DayRoutinesTest, ArchiveRecordAsWrittenAndReadBack)
{
    CGroupDataAddress* pTrigger = AddAddress(0x10, 0x1001, 1, 2);
    CGroupDataAddress* pTarget = AddAddress(0x11, 0x1002, 5, 10);
    CDayRoutine* pRoutine = Routines().CreateDayRoutine();
    pRoutine->SetNumber(2);
    pRoutine->SetName("Früh");
    pRoutine->SetTriggerGroupAddress(pTrigger);
    AddTime(pRoutine, 6, 30, pTarget, 0x2A, 1);

    CArchive ar;
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    Routines().StoreToArchive(ar, &progress);
    EXPECT_EQ(ar.GetBuffer(), (Bytes {
                                  0x01, 0x00, 0x00, 0x00,                          // one routine
                                  0x04, 'F', 'r', 0xFC, 'h',                       // name, Windows-1252
                                  0x02, 0x00,                                      // number
                                  0x01, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00,  // trigger
                                  0x01, 0x00, 0x00, 0x00,                          // one switching time
                                  0x06, 0x00, 0x1E, 0x00, 0x01, 0x00, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  0x03, 0x2A, 0x00, 0x01, 0x00,
                              }));
    EXPECT_EQ(progress.GetPosition(), 15u);

    // Read into a second central object with the same addresses.
    CChronoset loaded;
    CGroupDataAddress* pLoadedTrigger = loaded.GetGroupDataAddresses()->CreateGroupAddress(false);
    pLoadedTrigger->SetReference(0x10);
    CGroupDataAddress* pLoadedTarget = loaded.GetGroupDataAddresses()->CreateGroupAddress(false);
    pLoadedTarget->SetReference(0x11);
    CArchive in(ar.GetBuffer());
    CSchemaGuard schema(0x20000);
    loaded.GetDayRoutines()->LoadFromArchive(in, nullptr);
    EXPECT_TRUE(in.AtEnd());
    CDayRoutine* pLoaded = loaded.GetDayRoutines()->FindDayRoutine(2);
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->GetName(), "Früh");
    EXPECT_EQ(pLoaded->GetTriggerGroupAddress(), pLoadedTrigger);
    EXPECT_TRUE(pLoadedTrigger->HasUsage(GAU_DAYROUTINE_TRIGGER));
    ASSERT_EQ(pLoaded->GetSwitchTimeCount(), 1);
    EXPECT_EQ(pLoaded->GetSwitchTimes().front()->GetGroupAddress(), pLoadedTarget);
    EXPECT_EQ(pLoaded->GetSwitchTimes().front()->ToHexString(2), pRoutine->GetSwitchTimes().front()->ToHexString(2));
}

TEST_F(DayRoutinesTest, OldFilesNameTheTriggerByItsRawAddress)
{
    CGroupDataAddress* pTrigger = AddAddress(-1, 0x1203, 1, 2);
    CSchemaGuard schema(0x10003);
    CArchive ar(Bytes {0x01, 0x00, 0x00, 0x00, 0x01, 'A', 0x04, 0x00, 0x03, 0x12, 0x00, 0x00, 0x00, 0x00});
    Routines().LoadFromArchive(ar, nullptr);
    EXPECT_TRUE(ar.AtEnd());
    ASSERT_NE(Routines().FindDayRoutine(4), nullptr);
    EXPECT_EQ(Routines().FindDayRoutine(4)->GetTriggerGroupAddress(), pTrigger);
}

TEST_F(DayRoutinesTest, ArchiveThatDoesNotFitIsRefusedWhole)
{
    CGroupDataAddress* pTrigger = AddAddress(0x10, 0x1001, 1, 2);
    CGroupDataAddress* pTarget = AddAddress(0x11, 0x1002, 1, 2);
    // A routine with number n, the trigger and k switching times on the target.
    auto routine = [](BYTE nNumber, DWORD dwTimes) {
        Bytes arrBytes = {0x01, 'R', nNumber, 0x00, 0x01, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00};
        for (int i = 0; i < 4; ++i)
            arrBytes.push_back(static_cast<BYTE>(dwTimes >> (8 * i)));
        for (DWORD i = 0; i < dwTimes; ++i)
            arrBytes.insert(arrBytes.end(), {0x01, 0x00, 0x02, 0x00, 0x01, 0x00, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00,
                                             0x03, 0x01, 0x00, 0x00, 0x00});
        return arrBytes;
    };
    auto file = [](DWORD dwCount, std::vector<Bytes> arrRoutines) {
        Bytes arrBytes;
        for (int i = 0; i < 4; ++i)
            arrBytes.push_back(static_cast<BYTE>(dwCount >> (8 * i)));
        for (const Bytes& arrRoutine : arrRoutines)
            arrBytes.insert(arrBytes.end(), arrRoutine.begin(), arrRoutine.end());
        return arrBytes;
    };
    std::vector<Bytes> arrSixteen;
    for (BYTE n = 1; n <= 16; ++n)
        arrSixteen.push_back(routine(n, 0));
    Bytes arrTruncated = file(1, {routine(1, 3)});
    arrTruncated.resize(arrTruncated.size() - 5);

    struct Case {
        const char* pszWhat;
        Bytes arrFile;
        const char* pszLog;
    };
    const std::vector<Case> arrCases = {
        {"sixteen routines", file(16, arrSixteen), "day routines, more than 15"},
        {"number 0", file(1, {routine(0, 1)}), "outside 1..15"},
        {"number 16", file(1, {routine(16, 1)}), "outside 1..15"},
        {"number twice", file(2, {routine(5, 1), routine(5, 1)}), "appears twice"},
        {"801 switching times", file(2, {routine(1, 400), routine(2, 401)}), "more than 800 switching times"},
        {"truncated", arrTruncated, nullptr},
    };
    CSchemaGuard schema(0x20000);
    for (const Case& c : arrCases) {
        m_log.Clear();
        CArchive ar(c.arrFile);
        EXPECT_THROW(Routines().LoadFromArchive(ar, nullptr), CArchiveException) << c.pszWhat;
        EXPECT_EQ(Routines().GetCount(), 0) << c.pszWhat;
        EXPECT_FALSE(pTrigger->HasUsage(GAU_ANY)) << c.pszWhat;
        EXPECT_FALSE(pTarget->HasUsage(GAU_ANY)) << c.pszWhat;
        if (c.pszLog) {
            EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, c.pszLog)) << c.pszWhat;
        }
    }

    // The same shapes within the limits load.
    CArchive ar(file(2, {routine(15, 400), routine(1, 400)}));
    Routines().LoadFromArchive(ar, nullptr);
    EXPECT_EQ(Numbers(), (std::vector<int> {15, 1}));
    EXPECT_EQ(pTarget->GetUseCount(GASM_SWITCHTIME), 800);
}
