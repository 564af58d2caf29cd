// Object numbering of the central object, the check of shared group
// addresses, and the order of the data-set walks with their stop at the
// first failure.

#include "app/Chronoset.h"
#include "app/GroupAddressCheck.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "tests/access/BusTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr DptType kSwitch {1, 2};
constexpr DptType kPercent {5, 1};

class ChronosetAssociationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pPrevious = g_pChronoset;
        g_pChronoset = &m_set;
    }
    void TearDown() override { g_pChronoset = m_pPrevious; }

    CGroupDataAddress* Address(LONG nReference, DptType type = kSwitch, bool bInvalid = false)
    {
        CGroupDataAddress* p = m_set.GetGroupDataAddresses()->CreateGroupAddress(bInvalid);
        p->SetReference(nReference);
        p->SetAddress(0x1000 + nReference);
        p->SetType(type);
        return p;
    }
    CQuantity* Quantity(CGroupDataAddress* pTrigger)
    {
        CQuantity* pQuantity = m_set.GetQuantities()->CreateQuantity();
        pQuantity->SetType(kPercent);
        if (pTrigger) {
            EXPECT_EQ(pQuantity->AddTriggerGroupAddress(pTrigger, false), 1);
        }
        return pQuantity;
    }
    void SwitchTime(CGroupDataAddress* pAddress)
    {
        if (!m_pRoutine)
            m_pRoutine = m_set.GetDayRoutines()->CreateDayRoutine();
        m_pRoutine->AddSwitchTime(nullptr)->SetGroupAddress(pAddress);
    }

    CChronoset m_set;
    CChronoset* m_pPrevious = nullptr;
    CDayRoutine* m_pRoutine = nullptr;
};

}  // namespace

// ---------------------------------------------------------------- numbering

TEST_F(ChronosetAssociationTest, TriggerObjectsComeFirstThenUsedAddresses)
{
    CGroupDataAddress* pTriggerA = Address(1, kPercent);
    CGroupDataAddress* pUnused = Address(2);
    CGroupDataAddress* pSwitched = Address(3);
    CGroupDataAddress* pTriggerB = Address(4, kPercent);
    CGroupDataAddress* pMember = Address(5);
    CGroupDataAddress* pInvalidSwitched = Address(6, kSwitch, true);
    CQuantity* pFirst = Quantity(pTriggerA);
    CQuantity* pWithout = Quantity(nullptr);
    CQuantity* pSecond = Quantity(pTriggerB);
    ASSERT_EQ(pSecond->AddTriggerGroupAddress(Address(7, kPercent), false), 1);
    pFirst->CreateMember()->SetGroupAddress(pMember);
    SwitchTime(pSwitched);
    SwitchTime(pInvalidSwitched);
    // A stale number of an earlier run does not survive.
    pWithout->SetTriggerObjectNumber(9);
    pUnused->SetObjectNumber(9);

    DWORD nCount = 99;
    EXPECT_EQ(m_set.CountAssociations(nCount), 5);
    EXPECT_EQ(m_set.GetObjectCount(), 5);
    // Three triggers, then three addresses with objects.
    EXPECT_EQ(nCount, 6u);
    EXPECT_EQ(m_set.GetAddressCount(), 6u);
    EXPECT_EQ(pFirst->GetTriggerObjectNumber(), 0);
    EXPECT_EQ(pWithout->GetTriggerObjectNumber(), QUANTITY_NO_OBJECT);
    EXPECT_EQ(pSecond->GetTriggerObjectNumber(), 1);
    // Quantity triggers are served by the quantity's object.
    EXPECT_EQ(pTriggerA->GetObjectNumber(), -1);
    EXPECT_EQ(pUnused->GetObjectNumber(), -1);
    EXPECT_EQ(pSwitched->GetObjectNumber(), 2);
    EXPECT_EQ(pMember->GetObjectNumber(), 3);
    // The invalid-association list follows the valid one.
    EXPECT_EQ(pInvalidSwitched->GetObjectNumber(), 4);
}

