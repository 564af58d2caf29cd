// The special-day table and its dialogs, driven as a user would: the rows,
// entering periods with date fields, time edits and the calendar, the two
// ways of resolving an overlap on periods that touch, nest and cross, the
// limit of 100 special days and deleting.

#include "app/Chronoset.h"
#include "editors/time/SpecialDayEditDlg.h"
#include "editors/time/SpecialDayOverlapDlg.h"
#include "editors/time/SpecialDaysTable.h"
#include "editors/time/TimeEditors.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/Locale.h"
#include "model/SpecialDay.h"
#include "model/SpecialDays.h"
#include "platform/base/SystemLocale.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/support/LocalTime.h"
#include "ui/CalendarButton.h"
#include "ui/CalendarDates.h"
#include "ui/MainTableView.h"
#include "ui/ParameterDlg.h"
#include "ui/TableComboBox.h"

#include <QApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using SpecialDayDlg = CSpecialDayEditDlg;
using Strings = std::vector<std::string>;

using testtime::At;

std::string Stamp(const std::tm& tm) {
    char sz[80];
    std::snprintf(sz, sizeof(sz), "%02d.%02d.%04d %02d:%02d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900,
                  tm.tm_hour, tm.tm_min);
    return sz;
}

// An entered period: dates and times as typed, and the overlap choice.
struct Entry {
    std::string strStartDate, strStartTime, strEndDate, strEndTime;
    UINT nOverlapButton = 0;  // 0: no overlap dialog expected
};

class SpecialDaysTableTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        platform::SetIntlOverride(platform::IntlValuesForLocale("de_DE"));
        ResetLocaleCache();
        InstallTimeEditors();
        m_pWork = AddRoutine("Werktag");
        m_pFree = AddRoutine("Frei");
        m_view.SetDispatcher(&m_dlg);
        m_dlg.SetPanes(nullptr, &m_view, nullptr, nullptr);
    }
    void TearDown() override {
        m_view.DeleteTableBox();
        platform::SetIntlOverride(std::nullopt);
        ResetLocaleCache();
    }

    CSpecialDays& Days() { return *m_run.Chronoset().GetSpecialDays(); }
    CDayRoutine* AddRoutine(const std::string& strName) { return NewRoutine(m_run.Chronoset(), strName); }
    CSpecialDay* AddDay(const std::tm& start, const std::tm& end, CDayRoutine* pRoutine) {
        CSpecialDay* pDay = Days().CreateSpecialDay();
        pDay->SetStartTime(start);
        pDay->SetEndTime(end);
        pDay->SetDayRoutine(pRoutine);
        return pDay;
    }
    // Every special day as "start-end routine", by start.
    Strings Periods() {
        Strings periods;
        for (const CSpecialDay* pDay : Days().GetSpecialDays()) {
            periods.push_back(Stamp(pDay->GetStartTime()) + "-" + Stamp(pDay->GetEndTime()) + " " +
                              (pDay->GetDayRoutine() != nullptr ? pDay->GetDayRoutine()->GetName() : "-"));
        }
        std::sort(periods.begin(), periods.end(), [](const std::string& a, const std::string& b) {
            return a.substr(6, 4) + a.substr(3, 2) + a.substr(0, 2) + a.substr(11) <
                   b.substr(6, 4) + b.substr(3, 2) + b.substr(0, 2) + b.substr(11);
        });
        return periods;
    }
    CSpecialDaysTable* Open() {
        return OpenTable<CSpecialDaysTable>(m_view, CSpecialDaysTable::kTableType, nullptr, 600, 300);
    }
    // Types the period, picks the routine and presses OK, answering the
    // overlap question when one is expected.
    void EnterPeriod(SpecialDayDlg& dlg, const Entry& entry, CDayRoutine* pRoutine) {
        Retype(dlg, SpecialDayDlg::IDC_START_DATE, entry.strStartDate);
        Retype(dlg, SpecialDayDlg::IDC_START_TIME, entry.strStartTime);
        Retype(dlg, SpecialDayDlg::IDC_END_DATE, entry.strEndDate);
        Retype(dlg, SpecialDayDlg::IDC_END_TIME, entry.strEndTime);
        dlg.GetDayRoutineCombo()->SelectObject(pRoutine);
        if (entry.nOverlapButton != 0) {
            m_runner.Then([nButton = entry.nOverlapButton](QDialog& d) {
                uitest::Click(dynamic_cast<CDialog&>(d).GetDlgItem(nButton));
            });
        }
        uitest::Click(dlg.GetDlgItem(IDOK));
    }
    // One new special day through the new-entry row; Close afterwards.
    void Insert(const Entry& entry, CDayRoutine* pRoutine) {
        CSpecialDaysTable* pTable = Open();
        m_runner.Then([&](QDialog& d) {
            auto& dlg = dynamic_cast<SpecialDayDlg&>(d);
            EnterPeriod(dlg, entry, pRoutine);
            if (dlg.isVisible()) {
                uitest::Click(dlg.GetDlgItem(IDCANCEL));
            }
        });
        uitest::PressKey(pTable, Qt::Key_Insert);
    }
    void ExpectBox(const std::string& strText, const std::string& strCaption) {
        m_boxes.Expect(BoxWithText(strText, strCaption));
    }
    void ExpectFullBox() {
        CScriptedMessageBoxSink::Expectation full = BoxWithPart("Die maximale Anzahl von Sondertagen ist erreicht.");
        full.caption = "Sondertage ausgelastet";
        m_boxes.Expect(full);
    }

    uitest::CEditingRun m_run{true};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CParameterDlg m_dlg{nullptr, nullptr};
    CMainTableView m_view;
    CDayRoutine* m_pWork = nullptr;
    CDayRoutine* m_pFree = nullptr;
};

