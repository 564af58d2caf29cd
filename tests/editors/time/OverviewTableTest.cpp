// The switching-time overview: the rows of a week with special days against
// a hand-counted list, the 799-row limit with its message and progress, the
// form's date checks and value form, and rows that never outlive what
// another pane deletes; address and period are chosen through the form.

#include "app/Chronoset.h"
#include "editors/time/DaySwitchTimeTable.h"
#include "editors/time/OverviewEditWnd.h"
#include "editors/time/OverviewTable.h"
#include "editors/time/TimeEditors.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/SpecialDay.h"
#include "model/SpecialDays.h"
#include "model/WeekRoutine.h"
#include "platform/base/LocalTime.h"
#include "platform/base/ProgressSink.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ControlsTestSupport.h"
#include "ui/ParameterDlg.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// Counts the progress windows and keeps what they showed.
struct ProgressLog {
    int nCreated = 0;
    std::vector<std::string> texts;
};

class CRecordingProgressWindow : public platform::IProgressWindow {
public:
    explicit CRecordingProgressWindow(ProgressLog& log) : m_log(log) {}
    HWND Create() override {
        ++m_log.nCreated;
        return reinterpret_cast<HWND>(0x2222);
    }
    HWND GetHandle() const override { return reinterpret_cast<HWND>(0x2222); }
    void Activate() override {}
    void Hide() override {}
    void Destroy() override {}
    void SetCaption(const std::string& strText) override { m_log.texts.push_back(strText); }
    void SetTopText(const std::string& strText) override { m_log.texts.push_back(strText); }
    void SetMiddleText(const std::string& strText) override { m_log.texts.push_back(strText); }
    void SetBottomText(const std::string&) override {}
    int SetProgress(WORD) override { return 1; }

private:
    ProgressLog& m_log;
};

class OverviewTableTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        // Daylight saving starts on 31.03.2024, inside the periods below.
        m_oldTz = platform::GetTz();
        platform::SetTz(std::string("CET-1CEST,M3.5.0,M10.5.0/3"));
        platform::SetProgressWindowFactory(
            [this](HWND, int) { return std::make_unique<CRecordingProgressWindow>(m_progress); });
        g_DptManager.Init();
        InstallTimeEditors();
        m_pLight = AddAddress("Licht", 0x0101, false);
        m_pBlind = AddAddress("Jalousie", 0x0102, false);
        m_pWorkday = NewRoutine(Set(), "Werktag");
        m_pHoliday = NewRoutine(Set(), "Feiertag");
        for (CMainTableView* pView : {&m_view, &m_other}) {
            pView->SetDispatcher(&m_dlg);
        }
        m_dlg.SetPanes(nullptr, &m_view, nullptr, &m_other);
    }
    void TearDown() override {
        m_view.DeleteTableBox();
        m_other.DeleteTableBox();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::SetProgressWindowFactory(nullptr);
        platform::SetTz(m_oldTz);
    }
    CChronoset& Set() { return m_run.Chronoset(); }
    CGroupDataAddress* AddAddress(const std::string& strName, LONG nAddress, bool bInvalid) {
        return NewAddress(Set(), strName, nAddress, {1, 1}, bInvalid);
    }
    static CDaySwitchTime* AddTime(CDayRoutine* pRoutine, CGroupDataAddress* pAddress, int nHour, int nMinute,
                                   DWORD dwValue = 1) {
        CDaySwitchTime* pTime = NewSwitchTime(pRoutine, pAddress, nHour, nMinute);
        pTime->SetValue({dwValue});
        return pTime;
    }
    // From day 1 at hour 1 to day 2 at hour 2 of April 2024.
    void AddSpecialDay(int nDay1, int nHour1, int nDay2, int nHour2, CDayRoutine* pRoutine) {
        CSpecialDay* pDay = Set().GetSpecialDays()->CreateSpecialDay();
        std::tm from{};
        from.tm_year = 124;
        from.tm_mon = 3;
        from.tm_mday = nDay1;
        from.tm_hour = nHour1;
        std::tm to = from;
        to.tm_mday = nDay2;
        to.tm_hour = nHour2;
        pDay->SetStartTime(from);
        pDay->SetEndTime(to);
        pDay->SetDayRoutine(pRoutine);
    }
    COverviewTable* Open() {
        m_other.resize(500, 300);
        m_other.show();
        m_pTable = OpenTable<COverviewTable>(m_view, COverviewTable::kTableType, nullptr, 700, 500);
        m_pForm = m_pTable != nullptr ? m_pTable->GetOverviewForm() : nullptr;
        return m_pForm != nullptr ? m_pTable : nullptr;
    }
    QWidget* Control(UINT nId) const { return m_pForm->GetDlgItem(nId); }
    void TypeDate(UINT nId, const std::string& strDate) { ClickAndRetype(Control(nId), strDate); }
    void ChooseAddress(const CGroupDataAddress* pAddress) {
        CEditorSteps::ChooseAddress(m_pForm->GetAddressCombo(), pAddress);
        ASSERT_EQ(m_pForm->GetSelectedAddress(), pAddress);
    }
    void Show(const CGroupDataAddress* pAddress, const std::string& strFrom, const std::string& strTo) {
        ChooseAddress(pAddress);
        TypeDate(COverviewEditWnd::IDC_START, strFrom);
        TypeDate(COverviewEditWnd::IDC_END, strTo);
        uitest::Click(Control(COverviewEditWnd::IDC_SHOW));
    }
    // "date time value routine" of every row.
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int i = 0; i < m_pTable->GetItemCount(); ++i) {
            rows.push_back(m_pTable->GetItemText(i, 0) + " " + m_pTable->GetItemText(i, 1) + " " +
                           m_pTable->GetItemText(i, 4));
        }
        return rows;
    }

    controlstest::CScopedIntl m_intl{controlstest::GermanIntl()};
    uitest::CEditingRun m_run{true};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    ProgressLog m_progress;
    CParameterDlg m_dlg{nullptr, nullptr};
    CMainTableView m_view;
    CMainTableView m_other;
    COverviewTable* m_pTable = nullptr;
    COverviewEditWnd* m_pForm = nullptr;
    CGroupDataAddress* m_pLight = nullptr;
    CGroupDataAddress* m_pBlind = nullptr;
    CDayRoutine* m_pWorkday = nullptr;
    CDayRoutine* m_pHoliday = nullptr;

