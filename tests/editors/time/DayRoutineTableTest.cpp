// The day-routine table and its dialog: the rows and their order, inserting
// and editing routines through the dialog, the trigger chooser, the name
// limit and deleting routines with everything that runs them.

#include "app/Chronoset.h"
#include "editors/time/DayRoutineEditDlg.h"
#include "editors/time/DayRoutineTable.h"
#include "editors/time/TimeEditors.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/SpecialDay.h"
#include "model/SpecialDays.h"
#include "model/WeekRoutine.h"
#include "tests/editors/EditorTestSupport.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/MainTableView.h"
#include "ui/TableComboBox.h"
#include "ui/TableListHeader.h"
#include "ui/MainTableBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DayRoutineTableTest : public editortest::CEditorTest {
protected:
    using Row = Texts;

    void SetUp() override { InstallTimeEditors(); }
    void TearDown() override { ui::SetGroupAddressInsertHook(nullptr); }

    CChronoset& Set() { return m_run.Chronoset(); }
    CDayRoutines& Routines() { return *Set().GetDayRoutines(); }
    CDayRoutine* AddRoutine(const std::string& strName) { return NewRoutine(Set(), strName); }
    CGroupDataAddress* AddAddress(const std::string& strName, LONG nAddress, int nType = 1) {
        return NewAddress(Set(), strName, nAddress, {nType, 0});
    }
    CDayRoutineTable* MakeTable() {
        return OpenTable<CDayRoutineTable>(m_view, CDayRoutineTable::kTableType, nullptr, 400, 300);
    }
    static Row RowOf(const CDayRoutineTable& table, int nRow) { return RowTexts(table, nRow, 4); }
    static std::string Name(const CDayRoutineEditDlg& dlg) {
        return dlg.GetDlgItemAs<QLineEdit>(CDayRoutineEditDlg::IDC_NAME)->text().toStdString();
    }
    static void SetName(const CDayRoutineEditDlg& dlg, const std::string& strName) {
        dlg.GetDlgItemAs<QLineEdit>(CDayRoutineEditDlg::IDC_NAME)->setText(QString::fromStdString(strName));
    }
    static QCheckBox* Check(const CDayRoutineEditDlg& dlg) {
        return dlg.GetDlgItemAs<QCheckBox>(CDayRoutineEditDlg::IDC_TRIGGER_CHECK);
    }
    static std::vector<CObject*> Offered(const CDayRoutineEditDlg& dlg) {
        std::vector<CObject*> objects;
        for (int i = 0; i < dlg.GetTriggerCombo()->GetObjectCount(); ++i) {
            objects.push_back(dlg.GetTriggerCombo()->GetObject(i));
        }
        return objects;
    }

    uitest::CEditingRun m_run{false};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CMainTableView m_view;
};

TEST_F(DayRoutineTableTest, RowsShowTheRoutinesThenTheNewEntryRowWhichSortsLast) {
    CDayRoutineTable* pEmpty = MakeTable();
    ASSERT_NE(pEmpty, nullptr);
    EXPECT_EQ(pEmpty->GetItemCount(), 1);
    EXPECT_EQ(RowOf(*pEmpty, 0), (Row{"", "*** neuer Tagesablauf ***", "", ""}));
    EXPECT_EQ(pEmpty->GetObjectKind(), 1);
    EXPECT_EQ(pEmpty->GetMaxEntries(), 15);
    EXPECT_EQ(pEmpty->GetParentObjectMember(), &Routines());

    CDayRoutine* pWork = AddRoutine("Werktag");
    CDayRoutine* pHigh = AddRoutine("Hoch");
    CDayRoutine* pLow = AddRoutine("Niedrig");
    // 0x8001 is above 0x0002 as an unsigned 16-bit address.
    CGroupDataAddress* pHighAddress = AddAddress("Zentral", static_cast<LONG>(static_cast<SHORT>(0x8001)));
    CGroupDataAddress* pLowAddress = AddAddress("Alarm", 0x0002);
    pHigh->SetTriggerGroupAddress(pHighAddress);
    pLow->SetTriggerGroupAddress(pLowAddress);
    CDayRoutineTable* pTable = MakeTable();
    ASSERT_EQ(pTable->GetDataRowCount(), 3);
    const int nWork = pTable->FindRowOfObject(pWork);
    const int nHigh = pTable->FindRowOfObject(pHigh);
    const int nLow = pTable->FindRowOfObject(pLow);
    const int nNew = pTable->GetNewEntryRow();
    EXPECT_EQ(RowOf(*pTable, nWork), (Row{"01", "Werktag", "", "*leer*"}));
    EXPECT_EQ(RowOf(*pTable, nLow), (Row{"03", "Niedrig", pLowAddress->GetAddressText(false), "Alarm"}));

    for (int nColumn = 0; nColumn < 4; ++nColumn) {
        EXPECT_EQ(pTable->CompareItems(nColumn, nNew, nWork), 1);
        EXPECT_EQ(pTable->CompareItems(nColumn, nWork, nNew), -1);
        EXPECT_EQ(pTable->CompareItems(nColumn, nNew, nNew), 0);
    }
    EXPECT_LT(pTable->CompareItems(0, nWork, nLow), 0);
    EXPECT_GT(pTable->CompareItems(1, nWork, nHigh), 0);
    // Without a trigger before with one; addresses unsigned; names as text.
    EXPECT_EQ(pTable->CompareItems(2, nWork, nLow), -1);
    EXPECT_EQ(pTable->CompareItems(3, nHigh, nWork), 1);
    EXPECT_EQ(pTable->CompareItems(2, nHigh, nLow), 1);
    EXPECT_EQ(pTable->CompareItems(3, nHigh, nLow), 1);
    EXPECT_EQ(pTable->CompareItems(4, nHigh, nLow), 0);
}

