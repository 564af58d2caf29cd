// The pane of one quantity: the form shows every setting of the quantity in
// the units of its type, keeps current on change records of its own
// quantity only, opens the quantity dialog from "Ändern" and offers the
// table's help on the right mouse button.

#include "app/Chronoset.h"
#include "editors/groups/QuantityEditDlg.h"
#include "editors/groups/QuantityTable.h"
#include "editors/groups/QuantityWnd.h"
#include "model/DptManager.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/support/RecordingHelpService.h"
#include "tests/ui/ControlsTestSupport.h"
#include "ui/ParameterDlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class QuantityViewTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        g_DptManager.Init();
        CMainTableView::RegisterTableClass(CQuantityTable::kTableType, [](int, CObject* pObject) -> CMainTableBox* {
            return new CQuantityTable(dynamic_cast<CQuantity*>(pObject));
        });
        m_view.SetDispatcher(&m_dlg);
        m_dlg.SetPanes(nullptr, &m_view, nullptr, nullptr);
    }
    void TearDown() override {
        m_view.DeleteTableBox();
        CMainTableView::RegisterTableClass(CQuantityTable::kTableType, nullptr);
    }

    CQuantity* AddQuantity(const std::string& strName, int nMainType, int nSubType) {
        CQuantity* pQuantity = m_run.Chronoset().GetQuantities()->CreateQuantity();
        pQuantity->SetName(strName);
        pQuantity->SetType({nMainType, nSubType});
        return pQuantity;
    }
    CQuantityWnd* Open(CQuantity* pQuantity) {
        m_pTable = OpenTable<CQuantityTable>(m_view, CQuantityTable::kTableType, pQuantity, 600, 400);
        return m_pTable != nullptr ? m_pTable->GetQuantityForm() : nullptr;
    }
    int SendChanged(CObject* pObject) {
        VIEWNOTIFY notify;
        notify.nType = VN_CHANGED;
        notify.nKind = VOK_QUANTITY;
        notify.pObject = pObject;
        m_view.OnViewNotify(&notify);
        return notify.nHandled;
    }
    // The texts of the form's statics with those ids.
    static std::vector<std::string> Texts(const CQuantityWnd& form, std::initializer_list<UINT> ids) {
        std::vector<std::string> texts;
        for (UINT nId : ids) {
            texts.push_back(form.GetDlgItemText(nId));
        }
        return texts;
    }

    controlstest::CScopedIntl m_intl{controlstest::GermanIntl()};
    uitest::CEditingRun m_run{true};
    uitest::CTestModalRunner m_runner;
    CParameterDlg m_dlg{nullptr, nullptr};
    CMainTableView m_view;
    CQuantityTable* m_pTable = nullptr;
};

TEST_F(QuantityViewTest, PercentQuantityFillsTheTableAndChangesOfItsOwnQuantityShowAnew) {
    CQuantity* pOther = AddQuantity("Erste", 5, 10);
    CQuantity* pQuantity = AddQuantity("Helligkeit", 5, 1);
    pQuantity->SetRangeA(64);
    pQuantity->SetRangeB(191);
    pQuantity->SetInitValue(128);
    pQuantity->SetCondition(1);
    pQuantity->SetColdStart(1);
    pQuantity->SetWarmStart(2);
    CQuantityWnd* pForm = Open(pQuantity);
    ASSERT_NE(pForm, nullptr);
    EXPECT_TRUE(pForm->isVisible());
    EXPECT_EQ(pForm->geometry(), m_pTable->geometry());
    EXPECT_EQ(m_pTable->GetItemCount(), 0);

    EXPECT_EQ(Texts(*pForm, {CQuantityWnd::IDC_NUMBER, CQuantityWnd::IDC_NAME, CQuantityWnd::IDC_TYPE,
                             CQuantityWnd::IDC_SUBTYPE, CQuantityWnd::IDC_CONDITION, CQuantityWnd::IDC_COLD_START,
                             CQuantityWnd::IDC_WARM_START}),
              (std::vector<std::string>{"2", "Helligkeit", "1 Byte vorzeichenlos", "in %", ">A, >B (Neueintritt)",
                                        "Init (Initwert verwenden)", "RAM (alter Wert)"}));
    // Raw 0..255 shows as 0..100 %.
    EXPECT_EQ(Texts(*pForm, {1284, 1272, 1285, 1273, 1286}),
              (std::vector<std::string>{"0,00", "25,10", "74,90", "100,00", "50,20"}));
    EXPECT_EQ(Texts(*pForm, {1232, 1236, 1233, 1239, 1242}), (std::vector<std::string>(5, "%")));

    // The form follows the table when the pane is resized.
    m_view.resize(500, 350);
    uitest::ProcessEvents();
    EXPECT_EQ(pForm->geometry(), m_pTable->geometry());

    // A change of another quantity stays unhandled and leaves the form; one
    // of its own quantity shows anew.
    pQuantity->SetType({5, 10});
    pQuantity->SetName("Zähler");
    EXPECT_EQ(SendChanged(pOther), 0);
    EXPECT_EQ(pForm->GetDlgItemText(CQuantityWnd::IDC_NAME), "Helligkeit");
    EXPECT_EQ(SendChanged(pQuantity), VNH_HANDLED);
    EXPECT_EQ(Texts(*pForm, {CQuantityWnd::IDC_NAME, CQuantityWnd::IDC_SUBTYPE, CQuantityWnd::IDC_RANGE_A, 1236}),
              (std::vector<std::string>{"Zähler", "Standard", "64", ""}));
}

