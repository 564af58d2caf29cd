#include "editors/time/SummertimeEditDlg.h"

#include "app/Chronoset.h"
#include "editors/time/SummertimeTable.h"
#include "editors/time/YearEdit.h"
#include "model/Locale.h"
#include "model/Summertime.h"
#include "model/Summertimes.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/Time.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Handles.h"
#include "ui/CalendarButton.h"
#include "ui/SpinControl.h"
#include "ui/TimeEditEx.h"
#include "ui/ValueEditEx.h"
#include "ui/ViewNotify.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>

#include <algorithm>
#include <utility>

namespace {

constexpr int kSunday = 1;
constexpr std::size_t kMaxTimeRead = 39;

CSummertimes* DialogPeriods() {
    return g_pChronoset != nullptr ? g_pChronoset->GetSummertimes() : nullptr;
}

// The date text of a stored calendar time; empty for a period never set
// (its start and end are time value 0).
std::string DateTextOf(const std::tm& tm) {
    return FormatDate(CTime(TmToDateTime(tm)));
}

CTime TimeOfDay(int nHour, int nMinute, int nSecond) {
    return CTime(2000, 1, 1, nHour, nMinute, nSecond);
}

// The last Sunday of the month at the hour; the 1st when none is found.
CTime LastSunday(int nYear, int nMonth, int nHour) {
    for (int nDay = 31; nDay >= 1; --nDay) {
        // Noon: the weekday must not depend on a skipped or doubled hour.
        const CTime day(nYear, nMonth, nDay, 12, 0, 0);
        if (day.GetTime() > 0 && day.GetMonth() == nMonth && day.GetDayOfWeek() == kSunday) {
            return CTime(nYear, nMonth, nDay, nHour, 0, 0);
        }
    }
    return CTime(nYear, nMonth, 1, nHour, 0, 0);
}

}  // namespace

CSummertimeEditDlg::CSummertimeEditDlg(QWidget* pParent, bool bInsertMode, std::vector<CSummertime*>* pPeriods)
    : CDialog(IDD, pParent), m_bInsertMode(bInsertMode), m_pPeriods(pPeriods) {
    SetHelpID(IDD);
    MapCommand(IDC_START_CALENDAR, [this]() { OnCalendar(true); });
    MapCommand(IDC_END_CALENDAR, [this]() { OnCalendar(false); });
    MapCommand(IDC_CALCULATE, [this]() { OnCalculate(); });
}

CSummertimeEditDlg::~CSummertimeEditDlg() = default;