TEST_F(DayRoutineTableTest, InsertingCreatesRoutinesAtOnceAndCancelTakesOnlyThePendingOneAway) {
    CDayRoutineTable* pTable = MakeTable();
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<CDayRoutineEditDlg&>(d);
        // Routine 1 exists as soon as the dialog shows.
        ASSERT_EQ(Routines().GetCount(), 1);
        EXPECT_EQ(dlg.GetWindowText(), "Tagesablauf");
        EXPECT_EQ(dlg.GetDlgItemText(IDOK), "&Einfügen");
        EXPECT_EQ(dlg.GetDlgItemText(CDayRoutineEditDlg::IDC_NUMBER), "01");
        EXPECT_FALSE(Check(dlg)->isChecked());
        EXPECT_FALSE(dlg.GetTriggerCombo()->isVisible());
        SetName(dlg, "Werktag");
        uitest::Click(dlg.GetDlgItem(IDOK));
        ASSERT_TRUE(dlg.isVisible());
        // The next routine takes the previous name.
        EXPECT_EQ(Routines().GetCount(), 2);
        EXPECT_EQ(dlg.GetDlgItemText(CDayRoutineEditDlg::IDC_NUMBER), "02");
        EXPECT_EQ(Name(dlg), "Werktag");
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    g_bDataModified = false;
    EXPECT_EQ(pTable->EditEntry(pTable->GetNewEntryRow()), 1);
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    ASSERT_EQ(Routines().GetCount(), 1);
    EXPECT_EQ(Routines().FindDayRoutine(1)->GetName(), "Werktag");
    EXPECT_EQ(Routines().FindDayRoutine(2), nullptr);
    EXPECT_TRUE(g_bDataModified);
    EXPECT_FALSE(pTable->IsEditInProgress());
}

TEST_F(DayRoutineTableTest, TheSixteenthRoutineIsRefusedBeforeAndInsideTheDialog) {
    for (int i = 0; i < 14; ++i) {
        AddRoutine("R" + std::to_string(i + 1));
    }
    CDayRoutineTable* pTable = MakeTable();
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<CDayRoutineEditDlg&>(d);
        EXPECT_EQ(dlg.GetDlgItemText(CDayRoutineEditDlg::IDC_NUMBER), "15");
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_FALSE(dlg.isVisible());
    });
    m_boxes.Expect(BoxWithText("Die maximale Anzahl von Tagesabläufen ist erreicht.", "Tagesabläufe ausgelastet"));
    EXPECT_EQ(pTable->EditEntry(-1), 1);
    EXPECT_EQ(Routines().GetCount(), 15);
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);

    m_boxes.Expect(BoxWithText("Die maximale Anzahl von Tagesabläufen ist erreicht.", "Tagesabläufe ausgelastet"));
    EXPECT_EQ(pTable->EditEntry(pTable->GetNewEntryRow()), 0);
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_EQ(Routines().GetCount(), 15);
}

