// The daylight-saving table and its dialog driven as a user would: the rows,
// the periods computed by the rule, the year-stepping date fields, the
// one-period-per-year question, the limit of 10, deleting, and dates the
// device cannot hold, which are never stored.

#include "app/Chronoset.h"
#include "editors/time/SummertimeEditDlg.h"
#include "editors/time/SummertimeTable.h"
#include "editors/time/TimeEditors.h"
#include "model/Locale.h"
#include "model/Summertime.h"
#include "model/Summertimes.h"
#include "model/Utils.h"
#include "platform/base/LocalTime.h"
#include "platform/base/SystemLocale.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/support/DateTexts.h"
#include "tests/support/RecordingHelpService.h"
#include "ui/CalendarButton.h"
#include "ui/MainTableView.h"
#include "ui/ParameterDlg.h"
#include "ui/SpinControl.h"

#include <QApplication>
#include <QCheckBox>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using SummertimeDlg = CSummertimeEditDlg;

constexpr char kInvalidDate[] = "Zulässig sind Eingaben vom 01.01.2000 bis 31.12.2035.";
constexpr char kInvalidDateCaption[] = "Unzulässige Datumseingabe!";

std::tm Tm(int nYear, int nMonth, int nDay, int nHour, int nMinute = 0) {
    return TimeToTm(CTime(nYear, nMonth, nDay, nHour, nMinute, 0).GetTime());
}

class SummertimeTableTest : public editortest::CEditorTest {
protected:
    using Row = Texts;

    void SetUp() override {
        platform::SetIntlOverride(platform::IntlValuesForLocale("de_DE"));
        ResetLocaleCache();
        m_oldTz = platform::GetTz();
        // The editing run works without daylight-saving correction.
        platform::SetTz(std::string("CET-1"));
        InstallTimeEditors();
        // The main window hands the table's own records back to its pane.
        m_view.SetDispatcher(&m_dlg);
        m_dlg.SetPanes(nullptr, &m_view, nullptr, nullptr);
    }
    void TearDown() override {
        m_view.DeleteTableBox();
        platform::SetTz(m_oldTz);
        platform::SetIntlOverride(std::nullopt);
        ResetLocaleCache();
    }

    CSummertimes& Periods() { return *m_run.Chronoset().GetSummertimes(); }
    CSummertime* AddPeriod(const std::tm& start, const std::tm& end, int nShift = 1) {
        CSummertime* pPeriod = Periods().CreateSummertime();
        pPeriod->SetStartTime(start);
        pPeriod->SetEndTime(end);
        pPeriod->SetShift(nShift);
        return pPeriod;
    }
    // The period of the rule for the year.
    CSummertime* AddRulePeriod(int nYear, int nMarch, int nOctober) {
        return AddPeriod(Tm(nYear, 3, nMarch, 2), Tm(nYear, 10, nOctober, 3));
    }
    // On the daylight-saving node's table type.
    CSummertimeTable* MakeTable() { return OpenTable<CSummertimeTable>(m_view, 8, nullptr, 600, 300); }
    // Runs the script on the dialog that the table's EditEntry opens.
    int Edit(CSummertimeTable* pTable, int nRow, const std::function<void(SummertimeDlg&)>& script) {
        m_runner.Then([script](QDialog& d) { script(dynamic_cast<SummertimeDlg&>(d)); });
        return pTable->EditEntry(nRow);
    }