TEST_F(ChronosetAssociationTest, NumberingStopsAtTwoHundredFifty)
{
    CGroupDataAddress* pTrigger = Address(1000, kPercent);
    Quantity(pTrigger);
    Quantity(Address(1001, kPercent));
    std::vector<CGroupDataAddress*> arrSwitched;
    for (LONG n = 0; n < 248; ++n) {
        arrSwitched.push_back(Address(n));
        SwitchTime(arrSwitched.back());
    }
    CGroupDataAddress* pLate = Address(2000, kSwitch, true);
    SwitchTime(pLate);

    DWORD nCount = 0;
    EXPECT_EQ(m_set.CountAssociations(nCount), 250);
    EXPECT_EQ(nCount, 250u);
    EXPECT_FALSE(m_set.CanAddGroupAddress());
    EXPECT_EQ(arrSwitched.front()->GetObjectNumber(), 2);
    EXPECT_EQ(arrSwitched.back()->GetObjectNumber(), 249);
    // No number is left for the last one.
    EXPECT_EQ(pLate->GetObjectNumber(), -1);

    // One used address fewer: the last one gets the last number.
    CDaySwitchTime* pTime = *std::next(m_pRoutine->GetSwitchTimes().rbegin());
    ASSERT_EQ(pTime->GetGroupAddress(), arrSwitched.back());
    m_pRoutine->RemoveSwitchTime(pTime);
    delete pTime;
    EXPECT_EQ(m_set.CountAssociations(nCount), 250);
    EXPECT_EQ(arrSwitched.back()->GetObjectNumber(), -1);
    EXPECT_EQ(pLate->GetObjectNumber(), 249);
}

TEST_F(ChronosetAssociationTest, CopyFromTakesTheHostIdentityOnly)
{
    CChronoset other;
    other.SetDeviceId(1000);
    other.SetProjectId(1);
    other.SetDeviceAddress(0x1105);
    other.m_nSendDelayId = 77;
    other.m_nParameterVersionId = 78;
    other.m_arrObjectTypeIds = {900, 901};
    other.GetWeekRoutine()->SetParameterId(55);
    other.GetSummertimes()->SetParameterId(56);
    other.m_strDeviceName = "other";
    other.SetSendDelay(9);
    Address(1);

    m_set.CopyFrom(other);
    EXPECT_EQ(m_set.GetDeviceId(), 1000);
    EXPECT_EQ(m_set.GetProjectId(), 1);
    EXPECT_EQ(m_set.GetIndividualAddressText(), "01.01.005");
    EXPECT_EQ(m_set.m_nSendDelayId, 77);
    EXPECT_EQ(m_set.m_nParameterVersionId, 78);
    EXPECT_EQ(m_set.m_arrObjectTypeIds, (std::vector<LONG> {900, 901}));
    EXPECT_EQ(m_set.GetWeekRoutine()->GetParameterId(), 55);
    EXPECT_EQ(m_set.GetSummertimes()->GetParameterId(), 56);
    // The data stay this object's.
    EXPECT_EQ(m_set.m_strDeviceName, "");
    EXPECT_EQ(m_set.GetSendDelay(), 0);
    EXPECT_EQ(m_set.GetGroupDataAddresses()->GetCount(false), 1);
}

// ---------------------------------------------------------------- shared addresses

TEST_F(ChronosetAssociationTest, CheckKeepsWhatTheSetCanTakeOver)
{
    // Objects 0 and 1 are quantity triggers; the limit is 2.
    CGroupDataAddress* pMemberAddress = Address(30);
    CGroupDataAddress* pOtherAddress = Address(40);
    CQuantity* pFirst = Quantity(Address(10, kPercent));
    Quantity(Address(11, kPercent));
    pFirst->CreateMember()->SetGroupAddress(pMemberAddress);
    DWORD nCount = 0;
    m_set.CountAssociations(nCount);
    // The numbers the host's objects have.
    pMemberAddress->SetObjectNumber(5);
    pOtherAddress->SetObjectNumber(8);
    CGroupAddressCheck check;
    check.Add(0, 100);  // triggers only
    check.Add(1, 100);
    check.Add(0, 30);   // trigger of the quantity whose member is object 5's address
    check.Add(5, 30);
    check.Add(6, 60);   // two other objects
    check.Add(7, 60);
    check.Add(1, 40);   // other quantity's trigger with object 8
    check.Add(8, 40);
    check.Add(9, 70);   // one other object alone
    EXPECT_EQ(check.Run(nullptr, nullptr, 9, 2), 9);

    EXPECT_TRUE(check.IsInResult(100));
    EXPECT_FALSE(check.IsInResult(30));
    EXPECT_FALSE(check.IsInResult(60));
    EXPECT_TRUE(check.IsInResult(40));
    EXPECT_TRUE(check.IsInResult(70));
    EXPECT_EQ(check.GetResult(), (std::vector<LONG> {100, 40, 70}));

    EXPECT_EQ(check.CountForAddress(100, 0), 2);
    EXPECT_EQ(check.CountForAddress(30, 1), 1);
    EXPECT_EQ(check.CountForAddress(30, 2), 1);
    EXPECT_EQ(check.CountForObject(0), 2);
    EXPECT_EQ(check.GetAddressOfObject(5), 30);
    EXPECT_EQ(check.GetAddressOfObject(12), -1);
    EXPECT_TRUE(check.HasPair(6, 60));
    EXPECT_FALSE(check.HasPair(6, 70));
    LONG nObject = 0;
    LONG nReference = 0;
    EXPECT_TRUE(check.GetEntry(8, nObject, nReference));
    EXPECT_EQ(nObject, 9);
    EXPECT_FALSE(check.GetEntry(9, nObject, nReference));
    // A run over fewer entries than were added sees only those.
    EXPECT_EQ(check.Run(nullptr, nullptr, 2, 2), 2);
    EXPECT_EQ(check.GetResult(), (std::vector<LONG> {100}));
}

