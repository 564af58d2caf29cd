#include "editors/time/SpecialDayEditDlg.h"

#include "app/Chronoset.h"
#include "editors/time/SpecialDayOverlapDlg.h"
#include "editors/time/SpecialDaysTable.h"
#include "model/CalendarRecord.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/Locale.h"
#include "model/SpecialDay.h"
#include "model/SpecialDays.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/Time.h"
#include "platform/ui/ComboBoxData.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Handles.h"
#include "ui/CalendarButton.h"
#include "ui/SpinControl.h"
#include "ui/TabComboItem.h"
#include "ui/TabListHeader.h"
#include "ui/TableComboBox.h"
#include "ui/TableComboPlace.h"
#include "ui/TableListHeader.h"
#include "ui/TimeEditEx.h"
#include "ui/ViewNotify.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>

#include <algorithm>
#include <cstdint>

namespace {

constexpr UINT IDS_COMBO_COLUMN_NAME = 40102;
constexpr UINT IDS_COMBO_COLUMN_NUMBER = 40103;
constexpr LONG kComboColumnWidth = 100;

constexpr UINT kDateIds[2] = {CSpecialDayEditDlg::IDC_START_DATE, CSpecialDayEditDlg::IDC_END_DATE};
constexpr UINT kTimeIds[2] = {CSpecialDayEditDlg::IDC_START_TIME, CSpecialDayEditDlg::IDC_END_TIME};
constexpr UINT kCalendarIds[2] = {CSpecialDayEditDlg::IDC_START_CALENDAR, CSpecialDayEditDlg::IDC_END_CALENDAR};
constexpr UINT kSpinIds[4] = {CSpecialDayEditDlg::IDC_SPIN_START_HOUR, CSpecialDayEditDlg::IDC_SPIN_START_MINUTE,
                              CSpecialDayEditDlg::IDC_SPIN_END_HOUR, CSpecialDayEditDlg::IDC_SPIN_END_MINUTE};

int Compare(const std::tm& a, const std::tm& b) {
    return CompareCalendarTimes(a, b);
}

// A day of no length occupies no time; loaded data may hold one.
bool IsEmptyPeriod(const CSpecialDay* pDay) {
    return Compare(pDay->GetStartTime(), pDay->GetEndTime()) >= 0;
}

CSpecialDays* SpecialDays() {
    return g_pChronoset != nullptr ? g_pChronoset->GetSpecialDays() : nullptr;
}

}  // namespace

CSpecialDayEditDlg::CSpecialDayEditDlg(QWidget* pParent, bool bNewEntry, std::vector<CSpecialDay*>* pSelected)
    : CDialog(IDD, pParent),
      m_bNewEntry(bNewEntry || pSelected == nullptr || pSelected->empty()),
      m_pSelected(pSelected) {
    MapCommand(IDC_START_CALENDAR, [this]() { OnCalendarButton(kStart); });
    MapCommand(IDC_END_CALENDAR, [this]() { OnCalendarButton(kEnd); });
}

CSpecialDayEditDlg::~CSpecialDayEditDlg() = default;