    static Row RowOf(const CSummertimeTable& table, int nRow) { return RowTexts(table, nRow, 4); }
    static std::string Date(int nYear, int nMonth, int nDay) { return datetext::Dotted(nYear, nMonth, nDay); }
    // Start date and time, end date and time, shift as the dialog shows them.
    static Row Fields(const SummertimeDlg& dlg) {
        return {dlg.GetDlgItemText(SummertimeDlg::IDC_START_DATE), dlg.GetDlgItemText(SummertimeDlg::IDC_START_TIME),
                dlg.GetDlgItemText(SummertimeDlg::IDC_END_DATE), dlg.GetDlgItemText(SummertimeDlg::IDC_END_TIME),
                dlg.GetDlgItemText(SummertimeDlg::IDC_SHIFT)};
    }
    static Row RuleFields(int nYear, int nMarch, int nOctober) {
        return {Date(nYear, 3, nMarch), "02:00", Date(nYear, 10, nOctober), "03:00", "1"};
    }
    // The spin below a control (their ids 1..5 are shared with OK and Cancel).
    static void ClickSpin(SummertimeDlg& dlg, UINT nBuddyId, bool bRightHalf) {
        CSpinControl* pSpin = nullptr;
        for (CSpinControl* pCandidate : dlg.findChildren<CSpinControl*>()) {
            if (pCandidate->GetBuddy() == dlg.GetDlgItem(nBuddyId)) {
                pSpin = pCandidate;
            }
        }
        ASSERT_NE(pSpin, nullptr);
        EXPECT_EQ(pSpin->geometry().top(), dlg.GetDlgItem(nBuddyId)->geometry().bottom() + 3);
        const QRect rc = pSpin->rect();
        uitest::Click(pSpin, QPoint(bRightHalf ? rc.right() - 2 : rc.left() + 2, rc.center().y()));
        // The spin hands the focus to its control.
        uitest::ProcessEvents();
    }
    void ExpectInvalidDateBox() { m_boxes.ExpectBox(kInvalidDate, kInvalidDateCaption, MB_ICONWARNING, IDOK); }
    void ExpectTextPart(const std::string& strPart, int nAnswer) { m_boxes.Expect(BoxWithPart(strPart, nAnswer)); }
    void ClickRow(CSummertimeTable* pTable, const CSummertime* pPeriod, Qt::KeyboardModifiers modifiers) {
        uitest::Click(pTable->viewport(), RowPoint(*pTable, pTable->FindRowOfObject(pPeriod)), Qt::LeftButton,
                      modifiers);
    }
    static std::vector<int> StartYears(const CSummertimes& periods) {
        std::vector<int> years;
        for (const CSummertime* pPeriod : periods.GetSummertimes()) {
            years.push_back(pPeriod->GetStartTime().tm_year + 1900);
        }
        return years;
    }

    uitest::CEditingRun m_run{false};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CParameterDlg m_dlg{nullptr, nullptr};
    CMainTableView m_view;

private:
    std::optional<std::string> m_oldTz;
};

}  // namespace

TEST_F(SummertimeTableTest, RowsShowThePeriodsThenTheNewEntryRowWhichSortsLast) {
    CSummertime* p2008 = AddRulePeriod(2008, 30, 26);
    CSummertime* p2007 = AddPeriod(Tm(2007, 3, 25, 2), Tm(2007, 10, 28, 3, 30), 0);
    CSummertimeTable* pTable = MakeTable();
    ASSERT_NE(pTable, nullptr);
    EXPECT_EQ(pTable->GetObjectKind(), 8);
    EXPECT_EQ(pTable->GetMaxEntries(), 10);
    EXPECT_EQ(pTable->GetParentObjectMember(), &Periods());
    ASSERT_EQ(pTable->GetDataRowCount(), 2);
    const int nNew = pTable->GetNewEntryRow();
    EXPECT_EQ(RowOf(*pTable, nNew), (Row{"", "*** neue Sommerzeit ***", "", ""}));
    EXPECT_EQ(RowOf(*pTable, pTable->FindRowOfObject(p2008)),
              (Row{"2008", "vom 30.03.2008, 02:00 Uhr", "bis 26.10.2008, 03:00 Uhr", "+1h"}));
    EXPECT_EQ(RowOf(*pTable, pTable->FindRowOfObject(p2007)),
              (Row{"2007", "vom 25.03.2007, 02:00 Uhr", "bis 28.10.2007, 03:30 Uhr", "\"keine\""}));

    const int n2007 = pTable->FindRowOfObject(p2007);
    const int n2008 = pTable->FindRowOfObject(p2008);
    for (int nColumn = 0; nColumn < 4; ++nColumn) {
        EXPECT_EQ(pTable->CompareItems(nColumn, nNew, n2007), 1);
        EXPECT_EQ(pTable->CompareItems(nColumn, n2007, nNew), -1);
    }
    EXPECT_LT(pTable->CompareItems(0, n2007, n2008), 0);
    EXPECT_EQ(pTable->CompareItems(1, n2008, n2007), 1);
    EXPECT_EQ(pTable->CompareItems(2, n2007, n2008), -1);
    EXPECT_LT(pTable->CompareItems(3, n2007, n2008), 0);
}