TEST_F(ChronosetAssociationTest, ClockObjectsMapToTheClocksAddressesLockIncluded)
{
    // Object 1 triggers a quantity whose member is the project's group
    // address 77; the clock's lock object (253) and its request object
    // (250) are linked to group addresses of the project as well.
    CGroupDataAddress* pListed = Address(77);
    CQuantity* pFirst = Quantity(Address(10, kPercent));
    CQuantity* pSecond = Quantity(Address(11, kPercent));
    (void)pFirst;
    pSecond->CreateMember()->SetGroupAddress(pListed);
    DWORD nCount = 0;
    m_set.CountAssociations(nCount);
    ASSERT_EQ(pSecond->GetTriggerObjectNumber(), 1);

    auto clockAddress = [](LONG nReference) {
        auto* p = new CGroupDataAddress;
        p->SetReference(nReference);
        p->SetAddress(0x0001);
        p->SetType(kSwitch);
        return p;
    };
    m_set.GetInternalClock()->SetLockGroupAddress(clockAddress(77));
    m_set.GetInternalClock()->SetRequestGroupAddress(clockAddress(88));

    CGroupAddressCheck check;
    check.Add(1, 77);
    check.Add(253, 77);
    check.Add(1, 88);
    check.Add(250, 88);
    check.Run(nullptr, nullptr, 4, 2);
    // The lock object's address is the member's: the set takes it over.
    EXPECT_FALSE(check.IsInResult(77));
    // The request address is no member of the quantity.
    EXPECT_TRUE(check.IsInResult(88));
}

// ---------------------------------------------------------------- walk order

TEST_F(ChronosetAssociationTest, HostLoadWalkStopsAtTheFirstFailingDataSet)
{
    bustest::CLogCapture log;
    // The periods would be switched off: they come after the clock.
    m_set.GetSummertimes()->SetParameterText(11, "00");
    m_set.GetGroupDataAddresses()->AddGroupAddressParameter(12, "", 0);
    m_set.GetGroupDataAddresses()->AddInvalidGroupAddressParameter(13, "", 0);
    m_set.GetInternalClock()->SetParameterText(14, "12");

    EXPECT_EQ(m_set.CompleteEtsLoad(nullptr, nullptr), 5);
    EXPECT_TRUE(log.Lines().HasError("CompleteEtsLoad of InternalClock"));
    EXPECT_FALSE(log.Lines().HasError("CompleteEtsLoad of Summertimes"));
    EXPECT_EQ(m_set.GetSummertimes()->IsEnabled(), 1);

    // Without group-address parameters the walk ends before the clock.
    log.Lines().m_arrLines.clear();
    CChronoset other;
    other.GetInternalClock()->SetParameterText(14, "12");
    other.GetSummertimes()->SetParameterText(11, "00");
    EXPECT_EQ(other.CompleteEtsLoad(nullptr, nullptr), 5);
    EXPECT_TRUE(log.Lines().HasError("loading of groupdata addresses failed"));
    EXPECT_FALSE(log.Lines().HasError("CInternalClock::CompleteEtsLoad: empty data string"));
    EXPECT_EQ(other.GetSummertimes()->IsEnabled(), 1);

    // With a readable clock and day routines the walk reaches the periods.
    log.Lines().m_arrLines.clear();
    m_set.GetInternalClock()->SetParameterText(14, "");
    m_set.GetDayRoutines()->SetDayRoutineParameter(15, std::string(180, '0'));
    m_set.GetDayRoutines()->AddSwitchTimeParameter(16, "", 0);
    m_set.CompleteEtsLoad(nullptr, nullptr);
    EXPECT_FALSE(log.Lines().HasError("CompleteEtsLoad of Day Routines"));
    EXPECT_EQ(m_set.GetSummertimes()->IsEnabled(), 0);
}

TEST_F(ChronosetAssociationTest, HostSaveWalkStartsWithTheSendDelay)
{
    bustest::CLogCapture log;
    // Without host access the first step fails and nothing follows.
    EXPECT_EQ(m_set.SaveParameters(nullptr, nullptr), 5);
    EXPECT_TRUE(log.Lines().HasError("failed to save send delay"));
    EXPECT_FALSE(log.Lines().HasError("invalid group address parameter count"));
}
