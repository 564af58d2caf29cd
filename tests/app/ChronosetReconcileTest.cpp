// The reconciliation of the parameter set with the host's associations,
// against the host stand-in: deleted, unchanged and moved associations,
// quantity triggers, the clock's objects, the usage dialog and the limit.

#include "app/Chronoset.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "app/UsageDialog.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/Quantity.h"
#include "tests/app/HostTestSupport.h"
#include "tests/support/ScriptedMessageBoxSink.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using apptest::kDevice;

class ScriptedUsageDialog : public IUsageDialog {
public:
    explicit ScriptedUsageDialog(int nAnswer) : m_nAnswer(nAnswer) { SetUsageDialog(this); }
    ~ScriptedUsageDialog() override { SetUsageDialog(nullptr); }
    int DoModal(HWND, bool bDeleteMode, CGroupDataAddresses* pList, CGroupAddressCheck* pCheck,
                bool bShowWarning) override
    {
        ++m_nShown;
        m_bDeleteMode = bDeleteMode;
        m_bWarning = bShowWarning;
        m_nListCount = pList ? pList->GetCount(false) + pList->GetCount(true) : -1;
        m_bCheck = pCheck != nullptr;
        return m_nAnswer;
    }
    int m_nAnswer;
    int m_nShown = 0;
    int m_nListCount = 0;
    bool m_bDeleteMode = true;
    bool m_bWarning = false;
    bool m_bCheck = false;
};

class ChronosetReconcileTest : public apptest::HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        m_pPrevious = g_pChronoset;
        g_pChronoset = &m_set;
        m_bModifiedBefore = g_bDataModified;
        g_bDataModified = false;
        m_project = apptest::ProjectWithGroups(
            {{10, 1, 11, 0, 20, 1}, {10, 1, 11, 0, 21, 2}, {10, 1, 11, 0, 22, 3}, {10, 1, 12, 2, 23, 7}});
        m_device = apptest::Device(kDevice, 4, {});
        for (LONG nNumber = 250; nNumber <= 253; ++nNumber)
            m_device["commObjects"].push_back(apptest::Json {{"id", kDevice + nNumber},
                                                              {"number", nNumber},
                                                              {"name", "Uhr"},
                                                              {"length", nNumber == 251 || nNumber == 252 ? 9 : 0},
                                                              {"associations", apptest::Json::array()}});
        m_set.SetProjectId(1);
    }
    void TearDown() override
    {
        g_pChronoset = m_pPrevious;
        g_bDataModified = m_bModifiedBefore;
        HostTest::TearDown();
    }

    // The object at position n of the device (0..3 are objects 0..3, 4..7
    // the clock's 250..253) gets an association to the group address.
    void Associate(int nPosition, LONG nGroupAddress)
    {
        m_device["commObjects"][nPosition]["associations"].push_back(
            apptest::Json {{"id", m_nNextAssociation++}, {"groupAddress", nGroupAddress}, {"send", true}});
    }

    CGroupDataAddress* Address(LONG nReference, LONG nRaw, LONG nType = 1)
    {
        CGroupDataAddress* pAddress = m_set.GetGroupDataAddresses()->CreateGroupAddress(false);
        pAddress->SetReference(nReference);
        pAddress->SetAddress(nRaw);
        pAddress->SetObjectType(nType);
        pAddress->SetName("alt");
        return pAddress;
    }

    CDaySwitchTime* SwitchTime(CGroupDataAddress* pAddress)
    {
        CDayRoutine* pRoutine = m_set.GetDayRoutines()->CreateDayRoutine();
        CDaySwitchTime* pSwitchTime = pRoutine->AddSwitchTime(nullptr);
        pSwitchTime->SetGroupAddress(pAddress);
        return pSwitchTime;
    }

    int Reconcile(bool bNoMessages = true)
    {
        m_project["projects"][0]["devices"].push_back(m_device);
        Load(m_project);
        Scan(kDevice);
        DWORD nCount = 0;
        m_set.CountAssociations(nCount);
        return m_set.ReconcileAssociations(nullptr, &m_access, nullptr, bNoMessages, m_host.FindDevice(kDevice));
    }

    CChronoset m_set;
    CChronoset* m_pPrevious = nullptr;
    bool m_bModifiedBefore = false;
    CEtsDataAccess m_access;
    apptest::Json m_project;
    apptest::Json m_device;
    LONG m_nNextAssociation = 5000;
};

}  // namespace

TEST_F(ChronosetReconcileTest, DeletedAssociationMovesTheAddressToTheInvalidList)
{
    CDaySwitchTime* pSwitchTime = SwitchTime(Address(20, 0x0801));
    EXPECT_EQ(Reconcile(), 0);
    CGroupDataAddress* pAddress = pSwitchTime->GetGroupAddress();
    ASSERT_NE(pAddress, nullptr);
    EXPECT_TRUE(pAddress->IsInvalid());
    EXPECT_EQ(pAddress->GetReference(), 20);
    EXPECT_EQ(pAddress->GetAddress(), 0x1001);
    EXPECT_TRUE(m_set.GetGroupDataAddresses()->IsInList(pAddress));
    EXPECT_TRUE(g_bDataModified);
}