TEST_F(SummertimeTableTest, InsertingComputesEachYearUntilTenPeriodsExist) {
    CSummertimeTable* pTable = MakeTable();
    const int nMarch[] = {26, 25, 31, 30, 28, 27, 26, 25, 30, 29};
    const int nOctober[] = {29, 28, 27, 26, 31, 30, 29, 28, 26, 25};
    CRecordingHelpService help;
    EXPECT_EQ(Edit(pTable, pTable->GetNewEntryRow(),
                   [&](SummertimeDlg& dlg) {
                       EXPECT_EQ(dlg.GetWindowText(), "Sommerzeit");
                       EXPECT_EQ(dlg.GetDlgItemText(IDOK), "&Einfügen");
                       EXPECT_TRUE(dlg.IsDlgButtonChecked(SummertimeDlg::IDC_AUTO_CALCULATE));
                       EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(SummertimeDlg::IDC_AUTO_CALCULATE));
                       uitest::Click(dlg.GetDlgItem(IDC_HILFE));
                       for (int i = 0; i < 10; ++i) {
                           EXPECT_EQ(Fields(dlg), RuleFields(2000 + i, nMarch[i], nOctober[i])) << 2000 + i;
                           if (i == 9) {
                               m_boxes.ExpectBox("Die maximale Anzahl von Sommerzeiten ist erreicht.",
                                                 "Sommerzeiten ausgelastet", MB_ICONINFORMATION, IDOK);
                           }
                           uitest::Click(dlg.GetDlgItem(IDOK));
                       }
                       EXPECT_FALSE(dlg.isVisible());
                   }),
              1);
    EXPECT_EQ(help.GetContexts(), std::vector<DWORD>{0x200AF});
    EXPECT_EQ(StartYears(Periods()), (std::vector<int>{2000, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2009}));
    EXPECT_EQ(pTable->GetDataRowCount(), 10);
    EXPECT_TRUE(g_bDataModified);
    const std::tm tmEnd = Periods().FindByYear(2007)->GetEndTime();
    EXPECT_EQ(TmToDate(tmEnd), "28.10.2007");
    EXPECT_EQ(tmEnd.tm_hour, 3);

    // The eleventh is refused before any dialog opens.
    m_boxes.ExpectBox("Die maximale Anzahl von Sommerzeiten ist erreicht.", "Sommerzeiten ausgelastet",
                      MB_ICONERROR, IDOK);
    EXPECT_EQ(pTable->EditEntry(-1), 0);
    EXPECT_EQ(m_runner.GetRunCount(), 1);
}