private:
    std::optional<std::string> m_oldTz;
};

TEST_F(OverviewTableTest, AWeekWithSpecialDaysGivesTheHandCountedRows) {
    for (int nHour : {6, 10}) {
        AddTime(m_pWorkday, m_pLight, nHour, 0);
    }
    AddTime(m_pWorkday, m_pLight, 11, 30);
    AddTime(m_pWorkday, m_pBlind, 7, 0);  // another address
    AddTime(m_pWorkday, m_pLight, 12, 0);
    AddTime(m_pWorkday, m_pLight, 18, 0);
    AddTime(m_pHoliday, m_pLight, 10, 30);
    AddTime(m_pHoliday, m_pBlind, 11, 0);
    for (int nDay = 0; nDay < 5; ++nDay) {
        Set().GetWeekRoutine()->SetDayRoutine(nDay, m_pWorkday);  // Monday to Friday
    }
    // Monday 10:00 to 12:00, both bounds included; Wednesday 20:00 to
    // Friday 07:00.
    AddSpecialDay(1, 10, 1, 12, m_pHoliday);
    AddSpecialDay(3, 20, 5, 7, m_pHoliday);
    ASSERT_NE(Open(), nullptr);
    ASSERT_EQ(m_pForm->GetAddressCombo()->count(), 2);

    // Sunday 31.03 (no routine, and the day the clocks go forward) to Friday.
    Show(m_pLight, "31032024", "05.04.2024");
    EXPECT_EQ(m_pForm->GetDlgItemText(COverviewEditWnd::IDC_START), "31.03.2024");
    const std::vector<std::string> expected = {
        "01.04.2024 06:00 Uhr 01: Werktag", "01.04.2024 18:00 Uhr 01: Werktag", "01.04.2024 10:30 Uhr 02: Feiertag",
        "02.04.2024 06:00 Uhr 01: Werktag", "02.04.2024 10:00 Uhr 01: Werktag", "02.04.2024 11:30 Uhr 01: Werktag",
        "02.04.2024 12:00 Uhr 01: Werktag", "02.04.2024 18:00 Uhr 01: Werktag", "03.04.2024 06:00 Uhr 01: Werktag",
        "03.04.2024 10:00 Uhr 01: Werktag", "03.04.2024 11:30 Uhr 01: Werktag", "03.04.2024 12:00 Uhr 01: Werktag",
        "03.04.2024 18:00 Uhr 01: Werktag", "04.04.2024 10:30 Uhr 02: Feiertag", "05.04.2024 10:00 Uhr 01: Werktag",
        "05.04.2024 11:30 Uhr 01: Werktag", "05.04.2024 12:00 Uhr 01: Werktag", "05.04.2024 18:00 Uhr 01: Werktag",
    };
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(m_pTable->GetItemText(0, 2), "1");
    EXPECT_EQ(m_pTable->GetItemText(0, 3), "-");
    EXPECT_EQ(m_progress.nCreated, 0);

    // A click on the time column's title sorts by the time of day.
    QHeaderView* pHeader = m_pTable->header();
    uitest::Click(pHeader->viewport(), QPoint(pHeader->sectionViewportPosition(1) + 5, pHeader->height() / 2));
    EXPECT_EQ(m_pTable->GetItemText(0, 1), "06:00 Uhr");
    EXPECT_EQ(m_pTable->GetItemText(17, 1), "18:00 Uhr");

    // The other address: Werktag's 07:00 falls only in Thursday's special
    // day; Feiertag's 11:00 in Monday's and Thursday's.
    Show(m_pBlind, "01.04.2024", "04.04.2024");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"01.04.2024 07:00 Uhr 01: Werktag", "01.04.2024 11:00 Uhr 02: Feiertag",
                                                "02.04.2024 07:00 Uhr 01: Werktag", "03.04.2024 07:00 Uhr 01: Werktag",
                                                "04.04.2024 11:00 Uhr 02: Feiertag"}));
}