TEST_F(DayRoutineTableTest, EditingStepsThroughTheSelectedRoutinesAndMovesTheTrigger) {
    CDayRoutine* pFirst = AddRoutine("Werktag");
    CDayRoutine* pSecond = AddRoutine("Wochenende");
    CDayRoutine* pOther = AddRoutine("Urlaub");
    CGroupDataAddress* pOwn = AddAddress("Eigener", 0x0101);
    CGroupDataAddress* pTaken = AddAddress("Belegt", 0x0102);
    CGroupDataAddress* pFree = AddAddress("Frei", 0x0103);
    AddAddress("Zwei Bit", 0x0104, 2);
    CGroupDataAddress* pSwitching = AddAddress("Schaltet", 0x0105);
    pSwitching->AddUse(GAU_SWITCHTIME);
    pFirst->SetTriggerGroupAddress(pOwn);
    pOther->SetTriggerGroupAddress(pTaken);

    CDayRoutineTable* pTable = MakeTable();
    pTable->SetItemSelected(pTable->FindRowOfObject(pFirst), true);
    pTable->SetItemSelected(pTable->FindRowOfObject(pSecond), true);
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<CDayRoutineEditDlg&>(d);
        EXPECT_EQ(dlg.GetDlgItemText(IDCANCEL), "Abbrechen");
        EXPECT_EQ(dlg.GetCurrentRoutine(), pFirst);
        // Only unused one-bit addresses besides the routine's own trigger.
        EXPECT_EQ(Offered(dlg), (std::vector<CObject*>{pOwn, pFree}));
        EXPECT_TRUE(Check(dlg)->isChecked());
        EXPECT_TRUE(dlg.GetTriggerCombo()->isVisible());
        EXPECT_EQ(GetComboSelData(dlg.GetTriggerCombo()), 0x0101);
        Check(dlg)->click();
        EXPECT_FALSE(dlg.GetTriggerCombo()->isVisible());
        EXPECT_FALSE(dlg.GetTriggerHeader()->isVisible());
        EXPECT_FALSE(dlg.GetDlgItem(CDayRoutineEditDlg::IDC_BUS_NOTE)->isVisible());
        SetName(dlg, "Arbeit");
        uitest::Click(dlg.GetDlgItem(IDOK));
        ASSERT_TRUE(dlg.isVisible());

        EXPECT_EQ(dlg.GetCurrentRoutine(), pSecond);
        EXPECT_EQ(dlg.GetDlgItemText(CDayRoutineEditDlg::IDC_NUMBER), "02");
        EXPECT_EQ(Name(dlg), "Wochenende");
        // The address the first routine gave up is free again.
        EXPECT_EQ(Offered(dlg), (std::vector<CObject*>{pOwn, pFree}));
        EXPECT_FALSE(Check(dlg)->isChecked());
        Check(dlg)->click();
        dlg.GetTriggerCombo()->SelectObject(pFree);
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(pTable->EditEntry(pTable->FindRowOfObject(pFirst)), 1);
    EXPECT_EQ(pFirst->GetName(), "Arbeit");
    EXPECT_EQ(pFirst->GetTriggerGroupAddress(), nullptr);
    EXPECT_FALSE(pOwn->HasUsage(GAU_DAYROUTINE_TRIGGER));
    EXPECT_EQ(pSecond->GetTriggerGroupAddress(), pFree);
    EXPECT_TRUE(pFree->HasUsage(GAU_DAYROUTINE_TRIGGER));
    EXPECT_EQ(pOther->GetTriggerGroupAddress(), pTaken);
}

TEST_F(DayRoutineTableTest, ACopiedRoutineNeverTakesANeighbourOfTheTemplatesTrigger) {
    CDayRoutine* pTemplate = AddRoutine("Vorlage");
    pTemplate->SetTriggerGroupAddress(AddAddress("Belegt", 0x0102));
    AddAddress("Nachbar", 0x0103);
    CDayRoutineTable* pTable = MakeTable();
    pTable->SelectSingleItem(pTable->FindRowOfObject(pTemplate));
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<CDayRoutineEditDlg&>(d);
        EXPECT_EQ(Name(dlg), "Vorlage");
        EXPECT_EQ(dlg.GetDlgItemText(CDayRoutineEditDlg::IDC_NUMBER), "02");
        // The template's trigger is taken, so nothing is preselected.
        EXPECT_FALSE(Check(dlg)->isChecked());
        EXPECT_EQ(dlg.GetTriggerCombo()->currentIndex(), -1);
        uitest::Click(dlg.GetDlgItem(IDOK));
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(pTable->EditEntry(-1), 1);
    ASSERT_EQ(Routines().GetCount(), 2);
    EXPECT_EQ(Routines().FindDayRoutine(2)->GetName(), "Vorlage");
    EXPECT_EQ(Routines().FindDayRoutine(2)->GetTriggerGroupAddress(), nullptr);
}