TEST_F(ChronosetReconcileTest, UnchangedAssociationKeepsTheAddress)
{
    CDaySwitchTime* pSwitchTime = SwitchTime(Address(20, 0x0801));
    Associate(0, 20);
    EXPECT_EQ(Reconcile(), 0);
    CGroupDataAddress* pAddress = pSwitchTime->GetGroupAddress();
    ASSERT_NE(pAddress, nullptr);
    EXPECT_FALSE(pAddress->IsInvalid());
    EXPECT_EQ(pAddress->GetReference(), 20);
    // The name is the project's now; nothing else changed.
    EXPECT_EQ(pAddress->GetName(), "GA 20");
    EXPECT_EQ(m_set.GetGroupDataAddresses()->GetCount(false), 1);
    EXPECT_EQ(m_set.GetGroupDataAddresses()->GetCount(true), 0);
    EXPECT_TRUE(pAddress->HasUsage(GAU_SWITCHTIME));
    EXPECT_FALSE(g_bDataModified);
}

TEST_F(ChronosetReconcileTest, MovedAssociations)
{
    // Object 0 moves to an address the set already holds; object 1 moves
    // to an address the set does not know.
    CDaySwitchTime* pFirst = SwitchTime(Address(20, 0x1001));
    Address(21, 0x1002);
    CDaySwitchTime* pThird = SwitchTime(Address(23, 0x1207));
    Associate(0, 21);
    Associate(1, 22);
    EXPECT_EQ(Reconcile(), 0);
    ASSERT_NE(pFirst->GetGroupAddress(), nullptr);
    EXPECT_EQ(pFirst->GetGroupAddress()->GetReference(), 21);
    EXPECT_FALSE(pFirst->GetGroupAddress()->IsInvalid());
    EXPECT_EQ(m_set.GetGroupDataAddresses()->FindByReference(21, false), pFirst->GetGroupAddress());
    CGroupDataAddress* pNew = pThird->GetGroupAddress();
    ASSERT_NE(pNew, nullptr);
    EXPECT_EQ(pNew->GetReference(), 22);
    EXPECT_EQ(pNew->GetAddress(), 0x1003);
    EXPECT_EQ(pNew->GetName(), "GA 22");
    EXPECT_TRUE(m_set.GetGroupDataAddresses()->IsInList(pNew));
    EXPECT_TRUE(g_bDataModified);
}

TEST_F(ChronosetReconcileTest, TriggerOfAnotherTypeIsNotTakenOver)
{
    CQuantity* pQuantity = m_set.GetQuantities()->CreateQuantity();
    pQuantity->SetType({9, 1});
    CGroupDataAddress* pTrigger = Address(22, 0x0803, 9);
    pQuantity->AddTriggerGroupAddress(pTrigger, false);
    SwitchTime(Address(21, 0x0802));
    Associate(0, 22);
    Associate(0, 21);
    Associate(1, 21);
    EXPECT_EQ(Reconcile(), 0);
    EXPECT_EQ(pQuantity->GetTriggerCount(false), 1);
    for (const CGroupDataAddress* pAddress : pQuantity->GetTriggers())
        EXPECT_EQ(pAddress->GetReference(), 22);
    EXPECT_TRUE(Logged("Wrong type; group address is not added to trigger list."));
    EXPECT_TRUE(g_bDataModified);
}

TEST_F(ChronosetReconcileTest, SameAddressForTimeAndDateSwitchesTheClockToIntern)
{
    CInternalClock* pClock = m_set.GetInternalClock();
    auto* pTime = new CGroupDataAddress;
    pTime->SetReference(23);
    pTime->SetObjectType(10);
    pClock->SetTimeGroupAddress(pTime);
    pClock->SetMode(0);
    Associate(5, 23);  // date
    Associate(6, 23);  // time
    EXPECT_EQ(Reconcile(), 0);
    EXPECT_EQ(pClock->GetMode(), 255);
    EXPECT_EQ(pClock->GetTimeGroupAddress(), nullptr);
    EXPECT_EQ(pClock->GetDateGroupAddress(), nullptr);
    EXPECT_EQ(pClock->GetRequestGroupAddress(), nullptr);
    EXPECT_EQ(pClock->GetLockGroupAddress(), nullptr);
    EXPECT_TRUE(g_bDataModified);
}