TEST_F(SpecialDaysTableTest, RowsShowThePeriodsWithWeekdaysAndTheNewEntryRowSortsLast) {
    CSpecialDay* pMay = AddDay(At(2024, 5, 1, 8, 30), At(2024, 5, 3, 17, 0), m_pFree);
    CSpecialDay* pJan = AddDay(At(2024, 1, 7), At(2024, 1, 8), nullptr);
    CSpecialDaysTable* pTable = Open();
    ASSERT_NE(pTable, nullptr);
    EXPECT_EQ(pTable->GetObjectKind(), 16);
    EXPECT_EQ(pTable->GetMaxEntries(), 100);
    ASSERT_EQ(pTable->GetItemCount(), 3);
    const int nMay = pTable->FindRowOfObject(pMay);
    const int nJan = pTable->FindRowOfObject(pJan);
    const int nNew = pTable->GetNewEntryRow();
    EXPECT_EQ(pTable->GetItemText(nMay, 0), "von Mi, 01.05.2024, 08:30 Uhr");
    EXPECT_EQ(pTable->GetItemText(nMay, 1), "bis Fr, 03.05.2024, 17:00 Uhr");
    EXPECT_EQ(pTable->GetItemText(nMay, 2), "02: Frei");
    EXPECT_EQ(pTable->GetItemText(nJan, 0), "von So, 07.01.2024, 00:00 Uhr");
    EXPECT_EQ(pTable->GetItemText(nJan, 2), "*leer*");
    EXPECT_EQ(pTable->GetItemText(nNew, 0), "*** neuer Sondertag ***");
    for (int nColumn = 0; nColumn < 3; ++nColumn) {
        EXPECT_EQ(pTable->CompareItems(nColumn, nNew, nMay), 1);
        EXPECT_EQ(pTable->CompareItems(nColumn, nMay, nNew), -1);
    }
    EXPECT_EQ(pTable->CompareItems(0, nJan, nMay), -1);
    EXPECT_EQ(pTable->CompareItems(1, nMay, nJan), 1);
    // Without a routine before one with.
    EXPECT_EQ(pTable->CompareItems(2, nJan, nMay), -1);
}

