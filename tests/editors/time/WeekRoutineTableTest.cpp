// The week-routine table and its dialog: the seven fixed rows and their
// texts, sorting, clearing weekdays, keeping up with day routines changed
// elsewhere and stepping through the selected weekdays in the dialog.

#include "app/Chronoset.h"
#include "editors/time/TimeEditors.h"
#include "editors/time/WeekRoutineEditDlg.h"
#include "editors/time/WeekRoutineTable.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/WeekRoutine.h"
#include "platform/ui/CmdUI.h"
#include "tests/editors/EditorTestSupport.h"
#include "ui/ParameterDlg.h"
#include "ui/TableComboBox.h"
#include "ui/ViewNotify.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Keeps the last enable state an update handler gave.
class CRecordingCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        m_bEnabled = bOn != FALSE;
    }
    bool m_bEnabled = true;
};

class WeekRoutineTableTest : public editortest::CEditorTest {
protected:
    using Row = Texts;

    void SetUp() override {
        InstallTimeEditors();
        m_view.SetDispatcher(&m_dlg);
        m_dlg.SetPanes(nullptr, &m_view, nullptr, nullptr);
    }
    void TearDown() override { m_view.DeleteTableBox(); }

    CChronoset& Set() { return m_run.Chronoset(); }
    CWeekRoutine& Week() { return *Set().GetWeekRoutine(); }

    CDayRoutine* AddRoutine(const std::string& strName) { return NewRoutine(Set(), strName); }
    CWeekRoutineTable* Open() {
        return OpenTable<CWeekRoutineTable>(m_view, CWeekRoutineTable::kTableType, nullptr, 400, 300);
    }
    static Row RowOf(const CWeekRoutineTable& table, int nRow) { return RowTexts(table, nRow, 3); }
    static void Select(CWeekRoutineTable& table, const std::vector<int>& rows) {
        for (int r = 0; r < table.GetItemCount(); ++r) {
            table.SetItemSelected(r, false);
        }
        for (int nRow : rows) {
            table.SetItemSelected(nRow, true);
        }
        if (!rows.empty()) {
            table.SetSelectionMark(rows.front());
        }
    }

    uitest::CEditingRun m_run{true};
    CParameterDlg m_dlg{nullptr, nullptr};
    CMainTableView m_view;
};

TEST_F(WeekRoutineTableTest, SevenFixedRowsWithTheirRoutinesAndNoNewEntry) {
    CDayRoutine* pWork = AddRoutine("Arbeit");
    CDayRoutine* pFree = AddRoutine("Frei");
    Week().SetDayRoutine(0, pWork);
    Week().SetDayRoutine(6, pFree);
    CWeekRoutineTable* pTable = Open();
    ASSERT_NE(pTable, nullptr);

    ASSERT_EQ(pTable->GetItemCount(), 7);
    EXPECT_EQ(pTable->GetDataRowCount(), 7);
    EXPECT_EQ(RowOf(*pTable, 0), (Row{"Montag", "1", "Arbeit"}));
    EXPECT_EQ(RowOf(*pTable, 1), (Row{"Dienstag", "", "\"kein\""}));
    EXPECT_EQ(RowOf(*pTable, 6), (Row{"Sonntag", "2", "Frei"}));
    EXPECT_EQ(pTable->GetSelectedCount(), 1);
    EXPECT_TRUE(pTable->IsItemSelected(0));
    EXPECT_EQ(pTable->GetColumnPrefs(), (std::vector<WORD>{1, 2, 3}));

    // New is never offered, and Insert opens no dialog (the runner would
    // fail the test on an unscripted one).
    uitest::CTestModalRunner runner;
    CRecordingCmdUI cmdUI;
    VIEWNOTIFY query;
    query.nType = VN_UPDATE_COMMAND_UI;
    query.pCmdUI = &cmdUI;
    query.nCommandId = ID_TABLE_NEW;
    pTable->OnViewNotify(&query);
    EXPECT_EQ(query.nHandled, VNH_HANDLED);
    EXPECT_FALSE(cmdUI.m_bEnabled);
    uitest::PressKey(pTable, Qt::Key_Insert);
    EXPECT_EQ(runner.GetRunCount(), 0);
    EXPECT_EQ(pTable->GetItemCount(), 7);
    EXPECT_EQ(pTable->EditEntry(7), 0);
    EXPECT_EQ(pTable->EditEntry(-1), 0);
}