void CSpecialDayEditDlg::MakeControls() {
    for (int nSide : {kStart, kEnd}) {
        m_arrDateEdits[nSide] = GetDlgItemAs<QLineEdit>(kDateIds[nSide]);
        if (m_arrDateEdits[nSide] != nullptr) {
            m_arrDateEdits[nSide]->installEventFilter(this);
            m_arrDateChecks[nSide].Attach(
                m_arrDateEdits[nSide],
                [this, nSide]() { return IsDateCheckOff() || IsDateTextAccepted(GetDlgItemText(kDateIds[nSide])); },
                [this, nSide]() { OnDateKillFocus(nSide); });
        }
        if (QWidget* pPlace = GetDlgItem(kCalendarIds[nSide])) {
            auto* pButton = new CCalendarButton(pPlace->parentWidget());
            platform::ui::ReplaceDlgControl(pPlace, pButton);
            SetDlgCtrlID(pButton, kCalendarIds[nSide]);
            RouteButtonCommand(pButton);
            m_arrCalendars[nSide] = pButton;
        }
        if (QWidget* pPlace = GetDlgItem(kTimeIds[nSide])) {
            auto* pEdit = new CTimeEditEx(pPlace->parentWidget());
            platform::ui::ReplaceDlgControl(pPlace, pEdit);
            CSpinControl*& pHourSpin = m_arrSpins[2 * nSide];
            CSpinControl*& pMinuteSpin = m_arrSpins[2 * nSide + 1];
            pEdit->CreateHourMinuteSpins(pHourSpin, pMinuteSpin);
            SetDlgCtrlID(pHourSpin, kSpinIds[2 * nSide]);
            SetDlgCtrlID(pMinuteSpin, kSpinIds[2 * nSide + 1]);
            m_arrTimeEdits[nSide] = pEdit;
        }
    }

    // The template's place of the chooser takes the table combo box.
    m_pCombo = ui::PlaceTableCombo(*this, IDC_DAY_ROUTINE, m_pHeader);
    m_pCombo->AddItem(new CTabComboItem(TCI_LEFT, kComboColumnWidth, GetResString(IDS_COMBO_COLUMN_NAME, "Name")));
    m_pCombo->AddItem(new CTabComboItem(TCI_LEFT, kComboColumnWidth, GetResString(IDS_COMBO_COLUMN_NUMBER, "Nr")));
    m_pCombo->InitColumns(*m_pHeader, TABLE_TYPE_DAY_ROUTINE_COMBO);
    std::vector<SHORT>& kinds = m_pCombo->GetColumnTypes();
    if (!kinds.empty() && kinds[0] == 0) {
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            kinds[i] = static_cast<SHORT>(i + 1);
        }
    }
    connect(m_pCombo, &QComboBox::currentIndexChanged, this, [this](int) { UpdateOkButton(); });
}

void CSpecialDayEditDlg::FillDayRoutines() {
    m_pCombo->ClearObjects();
    if (g_pChronoset != nullptr) {
        for (CDayRoutine* pRoutine : g_pChronoset->GetDayRoutines()->GetDayRoutines()) {
            m_pCombo->AddObject(pRoutine);
        }
    }
    m_pCombo->Refill();
}

BOOL CSpecialDayEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    if (m_bNewEntry) {
        SetDlgItemText(IDOK, GetResString(180, "&Einfügen"));
    } else {
        SetDlgItemText(IDCANCEL, GetResString(146, "Abbrechen"));
    }
    MakeControls();
    FillDayRoutines();
    m_nNext = 0;
    if (!m_bNewEntry) {
        m_pSpecialDay = (*m_pSelected)[m_nNext++];
    } else {
        m_pSpecialDay = CreateFreshSpecialDay();
        if (m_pSpecialDay == nullptr) {
            ShowFullMessage(true);
            Finish(IDCANCEL);
            return TRUE;
        }
        if (m_pTemplate != nullptr) {
            m_pSpecialDay->SetDayRoutine(m_pTemplate->GetDayRoutine());
            m_pSpecialDay->SetStartTime(m_pTemplate->GetStartTime());
            m_pSpecialDay->SetEndTime(m_pTemplate->GetEndTime());
        }
    }
    ShowCurrentSpecialDay();
    return TRUE;
}

void CSpecialDayEditDlg::ShowCurrentSpecialDay() {
    if (m_pSpecialDay == nullptr) {
        return;
    }
    m_bFilling = true;
    const std::tm times[2] = {m_pSpecialDay->GetStartTime(), m_pSpecialDay->GetEndTime()};
    for (int nSide : {kStart, kEnd}) {
        SetDlgItemText(kDateIds[nSide], TmToDate(times[nSide]));
        if (m_arrTimeEdits[nSide] != nullptr) {
            m_arrTimeEdits[nSide]->SetTime(CTime(2000, 1, 1, times[nSide].tm_hour, times[nSide].tm_min, 0));
        }
        m_arrLastAccepted[nSide] = times[nSide];
    }
    // A routine no longer listed counts as none.
    CDayRoutine* pRoutine = m_pSpecialDay->GetDayRoutine();
    bool bListed = false;
    for (int i = 0; pRoutine != nullptr && i < m_pCombo->GetObjectCount(); ++i) {
        bListed = bListed || m_pCombo->GetObject(i) == pRoutine;
    }
    m_pCombo->SelectObject(bListed ? pRoutine : nullptr);
    m_bFilling = false;
    UpdateOkButton();
}