void CSummertimeEditDlg::MakeControls() {
    const auto makeDate = [this](UINT nId) -> CYearEdit* {
        QWidget* pPlace = GetDlgItem(nId);
        auto* pEdit = new CYearEdit(pPlace != nullptr ? pPlace->parentWidget() : this);
        if (pPlace != nullptr) {
            platform::ui::ReplaceDlgControl(pPlace, pEdit);
        } else {
            SetDlgCtrlID(pEdit, nId);
        }
        pEdit->installEventFilter(this);
        return pEdit;
    };
    const auto makeCalendar = [this](UINT nId) -> CCalendarButton* {
        QWidget* pPlace = GetDlgItem(nId);
        if (pPlace == nullptr) {
            return nullptr;
        }
        auto* pButton = new CCalendarButton(pPlace->parentWidget());
        platform::ui::ReplaceDlgControl(pPlace, pButton);
        SetDlgCtrlID(pButton, nId);
        RouteButtonCommand(pButton);
        return pButton;
    };
    const auto makeTime = [this](UINT nId) -> CTimeEditEx* {
        QWidget* pPlace = GetDlgItem(nId);
        auto* pEdit = new CTimeEditEx(pPlace != nullptr ? pPlace->parentWidget() : this);
        if (pPlace != nullptr) {
            platform::ui::ReplaceDlgControl(pPlace, pEdit);
        } else {
            SetDlgCtrlID(pEdit, nId);
        }
        return pEdit;
    };
    m_pStartDate = makeDate(IDC_START_DATE);
    m_pStartCalendar = makeCalendar(IDC_START_CALENDAR);
    m_pStartTime = makeTime(IDC_START_TIME);
    m_pEndDate = makeDate(IDC_END_DATE);
    for (bool bStart : {true, false}) {
        m_arrDateChecks[bStart ? 0 : 1].Attach(
            DateField(bStart),
            [this, bStart]() {
                return IsDateCheckOff() || IsDateTextAccepted(DateField(bStart)->text().toStdString());
            },
            [this, bStart]() {
                if (!IsDateCheckOff()) {
                    CheckDate(bStart);
                }
            });
    }
    m_pEndCalendar = makeCalendar(IDC_END_CALENDAR);
    m_pEndTime = makeTime(IDC_END_TIME);
    auto* pShift = new CValueEditEx();
    if (pShift->SubclassDlgItem(IDC_SHIFT, this)) {
        m_pShift = pShift;
    } else {
        delete pShift;
    }

    const auto makeSpin = [this](QWidget* pEdit, UINT nId) -> CSpinControl* {
        if (pEdit == nullptr) {
            return nullptr;
        }
        auto* pSpin = new CSpinControl();
        if (!pSpin->CreateBelow(pEdit, nId)) {
            delete pSpin;
            return nullptr;
        }
        pSpin->show();
        return pSpin;
    };
    m_arrSpins[0] = makeSpin(m_pStartDate, IDC_SPIN_START_DATE);
    m_arrSpins[1] = makeSpin(m_pStartTime, IDC_SPIN_START_TIME);
    m_arrSpins[2] = makeSpin(m_pEndDate, IDC_SPIN_END_DATE);
    m_arrSpins[3] = makeSpin(m_pEndTime, IDC_SPIN_END_TIME);
    m_arrSpins[4] = makeSpin(m_pShift, IDC_SPIN_SHIFT);
    // The time spins step the hours.
    m_pStartTime->SetSpinControl(1, m_arrSpins[1]);
    m_pEndTime->SetSpinControl(1, m_arrSpins[3]);
}

BOOL CSummertimeEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    // Nothing to edit is a new entry: the period made below must be
    // announced by OK and taken away by Cancel.
    if (!m_bInsertMode && (m_pPeriods == nullptr || m_pPeriods->empty())) {
        m_bInsertMode = true;
    }
    MakeControls();
    auto* pAuto = GetDlgItemAs<QCheckBox>(IDC_AUTO_CALCULATE);
    if (m_bInsertMode) {
        if (pAuto != nullptr) {
            pAuto->setChecked(true);
            pAuto->show();
            pAuto->setFocus(Qt::OtherFocusReason);
        }
        SetDlgItemText(IDOK, GetResString(180, "&Einfügen"));
    } else {
        if (pAuto != nullptr) {
            pAuto->hide();
        }
        m_pStartDate->setFocus(Qt::OtherFocusReason);
        SetDlgItemText(IDCANCEL, GetResString(146, "Abbrechen"));
    }

    m_nPosition = 0;
    m_pSummertime = nullptr;
    if (!m_bInsertMode) {
        m_pSummertime = m_pPeriods->front();
    } else if (CSummertimes* pPeriods = DialogPeriods()) {
        m_pSummertime = pPeriods->CreateSummertime();
    }
    if (m_pSummertime != nullptr && m_pTemplatePeriod != nullptr) {
        m_pSummertime->SetStartTime(m_pTemplatePeriod->GetStartTime());
        m_pSummertime->SetEndTime(m_pTemplatePeriod->GetEndTime());
        m_pSummertime->SetShift(m_pTemplatePeriod->GetShift());
    }
    FillControls();
    if (m_bInsertMode && m_pTemplatePeriod == nullptr) {
        OnCalculate();
    }
    return FALSE;
}

