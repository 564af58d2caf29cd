// The quantity dialog: the values of each value type stored and shown again,
// the limit of 30 quantities, triggers that a type change gives up only when
// OK stores it, and a value confirmed with Enter at once.

#include "app/Chronoset.h"
#include "editors/groups/QuantityEditDlg.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/Utils.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ControlsTestSupport.h"
#include "ui/MainTableBox.h"

#include <QAbstractButton>
#include <QComboBox>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using QuantityDlg = CQuantityEditDlg;

struct Stored {
    int nMainType;
    int nSubType;
    WORD wRangeA;
    WORD wRangeB;
    WORD wInit;
    BYTE nExponent;
    bool operator==(const Stored&) const = default;
};

class QuantityEditDlgTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        g_DptManager.Init();
        m_pane.m_received.clear();
        m_table.setParent(&m_pane);
    }

    CQuantities& Quantities() { return *m_run.Chronoset().GetQuantities(); }
    std::vector<CQuantity*> All() { return {Quantities().GetQuantityList().begin(), Quantities().GetQuantityList().end()}; }
    CGroupDataAddress* AddAddress(LONG nAddress, int nType) {
        CGroupDataAddress* pAddress = m_run.Chronoset().GetGroupDataAddresses()->CreateGroupAddress(false);
        pAddress->SetAddress(nAddress);
        pAddress->SetType({nType, 1});
        return pAddress;
    }
    CQuantity* AddQuantity(int nMainType, std::initializer_list<CGroupDataAddress*> triggers) {
        CQuantity* pQuantity = Quantities().CreateQuantity();
        pQuantity->SetType({nMainType, 1});
        for (CGroupDataAddress* pAddress : triggers) {
            EXPECT_EQ(pQuantity->AddTriggerGroupAddress(pAddress, false), 1);
        }
        return pQuantity;
    }
    std::vector<VIEWNOTIFY> Received(int nType) const {
        std::vector<VIEWNOTIFY> records;
        for (const VIEWNOTIFY& record : m_pane.m_received) {
            if (record.nType == nType) {
                records.push_back(record);
            }
        }
        return records;
    }

    static QWidget* Item(const QuantityDlg& dlg, UINT nId) { return dlg.GetDlgItem(nId); }
    static std::string Text(const QuantityDlg& dlg, UINT nId) { return dlg.GetDlgItemText(nId); }
    static void ChooseEntry(const QuantityDlg& dlg, UINT nId, int nIndex) {
        CEditorSteps::ChooseEntry(Item(dlg, nId), nIndex);
    }
    static int SelectedType(const QuantityDlg& dlg) {
        return static_cast<int>(GetComboSelData(dynamic_cast<QComboBox*>(Item(dlg, QuantityDlg::IDC_TYPE))));
    }
    static Stored Snapshot(const CQuantity* p) {
        return {p->GetMainType(), p->GetSubType(), p->GetRangeA(), p->GetRangeB(), p->GetInitValue(),
                p->GetExponent()};
    }

    controlstest::CScopedIntl m_intl{controlstest::UsIntl()};
    uitest::CEditingRun m_run{false};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    editortest::CRecordingPane m_pane;
    CMainTableBox m_table{2};
};