TEST_F(SummertimeTableTest, WithoutAutomaticCalculationTheDatesMoveOnAYearAndCancelDropsThePendingOne) {
    CSummertimeTable* pTable = MakeTable();
    Edit(pTable, -1, [&](SummertimeDlg& dlg) {
        uitest::Click(dlg.GetDlgItem(SummertimeDlg::IDC_AUTO_CALCULATE));
        Retype(dlg, SummertimeDlg::IDC_START_DATE, Date(2007, 3, 1));
        // The calculation takes the year of the start.
        uitest::Click(dlg.GetDlgItem(SummertimeDlg::IDC_CALCULATE));
        EXPECT_EQ(Fields(dlg), RuleFields(2007, 25, 28));
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_EQ(Fields(dlg), (Row{Date(2008, 3, 25), "02:00", Date(2008, 10, 28), "03:00", "1"}));
        EXPECT_EQ(Periods().GetCount(), 2);
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(StartYears(Periods()), std::vector<int>{2007});
    EXPECT_EQ(pTable->GetDataRowCount(), 1);
}

TEST_F(SummertimeTableTest, TheDateFieldsStepByWholeYears) {
    CSummertimeTable* pTable = MakeTable();
    Edit(pTable, -1, [&](SummertimeDlg& dlg) {
        // The spin's right half steps on, its left half back.
        ClickSpin(dlg, SummertimeDlg::IDC_END_DATE, true);
        EXPECT_EQ(dlg.GetDlgItemText(SummertimeDlg::IDC_END_DATE), Date(2001, 10, 29));
        ClickSpin(dlg, SummertimeDlg::IDC_END_DATE, false);
        EXPECT_EQ(dlg.GetDlgItemText(SummertimeDlg::IDC_END_DATE), Date(2000, 10, 29));
        // The time spin steps the hours.
        ClickSpin(dlg, SummertimeDlg::IDC_START_TIME, true);
        EXPECT_EQ(dlg.GetDlgItemText(SummertimeDlg::IDC_START_TIME), "03:00");
        Retype(dlg, SummertimeDlg::IDC_START_DATE, Date(2008, 2, 29));
        uitest::PressKey(dlg.GetDlgItem(SummertimeDlg::IDC_START_DATE), Qt::Key_Up);
        EXPECT_EQ(dlg.GetDlgItemText(SummertimeDlg::IDC_START_DATE), Date(2009, 2, 28));
        uitest::PressKey(dlg.GetDlgItem(SummertimeDlg::IDC_START_DATE), Qt::Key_Down);
        uitest::PressKey(dlg.GetDlgItem(SummertimeDlg::IDC_START_DATE), Qt::Key_Down);
        EXPECT_EQ(dlg.GetDlgItemText(SummertimeDlg::IDC_START_DATE), Date(2007, 2, 28));
        // The calendar opens below its field.
        uitest::Click(dlg.GetDlgItem(SummertimeDlg::IDC_START_CALENDAR));
        EXPECT_TRUE(dlg.GetDlgItemAs<CCalendarButton>(SummertimeDlg::IDC_START_CALENDAR)->IsCalendarVisible());
        // Text that is no date becomes today.
        Retype(dlg, SummertimeDlg::IDC_START_DATE, "3.");
        const std::time_t tBefore = std::time(nullptr);
        uitest::PressKey(dlg.GetDlgItem(SummertimeDlg::IDC_START_DATE), Qt::Key_Up);
        EXPECT_TRUE(datetext::IsLocalDateBetween(dlg.GetDlgItemText(SummertimeDlg::IDC_START_DATE), tBefore, std::time(nullptr)))
            << dlg.GetDlgItemText(SummertimeDlg::IDC_START_DATE);
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(Periods().GetCount(), 0);
}

TEST_F(SummertimeTableTest, LeavingADateFieldMovesTheOtherAlongOrRefusesTheDate) {
    CSummertime* pPeriod = AddRulePeriod(2008, 30, 26);
    CSummertimeTable* pTable = MakeTable();
    Edit(pTable, pTable->FindRowOfObject(pPeriod), [&](SummertimeDlg& dlg) {
        EXPECT_EQ(dlg.GetDlgItemText(IDCANCEL), "Abbrechen");
        EXPECT_FALSE(dlg.GetDlgItem(SummertimeDlg::IDC_AUTO_CALCULATE)->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(SummertimeDlg::IDC_START_DATE));
        // A start after the end takes the end date along.
        Retype(dlg, SummertimeDlg::IDC_START_DATE, "1.11.08");
        uitest::PressWindowKey(&dlg, Qt::Key_Tab);
        EXPECT_EQ(dlg.GetDlgItemText(SummertimeDlg::IDC_START_DATE), Date(2008, 11, 1));
        EXPECT_EQ(dlg.GetDlgItemText(SummertimeDlg::IDC_END_DATE), Date(2008, 11, 1));
        // An end before the start takes the start date along.
        Retype(dlg, SummertimeDlg::IDC_END_DATE, Date(2008, 4, 2));
        uitest::PressWindowKey(&dlg, Qt::Key_Tab);
        EXPECT_EQ(dlg.GetDlgItemText(SummertimeDlg::IDC_START_DATE), Date(2008, 4, 2));
        // A year the device cannot hold comes back with the focus.
        Retype(dlg, SummertimeDlg::IDC_END_DATE, Date(1999, 4, 3));
        ExpectInvalidDateBox();
        uitest::PressWindowKey(&dlg, Qt::Key_Tab);
        EXPECT_EQ(dlg.GetDlgItemText(SummertimeDlg::IDC_END_DATE), Date(2008, 4, 2));
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(SummertimeDlg::IDC_END_DATE));
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
    EXPECT_EQ(TmToDate(pPeriod->GetStartTime()), "30.03.2008");
}

// A start or end outside 2000..2035 would wrap in the device's year byte.
TEST_F(SummertimeTableTest, OkNeverStoresAYearTheDeviceCannotHold) {
    CSummertimeTable* pTable = MakeTable();
    Edit(pTable, -1, [&](SummertimeDlg& dlg) {
        const Row computed = RuleFields(2000, 26, 29);
        // Enter before the field was ever left.
        Retype(dlg, SummertimeDlg::IDC_START_DATE, Date(1999, 6, 15));
        ExpectInvalidDateBox();
        uitest::PressWindowKey(&dlg, Qt::Key_Return);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(SummertimeDlg::IDC_START_DATE));
        EXPECT_EQ(Fields(dlg), computed);

        // A click on OK from the field: one message, and the click is lost.
        Retype(dlg, SummertimeDlg::IDC_START_DATE, Date(1999, 6, 15));
        ExpectInvalidDateBox();
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(SummertimeDlg::IDC_START_DATE));
        EXPECT_EQ(m_boxes.GetPendingCount(), 0u);

        // An end stepped past 2035 by its spin, then Enter.
        Retype(dlg, SummertimeDlg::IDC_START_DATE, Date(2035, 3, 25));
        Retype(dlg, SummertimeDlg::IDC_END_DATE, Date(2035, 10, 28));
        uitest::Click(dlg.GetDlgItem(SummertimeDlg::IDC_AUTO_CALCULATE));
        ClickSpin(dlg, SummertimeDlg::IDC_END_DATE, true);
        EXPECT_EQ(dlg.GetDlgItemText(SummertimeDlg::IDC_END_DATE), Date(2036, 10, 28));
        ExpectInvalidDateBox();
        uitest::PressWindowKey(&dlg, Qt::Key_Return);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(SummertimeDlg::IDC_END_DATE));
        EXPECT_EQ(dlg.GetDlgItemText(SummertimeDlg::IDC_END_DATE), Date(2035, 10, 28));
        EXPECT_EQ(pTable->GetDataRowCount(), 0);
        EXPECT_FALSE(g_bDataModified);

        // The date given back is stored by the next OK.
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_EQ(pTable->GetDataRowCount(), 1);
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(StartYears(Periods()), std::vector<int>{2035});
    EXPECT_EQ(m_boxes.GetShown().size(), 3u);
}

TEST_F(SummertimeTableTest, PeriodsMustBeShorterThanAYearAndPositive) {
    CSummertime* pPeriod = AddRulePeriod(2008, 30, 26);
    CSummertimeTable* pTable = MakeTable();
    Edit(pTable, 0, [&](SummertimeDlg& dlg) {
        Retype(dlg, SummertimeDlg::IDC_START_DATE, Date(2008, 4, 1));
        Retype(dlg, SummertimeDlg::IDC_START_TIME, "00:00");
        Retype(dlg, SummertimeDlg::IDC_END_DATE, Date(2009, 4, 1));
        Retype(dlg, SummertimeDlg::IDC_END_TIME, "00:00");
        m_boxes.ExpectBox("Das angegebene Zeitintervall ist zu lang. Bitte ändern Sie die Start- oder Endzeit "
                          "entsprechend.",
                          "Ungültiges Zeitintervall", MB_ICONINFORMATION, IDOK);
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(SummertimeDlg::IDC_START_TIME));
        Retype(dlg, SummertimeDlg::IDC_START_TIME, "05:00");
        Retype(dlg, SummertimeDlg::IDC_END_DATE, Date(2008, 4, 1));
        ExpectTextPart("negativ oder Null", IDOK);
        uitest::Click(dlg.GetDlgItem(IDOK));
        // One minute short of a year is accepted.
        Retype(dlg, SummertimeDlg::IDC_START_TIME, "00:00");
        Retype(dlg, SummertimeDlg::IDC_END_DATE, Date(2009, 3, 31));
        Retype(dlg, SummertimeDlg::IDC_END_TIME, "23:59");
        Retype(dlg, SummertimeDlg::IDC_SHIFT, "2");
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(RowOf(*pTable, pTable->FindRowOfObject(pPeriod)),
              (Row{"2008", "vom 01.04.2008, 00:00 Uhr", "bis 31.03.2009, 23:59 Uhr", "+2h"}));
}

TEST_F(SummertimeTableTest, ASecondPeriodOfAYearReplacesTheFirstOnlyAfterYes) {
    CSummertime* pOld = AddRulePeriod(2008, 30, 26);
    CSummertime* pJanuary = AddPeriod(Tm(2010, 1, 15, 0), Tm(2010, 3, 15, 0));
    CSummertimeTable* pTable = MakeTable();
    const std::string strQuestion2008 =
        "Es ist bereits eine Sommerzeit für das Jahr 2008 definiert. Sollen die Daten der existierenden Sommerzeit "
        "überschrieben werden?";
    Edit(pTable, -1, [&](SummertimeDlg& dlg) {
        Retype(dlg, SummertimeDlg::IDC_START_DATE, Date(2008, 3, 1));
        uitest::Click(dlg.GetDlgItem(SummertimeDlg::IDC_CALCULATE));
        m_boxes.ExpectBox(strQuestion2008, "Doppelte Sommerzeit", MB_YESNO | MB_ICONQUESTION, IDNO);
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(SummertimeDlg::IDC_START_DATE));
        EXPECT_EQ(pTable->FindRowOfObject(pOld), 0);

        m_boxes.ExpectText(strQuestion2008, IDYES);
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_EQ(pTable->FindRowOfObject(pOld), -1);
        EXPECT_EQ(Fields(dlg), RuleFields(2009, 29, 25));

        // The end's year counts when that year's period starts before the end.
        Retype(dlg, SummertimeDlg::IDC_START_DATE, Date(2009, 11, 1));
        Retype(dlg, SummertimeDlg::IDC_END_DATE, Date(2010, 2, 1));
        ExpectTextPart("für das Jahr 2010 definiert", IDNO);
        uitest::Click(dlg.GetDlgItem(IDOK));
        Retype(dlg, SummertimeDlg::IDC_END_DATE, Date(2010, 1, 10));
        uitest::Click(dlg.GetDlgItem(IDOK));
        uitest::Click(dlg.GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
    EXPECT_EQ(StartYears(Periods()), (std::vector<int>{2010, 2008, 2009}));
    EXPECT_EQ(Periods().FindByYear(2010), pJanuary);
    EXPECT_EQ(pTable->GetDataRowCount(), 3);
}

TEST_F(SummertimeTableTest, EditingStepsThroughTheSelectedRowsAndDeletingAsksFirst) {
    CSummertime* p2007 = AddRulePeriod(2007, 25, 28);
    CSummertime* p2008 = AddRulePeriod(2008, 30, 26);
    CSummertime* p2009 = AddRulePeriod(2009, 29, 25);
    CSummertimeTable* pTable = MakeTable();
    ClickRow(pTable, p2007, Qt::NoModifier);
    ClickRow(pTable, p2009, Qt::ControlModifier);
    m_runner.Then([&](QDialog& d) {
        auto& dlg = dynamic_cast<SummertimeDlg&>(d);
        EXPECT_EQ(dlg.GetCurrentPeriod(), p2007);
        Retype(dlg, SummertimeDlg::IDC_SHIFT, "0");
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_EQ(dlg.GetCurrentPeriod(), p2009);
        EXPECT_EQ(Fields(dlg), RuleFields(2009, 29, 25));
        uitest::Click(dlg.GetDlgItem(IDOK));
        EXPECT_FALSE(dlg.isVisible());
    });
    uitest::PressWindowKey(pTable, Qt::Key_Return);
    EXPECT_EQ(m_runner.GetRunCount(), 1);
    EXPECT_EQ(pTable->GetItemText(pTable->FindRowOfObject(p2007), 3), "\"keine\"");

    ClickRow(pTable, p2007, Qt::NoModifier);
    ClickRow(pTable, p2009, Qt::ControlModifier);
    m_boxes.ExpectText("Wollen Sie die ausgewählten 2 Sommerzeiten löschen?", IDNO);
    uitest::PressWindowKey(pTable, Qt::Key_Delete);
    EXPECT_EQ(Periods().GetCount(), 3);
    g_bDataModified = false;
    m_boxes.ExpectText("Wollen Sie die ausgewählten 2 Sommerzeiten löschen?", IDYES);
    uitest::PressWindowKey(pTable, Qt::Key_Delete);
    EXPECT_TRUE(g_bDataModified);
    EXPECT_EQ(StartYears(Periods()), std::vector<int>{2008});
    ASSERT_EQ(pTable->GetDataRowCount(), 1);
    EXPECT_EQ(pTable->GetItemData(0), p2008);
}