void CSummertimeEditDlg::FillControls() {
    if (m_pSummertime == nullptr) {
        LOG_ERROR("CSummertimeEditDlg: no daylight-saving period to show");
        return;
    }
    const bool bWasFilling = std::exchange(m_bFilling, true);
    const std::tm tmStart = m_pSummertime->GetStartTime();
    const std::tm tmEnd = m_pSummertime->GetEndTime();
    if (m_pShift != nullptr) {
        m_pShift->SetRange(0, kMaxShift);
    }
    m_pStartDate->setText(QString::fromStdString(DateTextOf(tmStart)));
    m_pEndDate->setText(QString::fromStdString(DateTextOf(tmEnd)));
    m_pStartTime->SetTime(TimeOfDay(tmStart.tm_hour, tmStart.tm_min, tmStart.tm_sec));
    m_pEndTime->SetTime(TimeOfDay(tmEnd.tm_hour, tmEnd.tm_min, tmEnd.tm_sec));
    if (m_pShift != nullptr) {
        m_pShift->SetValue(static_cast<DWORD>(std::max(0, m_pSummertime->GetShift())));
    }
    RememberDates();
    m_bFilling = bWasFilling;
}

void CSummertimeEditDlg::RememberDates() {
    CTime date;
    if (ParseDateText(m_pStartDate->text().toStdString(), date) && IsYearInRange(date)) {
        m_strLastStartDate = FormatDate(date);
    }
    if (ParseDateText(m_pEndDate->text().toStdString(), date) && IsYearInRange(date)) {
        m_strLastEndDate = FormatDate(date);
    }
}

bool CSummertimeEditDlg::ReadPair(bool bStart, CTime& time) {
    CYearEdit* pDate = DateField(bStart);
    CTimeEditEx* pTime = TimeField(bStart);
    bool bValid = true;

    CTime date(2000, 1, 1, 0, 0, 0);
    CTime parsed;
    if (ParseDateText(pDate->text().toStdString(), parsed)) {
        date = parsed;
        if (IsYearInRange(parsed)) {
            pDate->setText(QString::fromStdString(FormatDate(parsed)));
        } else {
            bValid = false;
        }
    } else {
        LOG_DETAIL("cannot parse date format");
        bValid = false;
    }

    std::string strTime = pTime->text().toStdString().substr(0, kMaxTimeRead);
    std::erase(strTime, ' ');
    CTime timeOfDay;
    if (!ParseTimeText(strTime, timeOfDay)) {
        LOG_DETAIL("cannot parse time format");
        // What the edit shows again when it is left.
        timeOfDay = pTime->GetLastGoodTime();
    }
    pTime->SetTime(timeOfDay);

    time = CTime(date.GetYear(), date.GetMonth(), date.GetDay(), timeOfDay.GetHour(), timeOfDay.GetMinute(),
                 timeOfDay.GetSecond());
    return bValid;
}

void CSummertimeEditDlg::OnCalendar(bool bStart) {
    CCalendarButton* pButton = bStart ? m_pStartCalendar : m_pEndCalendar;
    if (pButton == nullptr) {
        return;
    }
    CTime time;
    ReadPair(bStart, time);
    std::tm tm{};
    if (!time.GetLocalTm(tm)) {
        CTime(2000, 1, 1, 0, 0, 0).GetLocalTm(tm);
    }
    pButton->ShowCalendar(tm, DateField(bStart));
}

void CSummertimeEditDlg::OnCalculate() {
    CTime start;
    ReadPair(true, start);
    const int nYear = start.GetYear();
    const bool bWasFilling = std::exchange(m_bFilling, true);
    m_pStartDate->setText(QString::fromStdString(FormatDate(LastSunday(nYear, 3, 2))));
    m_pStartTime->SetTime(TimeOfDay(2, 0, 0));
    m_pEndDate->setText(QString::fromStdString(FormatDate(LastSunday(nYear, 10, 3))));
    m_pEndTime->SetTime(TimeOfDay(3, 0, 0));
    if (m_pShift != nullptr) {
        m_pShift->SetValue(1);
    }
    RememberDates();
    m_bFilling = bWasFilling;
}

void CSummertimeEditDlg::OnDateSetFocus(bool bStart) {
    if (m_bReverting || m_bFilling) {
        return;
    }
    CTime time;
    if (ReadPair(bStart, time)) {
        (bStart ? m_strLastStartDate : m_strLastEndDate) = DateField(bStart)->text().toStdString();
    }
}