TEST_F(QuantityEditDlgTest, EachTypeOfTheListIsStoredAndShownAgain) {
    // Per type: range B, range A and initial value as typed, then as shown.
    struct Row {
        int nMainType;
        const char* pszB;
        const char* pszA;
        const char* pszInit;
        const char* pszShownA;
        const char* pszShownB;
        const char* pszShownInit;
    };
    const std::vector<Row> rows{{1, nullptr, nullptr, "1", "0", "1", "1"},
                                {5, "80", "20", "50", "20.00", "80.00", "50.20"},
                                {6, "10", "-10", "-5", "-10", "10", "-5"},
                                {7, "2000", "1000", "1500", "1000", "2000", "1500"},
                                {8, "300", "-300", "0", "-300", "300", "0"},
                                {9, "22.5", "18.5", "21", "18.50", "22.50", "21.00"}};
    const std::string strLong(60, 'x');
    QuantityDlg dlg(nullptr, true, nullptr);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(Text(dlg, IDOK), "&Einfügen");
        EXPECT_EQ(Text(dlg, QuantityDlg::IDC_NUMBER), "1");
        auto* pType = dynamic_cast<QComboBox*>(Item(dlg, QuantityDlg::IDC_TYPE));
        ASSERT_EQ(pType->count(), static_cast<int>(rows.size()));
        Retype(dlg, QuantityDlg::IDC_NAME, strLong);
        m_boxes.ExpectBox("Die angegebene Bezeichnung ist mit 60 Zeichen zu lang und wird daher gekürzt. "
                          "Bezeichnungen dürfen maximal 50 Zeichen lang sein.",
                          "", MB_ICONINFORMATION, IDOK);
        ChooseEntry(dlg, QuantityDlg::IDC_CONDITION, 2);
        EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
        EXPECT_EQ(Text(dlg, QuantityDlg::IDC_NAME), std::string(50, 'x'));
        ChooseEntry(dlg, QuantityDlg::IDC_COLD_START, 1);
        ChooseEntry(dlg, QuantityDlg::IDC_WARM_START, 2);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Row& row = rows[i];
            ChooseEntry(dlg, QuantityDlg::IDC_TYPE, static_cast<int>(i));
            ASSERT_EQ(SelectedType(dlg), row.nMainType);
            EXPECT_EQ(pType->currentText().toStdString(), GetDptTypeName(row.nMainType));
            EXPECT_EQ(Item(dlg, QuantityDlg::IDC_RANGE_A)->isVisible(), row.nMainType != 1);
            EXPECT_EQ(Item(dlg, QuantityDlg::IDC_RANGE_A_TEXT)->isVisible(), row.nMainType == 1);
            EXPECT_EQ(Item(dlg, QuantityDlg::IDC_PERCENT)->isVisible(), row.nMainType == 5);
            EXPECT_EQ(Item(dlg, QuantityDlg::IDC_EXPONENT)->isVisible(), row.nMainType == 9);
            if (row.nMainType == 5) {
                uitest::Click(Item(dlg, QuantityDlg::IDC_PERCENT));
                EXPECT_EQ(Text(dlg, QuantityDlg::IDC_RANGE_A_UNIT), "%");
                EXPECT_EQ(Text(dlg, QuantityDlg::IDC_MAXIMUM), "100");
            }
            if (row.nMainType == 9) {
                EXPECT_EQ(Text(dlg, QuantityDlg::IDC_MINIMUM), "-163.84");
                ChooseEntry(dlg, QuantityDlg::IDC_EXPONENT, 0);
                EXPECT_EQ(Text(dlg, QuantityDlg::IDC_MINIMUM), "-671088.64");
                EXPECT_EQ(Text(dlg, QuantityDlg::IDC_MAXIMUM), "670760.96");
                ChooseEntry(dlg, QuantityDlg::IDC_EXPONENT, 2);
                EXPECT_EQ(Text(dlg, QuantityDlg::IDC_MAXIMUM), "40.94");
            }
            if (row.pszA != nullptr) {
                Retype(dlg, QuantityDlg::IDC_RANGE_B, row.pszB);
                Retype(dlg, QuantityDlg::IDC_RANGE_A, row.pszA);
            }
            Retype(dlg, QuantityDlg::IDC_INIT_VALUE, row.pszInit);
            uitest::Click(Item(dlg, IDOK));
            ASSERT_TRUE(dlg.isVisible());
            EXPECT_EQ(Text(dlg, QuantityDlg::IDC_NUMBER), std::to_string(i + 2));
        }
        uitest::Click(Item(dlg, IDCANCEL));
    });
    g_bDataModified = false;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(g_bDataModified);

    std::vector<CQuantity*> stored = All();
    ASSERT_EQ(stored.size(), rows.size());
    EXPECT_EQ(stored[0]->GetName().size(), 50u);
    EXPECT_EQ(stored[0]->GetCondition(), 2);
    EXPECT_EQ(stored[0]->GetColdStart(), 1);
    EXPECT_EQ(stored[0]->GetWarmStart(), 3);
    EXPECT_EQ(stored[1]->GetSubType(), 1);
    EXPECT_EQ(stored[1]->GetInitValue(), 128);
    EXPECT_EQ(stored[5]->GetExponent(), 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(stored[i]->GetMainType(), rows[i].nMainType);
        EXPECT_EQ(stored[i]->GetNumber(), static_cast<int>(i + 1));
    }
    EXPECT_DOUBLE_EQ(DecodeDptValue(6, stored[2]->GetRangeA()), -10.0);
    EXPECT_DOUBLE_EQ(DecodeDptValue(9, stored[5]->GetRangeA()), 18.5);

    // Reopened, each shows what was typed, and OK gives it back unchanged.
    std::vector<Stored> before;
    for (const CQuantity* p : stored) {
        before.push_back(Snapshot(p));
    }
    QuantityDlg edit(nullptr, false, &stored);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(Text(edit, IDCANCEL), "Abbrechen");
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Row& row = rows[i];
            ASSERT_EQ(edit.GetCurrentQuantity(), stored[i]);
            EXPECT_EQ(SelectedType(edit), row.nMainType);
            EXPECT_EQ(Text(edit, QuantityDlg::IDC_RANGE_A_TEXT), row.pszShownA);
            EXPECT_EQ(Text(edit, QuantityDlg::IDC_RANGE_B_TEXT), row.pszShownB);
            EXPECT_EQ(Text(edit, QuantityDlg::IDC_INIT_VALUE), row.pszShownInit);
            EXPECT_EQ(dynamic_cast<QComboBox*>(Item(edit, QuantityDlg::IDC_CONDITION))->currentText(), "A< >B (Hysterese)");
            uitest::Click(Item(edit, IDOK));
        }
    });
    EXPECT_EQ(edit.DoModal(), IDOK);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(Snapshot(stored[i]), before[i]) << "quantity " << i + 1;
    }
}

