// The member table of a quantity: its rows, the limit over all quantities,
// members copied into another quantity (a duplicate refused), a member
// without address dragged onto another quantity refused, and deleting,
// driven through the window.

#include "app/Chronoset.h"
#include "editors/groups/GroupEditors.h"
#include "editors/groups/QuantityMemberTable.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "tests/editors/EditorTestSupport.h"
#include "ui/ParameterDlg.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class QuantityMembersTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        g_DptManager.Init();
        InstallGroupEditors();
        m_frame.resize(620, 300);
        m_view1.setGeometry(0, 0, 300, 300);
        m_view2.setGeometry(310, 0, 300, 300);
        m_view1.SetDispatcher(&m_dlg);
        m_view2.SetDispatcher(&m_dlg);
        m_dlg.SetPanes(nullptr, &m_view1, nullptr, &m_view2);
        m_frame.show();
        m_pFirst = Quantities().CreateQuantity();
        m_pSecond = Quantities().CreateQuantity();
        m_pLight = AddAddress("Licht", 0x0101);
        m_pBlind = AddAddress("Jalousie", 0x0102);
    }
    void TearDown() override {
        m_view1.DeleteTableBox();
        m_view2.DeleteTableBox();
    }

    CQuantities& Quantities() { return *m_run.Chronoset().GetQuantities(); }
    CGroupDataAddress* AddAddress(const std::string& strName, LONG nAddress) {
        return NewAddress(m_run.Chronoset(), strName, nAddress, {1, 0});
    }
    CQuantityMember* AddMember(CQuantity* pQuantity, CGroupDataAddress* pAddress, int nRange) {
        CQuantityMember* pMember = pQuantity->CreateMember();
        pMember->SetGroupAddress(pAddress);
        pMember->SetValues(1, false, nRange);
        return pMember;
    }
    CQuantityMemberTable* Open(CMainTableView& view, CQuantity* pQuantity) {
        view.CreateTableBox(CQuantityMemberTable::kTableType, pQuantity);
        return dynamic_cast<CQuantityMemberTable*>(view.GetTableBox());
    }

    uitest::CEditingRun m_run{true};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CParameterDlg m_dlg{nullptr, nullptr};
    QWidget m_frame;
    CMainTableView m_view1{&m_frame};
    CMainTableView m_view2{&m_frame};
    CQuantity* m_pFirst = nullptr;
    CQuantity* m_pSecond = nullptr;
    CGroupDataAddress* m_pLight = nullptr;
    CGroupDataAddress* m_pBlind = nullptr;
};

TEST_F(QuantityMembersTest, RowsShowAddressValueRangeAndMembersWithoutAddressSortFirst) {
    CQuantityMember* pB = AddMember(m_pFirst, m_pLight, 1);
    CQuantityMember* pNone = m_pFirst->CreateMember();
    CQuantityMemberTable* pTable = Open(m_view1, m_pFirst);
    ASSERT_NE(pTable, nullptr);
    ASSERT_EQ(pTable->GetItemCount(), 3);
    EXPECT_EQ(pTable->GetItemText(pTable->GetNewEntryRow(), 0), "*** neues Mengenmitglied ***");
    const int nRow = pTable->FindRowOfObject(pB);
    EXPECT_EQ(pTable->GetItemText(nRow, 1), "Licht");
    EXPECT_EQ(pTable->GetItemText(nRow, 4), "B");
    EXPECT_EQ(pTable->GetItemText(pTable->FindRowOfObject(pNone), 0), "*leer*");
    EXPECT_EQ(pTable->GetItemText(pTable->FindRowOfObject(pNone), 3), "0");
    EXPECT_EQ(pTable->GetColumnPrefs(), (std::vector<WORD>{5, 1, 2, 3, 4, 6}));
    for (int nColumn = 0; nColumn <= 3; ++nColumn) {
        EXPECT_EQ(pTable->CompareItems(nColumn, pTable->FindRowOfObject(pNone), nRow), -1) << nColumn;
    }
}

TEST_F(QuantityMembersTest, TheLimitCountsEveryQuantity) {
    for (int i = 0; i < CQuantityMemberTable::kMaxMembers; ++i) {
        (i % 2 == 0 ? m_pFirst : m_pSecond)->CreateMember();
    }
    CQuantityMemberTable* pTable = Open(m_view1, m_pFirst);
    CScriptedMessageBoxSink::Expectation full;
    full.text = "Die maximale Anzahl von Mengenmitgliedern ist erreicht.";
    full.caption = "Mengenmitglieder ausgelastet";
    m_boxes.Expect(full);
    uitest::PressKey(pTable, Qt::Key_Insert);
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
    EXPECT_EQ(m_runner.GetRunCount(), 0);
}

