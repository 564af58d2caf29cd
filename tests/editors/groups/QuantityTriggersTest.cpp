// The trigger table of a quantity and its trigger dialog: which addresses
// are offered, the "sendend" mark moving between triggers, deleting and the
// limit of 250 triggers, driven through the window.

#include "app/Chronoset.h"
#include "editors/groups/GroupEditors.h"
#include "editors/groups/QuantityTriggerEditDlg.h"
#include "editors/groups/QuantityTriggerTable.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "tests/editors/EditorTestSupport.h"
#include "ui/ParameterDlg.h"

#include <QAbstractButton>
#include <QDialog>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using TriggerDlg = CQuantityTriggerEditDlg;

class QuantityTriggersTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        g_DptManager.Init();
        InstallGroupEditors();
        CMainTableView::RegisterTableClass(CQuantityTriggerTable::kTableType, [](int, CObject* pObject) {
            return static_cast<CMainTableBox*>(new CQuantityTriggerTable(dynamic_cast<CQuantity*>(pObject)));
        });
        m_pQuantity = m_run.Chronoset().GetQuantities()->CreateQuantity();
        m_pQuantity->SetName("Temperatur");
        m_pQuantity->SetType({9, 1});
        m_view.SetDispatcher(&m_dlg);
        m_dlg.SetPanes(nullptr, &m_view, nullptr, nullptr);
    }
    void TearDown() override { m_view.DeleteTableBox(); }

    CGroupDataAddress* AddAddress(const std::string& strName, LONG nAddress, int nType) {
        return NewAddress(m_run.Chronoset(), strName, nAddress, {nType, 1});
    }
    CQuantityTriggerTable* Open() {
        return OpenTable<CQuantityTriggerTable>(m_view, CQuantityTriggerTable::kTableType, m_pQuantity, 500, 300);
    }
    static void OpenRow(CQuantityTriggerTable& table, int nRow) {
        uitest::DoubleClick(table.viewport(), RowPoint(table, nRow));
    }
    static std::set<std::string> Offered(const TriggerDlg& dlg) {
        std::set<std::string> names;
        for (int i = 0; i < dlg.GetAddressCombo()->GetObjectCount(); ++i) {
            names.insert(dynamic_cast<CGroupDataAddress*>(dlg.GetAddressCombo()->GetObject(i))->GetName());
        }
        return names;
    }
    static TriggerDlg& AsDlg(QDialog& d) { return dynamic_cast<TriggerDlg&>(d); }
    static bool IsSending(const TriggerDlg& dlg) {
        return dynamic_cast<QAbstractButton*>(dlg.GetDlgItem(TriggerDlg::IDC_SET_SENDING))->isChecked();
    }
    // On the box itself: the wide check box takes clicks only there.
    static void ClickCheckBox(const TriggerDlg& dlg) {
        QWidget* pCheck = dlg.GetDlgItem(TriggerDlg::IDC_SET_SENDING);
        uitest::Click(pCheck, QPoint(6, pCheck->height() / 2));
    }

    uitest::CEditingRun m_run{false};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CParameterDlg m_dlg{nullptr, nullptr};
    CMainTableView m_view;
    CQuantity* m_pQuantity = nullptr;
};

