// The link dialog: the uses of the selected group addresses moved step by
// step to other addresses, to none (an invalid-list placeholder) or to a new
// address of the insertion, opened through the group-address table's edit
// command.

#include "app/Chronoset.h"
#include "editors/groups/GroupAddressTable.h"
#include "editors/groups/GroupEditors.h"
#include "editors/groups/LinkGroupAddressDlg.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/DptManager.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/resources/SatellitePath.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/ParameterDlg.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QMenu>

#include <set>
#include <string>
#include <vector>

namespace {

using LinkDlg = CLinkGroupAddressDlg;
using Offer = std::set<const CGroupDataAddress*>;

class LinkGroupAddressDlgTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        g_DptManager.Init();
        InstallGroupEditors();
        m_previousHook = ui::SetGroupAddressInsertHook(nullptr);
        CMainTableView::RegisterTableClass(CGroupAddressTable::kTableType,
                                           [](int, CObject*) -> CMainTableBox* { return new CGroupAddressTable(); });
        m_view.SetDispatcher(&m_dlg);
        m_dlg.SetPanes(nullptr, &m_view, nullptr, nullptr);

        // A: switching times of routines 1 and 3, member of quantity 1 and
        // the request trigger of quantity 2. B: trigger of routine 2. C, D:
        // free; E: free but of another type; F: a member; I: an invalid-list
        // address kept by a switching time.
        m_pA = AddAddress("Licht", 0x0101, 1);
        m_pB = AddAddress("Taster", 0x0102, 1);
        m_pC = AddAddress("Frei eins", 0x0103, 1);
        m_pD = AddAddress("Frei zwei", 0x0104, 1);
        m_pE = AddAddress("Dimmwert", 0x0105, 5);
        m_pF = AddAddress("Heizung", 0x0106, 1);
        m_pI = AddAddress("Alt", 0x0201, 1, true);
        for (const char* pszName : {"Früh", "Werktag", "Spät"}) {
            m_routines.push_back(NewRoutine(Set(), pszName));
        }
        m_routines[0]->AddSwitchTime(nullptr)->SetGroupAddress(m_pA);
        m_routines[2]->AddSwitchTime(nullptr)->SetGroupAddress(m_pA);
        m_routines[1]->SetTriggerGroupAddress(m_pB);
        m_routines[1]->AddSwitchTime(nullptr)->SetGroupAddress(m_pI);
        for (const char* pszName : {"Werte", "Zähler", "Dritte"}) {
            m_quantities.push_back(Set().GetQuantities()->CreateQuantity());
            m_quantities.back()->SetName(pszName);
            m_quantities.back()->SetType({1, 1});
        }
        m_quantities[0]->CreateMember()->SetGroupAddress(m_pA);
        m_quantities[0]->CreateMember()->SetGroupAddress(m_pF);
        m_quantities[1]->AddTriggerGroupAddress(m_pA, true);
    }
    void TearDown() override {
        m_view.DeleteTableBox();
        ui::SetGroupAddressInsertHook(m_previousHook);
    }

    CChronoset& Set() { return m_run.Chronoset(); }
    CGroupDataAddresses& Lists() { return *Set().GetGroupDataAddresses(); }
    CGroupDataAddress* AddAddress(const std::string& strName, LONG nAddress, int nType, bool bInvalid = false) {
        return NewAddress(Set(), strName, nAddress, {nType, 1}, bInvalid);
    }
    CGroupAddressTable* Open() {
        return OpenTable<CGroupAddressTable>(m_view, CGroupAddressTable::kTableType, nullptr, 700, 300);
    }
    static void Select(CGroupAddressTable* pTable, const std::vector<const CGroupDataAddress*>& addresses) {
        ClickRows(*pTable, addresses);
    }
    // The table's context menu from the keyboard: whether its edit command
    // was enabled; chosen when it was.
    bool EditThroughContextMenu(CGroupAddressTable* pTable) {
        bool bEnabled = false;
        uitest::CTestPopupMenuRunner popups;
        popups.Then([&bEnabled](QMenu& menu) -> QAction* {
            QAction* pEdit = uitest::FindMenuAction(menu, ID_TABLE_EDIT);
            bEnabled = pEdit != nullptr && pEdit->isEnabled();
            return bEnabled ? pEdit : nullptr;
        });
        uitest::PressWindowKey(pTable, Qt::Key_F10, Qt::ShiftModifier);
        return bEnabled;
    }

    CGroupDataAddress* AddressOfRow(const LinkDlg& dlg, int nRow) {
        const std::intptr_t nData = GetComboItemData(dlg.GetAddressCombo(), nRow);
        return nData > 0 ? Lists().GetReferenceFromAddress(static_cast<LONG>(nData), false) : nullptr;
    }
    Offer Offered(const LinkDlg& dlg) {
        Offer offered;
        CTableComboBox* pCombo = dlg.GetAddressCombo();
        for (int i = 1; i < pCombo->count(); ++i) {
            if (i != pCombo->GetNewAddressIndex()) {
                offered.insert(AddressOfRow(dlg, i));
            }
        }
        return offered;
    }
    // Picks the row with the keys, as a user of the closed box would.
    static void ChooseRow(const LinkDlg& dlg, int nRow) { ChooseEntry(dlg.GetDlgItem(LinkDlg::IDC_ADDRESS), nRow); }
    void Choose(const LinkDlg& dlg, const CGroupDataAddress* pAddress) {
        for (int i = 1; i < dlg.GetAddressCombo()->count(); ++i) {
            if (AddressOfRow(dlg, i) == pAddress) {
                ChooseRow(dlg, i);
                ASSERT_EQ(dlg.GetAddressCombo()->currentIndex(), i);
                return;
            }
        }
        FAIL() << "not offered: " << pAddress->GetName();
    }
    static std::string Usage(const LinkDlg& dlg) { return dlg.GetDlgItemText(LinkDlg::IDC_USAGE); }
    static void ClickOk(const LinkDlg& dlg) { uitest::Click(dlg.GetDlgItem(IDOK)); }
    int SwitchTimesOn(const CGroupDataAddress* pAddress) {
        int nCount = 0;
        for (const CDayRoutine* pRoutine : m_routines) {
            for (const CDaySwitchTime* pSwitchTime : pRoutine->GetSwitchTimes()) {
                nCount += pSwitchTime->GetGroupAddress() == pAddress ? 1 : 0;
            }
        }
        return nCount;
    }

    uitest::CEditingRun m_run{false};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CParameterDlg m_dlg{nullptr, nullptr};
    CMainTableView m_view;
    CGroupDataAddress* m_pA = nullptr;
    CGroupDataAddress* m_pB = nullptr;
    CGroupDataAddress* m_pC = nullptr;
    CGroupDataAddress* m_pD = nullptr;
    CGroupDataAddress* m_pE = nullptr;
    CGroupDataAddress* m_pF = nullptr;
    CGroupDataAddress* m_pI = nullptr;
    std::vector<CDayRoutine*> m_routines;
    std::vector<CQuantity*> m_quantities;