CDayRoutine* CSpecialDayEditDlg::GetSelectedDayRoutine() const {
    if (m_pCombo == nullptr || m_pCombo->currentIndex() < 0) {
        return nullptr;
    }
    const std::intptr_t nData = GetComboSelData(m_pCombo);
    // Only a listed object is taken, never a bare value.
    for (int i = 0; nData != 0 && i < m_pCombo->GetObjectCount(); ++i) {
        auto* pRoutine = dynamic_cast<CDayRoutine*>(m_pCombo->GetObject(i));
        if (pRoutine != nullptr && reinterpret_cast<std::intptr_t>(pRoutine) == nData) {
            return pRoutine;
        }
    }
    return nullptr;
}

void CSpecialDayEditDlg::UpdateOkButton() {
    if (QWidget* pOk = GetDlgItem(IDOK)) {
        pOk->setEnabled(GetSelectedDayRoutine() != nullptr);
    }
}

// ---------------------------------------------------------------------------
// Date and time fields

bool CSpecialDayEditDlg::ReadFieldPair(int nSide, std::tm& tm, bool bRewrite) {
    const CTime now = CTime::GetCurrentTime();
    int nYear = now.GetYear();
    int nMonth = now.GetMonth();
    int nDay = now.GetDay();
    bool bValid = true;
    CTime date;
    if (ParseDateText(GetDlgItemText(kDateIds[nSide]), date)) {
        nYear = date.GetYear();
        nMonth = date.GetMonth();
        nDay = date.GetDay();
        if (bRewrite) {
            SetDlgItemText(kDateIds[nSide], FormatDate(date));
        }
    } else {
        LOG_DETAIL("cannot parse date format");
        bValid = false;
    }
    int nHour = now.GetHour();
    int nMinute = now.GetMinute();
    if (CTimeEditEx* pEdit = m_arrTimeEdits[nSide]) {
        std::string strTime = pEdit->GetWindowText();
        std::erase(strTime, ' ');
        CTime time;
        if (!ParseTimeText(strTime, time)) {
            // As the edit does on leaving: an invalid time is never taken.
            LOG_DETAIL("cannot parse time format");
            time = pEdit->GetLastGoodTime();
        }
        nHour = time.GetHour();
        nMinute = time.GetMinute();
        if (bRewrite) {
            pEdit->SetTime(CTime(2000, 1, 1, nHour, nMinute, 0));
        }
    }
    tm = std::tm{};
    tm.tm_year = nYear - 1900;
    tm.tm_mon = nMonth - 1;
    tm.tm_mday = nDay;
    tm.tm_hour = nHour;
    tm.tm_min = nMinute;
    tm = NormalizeCivilTime(tm);
    return bValid;
}

bool CSpecialDayEditDlg::IsDateAccepted(int nSide, std::tm& tm) {
    return ReadFieldPair(nSide, tm, true) && IsTmYearInRange(tm);
}

void CSpecialDayEditDlg::OnDateSetFocus(int nSide) {
    if (m_bReverting || m_bFilling) {
        return;
    }
    std::tm tm{};
    if (ReadFieldPair(nSide, tm, false) && IsTmYearInRange(tm)) {
        m_arrLastAccepted[nSide] = tm;
    }
}

bool CSpecialDayEditDlg::IsDateCheckOff() const {
    return m_bReverting || m_bFilling || m_bEnding || !isVisible();
}

bool CSpecialDayEditDlg::OnDateKillFocus(int nSide) {
    if (IsDateCheckOff()) {
        return true;
    }
    std::tm tm{};
    if (!IsDateAccepted(nSide, tm)) {
        RevertDateField(nSide);
        return false;
    }
    const int nOther = nSide == kStart ? kEnd : kStart;
    std::tm other{};
    if (!ReadFieldPair(nOther, other, false)) {
        return true;
    }
    // The other date moves along so that the start stays before the end.
    const int nOrder = Compare(tm, other);
    if ((nSide == kEnd && nOrder < 0) || (nSide == kStart && nOrder > 0)) {
        SetDlgItemText(kDateIds[nOther], TmToDate(tm));
    }
    return true;
}

void CSpecialDayEditDlg::RevertDateField(int nSide) {
    m_bReverting = true;
    ShowInvalidDateMessage(GetSafeHwnd());
    SetDlgItemText(kDateIds[nSide], TmToDate(m_arrLastAccepted[nSide]));
    if (QLineEdit* pEdit = m_arrDateEdits[nSide]) {
        pEdit->setFocus(Qt::OtherFocusReason);
        pEdit->selectAll();
    }
    m_bReverting = false;
}