TEST_F(SpecialDaysTableTest, InsertingStoresEachPeriodAndCancelDropsOnlyThePreparedOne) {
    CSpecialDaysTable* pTable = Open();
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<SpecialDayDlg&>(d);
        EXPECT_EQ(dlg.GetWindowText(), "Sondertagsbereich");
        EXPECT_EQ(dlg.GetDlgItemText(IDOK), "&Einfügen");
        // Prepared at once; OK waits for a routine.
        EXPECT_EQ(Days().GetCount(), 1);
        EXPECT_FALSE(dlg.GetDlgItem(IDOK)->isEnabled());
        EXPECT_NE(dlg.GetDlgItem(SpecialDayDlg::IDC_SPIN_START_HOUR), nullptr);
        EXPECT_NE(dlg.GetDlgItem(SpecialDayDlg::IDC_SPIN_END_MINUTE), nullptr);
        // Eight digits are a date; a start after the end moves the end along.
        Retype(dlg, SpecialDayDlg::IDC_START_DATE, "24122034");
        Retype(dlg, SpecialDayDlg::IDC_START_TIME, "1800");
        EXPECT_EQ(dlg.GetDlgItemText(SpecialDayDlg::IDC_START_DATE), "24.12.2034");
        EXPECT_EQ(dlg.GetDlgItemText(SpecialDayDlg::IDC_END_DATE), "24.12.2034");
        EnterPeriod(dlg, {"24.12.2034", "18:00", "24.12.2034", "2359"}, m_pWork);
        ASSERT_TRUE(dlg.isVisible());
        // The next one ends exactly where the stored one begins: no overlap.
        EnterPeriod(dlg, {"24.12.2034", "06:00", "24.12.2034", "18:00"}, m_pFree);
        EXPECT_EQ(Days().GetCount(), 3);
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    uitest::PressKey(m_view.GetTableBox(), Qt::Key_Insert);
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_EQ(Periods(), (Strings{"24.12.2034 06:00-24.12.2034 18:00 Frei", "24.12.2034 18:00-24.12.2034 23:59 Werktag"}));
    EXPECT_EQ(pTable->GetDataRowCount(), 2);
    EXPECT_TRUE(g_bDataModified);
    EXPECT_FALSE(pTable->IsEditInProgress());
}

TEST_F(SpecialDaysTableTest, DatesAreCheckedOnLeavingTheFieldAndOnEnter) {
    CSpecialDaysTable* pTable = Open();
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<SpecialDayDlg&>(d);
        Retype(dlg, SpecialDayDlg::IDC_END_DATE, "29.02.2024");
        Retype(dlg, SpecialDayDlg::IDC_START_DATE, "29.02.2024");
        Retype(dlg, SpecialDayDlg::IDC_END_DATE, "29.02.2023");
        // Leaving the field: refused, the last accepted date returns.
        ExpectBox("Zulässig sind Eingaben vom 01.01.2000 bis 31.12.2035.", "Unzulässige Datumseingabe!");
        uitest::PressKey(dlg.GetDlgItem(SpecialDayDlg::IDC_END_TIME), Qt::Key_End);
        EXPECT_EQ(dlg.GetDlgItemText(SpecialDayDlg::IDC_END_DATE), "29.02.2024");
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(SpecialDayDlg::IDC_END_DATE));
        Retype(dlg, SpecialDayDlg::IDC_END_TIME, "1200");
        // Enter in the field stores nothing that leaving would refuse.
        dlg.GetDayRoutineCombo()->SelectObject(m_pWork);
        Retype(dlg, SpecialDayDlg::IDC_END_DATE, "01.03.1999");
        ExpectBox("Zulässig sind Eingaben vom 01.01.2000 bis 31.12.2035.", "Unzulässige Datumseingabe!");
        uitest::PressWindowKey(&dlg, Qt::Key_Return);
        EXPECT_EQ(dlg.GetDlgItemText(SpecialDayDlg::IDC_END_DATE), "29.02.2024");
        EXPECT_EQ(Days().GetCount(), 1);
        EXPECT_EQ(pTable->GetDataRowCount(), 0);
        uitest::PressWindowKey(&dlg, Qt::Key_Return);
        // Start and end equal: refused, the dialog stays.
        Retype(dlg, SpecialDayDlg::IDC_END_TIME, "0000");
        ExpectBox("Das angegebene Zeitintervall ist negativ oder Null. Bitte ändern Sie die Start- oder Endzeit "
                  "entsprechend.",
                  "Ungültiges Zeitintervall");
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_EQ(Days().GetCount(), 2);
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    uitest::PressKey(m_view.GetTableBox(), Qt::Key_Insert);
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
    EXPECT_EQ(Periods(), (Strings{"29.02.2024 00:00-29.02.2024 12:00 Werktag"}));
    EXPECT_EQ(pTable->GetDataRowCount(), 1);
}