bool CSummertimeEditDlg::IsDateCheckOff() const {
    // Not while the dialog reverts, stores or closes.
    return m_bReverting || m_bFilling || m_bInOk || m_bEnding;
}

bool CSummertimeEditDlg::CheckDate(bool bStart) {
    CTime time;
    if (!ReadPair(bStart, time)) {
        RefuseDate(bStart);
        return false;
    }
    CTime other;
    ReadPair(!bStart, other);
    const bool bCrossed = bStart ? time > other : time < other;
    if (bCrossed) {
        // The other date follows this one; the times stay.
        DateField(!bStart)->setText(DateField(bStart)->text());
    }
    RememberDates();
    return true;
}

void CSummertimeEditDlg::RefuseDate(bool bStart) {
    const bool bWasReverting = std::exchange(m_bReverting, true);
    ShowInvalidDateMessage(GetSafeHwnd());
    CYearEdit* pField = DateField(bStart);
    pField->setText(QString::fromStdString(bStart ? m_strLastStartDate : m_strLastEndDate));
    pField->setFocus(Qt::OtherFocusReason);
    m_bReverting = bWasReverting;
}

bool CSummertimeEditDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const bool bStart = pWatched == m_pStartDate;
    if (bStart || pWatched == m_pEndDate) {
        if (pEvent->type() == QEvent::FocusIn) {
            OnDateSetFocus(bStart);
        }
    }
    return CDialog::eventFilter(pWatched, pEvent);
}

void CSummertimeEditDlg::SendToTable(int nType, CObject* pObject, CObject* pParent, int nKind) {
    if (m_pTable != nullptr) {
        m_pTable->SendObjectRecord(nType, pObject, pParent, nKind);
    }
}

void CSummertimeEditDlg::ForgetSelected(CSummertime* pPeriod) {
    if (m_pPeriods == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < m_pPeriods->size();) {
        if ((*m_pPeriods)[i] == pPeriod) {
            m_pPeriods->erase(m_pPeriods->begin() + static_cast<std::ptrdiff_t>(i));
            // The current period keeps its place in the list.
            if (i < m_nPosition) {
                --m_nPosition;
            }
        } else {
            ++i;
        }
    }
}

bool CSummertimeEditDlg::ReplaceOtherPeriodOfYear(const CTime& start, const CTime& end) {
    CSummertimes* pPeriods = DialogPeriods();
    int nYear = start.GetYear();
    CSummertime* pOther = pPeriods->FindByYear(nYear);
    if (pOther == nullptr || pOther == m_pSummertime) {
        nYear = end.GetYear();
        pOther = pPeriods->FindByYear(nYear);
        if (pOther != nullptr && (pOther == m_pSummertime || CTime(TmToDateTime(pOther->GetStartTime())) > end)) {
            pOther = nullptr;
        }
    }
    if (pOther == nullptr) {
        return true;
    }
    const std::string strText = FormatIntFields(
        GetResString(706, "Es ist bereits eine Sommerzeit für das Jahr %d definiert. Sollen die Daten der "
                          "existierenden Sommerzeit überschrieben werden?"),
        {nYear});
    if (CMessageBox().AskYesNo(GetSafeHwnd(), strText.c_str(), GetResString(707, "Doppelte Sommerzeit").c_str()) !=
        IDYES) {
        m_pStartDate->setFocus(Qt::OtherFocusReason);
        return false;
    }
    ForgetSelected(pOther);
    SendToTable(VN_REMOVED, pOther, nullptr, VOK_SUMMERTIME);
    if (m_pTable != nullptr) {
        const int nRow = m_pTable->FindRowOfObject(pOther);
        if (nRow >= 0) {
            m_pTable->DeleteRow(nRow, true);
        }
    }
    pPeriods->RemoveSummertime(pOther);
    delete pOther;
    return true;
}

