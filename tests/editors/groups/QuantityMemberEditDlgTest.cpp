// The member dialog: members of 1-byte and 2-bit addresses stored one OK
// after another, the addresses offered, the duplicate refusal, the invalid
// address a member gives up, and the ways the dialog cannot start.

#include "app/Chronoset.h"
#include "editors/groups/QuantityMemberEditDlg.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ControlsTestSupport.h"
#include "ui/MainTableBox.h"

#include <QAbstractButton>
#include <QComboBox>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using MemberDlg = CQuantityMemberEditDlg;

class QuantityMemberEditDlgTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        g_DptManager.Init();
        m_table.setParent(&m_pane);
        m_pQuantity = m_run.Chronoset().GetQuantities()->CreateQuantity();
        m_pQuantity->SetNumber(3);
        m_pQuantity->SetType({5, 1});
    }

    CGroupDataAddresses& Lists() { return *m_run.Chronoset().GetGroupDataAddresses(); }
    CGroupDataAddress* AddAddress(const std::string& strName, LONG nAddress, int nType, int nSubType,
                                  bool bInvalid = false) {
        return NewAddress(m_run.Chronoset(), strName, nAddress, {nType, nSubType}, bInvalid);
    }
    CQuantityMember* AddMember(CGroupDataAddress* pAddress, int nRange, WORD wValue = 0) {
        CQuantityMember* pMember = m_pQuantity->CreateMember();
        pMember->SetGroupAddress(pAddress);
        pMember->SetValues(wValue, false, nRange);
        return pMember;
    }
    std::vector<CQuantityMember*> Members() const {
        return {m_pQuantity->GetMembers().begin(), m_pQuantity->GetMembers().end()};
    }

    static QWidget* Item(const MemberDlg& dlg, UINT nId) { return dlg.GetDlgItem(nId); }
    static std::string Text(const MemberDlg& dlg, UINT nId) { return dlg.GetDlgItemText(nId); }
    static int IndexOf(const MemberDlg& dlg, const CGroupDataAddress* pAddress) {
        return IndexOfAddress(dlg.GetAddressCombo(), pAddress);
    }
    static void ChooseAddress(const MemberDlg& dlg, const CGroupDataAddress* pAddress) {
        CEditorSteps::ChooseAddress(dlg.GetAddressCombo(), pAddress);
    }

    controlstest::CScopedIntl m_intl{controlstest::UsIntl()};
    uitest::CEditingRun m_run{false};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    editortest::CRecordingPane m_pane;
    CMainTableBox m_table{14};
    CQuantity* m_pQuantity = nullptr;
};