private:
    ui::GroupAddressInsertHook m_previousHook;
};

TEST_F(LinkGroupAddressDlgTest, UsesOfTwoAddressesMoveStepByStepAndTheTableFollows) {
    CGroupAddressTable* pTable = Open();
    Select(pTable, {m_pA, m_pB});
    int nResult = 0;
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<LinkDlg&>(d);
        EXPECT_EQ(dlg.windowTitle().toStdString(), "Gruppenadresse zuordnen");
        // Quantity 2's trigger object is 0, so A's own object is 1.
        EXPECT_EQ(Usage(dlg), "Kommunikationsobjekt: 1\nals Schaltzeit in Tagesablauf Nr. 01, Nr. 03\n"
                              "als Mitglied in Menge Nr. 01\n");
        EXPECT_EQ(dlg.GetAddressCombo()->itemText(0).toStdString(), "1 Bit\tfür Objekt 1\t\"kein\"");
        // Only free addresses of the type, and A itself, preselected.
        EXPECT_EQ(Offered(dlg), (Offer{m_pA, m_pC, m_pD}));
        EXPECT_EQ(AddressOfRow(dlg, dlg.GetAddressCombo()->currentIndex()), m_pA);
        Choose(dlg, m_pC);
        ClickOk(dlg);

        EXPECT_EQ(Usage(dlg), "Kommunikationsobjekt: 0\nals Auslöser für Menge Nr. 02, Zähler\n");
        EXPECT_EQ(Offered(dlg), (Offer{m_pA, m_pD}));
        ChooseRow(dlg, 0);
        ClickOk(dlg);

        EXPECT_EQ(dlg.GetCurrentAddress(), m_pB);
        EXPECT_EQ(Usage(dlg), "Kommunikationsobjekt: 1\nals Auslöser für Tagesablauf Nr. 02, Werktag\n");
        Choose(dlg, m_pD);
        ClickOk(dlg);
        nResult = dlg.result();
    });
    EXPECT_TRUE(EditThroughContextMenu(pTable));
    ASSERT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_EQ(nResult, IDOK);

    // Switching times and member moved to C, A kept nothing.
    EXPECT_EQ(SwitchTimesOn(m_pC), 2);
    EXPECT_EQ(m_pC->GetUseCount(GASM_SWITCHTIME), 2);
    EXPECT_EQ(m_quantities[0]->GetMembers().front()->GetGroupAddress(), m_pC);
    EXPECT_TRUE(m_pC->HasUsage(GAU_QUANTITY_MEMBER));
    EXPECT_FALSE(m_pA->HasUsage(GAU_ANY));
    EXPECT_TRUE(Lists().IsInList(m_pA));
    // The trigger went to an invalid-list copy of A that keeps the request.
    ASSERT_EQ(m_quantities[1]->GetTriggerCount(false), 1);
    CGroupDataAddress* pCopy = m_quantities[1]->GetTriggers().front();
    EXPECT_TRUE(pCopy->IsInvalid());
    EXPECT_EQ(pCopy->GetAddress(), 0x0101);
    EXPECT_EQ(pCopy->GetName(), "Licht");
    EXPECT_EQ(m_quantities[1]->GetRequestGroupAddress(), pCopy);
    EXPECT_EQ(pCopy->GetUseCount(GASM_QUANTITY_TRIGGER), 1);
    // B's routine trigger went to D.
    EXPECT_EQ(m_routines[1]->GetTriggerGroupAddress(), m_pD);
    EXPECT_FALSE(m_pB->HasUsage(GAU_ANY));
    EXPECT_TRUE(m_pD->HasUsage(GAU_DAYROUTINE_TRIGGER));
    EXPECT_TRUE(g_bDataModified);

    // The table shows the new state: A unused, its copy a row of its own.
    const int nRowA = pTable->FindRowOfObject(m_pA);
    for (int c = 3; c < 7; ++c) {
        EXPECT_EQ(pTable->GetItemText(nRowA, c), "-");
    }
    const int nRowCopy = pTable->FindRowOfObject(pCopy);
    ASSERT_GE(nRowCopy, 0);
    EXPECT_EQ(pTable->GetItemText(nRowCopy, 5), "+");
}

