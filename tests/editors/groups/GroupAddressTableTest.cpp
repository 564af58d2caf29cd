// The group-address table: rows of both lists with their use columns and
// sort, deleting unused and used addresses, and the usage command, driven
// through the window.

#include "app/Chronoset.h"
#include "editors/groups/GroupAddressTable.h"
#include "editors/groups/GroupEditors.h"
#include "editors/groups/UsageDlg.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/DptManager.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "tests/editors/EditorTestSupport.h"
#include "ui/ParameterDlg.h"

#include <gtest/gtest.h>

#include <QDialog>

#include <string>
#include <vector>

namespace {

const char* const kQuestionOne = "Wollen Sie die 1 ausgewählten (unbenutzten) Gruppenadressen löschen?";

class GroupAddressTableTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        g_DptManager.Init();
        InstallGroupEditors();
        CMainTableView::RegisterTableClass(CGroupAddressTable::kTableType,
                                           [](int, CObject*) -> CMainTableBox* { return new CGroupAddressTable(); });
        m_view.SetDispatcher(&m_dlg);
        m_dlg.SetPanes(nullptr, &m_view, nullptr, nullptr);

        // Trigger of a routine, address of a switching time, quantity
        // member, unused, and an invalid-list address kept by a member.
        m_pTrigger = AddAddress("Auslöser", 0x1203, false);
        m_pSwitch = AddAddress("Licht", 0x1201, false);
        m_pMember = AddAddress("Heizung", 0x1202, false);
        m_pUnused = AddAddress("Frei", 0x0101, false);
        m_pInvalid = AddAddress("Alt", 0x1F05, true);
        m_pRoutine = m_run.Chronoset().GetDayRoutines()->CreateDayRoutine();
        m_pRoutine->SetTriggerGroupAddress(m_pTrigger);
        m_pRoutine->AddSwitchTime(nullptr)->SetGroupAddress(m_pSwitch);
        m_pQuantity = m_run.Chronoset().GetQuantities()->CreateQuantity();
        m_pQuantity->CreateMember()->SetGroupAddress(m_pMember);
        m_pQuantity->CreateMember()->SetGroupAddress(m_pInvalid);
    }
    void TearDown() override { m_view.DeleteTableBox(); }

    CGroupDataAddresses& Lists() { return *m_run.Chronoset().GetGroupDataAddresses(); }
    CGroupDataAddress* AddAddress(const std::string& strName, LONG nAddress, bool bInvalid) {
        return NewAddress(m_run.Chronoset(), strName, nAddress, {1, 0}, bInvalid);
    }
    CGroupAddressTable* Open() {
        return OpenTable<CGroupAddressTable>(m_view, CGroupAddressTable::kTableType, nullptr, 700, 300);
    }
    static void Select(CGroupAddressTable* pTable, const std::vector<const CGroupDataAddress*>& addresses) {
        ClickRows(*pTable, addresses);
    }
    std::vector<std::string> Uses(CGroupAddressTable* pTable, const CGroupDataAddress* pAddress) {
        const int nRow = pTable->FindRowOfObject(pAddress);
        std::vector<std::string> uses;
        for (int c = 3; c < 7; ++c) {
            uses.push_back(pTable->GetItemText(nRow, c));
        }
        return uses;
    }
    // Scripts the usage dialog in delete mode: OK through every address, or
    // Cancel at once.
    void ExpectDeleteUsage(bool bConfirm) {
        m_runner.Then([bConfirm](QDialog& d) {
            auto& dlg = dynamic_cast<CUsageDlg&>(d);
            EXPECT_EQ(dlg.GetDlgItemText(IDOK), "Löschen");
            if (!bConfirm) {
                uitest::Click(dlg.GetDlgItem(IDCANCEL));
                return;
            }
            for (int i = 0; i < 10 && dlg.isVisible(); ++i) {
                uitest::Click(dlg.GetDlgItem(IDOK));
            }
        });
    }

    uitest::CEditingRun m_run{false};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CParameterDlg m_dlg{nullptr, nullptr};
    CMainTableView m_view;
    CGroupDataAddress* m_pTrigger = nullptr;
    CGroupDataAddress* m_pSwitch = nullptr;
    CGroupDataAddress* m_pMember = nullptr;
    CGroupDataAddress* m_pUnused = nullptr;
    CGroupDataAddress* m_pInvalid = nullptr;
    CDayRoutine* m_pRoutine = nullptr;
    CQuantity* m_pQuantity = nullptr;
};

using Marks = std::vector<std::string>;

TEST_F(GroupAddressTableTest, RowsShowBothListsWithTheirUsesAndSortInvalidFirst) {
    CGroupAddressTable* pTable = Open();
    ASSERT_NE(pTable, nullptr);
    ASSERT_EQ(pTable->GetColumnCount(), 7);
    EXPECT_EQ(pTable->GetColumnFormat(3) & 3, LVCFMT_CENTER);
    ASSERT_EQ(pTable->GetItemCount(), 6);
    const int nNew = pTable->GetNewEntryRow();
    EXPECT_EQ(nNew, 5);
    EXPECT_EQ(pTable->GetItemText(nNew, 0), "");
    EXPECT_EQ(pTable->GetItemText(nNew, 1), "*** neue Gruppenadresse ***");

    const int nSwitch = pTable->FindRowOfObject(m_pSwitch);
    EXPECT_EQ(pTable->GetItemText(nSwitch, 0), m_pSwitch->GetAddressText(true));
    EXPECT_EQ(pTable->GetItemText(nSwitch, 1), "Licht");
    EXPECT_EQ(pTable->GetItemText(nSwitch, 2), m_pSwitch->GetTypeText());
    EXPECT_EQ(Uses(pTable, m_pTrigger), (Marks{"+", "-", "-", "-"}));
    EXPECT_EQ(Uses(pTable, m_pSwitch), (Marks{"-", "+", "-", "-"}));
    EXPECT_EQ(Uses(pTable, m_pMember), (Marks{"-", "-", "-", "+"}));
    EXPECT_EQ(Uses(pTable, m_pUnused), (Marks{"-", "-", "-", "-"}));

    // The invalid address has the highest raw address and still comes first.
    pTable->SortByColumn(0);
    EXPECT_EQ(pTable->GetItemData(0), m_pInvalid);
    EXPECT_EQ(pTable->GetItemData(1), m_pUnused);
    EXPECT_EQ(pTable->GetItemData(4), m_pTrigger);
    EXPECT_EQ(pTable->GetItemData(5), nullptr);
    // Use columns: without the use before with it.
    pTable->SortByColumn(4);
    EXPECT_EQ(pTable->GetItemData(4), m_pSwitch);
    EXPECT_EQ(pTable->GetItemData(5), nullptr);
}