// The click that leaves a refused date acts on nothing; the next one does.
TEST_F(SpecialDaysTableTest, TheClickThatLeavesARefusedDateDoesNothing) {
    CSpecialDaysTable* pTable = Open();
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<SpecialDayDlg&>(d);
        Retype(dlg, SpecialDayDlg::IDC_START_DATE, "01.05.2030");
        Retype(dlg, SpecialDayDlg::IDC_END_DATE, "03.05.2030");
        Retype(dlg, SpecialDayDlg::IDC_END_TIME, "1200");
        dlg.GetDayRoutineCombo()->SelectObject(m_pWork);
        Retype(dlg, SpecialDayDlg::IDC_END_DATE, "02.05.2036");
        ExpectBox("Zulässig sind Eingaben vom 01.01.2000 bis 31.12.2035.", "Unzulässige Datumseingabe!");
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_EQ(pTable->GetDataRowCount(), 0);
        EXPECT_FALSE(g_bDataModified);
        uitest::Click(dlg.GetDlgItem(IDOK));
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    uitest::PressKey(m_view.GetTableBox(), Qt::Key_Insert);
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
    EXPECT_EQ(Periods(), (Strings{"01.05.2030 00:00-03.05.2030 12:00 Werktag"}));
}

TEST_F(SpecialDaysTableTest, TheCalendarButtonOpensOnTheFieldsDateAndWritesTheChosenDay) {
    AddDay(At(2024, 2, 28, 9), At(2024, 3, 1), m_pWork);
    CSpecialDaysTable* pTable = Open();
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<SpecialDayDlg&>(d);
        EXPECT_EQ(dlg.GetDlgItemText(IDCANCEL), "Abbrechen");
        CCalendarButton* pButton = dlg.GetCalendarButton(false);
        uitest::Click(pButton);
        ASSERT_TRUE(pButton->IsCalendarVisible());
        EXPECT_EQ(pButton->GetCalendar().GetDate(), PackDate(2024, 2, 28));
        uitest::PressWindowKey(&pButton->GetCalendar(), Qt::Key_Right);
        uitest::PressWindowKey(&pButton->GetCalendar(), Qt::Key_Return);
        uitest::ProcessEvents();
        EXPECT_EQ(dlg.GetDlgItemText(SpecialDayDlg::IDC_START_DATE), "29.02.2024");
        uitest::Click(dlg.GetDlgItem(IDOK));
    });
    uitest::DoubleClick(pTable->viewport(), pTable->GetItemRect(0).center());
    EXPECT_EQ(Periods(), (Strings{"29.02.2024 09:00-01.03.2024 00:00 Werktag"}));
}