// Under the English resources every number of a usage line reads "No.".
TEST_F(LinkGroupAddressDlgTest, EnglishUsageLinesNumberTheUsesInEnglish) {
    const platform::CResourceModule* pEnglish = platform::LoadResourceLibrary(SatellitePath());
    ASSERT_NE(pEnglish, nullptr) << SatellitePath();
    platform::SetFrameworkResourceModule(pEnglish);
    CGroupAddressTable* pTable = Open();
    Select(pTable, {m_pA});
    std::string strUsage;
    m_runner.Then([&](QDialog& d) {
        strUsage = Usage(dynamic_cast<LinkDlg&>(d));
        uitest::Click(dynamic_cast<LinkDlg&>(d).GetDlgItem(IDCANCEL));
    });
    EXPECT_TRUE(EditThroughContextMenu(pTable));
    EXPECT_EQ(strUsage, "Communication object: 1\nas switching time in Day routine No. 01, No. 03\n"
                        "as member of Group No. 01\n");
}

TEST_F(LinkGroupAddressDlgTest, EditCommandNeedsAUsedAddressAndPassesOnlyUsedOnesCancelChangesNothing) {
    CGroupAddressTable* pTable = Open();
    Select(pTable, {m_pC, m_pD});
    EXPECT_FALSE(EditThroughContextMenu(pTable));
    // Return on a selection of unused addresses opens nothing either.
    uitest::PressKey(pTable, Qt::Key_Return);
    EXPECT_EQ(m_runner.GetRunCount(), 0);

    Select(pTable, {m_pC, m_pB});
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<LinkDlg&>(d);
        EXPECT_EQ(dlg.GetCurrentAddress(), m_pB);
        EXPECT_EQ(dlg.GetEntries().size(), 1u);
        Choose(dlg, m_pC);
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    EXPECT_TRUE(EditThroughContextMenu(pTable));
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_EQ(m_routines[1]->GetTriggerGroupAddress(), m_pB);
    EXPECT_FALSE(m_pC->HasUsage(GAU_ANY));
    EXPECT_FALSE(g_bDataModified);
}