TEST_F(QuantityViewTest, TwoByteFloatQuantityShowsItsValuesAndUnknownCodesAQuestionMark) {
    CQuantity* pQuantity = AddQuantity("Temperatur", 9, 0);
    pQuantity->SetRangeA(0x85DA);     // -5.5
    pQuantity->SetRangeB(0x0C33);     // 21.5
    pQuantity->SetInitValue(0x07D0);  // 20
    pQuantity->SetCondition(2);
    pQuantity->SetColdStart(3);
    pQuantity->SetWarmStart(0);
    CQuantityWnd* pForm = Open(pQuantity);
    ASSERT_NE(pForm, nullptr);
    EXPECT_EQ(Texts(*pForm, {CQuantityWnd::IDC_TYPE, CQuantityWnd::IDC_SUBTYPE, CQuantityWnd::IDC_CONDITION,
                             CQuantityWnd::IDC_COLD_START, CQuantityWnd::IDC_WARM_START}),
              (std::vector<std::string>{"2 Byte Gleitkommazahl", "", "A< >B (Hysterese)", "kein (keine Reaktion)",
                                        "Bus (Wert lesen)"}));
    EXPECT_EQ(Texts(*pForm, {1284, 1272, 1285, 1273, 1286}),
              (std::vector<std::string>{"-671088,64", "-5,50", "21,50", "670760,96", "20,00"}));
    EXPECT_EQ(Texts(*pForm, {1232, 1236, 1233, 1239, 1242}), (std::vector<std::string>(5, "")));

    // Codes outside their lists show "?"; a type the datapoint table lacks
    // stops the refresh after them.
    uitest::CLogCapture log;
    pQuantity->SetCondition(3);
    pQuantity->SetColdStart(2);
    pQuantity->SetWarmStart(1);
    pQuantity->SetType({4, 7});
    pQuantity->SetName("Anders");
    EXPECT_EQ(SendChanged(pQuantity), VNH_HANDLED);
    EXPECT_EQ(Texts(*pForm, {CQuantityWnd::IDC_CONDITION, CQuantityWnd::IDC_COLD_START, CQuantityWnd::IDC_WARM_START,
                             CQuantityWnd::IDC_NAME}),
              (std::vector<std::string>{"?", "?", "?", "Temperatur"}));
    EXPECT_NE(log.Lines().find("CQuantityWnd: no subtype object for main type 4, subtype 7"), std::string::npos);
}

TEST_F(QuantityViewTest, ChangeEditsThisQuantityInTheDialogAndOkRefreshesTheForm) {
    CQuantity* pQuantity = AddQuantity("Helligkeit", 5, 1);
    CQuantityWnd* pForm = Open(pQuantity);
    ASSERT_NE(pForm, nullptr);
    CQuantity* pEdited = nullptr;
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<CQuantityEditDlg&>(d);
        pEdited = dlg.GetCurrentQuantity();
        uitest::PressKey(dlg.GetDlgItem(1181), Qt::Key_A, Qt::ControlModifier);
        uitest::TypeText(dlg.GetDlgItem(1181), "Dimmer");
        uitest::Click(dlg.GetDlgItem(IDOK));
    });
    uitest::Click(pForm->GetDlgItem(CQuantityWnd::IDC_CHANGE));
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    // Edit mode: the form's quantity, and no new one.
    EXPECT_EQ(pEdited, pQuantity);
    EXPECT_EQ(m_run.Chronoset().GetQuantities()->GetCount(), 1);
    EXPECT_EQ(pForm->GetDlgItemText(CQuantityWnd::IDC_NAME), "Dimmer");
}

TEST_F(QuantityViewTest, RightClickOffersTheHelpOfTheQuantityView) {
    CQuantityWnd* pForm = Open(AddQuantity("Helligkeit", 5, 1));
    ASSERT_NE(pForm, nullptr);
    CRecordingHelpService help;
    uitest::CTestPopupMenuRunner popups;
    popups.ThenChoose(ID_TABLE_HELP);
    uitest::Click(pForm->GetDlgItem(CQuantityWnd::IDC_NAME), QPoint(2, 2), Qt::RightButton);
    EXPECT_EQ(popups.GetRunCount(), 1);
    EXPECT_EQ(help.GetContexts(), (std::vector<DWORD>{930}));
}

}  // namespace