// Existing: 10.05. 08:00-12:00 and 10.05. 14:00-16:00 (Werktag); each case
// enters one period with "Frei" and says which side wins.
TEST_F(SpecialDaysTableTest, OverlapsAreResolvedSoThatNoTwoSpecialDaysOverlap) {
    struct Case {
        const char* pszName;
        Entry entry;
        Strings expected;
    };
    const std::string a = "10.05.2024 08:00-10.05.2024 12:00 Werktag";
    const std::string b = "10.05.2024 14:00-10.05.2024 16:00 Werktag";
    const Case cases[] = {
        {"touching both", {"10.05.2024", "12:00", "10.05.2024", "14:00"},
         {a, "10.05.2024 12:00-10.05.2024 14:00 Frei", b}},
        {"new crosses, new wins", {"10.05.2024", "11:00", "10.05.2024", "15:00", CSpecialDayOverlapDlg::IDC_NEW_OVERLAPS_OLD},
         {"10.05.2024 08:00-10.05.2024 11:00 Werktag", "10.05.2024 11:00-10.05.2024 15:00 Frei",
          "10.05.2024 15:00-10.05.2024 16:00 Werktag"}},
        {"new crosses, old wins", {"10.05.2024", "11:00", "10.05.2024", "15:00", CSpecialDayOverlapDlg::IDC_OLD_OVERLAPS_NEW},
         {a, "10.05.2024 12:00-10.05.2024 14:00 Frei", b}},
        {"new spans both, old wins", {"10.05.2024", "06:00", "10.05.2024", "18:00", CSpecialDayOverlapDlg::IDC_OLD_OVERLAPS_NEW},
         {"10.05.2024 06:00-10.05.2024 08:00 Frei", a, "10.05.2024 12:00-10.05.2024 14:00 Frei", b,
          "10.05.2024 16:00-10.05.2024 18:00 Frei"}},
        {"new spans both, new wins", {"10.05.2024", "06:00", "10.05.2024", "18:00", CSpecialDayOverlapDlg::IDC_NEW_OVERLAPS_OLD},
         {"10.05.2024 06:00-10.05.2024 18:00 Frei"}},
        {"new nested, new wins", {"10.05.2024", "09:00", "10.05.2024", "10:00", CSpecialDayOverlapDlg::IDC_NEW_OVERLAPS_OLD},
         {"10.05.2024 08:00-10.05.2024 09:00 Werktag", "10.05.2024 09:00-10.05.2024 10:00 Frei",
          "10.05.2024 10:00-10.05.2024 12:00 Werktag", b}},
        {"same start, ends earlier", {"10.05.2024", "08:00", "10.05.2024", "13:00", CSpecialDayOverlapDlg::IDC_NEW_OVERLAPS_OLD},
         {"10.05.2024 08:00-10.05.2024 13:00 Frei", b}},
        {"same start, ends later", {"10.05.2024", "08:00", "10.05.2024", "09:00", CSpecialDayOverlapDlg::IDC_NEW_OVERLAPS_OLD},
         {"10.05.2024 08:00-10.05.2024 09:00 Frei", "10.05.2024 09:00-10.05.2024 12:00 Werktag", b}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        Days().RemoveAll();
        AddDay(At(2024, 5, 10, 8), At(2024, 5, 10, 12), m_pWork);
        AddDay(At(2024, 5, 10, 14), At(2024, 5, 10, 16), m_pWork);
        Insert(c.entry, m_pFree);
        EXPECT_EQ(Periods(), c.expected);
        // The table shows what the list holds.
        EXPECT_EQ(m_view.GetTableBox()->GetDataRowCount(), Days().GetCount());
    }

    // Fully covered, old wins: told, nothing inserted. Cancel in the
    // question: nothing changes and the dialog stays.
    Days().RemoveAll();
    AddDay(At(2024, 5, 10, 8), At(2024, 5, 10, 12), m_pWork);
    ExpectBox("Der Sondertag liegt vollständig über existierenden Sondertagen und wird daher nicht eingefügt.",
              "Sondertag getrimmt");
    Insert({"10.05.2024", "09:00", "10.05.2024", "11:00", CSpecialDayOverlapDlg::IDC_OLD_OVERLAPS_NEW}, m_pFree);
    Insert({"10.05.2024", "09:00", "10.05.2024", "11:00", IDCANCEL}, m_pFree);
    EXPECT_EQ(Periods(), (Strings{a}));
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
}

TEST_F(SpecialDaysTableTest, EditingStepsThroughTheSelectedDaysAndCancelLeavesTheRest) {
    CSpecialDay* pFirst = AddDay(At(2024, 6, 1), At(2024, 6, 2), m_pWork);
    CSpecialDay* pSecond = AddDay(At(2024, 6, 5), At(2024, 6, 6), m_pWork);
    CSpecialDay* pThird = AddDay(At(2024, 6, 9), At(2024, 6, 10), m_pWork);
    CSpecialDaysTable* pTable = Open();
    uitest::Click(pTable->viewport(), pTable->GetItemRect(pTable->FindRowOfObject(pFirst)).center());
    for (CSpecialDay* pDay : {pSecond, pThird}) {
        uitest::Click(pTable->viewport(), pTable->GetItemRect(pTable->FindRowOfObject(pDay)).center(), Qt::LeftButton,
                      Qt::ControlModifier);
    }
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<SpecialDayDlg&>(d);
        EXPECT_EQ(dlg.GetCurrentSpecialDay(), pFirst);
        // The first grows over the second, whose time the first then takes;
        // the second leaves the list and the dialog moves on to the third.
        EnterPeriod(dlg, {"01.06.2024", "00:00", "07.06.2024", "00:00", CSpecialDayOverlapDlg::IDC_NEW_OVERLAPS_OLD},
                    m_pFree);
        EXPECT_EQ(dlg.GetCurrentSpecialDay(), pThird);
        EXPECT_EQ(dlg.GetDlgItemText(SpecialDayDlg::IDC_START_DATE), "09.06.2024");
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    uitest::PressWindowKey(&m_view, Qt::Key_Return);
    EXPECT_EQ(Periods(), (Strings{"01.06.2024 00:00-07.06.2024 00:00 Frei", "09.06.2024 00:00-10.06.2024 00:00 Werktag"}));
    EXPECT_EQ(pTable->GetDataRowCount(), 2);
}

TEST_F(SpecialDaysTableTest, TheHundredthDayIsTheLastAndASplitBeyondItChangesNothing) {
    for (int i = 0; i < 98; ++i) {
        AddDay(At(2025, 1, 1 + i % 28, i / 28), At(2025, 1, 1 + i % 28, i / 28, 30), m_pWork);
    }
    AddDay(At(2024, 5, 10, 8), At(2024, 5, 10, 12), m_pWork);
    CSpecialDaysTable* pTable = Open();
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<SpecialDayDlg&>(d);
        // New wins inside the existing day: its rest needs the 101st.
        ExpectFullBox();
        EnterPeriod(dlg, {"10.05.2024", "09:00", "10.05.2024", "10:00", CSpecialDayOverlapDlg::IDC_NEW_OVERLAPS_OLD},
                    m_pFree);
        ASSERT_TRUE(dlg.isVisible());
        EXPECT_EQ(Days().GetCount(), 100);
        // Old wins: the gap before the existing day is the 100th, the one
        // after it finds no place and the dialog closes.
        ExpectFullBox();
        EnterPeriod(dlg, {"10.05.2024", "07:00", "10.05.2024", "13:00", CSpecialDayOverlapDlg::IDC_OLD_OVERLAPS_NEW},
                    m_pFree);
        EXPECT_FALSE(dlg.isVisible());
    });
    uitest::PressKey(m_view.GetTableBox(), Qt::Key_Insert);
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
    ASSERT_EQ(Days().GetCount(), 100);
    const Strings periods = Periods();
    EXPECT_EQ(Strings(periods.begin(), periods.begin() + 2),
              (Strings{"10.05.2024 07:00-10.05.2024 08:00 Frei", "10.05.2024 08:00-10.05.2024 12:00 Werktag"}));
    EXPECT_EQ(pTable->GetDataRowCount(), 100);

    // The table refuses the 101st before any dialog.
    ExpectFullBox();
    const int nRuns = m_runner.GetRunCount();
    uitest::PressKey(m_view.GetTableBox(), Qt::Key_Insert);
    EXPECT_EQ(m_runner.GetRunCount(), nRuns);
}