TEST_F(LinkGroupAddressDlgTest, CancelKeepsTheStepsAlreadyLinked) {
    // Two switching times and two quantity triggers: three steps.
    m_quantities[2]->AddTriggerGroupAddress(m_pA, false);
    CGroupAddressTable* pTable = Open();
    Select(pTable, {m_pA});
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<LinkDlg&>(d);
        ASSERT_EQ(dlg.GetEntries().size(), 3u);
        EXPECT_EQ(LinkDlg::EntryFlags(dlg.GetEntries()[0]), DWORD{GAU_SWITCHTIME | GAU_QUANTITY_MEMBER});
        EXPECT_EQ(LinkDlg::EntryFlags(dlg.GetEntries()[2]), DWORD{GAU_QUANTITY_TRIGGER});
        EXPECT_EQ(LinkDlg::EntryNumber(dlg.GetEntries()[2]), 1);
        Choose(dlg, m_pD);
        ClickOk(dlg);
        uitest::PressWindowKey(&d, Qt::Key_Escape);
    });
    uitest::PressKey(pTable, Qt::Key_Return);
    ASSERT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_EQ(SwitchTimesOn(m_pD), 2);
    EXPECT_TRUE(m_quantities[1]->IsTrigger(m_pA));
    EXPECT_TRUE(m_quantities[2]->IsTrigger(m_pA));
    EXPECT_EQ(pTable->GetItemText(pTable->FindRowOfObject(m_pD), 4), "+");
}