TEST_F(ChronosetReconcileTest, TooManyAssociationsLoseInvalidTriggerReferences)
{
    CQuantity* pQuantity = m_set.GetQuantities()->CreateQuantity();
    pQuantity->SetType({1, 1});
    CGroupDataAddresses* pLists = m_set.GetGroupDataAddresses();
    pLists->SetUnlimited(true);
    for (int i = 0; i < 260; ++i) {
        CGroupDataAddress* pAddress = pLists->CreateGroupAddress(true);
        pAddress->SetReference(-1);
        pAddress->SetAddress(i);
        pAddress->SetObjectType(1);
        pQuantity->AddTriggerGroupAddress(pAddress, false);
    }
    pLists->SetUnlimited(false);
    ASSERT_EQ(pQuantity->GetTriggerCount(false), 260);
    EXPECT_EQ(Reconcile(), 0);
    EXPECT_EQ(pQuantity->GetTriggerCount(false), 250);
    DWORD nCount = 0;
    m_set.CountAssociations(nCount);
    EXPECT_EQ(nCount, 250u);
    EXPECT_TRUE(Logged(". Removing 10  invalid group address references!"));
    EXPECT_FALSE(pLists->IsUnlimited());
}

TEST_F(ChronosetReconcileTest, NoObjectsOnlyTheLaterStepsRun)
{
    EXPECT_EQ(Reconcile(), 0);
    EXPECT_TRUE(Logged("This project contains no non-quantity trigger communication objects."));
    EXPECT_TRUE(Logged("This project contains no quantity trigger communication objects."));
    EXPECT_FALSE(g_bDataModified);
    EXPECT_FALSE(m_set.GetGroupDataAddresses()->IsUnlimited());
}

TEST_F(ChronosetReconcileTest, CancelledUsageDialogLeavesTheSetAsItWas)
{
    // Object 0 moves to the address that object 1 and 2 share: the check
    // rejects it, so the replacement is invalid and the dialog is asked.
    CDaySwitchTime* pFirst = SwitchTime(Address(20, 0x0801));
    SwitchTime(Address(21, 0x0802));
    SwitchTime(Address(22, 0x0803));
    Associate(0, 23);
    Associate(1, 23);
    Associate(2, 22);
    CGroupDataAddress* pBefore = pFirst->GetGroupAddress();
    ScriptedUsageDialog dialog(IDCANCEL);
    EXPECT_EQ(Reconcile(false), -1);
    EXPECT_EQ(dialog.m_nShown, 1);
    EXPECT_FALSE(dialog.m_bDeleteMode);
    EXPECT_TRUE(dialog.m_bWarning);
    EXPECT_TRUE(dialog.m_bCheck);
    EXPECT_EQ(dialog.m_nListCount, 1);
    EXPECT_EQ(pFirst->GetGroupAddress(), pBefore);
    EXPECT_FALSE(m_set.GetGroupDataAddresses()->IsUnlimited());
}

TEST_F(ChronosetReconcileTest, UnreadableObjectsRunOnlyTheLimit)
{
    CDaySwitchTime* pSwitchTime = SwitchTime(Address(20, 0x0801));
    m_host.AddFault("Device", "get_CommunicationObjects", E_FAIL);
    EXPECT_EQ(Reconcile(), 0);
    EXPECT_TRUE(Logged("Couldnt get device comunication objects. hr=0x80004005"));
    EXPECT_TRUE(Logged("SEVERE ERROR: Device objects could not be mapped to communication objects!"));
    EXPECT_FALSE(pSwitchTime->GetGroupAddress()->IsInvalid());
    EXPECT_FALSE(g_bDataModified);
}

TEST_F(ChronosetReconcileTest, CheckGroupAddressesDropsAddressesWithoutHostReference)
{
    CGroupDataAddress* pUsed = Address(-1, 0x1001);
    CDaySwitchTime* pSwitchTime = SwitchTime(pUsed);
    Address(-1, 0x1002);
    Address(21, 0x1002);
    m_project["projects"][0]["devices"].push_back(m_device);
    Load(m_project);
    Scan(kDevice);
    CScriptedMessageBoxSink boxes;
    CScriptedMessageBoxSink::Expectation box;
    box.textPart = "Die Adressen und deren Zuordnungen wurden entfernt.";
    box.caption = "Prüfung der Gruppenadressen";
    boxes.Expect(box);
    bool bRemoved = false;
    EXPECT_EQ(m_set.CheckGroupAddresses(nullptr, &m_access, 1, bRemoved, false, false), 0);
    EXPECT_TRUE(bRemoved);
    EXPECT_TRUE(g_bDataModified);
    // The used one moves to the invalid list; the unused one is gone; the
    // one the project knows stays, with the project's name.
    EXPECT_EQ(pSwitchTime->GetGroupAddress(), pUsed);
    EXPECT_TRUE(pUsed->IsInvalid());
    EXPECT_EQ(m_set.GetGroupDataAddresses()->GetCount(true), 1);
    ASSERT_EQ(m_set.GetGroupDataAddresses()->GetCount(false), 1);
    EXPECT_EQ(m_set.GetGroupDataAddresses()->FindByReference(21, false)->GetName(), "GA 21");
    EXPECT_TRUE(Logged("subgroup-id of GA is -1, item will be removed"));
}