TEST_F(QuantityMemberEditDlgTest, InsertingStoresByteAndTwoBitMembersAndCancelTakesOnlyThePendingOne) {
    CGroupDataAddress* pByte = AddAddress("Dimmer", 0x0103, 5, 10);
    CGroupDataAddress* pMode = AddAddress("Zwang", 0x0102, 2, 2);
    MemberDlg dlg(nullptr, true, nullptr);
    dlg.SetQuantity(m_pQuantity);
    dlg.SetTable(&m_table);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(dlg.GetWindowText(), "Mitglied für Menge 03");
        EXPECT_EQ(Text(dlg, IDOK), "&Einfügen");
        ASSERT_EQ(m_pQuantity->GetMemberCount(), 1);
        QWidget* pValue = Item(dlg, MemberDlg::IDC_VALUE);

        // 1 byte, shown as a count until "in %" is chosen.
        ChooseAddress(dlg, pByte);
        EXPECT_TRUE(Item(dlg, MemberDlg::IDC_STANDARD)->isVisible());
        EXPECT_TRUE(dynamic_cast<QAbstractButton*>(Item(dlg, MemberDlg::IDC_STANDARD))->isChecked());
        EXPECT_FALSE(Item(dlg, MemberDlg::IDC_MODE)->isVisible());
        EXPECT_FALSE(Item(dlg, MemberDlg::IDC_EXPONENT)->isVisible());
        EXPECT_EQ(Text(dlg, MemberDlg::IDC_RANGE), "(0 .. 255)");
        uitest::Click(Item(dlg, MemberDlg::IDC_PERCENT));
        EXPECT_EQ(Text(dlg, MemberDlg::IDC_UNIT), "%");
        // The range choice is a choice of its own.
        EXPECT_TRUE(dynamic_cast<QAbstractButton*>(Item(dlg, MemberDlg::IDC_RANGE_A))->isChecked());
        Retype(pValue, "50");
        uitest::Click(Item(dlg, IDOK));
        ASSERT_TRUE(dlg.isVisible());
        ASSERT_EQ(m_pQuantity->GetMemberCount(), 2);
        EXPECT_EQ(GetComboSelData(dlg.GetAddressCombo()), 0x0103);

        // 2 bit: the mode's value, in range B, sent only on change.
        ChooseAddress(dlg, pMode);
        EXPECT_FALSE(pValue->isVisible());
        EXPECT_TRUE(Item(dlg, MemberDlg::IDC_MODE)->isVisible());
        EXPECT_FALSE(Item(dlg, MemberDlg::IDC_PERCENT)->isVisible());
        ChooseEntry(Item(dlg, MemberDlg::IDC_MODE), 2);
        uitest::Click(Item(dlg, MemberDlg::IDC_RANGE_B));
        uitest::Click(Item(dlg, MemberDlg::IDC_SEND_ON_CHANGE));
        EXPECT_TRUE(dynamic_cast<QAbstractButton*>(Item(dlg, MemberDlg::IDC_SEND_ON_CHANGE))->isChecked());
        EXPECT_TRUE(dynamic_cast<QAbstractButton*>(Item(dlg, MemberDlg::IDC_RANGE_B))->isChecked());
        uitest::Click(Item(dlg, IDOK));
        ASSERT_EQ(m_pQuantity->GetMemberCount(), 3);
        uitest::Click(Item(dlg, IDCANCEL));
    });
    g_bDataModified = false;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(g_bDataModified);

    const std::vector<CQuantityMember*> stored = Members();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0]->GetGroupAddress(), pByte);
    EXPECT_EQ(stored[0]->GetRawValue(), 128);
    EXPECT_EQ(stored[0]->GetRange(), 0);
    EXPECT_FALSE(stored[0]->GetSendOnChange());
    // The radio decides the sub type of the address itself.
    EXPECT_EQ(pByte->GetSubType(), 1);
    EXPECT_TRUE(pByte->HasUsage(GAU_QUANTITY_MEMBER));
    EXPECT_EQ(stored[1]->GetGroupAddress(), pMode);
    EXPECT_EQ(stored[1]->GetRawValue(), MemberDlg::kModeForcedOff);
    EXPECT_EQ(stored[1]->GetRange(), 1);
    EXPECT_TRUE(stored[1]->GetSendOnChange());

    std::vector<VIEWNOTIFY> added;
    for (const VIEWNOTIFY& record : m_pane.m_received) {
        if (record.nType == VN_ADDED) {
            added.push_back(record);
        }
    }
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[1].pObject, stored[1]);
    EXPECT_EQ(added[1].pParentObject, m_pQuantity);
    EXPECT_EQ(added[1].nKind, VOK_QUANTITYMEMBER);
}

TEST_F(QuantityMemberEditDlgTest, AnUntouchedOkKeepsTheStoredFloat) {
    // 21.00 is stored with exponent 1 under the chosen exponent 3, which
    // cannot hold it.
    CQuantityMember* pMember = AddMember(AddAddress("Sollwert", 0x0104, 9, 0), 0, 0x0C1A);
    pMember->SetExponent(3);
    std::vector<CQuantityMember*> list{pMember};
    MemberDlg dlg(nullptr, false, &list);
    dlg.SetQuantity(m_pQuantity);
    dlg.SetTable(&m_table);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(Text(dlg, MemberDlg::IDC_VALUE), "21.00");
        uitest::Click(Item(dlg, IDOK));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(pMember->GetRawValue(), 0x0C1A);
    EXPECT_EQ(pMember->GetExponent(), 3);
}