void CSummertimeEditDlg::OnOK() {
    CSummertimes* pPeriods = DialogPeriods();
    if (m_pSummertime == nullptr || pPeriods == nullptr) {
        LOG_ERROR("CSummertimeEditDlg: no daylight-saving period to store");
        m_bEnding = true;
        EndDialog(IDCANCEL);
        return;
    }
    const bool bWasInOk = std::exchange(m_bInOk, true);
    const auto done = [this, bWasInOk]() { m_bInOk = bWasInOk; };

    CTime start;
    CTime end;
    const bool bStartValid = ReadPair(true, start);
    const bool bEndValid = ReadPair(false, end);
    // A date the device cannot hold is never stored, also when OK comes
    // before the field was left.
    if (!bStartValid || !bEndValid) {
        RefuseDate(!bStartValid);
        done();
        return;
    }

    std::string strInterval;
    if (start >= end) {
        strInterval = GetResString(452, "Das angegebene Zeitintervall ist negativ oder Null. Bitte ändern Sie die "
                                        "Start- oder Endzeit entsprechend.");
    } else {
        const CTime yearLater(start.GetYear() + 1, start.GetMonth(), start.GetDay(), start.GetHour(),
                              start.GetMinute(), start.GetSecond());
        if (end >= yearLater) {
            strInterval = GetResString(458, "Das angegebene Zeitintervall ist zu lang. Bitte ändern Sie die "
                                            "Start- oder Endzeit entsprechend.");
        }
    }
    if (!strInterval.empty()) {
        CMessageBox().ShowInfo(GetSafeHwnd(), strInterval.c_str(),
                               GetResString(453, "Ungültiges Zeitintervall").c_str());
        m_pStartTime->setFocus(Qt::OtherFocusReason);
        done();
        return;
    }
    if (!ReplaceOtherPeriodOfYear(start, end)) {
        done();
        return;
    }

    m_pSummertime->SetStartTime(TimeToTm(start.GetTime()));
    m_pSummertime->SetEndTime(TimeToTm(end.GetTime()));
    m_pSummertime->SetShift(m_pShift != nullptr ? static_cast<int>(m_pShift->GetValue()) : 0);
    g_bDataModified = true;

    if (m_bInsertMode) {
        SendToTable(VN_ADDED, m_pSummertime, pPeriods, VOK_SUMMERTIME);
        CSummertime* pNext = pPeriods->CreateSummertime();
        if (pNext == nullptr) {
            // The period just added stays; nothing is left to cancel.
            CMessageBox().ShowInfo(GetSafeHwnd(),
                                   GetResString(607, "Die maximale Anzahl von Sommerzeiten ist erreicht.").c_str(),
                                   GetResString(606, "Sommerzeiten ausgelastet").c_str());
            m_pSummertime = nullptr;
            m_bEnding = true;
            done();
            EndDialog(IDOK);
            return;
        }
        m_pSummertime = pNext;
        m_pStartDate->StepYear(1);
        m_pEndDate->StepYear(1);
        RememberDates();
        if (IsDlgButtonChecked(IDC_AUTO_CALCULATE)) {
            OnCalculate();
        }
    } else {
        SendToTable(VN_CHANGED, m_pSummertime, nullptr, VOK_SUMMERTIME);
        ++m_nPosition;
        if (m_pPeriods == nullptr || m_nPosition >= m_pPeriods->size()) {
            m_bEnding = true;
            done();
            EndDialog(IDOK);
            return;
        }
        m_pSummertime = (*m_pPeriods)[m_nPosition];
        FillControls();
    }
    done();
}

void CSummertimeEditDlg::OnCancel() {
    m_bEnding = true;
    if (m_bInsertMode && m_pSummertime != nullptr) {
        if (CSummertimes* pPeriods = DialogPeriods()) {
            pPeriods->RemoveSummertime(m_pSummertime);
        }
        delete m_pSummertime;
        m_pSummertime = nullptr;
    }
    EndDialog(IDCANCEL);
}

void CSummertimeEditDlg::OnDestroy() {
    for (CSpinControl*& pSpin : m_arrSpins) {
        delete pSpin;
        pSpin = nullptr;
    }
    if (m_pStartTime != nullptr) {
        m_pStartTime->SetSpinControl(1, nullptr);
    }
    if (m_pEndTime != nullptr) {
        m_pEndTime->SetSpinControl(1, nullptr);
    }
    CDialog::OnDestroy();
}