TEST_F(SpecialDaysTableTest, ASplitAtTheLimitTakesThePlaceOfADayTheNewPeriodCovers) {
    for (int i = 0; i < 97; ++i) {
        AddDay(At(2025, 1, 1 + i % 28, i / 28), At(2025, 1, 1 + i % 28, i / 28, 30), m_pWork);
    }
    AddDay(At(2024, 5, 10, 8), At(2024, 5, 10, 12), m_pWork);
    AddDay(At(2024, 5, 10, 9), At(2024, 5, 10, 10), m_pFree);
    // Stored; only the next entry finds no place.
    ExpectFullBox();
    Insert({"10.05.2024", "09:00", "10.05.2024", "11:00", CSpecialDayOverlapDlg::IDC_NEW_OVERLAPS_OLD}, m_pFree);
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
    EXPECT_EQ(Days().GetCount(), 100);
    const Strings periods = Periods();
    EXPECT_EQ(Strings(periods.begin(), periods.begin() + 3),
              (Strings{"10.05.2024 08:00-10.05.2024 09:00 Werktag", "10.05.2024 09:00-10.05.2024 11:00 Frei",
                       "10.05.2024 11:00-10.05.2024 12:00 Werktag"}));
}

TEST_F(SpecialDaysTableTest, NewEntriesNeedADayRoutine) {
    for (CDayRoutine* pRoutine : {m_pWork, m_pFree}) {
        m_run.Chronoset().GetDayRoutines()->DeleteDayRoutine(pRoutine);
        delete pRoutine;
    }
    Open();
    CScriptedMessageBoxSink::Expectation expectation;
    expectation.textPart = "Jeder Sondertag benötigt jedoch einen zugeordneten Tagesablauf.";
    expectation.caption = "Kein Tagesablauf definiert";
    expectation.nAnswer = IDOK;
    m_boxes.Expect(expectation);
    uitest::PressKey(m_view.GetTableBox(), Qt::Key_Insert);
    EXPECT_EQ(m_runner.GetRunCount(), 0);
    EXPECT_EQ(Days().GetCount(), 0);
}

