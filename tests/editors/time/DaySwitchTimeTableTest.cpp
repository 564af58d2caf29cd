// The switching-time table of a day routine: its rows and sort, the limit
// over all routines, copy and paste with a colliding time asked anew, and
// deleting, driven through the window.

#include "app/Chronoset.h"
#include "editors/time/DaySwitchTimeTable.h"
#include "editors/time/SetSwitchTimeDlg.h"
#include "editors/time/TimeEditors.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "tests/editors/EditorTestSupport.h"
#include "ui/ParameterDlg.h"

#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

namespace {

class DaySwitchTimeTableTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        InstallTimeEditors();
        m_pRoutine = NewRoutine(Set(), "Werktag");
        m_pLight = AddAddress("Licht", 0x0101);
        m_pBlind = AddAddress("Jalousie", 0x0102);
        m_view.SetDispatcher(&m_dlg);
        m_dlg.SetPanes(nullptr, &m_view, nullptr, nullptr);
    }
    void TearDown() override { m_view.DeleteTableBox(); }

    CChronoset& Set() { return m_run.Chronoset(); }
    CGroupDataAddress* AddAddress(const std::string& strName, LONG nAddress) {
        return NewAddress(Set(), strName, nAddress, {1, 0});
    }
    static CDaySwitchTime* AddTime(CDayRoutine* pRoutine, CGroupDataAddress* pAddress, int nHour, int nMinute) {
        return NewSwitchTime(pRoutine, pAddress, nHour, nMinute);
    }
    CDaySwitchTimeTable* Open(CDayRoutine* pRoutine) {
        return OpenTable<CDaySwitchTimeTable>(m_view, CDaySwitchTimeTable::kTableType, pRoutine, 500, 300);
    }

    uitest::CEditingRun m_run{true};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CParameterDlg m_dlg{nullptr, nullptr};
    CMainTableView m_view;
    CDayRoutine* m_pRoutine = nullptr;
    CGroupDataAddress* m_pLight = nullptr;
    CGroupDataAddress* m_pBlind = nullptr;
};

TEST_F(DaySwitchTimeTableTest, RowsSortByTimeAndRowsWithoutAddressComeLast) {
    CDaySwitchTime* pLate = AddTime(m_pRoutine, m_pLight, 18, 30);
    CDaySwitchTime* pEarly = AddTime(m_pRoutine, m_pBlind, 6, 5);
    CDaySwitchTime* pNone = AddTime(m_pRoutine, nullptr, 12, 0);
    pEarly->SetSendOnChange(1);
    CDaySwitchTimeTable* pTable = Open(m_pRoutine);
    ASSERT_NE(pTable, nullptr);
    ASSERT_EQ(pTable->GetItemCount(), 4);
    const int nNew = pTable->GetNewEntryRow();
    EXPECT_EQ(pTable->GetItemText(nNew, 2), "*** neue Schaltzeit ***");
    const int nEarly = pTable->FindRowOfObject(pEarly);
    EXPECT_EQ(pTable->GetItemText(nEarly, 1), m_pBlind->GetAddressText(false));
    EXPECT_EQ(pTable->GetItemText(nEarly, 2), "Jalousie");
    EXPECT_EQ(pTable->GetItemText(nEarly, 5), "+");
    EXPECT_EQ(pTable->GetItemText(pTable->FindRowOfObject(pNone), 2), "*leer*");
    EXPECT_EQ(pTable->GetParentObject(), m_pRoutine);

    // A click on the time column's header sorts by the time of day; the
    // new-entry row stays last.
    pTable->SortByColumn(0);
    EXPECT_EQ(pTable->GetItemData(0), pEarly);
    EXPECT_EQ(pTable->GetItemData(1), pNone);
    EXPECT_EQ(pTable->GetItemData(2), pLate);
    EXPECT_EQ(pTable->GetItemData(3), nullptr);
    // Without an address after one with, in every address column.
    for (int nColumn = 1; nColumn <= 4; ++nColumn) {
        EXPECT_EQ(pTable->CompareItems(nColumn, pTable->FindRowOfObject(pNone), nEarly), 1) << nColumn;
    }
    // A set flag after a cleared one.
    EXPECT_EQ(pTable->CompareItems(5, pTable->FindRowOfObject(pEarly), pTable->FindRowOfObject(pLate)), 1);
}

TEST_F(DaySwitchTimeTableTest, TheLimitCountsEveryRoutine) {
    CDayRoutine* pOther = Set().GetDayRoutines()->CreateDayRoutine();
    for (int i = 0; i < CDaySwitchTimeTable::kMaxSwitchTimes; ++i) {
        AddTime(i % 2 == 0 ? pOther : m_pRoutine, m_pLight, (i / 60) % 24, i % 60);
    }
    CDaySwitchTimeTable* pTable = Open(m_pRoutine);
    CScriptedMessageBoxSink::Expectation full;
    full.text = "Die maximale Anzahl von Schaltzeiten ist erreicht.";
    full.caption = "Schaltzeiten ausgelastet";
    m_boxes.Expect(full);
    uitest::PressKey(pTable, Qt::Key_Insert);
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
    EXPECT_EQ(m_runner.GetRunCount(), 0);
}