TEST_F(WeekRoutineTableTest, SortingPutsDaysWithoutRoutineFirstAndKeepsTheWeekdays) {
    CDayRoutine* pB = AddRoutine("B");
    CDayRoutine* pA = AddRoutine("A");
    Week().SetDayRoutine(0, pB);  // number 1, name B
    Week().SetDayRoutine(2, pA);  // number 2, name A
    Week().SetDayRoutine(4, pB);
    CWeekRoutineTable* pTable = Open();
    ASSERT_NE(pTable, nullptr);

    auto weekdays = [pTable]() {
        std::vector<int> days;
        for (int r = 0; r < pTable->GetItemCount(); ++r) {
            days.push_back(pTable->GetRowWeekday(r));
        }
        return days;
    };
    pTable->SortByColumn(2);
    EXPECT_EQ(weekdays(), (std::vector<int>{1, 3, 5, 6, 2, 0, 4}));
    pTable->SortByColumn(1);
    EXPECT_EQ(weekdays(), (std::vector<int>{1, 3, 5, 6, 0, 4, 2}));
    pTable->SortByColumn(0);
    EXPECT_EQ(weekdays(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    pTable->SortByColumn(0);
    EXPECT_EQ(weekdays(), (std::vector<int>{6, 5, 4, 3, 2, 1, 0}));

    // Texts follow the weekday of a row, not its position (Sunday is on top).
    Week().SetDayRoutine(6, pA);
    VIEWNOTIFY changed;
    changed.nType = VN_CHANGED;
    changed.nKind = VOK_WEEKROUTINE;
    changed.pObject = WeekdayToObject(6);
    m_view.OnViewNotify(&changed);
    EXPECT_EQ(RowOf(*pTable, 0), (Row{"Sonntag", "2", "A"}));
    EXPECT_EQ(changed.nHandled, VNH_HANDLED);
}

TEST_F(WeekRoutineTableTest, DeleteClearsTheSelectedWeekdaysWithoutAskingOrRemovingRows) {
    CDayRoutine* pWork = AddRoutine("Arbeit");
    for (int nDay = 0; nDay < 7; ++nDay) {
        Week().SetDayRoutine(nDay, pWork);
    }
    CWeekRoutineTable* pTable = Open();
    ASSERT_NE(pTable, nullptr);
    Select(*pTable, {1, 3});

    CScriptedMessageBoxSink boxes;
    uitest::PressKey(pTable, Qt::Key_Delete);
    EXPECT_TRUE(boxes.GetShown().empty());
    EXPECT_EQ(pTable->GetItemCount(), 7);
    EXPECT_EQ(Week().GetDayRoutine(0), pWork);
    EXPECT_EQ(Week().GetDayRoutine(1), nullptr);
    EXPECT_EQ(Week().GetDayRoutine(2), pWork);
    EXPECT_EQ(Week().GetDayRoutine(3), nullptr);
    EXPECT_EQ(RowOf(*pTable, 1), (Row{"Dienstag", "", "\"kein\""}));
    EXPECT_EQ(RowOf(*pTable, 3), (Row{"Donnerstag", "", "\"kein\""}));
    EXPECT_EQ(RowOf(*pTable, 2), (Row{"Mittwoch", "1", "Arbeit"}));
    EXPECT_TRUE(g_bDataModified);
    // The selection stays where it was.
    EXPECT_TRUE(pTable->IsItemSelected(1));
    EXPECT_TRUE(pTable->IsItemSelected(3));
}

TEST_F(WeekRoutineTableTest, RoutinesChangedOrDeletedElsewhereOnlyRewriteTheTexts) {
    CDayRoutine* pWork = AddRoutine("Arbeit");
    Week().SetDayRoutine(1, pWork);
    CWeekRoutineTable* pTable = Open();
    ASSERT_NE(pTable, nullptr);
    Select(*pTable, {4});
    QTreeWidgetItem* pTuesday = pTable->topLevelItem(1);

    pWork->SetName("Büro");
    VIEWNOTIFY changed;
    changed.nType = VN_CHANGED;
    changed.nKind = VOK_DAYROUTINE;
    changed.pObject = pWork;
    m_view.OnViewNotify(&changed);
    EXPECT_EQ(RowOf(*pTable, 1), (Row{"Dienstag", "1", "Büro"}));

    // The routine leaves the list; even while the week still refers to it
    // the row shows none and never reads the routine again.
    Set().GetDayRoutines()->DeleteDayRoutine(pWork);
    VIEWNOTIFY removed;
    removed.nType = VN_REMOVED;
    removed.nKind = VOK_DAYROUTINE;
    removed.pObject = pWork;
    m_view.OnViewNotify(&removed);
    delete pWork;
    EXPECT_EQ(RowOf(*pTable, 1), (Row{"Dienstag", "", "\"kein\""}));
    EXPECT_EQ(pTable->topLevelItem(1), pTuesday);
    EXPECT_EQ(pTable->GetItemCount(), 7);
    EXPECT_TRUE(pTable->IsItemSelected(4));
    EXPECT_EQ(pTable->GetSelectedCount(), 1);
    Week().SetDayRoutine(1, nullptr);
}

TEST_F(WeekRoutineTableTest, EditingStepsThroughTheSelectedWeekdaysOnePerOk) {
    CDayRoutine* pWork = AddRoutine("Arbeit");
    CDayRoutine* pFree = AddRoutine("Frei");
    Week().SetDayRoutine(2, pWork);
    CWeekRoutineTable* pTable = Open();
    ASSERT_NE(pTable, nullptr);
    Select(*pTable, {0, 2, 4});
    pTable->SetSelectionMark(2);

    std::vector<std::string> captions;
    std::vector<bool> noneShown;
    uitest::CTestModalRunner runner;
    runner.Then([&](QDialog& dialog) {
        auto& dlg = dynamic_cast<CWeekRoutineEditDlg&>(dialog);
        CTableComboBox* pCombo = dlg.GetDayRoutineCombo();
        ASSERT_NE(pCombo, nullptr);
        ASSERT_EQ(uitest::FindControl(&dlg, CWeekRoutineEditDlg::IDC_DAY_ROUTINE), pCombo);
        EXPECT_EQ(pCombo->count(), 3);  // the none entry and both routines
        QWidget* pOk = uitest::FindControl(&dlg, IDOK);
        // Monday: none so far, becomes "Frei".
        captions.push_back(dlg.GetWindowText());
        noneShown.push_back(pCombo->currentIndex() == 0);
        pCombo->SelectObject(pFree);
        uitest::Click(pOk);
        // Wednesday: shows "Arbeit", becomes none.
        captions.push_back(dlg.GetWindowText());
        noneShown.push_back(pCombo->currentIndex() == 0);
        pCombo->SelectObject(nullptr);
        uitest::Click(pOk);
        // Friday: becomes "Arbeit"; the last OK closes the dialog.
        captions.push_back(dlg.GetWindowText());
        pCombo->SelectObject(pWork);
        uitest::Click(pOk);
    });
    EXPECT_EQ(pTable->EditEntry(2), 1);
    EXPECT_EQ(runner.GetRunCount(), 1);

    EXPECT_EQ(captions, (std::vector<std::string>{"Standard-Tagesablauf für Montag", "Standard-Tagesablauf für Mittwoch",
                                                  "Standard-Tagesablauf für Freitag"}));
    EXPECT_EQ(noneShown, (std::vector<bool>{true, false}));
    EXPECT_EQ(Week().GetDayRoutine(0), pFree);
    EXPECT_EQ(Week().GetDayRoutine(2), nullptr);
    EXPECT_EQ(Week().GetDayRoutine(4), pWork);
    EXPECT_EQ(Week().GetDayRoutine(1), nullptr);
    EXPECT_TRUE(g_bDataModified);
    EXPECT_EQ(RowOf(*pTable, 0), (Row{"Montag", "2", "Frei"}));
    EXPECT_EQ(RowOf(*pTable, 2), (Row{"Mittwoch", "", "\"kein\""}));
    EXPECT_EQ(RowOf(*pTable, 4), (Row{"Freitag", "1", "Arbeit"}));
    EXPECT_EQ(pTable->GetSelectionMark(), 2);
    EXPECT_FALSE(pTable->IsEditInProgress());

    // Cancel on the first weekday changes nothing.
    g_bDataModified = false;
    runner.Then([](QDialog& dialog) { uitest::Click(uitest::FindControl(&dialog, IDCANCEL)); });
    Select(*pTable, {0});
    EXPECT_EQ(pTable->EditEntry(0), 1);
    EXPECT_EQ(Week().GetDayRoutine(0), pFree);
    EXPECT_FALSE(g_bDataModified);

    // With no row selected the row asked for is edited.
    std::string strCaption;
    runner.Then([&](QDialog& dialog) {
        strCaption = dynamic_cast<CWeekRoutineEditDlg&>(dialog).GetWindowText();
        uitest::Click(uitest::FindControl(&dialog, IDCANCEL));
    });
    Select(*pTable, {});
    EXPECT_EQ(pTable->EditEntry(3), 1);
    EXPECT_EQ(strCaption, "Standard-Tagesablauf für Donnerstag");
}

TEST_F(WeekRoutineTableTest, DialogReportsMissingOrEmptyWeekdayLists) {
    uitest::CLogCapture log;
    {
        CWeekRoutineEditDlg dlg(nullptr, nullptr);
    }
    EXPECT_NE(log.Lines().find("CWeekRoutineEditDlg: item list not specified"), std::string::npos) << log.Lines();
    std::vector<WORD> empty;
    {
        CWeekRoutineEditDlg dlg(nullptr, &empty);
    }
    EXPECT_NE(log.Lines().find("CWeekRoutineEditDlg: no items in item list"), std::string::npos) << log.Lines();

    // A list without a weekday opens the dialog without one; OK assigns nothing.
    Week().SetDayRoutine(0, AddRoutine("Arbeit"));
    std::vector<WORD> none(7, static_cast<WORD>(-1));
    CWeekRoutineEditDlg dlg(nullptr, &none);
    uitest::CTestModalRunner runner;
    runner.Then([](QDialog& dialog) { uitest::Click(uitest::FindControl(&dialog, IDOK)); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_NE(log.Lines().find("CWeekRoutineEditDlg: specified no day to be edited"), std::string::npos)
        << log.Lines();
    EXPECT_NE(Week().GetDayRoutine(0), nullptr);
    EXPECT_FALSE(g_bDataModified);
}

// The chooser made at run time stands where the template's placeholder
// stood: it has the first focus, Tab runs from it to OK, and the label's
// mnemonic leads to it.
TEST_F(WeekRoutineTableTest, TheChooserTakesThePlaceholdersPlaceInTheKeyboardOrder) {
    AddRoutine("Arbeit");
    CWeekRoutineTable* pTable = Open();
    uitest::CTestModalRunner runner;
    runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<CWeekRoutineEditDlg&>(d);
        QWidget* pCombo = dlg.GetDlgItem(CWeekRoutineEditDlg::IDC_DAY_ROUTINE);
        ASSERT_NE(pCombo, nullptr);
        EXPECT_EQ(QApplication::focusWidget(), pCombo);
        uitest::PressWindowKey(&dlg, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(IDOK));
        uitest::PressWindowKey(&dlg, Qt::Key_T, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), pCombo);
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    uitest::Click(pTable->viewport(), pTable->GetItemRect(0).center());
    uitest::PressWindowKey(pTable, Qt::Key_Return);
    EXPECT_EQ(runner.GetRunCount(), 1);
}

}  // namespace