// A member copied into another quantity arrives there; pasted again, the
// same address in the same range is refused with the count of refusals.
TEST_F(QuantityMembersTest, CopiedMembersPasteIntoAnotherQuantityOnce) {
    AddMember(m_pFirst, m_pLight, 0);
    CQuantityMemberTable* pSource = Open(m_view1, m_pFirst);
    CQuantityMemberTable* pTarget = Open(m_view2, m_pSecond);
    uitest::Click(pSource->viewport(), RowPoint(*pSource, 0));
    uitest::PressWindowKey(&m_frame, Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(m_dlg.GetClipboard().GetCount(), 1u);

    uitest::Click(pTarget->viewport(), RowPoint(*pTarget, 0));
    uitest::PressWindowKey(&m_frame, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(m_pSecond->GetMemberCount(), 1);
    const CQuantityMember* pPasted = m_pSecond->GetMembers().front();
    EXPECT_EQ(pPasted->GetGroupAddress(), m_pLight);
    EXPECT_EQ(pPasted->GetRawValue(), 1);
    EXPECT_TRUE(g_bDataModified);
    EXPECT_GE(pTarget->FindRowOfObject(const_cast<CQuantityMember*>(pPasted)), 0);

    m_boxes.ExpectText("1 der 1 Elemente konnten nicht eingefügt werden", IDOK);
    uitest::PressWindowKey(&m_frame, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m_pSecond->GetMemberCount(), 1);
}

// A member that names no address has nothing to give another quantity: the
// drop is refused and creates nothing.
TEST_F(QuantityMembersTest, AMemberWithoutAddressDroppedOnAnotherQuantityIsRefused) {
    m_pFirst->CreateMember();
    CQuantityMemberTable* pSource = Open(m_view1, m_pFirst);
    CQuantityMemberTable* pTarget = Open(m_view2, m_pSecond);
    uitest::Click(pSource->viewport(), RowPoint(*pSource, 0));
    uitest::Drag(pSource->viewport(), RowPoint(*pSource, 0), pTarget->viewport(), QPoint(20, 20));
    EXPECT_EQ(m_pSecond->GetMemberCount(), 0);
    EXPECT_EQ(m_pFirst->GetMemberCount(), 1);
}

// Members dropped on another quantity are its selection afterwards; the
// member it had keeps out of it and out of the delete that follows.
TEST_F(QuantityMembersTest, DroppedMembersAreTheTargetsSelection) {
    AddMember(m_pFirst, m_pLight, 0);
    AddMember(m_pFirst, m_pBlind, 0);
    CQuantityMember* pOwn = AddMember(m_pSecond, m_pBlind, 1);
    CQuantityMemberTable* pSource = Open(m_view1, m_pFirst);
    CQuantityMemberTable* pTarget = Open(m_view2, m_pSecond);
    uitest::Click(pTarget->viewport(), RowPoint(*pTarget, 0));
    uitest::Click(pSource->viewport(), RowPoint(*pSource, 0));
    uitest::Click(pSource->viewport(), RowPoint(*pSource, 1), Qt::LeftButton, Qt::ControlModifier);
    uitest::Drag(pSource->viewport(), RowPoint(*pSource, 1), pTarget->viewport(), QPoint(20, 20));
    ASSERT_EQ(m_pSecond->GetMemberCount(), 3);
    EXPECT_EQ(pTarget->GetSelectedEntryCount(), 2);
    EXPECT_FALSE(pTarget->IsRowSelected(pTarget->FindRowOfObject(pOwn)));
    EXPECT_TRUE(pTarget->IsRowSelected(pTarget->GetSelectionMark()));

    m_boxes.ExpectText("Wollen Sie die ausgewählten 2 Mengenmitglieder löschen?", IDYES);
    uitest::PressKey(pTarget, Qt::Key_Delete);
    EXPECT_EQ(m_pSecond->GetMembers(), (CQuantityMemberList{pOwn}));
    EXPECT_EQ(m_pFirst->GetMemberCount(), 2);
}

TEST_F(QuantityMembersTest, DeletingAsksAndGivesTheAddressUseBack) {
    AddMember(m_pFirst, m_pLight, 0);
    CQuantityMember* pKept = AddMember(m_pFirst, m_pBlind, 0);
    CQuantityMemberTable* pTable = Open(m_view1, m_pFirst);
    uitest::Click(pTable->viewport(), RowPoint(*pTable, pTable->FindRowOfObject(m_pFirst->GetMembers().front())));
    m_boxes.ExpectText("Wollen Sie die ausgewählten 1 Mengenmitglieder löschen?", IDYES);
    uitest::PressWindowKey(&m_frame, Qt::Key_Delete);
    ASSERT_EQ(m_pFirst->GetMemberCount(), 1);
    EXPECT_EQ(m_pFirst->GetMembers().front(), pKept);
    EXPECT_FALSE(m_pLight->HasUsage(8));
    ASSERT_EQ(pTable->GetItemCount(), 2);
    EXPECT_EQ(pTable->GetItemData(0), pKept);
}

}  // namespace