TEST_F(QuantityEditDlgTest, TheThirtiethQuantityEndsInsertModeAndEachOneIsAnnounced) {
    for (int i = 0; i < 28; ++i) {
        Quantities().CreateQuantity();
    }
    QuantityDlg dlg(nullptr, true, nullptr);
    dlg.SetTable(&m_table);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(Text(dlg, QuantityDlg::IDC_NUMBER), "29");
        uitest::Click(Item(dlg, IDOK));
        EXPECT_EQ(Text(dlg, QuantityDlg::IDC_NUMBER), "30");
        m_boxes.ExpectBox("Die maximale Anzahl von Mengen ist erreicht.", "Mengen ausgelastet",
                          MB_ICONINFORMATION, IDOK);
        uitest::Click(Item(dlg, IDOK));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
    ASSERT_EQ(Quantities().GetCount(), 30);
    const std::vector<VIEWNOTIFY> added = Received(VN_ADDED);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0].pObject, Quantities().GetQuantity(29));
    EXPECT_EQ(added[1].pObject, Quantities().GetQuantity(30));
    EXPECT_EQ(added[1].pParentObject, &Quantities());
}

TEST_F(QuantityEditDlgTest, TriggersGiveWayToAnotherTypeOnlyWhenOkStoresIt) {
    CGroupDataAddress* pFirst = AddAddress(0x0101, 7);
    CGroupDataAddress* pSecond = AddAddress(0x0102, 7);
    CGroupDataAddress* pOther = AddAddress(0x0103, 6);
    CQuantity* pSixteenBit = AddQuantity(7, {pFirst, pSecond});
    CQuantity* pEightBit = AddQuantity(6, {pOther});
    const std::string strQuestion = "Die bereits ausgewählten Auslösegruppenadressen werden gelöscht.";
    const UINT nQuestion = MB_ICONQUESTION | MB_YESNOCANCEL;

    // No keeps the type; Yes, then Cancel, keeps the triggers.
    std::vector<CQuantity*> one{pSixteenBit};
    QuantityDlg first(nullptr, false, &one);
    first.SetTable(&m_table);
    m_runner.Then([&](QDialog&) {
        QWidget* pType = Item(first, QuantityDlg::IDC_TYPE);
        m_boxes.ExpectBox(strQuestion, "", nQuestion, IDNO);
        uitest::PressKey(pType, Qt::Key_Down);
        EXPECT_EQ(SelectedType(first), 7);
        m_boxes.ExpectBox(strQuestion, "", nQuestion, IDYES);
        uitest::PressKey(pType, Qt::Key_Down);
        EXPECT_EQ(SelectedType(first), 8);
        EXPECT_EQ(pSixteenBit->GetTriggerCount(false), 2);
        uitest::Click(Item(first, IDCANCEL));
    });
    EXPECT_EQ(first.DoModal(), IDCANCEL);
    EXPECT_EQ(pSixteenBit->GetMainType(), 7);
    EXPECT_EQ(pSixteenBit->GetTriggerCount(false), 2);
    EXPECT_TRUE(Received(VN_KINDS_CHANGED).empty());

    // OK removes them and tells every pane; the next quantity, shown with
    // its own type, is not asked about its triggers and keeps its type.
    std::vector<CQuantity*> two{pSixteenBit, pEightBit};
    QuantityDlg second(nullptr, false, &two);
    second.SetTable(&m_table);
    m_runner.Then([&](QDialog&) {
        m_boxes.ExpectBox(strQuestion, "", nQuestion, IDYES);
        uitest::PressKey(Item(second, QuantityDlg::IDC_TYPE), Qt::Key_Down);
        uitest::Click(Item(second, IDOK));
        EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
        EXPECT_EQ(second.GetCurrentQuantity(), pEightBit);
        EXPECT_EQ(SelectedType(second), 6);
        // Its own type change is asked about.
        m_boxes.ExpectBox(strQuestion, "", nQuestion, IDNO);
        uitest::PressKey(Item(second, QuantityDlg::IDC_TYPE), Qt::Key_Down);
        EXPECT_EQ(SelectedType(second), 6);
        uitest::Click(Item(second, IDCANCEL));
    });
    g_bDataModified = false;
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    EXPECT_TRUE(g_bDataModified);
    EXPECT_EQ(pSixteenBit->GetMainType(), 8);
    EXPECT_EQ(pSixteenBit->GetTriggerCount(false), 0);
    EXPECT_FALSE(pFirst->HasUsage(GAU_QUANTITY_TRIGGER));
    EXPECT_EQ(pEightBit->GetTriggerCount(false), 1);
    const std::vector<VIEWNOTIFY> kinds = Received(VN_KINDS_CHANGED);
    ASSERT_EQ(kinds.size(), 1u);
    EXPECT_EQ(kinds[0].nKind, VOK_ALL);
    ASSERT_EQ(Received(VN_CHANGED).size(), 1u);
    EXPECT_EQ(Received(VN_CHANGED)[0].pObject, pSixteenBit);
}