TEST_F(OverviewTableTest, AtMost799RowsWithOneMessageAndProgressFromFifteenDays) {
    for (int i = 0; i < 100; ++i) {
        AddTime(m_pWorkday, m_pLight, i / 60, i % 60);
    }
    for (int nDay = 0; nDay < 7; ++nDay) {
        Set().GetWeekRoutine()->SetDayRoutine(nDay, m_pWorkday);
    }
    ASSERT_NE(Open(), nullptr);
    // 14 days give 1400 switching times: the 800th ends the computation on
    // the eighth day.
    CScriptedMessageBoxSink::Expectation tooMany;
    tooMany.text =
        "Die Anzahl der Schaltzeiten in dem angegebenen Zeitraum übersteigt die maximale Anzahl der Einträge in der "
        "Tabelle.";
    tooMany.caption = "Zu viele Schaltzeiten";
    m_boxes.Expect(tooMany);
    Show(m_pLight, "01.07.2024", "14.07.2024");
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
    ASSERT_EQ(m_pTable->GetItemCount(), COverviewTable::kMaxEntries);
    EXPECT_EQ(m_pTable->GetEntryCount(), 799);
    EXPECT_EQ(m_pTable->GetItemText(798, 0), "08.07.2024");
    EXPECT_EQ(m_pTable->GetItemText(798, 1), "01:38 Uhr");
    EXPECT_EQ(m_progress.nCreated, 0);

    // From 15 days on the progress window reports each day.
    m_boxes.Expect(tooMany);
    TypeDate(COverviewEditWnd::IDC_END, "15.07.2024");
    uitest::Click(Control(COverviewEditWnd::IDC_SHOW));
    EXPECT_EQ(m_progress.nCreated, 1);
    ASSERT_GE(m_progress.texts.size(), 3u);
    EXPECT_EQ(m_progress.texts[0], "Übersicht der Schaltzeiten");
    EXPECT_EQ(m_progress.texts[1], "Suche Schaltzeiten innerhalb des ausgewählten Zeitintervalls.");
    EXPECT_EQ(m_progress.texts[2], "Datum: 1\tJuli");
    EXPECT_EQ(m_pTable->GetItemCount(), 799);

    // Seven days fit.
    TypeDate(COverviewEditWnd::IDC_END, "07.07.2024");
    uitest::Click(Control(COverviewEditWnd::IDC_SHOW));
    EXPECT_EQ(m_pTable->GetItemCount(), 700);
    EXPECT_EQ(m_boxes.GetShown().size(), 2u);
}