TEST_F(SpecialDaysTableTest, DeletingAsksAndTakesTheSelectedDaysAway) {
    CSpecialDay* pKept = AddDay(At(2024, 7, 1), At(2024, 7, 2), m_pWork);
    AddDay(At(2024, 7, 3), At(2024, 7, 4), m_pWork);
    AddDay(At(2024, 7, 5), At(2024, 7, 6), m_pWork);
    CSpecialDaysTable* pTable = Open();
    uitest::Click(pTable->viewport(), pTable->GetItemRect(1).center());
    uitest::Click(pTable->viewport(), pTable->GetItemRect(2).center(), Qt::LeftButton, Qt::ControlModifier);
    m_boxes.ExpectText("Wollen Sie die ausgewählten 2 Sondertage löschen?", IDNO);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    EXPECT_EQ(Days().GetCount(), 3);
    m_boxes.ExpectText("Wollen Sie die ausgewählten 2 Sondertage löschen?", IDYES);
    uitest::PressWindowKey(&m_view, Qt::Key_Delete);
    ASSERT_EQ(Days().GetCount(), 1);
    EXPECT_EQ(Days().GetSpecialDays().front(), pKept);
    ASSERT_EQ(pTable->GetItemCount(), 2);
    EXPECT_EQ(pTable->GetItemData(0), pKept);
    EXPECT_TRUE(g_bDataModified);
}

}  // namespace