bool CSpecialDayEditDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    for (int nSide : {kStart, kEnd}) {
        if (pWatched != m_arrDateEdits[nSide] || pWatched == nullptr) {
            continue;
        }
        if (pEvent->type() == QEvent::FocusIn) {
            OnDateSetFocus(nSide);
        }
    }
    return CDialog::eventFilter(pWatched, pEvent);
}

void CSpecialDayEditDlg::OnCalendarButton(int nSide) {
    CCalendarButton* pButton = m_arrCalendars[nSide];
    if (pButton == nullptr) {
        return;
    }
    // An unreadable field opens the calendar on today.
    std::tm tm{};
    ReadFieldPair(nSide, tm, true);
    pButton->ShowCalendar(tm, m_arrDateEdits[nSide]);
}

// ---------------------------------------------------------------------------
// Storing

void CSpecialDayEditDlg::SendToTable(int nType, CObject* pObject, CObject* pParent) {
    if (m_pTable != nullptr) {
        m_pTable->SendObjectRecord(nType, pObject, pParent, VOK_SPECIALDAY);
    }
}

void CSpecialDayEditDlg::Finish(int nResult) {
    // The fields lose the focus as the dialog goes; that is no user's edit.
    m_bEnding = true;
    EndDialog(nResult);
}

void CSpecialDayEditDlg::ShowFullMessage(bool bAlways) {
    if (m_bFullMessageShown && !bAlways) {
        return;
    }
    m_bFullMessageShown = true;
    CMessageBox().ShowInfo(GetSafeHwnd(), LoadResString(605).c_str(),
                           GetResString(604, "Sondertage ausgelastet").c_str());
}

CSpecialDay* CSpecialDayEditDlg::CreateFreshSpecialDay() {
    CSpecialDays* pSpecialDays = SpecialDays();
    CSpecialDay* pSpecialDay = pSpecialDays != nullptr ? pSpecialDays->CreateSpecialDay() : nullptr;
    if (pSpecialDay != nullptr) {
        const CTime now = CTime::GetCurrentTime();
        std::tm today{};
        today.tm_year = now.GetYear() - 1900;
        today.tm_mon = now.GetMonth() - 1;
        today.tm_mday = now.GetDay();
        today = NormalizeCivilTime(today);
        pSpecialDay->SetStartTime(today);
        pSpecialDay->SetEndTime(today);
    }
    return pSpecialDay;
}

void CSpecialDayEditDlg::RemoveSpecialDay(CSpecialDay* pSpecialDay) {
    if (m_pSelected != nullptr) {
        const auto it = std::find(m_pSelected->begin(), m_pSelected->end(), pSpecialDay);
        if (it != m_pSelected->end()) {
            const auto nIndex = static_cast<std::size_t>(it - m_pSelected->begin());
            m_pSelected->erase(it);
            if (nIndex < m_nNext) {
                --m_nNext;
            }
        }
    }
    if (pSpecialDay == m_pSpecialDay) {
        m_pSpecialDay = nullptr;
    }
    if (CSpecialDays* pSpecialDays = SpecialDays()) {
        pSpecialDays->RemoveSpecialDay(pSpecialDay);
    }
    delete pSpecialDay;
}

bool CSpecialDayEditDlg::Overlaps(const CSpecialDay* pOther, const std::tm& start, const std::tm& end) {
    const std::tm s = pOther->GetStartTime();
    const std::tm e = pOther->GetEndTime();
    return (Compare(start, s) < 0 && Compare(s, end) < 0) || (Compare(start, e) < 0 && Compare(e, end) <= 0) ||
           (Compare(s, start) <= 0 && Compare(end, e) < 0);
}

bool CSpecialDayEditDlg::OverlapsAny(const std::tm& start, const std::tm& end) const {
    const CSpecialDays* pSpecialDays = SpecialDays();
    if (pSpecialDays == nullptr) {
        return false;
    }
    for (const CSpecialDay* pOther : pSpecialDays->GetSpecialDays()) {
        if (pOther != m_pSpecialDay && Overlaps(pOther, start, end)) {
            return true;
        }
    }
    return false;
}