TEST_F(QuantityEditDlgTest, EnterRightAfterTypingStoresAValueWithinTheLimits) {
    QuantityDlg dlg(nullptr, true, nullptr);
    m_runner.Then([&](QDialog&) {
        ChooseEntry(dlg, QuantityDlg::IDC_TYPE, 3);
        Retype(dlg, QuantityDlg::IDC_RANGE_B, "99999");
        uitest::PressKey(Item(dlg, QuantityDlg::IDC_RANGE_B), Qt::Key_Return);
        ASSERT_EQ(Quantities().GetCount(), 2);

        ChooseEntry(dlg, QuantityDlg::IDC_TYPE, 5);
        ChooseEntry(dlg, QuantityDlg::IDC_EXPONENT, 1);
        Retype(dlg, QuantityDlg::IDC_INIT_VALUE, "-30");
        uitest::PressKey(Item(dlg, QuantityDlg::IDC_INIT_VALUE), Qt::Key_Return);
        uitest::Click(Item(dlg, IDCANCEL));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    const std::vector<CQuantity*> stored = All();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0]->GetRangeB(), 65535);
    EXPECT_EQ(stored[1]->GetExponent(), 0);
    EXPECT_DOUBLE_EQ(DecodeDptValue(9, stored[1]->GetInitValue()), -20.48);
}

}  // namespace