// Only free addresses of the quantity's main type are offered; an inserted
// one leaves the list, and re-opening a trigger offers that trigger itself.
TEST_F(QuantityTriggersTest, OnlyFreeAddressesOfTheMainTypeAreOffered) {
    CGroupDataAddress* pFree = AddAddress("Frei", 0x0101, 9);
    AddAddress("Frei2", 0x0102, 9);
    AddAddress("Bit", 0x0103, 1);
    CGroupDataAddress* pMember = AddAddress("Mitglied", 0x0104, 9);
    CGroupDataAddress* pTrigger = AddAddress("Auslöser", 0x0105, 9);
    m_pQuantity->CreateMember()->SetGroupAddress(pMember);
    m_pQuantity->AddTriggerGroupAddress(pTrigger, true);
    CQuantityTriggerTable* pTable = Open();
    ASSERT_NE(pTable, nullptr);
    ASSERT_EQ(pTable->GetItemCount(), 2);
    EXPECT_EQ(pTable->GetItemText(0, 1), "Auslöser");
    EXPECT_EQ(pTable->GetItemText(0, 3), "+");
    EXPECT_EQ(pTable->GetItemText(1, 1), "*** neuer Mengenauslöser ***");

    m_runner.Then([&](QDialog& d) {
        TriggerDlg& dlg = AsDlg(d);
        EXPECT_EQ(dlg.GetWindowText(), "Auslöser für Menge 01: Temperatur");
        EXPECT_EQ(dlg.GetDlgItemText(IDOK), "&Einfügen");
        EXPECT_EQ(Offered(dlg), (std::set<std::string>{"Frei", "Frei2"}));
        // The marked trigger is not offered again; its "sendend" mark does
        // not pass to the entry selected instead.
        EXPECT_FALSE(IsSending(dlg));
        // The entry of "Frei" with the keys.
        uitest::PressKey(dlg.GetAddressCombo(), Qt::Key_Home);
        ASSERT_EQ(dlg.GetAddressCombo()->GetObject(0), pFree);
        EXPECT_TRUE(dlg.GetDlgItem(IDOK)->isEnabled());
        uitest::Click(dlg.GetDlgItem(IDOK));
        // Stored, and the dialog stays open without it.
        ASSERT_TRUE(dlg.isVisible());
        EXPECT_TRUE(m_pQuantity->IsTrigger(pFree));
        EXPECT_EQ(Offered(dlg), (std::set<std::string>{"Frei2"}));
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    uitest::PressKey(pTable, Qt::Key_Insert);
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_EQ(m_pQuantity->GetTriggerCount(false), 2);
    EXPECT_TRUE(g_bDataModified);
    EXPECT_EQ(pTable->GetItemText(pTable->FindRowOfObject(pFree), 3), "-");
    EXPECT_EQ(m_pQuantity->GetRequestGroupAddress(), pTrigger);

    m_runner.Then([&](QDialog& d) {
        TriggerDlg& dlg = AsDlg(d);
        EXPECT_EQ(dlg.GetDlgItemText(IDCANCEL), "Abbrechen");
        EXPECT_EQ(Offered(dlg), (std::set<std::string>{"Auslöser", "Frei2"}));
        EXPECT_EQ(GetComboSelData(dlg.GetAddressCombo()), 0x0105);
        EXPECT_TRUE(IsSending(dlg));
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    OpenRow(*pTable, pTable->FindRowOfObject(pTrigger));
    EXPECT_EQ(m_runner.GetRunCount(), 2);
}

// "sendend setzen" on a second trigger moves the mark; the first row is
// told of its change and shows "-".
TEST_F(QuantityTriggersTest, SettingSendingOnASecondTriggerMovesTheMark) {
    CGroupDataAddress* pFirst = AddAddress("Erster", 0x0201, 9);
    CGroupDataAddress* pSecond = AddAddress("Zweiter", 0x0202, 9);
    m_pQuantity->AddTriggerGroupAddress(pFirst, true);
    m_pQuantity->AddTriggerGroupAddress(pSecond, false);
    CQuantityTriggerTable* pTable = Open();
    EXPECT_EQ(pTable->GetItemText(pTable->FindRowOfObject(pFirst), 3), "+");
    EXPECT_EQ(pTable->GetItemText(pTable->FindRowOfObject(pSecond), 3), "-");
    m_runner.Then([&](QDialog& d) {
        TriggerDlg& dlg = AsDlg(d);
        EXPECT_EQ(dlg.GetCurrentTrigger(), pSecond);
        ClickCheckBox(dlg);
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_FALSE(dlg.isVisible());
    });
    OpenRow(*pTable, pTable->FindRowOfObject(pSecond));
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_EQ(m_pQuantity->GetRequestGroupAddress(), pSecond);
    EXPECT_EQ(m_pQuantity->GetTriggerCount(false), 2);
    EXPECT_EQ(pTable->GetItemText(pTable->FindRowOfObject(pFirst), 3), "-");
    EXPECT_EQ(pTable->GetItemText(pTable->FindRowOfObject(pSecond), 3), "+");
    // The mark sorts after the unmarked rows.
    pTable->SortByColumn(3);
    EXPECT_EQ(pTable->GetItemData(0), pFirst);
    EXPECT_EQ(pTable->GetItemData(1), pSecond);
}

TEST_F(QuantityTriggersTest, DeletingAsksAndRemovesTheTriggers) {
    CGroupDataAddress* pGone = AddAddress("Weg", 0x0301, 9);
    CGroupDataAddress* pKept = AddAddress("Bleibt", 0x0302, 9);
    m_pQuantity->AddTriggerGroupAddress(pGone, false);
    m_pQuantity->AddTriggerGroupAddress(pKept, false);
    CQuantityTriggerTable* pTable = Open();
    uitest::Click(pTable->viewport(), pTable->GetItemRect(pTable->FindRowOfObject(pGone)).center());
    m_boxes.ExpectText("Wollen Sie die ausgewählten 1 Mengenauslöser löschen?", IDNO);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    EXPECT_EQ(m_pQuantity->GetTriggerCount(false), 2);
    EXPECT_FALSE(g_bDataModified);

    m_boxes.ExpectText("Wollen Sie die ausgewählten 1 Mengenauslöser löschen?", IDYES);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    ASSERT_EQ(m_pQuantity->GetTriggerCount(false), 1);
    EXPECT_TRUE(m_pQuantity->IsTrigger(pKept));
    EXPECT_EQ(pGone->GetUseCount(GAU_QUANTITY_TRIGGER), 0);
    EXPECT_TRUE(g_bDataModified);
    ASSERT_EQ(pTable->GetItemCount(), 2);
    EXPECT_EQ(pTable->GetItemData(0), pKept);
}

TEST_F(QuantityTriggersTest, TheTwoHundredFiftyFirstTriggerIsRefused) {
    for (int i = 0; i < CQuantityTriggerTable::kMaxTriggers; ++i) {
        ASSERT_EQ(m_pQuantity->AddTriggerGroupAddress(AddAddress("A", 0x0400 + i, 9), false), 1);
    }
    CQuantityTriggerTable* pTable = Open();
    CScriptedMessageBoxSink::Expectation full;
    full.text = "Die maximale Anzahl von Auslösern für diese Gruppe ist erreicht.";
    full.caption = "Keine Auslöser";
    m_boxes.Expect(full);
    uitest::PressKey(pTable, Qt::Key_Insert);
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
    EXPECT_EQ(m_runner.GetRunCount(), 0);

    // Editing an existing trigger still opens the dialog.
    m_runner.Then([](QDialog& d) { uitest::Click(AsDlg(d).GetDlgItem(IDCANCEL)); });
    OpenRow(*pTable, 0);
    EXPECT_EQ(m_runner.GetRunCount(), 1);
}

}  // namespace