TEST_F(QuantityMemberEditDlgTest, OffersAnAddressWhileOneRangeIsFreeAndRefusesADuplicate) {
    CGroupDataAddress* pFull = AddAddress("Voll", 0x0101, 1, 1);
    CGroupDataAddress* pHalf = AddAddress("Halb", 0x0102, 1, 1);
    CGroupDataAddress* pTrigger = AddAddress("Auslöser", 0x0103, 5, 1);
    AddMember(pFull, 0);
    AddMember(pFull, 1);
    AddMember(pHalf, 0);
    ASSERT_EQ(m_pQuantity->AddTriggerGroupAddress(pTrigger, false), 1);
    MemberDlg dlg(nullptr, true, nullptr);
    dlg.SetQuantity(m_pQuantity);
    m_runner.Then([&](QDialog&) {
        EXPECT_LT(IndexOf(dlg, pFull), 0);
        EXPECT_LT(IndexOf(dlg, pTrigger), 0);
        ChooseAddress(dlg, pHalf);
        m_boxes.ExpectBox("Es existiert bereits ein Eintrag mit dem selben Bereich und der selben Gruppenadresse.",
                          "Doppeltes Mengenmitglied", MB_ICONERROR, IDOK);
        uitest::Click(Item(dlg, IDOK));
        EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
        ASSERT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.GetCurrentMember()->GetGroupAddress(), nullptr);
        uitest::Click(Item(dlg, MemberDlg::IDC_RANGE_B));
        uitest::Click(Item(dlg, IDOK));
        // Both ranges are taken now: the address leaves the list.
        EXPECT_LT(IndexOf(dlg, pHalf), 0);
        uitest::Click(Item(dlg, IDCANCEL));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(m_pQuantity->GetMemberCount(), 4);
    EXPECT_EQ(Members()[3]->GetGroupAddress(), pHalf);
    EXPECT_EQ(Members()[3]->GetRange(), 1);
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
}

TEST_F(QuantityMemberEditDlgTest, EditingStepsThroughTheListAndDropsTheInvalidAddressItGivesUp) {
    CGroupDataAddress* pMode = AddAddress("Zwang", 0x0102, 2, 2);
    CGroupDataAddress* pBit = AddAddress("Licht", 0x0101, 1, 1);
    CGroupDataAddress* pGone = AddAddress("Verwaist", 0x0105, 1, 1, true);
    CQuantityMember* pFirst = AddMember(pMode, 1, MemberDlg::kModeForcedOn);
    CQuantityMember* pSecond = AddMember(pGone, 0, 1);
    std::vector<CQuantityMember*> list{pFirst, pSecond};
    MemberDlg dlg(nullptr, false, &list);
    dlg.SetQuantity(m_pQuantity);
    dlg.SetTable(&m_table);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(Text(dlg, IDCANCEL), "Abbrechen");
        EXPECT_EQ(dynamic_cast<QComboBox*>(Item(dlg, MemberDlg::IDC_MODE))->currentText(), "Zwangs-Ein");
        EXPECT_TRUE(dynamic_cast<QAbstractButton*>(Item(dlg, MemberDlg::IDC_RANGE_B))->isChecked());
        uitest::Click(Item(dlg, IDOK));
        ASSERT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.GetCurrentMember(), pSecond);
        // Its own address of the invalid list is offered and chosen.
        EXPECT_EQ(GetComboSelData(dlg.GetAddressCombo()), -0x0105);
        EXPECT_TRUE(dynamic_cast<QAbstractButton*>(Item(dlg, MemberDlg::IDC_RANGE_A))->isChecked());
        ChooseAddress(dlg, pBit);
        uitest::Click(Item(dlg, IDOK));
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(pFirst->GetRawValue(), MemberDlg::kModeForcedOn);
    EXPECT_EQ(pSecond->GetGroupAddress(), pBit);
    EXPECT_EQ(pSecond->GetRawValue(), 1);
    // The placeholder lived only for that use.
    EXPECT_EQ(Lists().GetCount(true), 0);
    int nChanged = 0;
    for (const VIEWNOTIFY& record : m_pane.m_received) {
        nChanged += record.nType == VN_CHANGED && record.nKind == VOK_QUANTITYMEMBER ? 1 : 0;
    }
    EXPECT_EQ(nChanged, 2);
}

TEST_F(QuantityMemberEditDlgTest, EveryWayItCannotStartEndsWithCancelAndChangesNothing) {
    CQuantityMember* pMember = AddMember(AddAddress("Licht", 0x0101, 1, 1), 0);
    std::vector<CQuantityMember*> empty;
    std::vector<CQuantityMember*> withNull{nullptr, pMember};
    struct Case {
        const char* pszName;
        bool bInsert;
        std::vector<CQuantityMember*>* pList;
        bool bWithQuantity;
    };
    const Case cases[] = {
        {"no quantity", true, nullptr, false},
        {"no list", false, nullptr, true},
        {"empty list", false, &empty, true},
        {"null entry", false, &withNull, true},
    };
    for (const Case& c : cases) {
        for (bool bModified : {false, true}) {
            SCOPED_TRACE(c.pszName);
            MemberDlg dlg(nullptr, c.bInsert, c.pList);
            if (c.bWithQuantity) {
                dlg.SetQuantity(m_pQuantity);
            }
            g_bDataModified = bModified;
            EXPECT_EQ(dlg.DoModal(), IDCANCEL);
            EXPECT_EQ(g_bDataModified, bModified);
        }
    }
    EXPECT_EQ(m_pQuantity->GetMemberCount(), 1);

    // All quantities together are full: insert mode says so and ends.
    while (m_pQuantity->CreateMember() != nullptr) {
    }
    const int nFull = m_pQuantity->GetMemberCount();
    MemberDlg dlg(nullptr, true, nullptr);
    dlg.SetQuantity(m_pQuantity);
    m_boxes.ExpectBox("Die maximale Anzahl von Mengenmitgliedern ist erreicht.", "Mengenmitglieder ausgelastet",
                      MB_ICONINFORMATION, IDOK);
    g_bDataModified = false;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(g_bDataModified);
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
    EXPECT_EQ(m_pQuantity->GetMemberCount(), nFull);
}

}  // namespace