TEST_F(OverviewTableTest, DatesAreCheckedOnLeavingAndShowStoresTheValueForm) {
    CGroupDataAddress* pDimmer = AddAddress("Dimmer", 0x0103, false);
    pDimmer->SetType({5, 10});
    AddTime(m_pWorkday, pDimmer, 8, 0, 128);
    Set().GetWeekRoutine()->SetDayRoutine(0, m_pWorkday);
    ASSERT_NE(Open(), nullptr);
    ChooseAddress(pDimmer);
    EXPECT_TRUE(Control(COverviewEditWnd::IDC_PERCENT)->isVisible());
    EXPECT_TRUE(m_pForm->IsDlgButtonChecked(COverviewEditWnd::IDC_STANDARD));

    // An end before the start swaps the two.
    TypeDate(COverviewEditWnd::IDC_START, "10.06.2024");
    TypeDate(COverviewEditWnd::IDC_END, "03062024");
    uitest::Click(Control(COverviewEditWnd::IDC_START));
    EXPECT_EQ(m_pForm->GetDlgItemText(COverviewEditWnd::IDC_START), "03.06.2024");
    EXPECT_EQ(m_pForm->GetDlgItemText(COverviewEditWnd::IDC_END), "10.06.2024");

    // A year outside 2000..2035, or no date at all, is refused with the
    // message; the previous date comes back and the edit keeps the focus.
    CScriptedMessageBoxSink::Expectation refused;
    refused.text = "Zulässig sind Eingaben vom 01.01.2000 bis 31.12.2035.";
    refused.caption = "Unzulässige Datumseingabe!";
    for (const char* pszWrong : {"31.12.1999", "irgendwann"}) {
        m_boxes.Expect(refused);
        TypeDate(COverviewEditWnd::IDC_END, pszWrong);
        uitest::Click(Control(COverviewEditWnd::IDC_START));
        EXPECT_EQ(m_pForm->GetDlgItemText(COverviewEditWnd::IDC_END), "10.06.2024");
        EXPECT_EQ(QApplication::focusWidget(), Control(COverviewEditWnd::IDC_END));
    }
    EXPECT_EQ(m_boxes.GetShown().size(), 2u);

    // "in %" with "Zeigen" makes the address a percentage for everyone.
    uitest::Click(Control(COverviewEditWnd::IDC_PERCENT));
    uitest::Click(Control(COverviewEditWnd::IDC_SHOW));
    EXPECT_EQ(pDimmer->GetSubType(), 1);
    EXPECT_TRUE(g_bDataModified);
    ASSERT_EQ(m_pTable->GetItemCount(), 2);  // the Mondays 03.06 and 10.06
    EXPECT_EQ(m_pTable->GetItemText(1, 0), "10.06.2024");
    EXPECT_EQ(m_pTable->GetItemText(1, 2).substr(0, 2), "50");
}

// The click that leaves a refused date acts nowhere in the window.
TEST_F(OverviewTableTest, TheClickThatLeavesARefusedDateDoesNothing) {
    CGroupDataAddress* pDimmer = AddAddress("Dimmer", 0x0103, false);
    pDimmer->SetType({5, 10});
    AddTime(m_pWorkday, pDimmer, 8, 0, 128);
    Set().GetWeekRoutine()->SetDayRoutine(0, m_pWorkday);
    ASSERT_NE(Open(), nullptr);
    Show(pDimmer, "03.06.2024", "10.06.2024");
    uitest::Click(Control(COverviewEditWnd::IDC_PERCENT));
    QWidget* pShow = Control(COverviewEditWnd::IDC_SHOW);
    for (auto [pTarget, pt] : {std::pair(pShow, pShow->rect().center()),
                               std::pair<QWidget*, QPoint>(m_pTable->viewport(), m_pTable->GetItemRect(1).center())}) {
        m_boxes.ExpectBox("Zulässig sind Eingaben vom 01.01.2000 bis 31.12.2035.", "Unzulässige Datumseingabe!",
                          MB_ICONWARNING, IDOK);
        TypeDate(COverviewEditWnd::IDC_END, "02.05.2036");
        uitest::Click(pTarget, pt);
    }
    EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
    EXPECT_EQ(pDimmer->GetSubType(), 10);  // "Zeigen" stored nothing
    EXPECT_FALSE(m_pTable->IsItemSelected(1));
}

