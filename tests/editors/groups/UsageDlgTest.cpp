// The usage dialog: where the parameter set uses a group address, stepping
// through several objects, delete and warning modes, and the uses the
// reconciliation's association check gives.

#include "app/Chronoset.h"
#include "app/GroupAddressCheck.h"
#include "app/UsageDialog.h"
#include "editors/groups/GroupEditors.h"
#include "editors/groups/UsageDlg.h"
#include "editors/groups/UsageList.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "tests/editors/EditorTestSupport.h"
#include "ui/UsageDialogHook.h"

#include <QLineEdit>

#include <QApplication>

#include <gtest/gtest.h>

namespace {

std::string Text(const CUsageDlg& dlg, UINT nId) {
    auto* pEdit = dlg.GetDlgItemAs<QLineEdit>(nId);
    return pEdit != nullptr ? pEdit->text().toStdString() : std::string("<none>");
}

class UsageDlgTest : public ::testing::Test, public editortest::CEditorSteps {
protected:
    using Rows = std::vector<Texts>;
    static Rows RowsOf(const CUsageList& list) { return AllRows(list, 4); }

    void SetUp() override {
        CChronoset& set = m_run.Chronoset();
        m_pAddress = set.GetGroupDataAddresses()->CreateGroupAddress(false);
        m_pAddress->SetName("Heizung Sollwert");
        m_pAddress->SetAddress(0x0A03);
        m_pAddress->SetReference(33);
        m_pOther = set.GetGroupDataAddresses()->CreateGroupAddress(false);
        m_pOther->SetName("Licht");
        m_pOther->SetAddress(0x0A04);
        // Quantity 3 with two members on the address, quantity 1 with it as
        // trigger; day routine 2 with one switching time on it.
        CQuantity* pFirst = set.GetQuantities()->CreateQuantity();
        pFirst->SetName("Heizkreis");
        pFirst->AddTriggerGroupAddress(m_pAddress, false);
        set.GetQuantities()->CreateQuantity()->SetName("Leer");
        m_pQuantity3 = set.GetQuantities()->CreateQuantity();
        m_pQuantity3->SetName("Räume");
        m_pMember = m_pQuantity3->CreateMember();
        m_pMember->SetGroupAddress(m_pAddress);
        m_pQuantity3->CreateMember()->SetGroupAddress(m_pAddress);
        set.GetDayRoutines()->CreateDayRoutine()->SetName("Werktag");
        CDayRoutine* pRoutine2 = set.GetDayRoutines()->CreateDayRoutine();
        pRoutine2->SetName("Wochenende");
        m_pSwitchTime = pRoutine2->AddSwitchTime(nullptr);
        m_pSwitchTime->SetGroupAddress(m_pAddress);
        pRoutine2->AddSwitchTime(nullptr)->SetGroupAddress(m_pOther);
    }
    editortest::CEditorGlobals m_globals;
    uitest::CEditingRun m_run{false};
    uitest::CTestModalRunner m_runner;
    CGroupDataAddress* m_pAddress = nullptr;
    CGroupDataAddress* m_pOther = nullptr;
    CQuantity* m_pQuantity3 = nullptr;
    CQuantityMember* m_pMember = nullptr;
    CDaySwitchTime* m_pSwitchTime = nullptr;
};

TEST_F(UsageDlgTest, ShowsTriggerAndMemberUsesOfTheAddressAndStepsThroughTheObjects) {
    // A switching time and a member stand for their address; three objects
    // need three OKs.
    CUsageDlg dlg(nullptr, false, {m_pSwitchTime, m_pOther, m_pMember});
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(dlg.GetWindowText(), "Verwendung");
        EXPECT_EQ(dlg.GetDlgItemText(IDOK), "OK");
        EXPECT_FALSE(dlg.GetDlgItem(CUsageDlg::IDC_WARNING)->isVisible());
        EXPECT_EQ(Text(dlg, CUsageDlg::IDC_NAME), "Heizung Sollwert");
        EXPECT_EQ(Text(dlg, CUsageDlg::IDC_ADDRESS), m_pAddress->GetAddressText(false));
        ASSERT_NE(dlg.GetUsageList(), nullptr);
        EXPECT_EQ(dlg.GetUsageList()->GetColumnCount(), 4);
        // Ninths of the list's client width: 3, 1, 3, 1.
        const int nNinth = dlg.GetUsageList()->viewport()->width() / 9;
        EXPECT_GT(nNinth, 30);
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(dlg.GetUsageList()->GetColumnWidth(c), nNinth * (c % 2 == 0 ? 3 : 1), 3) << c;
        }
        // The list stands where the template put it in the keyboard order.
        uitest::PressKey(dlg.GetDlgItem(CUsageDlg::IDC_NAME), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetUsageList());
        uitest::PressWindowKey(&dlg, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(IDOK));
        EXPECT_EQ(RowsOf(*dlg.GetUsageList()), (Rows{
                                                   {"als Auslöser/Anzeige für:", "", "", ""},
                                                   {"  Menge", "Nr 01", "Heizkreis", ""},
                                                   {"", "", "", ""},
                                                   {"als Mitglied in:", "", "", ""},
                                                   {"  Menge", "Nr 03", "Räume", "(2)"},
                                                   {"  Tagesablauf", "Nr 02", "Wochenende", "(1)"},
                                               }));
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(Text(dlg, CUsageDlg::IDC_NAME), "Licht");
        EXPECT_EQ(RowsOf(*dlg.GetUsageList()).back(),
                  (std::vector<std::string>{"  Tagesablauf", "Nr 02", "Wochenende", "(1)"}));
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_EQ(Text(dlg, CUsageDlg::IDC_NAME), "Heizung Sollwert");
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(UsageDlgTest, CancelAtAnyPointAndOtherObjectsShowAQuestionMark) {
    CUsageDlg dlg(nullptr, true, {m_pQuantity3, m_pAddress});
    m_runner.Then([&](QDialog&) {
        // Delete mode names its OK button so.
        EXPECT_EQ(dlg.GetDlgItemText(IDOK), "Löschen");
        EXPECT_EQ(Text(dlg, CUsageDlg::IDC_ADDRESS), "?");
        EXPECT_EQ(Text(dlg, CUsageDlg::IDC_NAME), "");
        EXPECT_EQ(dlg.GetUsageList()->GetItemCount(), 0);
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_EQ(Text(dlg, CUsageDlg::IDC_NAME), "Heizung Sollwert");
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(UsageDlgTest, ReconciliationShowsTheHostsAssociationsWithTheWarningAndOneOkEnds) {
    // The host associates the address (host id 33) with the trigger object 0
    // of quantity 1 and with object 40, which the parameter set binds to the
    // other address used by a switching time of day routine 2.
    m_pOther->SetObjectNumber(40);
    m_run.Chronoset().GetQuantities()->GetQuantity(1)->SetTriggerObjectNumber(0);
    CGroupAddressCheck check;
    check.Add(0, 33);
    check.Add(40, 33);
    check.Add(41, 34);
    check.Run(nullptr, nullptr, 3, 1);

    InstallGroupEditors();
    CGroupDataAddresses scratch(true);
    CGroupDataAddress* pScratch = scratch.CreateGroupAddress(false);
    pScratch->CopyFrom(*m_pAddress);
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<CUsageDlg&>(d);
        EXPECT_TRUE(dlg.GetDlgItem(CUsageDlg::IDC_WARNING)->isVisible());
        EXPECT_EQ(RowsOf(*dlg.GetUsageList()), (Rows{
                                                   {"als Auslöser/Anzeige für:", "", "", ""},
                                                   {"  Menge", "Nr 01", "Heizkreis", ""},
                                                   {"", "", "", ""},
                                                   {"als Mitglied in:", "", "", ""},
                                                   {"  Tagesablauf", "Nr 02", "Wochenende", "(1)"},
                                               }));
        uitest::Click(dlg.GetDlgItem(IDOK));
    });
    ASSERT_NE(GetUsageDialog(), nullptr);
    EXPECT_EQ(GetUsageDialog()->DoModal(nullptr, false, &scratch, &check, true), IDOK);

    // The tables' usage command reaches the same dialog.
    m_runner.Then([&](QDialog& d) {
        EXPECT_EQ(dynamic_cast<CUsageDlg&>(d).GetCurrentGroupAddress(), m_pAddress);
        uitest::Click(dynamic_cast<CUsageDlg&>(d).GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(ui::ShowUsageDialog(nullptr, 11, {m_pSwitchTime}), IDCANCEL);
    SetUsageDialog(nullptr);
    ui::SetUsageDialogHook({});
}

}  // namespace