TEST_F(LinkGroupAddressDlgTest, InvalidAddressIsNeverOfferedAndGoesWithItsLastUse) {
    CGroupDataAddress* pJ = AddAddress("Älter", 0x0202, 1, true);
    m_quantities[0]->CreateMember()->SetGroupAddress(pJ);
    LinkDlg dlg(nullptr, {pJ, m_pI});
    m_runner.Then([&](QDialog&) {
        // None is preselected for an invalid address; OK on it keeps it.
        EXPECT_EQ(dlg.GetAddressCombo()->currentIndex(), 0);
        EXPECT_EQ(Offered(dlg), (Offer{m_pC, m_pD}));
        ClickOk(dlg);
        EXPECT_EQ(dlg.GetCurrentAddress(), m_pI);
        Choose(dlg, m_pC);
        ClickOk(dlg);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(Lists().IsInList(pJ));
    EXPECT_EQ(m_quantities[0]->GetMembers().back()->GetGroupAddress(), pJ);
    EXPECT_FALSE(Lists().IsInList(m_pI));
    EXPECT_EQ(m_routines[1]->GetSwitchTimes().front()->GetGroupAddress(), m_pC);
    EXPECT_EQ(Lists().GetCount(true), 1);
}

TEST_F(LinkGroupAddressDlgTest, NewAddressEntryRunsTheInsertionThroughTheHook) {
    CGroupDataAddress* pAdded = nullptr;
    DWORD dwTypes = 0;
    bool bAdd = false;
    ui::SetGroupAddressInsertHook([&](QWidget* pOwner, DWORD dwAllowed) -> CGroupDataAddress* {
        EXPECT_NE(dynamic_cast<LinkDlg*>(pOwner), nullptr);
        dwTypes = dwAllowed;
        if (bAdd) {
            pAdded = AddAddress("Neu", 0x0301, 1);
        }
        return pAdded;
    });
    LinkDlg dlg(nullptr, {m_pB});
    m_runner.Then([&](QDialog&) {
        CTableComboBox* pCombo = dlg.GetAddressCombo();
        const int nOwn = pCombo->currentIndex();
        ASSERT_GE(pCombo->GetNewAddressIndex(), 0);
        // Cancelled: the row chosen before comes back.
        uitest::PressKey(pCombo, Qt::Key_End);
        EXPECT_EQ(dwTypes, 1u);
        EXPECT_EQ(pCombo->currentIndex(), nOwn);

        bAdd = true;
        uitest::PressKey(pCombo, Qt::Key_End);
        ASSERT_NE(pAdded, nullptr);
        EXPECT_EQ(AddressOfRow(dlg, pCombo->currentIndex()), pAdded);
        EXPECT_TRUE(dlg.HasChanged());
        ClickOk(dlg);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_routines[1]->GetTriggerGroupAddress(), pAdded);
}

TEST_F(LinkGroupAddressDlgTest, AtTheAssociationLimitTheEntryGoesWithOneMessage) {
    ui::SetGroupAddressInsertHook([](QWidget*, DWORD) -> CGroupDataAddress* { return nullptr; });
    // Four addresses with objects and quantity triggers up to 249
    // associations when the dialog opens; the last trigger makes 250.
    for (int i = 0; i < 243; ++i) {
        m_quantities[2]->AddTriggerGroupAddress(AddAddress("T", 0x1000 + i, 1), false);
    }
    m_quantities[2]->AddTriggerGroupAddress(m_pC, false);
    DWORD nCount = 0;
    ASSERT_GE(m_run.Chronoset().CountAssociations(nCount), 0);
    ASSERT_EQ(nCount, 249u);
    m_quantities[2]->AddTriggerGroupAddress(m_pD, false);
    CScriptedMessageBoxSink::Expectation limit;
    limit.caption = "Zuordnungen ausgelastet";
    m_boxes.Expect(limit);
    LinkDlg dlg(nullptr, {m_pB, m_pF});
    m_runner.Then([&](QDialog&) {
        EXPECT_GE(dlg.GetAddressCombo()->GetNewAddressIndex(), 0);
        ClickOk(dlg);
        EXPECT_EQ(m_boxes.GetShown().size(), 1u);
        EXPECT_EQ(dlg.GetAddressCombo()->GetNewAddressIndex(), -1);
        ClickOk(dlg);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
}

TEST_F(LinkGroupAddressDlgTest, TriggerAndSwitchingTimesOfOneAddressMoveTogether) {
    // A loaded parameter set may use a routine's trigger in switching times.
    m_routines[0]->AddSwitchTime(nullptr)->SetGroupAddress(m_pB);
    DWORD nCount = 0;
    ASSERT_GE(Set().CountAssociations(nCount), 0);
    ASSERT_GT(nCount, 0u);
    LinkDlg dlg(nullptr, {m_pB});
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(Usage(dlg), "Kommunikationsobjekt: 2\nals Auslöser für Tagesablauf Nr. 02, Werktag\n"
                              "als Schaltzeit in Tagesablauf Nr. 01\n");
        Choose(dlg, m_pC);
        ClickOk(dlg);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_routines[1]->GetTriggerGroupAddress(), m_pC);
    EXPECT_EQ(SwitchTimesOn(m_pC), 1);
    EXPECT_FALSE(m_pB->HasUsage(GAU_ANY));
    // The uses moved, none was added or lost on the way.
    DWORD nAfter = 0;
    ASSERT_GE(Set().CountAssociations(nAfter), 0);
    EXPECT_EQ(nAfter, nCount);
}

TEST_F(LinkGroupAddressDlgTest, FullInvalidListLeavesEveryUseWhereItIs) {
    while (Lists().GetCount(true) < CGroupDataAddresses::GetMaxCount()) {
        AddAddress("Platzhalter", 0x0400 + Lists().GetCount(true), 1, true);
    }
    LinkDlg dlg(nullptr, {m_pA});
    m_runner.Then([&](QDialog&) {
        ChooseRow(dlg, 0);
        ClickOk(dlg);
        ChooseRow(dlg, 0);
        ClickOk(dlg);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(SwitchTimesOn(m_pA), 2);
    EXPECT_EQ(m_quantities[0]->GetMembers().front()->GetGroupAddress(), m_pA);
    EXPECT_TRUE(m_quantities[1]->IsTrigger(m_pA));
    EXPECT_EQ(m_quantities[1]->GetRequestGroupAddress(), m_pA);
}

}  // namespace