// Copies pasted into the routine they came from collide: the time is asked
// anew, Cancel pastes nothing, a free time pastes the copy.
TEST_F(DaySwitchTimeTableTest, PastedCopiesThatCollideAskForANewTime) {
    CDaySwitchTime* pSource = AddTime(m_pRoutine, m_pLight, 7, 0);
    pSource->SetValue(SwitchTimeValue{1});
    CDaySwitchTimeTable* pTable = Open(m_pRoutine);
    uitest::Click(pTable->viewport(), RowPoint(*pTable, 0));
    uitest::PressWindowKey(&m_view, Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(m_dlg.GetClipboard().GetCount(), 1u);

    std::string strAsked;
    m_runner.Then([&](QDialog& d) {
        strAsked = dynamic_cast<CSetSwitchTimeDlg&>(d).GetDlgItemText(1099);
        uitest::Click(dynamic_cast<CSetSwitchTimeDlg&>(d).GetDlgItem(IDCANCEL));
    });
    uitest::PressWindowKey(&m_view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(strAsked, "Für die Gruppe 'Licht' (Adresse " + m_pLight->GetAddressText(false) +
                            ") mit der Schaltzeit 07:00 Uhr gibt es bereits einen Eintrag. Bitte wählen Sie eine "
                            "neue Schaltzeit.");
    EXPECT_EQ(m_pRoutine->GetSwitchTimeCount(), 1);

    // The same time chosen again is asked once more; then 07:30 is free.
    m_runner.Then([](QDialog& d) {
        dynamic_cast<CSetSwitchTimeDlg&>(d).SetTime(7, 0);
        uitest::Click(dynamic_cast<CSetSwitchTimeDlg&>(d).GetDlgItem(IDOK));
    });
    m_runner.Then([](QDialog& d) {
        dynamic_cast<CSetSwitchTimeDlg&>(d).SetTime(7, 30);
        uitest::Click(dynamic_cast<CSetSwitchTimeDlg&>(d).GetDlgItem(IDOK));
    });
    g_bDataModified = false;
    uitest::PressWindowKey(&m_view, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(m_pRoutine->GetSwitchTimeCount(), 2);
    const CDaySwitchTime* pCopy = m_pRoutine->GetSwitchTimes().back();
    EXPECT_EQ(pCopy->GetGroupAddress(), m_pLight);
    EXPECT_EQ(pCopy->GetHour(), 7);
    EXPECT_EQ(pCopy->GetMinute(), 30);
    EXPECT_EQ(pCopy->GetValue().dwValue, 1u);
    EXPECT_TRUE(g_bDataModified);
    // The table shows the copy.
    EXPECT_GE(pTable->FindRowOfObject(const_cast<CDaySwitchTime*>(pCopy)), 0);
}

// A copy pasted into another routine is the selection there, mark and all,
// so that Delete asks about it and not about the row selected before.
TEST_F(DaySwitchTimeTableTest, APastedCopyIsTheSelectionThatDeleteTakes) {
    AddTime(m_pRoutine, m_pLight, 7, 0);
    CDayRoutine* pOther = Set().GetDayRoutines()->CreateDayRoutine();
    CDaySwitchTime* pEarly = AddTime(pOther, m_pBlind, 6, 0);
    CDaySwitchTime* pLate = AddTime(pOther, m_pBlind, 18, 0);
    CDaySwitchTimeTable* pTable = Open(m_pRoutine);
    uitest::Click(pTable->viewport(), RowPoint(*pTable, 0));
    uitest::PressWindowKey(&m_view, Qt::Key_C, Qt::ControlModifier);

    pTable = Open(pOther);
    uitest::Click(pTable->viewport(), RowPoint(*pTable, pTable->FindRowOfObject(pLate)));
    uitest::PressWindowKey(&m_view, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(pOther->GetSwitchTimeCount(), 3);
    const int nCopy = pTable->FindRowOfObject(pOther->GetSwitchTimes().back());
    EXPECT_EQ(pTable->GetSelectedEntryCount(), 1);
    EXPECT_EQ(pTable->GetSelectionMark(), nCopy);

    m_boxes.ExpectText("Wollen Sie die ausgewählten 1 Schaltzeiten löschen?", IDYES);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    EXPECT_EQ(pOther->GetSwitchTimes(), (std::list<CDaySwitchTime*>{pEarly, pLate}));
}

TEST_F(DaySwitchTimeTableTest, DeletingAsksAndTakesTheSelectedRowsAway) {
    AddTime(m_pRoutine, m_pLight, 6, 0);
    CDaySwitchTime* pKept = AddTime(m_pRoutine, m_pBlind, 7, 0);
    AddTime(m_pRoutine, m_pLight, 8, 0);
    CDaySwitchTimeTable* pTable = Open(m_pRoutine);
    uitest::Click(pTable->viewport(), RowPoint(*pTable, 0));
    uitest::Click(pTable->viewport(), RowPoint(*pTable, 2), Qt::LeftButton, Qt::ControlModifier);
    m_boxes.ExpectText("Wollen Sie die ausgewählten 2 Schaltzeiten löschen?", IDNO);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    EXPECT_EQ(m_pRoutine->GetSwitchTimeCount(), 3);

    m_boxes.ExpectText("Wollen Sie die ausgewählten 2 Schaltzeiten löschen?", IDYES);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    ASSERT_EQ(m_pRoutine->GetSwitchTimeCount(), 1);
    EXPECT_EQ(m_pRoutine->GetSwitchTimes().front(), pKept);
    EXPECT_TRUE(g_bDataModified);
    // Only the kept one and the new-entry row are left.
    ASSERT_EQ(pTable->GetItemCount(), 2);
    EXPECT_EQ(pTable->GetItemData(0), pKept);
    EXPECT_EQ(m_pLight->GetUseCount(0x02), 0);
}

}  // namespace