TEST_F(DayRoutineTableTest, NamesAreLimitedToFiftyCharacters) {
    CDayRoutine* pRoutine = AddRoutine("Alt");
    const std::string strFifty(50, 'x');
    std::string strUmlauts;
    for (int i = 0; i < 50; ++i) {
        strUmlauts += "ä";
    }
    std::vector<CDayRoutine*> routines{pRoutine};
    CDayRoutineEditDlg dlg(nullptr, false, &routines);
    m_runner.Then([&](QDialog&) {
        // Exactly fifty characters pass silently, also when they take more bytes.
        SetName(dlg, strUmlauts);
        dlg.CheckNameLength();
        EXPECT_EQ(Name(dlg), strUmlauts);
        SetName(dlg, strFifty);
        dlg.CheckNameLength();
        EXPECT_EQ(m_boxes.GetShown().size(), 0u);
        // Typing stops at fifty; only a name that came longer is cut on leaving.
        QWidget* pEdit = dlg.GetDlgItem(CDayRoutineEditDlg::IDC_NAME);
        uitest::PressKey(pEdit, Qt::Key_End);
        uitest::TypeText(pEdit, "y");
        EXPECT_EQ(Name(dlg), strFifty);
        // The click on OK that leaves it brings the message and the cut
        // name, and does nothing more; the next one stores.
        SetName(dlg, strFifty + "y");
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(Name(dlg), strFifty);
        EXPECT_EQ(QApplication::focusWidget(), pEdit);
        uitest::Click(dlg.GetDlgItem(IDOK));
    });
    m_boxes.Expect(BoxWithText("Die angegebene Bezeichnung ist mit 51 Zeichen zu lang und wird daher gekürzt. "
                            "Bezeichnungen dürfen maximal 50 Zeichen lang sein.", "Bezeichnung zu lang"));
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(pRoutine->GetName(), strFifty);
    EXPECT_EQ(CDayRoutineEditDlg::FirstCharacters("aäb", 2), "aä");
}