TEST_F(GroupAddressTableTest, StandaloneShowsNoNewEntryRowAndDeletesNothing) {
    g_bStandalone = true;
    CGroupAddressTable* pTable = Open();
    ASSERT_EQ(pTable->GetItemCount(), 5);
    EXPECT_EQ(pTable->GetDataRowCount(), 5);
    Select(pTable, {m_pUnused});
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    EXPECT_EQ(Lists().GetCount(false), 4);
    EXPECT_TRUE(m_boxes.GetShown().empty());
}

TEST_F(GroupAddressTableTest, UnusedAddressGoesAfterTheQuestionUsedOneStaysWhenUsageIsCancelled) {
    CGroupAddressTable* pTable = Open();
    Select(pTable, {m_pUnused});
    m_boxes.ExpectText(kQuestionOne, IDNO);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    EXPECT_TRUE(Lists().IsInList(m_pUnused));
    EXPECT_EQ(m_runner.GetRunCount(), 0);

    // A mixed selection: the usage dialog first, the question also after
    // its Cancel.
    Select(pTable, {m_pSwitch, m_pUnused});
    ExpectDeleteUsage(false);
    m_boxes.ExpectText(kQuestionOne, IDYES);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_FALSE(Lists().IsInList(m_pUnused));
    EXPECT_TRUE(Lists().IsInList(m_pSwitch));
    EXPECT_EQ(m_pRoutine->GetSwitchTimeCount(), 1);
    EXPECT_TRUE(g_bDataModified);
    EXPECT_EQ(pTable->GetItemCount(), 5);
    EXPECT_EQ(pTable->FindRowOfObject(m_pUnused), -1);
}

TEST_F(GroupAddressTableTest, ConfirmedDeleteDetachesUsedAddressesFromTheirUsers) {
    // An invalid address kept only as a routine's trigger goes with the
    // delete; one kept by two members goes with its last member.
    CGroupDataAddress* pOldTrigger = AddAddress("Alter Auslöser", 0x1F06, true);
    CDayRoutine* pOther = m_run.Chronoset().GetDayRoutines()->CreateDayRoutine();
    pOther->SetTriggerGroupAddress(pOldTrigger);
    m_pQuantity->CreateMember()->SetGroupAddress(m_pInvalid);
    CGroupAddressTable* pTable = Open();
    Select(pTable, {m_pSwitch, m_pTrigger, m_pInvalid, pOldTrigger});
    ExpectDeleteUsage(true);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    ASSERT_EQ(m_runner.GetRunCount(), 1);

    EXPECT_FALSE(Lists().IsInList(m_pSwitch));
    EXPECT_FALSE(Lists().IsInList(m_pTrigger));
    EXPECT_FALSE(Lists().IsInList(m_pInvalid));
    EXPECT_FALSE(Lists().IsInList(pOldTrigger));
    EXPECT_EQ(Lists().GetCount(true), 0);
    EXPECT_EQ(m_pRoutine->GetSwitchTimeCount(), 0);
    EXPECT_EQ(m_pRoutine->GetTriggerGroupAddress(), nullptr);
    EXPECT_EQ(pOther->GetTriggerGroupAddress(), nullptr);
    ASSERT_EQ(m_pQuantity->GetMemberCount(), 1);
    EXPECT_EQ(m_pQuantity->GetMembers().front()->GetGroupAddress(), m_pMember);
    EXPECT_TRUE(g_bDataModified);
    // Rows: the member's and the unused address, then the new-entry row.
    ASSERT_EQ(pTable->GetItemCount(), 3);
    EXPECT_NE(pTable->FindRowOfObject(m_pMember), -1);
    EXPECT_NE(pTable->FindRowOfObject(m_pUnused), -1);
}

TEST_F(GroupAddressTableTest, UsageCommandOfTheContextMenuShowsTheAddressesUses) {
    CGroupAddressTable* pTable = Open();
    Select(pTable, {m_pMember});
    uitest::CTestPopupMenuRunner popups;
    popups.ThenChoose(ID_TABLE_USAGE);
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<CUsageDlg&>(d);
        EXPECT_EQ(dlg.GetDlgItemText(IDOK), "OK");
        EXPECT_EQ(dlg.GetCurrentGroupAddress(), m_pMember);
        uitest::Click(dlg.GetDlgItem(IDOK));
    });
    // The keyboard's menu: a right button held down would keep the mouse on
    // the table while the dialog runs.
    uitest::PressWindowKey(pTable, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_TRUE(Lists().IsInList(m_pMember));
}

}  // namespace