void CSpecialDayEditDlg::TrimStart(std::tm& start, const CSpecialDay* pExcept) const {
    bool bChanged = true;
    while (bChanged) {
        bChanged = false;
        for (const CSpecialDay* pOther : SpecialDays()->GetSpecialDays()) {
            if (pOther == pExcept || IsEmptyPeriod(pOther)) {
                continue;
            }
            if (Compare(pOther->GetStartTime(), start) <= 0 && Compare(pOther->GetEndTime(), start) > 0) {
                start = pOther->GetEndTime();
                bChanged = true;
            }
        }
    }
}

void CSpecialDayEditDlg::TrimEnd(const std::tm& start, std::tm& end, const CSpecialDay* pExcept) const {
    bool bChanged = true;
    while (bChanged) {
        bChanged = false;
        for (const CSpecialDay* pOther : SpecialDays()->GetSpecialDays()) {
            if (pOther == pExcept || IsEmptyPeriod(pOther)) {
                continue;
            }
            if (Compare(pOther->GetStartTime(), end) < 0 && Compare(pOther->GetStartTime(), start) >= 0) {
                end = pOther->GetStartTime();
                bChanged = true;
            }
        }
    }
}

void CSpecialDayEditDlg::OldOverridesNew(std::tm start, std::tm end, CDayRoutine* pRoutine) {
    const std::tm origEnd = end;
    CSpecialDay* pPiece = m_pSpecialDay;
    bool bFirst = true;
    while (pPiece != nullptr) {
        TrimStart(start, pPiece);
        if (Compare(start, end) >= 0) {
            if (bFirst) {
                CMessageBox().ShowInfo(GetSafeHwnd(),
                                       GetResString(427,
                                                    "Der Sondertag liegt vollständig über existierenden Sondertagen "
                                                    "und wird daher nicht eingefügt.")
                                           .c_str(),
                                       GetResString(428, "Sondertag getrimmt").c_str());
            }
            RemoveSpecialDay(pPiece);
            return;
        }
        TrimEnd(start, end, pPiece);
        if (Compare(start, end) >= 0) {
            RemoveSpecialDay(pPiece);
            return;
        }
        pPiece->SetStartTime(start);
        pPiece->SetEndTime(end);
        pPiece->SetDayRoutine(pRoutine);
        if (Compare(end, origEnd) >= 0) {
            return;
        }
        // An existing day cut the period; the rest after it is the next
        // gap to fill, if anything of it is left.
        start = end;
        end = origEnd;
        TrimStart(start, nullptr);
        if (Compare(start, end) >= 0) {
            return;
        }
        pPiece = SpecialDays()->CreateSpecialDay();
        if (pPiece == nullptr) {
            // The rest of the period is not stored; the user hears why.
            ShowFullMessage(true);
            return;
        }
        bFirst = false;
    }
}

bool CSpecialDayEditDlg::NewOverridesOld(const std::tm& start, const std::tm& end, CDayRoutine* pRoutine) {
    CSpecialDays* pSpecialDays = SpecialDays();
    // What each overlapped day keeps: the time before and after the new
    // period. Worked out first, so that a split beyond the limit changes
    // nothing at all.
    struct Cut {
        CSpecialDay* pDay;
        bool bBefore;
        bool bAfter;
    };
    std::vector<Cut> cuts;
    int nSplits = 0;
    int nFreed = 0;
    for (CSpecialDay* pOther : pSpecialDays->GetSpecialDays()) {
        if (pOther == m_pSpecialDay || !Overlaps(pOther, start, end)) {
            continue;
        }
        const Cut cut{pOther, Compare(pOther->GetStartTime(), start) < 0, Compare(pOther->GetEndTime(), end) > 0};
        nSplits += cut.bBefore && cut.bAfter ? 1 : 0;
        nFreed += !cut.bBefore && !cut.bAfter ? 1 : 0;
        cuts.push_back(cut);
    }
    if (nSplits > 0 && pSpecialDays->GetCount() - nFreed + nSplits > CSpecialDays::GetMaxCount()) {
        ShowFullMessage(true);
        return false;
    }
    // Removals first: their places serve the splits.
    for (const Cut& cut : cuts) {
        if (!cut.bBefore && !cut.bAfter) {
            RemoveSpecialDay(cut.pDay);
        }
    }
    for (const Cut& cut : cuts) {
        CSpecialDay* pDay = cut.pDay;
        if (cut.bBefore && cut.bAfter) {
            CSpecialDay* pRest = pSpecialDays->CreateSpecialDay();
            pRest->SetStartTime(end);
            pRest->SetEndTime(pDay->GetEndTime());
            pRest->SetDayRoutine(pDay->GetDayRoutine());
            pDay->SetEndTime(start);
        } else if (cut.bBefore) {
            pDay->SetEndTime(start);
        } else if (cut.bAfter) {
            pDay->SetStartTime(end);
        }
    }
    if (m_pSpecialDay != nullptr) {
        m_pSpecialDay->SetStartTime(start);
        m_pSpecialDay->SetEndTime(end);
        m_pSpecialDay->SetDayRoutine(pRoutine);
    }
    return true;
}