// Another pane deletes what the rows show: they go at once and come back
// computed anew once the deletion is over; a sort in between touches
// nothing that is gone. An invalid-list address that goes with its last
// switching time leaves the chooser.
TEST_F(OverviewTableTest, RowsNeverOutliveWhatAnotherPaneDeletes) {
    CGroupDataAddress* pOld = AddAddress("Alt", 0x0201, true);
    CDaySwitchTime* pEarly = AddTime(m_pWorkday, m_pLight, 6, 0);
    AddTime(m_pWorkday, m_pLight, 18, 0);
    CDaySwitchTime* pOldTime = AddTime(m_pWorkday, pOld, 9, 0);
    AddTime(m_pHoliday, m_pLight, 7, 0);  // a routine no day runs
    Set().GetWeekRoutine()->SetDayRoutine(0, m_pWorkday);
    ASSERT_NE(Open(), nullptr);
    ASSERT_EQ(m_pForm->GetAddressCombo()->count(), 2);
    Show(m_pLight, "01.07.2024", "14.07.2024");
    ASSERT_EQ(m_pTable->GetItemCount(), 4);

    // A deletion in a routine the rows do not come from leaves them as
    // they were.
    m_other.CreateTableBox(CDaySwitchTimeTable::kTableType, m_pHoliday);
    auto* pOther = dynamic_cast<CDaySwitchTimeTable*>(m_other.GetTableBox());
    ASSERT_NE(pOther, nullptr);
    uitest::Click(pOther->viewport(), pOther->GetItemRect(0).center());
    m_boxes.ExpectAny(IDYES);
    uitest::PressWindowKey(&m_other, Qt::Key_Delete);
    uitest::ProcessEvents();
    EXPECT_EQ(m_pTable->GetItemCount(), 4);

    m_other.CreateTableBox(CDaySwitchTimeTable::kTableType, m_pWorkday);
    pOther = dynamic_cast<CDaySwitchTimeTable*>(m_other.GetTableBox());
    ASSERT_NE(pOther, nullptr);
    uitest::Click(pOther->viewport(), pOther->GetItemRect(pOther->FindRowOfObject(pEarly)).center());
    m_boxes.ExpectAny(IDYES);
    uitest::PressWindowKey(&m_other, Qt::Key_Delete);
    QHeaderView* pHeader = m_pTable->header();
    uitest::Click(pHeader->viewport(), QPoint(pHeader->sectionViewportPosition(2) + 5, pHeader->height() / 2));
    uitest::ProcessEvents();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"01.07.2024 18:00 Uhr 01: Werktag",
                                                "08.07.2024 18:00 Uhr 01: Werktag"}));

    // The old address loses its last use and is destroyed with it.
    ChooseAddress(pOld);
    uitest::Click(Control(COverviewEditWnd::IDC_SHOW));
    ASSERT_EQ(m_pTable->GetItemCount(), 2);
    uitest::Click(pOther->viewport(), pOther->GetItemRect(pOther->FindRowOfObject(pOldTime)).center());
    m_boxes.ExpectAny(IDYES);
    uitest::PressWindowKey(&m_other, Qt::Key_Delete);
    ASSERT_EQ(m_pWorkday->GetSwitchTimeCount(), 1);
    EXPECT_EQ(m_pForm->GetAddressCombo()->count(), 1);
    EXPECT_EQ(m_pForm->GetSelectedAddress(), m_pLight);
    uitest::ProcessEvents();
    EXPECT_EQ(m_pTable->GetItemCount(), 2);
    EXPECT_EQ(m_pTable->GetItemText(0, 1), "18:00 Uhr");
}

}  // namespace
