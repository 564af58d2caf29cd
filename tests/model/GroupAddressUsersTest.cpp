// The group addresses ask the day routines and quantities of their central
// object who uses them.

#include "app/Chronoset.h"
#include "common/Globals.h"

#include <gtest/gtest.h>

namespace {

class GroupAddressUsersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pOld = g_pChronoset;
        g_pChronoset = &m_central;
        m_pAddress = m_central.GetGroupDataAddresses()->CreateGroupAddress(false);
        m_pAddress->SetAddress(0x1203);
        m_pAddress->SetType(DptType {1, 1});
        m_pAddress->SetObjectNumber(4);
    }
    void TearDown() override
    {
        g_bDebugMode = false;
        g_pChronoset = m_pOld;
    }

    CChronoset m_central;
    CChronoset* m_pOld = nullptr;
    CGroupDataAddress* m_pAddress = nullptr;
};

}  // namespace

TEST_F(GroupAddressUsersTest, DayRoutineTriggerIsCountedAndKeptFromTheLimitedChooser)
{
    EXPECT_EQ(m_pAddress->GetUseCount(GASM_DAYROUTINE_TRIGGER), 0);
    CDayRoutine* pRoutine = m_central.GetDayRoutines()->CreateDayRoutine();
    ASSERT_NE(pRoutine, nullptr);
    pRoutine->SetTriggerGroupAddress(m_pAddress);
    EXPECT_EQ(m_pAddress->GetUseCount(GASM_DAYROUTINE_TRIGGER), 1);

    // At the association limit a switching-time chooser skips day-routine
    // triggers even when they have an object number.
    m_central.m_nAssociationCount = 250;
    CGroupDataAddresses* pLists = m_central.GetGroupDataAddresses();
    EXPECT_FALSE(pLists->GetFirstItemPos(GASM_SWITCHTIME, nullptr, false));
    pRoutine->SetTriggerGroupAddress(nullptr);
    EXPECT_TRUE(pLists->GetFirstItemPos(GASM_SWITCHTIME, nullptr, false));
}

TEST_F(GroupAddressUsersTest, AddressTextListsTheTriggerObjectsOfQuantities)
{
    g_bDebugMode = true;
    CQuantity* pQuantity = m_central.GetQuantities()->CreateQuantity();
    ASSERT_NE(pQuantity, nullptr);
    pQuantity->SetType(DptType {1, 1});
    ASSERT_EQ(pQuantity->AddTriggerGroupAddress(m_pAddress, false), 1);
    pQuantity->SetTriggerObjectNumber(2);
    EXPECT_EQ(m_pAddress->GetAddressText(true), "01/02/0003 (KO: 0x04, 0x02)");
    EXPECT_EQ(m_pAddress->GetAddressText(false), "01/02/0003 (KO: 0x04)");
}