TEST_F(DayRoutineTableTest, TheNewAddressEntryRunsTheInsertionAndSelectsWhatItAdded) {
    CDayRoutine* pRoutine = AddRoutine("Werktag");
    CGroupDataAddress* pFree = AddAddress("Frei", 0x0103);
    CGroupDataAddress* pAdded = nullptr;
    DWORD dwTypes = 0;
    bool bAdd = false;
    ui::SetGroupAddressInsertHook([&](QWidget*, DWORD dwAllowed) -> CGroupDataAddress* {
        dwTypes = dwAllowed;
        if (!bAdd) {
            return nullptr;
        }
        pAdded = AddAddress("Neu", 0x0201);
        return pAdded;
    });
    std::vector<CDayRoutine*> routines{pRoutine};
    CDayRoutineEditDlg dlg(nullptr, false, &routines);
    m_runner.Then([&](QDialog&) {
        CTableComboBox* pCombo = dlg.GetTriggerCombo();
        Check(dlg)->click();
        pCombo->SelectObject(pFree);
        emit pCombo->activated(pCombo->currentIndex());
        const int nFree = pCombo->currentIndex();
        ASSERT_GE(pCombo->GetNewAddressIndex(), 0);

        // Cancelled: the previous choice comes back.
        pCombo->setCurrentIndex(pCombo->GetNewAddressIndex());
        emit pCombo->activated(pCombo->currentIndex());
        EXPECT_EQ(dwTypes, 1u);
        EXPECT_EQ(pCombo->currentIndex(), nFree);
        EXPECT_TRUE(Check(dlg)->isChecked());

        bAdd = true;
        pCombo->setCurrentIndex(pCombo->GetNewAddressIndex());
        emit pCombo->activated(pCombo->currentIndex());
        ASSERT_NE(pAdded, nullptr);
        EXPECT_EQ(GetComboSelData(pCombo), 0x0201);
        EXPECT_TRUE(Check(dlg)->isChecked());
        EXPECT_TRUE(pCombo->isVisible());
        uitest::Click(dlg.GetDlgItem(IDOK));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(pRoutine->GetTriggerGroupAddress(), pAdded);
}

TEST_F(DayRoutineTableTest, DeletingTakesSwitchingTimesWeekdaysAndSpecialDaysAlong) {
    CDayRoutine* pKept = AddRoutine("Bleibt");
    CDayRoutine* pGone = AddRoutine("Geht");
    pGone->AddSwitchTime(nullptr);
    pGone->AddSwitchTime(nullptr);
    pGone->AddSwitchTime(nullptr);
    CWeekRoutine* pWeek = Set().GetWeekRoutine();
    pWeek->SetDayRoutine(0, pGone);
    pWeek->SetDayRoutine(1, pGone);
    pWeek->SetDayRoutine(2, pKept);
    CSpecialDays* pDays = Set().GetSpecialDays();
    pDays->CreateSpecialDay()->SetDayRoutine(pGone);
    pDays->CreateSpecialDay()->SetDayRoutine(pKept);
    pDays->CreateSpecialDay()->SetDayRoutine(pGone);

    CDayRoutineTable* pTable = MakeTable();
    const std::string strQuestion =
        "Wollen Sie die ausgewählten 1 Tagesabläufe löschen? Dadurch werden auch 3 Schaltzeiten, 2 Sondertage und "
        "2 Wochentagszuordnungen gelöscht.";
    // Nothing selected: nothing asked.
    pTable->clearSelection();
    pTable->SendCommand(ID_TABLE_DELETE);
    EXPECT_EQ(m_boxes.GetShown().size(), 0u);

    pTable->SelectSingleItem(pTable->FindRowOfObject(pGone));
    m_boxes.ExpectText(strQuestion, IDNO);
    pTable->SendCommand(ID_TABLE_DELETE);
    EXPECT_EQ(Routines().GetCount(), 2);

    g_bDataModified = false;
    m_boxes.ExpectText(strQuestion, IDYES);
    pTable->SendCommand(ID_TABLE_DELETE);
    EXPECT_TRUE(g_bDataModified);
    ASSERT_EQ(Routines().GetCount(), 1);
    EXPECT_EQ(Routines().FindDayRoutine(2), nullptr);
    EXPECT_EQ(pWeek->GetDayRoutine(0), nullptr);
    EXPECT_EQ(pWeek->GetDayRoutine(1), nullptr);
    EXPECT_EQ(pWeek->GetDayRoutine(2), pKept);
    ASSERT_EQ(pDays->GetCount(), 1);
    EXPECT_EQ(pDays->GetSpecialDays().front()->GetDayRoutine(), pKept);
    EXPECT_EQ(Routines().GetSwitchTimeCount(), 0);
    // No row is left pointing at the deleted routine.
    EXPECT_EQ(pTable->GetDataRowCount(), 1);
    EXPECT_EQ(pTable->GetItemData(0), pKept);
}

// The row the user clicks, double-clicks or right-clicks is the one Return,
// the double click, Insert and the context menu act on, also after the
// table changed under the mark (a delete).
TEST_F(DayRoutineTableTest, TheUsersRowIsTheOneEditedAfterClicksKeysAndDeletes) {
    AddRoutine("Werktag");
    AddRoutine("Wochenende");
    CDayRoutine* pHoliday = AddRoutine("Feiertag");
    CDayRoutineTable* pTable = MakeTable();
    QWidget* pViewport = pTable->viewport();
    const auto rowPoint = [&](const CDayRoutine* pRoutine) {
        return pTable->GetItemRect(pTable->FindRowOfObject(pRoutine)).center();
    };
    const auto editsOnly = [&](const std::string& strNumber) {
        m_runner.Then([&, strNumber](QDialog& d) {
            auto& dlg = dynamic_cast<CDayRoutineEditDlg&>(d);
            EXPECT_EQ(dlg.GetDlgItemText(IDCANCEL), "Abbrechen");
            EXPECT_EQ(dlg.GetDlgItemText(CDayRoutineEditDlg::IDC_NUMBER), strNumber);
            uitest::Click(dlg.GetDlgItem(IDOK));
            // One routine selected: the dialog closes after it.
            EXPECT_FALSE(dlg.isVisible()) << "editing " << strNumber;
        });
    };

    uitest::Click(pViewport, rowPoint(pHoliday));
    editsOnly("03");
    uitest::PressWindowKey(pTable, Qt::Key_Return);
    EXPECT_EQ(m_runner.GetRunCount(), 1);

    editsOnly("02");
    uitest::DoubleClick(pViewport, rowPoint(Routines().FindDayRoutine(2)));
    EXPECT_EQ(m_runner.GetRunCount(), 2);

    // Insert takes the marked routine as the template.
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<CDayRoutineEditDlg&>(d);
        EXPECT_EQ(dlg.GetDlgItemText(CDayRoutineEditDlg::IDC_NUMBER), "04");
        EXPECT_EQ(Name(dlg), "Wochenende");
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    uitest::PressWindowKey(pTable, Qt::Key_Insert);
    EXPECT_EQ(m_runner.GetRunCount(), 3);

    uitest::Click(pViewport, rowPoint(Routines().FindDayRoutine(1)));
    m_boxes.ExpectAny(IDYES);
    uitest::PressWindowKey(pTable, Qt::Key_Delete);
    ASSERT_EQ(Routines().FindDayRoutine(1), nullptr);
    uitest::Click(pViewport, rowPoint(pHoliday));
    editsOnly("03");
    uitest::PressWindowKey(pTable, Qt::Key_Return);
    EXPECT_EQ(m_runner.GetRunCount(), 4);

    // A right click selects its row alone and opens the menu at the pointer;
    // its Edit (chosen from the keyboard's menu, with no button held) edits
    // that row.
    uitest::CTestPopupMenuRunner popups;
    const QPoint ptRoutine2 = rowPoint(Routines().FindDayRoutine(2));
    popups.Then([](QMenu&) { return nullptr; });
    uitest::Click(pViewport, ptRoutine2, Qt::RightButton);
    EXPECT_EQ(popups.GetLastPoint(), pViewport->mapToGlobal(ptRoutine2));
    EXPECT_EQ(pTable->GetSelectedCount(), 1);
    EXPECT_TRUE(pTable->IsItemSelected(pTable->FindRowOfObject(Routines().FindDayRoutine(2))));
    popups.ThenChoose(ID_TABLE_EDIT);
    editsOnly("02");
    uitest::PressWindowKey(pTable, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(m_runner.GetRunCount(), 5);
}

// The trigger chooser made at run time follows the check box in the
// keyboard order and is the target of "&Gruppenadresse:"; the labels'
// mnemonics leave the trigger as it was.
TEST_F(DayRoutineTableTest, TheTriggerChooserTakesThePlaceholdersPlaceAndLabelsLeaveTheTrigger) {
    CGroupDataAddress* pAddress = AddAddress("Anwesenheit", 0x0101);
    AddRoutine("Werktag")->SetTriggerGroupAddress(pAddress);
    CDayRoutineTable* pTable = MakeTable();
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<CDayRoutineEditDlg&>(d);
        QWidget* pCombo = dlg.GetTriggerCombo();
        ASSERT_TRUE(pCombo->isVisible());
        uitest::PressKey(Check(dlg), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), pCombo);
        uitest::PressWindowKey(&dlg, Qt::Key_M, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(CDayRoutineEditDlg::IDC_NAME));
        uitest::PressWindowKey(&dlg, Qt::Key_G, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), pCombo);
        // "&Optionen:" only gives the check box the focus; its own "&Auslösen
        // über Bus" toggles it.
        uitest::PressWindowKey(&dlg, Qt::Key_O, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), Check(dlg));
        // A button's mnemonic clicks it 100 ms late; the label's must not.
        EXPECT_FALSE(QTest::qWaitFor([&]() { return !Check(dlg)->isChecked(); }, 300));
        EXPECT_TRUE(pCombo->isVisible());
        uitest::PressWindowKey(&dlg, Qt::Key_A, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&]() { return !pCombo->isVisible(); }));
        uitest::PressWindowKey(&dlg, Qt::Key_A, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&]() { return pCombo->isVisible(); }));
        uitest::PressWindowKey(&dlg, Qt::Key_O, Qt::AltModifier);
        uitest::PressWindowKey(&dlg, Qt::Key_Return);
    });
    uitest::Click(pTable->viewport(), pTable->GetItemRect(0).center());
    uitest::PressWindowKey(pTable, Qt::Key_Return);
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_EQ(Routines().FindDayRoutine(1)->GetTriggerGroupAddress(), pAddress);
}

}  // namespace