void CSpecialDayEditDlg::OnOK() {
    CSpecialDays* pSpecialDays = SpecialDays();
    if (pSpecialDays == nullptr) {
        Finish(IDCANCEL);
        return;
    }
    bool bOverlapPath = false;
    if (m_pSpecialDay != nullptr) {
        // Enter in a date field stores without leaving it: the same check.
        std::tm start{};
        std::tm end{};
        for (int nSide : {kStart, kEnd}) {
            if (!IsDateAccepted(nSide, nSide == kStart ? start : end)) {
                RevertDateField(nSide);
                return;
            }
        }
        if (Compare(start, end) >= 0) {
            CMessageBox().ShowError(GetSafeHwnd(),
                                    GetResString(452,
                                                 "Das angegebene Zeitintervall ist negativ oder Null. Bitte ändern "
                                                 "Sie die Start- oder Endzeit entsprechend.")
                                        .c_str(),
                                    GetResString(453, "Ungültiges Zeitintervall").c_str());
            return;
        }
        CDayRoutine* pRoutine = GetSelectedDayRoutine();
        if (OverlapsAny(start, end)) {
            CSpecialDayOverlapDlg dlg(this);
            if (dlg.DoModal() != IDOK) {
                return;
            }
            if (dlg.GetMode() == CSpecialDayOverlapDlg::kModeOldOverridesNew) {
                OldOverridesNew(start, end, pRoutine);
            } else if (dlg.GetMode() == CSpecialDayOverlapDlg::kModeNewOverridesOld) {
                if (!NewOverridesOld(start, end, pRoutine)) {
                    return;
                }
            } else {
                return;
            }
            bOverlapPath = true;
            SendToTable(VN_KINDS_CHANGED, nullptr, nullptr);
        } else {
            m_pSpecialDay->SetStartTime(start);
            m_pSpecialDay->SetEndTime(end);
            m_pSpecialDay->SetDayRoutine(pRoutine);
        }
    }
    g_bDataModified = true;

    if (m_bNewEntry) {
        if (!bOverlapPath && m_pSpecialDay != nullptr) {
            SendToTable(VN_ADDED, m_pSpecialDay, pSpecialDays);
        }
        // The stored day is no longer the dialog's to take back.
        m_pSpecialDay = CreateFreshSpecialDay();
        if (m_pSpecialDay == nullptr) {
            ShowFullMessage(false);
            Finish(IDOK);
        }
        // The fields keep their values for the next entry.
        return;
    }
    if (!bOverlapPath && m_pSpecialDay != nullptr) {
        SendToTable(VN_CHANGED, m_pSpecialDay, nullptr);
    }
    if (m_pSelected == nullptr || m_nNext >= m_pSelected->size()) {
        Finish(IDOK);
        return;
    }
    m_pSpecialDay = (*m_pSelected)[m_nNext++];
    ShowCurrentSpecialDay();
}

void CSpecialDayEditDlg::OnCancel() {
    if (m_bNewEntry && m_pSpecialDay != nullptr) {
        // Only the day still being prepared goes; stored ones stay.
        RemoveSpecialDay(m_pSpecialDay);
    }
    Finish(IDCANCEL);
}

void CSpecialDayEditDlg::OnDestroy() {
    if (m_pCombo != nullptr) {
        m_pCombo->SaveColumns(TABLE_TYPE_DAY_ROUTINE_COMBO);
    }
    CDialog::OnDestroy();
}
